// Names of synthetic securities by style: company names from the character pool, with the
// affixes of B shares, funds, bonds, indexes, Hong Kong listings, delisted shares and warrants.
#include "tools/synth/SynthNames.h"

namespace synth {

namespace {

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

}  // namespace

void NameBuilder::Pool(Rng& rng, uint32_t count) {
  for (uint32_t i = 0; i < count; ++i) {
    size_t k = rng.Below(static_cast<uint32_t>(SynthPoolSize()));
    name += SYNTH_POOL_CHARS[k];
    hotkey += static_cast<wchar_t>(SYNTH_POOL_INITIALS[k]);
  }
}

void NameBuilder::Ascii(const std::wstring& text) {
  name += text;
  for (wchar_t c : text)
    if ((c >= L'0' && c <= L'9') || (c >= L'A' && c <= L'Z')) hotkey += c;
}

uint32_t CompanyNameLength(Rng& rng) {
  static const uint32_t weights[] = {4, 14, 64, 8, 5, 3, 2};  // 2 to 8 characters
  return 2 + static_cast<uint32_t>(rng.Pick(weights, 7));
}

void MakeName(NameStyle style, Rng& rng, NameBuilder* b) {
  switch (style) {
    case NameStyle::AShare:
    case NameStyle::AShareA:
      if (rng.Below(100) < 2) b->Add(AnyOf(rng, kStPrefixes));
      b->Pool(rng, CompanyNameLength(rng));
      if (style == NameStyle::AShareA && rng.Below(100) < 3) b->Ascii(L"A");
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

}  // namespace synth
