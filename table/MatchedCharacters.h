// Which characters of a result row matched the typed text, so that the list can light them. The
// list holds only what was typed and the row's record, whose select type says how the search found
// it (the typed text equal to a key, at its start or at its end); the characters are worked out
// from those two alone, without the readings of the names.
#pragma once

#include <cstdint>

#include "frame/KeyboardItemInfo.h"

// Bit i stands for the field's i-th wchar_t; a character of two units (a surrogate pair) has both.
struct MatchedCharacters {
  uint64_t code = 0;  // of m_szCode
  uint64_t name = 0;  // of m_szName
  bool Any() const { return code != 0 || name != 0; }
};

// The characters of item that match typed, for each key that the key comparison finds typed in
// (whole, at the start or at the end, as m_eSelectType says; none for a record without one):
// - the code and the name: their characters paired with the typed ones, spaces skipped, letter
//   case and full width folded as the comparison folds them;
// - the hot key: the characters of the name its typed letters stand for. A hot key of initials
//   has one letter for each Chinese character of the name and the name's ASCII letters and digits
//   (full-width ones folded); a full-pinyin hot key has a syllable for each Chinese character
//   instead, and a character whose syllable was typed in part is lit too. Where the syllables
//   could be split in more ways than one, only the characters that every split lights are lit,
//   and a hot key that lines up with the name neither way lights nothing: no character is lit
//   whose letters the trader may not have typed.
MatchedCharacters FindMatchedCharacters(const wchar_t* typed, const KeyboardItemInfo& item);
