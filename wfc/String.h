// CString: a wide string that converts to a C string.
#pragma once

#include <string>

class CString {
 public:
  CString() {}
  CString(const wchar_t* text) : m_text(text ? text : L"") {}  // NOLINT: converts like a C string

  operator const wchar_t*() const { return m_text.c_str(); }
  CString& operator=(const wchar_t* text) {
    m_text = text ? text : L"";
    return *this;
  }
  CString& operator+=(const wchar_t* text) {
    if (text) m_text += text;
    return *this;
  }
  int GetLength() const { return static_cast<int>(m_text.size()); }
  bool IsEmpty() const { return m_text.empty(); }
  void Empty() { m_text.clear(); }
  const std::wstring& str() const { return m_text; }

 private:
  std::wstring m_text;
};
