// gen-market: writes a synthetic market in the hotkey-search items format.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <string>

#include "tools/synth/SyntheticMarket.h"

namespace {

const char kUsage[] =
    "usage: gen-market --count N --seed S [--out FILE]\n"
    "Writes N synthetic keyboard items (UTF-8 TSV: code, hotkey, name, type, extra, kind,\n"
    "market), the same for the same seed on every platform; standard output without --out.\n";

bool ParseUnsigned(const char* text, unsigned long long limit, unsigned long long* value) {
  if (!text || !*text || *text == '-') return false;
  errno = 0;
  char* end = nullptr;
  *value = std::strtoull(text, &end, 10);
  return errno == 0 && *end == 0 && *value <= limit;
}

}  // namespace

int main(int argc, char** argv) {
  unsigned long long count = 0;
  unsigned long long seed = 0;
  bool haveCount = false;
  bool haveSeed = false;
  const char* outPath = nullptr;
  for (int i = 1; i < argc; ++i) {
    const char* arg = argv[i];
    const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
    if (std::strcmp(arg, "--help") == 0) {
      std::fputs(kUsage, stdout);
      return 0;
    } else if (std::strcmp(arg, "--count") == 0 && ParseUnsigned(value, 100000000ull, &count)) {
      haveCount = true;
      ++i;
    } else if (std::strcmp(arg, "--seed") == 0 && ParseUnsigned(value, 0xFFFFFFFFull, &seed)) {
      haveSeed = true;
      ++i;
    } else if (std::strcmp(arg, "--out") == 0 && value) {
      outPath = value;
      ++i;
    } else {
      std::fprintf(stderr, "gen-market: bad argument '%s'\n%s", arg, kUsage);
      return 2;
    }
  }
  if (!haveCount || !haveSeed) {
    std::fputs(kUsage, stderr);
    return 2;
  }

  std::vector<SynthItem> items =
      GenerateMarket(static_cast<size_t>(count), static_cast<uint32_t>(seed));
  if (!outPath) {
    WriteItemsTsv(std::cout, items);
    std::cout.flush();
    return std::cout ? 0 : 1;
  }
  std::ofstream file(outPath, std::ios::binary);
  if (!file) {
    std::fprintf(stderr, "gen-market: cannot write %s\n", outPath);
    return 1;
  }
  WriteItemsTsv(file, items);
  file.close();
  return file ? 0 : 1;
}
