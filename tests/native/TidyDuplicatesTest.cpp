// Which of several equivalent records a result keeps: the first of each (kind class, type word,
// code, name), where former names and aliases share one kind class.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/SearchFixture.h"

using namespace type_word;

namespace {

typedef std::vector<std::wstring> RowList;

TEST(TidyDuplicates, SecurityAndAliasStayWhenTheirKindClassesDiffer) {
  SearchBed bed;
  ASSERT_TRUE(bed.LoadSingle({
      Security(L"600036", L"ZSYH", L"招商银行", SH_A, 1, 0),
      Alias(L"600036", L"ZSYHBM", L"招行", SH_A, 1),
  }));
  std::vector<KeyboardItemInfo> results = bed.Search(L"ZSYH");
  ASSERT_EQ(Rows(results), (RowList{L"600036 1", L"A:600036 2"}));
  EXPECT_STREQ(results[1].m_szName, L"招商银行");
}

// The default kind 0xFFFFFFFF is -1 as a signed value: the same class as aliases.
TEST(TidyDuplicates, DefaultKindSecurityAndItsAliasCollapseToTheFirstFound) {
  SearchBed bed;
  ASSERT_TRUE(bed.LoadSingle({
      Security(L"600036", L"ZSYH", L"招商银行", SH_A, 1, 0xFFFFFFFF),
      Alias(L"600036", L"ZSYHBM", L"招行", SH_A, 1),
  }));
  EXPECT_EQ(Rows(bed.Search(L"ZSYH")), (RowList{L"600036 1"}));
  EXPECT_EQ(Rows(bed.Search(L"ZSYHBM")), (RowList{L"A:600036 1"}));
  // An alias of another type word is no duplicate.
  SearchBed other;
  ASSERT_TRUE(other.LoadSingle({
      Security(L"600036", L"ZSYH", L"招商银行", SH_A, 1, 0xFFFFFFFF),
      Alias(L"600036", L"ZSYHBM", L"招行", SH_B, 1),
  }));
  EXPECT_EQ(Rows(other.Search(L"ZSYH")), (RowList{L"600036 1", L"A:600036 2"}));
}

TEST(TidyDuplicates, EqualFormerNamesAndAliasesLeaveOne) {
  SearchBed bed;
  ASSERT_TRUE(bed.LoadSingle({
      Security(L"000002", L"WK", L"万科A", SZ_A, 0),
      FormerName(L"000002", L"WKA", L"万科A", SZ_A, 0),   // 65, exact
      FormerName(L"000002", L"WKAB", L"万科A", SZ_A, 0),  // 65, begins: same key
      Alias(L"000002", L"WKAC", L"万科别名", SZ_A, 0),    // 10, named 万科A: same key again
  }));
  EXPECT_EQ(Rows(bed.Search(L"WKA")), (RowList{L"F:000002 1"}));
  // Searched so that the alias comes first, it is the one kept.
  EXPECT_EQ(Rows(bed.Search(L"WK")), (RowList{L"000002 1", L"A:000002 2"}));
}

TEST(TidyDuplicates, TypeWordAndCodeCaseKeepRecordsApart) {
  SearchBed bed;
  ASSERT_TRUE(bed.LoadSingle({
      Security(L"ab01", L"ABX1", L"同名", UNKNOWN, 1),
      Security(L"AB01", L"ABX2", L"同名", UNKNOWN, 1),  // code differs in case only
      Security(L"AB01", L"ABX3", L"同名", INDEX, 1),    // another type word
      Security(L"AB01", L"ABX4", L"同名", UNKNOWN, 1),  // same as the second
  }));
  std::vector<KeyboardItemInfo> results = bed.Search(L"ABX");
  ASSERT_EQ(results.size(), 3u);
  EXPECT_STREQ(results[0].m_szHotKey, L"ABX3");  // category 37 before 66
  EXPECT_STREQ(results[1].m_szHotKey, L"ABX1");
  EXPECT_STREQ(results[2].m_szHotKey, L"ABX2");
}

}  // namespace
