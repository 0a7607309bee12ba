// Records that the matcher returns changed: aliases under their security's current name, the
// favourites command under its numeric code.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/SearchFixture.h"

using namespace type_word;

namespace {

typedef std::vector<std::wstring> RowList;

std::vector<KeyboardItemInfo> AliasItems() {
  return {
      Security(L"600036", L"ZSYH", L"招商银行", SH_A, 1),
      Security(L"000001", L"PAYH", L"平安银行", SZ_A, 0),
      Alias(L"600036", L"ZH", L"招行", SH_A, 1),
      Alias(L"999999", L"ZHX", L"无此证券", SH_A, 1),  // unknown code
      Alias(L"000001", L"ZHP", L"平银", SZ_A, 1),      // known code, other market
      Alias(L"000001", L"PA", L"平安", SZ_A, 0),
  };
}

TEST(SearchAlias, KnownAliasesShowTheSecurityNameUnknownOnesAreLeftOut) {
  SearchBed bed;
  ASSERT_TRUE(bed.LoadSingle(AliasItems()));
  std::vector<KeyboardItemInfo> results = bed.Search(L"ZH");
  ASSERT_EQ(Rows(results), (RowList{L"A:600036 1"}));
  EXPECT_STREQ(results[0].m_szName, L"招商银行");
  EXPECT_STREQ(results[0].m_szHotKey, L"ZH");
  EXPECT_EQ(results[0].m_dwKind, KIND_ALIAS);
  EXPECT_EQ(results[0].m_wType, SH_A);
  EXPECT_EQ(results[0].m_cMarket, 1);

  // The alias is found by its own stored name, which the table keeps.
  results = bed.Search(L"招行");
  ASSERT_EQ(Rows(results), (RowList{L"A:600036 1"}));
  EXPECT_STREQ(results[0].m_szName, L"招商银行");

  // An alias and the security it names both stay.
  EXPECT_EQ(Rows(bed.Search(L"PA")), (RowList{L"A:000001 1", L"000001 2"}));
}

TEST(SearchAlias, WithoutDataCentreAliasesAreLeftOut) {
  SearchBed bed(false);
  ASSERT_TRUE(bed.LoadSingle(AliasItems()));
  EXPECT_EQ(Rows(bed.Search(L"ZH")), RowList{});
  EXPECT_EQ(Rows(bed.Search(L"PA")), (RowList{L"000001 2"}));
}

TEST(SearchAlias, LongSecurityNamesAreCutToTheField) {
  SearchBed bed;
  bed.AddSecurityRecord(L"600100", 1, L"ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789ABCD");
  ASSERT_TRUE(bed.LoadSingle({Alias(L"600100", L"TFGF", L"同方", SH_A, 1)}));
  std::vector<KeyboardItemInfo> results = bed.Search(L"TFGF");
  ASSERT_EQ(results.size(), 1u);
  EXPECT_STREQ(results[0].m_szName, L"ABCDEFGHIJKLMNOPQRSTUVWXYZ012345");
}

TEST(SearchAlias, FavouritesCommandIsShownUnderItsNumericCode) {
  SearchBed bed;
  ASSERT_TRUE(bed.LoadSingle({
      Command(L"ZXG", L"ZXG", L"自选股", FUNCTION_CMD, 6),
      Command(L"Zxg", L"zXG", L"自选股乙", FUNCTION_CMD, 7),   // case does not matter
      Command(L"zxg", L"ZXGB", L"自选股丙", FUNCTION_CMD, 8),  // hot key differs: as stored
      Security(L"ZXG", L"ZXG", L"证券ZXG", UNKNOWN, 9),        // not a command: as stored
  }));
  std::vector<KeyboardItemInfo> results = bed.Search(L"ZXG");
  ASSERT_EQ(Rows(results), (RowList{L"C:06 1", L"C:06 1", L"C:zxg 1", L"ZXG 1"}));
  EXPECT_STREQ(results[0].m_szHotKey, L"QBZX");
  EXPECT_STREQ(results[0].m_szName, L"自选股");
  EXPECT_EQ(results[0].m_nExtraInfo, 6);
  EXPECT_EQ(results[1].m_nExtraInfo, 7);
  EXPECT_STREQ(results[1].m_szHotKey, L"QBZX");
  EXPECT_STREQ(results[2].m_szHotKey, L"ZXGB");
  EXPECT_STREQ(results[3].m_szHotKey, L"ZXG");

  // The stored command keeps its keys: searched again it is found the same way, and its
  // displayed code finds nothing.
  EXPECT_EQ(Rows(bed.Search(L"ZXG")), (RowList{L"C:06 1", L"C:06 1", L"C:zxg 1", L"ZXG 1"}));
  EXPECT_EQ(Rows(bed.Search(L"06")), RowList{});
  EXPECT_EQ(Rows(bed.Search(L"QBZX")), RowList{});
}

// A record matched by several keys is returned once, as first found; the stored record keeps the
// select type of the last search that reached it.
TEST(SearchAlias, OneRecordPerMatchWithTheFirstSelectType) {
  SearchBed bed;
  ASSERT_TRUE(bed.LoadSingle({
      Security(L"PA", L"PAYH", L"PA银行", SZ_A, 0),  // code exact, hot key and name begin
      Security(L"000001", L"XPA", L"XPA", SZ_A, 0),  // hot key and name end
  }));
  EXPECT_EQ(Rows(bed.Search(L"PA")), (RowList{L"PA 1", L"000001 3"}));
  EXPECT_EQ(Rows(bed.Search(L"PAY")), (RowList{L"PA 2"}));
  const KeyboardItemInfo& stored = bed.Table().m_pItems[0];  // added first
  ASSERT_STREQ(stored.m_szCode, L"PA");
  EXPECT_EQ(stored.m_eSelectType, KEYBOARD_SELECT_BEGIN);
  EXPECT_EQ(Rows(bed.Search(L"YH")), (RowList{L"PA 3"}));
  EXPECT_EQ(stored.m_eSelectType, KEYBOARD_SELECT_END);
}

}  // namespace
