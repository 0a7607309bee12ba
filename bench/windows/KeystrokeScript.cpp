#include "KeystrokeScript.h"

#include <cwctype>

namespace {

const unsigned VK_BACKSPACE = 0x08, VK_PAGE_DOWN = 0x22, VK_ARROW_UP = 0x26, VK_ARROW_DOWN = 0x28;
// What a key-down of an input method's character carries.
const unsigned VK_INPUT_METHOD = 0xE5;

class Lcg {
 public:
  unsigned Next(unsigned bound) {
    m_state = m_state * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<unsigned>(m_state >> 33) % bound;
  }

 private:
  unsigned long long m_state = 1;
};

bool AllOf(const wchar_t* text, int (*test)(wint_t)) {
  if (!*text) return false;
  for (; *text; ++text)
    if (!test(static_cast<wint_t>(*text))) return false;
  return true;
}

bool IsIdeograph(wint_t c) { return c >= 0x4E00 && c <= 0x9FFF; }
int Ideograph(wint_t c) { return IsIdeograph(c) ? 1 : 0; }
int AsciiDigit(wint_t c) { return c >= L'0' && c <= L'9'; }
int AsciiLetter(wint_t c) { return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z'); }

Keystroke KeyFor(wchar_t c, bool startsQuery) {
  if (AsciiDigit(c)) return {static_cast<unsigned>(c), c, startsQuery};
  if (AsciiLetter(c)) {
    wchar_t lower = static_cast<wchar_t>(towlower(static_cast<wint_t>(c)));
    return {static_cast<unsigned>(towupper(static_cast<wint_t>(c))), lower, startsQuery};
  }
  return {VK_INPUT_METHOD, c, startsQuery};
}

}  // namespace

std::vector<Keystroke> MakeKeystrokeScript(const std::vector<KeyboardItemInfo>& items,
                                           size_t atLeast) {
  // Securities whose code, hot key and name can each be typed as a trader types them.
  std::vector<const KeyboardItemInfo*> typable;
  for (const KeyboardItemInfo& item : items)
    if (item.m_dwKind != KIND_COMMAND && item.m_dwKind != KIND_ALIAS &&
        item.m_dwKind != KIND_FORMER_NAME && AllOf(item.m_szCode, AsciiDigit) &&
        AllOf(item.m_szHotKey, AsciiLetter) && AllOf(item.m_szName, Ideograph))
      typable.push_back(&item);
  std::vector<Keystroke> script;
  if (typable.empty()) return script;
  Lcg random;
  for (int query = 0; script.size() < atLeast; ++query) {
    const KeyboardItemInfo& item = *typable[random.Next(static_cast<unsigned>(typable.size()))];
    const wchar_t* text = query % 3 == 0   ? item.m_szCode
                          : query % 3 == 1 ? item.m_szHotKey
                                           : item.m_szName;
    std::wstring typed(text);
    const size_t shortest = query % 3 == 0 ? 3 : 2;
    if (typed.size() > shortest) typed.resize(shortest + random.Next(typed.size() - shortest + 1));
    for (size_t i = 0; i < typed.size(); ++i) script.push_back(KeyFor(typed[i], i == 0));
    if (random.Next(3) == 0) {
      script.push_back({VK_BACKSPACE, L'\b', false});
      script.push_back(KeyFor(typed.back(), false));
    }
    for (unsigned vk : {VK_ARROW_DOWN, VK_ARROW_DOWN, VK_PAGE_DOWN, VK_ARROW_UP})
      script.push_back({vk, 0, false});
  }
  return script;
}
