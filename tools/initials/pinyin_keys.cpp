// pinyin-keys: the run-time pinyin keys (services/Pinyin.h) of names read one a line (UTF-8) from
// standard input, written one a line as initials, aliases (comma-separated), full pinyin and
// second full pinyin, tab-separated. The initials tool's tests compare them with its own keys.
#include <iostream>
#include <string>

#include "platform/Utf8.h"
#include "services/Pinyin.h"

int main() {
  std::ios::sync_with_stdio(false);
  std::string line;
  while (std::getline(std::cin, line)) {
    PinyinKeys keys;
    ComputePinyinKeys(plat::Utf8ToWideLenient(line).c_str(), &keys);
    std::string aliases;
    for (int i = 0; i < keys.aliasCount; ++i)
      aliases += (i ? "," : "") + plat::WideToUtf8(keys.aliases[i]);
    std::cout << plat::WideToUtf8(keys.initials) << '\t' << aliases << '\t'
              << plat::WideToUtf8(keys.fullPinyin) << '\t'
              << plat::WideToUtf8(keys.secondFullPinyin) << '\n';
  }
  return 0;
}
