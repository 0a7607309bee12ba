// The syllables of Mandarin pinyin, as a full-pinyin hot key spells them (upper-case ASCII
// letters, no tones, ü written V: "ZHONG", "LVE"), for splitting such a key into one syllable per
// Chinese character. Those the terminal's pinyin keys are spelt with, but for a few interjections
// (PinyinSyllables.cpp says which); a native test keeps the two in step.
#pragma once

#include <cstddef>

namespace pinyin_syllables {

// The longest syllables ("CHUANG", "ZHUANG") have six letters.
const size_t kMaxSyllableLength = 6;

// Whether letters[0..length) is a whole syllable.
bool IsSyllable(const char* letters, size_t length);
// Whether some syllable begins with letters[0..length): a syllable typed in part.
bool BeginsSyllable(const char* letters, size_t length);

// The syllables in order, for tests.
size_t SyllableCount();
const char* SyllableAt(size_t index);

}  // namespace pinyin_syllables
