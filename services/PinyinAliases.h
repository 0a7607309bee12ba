// Full-pinyin alias items: for each security a terminal registers, what a trader who types the
// whole syllables ("PUFA" for 浦发银行) finds it by. The one maker of them, for the host kit and
// for our own tools alike.
//
// Each security (a kind other than former name, command or alias) gets one alias item whose hot
// key is the full pinyin of its name's default reading, and one more for the second reading when
// the name has an initials alias (the reading behind PinyinKeys::aliases[0], as the initials tool
// gives it: "长江电力" gets CHANGJIANGDIANLI and ZHANGJIANGDIANLI). An alias is a copy of its
// security (code, name, type, extra information, market and attached object) with the other hot
// key and kind KIND_FULL_PINYIN_ALIAS: the component lists it after the initials matches and hands
// it out as an ordinary alias (kind 258), so that picking it hands over what picking the security's
// alias does. A full pinyin that is empty, or equal to the security's hot key (a name of ASCII
// letters and digits), adds nothing. The component shows an alias only for a security its data
// centre knows (with the name the data centre gives): register the securities there too
// (CTerminalHost::AddSecuritiesOf).
//
// The records are built here, in the caller's module, with the item record's members the caller
// links anyway (TerminalServices.dll does not link the component): the functions are inline.
#pragma once

#include <cwchar>
#include <initializer_list>
#include <vector>

#include "frame/IHotKeyManager.h"
#include "frame/KeyboardItemInfo.h"
#include "services/Pinyin.h"

// True for the items that stand for a security: everything but former names, commands and
// aliases of either kind.
inline bool IsSecurityItem(const KeyboardItemInfo& item) {
  return item.m_dwKind != KIND_FORMER_NAME && item.m_dwKind != KIND_COMMAND &&
         item.m_dwKind != KIND_ALIAS && item.m_dwKind != KIND_FULL_PINYIN_ALIAS;
}

// The hot keys of a security's full-pinyin aliases, into keys[0..]: the full pinyin of its name's
// default reading, and of the second reading when there is one. A key that is empty or equals the
// security's hot key is left out. Returns how many it wrote, 0 to 2.
inline int FullPinyinKeys(const KeyboardItemInfo& security,
                          wchar_t keys[2][PINYIN_KEY_LENGTH + 1]) {
  PinyinKeys computed;
  if (!ComputePinyinKeys(security.m_szName, &computed)) return 0;
  int count = 0;
  for (const wchar_t* key : {computed.fullPinyin, computed.secondFullPinyin}) {
    if (!key[0] || wcscmp(key, security.m_szHotKey) == 0) continue;
    CopyKeyField(keys[count++], key);
  }
  return count;
}

// The full-pinyin alias item of a security under one of those keys.
inline void MakeFullPinyinAlias(const KeyboardItemInfo& security, const wchar_t* key,
                                KeyboardItemInfo* alias) {
  *alias = security;
  CopyKeyField(alias->m_szHotKey, key);
  alias->m_dwKind = KIND_FULL_PINYIN_ALIAS;
  alias->m_eSelectType = KEYBOARD_SELECT_NONE;
}

// Appends the full-pinyin alias items of items[0..count) to *aliases; returns how many.
inline size_t AppendFullPinyinAliases(const KeyboardItemInfo* items, size_t count,
                                      std::vector<KeyboardItemInfo>* aliases) {
  if (!items || !aliases) return 0;
  const size_t before = aliases->size();
  wchar_t keys[2][PINYIN_KEY_LENGTH + 1];
  for (size_t i = 0; i < count; ++i) {
    if (!IsSecurityItem(items[i])) continue;
    for (int k = 0, made = FullPinyinKeys(items[i], keys); k < made; ++k) {
      aliases->emplace_back();
      MakeFullPinyinAlias(items[i], keys[k], &aliases->back());
    }
  }
  return aliases->size() - before;
}

// Registers the full-pinyin alias items of items[0..count) with the manager in one bulk add
// (with the duplicate check). Returns how many were registered, 0 when there were none, and -1
// when there is no manager or it refused them (no environment, or one that is closing).
inline int AddFullPinyinAliases(IHotKeyManager* manager, const KeyboardItemInfo* items,
                                size_t count) {
  if (!manager) return -1;
  std::vector<KeyboardItemInfo> aliases;
  if (AppendFullPinyinAliases(items, count, &aliases) == 0) return 0;
  std::vector<int> allCategories;
  if (!manager->AddKeyboardItems(aliases.data(), static_cast<int>(aliases.size()), &allCategories,
                                 FALSE))
    return -1;
  return static_cast<int>(aliases.size());
}
