// Result order for letters, small letters and mixed text: exact matches category by category
// (hot key, code, name), the priority beginnings, then every category's beginnings and endings.
#include <gtest/gtest.h>

#include "support/SearchFixture.h"

using namespace type_word;

namespace {

TEST(SearchLetters, ExactThenPriorityBeginningsThenEveryCategory) {
  SearchBed bed;
  ASSERT_TRUE(bed.LoadSingle({
      Command(L"ZS", L"ZHISHU", L"指数功能", FUNCTION_CMD, 10),  // 5, exact code
      Security(L"ZS", L"AAA", L"指数甲", INDEX, 1),              // 37, exact code
      Security(L"999999", L"ZS", L"指数乙", INDEX, 1),           // 37, exact hot key
      Command(L"ZSMR", L"ZSMR", L"止损买入", TRADE_CMD, 230),    // 0, begins
      Alias(L"600036", L"ZSYHB", L"招行", SH_A, 1),              // 10, begins
      Security(L"600036", L"ZSYH", L"招商银行", SH_A, 1),        // 11, begins
      Security(L"001979", L"ZSSK", L"招商蛇口", SZ_A, 0),        // 12, begins
      FormerName(L"000002", L"ZSWK", L"旧名万科", SZ_A, 0),      // 65, begins, stays
      Security(L"600999", L"CZS", L"招商证券", SH_A, 1),         // 11, ends
      Command(L"ABC", L"ZSGN", L"功能甲", FUNCTION_CMD, 11),     // 5, by hot key only: never
      Command(L"ZSZB", L"XYZ", L"功能乙", FUNCTION_CMD, 12),     // 5, code begins
      Security(L"688001", L"ZSKC", L"科创甲", STAR, 1),          // 15, begins
      Security(L"000016", L"AZS", L"指数丙", SH_INDEX, 1),       // 35, ends
      Security(L"000300", L"ZSZS", L"指数丁", INDEX, 1),         // 37, begins
      Security(L"399001", L"SZZS", L"深证成指", INDEX, 0),       // 37, ends
  }));
  const RowList expected = {
      L"C:ZS 1",     L"999999 1",   L"ZS 1",  // exact: category 5, then 37 by hot key before code
      L"C:ZSMR 2",   L"A:600036 2",           // pass A: 0..4, alias 10,
      L"600036 2",   L"001979 2",             //   11, 12,
      L"F:000002 2",                          //   former names 65
      L"600999 3",                            // pass B: endings of the priority categories,
      L"C:ZSZB 2",                            //   5 without hot keys,
      L"688001 2",                            //   15 as an ordinary category,
      L"000016 3",                            //   35,
      L"000300 2",   L"399001 3",             //   37: beginnings, then endings
  };
  for (const wchar_t* text : {L"ZS", L"zs", L"zS"}) EXPECT_EQ(bed.Find(text), expected) << text;
  // The alias shows the security's name and stays an alias next to the security itself.
  const std::vector<KeyboardItemInfo> results = bed.Search(L"ZS");
  ASSERT_EQ(results.size(), expected.size());
  EXPECT_STREQ(results[4].m_szName, L"招商银行");
  EXPECT_STREQ(results[4].m_szHotKey, L"ZSYHB");
  EXPECT_STREQ(results[5].m_szName, L"招商银行");
}

// Mixed text takes the letter path: priority beginnings first, former names kept.
TEST(SearchLetters, MixedTextTakesTheLetterPath) {
  SearchBed bed;
  ASSERT_TRUE(bed.LoadSingle({
      Command(L"IF24", L"", L"数字命令", FUNCTION_CMD, 5),      // 5, exact code
      Security(L"IF2409", L"IF2409", L"股指2409", FUTURE, 47),  // 44, begins
      Security(L"IF2406", L"IF2406", L"股指2406", FUTURE, 47),  // 44, begins (code and hot key)
      Security(L"600000", L"XIF24", L"浦发银行", SH_A, 1),      // 11, ends
      Security(L"000001", L"IF24A", L"平安银行", SZ_A, 0),      // 12, begins
      FormerName(L"IF24", L"GZQH", L"股指旧名", FUTURE, 47),    // 65, exact code
  }));
  for (const wchar_t* text : {L"IF24", L"if24"})
    EXPECT_EQ(bed.Find(text), (RowList{L"C:IF24 1", L"F:IF24 1", L"000001 2", L"600000 3",
                                       L"IF2406 2", L"IF2409 2"}))
        << text;
}

// "MSCI": after the exact matches, the beginnings of 71, 37, 39 and 40; former names stay where
// they were found; duplicates still go.
TEST(SearchLetters, MsciSearchesBlocksIndexesAndFundsFirst) {
  SearchBed bed;
  ASSERT_TRUE(bed.LoadSingle({
      Security(L"MSCI", L"MSCI", L"MSCI总", SH_INDEX, 1),          // 35, exact
      Security(L"600519", L"MSCIGP", L"贵州茅台", SH_A, 1),        // 11, begins
      Security(L"159601", L"MSCIA50", L"MSCIA50", SZ_FUND, 0),     // 40
      Security(L"159601", L"MSCIAWS", L"MSCIA50", SZ_FUND, 0),     // 40, a duplicate
      Security(L"512520", L"MSCIETF", L"MSCIETF", SH_FUND, 1),     // 39
      Security(L"MSCI01", L"MSCIZS", L"MSCI指数", INDEX, 1),       // 37
      Command(L"MSCICN", L"MSCICN", L"MSCI中国", BLOCK_CMD, 880),  // 71
      FormerName(L"510001", L"MSCIJJ", L"基金旧名", SH_FUND, 1),   // 65, a fund's
      Security(L"000300", L"HSMSCI", L"沪深MSCI", SH_INDEX, 1),    // 35, ends
  }));
  const RowList expected = {L"MSCI 1",   L"C:MSCICN 2", L"MSCI01 2",   L"512520 2",
                            L"159601 2", L"600519 2",   L"F:510001 2", L"000300 3"};
  EXPECT_EQ(bed.Find(L"MSCI"), expected);
  EXPECT_EQ(bed.Find(L"msci"), expected);
  // Without the MSCI step the priority categories come first and the fund's former name moves
  // to the end of the fund run.
  EXPECT_EQ(bed.Find(L"MSC"), (RowList{L"600519 2", L"MSCI 2", L"MSCI01 2", L"512520 2",
                                       L"159601 2", L"F:510001 2", L"C:MSCICN 2"}));
  // The category filter applies to the MSCI step too.
  EXPECT_EQ(Rows(bed.SearchIn(L"MSCI", {39, 11})), (RowList{L"512520 2", L"600519 2"}));
}

// Exact matches that fill the result end the search before the letter passes.
TEST(SearchLetters, ExactMatchesUpToTheCapEndTheSearch) {
  SearchBed bed;
  // The first list of the letter passes holds a match.
  std::vector<KeyboardItemInfo> items = {Command(L"CAPX", L"CAPX", L"买入", TRADE_CMD, 1)};
  for (int i = 0; i < 120; ++i) {
    const std::wstring code = L"C" + std::to_wstring(1000 + i);
    const std::wstring name = {L'名', wchar_t(L'A' + i / 26), wchar_t(L'A' + i % 26)};
    items.push_back(Security(code.c_str(), L"CAP", name.c_str(), UNKNOWN, 1));
  }
  ASSERT_TRUE(bed.LoadBulk(items));
  const std::vector<KeyboardItemInfo> results = bed.Search(L"CAP");
  ASSERT_EQ(results.size(), 100u);
  for (const KeyboardItemInfo& r : results) {
    EXPECT_EQ(r.m_eSelectType, KEYBOARD_SELECT_WHOLE);
    EXPECT_STREQ(r.m_szHotKey, L"CAP");
  }
}

}  // namespace
