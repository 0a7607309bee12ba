// What the filters take out of a result: the category filter, the exclusion of commands and the
// open modes of the pop-up.
#include <gtest/gtest.h>

#include "support/SearchFixture.h"

using namespace type_word;

namespace {

TEST(SearchFilters, CategoryFilterKeepsNumericCommandsAndSkipsOpenMode) {
  SearchBed bed;
  ASSERT_TRUE(bed.LoadSingle({
      Command(L"60", L"", L"六十命令", FUNCTION_CMD, 60),  // map key, category 5
      Security(L"60", L"ZS60", L"指数60", INDEX, 1),       // 37, exact
      Security(L"600000", L"PFYH", L"浦发银行", SH_A, 1),  // 11, begins
      Security(L"000060", L"HHJT", L"中兴某", SZ_A, 0),    // 12, ends
      Command(L"6000", L"MC", L"卖出", TRADE_CMD, 222),    // 0, begins
  }));
  EXPECT_EQ(bed.Find(L"60"), (RowList{L"C:60 1", L"60 1", L"000060 3", L"C:6000 2", L"600000 2"}));
  EXPECT_EQ(Rows(bed.SearchIn(L"60", {11})), (RowList{L"C:60 1", L"600000 2"}));
  // Numbers outside 0..71 select nothing.
  EXPECT_EQ(Rows(bed.SearchIn(L"60", {-1, 72, 11})), (RowList{L"C:60 1", L"600000 2"}));
  EXPECT_EQ(Rows(bed.SearchIn(L"60", {99})), (RowList{L"C:60 1"}));

  // Trade commands go in open mode 1 without a filter, and stay with one; an empty filter is no
  // filter.
  bed.Table().m_nOpenMode = 1;
  const RowList withoutTrade = {L"C:60 1", L"60 1", L"000060 3", L"600000 2"};
  EXPECT_EQ(bed.Find(L"60"), withoutTrade);
  EXPECT_EQ(Rows(bed.SearchIn(L"60", {0, 11})), (RowList{L"C:60 1", L"C:6000 2", L"600000 2"}));
  EXPECT_EQ(Rows(bed.SearchIn(L"60", {})), withoutTrade);
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
  EXPECT_EQ(bed.Find(L"K"),
            (RowList{L"C:K 1", L"C:KSMR 2", L"600000 2", L"C:KDJ 2", L"C:KZ 2", L"C:KJBK 2"}));
  EXPECT_EQ(Rows(bed.Search(L"K", true)), (RowList{L"600000 2", L"C:KZ 2"}));
}

std::vector<int> Extras(const std::vector<KeyboardItemInfo>& results) {
  std::vector<int> extras;
  for (const KeyboardItemInfo& r : results) extras.push_back(r.m_nExtraInfo);
  return extras;
}

TEST(SearchFilters, OpenModesRemoveTradeOrMiniTradeCommands) {
  SearchBed bed;
  std::vector<KeyboardItemInfo> items = {
      Command(L"RHJYPT", L"RHJYPT", L"融合平台", FUNCTION_CMD, 901),
      Command(L"RHJYXY", L"RHJYXY", L"融合信用", FUNCTION_CMD, 902),
      Command(L"rhjygm", L"RHJYGM", L"融合港美", FUNCTION_CMD, 903),
      Command(L"RHJYQT", L"RHJYQT", L"融合其他", FUNCTION_CMD, 904),
      Command(L"RHJYPT", L"RHJYPTB", L"融合平台乙", FUNCTION_CMD + 1, 905),
      Security(L"600999", L"RHJYGF", L"融合股份", SH_A, 1),
  };
  for (int sub = 0; sub <= 5; ++sub) {  // sub-group 5 is category 4 too
    const std::wstring code = L"RHJY" + std::to_wstring(sub);
    items.push_back(Command(code.c_str(), code.c_str(), L"融合交易", TRADE_CMD + sub, 910 + sub));
  }
  ASSERT_TRUE(bed.LoadSingle(items));
  // Trade categories 0..4 first, the security of 11, then category 5 in code order.
  const std::vector<int> all = {910, 911, 912, 913, 914, 915, -1, 903, 901, 905, 904, 902};
  const struct {
    int mode;
    std::vector<int> extras;
  } kModes[] = {{0, all},
                {4, all},
                {-1, all},
                {1, {915, -1, 903, 901, 905, 904, 902}},
                {2, {915, -1, 903, 901, 905, 904, 902}},
                {3, {910, 911, 912, 913, 914, 915, -1, 905, 904}}};
  for (const auto& m : kModes) {
    bed.Table().m_nOpenMode = m.mode;
    EXPECT_EQ(Extras(bed.Search(L"RHJY")), m.extras) << "mode " << m.mode;
  }
  // The open modes leave the excluded-commands search to its own rule.
  EXPECT_EQ(Extras(bed.Search(L"RHJY", true)), (std::vector<int>{-1}));
}

}  // namespace
