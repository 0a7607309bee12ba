#include "FullPinyinAliases.h"

#include <cwchar>
#include <initializer_list>

bool IsSecurityItem(const KeyboardItemInfo& item) {
  return item.m_dwKind != KIND_FORMER_NAME && item.m_dwKind != KIND_COMMAND &&
         item.m_dwKind != KIND_ALIAS;
}

int FullPinyinKeys(const KeyboardItemInfo& security, wchar_t keys[2][PINYIN_KEY_LENGTH + 1]) {
  PinyinKeys computed;
  if (!ComputePinyinKeys(security.m_szName, &computed)) return 0;
  int count = 0;
  for (const wchar_t* key : {computed.fullPinyin, computed.secondFullPinyin}) {
    if (!key[0] || wcscmp(key, security.m_szHotKey) == 0) continue;
    wcscpy(keys[count++], key);
  }
  return count;
}

void MakeFullPinyinAlias(const KeyboardItemInfo& security, const wchar_t* key,
                         KeyboardItemInfo* alias) {
  *alias = KeyboardItemInfo(security.m_szCode, key, security.m_szName, security.m_wType,
                            security.m_nExtraInfo, nullptr, KIND_ALIAS, KEYBOARD_SELECT_NONE);
  alias->m_cMarket = security.m_cMarket;
}

int MakeFullPinyinAliases(const KeyboardItemInfo& security, KeyboardItemInfo aliases[2]) {
  wchar_t keys[2][PINYIN_KEY_LENGTH + 1];
  int count = FullPinyinKeys(security, keys);
  for (int k = 0; k < count; ++k) MakeFullPinyinAlias(security, keys[k], &aliases[k]);
  return count;
}
