#include "Utf8.h"

#include <cstdint>

namespace {

void AppendCodePoint(std::wstring& out, uint32_t c) {
  if (sizeof(wchar_t) == 2 && c >= 0x10000) {
    c -= 0x10000;
    out += static_cast<wchar_t>(0xD800 + (c >> 10));
    out += static_cast<wchar_t>(0xDC00 + (c & 0x3FF));
  } else {
    out += static_cast<wchar_t>(c);
  }
}

}  // namespace

std::wstring Utf8ToWide(const std::string& text) {
  std::wstring out;
  out.reserve(text.size());
  size_t i = 0;
  while (i < text.size()) {
    unsigned char lead = static_cast<unsigned char>(text[i]);
    size_t extra = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
    uint32_t c = extra ? lead & (0x3F >> extra) : lead;
    if (lead >= 0x80 && lead < 0xC0) {
      out += static_cast<wchar_t>(0xFFFD);  // stray continuation byte
      ++i;
      continue;
    }
    size_t k = 1;
    for (; k <= extra && i + k < text.size(); ++k) {
      unsigned char next = static_cast<unsigned char>(text[i + k]);
      if ((next & 0xC0) != 0x80) break;
      c = (c << 6) | (next & 0x3F);
    }
    if (k <= extra) c = 0xFFFD;
    AppendCodePoint(out, c);
    i += k;
  }
  return out;
}

bool StrictUtf8ToWide(const std::string& text, std::wstring* out) {
  out->clear();
  size_t i = 0;
  while (i < text.size()) {
    const unsigned char lead = static_cast<unsigned char>(text[i]);
    // Sequence length and smallest value by lead byte; 0xC0, 0xC1 and 0xF5 on never lead.
    size_t extra;
    uint32_t c, minimum;
    if (lead < 0x80) {
      extra = 0, c = lead, minimum = 0;
    } else if (lead >= 0xC2 && lead < 0xE0) {
      extra = 1, c = lead & 0x1F, minimum = 0x80;
    } else if (lead >= 0xE0 && lead < 0xF0) {
      extra = 2, c = lead & 0x0F, minimum = 0x800;
    } else if (lead >= 0xF0 && lead < 0xF5) {
      extra = 3, c = lead & 0x07, minimum = 0x10000;
    } else {
      return false;
    }
    if (text.size() - i <= extra) return false;
    for (size_t k = 1; k <= extra; ++k) {
      const unsigned char next = static_cast<unsigned char>(text[i + k]);
      if ((next & 0xC0) != 0x80) return false;
      c = (c << 6) | (next & 0x3F);
    }
    if (c < minimum || c > 0x10FFFF || (c >= 0xD800 && c < 0xE000)) return false;
    AppendCodePoint(*out, c);
    i += extra + 1;
  }
  return true;
}

std::string WideToUtf8(const wchar_t* text) {
  std::string out;
  for (; text && *text; ++text) {
    uint32_t c = static_cast<uint32_t>(*text);
    if (sizeof(wchar_t) == 2 && c >= 0xD800 && c < 0xDC00 && text[1] >= 0xDC00 &&
        text[1] < 0xE000) {
      c = 0x10000 + ((c - 0xD800) << 10) + (static_cast<uint32_t>(text[1]) - 0xDC00);
      ++text;
    }
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (c >> 18));
      out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}
