// UTF-8 text at the tools' edges; wchar_t is UTF-16 on Windows and UTF-32 elsewhere.
#pragma once

#include <string>

std::wstring Utf8ToWide(const std::string& text);
std::string WideToUtf8(const wchar_t* text);
inline std::string WideToUtf8(const std::wstring& text) { return WideToUtf8(text.c_str()); }
