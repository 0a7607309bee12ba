// Records that the matcher returns changed: aliases under their security's current name, the
// favourites command under its numeric code.
#include <gtest/gtest.h>

#include "services/SecurityMaster.h"
#include "support/SearchFixture.h"

using namespace type_word;

namespace {

const std::vector<KeyboardItemInfo> kAliasItems = {
    Security(L"600036", L"ZSYH", L"招商银行", SH_A, 1),
    Security(L"000001", L"PAYH", L"平安银行", SZ_A, 0),
    Alias(L"600036", L"ZH", L"招行", SH_A, 1),
    Alias(L"999999", L"ZHX", L"无此证券", SH_A, 1),  // unknown code
    Alias(L"000001", L"ZHP", L"平银", SZ_A, 1),      // known code, other market
    Alias(L"000001", L"PA", L"平安", SZ_A, 0),
};

TEST(SearchAlias, KnownAliasesShowTheSecurityNameUnknownOnesAreLeftOut) {
  SearchBed bed;
  ASSERT_TRUE(bed.LoadSingle(kAliasItems));
  // Found by its hot key or by its own stored name, which the table keeps.
  for (const wchar_t* text : {L"ZH", L"招行"}) {
    const std::vector<KeyboardItemInfo> results = bed.Search(text);
    ASSERT_EQ(Rows(results), (RowList{L"A:600036 1"}));
    EXPECT_STREQ(results[0].m_szName, L"招商银行");
    EXPECT_STREQ(results[0].m_szHotKey, L"ZH");
    EXPECT_EQ(results[0].m_wType, SH_A);
    EXPECT_EQ(results[0].m_cMarket, 1);
  }
  // An alias and the security it names both stay.
  EXPECT_EQ(bed.Find(L"PA"), (RowList{L"A:000001 1", L"000001 2"}));

  SearchBed without(false);  // no data centre: every alias is left out
  ASSERT_TRUE(without.LoadSingle(kAliasItems));
  EXPECT_EQ(without.Find(L"ZH"), RowList{});
  EXPECT_EQ(without.Find(L"PA"), (RowList{L"000001 2"}));

  SearchBed longName;
  longName.Master()->AddSecurity(L"600100", 1, L"ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789ABCD");
  ASSERT_TRUE(longName.LoadSingle({Alias(L"600100", L"TFGF", L"同方", SH_A, 1)}));
  const std::vector<KeyboardItemInfo> results = longName.Search(L"TFGF");
  ASSERT_EQ(results.size(), 1u);
  EXPECT_STREQ(results[0].m_szName, L"ABCDEFGHIJKLMNOPQRSTUVWXYZ012345");  // cut to the field
}

TEST(SearchAlias, FavouritesCommandIsShownUnderItsNumericCode) {
  SearchBed bed;
  ASSERT_TRUE(bed.LoadSingle({
      Command(L"ZXG", L"ZXG", L"自选股", FUNCTION_CMD, 6),
      Command(L"Zxg", L"zXG", L"自选股乙", FUNCTION_CMD, 7),   // case does not matter
      Command(L"zxg", L"ZXGB", L"自选股丙", FUNCTION_CMD, 8),  // hot key differs: as stored
      Security(L"ZXG", L"ZXG", L"证券ZXG", UNKNOWN, 9),        // not a command: as stored
  }));
  const RowList expected = {L"C:06 1", L"C:06 1", L"C:zxg 1", L"ZXG 1"};
  const std::vector<KeyboardItemInfo> results = bed.Search(L"ZXG");
  ASSERT_EQ(Rows(results), expected);
  std::vector<std::wstring> shown;
  for (const KeyboardItemInfo& r : results)
    shown.push_back(std::wstring(r.m_szHotKey) + L" " + r.m_szName + L" " +
                    std::to_wstring(r.m_nExtraInfo));
  EXPECT_EQ(shown, (std::vector<std::wstring>{L"QBZX 自选股 6", L"QBZX 自选股乙 7",
                                              L"ZXGB 自选股丙 8", L"ZXG 证券ZXG -1"}));
  // The stored command keeps its keys: searched again it is found the same way, and its
  // displayed code finds nothing.
  EXPECT_EQ(bed.Find(L"ZXG"), expected);
  EXPECT_EQ(bed.Find(L"06"), RowList{});
  EXPECT_EQ(bed.Find(L"QBZX"), RowList{});
}

}  // namespace
