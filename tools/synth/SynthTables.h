// Fixed tables of the synthetic market: name characters with their pinyin initials, name affixes,
// futures and options products, currencies.
#pragma once

#include <cstddef>

// Characters common in security names, each with one unambiguous reading; SYNTH_POOL_INITIALS[i]
// is the initial of SYNTH_POOL_CHARS[i].
extern const wchar_t* const SYNTH_POOL_CHARS;
extern const char* const SYNTH_POOL_INITIALS;
size_t SynthPoolSize();

// A fixed piece of a name and what it adds to the hot key.
struct SynthAffix {
  const wchar_t* text;
  const wchar_t* hotkey;
};

// A traded product: its code root, its name and the name's initials.
struct SynthProduct {
  const wchar_t* root;
  const wchar_t* name;
  const wchar_t* hotkey;
  int strikeBase = 0;  // options only: lowest strike and step between strikes
  int strikeStep = 0;
};

struct SynthProductList {
  const SynthProduct* products;
  size_t count;
};

extern const SynthProductList SYNTH_CFFEX_INDEX_FUTURES;
extern const SynthProductList SYNTH_CFFEX_BOND_FUTURES;
extern const SynthProductList SYNTH_SHFE_FUTURES;
extern const SynthProductList SYNTH_DCE_FUTURES;
extern const SynthProductList SYNTH_CZCE_FUTURES;
extern const SynthProductList SYNTH_INE_FUTURES;
extern const SynthProductList SYNTH_GFEX_FUTURES;
extern const SynthProductList SYNTH_INDEX_OPTIONS;      // written IO2512-C-4000
extern const SynthProductList SYNTH_DALIAN_OPTIONS;     // written m2601-C-3000
extern const SynthProductList SYNTH_ZHENGZHOU_OPTIONS;  // written SR601C6000
extern const SynthProductList SYNTH_SHANGHAI_OPTIONS;   // written cu2601C80000
extern const SynthProductList SYNTH_GOLD_EXCHANGE_SPOT;
extern const SynthProductList SYNTH_LONDON_SPOT;
extern const SynthProductList SYNTH_CURRENCIES;  // root = ISO code
