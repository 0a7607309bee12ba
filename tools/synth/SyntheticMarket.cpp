// A synthetic market: its securities, former names and aliases of some of them, and commands,
// in that order, from one seeded random sequence.
#include "tools/synth/SyntheticMarket.h"

#include <utility>

#include "tools/synth/SynthCommands.h"
#include "tools/synth/SynthCommon.h"
#include "tools/synth/SynthNames.h"
#include "tools/synth/SynthSecurities.h"

using namespace synth;

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

  AddSecurities(securities, rng, &distinct, &items);

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
