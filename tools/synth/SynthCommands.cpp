// The commands of a synthetic market: numbered functions, indicators by their abbreviation,
// stock pickers, trading systems, colour charts, sectors and trading commands, each group with
// codes of its own shape.
#include "tools/synth/SynthCommands.h"

#include <string>
#include <utility>

#include "tools/synth/SynthNames.h"

namespace synth {

namespace {

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

}  // namespace

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

}  // namespace synth
