#include "tools/synth/SyntheticMarket.h"

#include <algorithm>
#include <cwchar>
#include <unordered_set>

#include "tools/synth/SynthTables.h"

namespace {

// splitmix64: fixed arithmetic, so a seed gives the same market on every platform (the standard
// distributions are implementation-defined).
class Rng {
 public:
  explicit Rng(uint64_t seed) : m_uState(seed) {}

  uint64_t Next() {
    uint64_t z = (m_uState += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }

  // Uniform enough in [0, n), n > 0.
  uint32_t Below(uint32_t n) { return static_cast<uint32_t>(((Next() >> 32) * n) >> 32); }

  uint32_t Between(uint32_t low, uint32_t high) { return low + Below(high - low + 1); }

  // Index into weights (their sum must be positive).
  size_t Pick(const uint32_t* weights, size_t count) {
    uint32_t total = 0;
    for (size_t i = 0; i < count; ++i) total += weights[i];
    uint32_t r = Below(total);
    for (size_t i = 0; i < count; ++i) {
      if (r < weights[i]) return i;
      r -= weights[i];
    }
    return count - 1;
  }

 private:
  uint64_t m_uState;
};

uint64_t Gcd(uint64_t a, uint64_t b) {
  while (b) {
    uint64_t t = a % b;
    a = b;
    b = t;
  }
  return a;
}

// A bijection on [0, size) that scatters consecutive indexes: x -> (a x + b) mod size.
class Permutation {
 public:
  Permutation(uint64_t size, Rng& rng) : m_uSize(size ? size : 1) {
    m_uMul = (rng.Next() % m_uSize) | 1;
    while (Gcd(m_uMul, m_uSize) != 1) m_uMul = (m_uMul + 2) % m_uSize;
    if (m_uMul == 0) m_uMul = 1;
    m_uAdd = rng.Next() % m_uSize;
  }
  uint64_t operator()(uint64_t x) const { return (m_uMul * (x % m_uSize) + m_uAdd) % m_uSize; }

 private:
  uint64_t m_uSize;
  uint64_t m_uMul = 1;
  uint64_t m_uAdd = 0;
};

// Builds a name and its hot key side by side.
struct NameBuilder {
  std::wstring name;
  std::wstring hotkey;

  void Pool(Rng& rng, uint32_t count) {
    for (uint32_t i = 0; i < count; ++i) {
      size_t k = rng.Below(static_cast<uint32_t>(SynthPoolSize()));
      name += SYNTH_POOL_CHARS[k];
      hotkey += static_cast<wchar_t>(SYNTH_POOL_INITIALS[k]);
    }
  }
  void Add(const wchar_t* text, const wchar_t* keys) {
    name += text;
    hotkey += keys;
  }
  void Add(const SynthAffix& affix) { Add(affix.text, affix.hotkey); }
  // Letters and digits go to the hot key as they are.
  void Ascii(const std::wstring& text) {
    name += text;
    for (wchar_t c : text)
      if ((c >= L'0' && c <= L'9') || (c >= L'A' && c <= L'Z')) hotkey += c;
  }
};

std::wstring Digits(uint64_t value, int width) {
  std::wstring out(static_cast<size_t>(width), L'0');
  for (int i = width - 1; i >= 0; --i, value /= 10)
    out[static_cast<size_t>(i)] = static_cast<wchar_t>(L'0' + value % 10);
  return out;
}

uint64_t Power(uint64_t base, int exponent) {
  uint64_t out = 1;
  while (exponent-- > 0) out *= base;
  return out;
}

// Name lengths of listed companies: four characters far most often.
uint32_t CompanyNameLength(Rng& rng) {
  static const uint32_t weights[] = {4, 14, 64, 8, 5, 3, 2};  // 2 to 8 characters
  return 2 + static_cast<uint32_t>(rng.Pick(weights, 7));
}

enum class CodeShape { Digits, Letters, Future, Option, Spot, Forex };

enum class NameStyle {
  AShare,
  AShareA,  // Shenzhen main board: some names end in A
  BShare,
  Etf,
  Lof,
  OpenFund,
  Bond,
  Index,
  HongKong,
  Foreign,
  Delisted,
  Warrant,
  Derived,  // from the code: futures, options, spot, forex
};

struct SecurityClass {
  int type;
  uint8_t market;
  int category;     // display category, for telling duplicates apart
  uint32_t weight;  // share of the securities, per ten thousand
  CodeShape shape;
  NameStyle style;
  const wchar_t* const* prefixes;  // Digits: code prefixes; the other digits follow. Prefixes
                                   // after a null entry serve once the real ones run out.
  int digits;                      // Digits: how many; Letters: shortest code
  int maxLetters;                  // Letters: longest code
  const SynthProductList* products;
  enum Month { FourDigits, OneDigitYear } month;
};

// Code prefixes of each security type.
const wchar_t* const kShanghaiA[] = {L"600", L"601", L"603", L"605", nullptr, L"602",
                                     L"604", L"606", L"607", L"608", L"609",  nullptr};
const wchar_t* const kStar[] = {L"688", L"689", nullptr, L"680", L"681", L"682",
                                L"683", L"684", L"685",  L"686", L"687", nullptr};
const wchar_t* const kShenzhenMain[] = {L"000", L"001", nullptr, L"004",
                                        L"005", L"006", L"007",  nullptr};
const wchar_t* const kSme[] = {L"002", L"003", nullptr, L"008", L"009", nullptr};
const wchar_t* const kChiNext[] = {L"300", L"301", nullptr, L"302", L"303",
                                   L"304", L"305", L"306",  L"307", nullptr};
const wchar_t* const kBeijing[] = {L"43", L"83", L"87", L"92", nullptr, L"88", nullptr};
const wchar_t* const kShanghaiB[] = {L"900", nullptr, nullptr};
const wchar_t* const kShenzhenB[] = {L"200", nullptr, nullptr};
const wchar_t* const kShanghaiEtf[] = {L"510", L"511", L"512", L"513",  L"515",
                                       L"516", L"517", L"518", L"560",  L"561",
                                       L"562", L"563", L"588", nullptr, nullptr};
const wchar_t* const kShanghaiLof[] = {L"501", L"502", L"506", nullptr, nullptr};
const wchar_t* const kShenzhenEtf[] = {L"159", nullptr, nullptr};
const wchar_t* const kShenzhenLof[] = {L"160", L"161", L"162", L"163", L"164",  L"165",
                                       L"166", L"167", L"168", L"169", nullptr, nullptr};
const wchar_t* const kNoPrefix[] = {L"", nullptr, nullptr};
const wchar_t* const kShanghaiBond[] = {L"010", L"019", L"110", L"111", L"113",  L"118",
                                        L"122", L"124", L"136", L"143", L"155",  L"163",
                                        L"175", L"185", L"188", L"204", nullptr, nullptr};
const wchar_t* const kShenzhenBond[] = {L"101", L"102", L"108", L"112", L"123",  L"127",
                                        L"128", L"131", L"148", L"149", nullptr, nullptr};
const wchar_t* const kHongKong[] = {L"00", L"01", L"02", L"03", L"06", L"09", nullptr, nullptr};
const wchar_t* const kHongKongGem[] = {L"08", nullptr, nullptr};
const wchar_t* const kHongKongFund[] = {L"02", L"03", nullptr, nullptr};
const wchar_t* const kShanghaiIndex[] = {L"000", nullptr, nullptr};
const wchar_t* const kShenzhenIndex[] = {L"399", nullptr, nullptr};
const wchar_t* const kBeijingIndex[] = {L"899", nullptr, nullptr};
const wchar_t* const kShanghaiDelisted[] = {L"600", L"601", nullptr, nullptr};
const wchar_t* const kShenzhenDelisted[] = {L"000", L"002", L"300", nullptr, nullptr};
const wchar_t* const kShanghaiWarrant[] = {L"580", nullptr, nullptr};
const wchar_t* const kShenzhenWarrant[] = {L"030", L"031", L"038", nullptr, nullptr};

using S = SecurityClass;
// Delisted securities and warrants come first: their codes share prefixes with listed shares.
const SecurityClass kClasses[] = {
    {0x0112, 1, 64, 60, CodeShape::Digits, NameStyle::Delisted, kShanghaiDelisted, 3, 0, nullptr,
     S::FourDigits},
    {0x0015, 0, 64, 60, CodeShape::Digits, NameStyle::Delisted, kShenzhenDelisted, 3, 0, nullptr,
     S::FourDigits},
    {0x010B, 1, 62, 3, CodeShape::Digits, NameStyle::Warrant, kShanghaiWarrant, 3, 0, nullptr,
     S::FourDigits},
    {0x000C, 0, 63, 3, CodeShape::Digits, NameStyle::Warrant, kShenzhenWarrant, 3, 0, nullptr,
     S::FourDigits},
    {0x0102, 1, 11, 1500, CodeShape::Digits, NameStyle::AShare, kShanghaiA, 3, 0, nullptr,
     S::FourDigits},
    {0x0117, 1, 15, 350, CodeShape::Digits, NameStyle::AShare, kStar, 3, 0, nullptr, S::FourDigits},
    {0x0006, 0, 12, 900, CodeShape::Digits, NameStyle::AShareA, kShenzhenMain, 3, 0, nullptr,
     S::FourDigits},
    {0x000D, 0, 13, 700, CodeShape::Digits, NameStyle::AShare, kSme, 3, 0, nullptr, S::FourDigits},
    {0x0050, 0, 14, 800, CodeShape::Digits, NameStyle::AShare, kChiNext, 3, 0, nullptr,
     S::FourDigits},
    {0x0051, 2, 19, 150, CodeShape::Digits, NameStyle::AShare, kBeijing, 4, 0, nullptr,
     S::FourDigits},
    {0x0103, 1, 17, 30, CodeShape::Digits, NameStyle::BShare, kShanghaiB, 3, 0, nullptr,
     S::FourDigits},
    {0x0007, 0, 18, 30, CodeShape::Digits, NameStyle::BShare, kShenzhenB, 3, 0, nullptr,
     S::FourDigits},
    {0x0109, 1, 39, 450, CodeShape::Digits, NameStyle::Etf, kShanghaiEtf, 3, 0, nullptr,
     S::FourDigits},
    {0x010E, 1, 39, 100, CodeShape::Digits, NameStyle::Lof, kShanghaiLof, 3, 0, nullptr,
     S::FourDigits},
    {0x000A, 0, 40, 350, CodeShape::Digits, NameStyle::Etf, kShenzhenEtf, 3, 0, nullptr,
     S::FourDigits},
    {0x000E, 0, 40, 200, CodeShape::Digits, NameStyle::Lof, kShenzhenLof, 3, 0, nullptr,
     S::FourDigits},
    {0x9601, 150, 70, 700, CodeShape::Digits, NameStyle::OpenFund, kNoPrefix, 6, 0, nullptr,
     S::FourDigits},
    {0x0104, 1, 41, 650, CodeShape::Digits, NameStyle::Bond, kShanghaiBond, 3, 0, nullptr,
     S::FourDigits},
    {0x0008, 0, 42, 450, CodeShape::Digits, NameStyle::Bond, kShenzhenBond, 3, 0, nullptr,
     S::FourDigits},
    {0x7401, 116, 57, 900, CodeShape::Digits, NameStyle::HongKong, kHongKong, 3, 0, nullptr,
     S::FourDigits},
    {0x7402, 116, 58, 60, CodeShape::Digits, NameStyle::HongKong, kHongKongGem, 3, 0, nullptr,
     S::FourDigits},
    {0x7403, 116, 21, 50, CodeShape::Digits, NameStyle::Etf, kHongKongFund, 3, 0, nullptr,
     S::FourDigits},
    {0x7404, 116, 23, 10, CodeShape::Digits, NameStyle::HongKong, kHongKong, 3, 0, nullptr,
     S::FourDigits},
    {0x6901, 105, 25, 350, CodeShape::Letters, NameStyle::Foreign, nullptr, 1, 4, nullptr,
     S::FourDigits},
    {0x6902, 105, 26, 60, CodeShape::Letters, NameStyle::Foreign, nullptr, 2, 4, nullptr,
     S::FourDigits},
    {0x6903, 105, 27, 40, CodeShape::Letters, NameStyle::Etf, nullptr, 3, 4, nullptr,
     S::FourDigits},
    {0x6A01, 106, 25, 250, CodeShape::Letters, NameStyle::Foreign, nullptr, 1, 4, nullptr,
     S::FourDigits},
    {0x6A02, 106, 26, 50, CodeShape::Letters, NameStyle::Foreign, nullptr, 2, 4, nullptr,
     S::FourDigits},
    {0x6B03, 107, 27, 50, CodeShape::Letters, NameStyle::Etf, nullptr, 3, 4, nullptr,
     S::FourDigits},
    {0x9B01, 155, 34, 50, CodeShape::Letters, NameStyle::Foreign, nullptr, 2, 4, nullptr,
     S::FourDigits},
    {0x0101, 1, 35, 200, CodeShape::Digits, NameStyle::Index, kShanghaiIndex, 3, 0, nullptr,
     S::FourDigits},
    {0x0005, 0, 36, 200, CodeShape::Digits, NameStyle::Index, kShenzhenIndex, 3, 0, nullptr,
     S::FourDigits},
    {0x0200, 2, 37, 20, CodeShape::Digits, NameStyle::Index, kBeijingIndex, 3, 0, nullptr,
     S::FourDigits},
    {0x7C00, 124, 55, 10, CodeShape::Letters, NameStyle::Index, nullptr, 3, 5, nullptr,
     S::FourDigits},
    {0x7D00, 125, 38, 10, CodeShape::Letters, NameStyle::Index, nullptr, 3, 5, nullptr,
     S::FourDigits},
    {0xC900, 201, 56, 10, CodeShape::Letters, NameStyle::Index, nullptr, 3, 5, nullptr,
     S::FourDigits},
    {0xCA00, 202, 69, 10, CodeShape::Letters, NameStyle::Index, nullptr, 3, 5, nullptr,
     S::FourDigits},
    {0x0797, 7, 44, 20, CodeShape::Future, NameStyle::Derived, nullptr, 0, 0,
     &SYNTH_CFFEX_INDEX_FUTURES, S::FourDigits},
    {0x0798, 7, 45, 15, CodeShape::Future, NameStyle::Derived, nullptr, 0, 0,
     &SYNTH_CFFEX_BOND_FUTURES, S::FourDigits},
    {0x7100, 113, 48, 120, CodeShape::Future, NameStyle::Derived, nullptr, 0, 0,
     &SYNTH_SHFE_FUTURES, S::FourDigits},
    {0x7200, 114, 48, 120, CodeShape::Future, NameStyle::Derived, nullptr, 0, 0, &SYNTH_DCE_FUTURES,
     S::FourDigits},
    {0x7300, 115, 48, 100, CodeShape::Future, NameStyle::Derived, nullptr, 0, 0,
     &SYNTH_CZCE_FUTURES, S::OneDigitYear},
    {0x8E00, 142, 48, 20, CodeShape::Future, NameStyle::Derived, nullptr, 0, 0, &SYNTH_INE_FUTURES,
     S::FourDigits},
    {0x6C00, 108, 48, 15, CodeShape::Future, NameStyle::Derived, nullptr, 0, 0, &SYNTH_GFEX_FUTURES,
     S::FourDigits},
    {0x0C00, 12, 54, 60, CodeShape::Option, NameStyle::Derived, nullptr, 0, 0, &SYNTH_INDEX_OPTIONS,
     S::FourDigits},
    {0x8B00, 139, 54, 50, CodeShape::Option, NameStyle::Derived, nullptr, 0, 0,
     &SYNTH_DALIAN_OPTIONS, S::FourDigits},
    {0x8B00, 139, 54, 50, CodeShape::Option, NameStyle::Derived, nullptr, 0, 0,
     &SYNTH_ZHENGZHOU_OPTIONS, S::OneDigitYear},
    {0x8B00, 139, 54, 50, CodeShape::Option, NameStyle::Derived, nullptr, 0, 0,
     &SYNTH_SHANGHAI_OPTIONS, S::FourDigits},
    {0x7600, 118, 49, 10, CodeShape::Spot, NameStyle::Derived, nullptr, 4, 0,
     &SYNTH_GOLD_EXCHANGE_SPOT, S::FourDigits},
    {0x7A00, 122, 50, 5, CodeShape::Spot, NameStyle::Derived, nullptr, 2, 0, &SYNTH_LONDON_SPOT,
     S::FourDigits},
    {0x7700, 119, 52, 10, CodeShape::Forex, NameStyle::Derived, nullptr, 0, 0, &SYNTH_CURRENCIES,
     S::FourDigits},
    {0x7800, 120, 68, 3, CodeShape::Forex, NameStyle::Derived, nullptr, 0, 0, &SYNTH_CURRENCIES,
     S::FourDigits},
    {0x7900, 121, 53, 5, CodeShape::Forex, NameStyle::Derived, nullptr, 0, 0, &SYNTH_CURRENCIES,
     S::FourDigits},
};
const size_t kClassCount = sizeof(kClasses) / sizeof(kClasses[0]);

// Prefixes before the separating null, and after it.
size_t PrefixCount(const wchar_t* const* prefixes) {
  size_t n = 0;
  while (prefixes[n]) ++n;
  return n;
}
size_t OverflowPrefixCount(const wchar_t* const* prefixes) {
  return PrefixCount(prefixes + PrefixCount(prefixes) + 1);
}
const wchar_t* PrefixAt(const wchar_t* const* prefixes, size_t i) {
  size_t real = PrefixCount(prefixes);
  return i < real ? prefixes[i] : prefixes[i + 1];
}

// Months from 2025-01 on: a hundred years, or ten where the code holds one year digit.
uint64_t MonthCount(const SecurityClass& c) { return c.month == S::OneDigitYear ? 120 : 1200; }

std::wstring MonthText(const SecurityClass& c, uint64_t month) {
  uint64_t year = (25 + month / 12) % 100;
  uint64_t mm = month % 12 + 1;
  if (c.month == S::OneDigitYear) return Digits(year % 10, 1) + Digits(mm, 2);
  return Digits(year, 2) + Digits(mm, 2);
}

const uint64_t kStrikes = 40;

// Codes of the class; for prefixed digits the ones with the real prefixes.
uint64_t CodeSpace(const SecurityClass& c) {
  switch (c.shape) {
    case CodeShape::Digits:
      return PrefixCount(c.prefixes) * Power(10, c.digits);
    case CodeShape::Letters: {
      uint64_t n = 0;
      for (int len = c.digits; len <= c.maxLetters; ++len) n += Power(26, len);
      return n;
    }
    case CodeShape::Future:
      return c.products->count * MonthCount(c);
    case CodeShape::Option:
      return c.products->count * MonthCount(c) * 2 * kStrikes;
    case CodeShape::Spot:
      return c.products->count * Power(10, c.digits);
    case CodeShape::Forex:
      return c.products->count * (c.products->count - 1);
  }
  return 1;
}

// Walks a class's codes in scattered order: the real code space first, then the overflow
// prefixes; after both, the walk starts over.
class CodeSequence {
 public:
  CodeSequence(const SecurityClass& c, Rng& rng)
      : m_uReal(CodeSpace(c)),
        m_uOverflow(c.shape == CodeShape::Digits
                        ? OverflowPrefixCount(c.prefixes) * Power(10, c.digits)
                        : 0),
        m_real(m_uReal, rng),
        m_overflow(m_uOverflow, rng) {}

  uint64_t Size() const { return m_uReal + m_uOverflow; }
  uint64_t operator()(uint64_t step) const {
    step %= Size();
    return step < m_uReal ? m_real(step) : m_uReal + m_overflow(step - m_uReal);
  }

 private:
  uint64_t m_uReal;
  uint64_t m_uOverflow;
  Permutation m_real;
  Permutation m_overflow;
};

// The code of index k of the class's code space, with the derived name where the code fixes it.
void MakeCode(const SecurityClass& c, uint64_t k, SynthItem* item, NameBuilder* derived) {
  switch (c.shape) {
    case CodeShape::Digits: {
      uint64_t per = Power(10, c.digits);
      item->code = std::wstring(PrefixAt(c.prefixes, k / per)) + Digits(k % per, c.digits);
      return;
    }
    case CodeShape::Letters: {
      int len = c.digits;
      while (k >= Power(26, len)) k -= Power(26, len++);
      std::wstring code(static_cast<size_t>(len), L'A');
      for (int i = len - 1; i >= 0; --i, k /= 26)
        code[static_cast<size_t>(i)] = static_cast<wchar_t>(L'A' + k % 26);
      item->code = code;
      return;
    }
    case CodeShape::Future: {
      const SynthProduct& p = c.products->products[k % c.products->count];
      std::wstring month = MonthText(c, k / c.products->count);
      item->code = p.root + month;
      derived->Add(p.name, p.hotkey);
      derived->Ascii(month);
      return;
    }
    case CodeShape::Option: {
      const SynthProduct& p = c.products->products[k % c.products->count];
      k /= c.products->count;
      std::wstring strike = std::to_wstring(p.strikeBase + p.strikeStep * (k % kStrikes));
      k /= kStrikes;
      bool call = k % 2 == 0;
      std::wstring month = MonthText(c, k / 2);
      bool dashed = c.products == &SYNTH_INDEX_OPTIONS || c.products == &SYNTH_DALIAN_OPTIONS;
      std::wstring side = call ? L"C" : L"P";
      item->code = p.root + month + (dashed ? L"-" + side + L"-" : side) + strike;
      derived->Add(p.name, p.hotkey);
      derived->Add(call ? L"购" : L"沽", L"G");
      derived->Ascii(month + L"-" + strike);
      return;
    }
    case CodeShape::Spot: {
      uint64_t per = Power(10, c.digits);
      const SynthProduct& p = c.products->products[k / per];
      std::wstring digits = Digits(k % per, c.digits);
      item->code = p.root + digits;
      derived->Add(p.name, p.hotkey);
      derived->Ascii(digits);
      return;
    }
    case CodeShape::Forex: {
      size_t n = c.products->count;
      const SynthProduct& base = c.products->products[k / (n - 1)];
      size_t quote = k % (n - 1);
      if (quote >= static_cast<size_t>(&base - c.products->products)) ++quote;
      const SynthProduct& other = c.products->products[quote];
      item->code = std::wstring(base.root) + other.root;
      derived->Add(base.name, base.hotkey);
      derived->Add(other.name, other.hotkey);
      return;
    }
  }
}

const SynthAffix kStPrefixes[] = {{L"ST", L"ST"}, {L"*ST", L"ST"}};
const SynthAffix kFundKinds[] = {
    {L"混合", L"HH"}, {L"股票", L"GP"}, {L"债券", L"ZQ"}, {L"指数", L"ZS"}, {L"货币", L"HB"}};
const SynthAffix kHongKongSuffixes[] = {{L"", L""},       {L"-W", L"W"},    {L"-SW", L"SW"},
                                        {L"股份", L"GF"}, {L"控股", L"KG"}, {L"集团", L"JT"}};
const SynthAffix kIndexSuffixes[] = {{L"指数", L"ZS"}, {L"50", L"50"},     {L"100", L"100"},
                                     {L"300", L"300"}, {L"1000", L"1000"}, {L"", L""}};
const SynthAffix kWarrantSuffixes[] = {{L"CWB1", L"CWB1"}, {L"JTP1", L"JTP1"}, {L"YGC1", L"YGC1"}};

template <size_t N>
const SynthAffix& AnyOf(Rng& rng, const SynthAffix (&affixes)[N]) {
  return affixes[rng.Below(static_cast<uint32_t>(N))];
}

void MakeName(const SecurityClass& c, Rng& rng, NameBuilder* b) {
  switch (c.style) {
    case NameStyle::AShare:
    case NameStyle::AShareA:
      if (rng.Below(100) < 2) b->Add(AnyOf(rng, kStPrefixes));
      b->Pool(rng, CompanyNameLength(rng));
      if (c.style == NameStyle::AShareA && rng.Below(100) < 3) b->Ascii(L"A");
      return;
    case NameStyle::BShare:
      b->Pool(rng, rng.Between(2, 3));
      if (rng.Below(2))
        b->Add(L"B股", L"BG");
      else
        b->Ascii(L"B");
      return;
    case NameStyle::Etf:
      b->Pool(rng, rng.Between(2, 4));
      b->Ascii(L"ETF");
      return;
    case NameStyle::Lof:
      b->Pool(rng, rng.Between(2, 4));
      b->Ascii(L"LOF");
      return;
    case NameStyle::OpenFund:
      b->Pool(rng, rng.Between(4, 7));
      b->Add(AnyOf(rng, kFundKinds));
      if (rng.Below(2)) b->Ascii(rng.Below(2) ? L"A" : L"C");
      return;
    case NameStyle::Bond:
      if (rng.Below(10) < 7) {
        b->Pool(rng, 2);
        b->Add(L"转债", L"ZZ");
      } else {
        b->Ascii(Digits(rng.Between(10, 25), 2));
        b->Add(L"国债", L"GZ");
        b->Ascii(Digits(rng.Between(1, 30), 2));
      }
      return;
    case NameStyle::Index:
      b->Pool(rng, rng.Between(2, 4));
      b->Add(AnyOf(rng, kIndexSuffixes));
      return;
    case NameStyle::HongKong:
      b->Pool(rng, rng.Between(2, 6));
      b->Add(AnyOf(rng, kHongKongSuffixes));
      return;
    case NameStyle::Foreign:
      b->Pool(rng, rng.Between(2, 4));
      return;
    case NameStyle::Delisted:
      if (rng.Below(2)) {
        b->Add(L"退市", L"TS");
        b->Pool(rng, rng.Between(2, 3));
      } else {
        b->Pool(rng, rng.Between(2, 3));
        b->Add(L"退", L"T");
      }
      return;
    case NameStyle::Warrant:
      b->Pool(rng, 2);
      b->Add(AnyOf(rng, kWarrantSuffixes));
      return;
    case NameStyle::Derived:
      return;
  }
}

// 64-bit FNV-1a over characters: a fixed function, unlike std::hash, so which items count as
// seen never depends on the platform. A collision only renames an item or skips a code.
class KeyHash {
 public:
  KeyHash& Add(uint32_t value) {
    for (int i = 0; i < 4; ++i, value >>= 8)
      m_uHash = (m_uHash ^ (value & 0xFF)) * 0x100000001B3ull;
    return *this;
  }
  KeyHash& Add(const std::wstring& text, bool upper = false) {
    for (wchar_t ch : text) {
      if (upper && ch >= L'a' && ch <= L'z') ch = static_cast<wchar_t>(ch - L'a' + L'A');
      Add(static_cast<uint32_t>(ch));
    }
    return Add(0xFFFFFFFFu);
  }
  uint64_t Value() const { return m_uHash; }

 private:
  uint64_t m_uHash = 0xCBF29CE484222325ull;
};

struct IdentityHash {
  size_t operator()(uint64_t h) const { return static_cast<size_t>(h ^ (h >> 32)); }
};
using HashSet = std::unordered_set<uint64_t, IdentityHash>;

// Splits total into parts proportional to weights, exactly.
std::vector<size_t> Apportion(size_t total, const std::vector<uint32_t>& weights) {
  uint64_t sum = 0;
  for (uint32_t w : weights) sum += w;
  std::vector<size_t> out(weights.size(), 0);
  uint64_t cumulative = 0;
  size_t given = 0;
  for (size_t i = 0; i < weights.size(); ++i) {
    cumulative += weights[i];
    size_t upto = sum ? static_cast<size_t>(total * cumulative / sum) : 0;
    out[i] = upto - given;
    given = upto;
  }
  return out;
}

// Keeps items that the table's duplicate check would take for the same apart: a repeated
// (category, code, hot key, name) gets a numbered name.
class DistinctItems {
 public:
  explicit DistinctItems(size_t expected) { m_seen.reserve(expected * 2); }

  void Add(std::vector<SynthItem>* items, SynthItem item, int category) {
    KeyHash codeKey;
    codeKey.Add(static_cast<uint32_t>(category)).Add(item.code, true);
    std::wstring name = item.name;
    std::wstring hotkey = item.hotkey;
    for (unsigned n = 2;
         !m_seen.insert(KeyHash(codeKey).Add(item.hotkey).Add(item.name).Value()).second; ++n) {
      item.name = name + L"-" + std::to_wstring(n);
      item.hotkey = hotkey + std::to_wstring(n);
    }
    items->push_back(std::move(item));
  }

 private:
  HashSet m_seen;
};

struct CommandGroup {
  int type;
  int category;
  uint32_t weight;
  enum Code { Numeric, Letters, Prefixed } code;
  const wchar_t* prefix;
  int lowVariants;  // sub-groups: type + 0 .. lowVariants-1
};

const CommandGroup kCommandGroups[] = {
    {0x6400, 5, 40, CommandGroup::Numeric, nullptr, 1},
    {0x6500, 6, 15, CommandGroup::Letters, nullptr, 1},
    {0x6501, 9, 6, CommandGroup::Prefixed, L"XG", 1},
    {0x6502, 8, 4, CommandGroup::Prefixed, L"JY", 1},
    {0x6503, 7, 5, CommandGroup::Prefixed, L"WC", 1},
    {0x6600, 71, 20, CommandGroup::Prefixed, L"BK", 4},
    {0x6700, -1, 10, CommandGroup::Numeric, nullptr, 5},  // category from the sub-group
};

// How many codes a group draws from: the shortest codes that leave room for twice its commands
// (numbers from 1, letter codes of two letters and more, four prefixed digits).
uint64_t CommandCodeSpace(const CommandGroup& group, size_t count) {
  uint64_t space = 0;
  switch (group.code) {
    case CommandGroup::Numeric:
      for (space = 99; space < 2 * count + 10; space = space * 10 + 9) {
      }
      return space;
    case CommandGroup::Letters:
      for (int len = 2; space < 2 * count + 10; ++len) space += Power(26, len);
      return space;
    case CommandGroup::Prefixed:
      return 10000;
  }
  return 1;
}

void AddCommands(size_t count, Rng& rng, DistinctItems* distinct, std::vector<SynthItem>* items) {
  std::vector<uint32_t> weights;
  for (const CommandGroup& g : kCommandGroups) weights.push_back(g.weight);
  std::vector<size_t> counts = Apportion(count, weights);
  int number = 10000;
  for (size_t gi = 0; gi < counts.size(); ++gi) {
    const CommandGroup& g = kCommandGroups[gi];
    Permutation perm(CommandCodeSpace(g, counts[gi]), rng);
    for (size_t k = 0; k < counts[gi]; ++k) {
      uint64_t slot = perm(k);
      SynthItem item;
      NameBuilder b;
      b.Pool(rng, rng.Between(2, 6));
      item.type = g.type + static_cast<int>(rng.Below(static_cast<uint32_t>(g.lowVariants)));
      item.extra = ++number;
      item.kind = SYNTH_KIND_COMMAND;
      item.market = 0xFF;
      switch (g.code) {
        case CommandGroup::Numeric:
          item.code = std::to_wstring(1 + slot);
          item.hotkey = b.hotkey;
          break;
        case CommandGroup::Letters: {
          int len = 2;
          while (slot >= Power(26, len)) slot -= Power(26, len++);
          std::wstring code(static_cast<size_t>(len), L'A');
          for (int i = len - 1; i >= 0; --i, slot /= 26)
            code[static_cast<size_t>(i)] = static_cast<wchar_t>(L'A' + slot % 26);
          item.code = code;
          item.hotkey = code;  // indicators are typed by their abbreviation
          break;
        }
        case CommandGroup::Prefixed:
          item.code = g.prefix + Digits(slot, 4);
          item.hotkey = b.hotkey;
          break;
      }
      item.name = b.name;
      int lo = item.type & 0xFF;
      int category = g.category >= 0 ? g.category : (lo <= 3 ? lo : 4);
      distinct->Add(items, std::move(item), category);
    }
  }
}

}  // namespace

std::vector<SynthItem> GenerateMarket(size_t count, uint32_t seed) {
  std::vector<SynthItem> items;
  items.reserve(count);
  Rng rng(0x5EED0000ull ^ (static_cast<uint64_t>(seed) << 17) ^ seed);
  DistinctItems distinct(count);

  size_t commands = count * 2 / 100;
  size_t formerNames = count * 2 / 100;
  size_t aliases = count * 2 / 100;
  size_t securities = count - commands - formerNames - aliases;
  if (securities == 0) {  // tiny markets: commands only
    commands = count;
    formerNames = aliases = 0;
  }

  std::vector<uint32_t> weights;
  for (const SecurityClass& c : kClasses) weights.push_back(c.weight);
  std::vector<size_t> perClass = Apportion(securities, weights);
  HashSet usedCodes;
  usedCodes.reserve(securities * 2);
  for (size_t ci = 0; ci < kClassCount; ++ci) {
    const SecurityClass& c = kClasses[ci];
    CodeSequence codes(c, rng);
    uint64_t step = 0;
    for (size_t k = 0; k < perClass[ci]; ++k) {
      SynthItem item;
      NameBuilder b;
      // A code another type of the market holds is passed over while the class has codes left.
      do {
        item.code.clear();
        b = NameBuilder();
        MakeCode(c, codes(step++), &item, &b);
      } while (step <= codes.Size() &&
               !usedCodes.insert(KeyHash().Add(c.market).Add(item.code).Value()).second);
      MakeName(c, rng, &b);
      item.name = std::move(b.name);
      item.hotkey = std::move(b.hotkey);
      item.type = c.type;
      item.market = c.market;
      distinct.Add(&items, std::move(item), c.category);
    }
  }

  // Former names and aliases, each of another security.
  Permutation targets(items.size(), rng);
  for (size_t k = 0; k < formerNames + aliases; ++k) {
    SynthItem item = items[targets(k)];
    bool former = k < formerNames;
    NameBuilder b;
    b.Pool(rng, former ? CompanyNameLength(rng) : rng.Between(2, 3));
    item.name = std::move(b.name);
    item.hotkey = std::move(b.hotkey);
    item.kind = former ? SYNTH_KIND_FORMER_NAME : SYNTH_KIND_ALIAS;
    distinct.Add(&items, std::move(item), former ? 65 : 10);
  }

  AddCommands(commands, rng, &distinct, &items);
  return items;
}
