// Where former names of B shares, funds and bonds end up after a letter search: after the first
// run of their kind and exactness, else before a less exact or later match, else at the end.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/SearchFixture.h"

using namespace type_word;

namespace {

typedef std::vector<std::wstring> RowList;

TEST(TidyFormerNames, FirstScanPlacesAfterTheRunOfTheSameKindNewestFirst) {
  SearchBed bed;
  ASSERT_TRUE(bed.LoadSingle({
      Security(L"600015", L"HXYH", L"华夏银行", SH_A, 1),        // 11, pass A
      FormerName(L"510050", L"HXJJ1", L"华夏旧一", SH_FUND, 1),  // 65, pass A, found first
      FormerName(L"159901", L"HXJJ2", L"华夏旧二", SZ_FUND, 0),  // 65, pass A
      Security(L"510300", L"HXHS", L"华夏沪深", SH_FUND, 1),     // 39
      Security(L"159902", L"HXZX", L"华夏中小", SZ_FUND, 0),     // 40
      Security(L"110001", L"HXZQ", L"华夏转债", SH_BOND, 1),     // 41
  }));
  std::vector<KeyboardItemInfo> results = bed.Search(L"HX");
  // The newer one is placed first; the older one then sees it as a former name (not a fund)
  // and goes before it.
  EXPECT_EQ(Rows(results), (RowList{L"600015 2", L"510300 2", L"159902 2", L"F:510050 2",
                                    L"F:159901 2", L"110001 2"}));
  for (const KeyboardItemInfo& r : results)
    EXPECT_TRUE(r.m_dwKind == 0 || r.m_dwKind == KIND_FORMER_NAME) << r.m_dwKind;
}

TEST(TidyFormerNames, SecondScanSkipsDelistedAndNeedsTheSameExactness) {
  SearchBed bed;
  ASSERT_TRUE(bed.LoadSingle({
      Security(L"600015", L"HXYH", L"华夏银行", SH_A, 1),        // 11, pass A
      Security(L"600087", L"HXTS", L"华夏退市", DELISTED, 1),    // 64, pass A
      FormerName(L"510050", L"HXJJ1", L"华夏旧一", SH_FUND, 1),  // 65, pass A
      Security(L"510300", L"AHX", L"华夏沪深", SH_FUND, 1),      // 39, ends
      Security(L"110001", L"HXZQ", L"华夏转债", SH_BOND, 1),     // 41
  }));
  EXPECT_EQ(Rows(bed.Search(L"HX")),
            (RowList{L"600015 2", L"600087 2", L"510300 3", L"F:510050 2", L"110001 2"}));

  // An exact fund is no run for a former name found by its beginning.
  SearchBed exact;
  ASSERT_TRUE(exact.LoadSingle({
      Security(L"510300", L"HX", L"华夏沪深", SH_FUND, 1),       // 39, exact
      Security(L"600015", L"HXYH", L"华夏银行", SH_A, 1),        // 11
      FormerName(L"510050", L"HXJJ1", L"华夏旧一", SH_FUND, 1),  // 65
      Security(L"110001", L"HXZQ", L"华夏转债", SH_BOND, 1),     // 41
  }));
  EXPECT_EQ(Rows(exact.Search(L"HX")),
            (RowList{L"510300 1", L"600015 2", L"F:510050 2", L"110001 2"}));

  // A run that ends the result places nothing, and an equal category is not a later one.
  SearchBed last;
  ASSERT_TRUE(last.LoadSingle({
      Security(L"600015", L"HXYH", L"华夏银行", SH_A, 1),        // 11
      FormerName(L"510050", L"HXJJ1", L"华夏旧一", SH_FUND, 1),  // 65
      Security(L"510300", L"HXHS", L"华夏沪深", SH_FUND, 1),     // 39
      Security(L"159902", L"HXZX", L"华夏中小", SZ_FUND, 0),     // 40
  }));
  EXPECT_EQ(Rows(last.Search(L"HX")),
            (RowList{L"600015 2", L"510300 2", L"159902 2", L"F:510050 2"}));
}

TEST(TidyFormerNames, UnplacedFormerNamesGoToTheEndOldestFirst) {
  SearchBed bed;
  ASSERT_TRUE(bed.LoadSingle({
      FormerName(L"110001", L"ZQJ1", L"债旧一", SH_BOND, 1),  // 65, pass A, found first
      FormerName(L"120001", L"ZQJ2", L"债旧二", SZ_BOND, 0),  // 65, pass A
      Security(L"600000", L"GZQ", L"浦发银行", SH_A, 1),      // 11, ends
      Security(L"000300", L"AZQ", L"沪深300", INDEX, 1),      // 37, ends
  }));
  std::vector<KeyboardItemInfo> results = bed.Search(L"ZQ");
  EXPECT_EQ(Rows(results), (RowList{L"600000 3", L"000300 3", L"F:110001 2", L"F:120001 2"}));
  ASSERT_EQ(results.size(), 4u);
  EXPECT_EQ(results[2].m_dwKind, KIND_FORMER_NAME);
  EXPECT_EQ(results[3].m_dwKind, KIND_FORMER_NAME);
}

TEST(TidyFormerNames, ExactFormerNamesOfBSharesMoveForward) {
  SearchBed bed;
  ASSERT_TRUE(bed.LoadSingle({
      Security(L"900901", L"YBGF", L"云赛B股", SH_B, 1),    // 17, exact
      Security(L"YB2406", L"YBGF", L"云期货", FUTURE, 47),  // 44, exact
      FormerName(L"900902", L"YBGF", L"云旧B", SH_B, 1),    // 65, exact
      Security(L"600602", L"YBGFX", L"云赛智联", SH_A, 1),  // 11, begins
  }));
  // After the run of exact B shares, ahead of the exact future it was found behind.
  EXPECT_EQ(Rows(bed.Search(L"YBGF")),
            (RowList{L"900901 1", L"F:900902 1", L"YB2406 1", L"600602 2"}));

  SearchBed alone;
  ASSERT_TRUE(alone.LoadSingle({
      Security(L"YB2406", L"YBGF", L"云期货", FUTURE, 47),
      FormerName(L"900902", L"YBGF", L"云旧B", SH_B, 1),
      Security(L"600602", L"YBGFX", L"云赛智联", SH_A, 1),
  }));
  // No B share run: before the first equally exact match of a later category, the very front.
  EXPECT_EQ(Rows(alone.Search(L"YBGF")), (RowList{L"F:900902 1", L"YB2406 1", L"600602 2"}));
  // Before the first less exact match when nothing else is exact.
  EXPECT_EQ(Rows(alone.SearchIn(L"YBGF", {11, 65})), (RowList{L"F:900902 1", L"600602 2"}));
}

TEST(TidyFormerNames, OtherFormerNamesStayWhereFound) {
  SearchBed bed;
  ASSERT_TRUE(bed.LoadSingle({
      Security(L"600000", L"PFYH", L"浦发银行", SH_A, 1),     // 11
      FormerName(L"000002", L"PFJM", L"万科旧名", SZ_A, 0),   // 65, a Shenzhen A share's
      Security(L"510300", L"PFJJ", L"浦发基金", SH_FUND, 1),  // 39
  }));
  EXPECT_EQ(Rows(bed.Search(L"PF")), (RowList{L"600000 2", L"F:000002 2", L"510300 2"}));
  // With digits typed no former name is left.
  SearchBed digits;
  ASSERT_TRUE(digits.LoadSingle({
      FormerName(L"000001", L"SFZ", L"深发展", SZ_A, 0),
      FormerName(L"510001", L"JJJ", L"基金旧", SH_FUND, 1),
      Security(L"000001", L"PAYH", L"平安银行", SZ_A, 0),
  }));
  EXPECT_EQ(Rows(digits.Search(L"000001")), (RowList{L"000001 1"}));
  EXPECT_EQ(Rows(digits.Search(L"0001")), (RowList{L"000001 3"}));
  EXPECT_EQ(Rows(digits.Search(L"SFZ")), (RowList{L"F:000001 1"}));
}

}  // namespace
