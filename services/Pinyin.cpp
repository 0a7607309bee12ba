// Pinyin keys of names at run time: the name is read into positions (one per character of the
// hot key, each with its choices of syllable), from which the keys are spelt.
#include "services/Pinyin.h"

#include <algorithm>
#include <bitset>
#include <cstdint>

#include "frame/HotKeyLetter.h"
#include "services/PinyinReadings.h"

namespace {

using namespace pinyin_readings;

constexpr unsigned kNoReading = 0xFFFF;
constexpr unsigned kMaxPositions = PINYIN_KEY_LENGTH;

// One character of the hot key: an ASCII letter or digit, or a Chinese character's choices of
// syllable, the name reading first.
struct Position {
  char ascii;  // 0 for a Chinese character
  uint8_t choiceCount;
  uint16_t choices[kMaxChoices];
};

struct Positions {
  Position at[kMaxPositions];
  unsigned count = 0;
  bool Full() const { return count == kMaxPositions; }
};

// The next character of a wide text, a surrogate pair read as one where wchar_t has 16 bits.
uint32_t NextCharacter(const wchar_t*& text) {
  uint32_t c = static_cast<uint32_t>(*text++);
  if constexpr (sizeof(wchar_t) == 2) {
    uint32_t next = static_cast<uint16_t>(*text);
    if (c >= 0xD800 && c <= 0xDBFF && next >= 0xDC00 && next <= 0xDFFF) {
      ++text;
      c = 0x10000 + ((c - 0xD800) << 10) + (next - 0xDC00);
    }
  }
  return c;
}

// The nine-bit reading id of a character (a syllable id or kSpecialReading), or kNoReading.
unsigned ReadingId(uint32_t c) {
  uint32_t page = c >> kPageBits;
  if (page < kFirstPage || page - kFirstPage >= kPageCount) return kNoReading;
  unsigned slot = static_cast<unsigned>(ReadDigits(kPageSlots, 2 * (page - kFirstPage), 2));
  if (slot == 0) return kNoReading;
  size_t record = size_t(14) * (slot - 1);
  uint64_t mask = ReadDigits(kPageRecords, record, 11);
  unsigned bit = c & ((1u << kPageBits) - 1);
  if (!((mask >> bit) & 1)) return kNoReading;
  size_t rank = ReadDigits(kPageRecords, record + 11, 3) +
                std::bitset<64>(mask & ((uint64_t(1) << bit) - 1)).count();
  unsigned pair = static_cast<unsigned>(ReadDigits(kReadingIds, 3 * (rank / 2), 3));
  return rank % 2 ? pair >> 9 : pair & 511;
}

const SpecialCharacter* FindSpecial(uint32_t c) {
  const SpecialCharacter* end = kSpecialCharacters + kSpecialCharacterCount;
  const SpecialCharacter* found = std::lower_bound(
      kSpecialCharacters, end, c,
      [](const SpecialCharacter& special, uint32_t value) { return special.codePoint < value; });
  return found != end && found->codePoint == c ? found : nullptr;
}

// The listed word that starts with first and continues at rest, or null; rest moves past it.
const Word* MatchWord(uint32_t first, const wchar_t*& rest) {
  for (unsigned w = 0; w < kWordCount; ++w) {
    const Word& word = kWords[w];
    if (word.characters[0] != first) continue;
    const wchar_t* text = rest;
    unsigned matched = 1;
    while (matched < word.length && *text && NextCharacter(text) == word.characters[matched])
      ++matched;
    if (matched == word.length) {
      rest = text;
      return &word;
    }
  }
  return nullptr;
}

void AddChoices(Positions& positions, unsigned count, const uint16_t* choices) {
  Position& p = positions.at[positions.count++];
  p.ascii = 0;
  p.choiceCount = static_cast<uint8_t>(count);
  std::copy(choices, choices + count, p.choices);
}

// Reads name into positions, at most kMaxPositions of them.
void ReadPositions(const wchar_t* name, Positions& positions) {
  const wchar_t* text = name;
  while (*text && !positions.Full()) {
    uint32_t c = NextCharacter(text);
    if (char ascii = HotKeyLetterOf(c)) {
      Position& p = positions.at[positions.count++];
      p.ascii = ascii;
      p.choiceCount = 1;
      continue;
    }
    unsigned id = ReadingId(c);
    if (id == kNoReading) continue;
    if (id != kSpecialReading) {
      uint16_t only = static_cast<uint16_t>(id);
      AddChoices(positions, 1, &only);
      continue;
    }
    const SpecialCharacter* special = FindSpecial(c);
    if (!special) continue;  // the generator lists every character it marks
    const Word* word = special->beginsWord ? MatchWord(c, text) : nullptr;
    if (!word) {
      AddChoices(positions, special->choiceCount, special->choices);
      continue;
    }
    for (unsigned k = 0; k < word->length && !positions.Full(); ++k)
      AddChoices(positions, word->choiceCount[k], word->choices[k]);
  }
}

const char* SyllableLetters(unsigned id) { return kSyllableLetters + kSyllableStart[id]; }
unsigned SyllableLength(unsigned id) { return kSyllableStart[id + 1] - kSyllableStart[id]; }

char Initial(const Position& p, unsigned choice) {
  return p.ascii ? p.ascii : SyllableLetters(p.choices[choice])[0];
}

// The initials with the choices picked[k] at positions changed[k], k < changedCount.
void SpellInitials(const Positions& positions, const unsigned* changed, const unsigned* picked,
                   unsigned changedCount, wchar_t* out) {
  for (unsigned i = 0; i < positions.count; ++i) out[i] = Initial(positions.at[i], 0);
  for (unsigned k = 0; k < changedCount; ++k)
    out[changed[k]] = Initial(positions.at[changed[k]], picked[k]);
  out[positions.count] = 0;
}

// The full pinyin, with choice `pick` at position `changed` (kMaxPositions: none), cut to the key.
void SpellFullPinyin(const Positions& positions, unsigned changed, unsigned pick, wchar_t* out) {
  unsigned length = 0;
  for (unsigned i = 0; i < positions.count && length < PINYIN_KEY_LENGTH; ++i) {
    const Position& p = positions.at[i];
    if (p.ascii) {
      out[length++] = p.ascii;
      continue;
    }
    unsigned id = p.choices[i == changed ? pick : 0];
    const char* letters = SyllableLetters(id);
    for (unsigned n = SyllableLength(id), k = 0; k < n && length < PINYIN_KEY_LENGTH; ++k)
      out[length++] = letters[k];
  }
  out[length] = 0;
}

// Aliases: each changes a set of the positions with more than one choice to other choices. Sets
// come smallest first, then in lexical order of their positions, and the choices within a set in
// lexical order, the last position's fastest; no two give the same key.
int SpellAliases(const Positions& positions, wchar_t (*aliases)[PINYIN_KEY_LENGTH + 1]) {
  unsigned variable[kMaxPositions];
  unsigned variableCount = 0;
  for (unsigned i = 0; i < positions.count; ++i)
    if (positions.at[i].choiceCount > 1) variable[variableCount++] = i;
  int count = 0;
  unsigned subset[kMaxPositions], changed[kMaxPositions], picked[kMaxPositions];
  for (unsigned size = 1; size <= variableCount; ++size) {
    for (unsigned k = 0; k < size; ++k) subset[k] = k;
    for (;;) {
      for (unsigned k = 0; k < size; ++k) {
        changed[k] = variable[subset[k]];
        picked[k] = 1;
      }
      for (;;) {
        SpellInitials(positions, changed, picked, size, aliases[count]);
        if (++count == PINYIN_MAX_ALIASES) return count;
        unsigned k = size;  // the last member whose choice can still advance, plus one
        while (k > 0 && picked[k - 1] + 1 == positions.at[changed[k - 1]].choiceCount)
          picked[--k] = 1;
        if (k == 0) break;
        ++picked[k - 1];
      }
      unsigned k = size;  // the last member of the set that can still move right, plus one
      while (k > 0 && subset[k - 1] == variableCount - size + k - 1) --k;
      if (k == 0) break;
      ++subset[k - 1];
      for (unsigned j = k; j < size; ++j) subset[j] = subset[j - 1] + 1;
    }
  }
  return count;
}

unsigned FirstVariablePosition(const Positions& positions) {
  for (unsigned i = 0; i < positions.count; ++i)
    if (positions.at[i].choiceCount > 1) return i;
  return kMaxPositions;
}

bool SameText(const wchar_t* a, const wchar_t* b) {
  while (*a && *a == *b) ++a, ++b;
  return *a == *b;
}

}  // namespace

extern "C" int ComputePinyinKeys(const wchar_t* name, PinyinKeys* keys) {
  if (!keys) return 0;
  *keys = PinyinKeys{};
  if (!name) return 0;
  Positions positions;
  ReadPositions(name, positions);
  SpellInitials(positions, nullptr, nullptr, 0, keys->initials);
  keys->aliasCount = SpellAliases(positions, keys->aliases);
  SpellFullPinyin(positions, kMaxPositions, 0, keys->fullPinyin);
  if (keys->aliasCount > 0) {
    SpellFullPinyin(positions, FirstVariablePosition(positions), 1, keys->secondFullPinyin);
    if (SameText(keys->secondFullPinyin, keys->fullPinyin)) keys->secondFullPinyin[0] = 0;
  }
  return 1;
}

extern "C" size_t ComputePinyinInitials(const wchar_t* name, wchar_t* buffer, size_t capacity) {
  if (!buffer || capacity == 0) return 0;
  Positions positions;
  if (name) ReadPositions(name, positions);
  size_t length = std::min<size_t>(positions.count, capacity - 1);
  for (size_t i = 0; i < length; ++i) buffer[i] = Initial(positions.at[i], 0);
  buffer[length] = 0;
  return length;
}
