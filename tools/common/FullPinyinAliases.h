// Full-pinyin alias items: what lets a trader find a security by typing its name's syllables
// (PUFAYINHANG, or just PUFA) as well as its initials.
#pragma once

#include "frame/KeyboardItemInfo.h"
#include "services/Pinyin.h"

// True for the items a terminal registers as securities with its data centre: everything but
// former names, commands and aliases.
bool IsSecurityItem(const KeyboardItemInfo& item);

// The hot keys of a security's full-pinyin aliases: the full pinyin of its name's default
// reading, and of the second reading when the name has an initials alias (Pinyin.h). A key that
// is empty or equals the security's hot key (a name of letters and digits only) is left out.
// Returns how many it wrote, 0 to 2.
int FullPinyinKeys(const KeyboardItemInfo& security, wchar_t keys[2][PINYIN_KEY_LENGTH + 1]);

// The alias item (kind 258) of a security under one of those keys: the security's code, name,
// type word, extra information and market.
void MakeFullPinyinAlias(const KeyboardItemInfo& security, const wchar_t* key,
                         KeyboardItemInfo* alias);

// Both at once: writes the alias items into aliases[0..] and returns how many, 0 to 2.
int MakeFullPinyinAliases(const KeyboardItemInfo& security, KeyboardItemInfo aliases[2]);
