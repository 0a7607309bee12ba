// The securities of a synthetic market, class by class.
#pragma once

#include <cstddef>
#include <vector>

#include "tools/synth/SynthCommon.h"

namespace synth {

// Adds count securities, split over the classes by their shares; a code is used once per market
// until a class runs out of codes.
void AddSecurities(size_t count, Rng& rng, DistinctItems* distinct, std::vector<SynthItem>* items);

}  // namespace synth
