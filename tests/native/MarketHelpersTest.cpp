// Market groups, the sign tests with their tolerance, and the price change of rounded prices.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "frame/DataComFun.h"

namespace {

TEST(MarketHelpers, MarketGroups) {
  for (int market = 0; market < 256; ++market) {
    const unsigned char m = static_cast<unsigned char>(market);
    EXPECT_EQ(CDataComFun::IsQiQuan(m), market >= 10 && market <= 12) << market;
    EXPECT_EQ(CDataComFun::IsUSAStock(m), market >= 105 && market <= 107) << market;
    EXPECT_EQ(CDataComFun::IsUKStock(m), market == 155 || market == 156) << market;
  }
}

TEST(MarketHelpers, SignTestsSplitEveryNumberOnce) {
  EXPECT_TRUE(CDataComFun::IsPositive(1e-5) && CDataComFun::IsNegative(-1e-5));
  for (double zero : {9.99999e-6, -9.99999e-6, -0.0}) EXPECT_TRUE(CDataComFun::IsZeroValue(zero));
  const double inf = std::numeric_limits<double>::infinity();
  for (double v : {0.0, 1e-5, -1e-5, std::nextafter(1e-5, 0.0), std::nextafter(-1e-5, 0.0), 1.0,
                   -1e300, inf, -inf, std::numeric_limits<double>::denorm_min()})
    EXPECT_EQ(CDataComFun::IsZeroValue(v) + CDataComFun::IsPositive(v) + CDataComFun::IsNegative(v),
              1)
        << v;
  const double nan = std::numeric_limits<double>::quiet_NaN();
  EXPECT_FALSE(CDataComFun::IsZeroValue(nan) || CDataComFun::IsPositive(nan) ||
               CDataComFun::IsNegative(nan));
}

TEST(MarketHelpers, PriceChangeRoundsEachPriceFirst) {
  for (int places = 0; places <= 8; ++places) {
    EXPECT_EQ(CDataComFun::CalcZhangDie(12.345, 12.345, places), 0.0) << places;
    EXPECT_EQ(CDataComFun::CalcZhangDie(12.345f, 12.345f, places), 0.0f) << places;
  }
  // 2.675 - 2.664 is 0.011 before rounding, 2.68 - 2.66 after.
  EXPECT_DOUBLE_EQ(CDataComFun::CalcZhangDie(2.675, 2.664, 2), 2.68 - 2.66);
  EXPECT_DOUBLE_EQ(CDataComFun::CalcZhangDie(2.675, 2.665, 1), 0.0);  // 2.7 - 2.7
  EXPECT_DOUBLE_EQ(CDataComFun::CalcZhangDie(10.0, 10.5, 0), -1.0);   // 10 - 11
  EXPECT_FLOAT_EQ(CDataComFun::CalcZhangDie(2.675f, 2.664f, 2), 2.68f - 2.66f);
  EXPECT_FLOAT_EQ(CDataComFun::CalcZhangDie(-1.25f, 1.25f, 1), -2.6f);  // -1.3 - 1.3
}

}  // namespace
