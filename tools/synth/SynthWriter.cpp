#include <cstdio>

#include "platform/Utf8.h"
#include "tools/synth/SyntheticMarket.h"

void WriteItemsTsv(std::ostream& out, const std::vector<SynthItem>& items) {
  out << "# Synthetic keyboard items: code, hotkey, name, type, extra, kind, market\n";
  std::string line;
  char numbers[64];
  for (const SynthItem& item : items) {
    line = plat::WideToUtf8(item.code);
    line += '\t';
    line += plat::WideToUtf8(item.hotkey);
    line += '\t';
    line += plat::WideToUtf8(item.name);
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
