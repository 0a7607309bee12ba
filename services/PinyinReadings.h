// The reading table behind Pinyin.h, generated into PinyinReadings.cpp by
// tools/initials/initials.py --cpp from the Unihan readings and the tool's name readings.
//
// Every syllable is spelt once (kSyllableLetters from kSyllableStart[id] to kSyllableStart[id +
// 1]). A character's choices are syllable ids: its name reading first, then one reading for each
// other initial worth an alias. Most characters have one choice, stored in nine bits; the few with
// more, or that begin a listed word, carry kSpecialReading there and are listed in
// kSpecialCharacters.
//
// The bulk is text of six-bit digits ('0' + value, the lowest digit first), read by the functions
// at the end:
// - kPageSlots: per page of 64 code points from kFirstPage, 2 digits: 0 when no character of the
//   page has a reading, else 1 + the page's record number;
// - kPageRecords: per record, 11 digits of a 64-bit mask of the page's characters with readings,
//   then 3 digits of the rank of the page's first such character among all of them;
// - kReadingIds: per two characters in rank order, 3 digits holding two nine-bit reading ids, the
//   even rank's in the low bits.
#pragma once

#include <cstddef>
#include <cstdint>

namespace pinyin_readings {

// The generator checks its data against these bounds.
constexpr unsigned kMaxChoices = 4;
constexpr unsigned kMaxWordLength = 4;
constexpr unsigned kPageBits = 6;
constexpr unsigned kSpecialReading = 511;

struct SpecialCharacter {
  uint32_t codePoint;
  uint8_t choiceCount;
  uint8_t beginsWord;  // look in kWords before taking the character alone
  uint16_t choices[kMaxChoices];
};

// A word whose characters read otherwise than alone ("银行": háng, not xíng); its characters offer
// only the choices listed here.
struct Word {
  uint32_t characters[kMaxWordLength];
  uint8_t length;
  uint8_t choiceCount[kMaxWordLength];
  uint16_t choices[kMaxWordLength][kMaxChoices];
};

extern const unsigned kSyllableCount;
extern const char kSyllableLetters[];
extern const unsigned short kSyllableStart[];

extern const unsigned kFirstPage;
extern const unsigned kPageCount;
extern const char kPageSlots[];
extern const char kPageRecords[];
extern const char kReadingIds[];

// Sorted by code point.
extern const SpecialCharacter kSpecialCharacters[];
extern const unsigned kSpecialCharacterCount;
// Longest first: the first that matches is taken.
extern const Word kWords[];
extern const unsigned kWordCount;

// count digits from text + at, the first the lowest.
inline uint64_t ReadDigits(const char* text, size_t at, unsigned count) {
  uint64_t value = 0;
  for (unsigned k = 0; k < count; ++k)
    value |= uint64_t(uint8_t(text[at + k]) - uint8_t('0')) << (6 * k);
  return value;
}

}  // namespace pinyin_readings
