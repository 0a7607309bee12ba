// Reading the security master file (format in SecurityMaster.h).
#include <cstdlib>
#include <vector>

#include "HostFiles.h"
#include "SecurityMaster.h"
#include "platform/Utf8.h"

namespace {

std::string Trim(const std::string& text) {
  const char* blanks = " \t\r\n";
  const size_t first = text.find_first_not_of(blanks);
  if (first == std::string::npos) return std::string();
  return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

std::vector<std::string> SplitTabs(const std::string& line) {
  std::vector<std::string> fields;
  size_t start = 0;
  for (;;) {
    const size_t tab = line.find('\t', start);
    fields.push_back(Trim(line.substr(start, tab - start)));
    if (tab == std::string::npos) break;
    start = tab + 1;
  }
  return fields;
}

// Unsigned number, decimal or 0x-prefixed hexadecimal, at most max.
bool ParseNumber(const std::string& text, unsigned long max, unsigned long& value) {
  if (text.empty()) return false;
  int base = 10;
  size_t start = 0;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    base = 16;
    start = 2;
  }
  for (size_t i = start; i < text.size(); ++i) {
    const char c = text[i];
    const bool digit = (c >= '0' && c <= '9') ||
                       (base == 16 && ((c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F')));
    if (!digit) return false;
  }
  if (text.size() - start > 8) return false;
  value = strtoul(text.c_str() + start, nullptr, base);
  return value <= max;
}

}  // namespace

int CSecurityMaster::LoadFile(const wchar_t* path, int* rejected) {
  if (rejected) *rejected = 0;
  std::string text;
  if (!path || !ts::ReadWholeFile(path, text)) return -1;
  return LoadText(text, rejected);
}

int CSecurityMaster::LoadText(const std::string& utf8, int* rejected) {
  int added = 0;
  int refused = 0;
  size_t start = 0;
  if (utf8.compare(0, 3, "\xEF\xBB\xBF") == 0) start = 3;
  while (start < utf8.size()) {
    size_t end = utf8.find('\n', start);
    if (end == std::string::npos) end = utf8.size();
    const std::string line = utf8.substr(start, end - start);
    start = end + 1;

    const std::string trimmed = Trim(line);
    if (trimmed.empty() || trimmed[0] == '#') continue;

    const std::vector<std::string> fields = SplitTabs(line);
    unsigned long market = 0;
    unsigned long type = 0;
    bool depositaryReceipt = false;
    std::wstring code;
    std::wstring name;
    bool ok = fields.size() >= 3 && fields.size() <= 5 && ParseNumber(fields[1], 255, market) &&
              plat::Utf8ToWide(fields[0], &code) && !code.empty() &&
              plat::Utf8ToWide(fields[2], &name);
    if (ok) type = market << 8;
    if (ok && fields.size() >= 4 && !fields[3].empty()) ok = ParseNumber(fields[3], 0xFFFF, type);
    if (ok && fields.size() >= 5 && !fields[4].empty()) {
      ok = fields[4] == "0" || fields[4] == "1";
      depositaryReceipt = fields[4] == "1";
    }
    if (ok)
      ok = AddSecurity(code.c_str(), static_cast<unsigned char>(market), name.c_str(),
                       static_cast<unsigned short>(type), depositaryReceipt);
    if (ok)
      ++added;
    else
      ++refused;
  }
  if (rejected) *rejected = refused;
  return added;
}
