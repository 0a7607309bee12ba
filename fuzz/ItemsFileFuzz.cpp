// The tools' items-file reader on arbitrary bytes: no crash; a refusal names a line of the text;
// accepted items keep their keys within their fields and hold only valid code points.
#include <cstdint>
#include <cstdlib>
#include <cwchar>
#include <string>
#include <vector>

#include "tools/common/ItemsFile.h"

namespace {

template <size_t N>
bool ValidKey(const wchar_t (&field)[N]) {
  for (size_t i = 0; i < N && field[i]; ++i) {
    const uint32_t c = static_cast<uint32_t>(field[i]);
    if (c > 0x10FFFF || (sizeof(wchar_t) == 4 && c >= 0xD800 && c < 0xE000)) return false;
  }
  return true;
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
  for (const KeyboardItemInfo& item : items) {
    if (wcslen(item.m_szCode) > 16 || wcslen(item.m_szHotKey) > 32 || wcslen(item.m_szName) > 32)
      abort();
    if (!ValidKey(item.m_szCode) || !ValidKey(item.m_szHotKey) || !ValidKey(item.m_szName)) abort();
  }
  return 0;
}
