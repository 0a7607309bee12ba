// pinyin-keys: the run-time pinyin keys (services/Pinyin.h) of names read one a line (UTF-8) from
// standard input, written one a line as initials, aliases (comma-separated), full pinyin and
// second full pinyin, tab-separated. The initials tool's tests compare them with its own keys.
#include <iostream>
#include <string>

#include "services/Pinyin.h"
#include "tools/common/Utf8.h"

int main() {
  std::ios::sync_with_stdio(false);
  std::string line;
  while (std::getline(std::cin, line)) {
    PinyinKeys keys;
    ComputePinyinKeys(Utf8ToWide(line).c_str(), &keys);
    std::string aliases;
    for (int i = 0; i < keys.aliasCount; ++i)
      aliases += (i ? "," : "") + WideToUtf8(keys.aliases[i]);
    std::cout << WideToUtf8(keys.initials) << '\t' << aliases << '\t' << WideToUtf8(keys.fullPinyin)
              << '\t' << WideToUtf8(keys.secondFullPinyin) << '\n';
  }
  return 0;
}
