// The object the demo terminal attaches to every keyboard item it registers: the component hands
// it back with a pick, and the terminal reads from it which security or command was chosen.
#pragma once

#include <string>

#include "frame/KeyboardItemInfo.h"
#include "frame/Unknown.h"

class CDemoItemTag : public CUnknown {
 public:
  explicit CDemoItemTag(const KeyboardItemInfo& item)
      : m_strCode(item.m_szCode),
        m_strName(item.m_szName),
        m_cMarket(item.m_cMarket),
        m_dwKind(item.m_dwKind),
        m_nExtraInfo(item.m_nExtraInfo) {}

  bool IsCommand() const { return m_dwKind == KIND_COMMAND; }

  const std::wstring m_strCode;
  const std::wstring m_strName;
  const unsigned char m_cMarket;
  const DWORD m_dwKind;
  const int m_nExtraInfo;
};
