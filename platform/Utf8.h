// UTF-8 and wide text: the one codec of the component, the terminal services and the tools.
// Wide text is UTF-16 where wchar_t has 16 bits (Windows) and UTF-32 elsewhere.
#pragma once

#include <string>

namespace plat {

// Strict, for files whose text must be UTF-8: false on a byte that cannot lead (a stray
// continuation byte, 0xC0, 0xC1, 0xF5 and above), a missing or cut-off continuation byte, an
// overlong form, a surrogate or a value above U+10FFFF. *out then holds what came before.
bool Utf8ToWide(const std::string& text, std::wstring* out);
// Lenient, for what people type and for names the system hands over: each sequence the strict
// form refuses becomes one U+FFFD. A sequence cut off by a byte that does not continue it ends
// there, and that byte starts the next one.
std::wstring Utf8ToWideLenient(const std::string& text);

// Encodes wide text, joining UTF-16 surrogate pairs; an unpaired surrogate or a value above
// U+10FFFF becomes U+FFFD, so the result is always UTF-8. The string form encodes every
// character, zeros included; the pointer form stops at the first zero (null gives "").
std::string WideToUtf8(const std::wstring& text);
std::string WideToUtf8(const wchar_t* text);

}  // namespace plat
