// The commands of a synthetic market.
#pragma once

#include <cstddef>
#include <vector>

#include "tools/synth/SynthCommon.h"

namespace synth {

// Adds count commands, split over the command groups by their shares, numbered from 10001.
void AddCommands(size_t count, Rng& rng, DistinctItems* distinct, std::vector<SynthItem>* items);

}  // namespace synth
