#include "KeyboardItemInfo.h"

#include <cstring>
#include <cwchar>

const int KeyboardItemInfo::MAX_STOCK_NAME_LENGTH = 16;
const int KeyboardItemInfo::MAX_STOCK_DESCRI_LENGTH = 32;
const int KeyboardItemInfo::MAX_STOCK_HOTKEY_LENGTH = 32;
const int KeyboardItemInfo::INVALID_EXTRA_INFO_VALUE = -1;

#ifdef _WIN32
static_assert(sizeof(wchar_t) == 2, "the terminal's layout has 16-bit characters");
static_assert(offsetof(KeyboardItemInfo, m_szHotKey) == 34, "field layout");
static_assert(offsetof(KeyboardItemInfo, m_szName) == 100, "field layout");
static_assert(offsetof(KeyboardItemInfo, m_wType) == 166, "field layout");
static_assert(offsetof(KeyboardItemInfo, m_nExtraInfo) == 168, "field layout");
static_assert(offsetof(KeyboardItemInfo, m_pUnknown) == 176, "field layout");
static_assert(offsetof(KeyboardItemInfo, m_dwKind) == 184, "field layout");
static_assert(offsetof(KeyboardItemInfo, m_cMarket) == 188, "field layout");
static_assert(offsetof(KeyboardItemInfo, m_eSelectType) == 192, "field layout");
static_assert(sizeof(KeyboardItemInfo) == 200, "field layout");
#endif
static_assert(sizeof(KEYBOARD_SELECT_TYPE) == 4, "32-bit enumeration");

KeyboardItemInfo::KeyboardItemInfo()
    : m_wType(0xFFFF),
      m_nExtraInfo(INVALID_EXTRA_INFO_VALUE),
      m_pUnknown(nullptr),
      m_dwKind(0xFFFFFFFF),
      m_cMarket(0xFF),
      m_eSelectType(KEYBOARD_SELECT_NONE) {
  memset(m_szCode, 0, sizeof(m_szCode));
  memset(m_szHotKey, 0, sizeof(m_szHotKey));
  memset(m_szName, 0, sizeof(m_szName));
}

KeyboardItemInfo::KeyboardItemInfo(const wchar_t* code, const wchar_t* hotKey, const wchar_t* name,
                                   const int& type, const int& extraInfo, IUnknown* unknown,
                                   const DWORD& kind, KEYBOARD_SELECT_TYPE selectType) {
  m_wType = static_cast<unsigned short>(type & 0xFFFF);
  m_nExtraInfo = extraInfo;
  m_pUnknown = unknown;
  if (m_pUnknown) m_pUnknown->AddRef();
  m_dwKind = kind;
  m_cMarket = 0xFF;
  m_eSelectType = selectType;
  memset(m_szCode, 0, sizeof(m_szCode));
  memset(m_szHotKey, 0, sizeof(m_szHotKey));
  memset(m_szName, 0, sizeof(m_szName));
  if (code) CopyKeyField(m_szCode, code);
  if (hotKey) CopyKeyField(m_szHotKey, hotKey);
  if (name) CopyKeyField(m_szName, name);
}

KeyboardItemInfo::~KeyboardItemInfo() {
  if (m_pUnknown) {
    IUnknown* old = m_pUnknown;
    m_pUnknown = nullptr;
    old->Release();
  }
}

KeyboardItemInfo::KeyboardItemInfo(const KeyboardItemInfo& other)
    : m_wType(other.m_wType),
      m_nExtraInfo(other.m_nExtraInfo),
      m_pUnknown(other.m_pUnknown),
      m_dwKind(other.m_dwKind),
      m_cMarket(other.m_cMarket),
      m_eSelectType(other.m_eSelectType) {
  memcpy(m_szCode, other.m_szCode, sizeof(m_szCode));
  memcpy(m_szHotKey, other.m_szHotKey, sizeof(m_szHotKey));
  memcpy(m_szName, other.m_szName, sizeof(m_szName));
  if (m_pUnknown) m_pUnknown->AddRef();
}

KeyboardItemInfo& KeyboardItemInfo::operator=(const KeyboardItemInfo& other) {
  memmove(m_szCode, other.m_szCode, sizeof(m_szCode));
  memmove(m_szHotKey, other.m_szHotKey, sizeof(m_szHotKey));
  memmove(m_szName, other.m_szName, sizeof(m_szName));
  m_wType = other.m_wType;
  m_nExtraInfo = other.m_nExtraInfo;
  if (m_pUnknown != other.m_pUnknown) {
    IUnknown* incoming = other.m_pUnknown;
    if (incoming) incoming->AddRef();
    IUnknown* old = m_pUnknown;
    m_pUnknown = incoming;
    if (old) old->Release();
  }
  m_dwKind = other.m_dwKind;
  m_cMarket = other.m_cMarket;
  m_eSelectType = other.m_eSelectType;
  return *this;
}

bool KeyboardItemInfo::operator==(const KeyboardItemInfo& other) const {
  return wcscmp(m_szCode, other.m_szCode) == 0 && wcscmp(m_szHotKey, other.m_szHotKey) == 0 &&
         wcscmp(m_szName, other.m_szName) == 0 && m_wType == other.m_wType &&
         m_dwKind == other.m_dwKind;
}

void KeyboardItemInfo::CopyRemoveIUnknownPtr(const KeyboardItemInfo& other) {
  if (this != &other) {
    CopyKeyField(m_szCode, other.m_szCode);
    CopyKeyField(m_szHotKey, other.m_szHotKey);
    CopyKeyField(m_szName, other.m_szName);
  }
  m_wType = other.m_wType;
  m_nExtraInfo = other.m_nExtraInfo;
  m_dwKind = other.m_dwKind;
  m_cMarket = other.m_cMarket;
  m_eSelectType = other.m_eSelectType;
  if (m_pUnknown) {
    IUnknown* old = m_pUnknown;
    m_pUnknown = nullptr;
    old->Release();
  }
}
