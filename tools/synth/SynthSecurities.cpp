// The securities of a synthetic market: the classes a terminal lists (type word, market,
// category, share of the market), the shape and prefixes of their codes, and the walk through
// each class's codes that hands out every code once before any repeats.
#include "tools/synth/SynthSecurities.h"

#include <string>
#include <utility>

#include "tools/synth/SynthNames.h"
#include "tools/synth/SynthTables.h"

namespace synth {

namespace {

enum class CodeShape { Digits, Letters, Future, Option, Spot, Forex };

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

}  // namespace

void AddSecurities(size_t count, Rng& rng, DistinctItems* distinct, std::vector<SynthItem>* items) {
  std::vector<uint32_t> weights;
  for (const SecurityClass& c : kClasses) weights.push_back(c.weight);
  std::vector<size_t> perClass = Apportion(count, weights);
  HashSet usedCodes;
  usedCodes.reserve(count * 2);
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
      MakeName(c.style, rng, &b);
      item.name = std::move(b.name);
      item.hotkey = std::move(b.hotkey);
      item.type = c.type;
      item.market = c.market;
      distinct->Add(items, std::move(item), c.category);
    }
  }
}

}  // namespace synth
