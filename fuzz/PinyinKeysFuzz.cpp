// The pinyin keys of any name a market feed might send (unpaired surrogates, code points beyond
// the table, words cut short): no crash or overflow; every key is upper-case ASCII letters and
// digits within the record's length; aliases are as long as the initials and differ from them and
// from each other; the full pinyin begins with the initials' first letter; the quick call writes
// the same initials, cut to its buffer.
#include <cstdint>
#include <cstdlib>
#include <cwchar>
#include <string>

#include "fuzz/FuzzInput.h"
#include "services/Pinyin.h"

namespace {

void Check(bool ok) {
  if (!ok) abort();
}

bool IsKey(const wchar_t* key) {
  size_t length = 0;
  for (; key[length]; ++length)
    if (!((key[length] >= L'A' && key[length] <= L'Z') ||
          (key[length] >= L'0' && key[length] <= L'9')))
      return false;
  return length <= PINYIN_KEY_LENGTH;
}

// Names built mostly from characters the table treats apart: polyphonic ones, the first and
// second characters of listed words, letters and digits in both widths, a character without a
// reading, and both halves of a surrogate pair.
std::wstring Name(FuzzInput& input) {
  static const wchar_t kCommon[] = L"银行重庆长江乐美的地A9z\xFF21\xFF59\xFF10*\x5159\xD840\xDC00";
  const size_t commonCount = sizeof(kCommon) / sizeof(kCommon[0]) - 1;
  std::wstring name;
  size_t length = input.Byte() % 48;
  while (name.size() < length && !input.Empty()) {
    uint8_t pick = input.Byte();
    if (pick < 0xC0) {
      name += kCommon[pick % commonCount];
    } else {
      std::wstring any = input.Text(1);
      name += any;
    }
  }
  return name;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzInput input(data, size);
  const std::wstring name = Name(input);
  PinyinKeys keys;
  Check(ComputePinyinKeys(name.c_str(), &keys) == 1);
  const size_t length = wcslen(keys.initials);
  Check(IsKey(keys.initials) && IsKey(keys.fullPinyin) && IsKey(keys.secondFullPinyin));
  Check(keys.aliasCount >= 0 && keys.aliasCount <= PINYIN_MAX_ALIASES);
  for (int i = 0; i < keys.aliasCount; ++i) {
    Check(IsKey(keys.aliases[i]) && wcslen(keys.aliases[i]) == length);
    Check(wcscmp(keys.aliases[i], keys.initials) != 0);
    for (int j = 0; j < i; ++j) Check(wcscmp(keys.aliases[i], keys.aliases[j]) != 0);
  }
  Check((length == 0) == (keys.fullPinyin[0] == 0));
  Check(keys.fullPinyin[0] == keys.initials[0]);
  Check(keys.aliasCount > 0 || keys.secondFullPinyin[0] == 0);
  Check(keys.secondFullPinyin[0] == 0 || wcscmp(keys.secondFullPinyin, keys.fullPinyin) != 0);

  wchar_t buffer[PINYIN_KEY_LENGTH + 1];
  const size_t capacity = 1 + input.Byte() % (PINYIN_KEY_LENGTH + 1);
  const size_t written = ComputePinyinInitials(name.c_str(), buffer, capacity);
  Check(written == (length < capacity ? length : capacity - 1) && buffer[written] == 0);
  Check(std::wstring(buffer) == std::wstring(keys.initials, written));
  return 0;
}
