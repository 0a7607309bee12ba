// Matched characters of a result row: the code and the name are paired with the typed text
// directly; a hot key is first lined up with the name (initials, else full pinyin split into
// syllables) and its typed letters are carried over to the characters they stand for.
#include "table/MatchedCharacters.h"

#include <cwchar>

#include "frame/HotKeyLetter.h"
#include "table/KeyCompareModes.h"
#include "table/MappingTable.h"
#include "table/PinyinSyllables.h"

namespace {

// A hot key's field holds this many characters; a longer full pinyin was cut there.
const size_t kHotKeyCapacity = sizeof(KeyboardItemInfo::m_szHotKey) / sizeof(wchar_t) - 1;
const size_t kNameCapacity = sizeof(KeyboardItemInfo::m_szName) / sizeof(wchar_t) - 1;
// Splits of one full-pinyin key beyond this many are not told apart.
const int kMaxSplits = 64;

uint64_t Bit(size_t i) { return uint64_t(1) << i; }

// Bits first..end-1.
uint64_t Span(size_t first, size_t end) { return (Bit(end) - 1) & ~(Bit(first) - 1); }

bool Agree(int a, int b) {
  return a == b || keycmp::FoldWidth(a) == b || a == keycmp::FoldWidth(b);
}

// The characters of text that pair with typed as the key comparison pairs them, from the start
// or from the end: spaces skipped on either side, case and width folded, as far as they agree.
uint64_t PairedCharacters(const wchar_t* text, const wchar_t* typed, bool backward) {
  const long textLength = static_cast<long>(wcslen(text));
  const long typedLength = static_cast<long>(wcslen(typed));
  const long step = backward ? -1 : 1;
  long i = backward ? textLength - 1 : 0;
  long j = backward ? typedLength - 1 : 0;
  uint64_t paired = 0;
  while (i >= 0 && i < textLength && j >= 0 && j < typedLength) {
    int a = keycmp::Upper(text[i]);
    int b = keycmp::Upper(typed[j]);
    if (a == L' ') {
      i += step;
    } else if (b == L' ') {
      j += step;
    } else {
      if (!Agree(a, b) || i >= 64) break;
      paired |= Bit(static_cast<size_t>(i));
      i += step;
      j += step;
    }
  }
  return paired;
}

// The unified and compatibility ideographs, the characters that have pinyin readings.
bool IsIdeograph(uint32_t c) {
  return (c >= 0x3400 && c <= 0x4DBF) || (c >= 0x4E00 && c <= 0x9FFF) ||
         (c >= 0xF900 && c <= 0xFAFF) || (c >= 0x20000 && c <= 0x3FFFF);
}

// A character of the name that gives the hot key letters: a Chinese character (ascii 0), or an
// ASCII letter or digit (ascii: its upper-case form). Every other character gives none.
struct NameUnit {
  size_t first;   // its first wchar_t in the name
  size_t length;  // 2 for a surrogate pair
  char ascii;
};

struct NameUnits {
  NameUnit at[kNameCapacity];
  size_t count = 0;
};

void ReadNameUnits(const wchar_t* name, NameUnits* units) {
  for (size_t i = 0; i < kNameCapacity && name[i];) {
    uint32_t c = static_cast<uint32_t>(name[i]);
    size_t length = 1;
    if (sizeof(wchar_t) == 2 && c >= 0xD800 && c <= 0xDBFF) {
      uint32_t next = static_cast<uint16_t>(name[i + 1]);
      if (next >= 0xDC00 && next <= 0xDFFF) {
        c = 0x10000 + ((c - 0xD800) << 10) + (next - 0xDC00);
        length = 2;
      }
    }
    char ascii = HotKeyLetterOf(c);
    if (ascii || IsIdeograph(c)) units->at[units->count++] = NameUnit{i, length, ascii};
    i += length;
  }
}

// The hot key without its spaces, as the comparison sees it, and where each letter stands.
struct KeyLetters {
  char letter[kHotKeyCapacity];
  size_t at[kHotKeyCapacity];
  size_t count = 0;
};

// False for a hot key with a character that no name gives (neither a letter nor a digit).
bool ReadKeyLetters(const wchar_t* hotKey, KeyLetters* key) {
  for (size_t i = 0; i < kHotKeyCapacity && hotKey[i]; ++i) {
    if (hotKey[i] == L' ') continue;
    char letter = HotKeyLetterOf(static_cast<uint32_t>(hotKey[i]));
    if (!letter) return false;
    key->letter[key->count] = letter;
    key->at[key->count++] = i;
  }
  return key->count > 0;
}

bool IsCapital(char c) { return c >= 'A' && c <= 'Z'; }

// Initials: one letter per unit, any capital for a Chinese character (the initial of one of its
// readings), the unit's own letter or digit otherwise.
bool LinesUpAsInitials(const NameUnits& units, const KeyLetters& key) {
  if (key.count != units.count) return false;
  for (size_t k = 0; k < key.count; ++k) {
    const NameUnit& unit = units.at[k];
    if (unit.ascii ? key.letter[k] != unit.ascii : !IsCapital(key.letter[k])) return false;
  }
  return true;
}

// Full pinyin: one syllable per Chinese character, the unit's own letter or digit otherwise;
// a key that fills its field may end inside a syllable, leaving later units out. Every split is
// visited, and a unit is lit when each split has a typed letter in its part of the key: PINGAN
// splits as PING-AN and PIN-GAN, so PING lights only the first of two characters.
class FullPinyinSplits {
 public:
  FullPinyinSplits(const NameUnits& units, const KeyLetters& key, uint64_t typedLetters)
      : m_units(units),
        m_key(key),
        m_typed(typedLetters),
        m_cut(key.count == kHotKeyCapacity),
        m_dead(),
        m_splits(0),
        m_lit(0),
        m_tooMany(false) {}

  // The units every split lights; false without a split, or with too many to visit.
  bool Lit(uint64_t* lit) {
    Walk(0, 0, 0);
    if (m_splits == 0 || m_tooMany) return false;
    *lit = m_lit;
    return true;
  }

 private:
  // Splits key letters from `letter` on among units from `unit` on; true when there is one.
  bool Walk(size_t letter, size_t unit, uint64_t lit) {
    if (m_tooMany) return false;
    if (letter == m_key.count) {
      if (unit != m_units.count && !m_cut) return false;
      Record(lit);
      return true;
    }
    if (unit == m_units.count || (m_dead[letter] & Bit(unit))) return false;
    bool found = false;
    const NameUnit& current = m_units.at[unit];
    if (current.ascii) {
      if (m_key.letter[letter] == current.ascii)
        found = Walk(letter + 1, unit + 1, Light(lit, unit, letter, letter + 1));
    } else {
      for (size_t length = 1;
           length <= pinyin_syllables::kMaxSyllableLength && letter + length <= m_key.count;
           ++length) {
        const char* syllable = m_key.letter + letter;
        bool fits = pinyin_syllables::IsSyllable(syllable, length) ||
                    (m_cut && letter + length == m_key.count &&
                     pinyin_syllables::BeginsSyllable(syllable, length));
        if (fits && Walk(letter + length, unit + 1, Light(lit, unit, letter, letter + length)))
          found = true;
      }
    }
    if (!found) m_dead[letter] |= Bit(unit);
    return found;
  }

  uint64_t Light(uint64_t lit, size_t unit, size_t first, size_t end) const {
    return m_typed & Span(first, end) ? lit | Bit(unit) : lit;
  }

  void Record(uint64_t lit) {
    m_lit = m_splits == 0 ? lit : m_lit & lit;
    if (++m_splits > kMaxSplits) m_tooMany = true;
  }

  const NameUnits& m_units;
  const KeyLetters& m_key;
  const uint64_t m_typed;
  const bool m_cut;
  uint64_t m_dead[kHotKeyCapacity + 1];  // bit u of [l]: letters from l on split no units from u on
  int m_splits;
  uint64_t m_lit;
  bool m_tooMany;
};

// The name characters that the typed characters of the hot key (bits of hot-key positions) stand
// for; none when the hot key does not line up with the name.
uint64_t NameCharactersOfHotKey(const KeyboardItemInfo& item, uint64_t typedInHotKey) {
  KeyLetters key;
  if (!ReadKeyLetters(item.m_szHotKey, &key)) return 0;
  uint64_t typedLetters = 0;
  for (size_t l = 0; l < key.count; ++l)
    if (typedInHotKey & Bit(key.at[l])) typedLetters |= Bit(l);
  NameUnits units;
  ReadNameUnits(item.m_szName, &units);
  uint64_t litUnits = 0;
  if (LinesUpAsInitials(units, key)) {
    litUnits = typedLetters;
  } else if (!FullPinyinSplits(units, key, typedLetters).Lit(&litUnits)) {
    return 0;
  }
  uint64_t characters = 0;
  for (size_t u = 0; u < units.count; ++u)
    if (litUnits & Bit(u))
      characters |= Span(units.at[u].first, units.at[u].first + units.at[u].length);
  return characters;
}

}  // namespace

MatchedCharacters FindMatchedCharacters(const wchar_t* typed, const KeyboardItemInfo& item) {
  MatchedCharacters found;
  if (!typed || !typed[0]) return found;
  KeyCompareMode mode;
  switch (item.m_eSelectType) {
    case KEYBOARD_SELECT_WHOLE:
      mode = KeyCompareMode{0, 0};
      break;
    case KEYBOARD_SELECT_BEGIN:
      mode = KeyCompareMode{0, 1};
      break;
    case KEYBOARD_SELECT_END:
      mode = KeyCompareMode{1, 1};
      break;
    default:
      return found;
  }
  const bool backward = mode.m_bBackward != 0;
  if (CompareKey(&mode, item.m_szCode, typed) == 0)
    found.code = PairedCharacters(item.m_szCode, typed, backward);
  if (CompareKey(&mode, item.m_szName, typed) == 0)
    found.name = PairedCharacters(item.m_szName, typed, backward);
  if (CompareKey(&mode, item.m_szHotKey, typed) == 0)
    found.name |= NameCharactersOfHotKey(item, PairedCharacters(item.m_szHotKey, typed, backward));
  return found;
}
