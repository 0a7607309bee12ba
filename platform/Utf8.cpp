#include "Utf8.h"

#include <cstdint>
#include <cwchar>

namespace plat {

namespace {

const char32_t kReplacement = 0xFFFD;

// Reads the sequence that starts at text[i]: *length bytes, at least one. True with *value when
// it is UTF-8; false when the strict decoder refuses it.
bool DecodeSequence(const std::string& text, size_t i, char32_t* value, size_t* length) {
  const unsigned char lead = static_cast<unsigned char>(text[i]);
  *length = 1;
  if (lead < 0x80) {
    *value = lead;
    return true;
  }
  if (lead < 0xC0) return false;  // a continuation byte with nothing to continue
  // Leads from 0xF5 on read like four-byte ones; their values are refused below.
  const size_t extra = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : 1;
  static const char32_t kSmallest[] = {0, 0x80, 0x800, 0x10000};
  char32_t c = lead & (0x3F >> extra);
  size_t k = 1;
  for (; k <= extra && i + k < text.size(); ++k) {
    const unsigned char next = static_cast<unsigned char>(text[i + k]);
    if ((next & 0xC0) != 0x80) break;
    c = (c << 6) | (next & 0x3F);
  }
  *length = k;
  if (k <= extra) return false;  // cut off
  *value = c;
  // Overlong forms, surrogates and values past U+10FFFF are not UTF-8.
  return c >= kSmallest[extra] && c <= 0x10FFFF && (c < 0xD800 || c > 0xDFFF);
}

void AppendWide(std::wstring& out, char32_t c) {
  if (sizeof(wchar_t) == 2 && c >= 0x10000) {
    c -= 0x10000;
    out.push_back(static_cast<wchar_t>(0xD800 + (c >> 10)));
    out.push_back(static_cast<wchar_t>(0xDC00 + (c & 0x3FF)));
  } else {
    out.push_back(static_cast<wchar_t>(c));
  }
}

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out.push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (c >> 6)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else if (c < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (c >> 12)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (c >> 18)));
    out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

// The character value of a wide character: wchar_t is signed on some platforms.
char32_t Unit(wchar_t c) {
  return sizeof(wchar_t) == 2 ? static_cast<char32_t>(static_cast<uint16_t>(c))
                              : static_cast<char32_t>(static_cast<uint32_t>(c));
}

std::string Encode(const wchar_t* text, size_t size) {
  std::string out;
  out.reserve(size);
  for (size_t i = 0; i < size; ++i) {
    char32_t c = Unit(text[i]);
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < size) {
      const char32_t low = Unit(text[i + 1]);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
        ++i;
      }
    }
    if ((c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF) c = kReplacement;
    AppendUtf8(out, c);
  }
  return out;
}

}  // namespace

bool Utf8ToWide(const std::string& text, std::wstring* out) {
  out->clear();
  out->reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    char32_t c = 0;
    size_t length;
    if (!DecodeSequence(text, i, &c, &length)) return false;
    AppendWide(*out, c);
    i += length;
  }
  return true;
}

std::wstring Utf8ToWideLenient(const std::string& text) {
  std::wstring out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    char32_t c = 0;
    size_t length;
    AppendWide(out, DecodeSequence(text, i, &c, &length) ? c : kReplacement);
    i += length;
  }
  return out;
}

std::string WideToUtf8(const std::wstring& text) { return Encode(text.data(), text.size()); }

std::string WideToUtf8(const wchar_t* text) {
  return text ? Encode(text, std::wcslen(text)) : std::string();
}

}  // namespace plat
