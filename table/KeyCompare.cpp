// The one key comparison behind every index list and every search. It folds case one character
// at a time, skips spaces and folds full-width letters, and allocates nothing.
#include "table/KeyCompareModes.h"
#include "table/MappingTable.h"

int CompareKey(const KeyCompareMode* mode, const wchar_t* text, const wchar_t* key) {
  if (!text || !key || !text[0] || !key[0]) return -1;
  return keycmp::Compare(mode, text, key);
}

int ClassifyKey(const wchar_t* text) {
  if (!text || !text[0]) return -1;
  auto classOf = [](wchar_t c) {
    if (c >= L'0' && c <= L'9') return 0;
    if (c >= L'A' && c <= L'Z') return 1;
    return 2;
  };
  int cls = classOf(text[0]);
  if (cls == 2) return 2;
  for (const wchar_t* p = text + 1; *p; ++p)
    if (classOf(*p) != cls) return 2;
  return cls;
}

bool IsNumericCommand(const KeyboardItemInfo& record) {
  return record.m_dwKind == KIND_COMMAND && (record.m_wType & 0xFF00) == 0x6400;
}
