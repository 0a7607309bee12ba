// The letter or digit a character of a name gives its hot key in its own right: ASCII letters and
// digits (letters upper-cased), and their full-width forms folded. The terminal's pinyin keys are
// spelt by this rule, and the pop-up lines hot keys up with names by it.
#pragma once

#include <cstdint>

// The upper-case ASCII letter or digit c stands for, or 0.
inline char HotKeyLetterOf(uint32_t c) {
  if ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z')) return static_cast<char>(c);
  if (c >= 'a' && c <= 'z') return static_cast<char>(c - 'a' + 'A');
  if (c >= 0xFF10 && c <= 0xFF19) return static_cast<char>(c - 0xFF10 + '0');
  if (c >= 0xFF21 && c <= 0xFF3A) return static_cast<char>(c - 0xFF21 + 'A');
  if (c >= 0xFF41 && c <= 0xFF5A) return static_cast<char>(c - 0xFF41 + 'A');
  return 0;
}
