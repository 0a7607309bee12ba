// The tools' items-file reader on arbitrary bytes: no crash; a refusal names a line of the text;
// every accepted item holds exactly the texts its line wrote (nothing cut, nothing dropped), in
// valid code points and without control characters; and the first look the tools take at a
// file (Glance) passes every line that the full reading accepts.
#include <cstdint>
#include <cstdlib>
#include <cwchar>
#include <string>
#include <vector>

#include "platform/Utf8.h"
#include "tools/common/ItemsFile.h"

namespace {

bool ValidText(const wchar_t* text) {
  for (; *text; ++text) {
    const uint32_t c = static_cast<uint32_t>(*text);
    if (c > 0x10FFFF || (sizeof(wchar_t) == 4 && c >= 0xD800 && c < 0xE000)) return false;
    if (c < 0x20 || (c >= 0x7F && c <= 0x9F)) return false;
  }
  return true;
}

// The item lines of the text as the format defines them, split apart from the reader: a
// byte-order mark at the start skipped, LF or CR LF line ends, empty and '#' lines left out.
std::vector<std::vector<std::string>> ItemLines(const std::string& text) {
  std::vector<std::vector<std::string>> lines;
  size_t start = text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
  while (start < text.size()) {
    size_t newline = text.find('\n', start);
    size_t end = newline == std::string::npos ? text.size() : newline;
    std::string line = text.substr(start, end - start);
    start = newline == std::string::npos ? text.size() : newline + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '#') continue;
    std::vector<std::string> columns;
    for (size_t at = 0;;) {
      size_t tab = line.find('\t', at);
      columns.push_back(line.substr(at, tab == std::string::npos ? std::string::npos : tab - at));
      if (tab == std::string::npos) break;
      at = tab + 1;
    }
    lines.push_back(columns);
  }
  return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  std::vector<KeyboardItemInfo> items;
  ItemsFileError error;
  if (!ParseItems(text, &items, &error)) {
    size_t lines = 1;
    for (char c : text) lines += c == '\n';
    if (error.line < 1 || static_cast<size_t>(error.line) > lines || error.message.empty()) abort();
    return 0;
  }
  const std::vector<std::vector<std::string>> lines = ItemLines(text);
  if (lines.size() != items.size()) abort();
  for (size_t i = 0; i < items.size(); ++i) {
    const KeyboardItemInfo& item = items[i];
    if (lines[i].size() != 7) abort();
    const wchar_t* fields[] = {item.m_szCode, item.m_szHotKey, item.m_szName};
    for (int k = 0; k < 3; ++k) {
      std::wstring written;
      if (!plat::Utf8ToWide(lines[i][k], &written) || written != fields[k]) abort();
      if (!ValidText(fields[k])) abort();
    }
    if (wcslen(item.m_szCode) > 16 || wcslen(item.m_szHotKey) > 32 || wcslen(item.m_szName) > 32)
      abort();
  }
  ItemsParser glancing(text.data(), text.size());
  ItemGlance glance;
  size_t glanced = 0;
  for (; glancing.Glance(&glance); ++glanced)
    if (glance.kind != items[glanced].m_dwKind || glance.market != items[glanced].m_cMarket)
      abort();
  if (glancing.Failed() || glanced != items.size()) abort();
  return 0;
}
