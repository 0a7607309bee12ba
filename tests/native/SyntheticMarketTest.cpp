// The synthetic market generator of the benchmarks: reproducible and exact in size. The file text
// of a seed is pinned, so a change to the market is a deliberate one.
#include <gtest/gtest.h>

#include <sstream>

#include "tools/synth/SyntheticMarket.h"

namespace {

TEST(SyntheticMarketTest, SameSeedSameMarketExactCount) {
  EXPECT_EQ(GenerateMarket(49, 5).size(), 49u);
  std::ostringstream a, b, other;
  WriteItemsTsv(a, GenerateMarket(2000, 1));
  WriteItemsTsv(b, GenerateMarket(2000, 1));
  WriteItemsTsv(other, GenerateMarket(2000, 2));
  EXPECT_EQ(a.str(), b.str());
  EXPECT_NE(a.str(), other.str());
  // The file text is fixed for a seed, so benchmarks on every platform load the same market.
  uint64_t hash = 0xCBF29CE484222325ull;
  for (unsigned char c : a.str()) hash = (hash ^ c) * 0x100000001B3ull;
  EXPECT_EQ(hash, 0x200d212cadc09b4dull) << std::hex << hash;
}

}  // namespace
