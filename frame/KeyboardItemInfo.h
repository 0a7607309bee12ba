// The record of one keyboard item: a security, a former name or alias of one, or a terminal
// command. Its layout is shared with the terminal, which compiles against this declaration.
#pragma once

#include <cstddef>

#include "Export.h"
#include "platform/WinTypes.h"

enum KEYBOARD_SELECT_TYPE {
  KEYBOARD_SELECT_NONE = 0,
  KEYBOARD_SELECT_WHOLE = 1,
  KEYBOARD_SELECT_BEGIN = 2,
  KEYBOARD_SELECT_END = 3,
};

// Item kinds; any other kind is an ordinary security classified by its type word.
const DWORD KIND_FORMER_NAME = 256;
const DWORD KIND_COMMAND = 257;
const DWORD KIND_ALIAS = 258;
// An alias keyed by the full pinyin of its security's name ("PUFAYINHANG"). The store files it in
// the unknown category (66), searched after the categories securities and commands are found in
// save 67 to 71, and a search hands it out as an ordinary alias (kind 258): picking one hands over
// what picking any alias does.
const DWORD KIND_FULL_PINYIN_ALIAS = 260;

struct HKM_API KeyboardItemInfo {
  static const int MAX_STOCK_NAME_LENGTH;
  static const int MAX_STOCK_DESCRI_LENGTH;
  static const int MAX_STOCK_HOTKEY_LENGTH;
  static const int INVALID_EXTRA_INFO_VALUE;
  // A command with this extra information hands over the item itself as its payload.
  static constexpr int EXTRA_INFO_CARRIES_ITEM = 73;

  wchar_t m_szCode[16 + 1];
  wchar_t m_szHotKey[32 + 1];
  wchar_t m_szName[32 + 1];
  unsigned short m_wType;
  int m_nExtraInfo;
  IUnknown* m_pUnknown;
  DWORD m_dwKind;
  unsigned char m_cMarket;
  KEYBOARD_SELECT_TYPE m_eSelectType;

  KeyboardItemInfo();
  KeyboardItemInfo(const wchar_t* code, const wchar_t* hotKey, const wchar_t* name, const int& type,
                   const int& extraInfo, IUnknown* unknown, const DWORD& kind,
                   KEYBOARD_SELECT_TYPE selectType);
  ~KeyboardItemInfo();
  KeyboardItemInfo(const KeyboardItemInfo& other);
  KeyboardItemInfo& operator=(const KeyboardItemInfo& other);
  bool operator==(const KeyboardItemInfo& other) const;
  void CopyRemoveIUnknownPtr(const KeyboardItemInfo& other);
};

// Copies text into a fixed field, truncating overlong input so the field stays terminated.
template <size_t N>
inline void CopyKeyField(wchar_t (&field)[N], const wchar_t* text) {
  size_t i = 0;
  if (text)
    for (; i + 1 < N && text[i]; ++i) field[i] = text[i];
  field[i] = 0;
}
