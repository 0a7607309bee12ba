// What the filters take out of a result: the category filter, the exclusion of commands and the
// open modes of the pop-up.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/SearchFixture.h"

using namespace type_word;

namespace {

typedef std::vector<std::wstring> RowList;

TEST(SearchFilters, CategoryFilterKeepsNumericCommandsAndSkipsOpenMode) {
  SearchBed bed;
  ASSERT_TRUE(bed.LoadSingle({
      Command(L"60", L"", L"六十命令", FUNCTION_CMD, 60),  // map key, category 5
      Security(L"60", L"ZS60", L"指数60", INDEX, 1),       // 37, exact
      Security(L"600000", L"PFYH", L"浦发银行", SH_A, 1),  // 11, begins
      Security(L"000060", L"HHJT", L"中兴某", SZ_A, 0),    // 12, ends
      Command(L"6000", L"MC", L"卖出", TRADE_CMD, 222),    // 0, begins
  }));
  EXPECT_EQ(Rows(bed.Search(L"60")),
            (RowList{L"C:60 1", L"60 1", L"000060 3", L"C:6000 2", L"600000 2"}));
  EXPECT_EQ(Rows(bed.SearchIn(L"60", {11})), (RowList{L"C:60 1", L"600000 2"}));
  // Numbers outside 0..71 select nothing.
  EXPECT_EQ(Rows(bed.SearchIn(L"60", {-1, 72, 11})), (RowList{L"C:60 1", L"600000 2"}));
  EXPECT_EQ(Rows(bed.SearchIn(L"60", {99})), (RowList{L"C:60 1"}));

  // Trade commands go in open mode 1 without a filter, and stay with one.
  bed.Table().m_nOpenMode = 1;
  EXPECT_EQ(Rows(bed.Search(L"60")), (RowList{L"C:60 1", L"60 1", L"000060 3", L"600000 2"}));
  EXPECT_EQ(Rows(bed.SearchIn(L"60", {0, 11})), (RowList{L"C:60 1", L"C:6000 2", L"600000 2"}));
  // An empty filter is no filter.
  EXPECT_EQ(Rows(bed.SearchIn(L"60", {})), (RowList{L"C:60 1", L"60 1", L"000060 3", L"600000 2"}));
}

TEST(SearchFilters, ExcludeCommandsRemovesCommandGroupsOnly) {
  SearchBed bed;
  ASSERT_TRUE(bed.LoadSingle({
      Command(L"K", L"KXT", L"K线图", FUNCTION_CMD, 20),        // 5, exact code
      Command(L"KDJ", L"KDJ", L"随机指标", INDICATOR_CMD, 21),  // 6
      Command(L"KJBK", L"KJBK", L"科技板块", BLOCK_CMD, 22),    // 71
      Command(L"KSMR", L"KSMR", L"快速买入", TRADE_CMD, 23),    // 0
      Command(L"KZ", L"KZ", L"扩展命令", 0x6800, 24),           // 66: not a command group
      Security(L"600000", L"KFYH", L"浦发银行", SH_A, 1),       // 11
  }));
  EXPECT_EQ(Rows(bed.Search(L"K")),
            (RowList{L"C:K 1", L"C:KSMR 2", L"600000 2", L"C:KDJ 2", L"C:KZ 2", L"C:KJBK 2"}));
  EXPECT_EQ(Rows(bed.Search(L"K", true)), (RowList{L"600000 2", L"C:KZ 2"}));
}

std::vector<KeyboardItemInfo> MiniTradeItems() {
  return {
      Command(L"RHJYPT", L"RHJYPT", L"融合平台", FUNCTION_CMD, 901),
      Command(L"RHJYXY", L"RHJYXY", L"融合信用", FUNCTION_CMD, 902),
      Command(L"rhjygm", L"RHJYGM", L"融合港美", FUNCTION_CMD, 903),
      Command(L"RHJYQT", L"RHJYQT", L"融合其他", FUNCTION_CMD, 904),
      Command(L"RHJYPT", L"RHJYPTB", L"融合平台乙", FUNCTION_CMD + 1, 905),
      Command(L"RHJY0", L"RHJY0", L"融合交易0", TRADE_CMD + 0, 910),
      Command(L"RHJY1", L"RHJY1", L"融合交易1", TRADE_CMD + 1, 911),
      Command(L"RHJY2", L"RHJY2", L"融合交易2", TRADE_CMD + 2, 912),
      Command(L"RHJY3", L"RHJY3", L"融合交易3", TRADE_CMD + 3, 913),
      Command(L"RHJY4", L"RHJY4", L"融合交易4", TRADE_CMD + 4, 914),
      Command(L"RHJY5", L"RHJY5", L"融合交易5", TRADE_CMD + 5, 915),  // category 4, sub-group 5
      Security(L"600999", L"RHJYGF", L"融合股份", SH_A, 1),
  };
}

std::vector<int> Extras(const std::vector<KeyboardItemInfo>& results) {
  std::vector<int> extras;
  for (const KeyboardItemInfo& r : results) extras.push_back(r.m_nExtraInfo);
  return extras;
}

TEST(SearchFilters, OpenModesRemoveTradeOrMiniTradeCommands) {
  SearchBed bed;
  ASSERT_TRUE(bed.LoadSingle(MiniTradeItems()));
  // Trade categories 0..4 first, the security of 11, then category 5 in code order.
  const std::vector<int> all = {910, 911, 912, 913, 914, 915, -1, 903, 901, 905, 904, 902};
  for (int mode : {0, 4, -1}) {
    bed.Table().m_nOpenMode = mode;
    EXPECT_EQ(Extras(bed.Search(L"RHJY")), all) << "mode " << mode;
  }
  for (int mode : {1, 2}) {
    bed.Table().m_nOpenMode = mode;
    EXPECT_EQ(Extras(bed.Search(L"RHJY")), (std::vector<int>{915, -1, 903, 901, 905, 904, 902}))
        << "mode " << mode;
  }
  bed.Table().m_nOpenMode = 3;
  EXPECT_EQ(Extras(bed.Search(L"RHJY")),
            (std::vector<int>{910, 911, 912, 913, 914, 915, -1, 905, 904}));
  // The open modes leave the excluded-commands search to its own rule.
  EXPECT_EQ(Extras(bed.Search(L"RHJY", true)), (std::vector<int>{-1}));
}

}  // namespace
