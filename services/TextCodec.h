// UTF-8 and GB2312 (code page 936) conversions used inside the services library.
#pragma once

#include <cstddef>
#include <string>

namespace ts {

// Decodes UTF-8 into wide characters (UTF-16 where wchar_t has 16 bits, UTF-32 elsewhere).
// False on malformed input.
bool Utf8ToWide(const std::string& text, std::wstring& out);
// Encodes wide characters as UTF-8; unpaired surrogates become U+FFFD.
std::string WideToUtf8(const std::wstring& text);

// Encodes to code page 936; characters it lacks become '?'. False only if the converter is
// missing.
bool WideToGb2312(const std::wstring& text, std::string& out);
// Decodes code page 936; false on malformed input.
bool Gb2312ToWide(const char* text, std::wstring& out);
// Longest prefix of at most maxBytes bytes that does not split a double-byte character.
size_t Gb2312PrefixLength(const std::string& text, size_t maxBytes);

}  // namespace ts
