// The key comparison's four modes, inline so that the index searches compare without calls.
#pragma once

#include <cstdint>
#include <cwchar>

#include "platform/Platform.h"
#include "table/MappingTable.h"

namespace keycmp {

const int kFullWidthStart = 0xFF21;
const int kFullWidthOffset = 0xFEE0;

// ASCII, which nearly every key is, upper-cases the same under every platform rule; only the
// rest goes to the platform.
inline int Upper(wchar_t c) {
  uint32_t u = static_cast<uint32_t>(c);
  if (u < 0x80) return c >= L'a' && c <= L'z' ? c - 0x20 : c;
  // CJK, kana, Yi and Hangul have no case: names are mostly made of these.
  if ((u >= 0x3000 && u < 0xA4D0) || (u >= 0xAC00 && u < 0xD7A4)) return c;
  return static_cast<int>(plat::UpperChar(c));
}

inline int FoldWidth(int c) { return c >= kFullWidthStart ? c - kFullWidthOffset : c; }

inline int CompareForwardWhole(const wchar_t* text, const wchar_t* key) {
  size_t i = 0, j = 0, n = 0;  // n: compared pairs
  while (text[i] && key[j]) {
    int a = Upper(text[i]);
    int b = Upper(key[j]);
    if (a == L' ') {
      ++i;
    } else if (b == L' ') {
      ++j;
    } else {
      ++n;
      if (a != b && FoldWidth(a) != b && a != FoldWidth(b)) return a - b;
      ++i;
      ++j;
    }
  }
  // Once a space was skipped the texts count as equal as far as the shorter one goes.
  if (i != n || j != n) return 0;
  return plat::CompareNoCase(text, key);
}

inline int CompareForwardPrefix(const wchar_t* text, const wchar_t* key) {
  size_t i = 0, j = 0, n = 0;
  // n never exceeds j, so the end of key bounds the pairs as well.
  while (text[i] && key[j]) {
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
  return plat::CompareNoCaseN(text, key, static_cast<int>(wcslen(key)));
}

// Differences here are of the unconverted characters, and widths do not fold.
inline int CompareBackward(const wchar_t* text, size_t textLength, const wchar_t* key,
                           size_t keyLength, bool prefix) {
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

// Both texts non-null and non-empty.
inline int Compare(const KeyCompareMode* mode, const wchar_t* text, const wchar_t* key) {
  if (mode->m_bBackward)
    return CompareBackward(text, wcslen(text), key, wcslen(key), mode->m_bPrefix);
  if (mode->m_bPrefix) return CompareForwardPrefix(text, key);
  return CompareForwardWhole(text, key);
}

}  // namespace keycmp
