// GB2312 (code page 936) conversions used inside the services library (services/Gb2312.cpp);
// UTF-8 is platform/Utf8.h.
#pragma once

#include <cstddef>
#include <string>

namespace ts {

// Encodes to code page 936; characters it lacks become '?'. False only if the converter is
// missing.
bool WideToGb2312(const std::wstring& text, std::string& out);
// Decodes code page 936; false on malformed input.
bool Gb2312ToWide(const char* text, std::wstring& out);
// Longest prefix of at most maxBytes bytes that does not split a double-byte character.
size_t Gb2312PrefixLength(const std::string& text, size_t maxBytes);

}  // namespace ts
