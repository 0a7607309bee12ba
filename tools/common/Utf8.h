// UTF-8 text at the tools' edges; wchar_t is UTF-16 on Windows and UTF-32 elsewhere.
#pragma once

#include <string>

// Lenient: a stray or cut-off sequence becomes U+FFFD.
std::wstring Utf8ToWide(const std::string& text);
// Refuses what is not UTF-8: bad or missing continuation bytes, overlong forms, surrogates and
// values above U+10FFFF.
bool StrictUtf8ToWide(const std::string& text, std::wstring* out);
std::string WideToUtf8(const wchar_t* text);
inline std::string WideToUtf8(const std::wstring& text) { return WideToUtf8(text.c_str()); }
