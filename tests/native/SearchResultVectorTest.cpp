// What a search does to the caller's result vector: refused texts leave it alone, every other
// search empties it first, giving back the references of the old copies, and refills it without
// reallocating.
#include <gtest/gtest.h>

#include "support/CountingUnknown.h"
#include "support/SearchFixture.h"

namespace {

TEST(SearchResultVector, RefusedTextsLeaveItOthersEmptyAndReuseIt) {
  UnknownCounters counters;
  SearchBed bed;
  ASSERT_TRUE(bed.LoadSingle({Item(L"600000", L"PFYH", L"浦发银行", type_word::SH_A, 0, 1, -1,
                                   new CCountingUnknown(&counters)),
                              Security(L"600001", L"HDGT", L"邯郸钢铁")}));
  KeyboardInputMappingTable& table = bed.Table();
  std::vector<KeyboardItemInfo> results = {Security(L"KEEP", L"KEEP", L"保留")};
  const std::vector<int> filter = {11};
  EXPECT_FALSE(table.Search(nullptr, &results, false) || table.Search(L"", &results, true) ||
               table.SearchInCategories(nullptr, &results, false, &filter) ||
               table.SearchInCategories(L"", &results, false, nullptr));
  EXPECT_EQ(Rows(results), RowList{L"KEEP 0"});
  ASSERT_TRUE(table.Search(L"600", &results, false));  // the lock was given back each time
  EXPECT_EQ(Rows(results), (RowList{L"600000 2", L"600001 2"}));
  EXPECT_EQ(counters.addRefs - counters.releases, 2);  // the table's and the copy's
  const KeyboardItemInfo* storage = results.data();
  ASSERT_TRUE(table.Search(L"HDGT", &results, false));
  EXPECT_EQ(Rows(results), RowList{L"600001 1"});
  EXPECT_EQ(counters.addRefs - counters.releases, 1);
  EXPECT_EQ(results.data(), storage);
}

}  // namespace
