#include <cstdio>

#include "tools/synth/SyntheticMarket.h"

std::string SynthToUtf8(const std::wstring& text) {
  std::string out;
  out.reserve(text.size() * 3);
  for (size_t i = 0; i < text.size(); ++i) {
    uint32_t c = static_cast<uint32_t>(text[i]);
    if (sizeof(wchar_t) == 2 && c >= 0xD800 && c < 0xDC00 && i + 1 < text.size()) {
      uint32_t low = static_cast<uint32_t>(text[i + 1]);
      if (low >= 0xDC00 && low < 0xE000) {
        c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
        ++i;
      }
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

void WriteItemsTsv(std::ostream& out, const std::vector<SynthItem>& items) {
  out << "# Synthetic keyboard items: code, hotkey, name, type, extra, kind, market\n";
  std::string line;
  char numbers[64];
  for (const SynthItem& item : items) {
    line = SynthToUtf8(item.code);
    line += '\t';
    line += SynthToUtf8(item.hotkey);
    line += '\t';
    line += SynthToUtf8(item.name);
    if (item.kind == SYNTH_KIND_SECURITY)
      std::snprintf(numbers, sizeof(numbers), "\t0x%04X\t%d\t0xFFFFFFFF\t%u\n",
                    static_cast<unsigned>(item.type), item.extra,
                    static_cast<unsigned>(item.market));
    else
      std::snprintf(numbers, sizeof(numbers), "\t0x%04X\t%d\t%lu\t%u\n",
                    static_cast<unsigned>(item.type), item.extra,
                    static_cast<unsigned long>(item.kind), static_cast<unsigned>(item.market));
    line += numbers;
    out << line;
  }
}
