// The characters a list row lights, for any typed text and record: no crash or overflow; lit
// characters lie inside their field, and a lit name character is never a space; a record found no
// way lights nothing. A name whose hot key is its own initials or full pinyin (as the terminal
// computes them, not cut) lights every character that gives the key a letter once the whole key
// is typed.
#include <cstdint>
#include <cstdlib>
#include <cwchar>
#include <string>

#include "frame/KeyboardItemInfo.h"
#include "fuzz/FuzzInput.h"
#include "services/Pinyin.h"
#include "table/MatchedCharacters.h"
#include "table/PinyinSyllables.h"

namespace {

void Check(bool ok) {
  if (!ok) abort();
}

// Names mostly of characters that give letters (common, polyphonic, ASCII and full-width), with
// spaces, signs, a character without a reading and both halves of a surrogate pair.
std::wstring Name(FuzzInput& input) {
  static const wchar_t kCommon[] =
      L"浦发银行西安平重长江乐A9z \xFF21\xFF59\xFF10*\x3007\x4DC0\xD840\xDC00";
  const size_t commonCount = sizeof(kCommon) / sizeof(kCommon[0]) - 1;
  std::wstring name;
  size_t length = input.Byte() % 33;
  while (name.size() < length && !input.Empty()) {
    uint8_t pick = input.Byte();
    name += pick < 0xC0 ? std::wstring(1, kCommon[pick % commonCount]) : input.Text(1);
  }
  return name.substr(0, 32);
}

uint64_t FieldBits(const wchar_t* field) {
  size_t length = wcslen(field);
  return length >= 64 ? ~uint64_t(0) : (uint64_t(1) << length) - 1;
}

bool IsIdeograph(uint32_t c) {
  return (c >= 0x3400 && c <= 0x4DBF) || (c >= 0x4E00 && c <= 0x9FFF) ||
         (c >= 0xF900 && c <= 0xFAFF) || (c >= 0x20000 && c <= 0x3FFFF);
}

// The characters of name that give a key letters: those whose own initials are not empty. False
// when a Chinese character has no reading, or a reading (its first or its second) that is no
// syllable of the table (the consonant-only readings of interjections and of 儿 as R, left out
// on purpose): the key then does not line up with the name.
bool LetterCharacters(const wchar_t* name, uint64_t* bits) {
  *bits = 0;
  for (size_t i = 0; name[i];) {
    uint32_t c = static_cast<uint32_t>(name[i]);
    size_t length = 1;
    if (sizeof(wchar_t) == 2 && c >= 0xD800 && c <= 0xDBFF && name[i + 1] >= 0xDC00 &&
        name[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (static_cast<uint32_t>(name[i + 1]) - 0xDC00);
      length = 2;
    }
    wchar_t initials[4];
    std::wstring alone(name + i, length);
    if (ComputePinyinInitials(alone.c_str(), initials, 4) > 0) {
      *bits |= ((uint64_t(1) << length) - 1) << i;
      PinyinKeys own;
      ComputePinyinKeys(alone.c_str(), &own);
      for (const wchar_t* reading : {own.fullPinyin, own.secondFullPinyin}) {
        std::string syllable;
        for (const wchar_t* l = reading; *l; ++l) syllable += static_cast<char>(*l);
        if (IsIdeograph(c) && !syllable.empty() &&
            !pinyin_syllables::IsSyllable(syllable.c_str(), syllable.size()))
          return false;
      }
    } else if (IsIdeograph(c)) {
      return false;
    }
    i += length;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzInput input(data, size);
  const uint8_t how = input.Byte();
  const std::wstring typed = input.Text(31), code = input.Text(16), name = Name(input);
  PinyinKeys keys;
  ComputePinyinKeys(name.c_str(), &keys);
  const wchar_t* hotKeys[] = {keys.initials, keys.fullPinyin, keys.secondFullPinyin};
  const std::wstring hotKey = how & 0x80 ? hotKeys[(how >> 4) % 3] : input.Text(32);

  KeyboardItemInfo item(code.c_str(), hotKey.c_str(), name.c_str(), 0x0102, -1, nullptr, 0,
                        static_cast<KEYBOARD_SELECT_TYPE>(how % 4));
  MatchedCharacters lit = FindMatchedCharacters(typed.c_str(), item);
  Check((lit.code & ~FieldBits(item.m_szCode)) == 0 && (lit.name & ~FieldBits(item.m_szName)) == 0);
  for (size_t i = 0; item.m_szName[i]; ++i)
    Check(item.m_szName[i] != L' ' || ((lit.name >> i) & 1) == 0);
  if (how % 4 == KEYBOARD_SELECT_NONE || typed.empty()) Check(!lit.Any());

  // The whole key typed lights every character that gave it a letter.
  uint64_t letters = 0;
  if (how & 0x80 && item.m_szHotKey[0] && wcslen(item.m_szHotKey) < PINYIN_KEY_LENGTH &&
      LetterCharacters(item.m_szName, &letters)) {
    item.m_eSelectType = KEYBOARD_SELECT_WHOLE;
    Check((FindMatchedCharacters(item.m_szHotKey, item).name & letters) == letters);
  }
  return 0;
}
