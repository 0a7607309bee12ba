// What a search does to the caller's result vector: refused texts leave it alone, every other
// search empties it first (giving back the references of the old copies) and refills it
// without reallocating.
#include <gtest/gtest.h>

#include <vector>

#include "support/CountingUnknown.h"
#include "support/SearchFixture.h"

using namespace type_word;

namespace {

TEST(SearchResultVector, NullOrEmptyTextIsRefusedAndLeavesTheResult) {
  SearchBed bed;
  ASSERT_TRUE(bed.LoadSingle({Security(L"600000", L"PFYH", L"浦发银行", SH_A, 1)}));
  std::vector<KeyboardItemInfo> results = {Security(L"KEEP", L"KEEP", L"保留", SH_A, 1)};
  std::vector<int> filter = {11};
  EXPECT_FALSE(bed.Table().Search(nullptr, &results, false));
  EXPECT_FALSE(bed.Table().Search(L"", &results, true));
  EXPECT_FALSE(bed.Table().SearchInCategories(nullptr, &results, false, &filter));
  EXPECT_FALSE(bed.Table().SearchInCategories(L"", &results, false, nullptr));
  ASSERT_EQ(results.size(), 1u);
  EXPECT_STREQ(results[0].m_szCode, L"KEEP");
  // The lock was given back each time.
  EXPECT_TRUE(bed.Table().Search(L"PF", &results, false));
  ASSERT_EQ(results.size(), 1u);
  EXPECT_STREQ(results[0].m_szCode, L"600000");
}

TEST(SearchResultVector, EachSearchEmptiesAndReusesTheVector) {
  UnknownCounters counters;
  SearchBed bed;
  {
    KeyboardItemInfo item = Security(L"600000", L"PFYH", L"浦发银行", SH_A, 1);
    item.m_pUnknown = new CCountingUnknown(&counters);
    item.m_pUnknown->AddRef();
    ASSERT_TRUE(bed.LoadSingle({item, Security(L"600001", L"HDGT", L"邯郸钢铁", SH_A, 1)}));
  }
  const int heldByTable = counters.addRefs - counters.releases;
  ASSERT_EQ(heldByTable, 1);

  std::vector<KeyboardItemInfo> results;
  ASSERT_TRUE(bed.Table().Search(L"600", &results, false));
  ASSERT_EQ(results.size(), 2u);
  EXPECT_EQ(counters.addRefs - counters.releases, 2);  // the copy in the result holds one
  EXPECT_GE(results.capacity(), static_cast<size_t>(bed.Table().m_nCapacity));
  const KeyboardItemInfo* storage = results.data();

  ASSERT_TRUE(bed.Table().Search(L"HDGT", &results, false));
  ASSERT_EQ(results.size(), 1u);
  EXPECT_STREQ(results[0].m_szCode, L"600001");
  EXPECT_EQ(counters.addRefs - counters.releases, 1);
  EXPECT_EQ(results.data(), storage);

  ASSERT_TRUE(bed.Table().Search(L"NOTHING", &results, false));
  EXPECT_TRUE(results.empty());
  EXPECT_EQ(counters.destroyed, 0);
}

TEST(SearchResultVector, TableWithoutStorageFindsNothing) {
  SearchBed bed;
  ASSERT_TRUE(bed.LoadSingle({Command(L"60", L"", L"命令", FUNCTION_CMD, 1),
                              Security(L"600000", L"PFYH", L"浦发银行", SH_A, 1)}));
  ASSERT_TRUE(bed.Table().Lock());
  bed.Table().ClearSource();
  bed.Table().Unlock();
  std::vector<KeyboardItemInfo> results = {Security(L"OLD", L"OLD", L"旧", SH_A, 1)};
  EXPECT_TRUE(bed.Table().Search(L"60", &results, false));
  EXPECT_TRUE(results.empty());
  EXPECT_TRUE(bed.Table().Search(L"PF", &results, false));
  EXPECT_TRUE(results.empty());
}

}  // namespace
