// What the tidying of a result does: which of several equivalent records it keeps (the first of
// each kind class, type word, code and name; former names and aliases share a kind class), and
// where former names of B shares, funds and bonds end up after a letter search: after the first
// run of their kind and exactness, else before a less exact or later match, else at the end.
#include <gtest/gtest.h>

#include "support/SearchFixture.h"

using namespace type_word;

namespace {

RowList Load(const std::vector<KeyboardItemInfo>& items, const wchar_t* text) {
  SearchBed bed;
  EXPECT_TRUE(bed.LoadSingle(items));
  return bed.Find(text);
}

TEST(TidyFormerNames, FirstScanPlacesAfterTheRunOfTheSameKindNewestFirst) {
  // The newer one is placed first; the older one then sees it as a former name (not a fund)
  // and goes before it.
  EXPECT_EQ(
      Load({Security(L"600015", L"HXYH", L"华夏银行", SH_A, 1),        // 11, pass A
            FormerName(L"510050", L"HXJJ1", L"华夏旧一", SH_FUND, 1),  // 65, found first
            FormerName(L"159901", L"HXJJ2", L"华夏旧二", SZ_FUND, 0),  // 65, pass A
            Security(L"510300", L"HXHS", L"华夏沪深", SH_FUND, 1),     // 39
            Security(L"159902", L"HXZX", L"华夏中小", SZ_FUND, 0),     // 40
            Security(L"110001", L"HXZQ", L"华夏转债", SH_BOND, 1)},    // 41
           L"HX"),
      (RowList{L"600015 2", L"510300 2", L"159902 2", L"F:510050 2", L"F:159901 2", L"110001 2"}));
}

TEST(TidyFormerNames, SecondScanSkipsDelistedAndNeedsTheSameExactness) {
  EXPECT_EQ(Load({Security(L"600015", L"HXYH", L"华夏银行", SH_A, 1),        // 11, pass A
                  Security(L"600087", L"HXTS", L"华夏退市", DELISTED, 1),    // 64, pass A
                  FormerName(L"510050", L"HXJJ1", L"华夏旧一", SH_FUND, 1),  // 65, pass A
                  Security(L"510300", L"AHX", L"华夏沪深", SH_FUND, 1),      // 39, ends
                  Security(L"110001", L"HXZQ", L"华夏转债", SH_BOND, 1)},    // 41
                 L"HX"),
            (RowList{L"600015 2", L"600087 2", L"510300 3", L"F:510050 2", L"110001 2"}));
  // An exact fund is no run for a former name found by its beginning.
  EXPECT_EQ(Load({Security(L"510300", L"HX", L"华夏沪深", SH_FUND, 1),       // 39, exact
                  Security(L"600015", L"HXYH", L"华夏银行", SH_A, 1),        // 11
                  FormerName(L"510050", L"HXJJ1", L"华夏旧一", SH_FUND, 1),  // 65
                  Security(L"110001", L"HXZQ", L"华夏转债", SH_BOND, 1)},    // 41
                 L"HX"),
            (RowList{L"510300 1", L"600015 2", L"F:510050 2", L"110001 2"}));
  // A run that ends the result places nothing, and an equal category is not a later one.
  EXPECT_EQ(Load({Security(L"600015", L"HXYH", L"华夏银行", SH_A, 1),        // 11
                  FormerName(L"510050", L"HXJJ1", L"华夏旧一", SH_FUND, 1),  // 65
                  Security(L"510300", L"HXHS", L"华夏沪深", SH_FUND, 1),     // 39
                  Security(L"159902", L"HXZX", L"华夏中小", SZ_FUND, 0)},    // 40
                 L"HX"),
            (RowList{L"600015 2", L"510300 2", L"159902 2", L"F:510050 2"}));
}

TEST(TidyFormerNames, UnplacedFormerNamesGoToTheEndOldestFirst) {
  EXPECT_EQ(Load({FormerName(L"110001", L"ZQJ1", L"债旧一", SH_BOND, 1),  // 65, found first
                  FormerName(L"120001", L"ZQJ2", L"债旧二", SZ_BOND, 0),  // 65, pass A
                  Security(L"600000", L"GZQ", L"浦发银行", SH_A, 1),      // 11, ends
                  Security(L"000300", L"AZQ", L"沪深300", INDEX, 1)},     // 37, ends
                 L"ZQ"),
            (RowList{L"600000 3", L"000300 3", L"F:110001 2", L"F:120001 2"}));
}

TEST(TidyFormerNames, ExactFormerNamesOfBSharesMoveForward) {
  // After the run of exact B shares, ahead of the exact future it was found behind.
  EXPECT_EQ(Load({Security(L"900901", L"YBGF", L"云赛B股", SH_B, 1),     // 17, exact
                  Security(L"YB2406", L"YBGF", L"云期货", FUTURE, 47),   // 44, exact
                  FormerName(L"900902", L"YBGF", L"云旧B", SH_B, 1),     // 65, exact
                  Security(L"600602", L"YBGFX", L"云赛智联", SH_A, 1)},  // 11, begins
                 L"YBGF"),
            (RowList{L"900901 1", L"F:900902 1", L"YB2406 1", L"600602 2"}));

  SearchBed alone;
  ASSERT_TRUE(alone.LoadSingle({Security(L"YB2406", L"YBGF", L"云期货", FUTURE, 47),
                                FormerName(L"900902", L"YBGF", L"云旧B", SH_B, 1),
                                Security(L"600602", L"YBGFX", L"云赛智联", SH_A, 1)}));
  // No B share run: before the first equally exact match of a later category, the very front.
  EXPECT_EQ(alone.Find(L"YBGF"), (RowList{L"F:900902 1", L"YB2406 1", L"600602 2"}));
  // Before the first less exact match when nothing else is exact.
  EXPECT_EQ(Rows(alone.SearchIn(L"YBGF", {11, 65})), (RowList{L"F:900902 1", L"600602 2"}));
}

TEST(TidyFormerNames, OtherFormerNamesStayWhereFoundAndDigitsDropThem) {
  EXPECT_EQ(Load({Security(L"600000", L"PFYH", L"浦发银行", SH_A, 1),      // 11
                  FormerName(L"000002", L"PFJM", L"万科旧名", SZ_A, 0),    // 65, a Shenzhen A's
                  Security(L"510300", L"PFJJ", L"浦发基金", SH_FUND, 1)},  // 39
                 L"PF"),
            (RowList{L"600000 2", L"F:000002 2", L"510300 2"}));
  SearchBed digits;
  ASSERT_TRUE(digits.LoadSingle({FormerName(L"000001", L"SFZ", L"深发展", SZ_A, 0),
                                 FormerName(L"510001", L"JJJ", L"基金旧", SH_FUND, 1),
                                 Security(L"000001", L"PAYH", L"平安银行", SZ_A, 0)}));
  EXPECT_EQ(digits.Find(L"000001"), (RowList{L"000001 1"}));
  EXPECT_EQ(digits.Find(L"0001"), (RowList{L"000001 3"}));
  EXPECT_EQ(digits.Find(L"SFZ"), (RowList{L"F:000001 1"}));
}

// The default kind 0xFFFFFFFF is -1 as a signed value: the same class as aliases; kind 0 is not.
TEST(TidyDuplicates, SecurityAndAliasCollapseOnlyInOneKindClass) {
  const struct {
    DWORD securityKind;
    unsigned short aliasType;
    RowList zsyh, zsyhbm;
  } kCases[] = {
      {0, SH_A, {L"600036 1", L"A:600036 2"}, {L"A:600036 1"}},
      {0xFFFFFFFF, SH_A, {L"600036 1"}, {L"A:600036 1"}},
      {0xFFFFFFFF, SH_B, {L"600036 1", L"A:600036 2"}, {L"A:600036 1"}},  // another type word
  };
  for (const auto& c : kCases) {
    SearchBed bed;
    ASSERT_TRUE(bed.LoadSingle({Security(L"600036", L"ZSYH", L"招商银行", SH_A, 1, c.securityKind),
                                Alias(L"600036", L"ZSYHBM", L"招行", c.aliasType, 1)}));
    const std::vector<KeyboardItemInfo> results = bed.Search(L"ZSYH");
    ASSERT_EQ(Rows(results), c.zsyh) << c.securityKind << " " << c.aliasType;
    EXPECT_STREQ(results.back().m_szName, L"招商银行");
    EXPECT_EQ(bed.Find(L"ZSYHBM"), c.zsyhbm);
  }
}

TEST(TidyDuplicates, EqualFormerNamesAndAliasesLeaveOne) {
  SearchBed bed;
  ASSERT_TRUE(bed.LoadSingle({
      Security(L"000002", L"WK", L"万科A", SZ_A, 0),
      FormerName(L"000002", L"WKA", L"万科A", SZ_A, 0),   // 65, exact
      FormerName(L"000002", L"WKAB", L"万科A", SZ_A, 0),  // 65, begins: same key
      Alias(L"000002", L"WKAC", L"万科别名", SZ_A, 0),    // 10, named 万科A: same key again
  }));
  EXPECT_EQ(bed.Find(L"WKA"), (RowList{L"F:000002 1"}));
  // Searched so that the alias comes first, it is the one kept.
  EXPECT_EQ(bed.Find(L"WK"), (RowList{L"000002 1", L"A:000002 2"}));
}

TEST(TidyDuplicates, TypeWordAndCodeCaseKeepRecordsApart) {
  SearchBed bed;
  ASSERT_TRUE(bed.LoadSingle({
      Security(L"ab01", L"ABX1", L"同名", UNKNOWN, 1),
      Security(L"AB01", L"ABX2", L"同名", UNKNOWN, 1),  // code differs in case only
      Security(L"AB01", L"ABX3", L"同名", INDEX, 1),    // another type word
      Security(L"AB01", L"ABX4", L"同名", UNKNOWN, 1),  // same as the second
  }));
  std::vector<std::wstring> hotKeys;
  for (const KeyboardItemInfo& r : bed.Search(L"ABX")) hotKeys.push_back(r.m_szHotKey);
  EXPECT_EQ(hotKeys, (RowList{L"ABX3", L"ABX1", L"ABX2"}));  // category 37 before 66
}

}  // namespace
