// Synthetic keyboard-item markets for tests and benchmarks at scale: the category mix, code shapes,
// name lengths, former names, aliases and commands of a real terminal, reproducible from a seed on
// every platform.
#pragma once

#include <cstddef>
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

// Item kinds, as the keyboard item record has them.
const uint32_t SYNTH_KIND_SECURITY = 0xFFFFFFFFu;
const uint32_t SYNTH_KIND_FORMER_NAME = 256;
const uint32_t SYNTH_KIND_COMMAND = 257;
const uint32_t SYNTH_KIND_ALIAS = 258;

// One generated item; the fields of the keyboard item record that a terminal fills.
struct SynthItem {
  std::wstring code;    // at most 16 characters
  std::wstring hotkey;  // at most 32: the name's pinyin initials, or a command's abbreviation
  std::wstring name;    // at most 32
  int type = 0xFFFF;    // type word (high byte market group or command group)
  int extra = -1;       // command number for commands, -1 otherwise
  uint32_t kind = SYNTH_KIND_SECURITY;
  uint8_t market = 0xFF;
};

// Exactly count items for the seed. About 94 % securities (A shares most, then funds, bonds, Hong
// Kong, US, indexes, futures, options and the small markets), 2 % former names, 2 % aliases and
// 2 % commands. A code is used once per market until the type's code space (its real prefixes,
// then look-alike ones for A shares) runs out, as it does in very large markets; codes then repeat,
// and a repeated code, hot key and name gets a numbered name, so the table takes every item.
std::vector<SynthItem> GenerateMarket(size_t count, uint32_t seed);

// The items in the hotkey-search items format: UTF-8, a header comment, seven tab-separated
// columns code, hotkey, name, type (0x hex), extra, kind, market.
void WriteItemsTsv(std::ostream& out, const std::vector<SynthItem>& items);
