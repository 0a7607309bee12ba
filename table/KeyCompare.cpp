// The one key comparison behind every index list and every search. It folds case one character
// at a time, skips spaces and folds full-width letters, and allocates nothing.
#include <cstdint>
#include <cwchar>

#include "platform/Platform.h"
#include "table/MappingTable.h"

namespace {

const int kFullWidthStart = 0xFF21;
const int kFullWidthOffset = 0xFEE0;

// ASCII, which nearly every key is, upper-cases the same under every platform rule; only the
// rest goes to the platform.
inline int Upper(wchar_t c) {
  if (static_cast<uint32_t>(c) < 0x80) return c >= L'a' && c <= L'z' ? c - 0x20 : c;
  return static_cast<int>(plat::UpperChar(c));
}

inline int FoldWidth(int c) { return c >= kFullWidthStart ? c - kFullWidthOffset : c; }

int CompareForwardWhole(const wchar_t* text, size_t textLength, const wchar_t* key,
                        size_t keyLength) {
  size_t i = 0, j = 0, ni = 0, nj = 0;
  while (i < textLength && j < keyLength) {
    int a = Upper(text[i]);
    int b = Upper(key[j]);
    if (a == L' ') {
      ++i;
    } else if (b == L' ') {
      ++j;
    } else {
      ++ni;
      ++nj;
      if (a != b && FoldWidth(a) != b && a != FoldWidth(b)) return a - b;
      ++i;
      ++j;
    }
  }
  // Once a space was skipped the texts count as equal as far as the shorter one goes.
  if (i != ni || j != nj) return 0;
  return plat::CompareNoCase(text, key);
}

int CompareForwardPrefix(const wchar_t* text, size_t textLength, const wchar_t* key,
                         size_t keyLength) {
  size_t i = 0, j = 0, n = 0;
  while (i < textLength && j < keyLength && n < keyLength) {
    int a = Upper(text[i]);
    int b = Upper(key[j]);
    if (a == L' ') {
      ++i;
    } else if (b == L' ') {
      ++j;
    } else {
      ++n;
      // Only a full-width character of the stored text folds.
      bool agree = a == b || (a >= kFullWidthStart && b < kFullWidthStart && FoldWidth(a) == b);
      if (!agree) return a - b;
      ++i;
      ++j;
    }
  }
  if (i != n) return 0;
  return plat::CompareNoCaseN(text, key, static_cast<int>(keyLength));
}

// Differences here are of the unconverted characters, and widths do not fold.
int CompareBackward(const wchar_t* text, size_t textLength, const wchar_t* key, size_t keyLength,
                    bool prefix) {
  long i = static_cast<long>(textLength) - 1;
  long j = static_cast<long>(keyLength) - 1;
  while (i >= 0) {
    if (j < 0) break;
    int a = Upper(text[i]);
    if (a == L' ') {
      --i;
      continue;
    }
    int b = Upper(key[j]);
    if (b == L' ') {
      --j;
      continue;
    }
    if (a != b) return static_cast<int>(text[i]) - static_cast<int>(key[j]);
    --i;
    --j;
  }
  if (i < 0 && j >= 0) return -static_cast<int>(key[j]);
  if (prefix || i < 0) return 0;
  return static_cast<int>(text[i]);
}

}  // namespace

int CompareKey(const KeyCompareMode* mode, const wchar_t* text, const wchar_t* key) {
  if (!text || !key || !text[0] || !key[0]) return -1;
  size_t textLength = wcslen(text);
  size_t keyLength = wcslen(key);
  if (mode->m_bBackward) return CompareBackward(text, textLength, key, keyLength, mode->m_bPrefix);
  if (mode->m_bPrefix) return CompareForwardPrefix(text, textLength, key, keyLength);
  return CompareForwardWhole(text, textLength, key, keyLength);
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

const wchar_t* KeyText(const KeyboardItemInfo& record, int key) {
  switch (key) {
    case 0:
      return record.m_szCode;
    case 1:
      return record.m_szHotKey;
    default:
      return record.m_szName;
  }
}

bool IsNumericCommand(const KeyboardItemInfo& record) {
  return record.m_dwKind == KIND_COMMAND && (record.m_wType & 0xFF00) == 0x6400;
}
