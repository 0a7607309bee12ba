// Names of synthetic securities and commands, each made with its hot key side by side: pool
// characters bring their pinyin initials, fixed affixes their own keys, letters and digits
// themselves.
#pragma once

#include <cstdint>
#include <string>

#include "tools/synth/SynthCommon.h"
#include "tools/synth/SynthTables.h"

namespace synth {

// Builds a name and its hot key side by side.
struct NameBuilder {
  std::wstring name;
  std::wstring hotkey;

  void Pool(Rng& rng, uint32_t count);
  void Add(const wchar_t* text, const wchar_t* keys) {
    name += text;
    hotkey += keys;
  }
  void Add(const SynthAffix& affix) { Add(affix.text, affix.hotkey); }
  // Letters and digits go to the hot key as they are.
  void Ascii(const std::wstring& text);
};

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

// Name lengths of listed companies: four characters far most often.
uint32_t CompanyNameLength(Rng& rng);
// Adds a name of the style to b (nothing for Derived: the code made it).
void MakeName(NameStyle style, Rng& rng, NameBuilder* b);

}  // namespace synth
