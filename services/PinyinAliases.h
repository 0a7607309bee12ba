// Full-pinyin alias items: for each security a terminal registers, what a trader who types the
// whole syllables ("PUFA" for 浦发银行) finds it by.
//
// Each security (a kind other than former name, command or alias) gets one alias item (kind 258)
// whose hot key is the full pinyin of its name's default reading, and one more for the second
// reading when the name has an initials alias (the reading behind PinyinKeys::aliases[0], as the
// initials tool gives it: "长江电力" gets CHANGJIANGDIANLI and ZHANGJIANGDIANLI). An alias is a
// copy of its security (code, name, type, extra information, market and attached object) with the
// other hot key, so that picking it hands over what picking the security does. A full pinyin that
// is empty, or equal to the security's hot key (a name of ASCII letters and digits), adds
// nothing. The component shows an alias only for a security its data centre knows (with the name
// the data centre gives): register the securities there too (CTerminalHost::AddSecuritiesOf).
//
// The records are built here, in the caller's module, with the item record's members the caller
// links anyway (TerminalServices.dll does not link the component): the functions are inline.
#pragma once

#include <cwchar>
#include <vector>

#include "frame/IHotKeyManager.h"
#include "frame/KeyboardItemInfo.h"
#include "services/Pinyin.h"

// Appends the full-pinyin alias items of items[0..count) to *aliases; returns how many.
inline size_t AppendFullPinyinAliases(const KeyboardItemInfo* items, size_t count,
                                      std::vector<KeyboardItemInfo>* aliases) {
  if (!items || !aliases) return 0;
  const size_t before = aliases->size();
  for (size_t i = 0; i < count; ++i) {
    const KeyboardItemInfo& item = items[i];
    if (item.m_dwKind == KIND_FORMER_NAME || item.m_dwKind == KIND_COMMAND ||
        item.m_dwKind == KIND_ALIAS)
      continue;
    PinyinKeys keys;
    if (!ComputePinyinKeys(item.m_szName, &keys)) continue;
    for (const wchar_t* key : {keys.fullPinyin, keys.secondFullPinyin}) {
      if (!key[0] || wcscmp(key, item.m_szHotKey) == 0) continue;
      aliases->push_back(item);
      KeyboardItemInfo& alias = aliases->back();
      CopyKeyField(alias.m_szHotKey, key);
      alias.m_dwKind = KIND_ALIAS;
      alias.m_eSelectType = KEYBOARD_SELECT_NONE;
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
