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
// a key that fills its field may end inside a syllable, leaving later units out. A unit is lit
// when every split gives it a typed letter: PINGAN splits as PING-AN and PIN-GAN, so PING lights
// only the first of two characters. The splits are not enumerated (a name of repeated syllables
// has thousands): a state is (letters used, units used), and a unit is lit unless some step of a
// complete split skips it or covers it with untyped letters.
class FullPinyinSplits {
 public:
  FullPinyinSplits(const NameUnits& units, const KeyLetters& key, uint64_t typedLetters)
      : m_units(units),
        m_key(key),
        m_typed(typedLetters),
        m_cut(key.count == kHotKeyCapacity),
        m_from(),
        m_to() {}

  // The units every split lights; false without a split.
  bool Lit(uint64_t* lit) {
    const size_t letters = m_key.count, units = m_units.count;
    m_from[0] |= Bit(0);
    for (size_t l = 0; l < letters; ++l)
      for (size_t u = 0; u < units; ++u)
        if (m_from[l] & Bit(u))
          for (size_t end = l + 1; end <= LastEnd(l); ++end)
            if (Fits(l, end, u)) m_from[end] |= Bit(u + 1);
    for (size_t u = 0; u <= units; ++u)
      if (u == units || m_cut) m_to[letters] |= Bit(u);
    // Only states reached from the start matter, which keeps this pass as small as the first.
    for (size_t l = letters; l-- > 0;)
      for (size_t u = 0; u < units; ++u)
        if (m_from[l] & Bit(u))
          for (size_t end = l + 1; end <= LastEnd(l); ++end)
            if ((m_to[end] & Bit(u + 1)) && Fits(l, end, u)) m_to[l] |= Bit(u);
    if (!(m_to[0] & Bit(0))) return false;

    // A split ending after unit u-1 (a cut key) leaves u and the units after it out.
    uint64_t complete = m_from[letters] & m_to[letters];
    uint64_t candidates = 0;
    for (size_t u = 0; u < units; ++u)
      if (!(complete & Span(0, u + 1))) candidates |= Bit(u);
    for (size_t l = 0; l < letters; ++l)
      for (size_t u = 0; u < units; ++u)
        if ((m_from[l] & Bit(u)) && (candidates & Bit(u)))
          for (size_t end = l + 1; end <= LastEnd(l); ++end)
            if ((m_to[end] & Bit(u + 1)) && Fits(l, end, u) && !(m_typed & Span(l, end)))
              candidates &= ~Bit(u);
    *lit = candidates;
    return true;
  }

 private:
  // The furthest end of a unit's letters from letter l: no syllable is longer.
  size_t LastEnd(size_t l) const {
    const size_t end = l + pinyin_syllables::kMaxSyllableLength;
    return end < m_key.count ? end : m_key.count;
  }

  // Whether key letters l..end-1 can stand for unit u.
  bool Fits(size_t l, size_t end, size_t u) const {
    const NameUnit& unit = m_units.at[u];
    if (unit.ascii) return end == l + 1 && m_key.letter[l] == unit.ascii;
    const size_t length = end - l;
    if (length > pinyin_syllables::kMaxSyllableLength) return false;
    const char* syllable = m_key.letter + l;
    return pinyin_syllables::IsSyllable(syllable, length) ||
           (m_cut && end == m_key.count && pinyin_syllables::BeginsSyllable(syllable, length));
  }

  const NameUnits& m_units;
  const KeyLetters& m_key;
  const uint64_t m_typed;
  const bool m_cut;
  // Bit u of [l]: l letters can spell the first u units (m_from), or the letters from l on can
  // spell the units from u on to a complete split (m_to).
  uint64_t m_from[kHotKeyCapacity + 1];
  uint64_t m_to[kHotKeyCapacity + 1];
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
