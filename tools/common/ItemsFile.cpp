#include "ItemsFile.h"

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "platform/Utf8.h"

namespace {

// Decimal or 0x-prefixed hexadecimal, whole field, within [minimum, maximum].
bool ParseNumber(const std::string& field, int64_t minimum, int64_t maximum, int64_t* value) {
  if (field.empty()) return false;
  bool hex = field.size() > 2 && field[0] == '0' && (field[1] == 'x' || field[1] == 'X');
  const char* begin = field.c_str() + (hex ? 2 : 0);
  if (!hex && field[0] == '+') return false;
  char* end = nullptr;
  errno = 0;
  long long parsed =
      hex ? static_cast<long long>(strtoull(begin, &end, 16)) : strtoll(begin, &end, 10);
  if (errno != 0 || end == begin || *end != 0) return false;
  if (hex && (begin[0] == '-' || begin[0] == '+' || begin[0] == ' ')) return false;
  if (parsed < minimum || parsed > maximum) return false;
  *value = parsed;
  return true;
}

std::vector<std::string> SplitTabs(const std::string& line) {
  std::vector<std::string> fields;
  size_t start = 0;
  for (;;) {
    size_t tab = line.find('\t', start);
    fields.push_back(
        line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
    if (tab == std::string::npos) return fields;
    start = tab + 1;
  }
}

}  // namespace

bool ParseItems(const std::string& text, std::vector<KeyboardItemInfo>* items,
                ItemsFileError* error) {
  static const char* const kTexts[] = {"code", "hotkey", "name"};
  static const char* const kColumns[] = {"type", "extra", "kind", "market"};
  std::istringstream in(text);
  std::string line;
  int number = 0;
  while (std::getline(in, line)) {
    ++number;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (number == 1 && line.compare(0, 3, "\xEF\xBB\xBF") == 0) line.erase(0, 3);
    if (line.empty() || line[0] == '#') continue;
    std::vector<std::string> fields = SplitTabs(line);
    if (fields.size() != 7) {
      error->line = number;
      error->message = "expected 7 tab-separated columns, found " + std::to_string(fields.size());
      return false;
    }
    static const int64_t kLimits[4][2] = {
        {0, 0xFFFF}, {INT32_MIN, 0xFFFFFFFFLL}, {0, 0xFFFFFFFFLL}, {0, 255}};
    int64_t values[4];
    for (int k = 0; k < 4; ++k) {
      if (!ParseNumber(fields[3 + k], kLimits[k][0], kLimits[k][1], &values[k])) {
        error->line = number;
        error->message = std::string("bad ") + kColumns[k] + " '" + fields[3 + k] + "'";
        return false;
      }
    }
    std::wstring texts[3];
    for (int k = 0; k < 3; ++k) {
      if (!plat::Utf8ToWide(fields[k], &texts[k])) {
        error->line = number;
        error->message = std::string("bad ") + kTexts[k] + ": not UTF-8";
        return false;
      }
    }
    const std::wstring &code = texts[0], &hotKey = texts[1], &name = texts[2];
    int type = static_cast<int>(values[0]);
    int extra = static_cast<int>(static_cast<uint32_t>(values[1]));
    DWORD kind = static_cast<DWORD>(values[2]);
    items->emplace_back(code.c_str(), hotKey.c_str(), name.c_str(), type, extra, nullptr, kind,
                        KEYBOARD_SELECT_NONE);
    items->back().m_cMarket = static_cast<unsigned char>(values[3]);
  }
  return true;
}

bool LoadItemsFile(const std::string& path, std::vector<KeyboardItemInfo>* items,
                   ItemsFileError* error) {
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    error->line = 0;
    error->message = "cannot read " + path;
    return false;
  }
  std::ostringstream text;
  text << file.rdbuf();
  return ParseItems(text.str(), items, error);
}
