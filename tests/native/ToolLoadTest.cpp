// The tools load an items file record by record into a store grown once, and sort it at the end:
// the store must come out as one bulk add of the whole list builds it, list for list, and answer
// every query alike. Securities alone get full-pinyin aliases, and are found by them.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "services/PinyinAliases.h"
#include "services/SecurityMaster.h"
#include "support/TableFixture.h"
#include "support/ToolSession.h"
#include "tools/common/ItemsFile.h"
#include "tools/common/SearchSession.h"
#include "tools/synth/SyntheticMarket.h"

namespace {

struct StoreState {
  int items = 0, slots = 0, capacity = 0;
  std::vector<std::vector<int>> lists;  // item positions of the 432 lists, in list order
  std::vector<std::string> results;     // one line per result of every query
};

StoreState Capture(IHotKeyManager* manager, KeyboardInputMappingTable* table,
                   const std::vector<std::wstring>& queries) {
  StoreState state;
  state.items = table->m_nItemCount;
  state.slots = table->m_nSlotCount;
  state.capacity = table->m_nCapacity;
  for (int g = 0; g < INDEX_GROUPS; ++g)
    for (int c = 0; c < ITEM_CATEGORIES; ++c) state.lists.push_back(ListPositions(*table, g, c));
  std::vector<KeyboardItemInfo> results;
  for (const std::wstring& query : queries) {
    manager->SearchKeyboardItems(query.c_str(), &results, false);
    for (const KeyboardItemInfo& item : results) state.results.push_back(FormatResultLine(item));
    state.results.push_back("--");
  }
  return state;
}

// The lists whose room (or their prefixes') is not exactly what they hold, as "group/category".
std::string ListsWithSlack(const KeyboardInputMappingTable& table) {
  std::string slack;
  for (int g = 0; g < INDEX_GROUPS; ++g)
    for (int c = 0; c < ITEM_CATEGORIES; ++c)
      if (table.m_arrIndex[g][c].capacity() != table.m_arrIndex[g][c].size() ||
          table.m_arrKeyPrefix[g][c].capacity() != table.m_arrKeyPrefix[g][c].size())
        slack += std::to_string(g) + "/" + std::to_string(c) + " ";
  return slack;
}

TEST(ToolLoad, RecordByRecordBuildsTheStoreOfOneBulkAdd) {
  // Large enough that the store grows, with repeated codes, aliases, former names and commands.
  std::vector<SynthItem> market = GenerateMarket(20000, 7);
  std::ostringstream tsv;
  WriteItemsTsv(tsv, market);
  const std::string text = tsv.str();
  std::vector<std::wstring> queries = {L"6",  L"60", L"600", L"0",  L"3", L"A", L"Z",
                                       L"ZS", L"PF", L"zx",  L"HK", L"1", L"88"};
  for (size_t i = 0; i < market.size(); i += 997) {
    queries.push_back(market[i].code);
    queries.push_back(market[i].hotkey);
    queries.push_back(market[i].name);
  }

  StoreState bulk;
  {
    std::vector<KeyboardItemInfo> items;
    ItemsFileError error;
    ASSERT_TRUE(ParseItems(text, &items, &error)) << error.message;
    TableHost host;
    for (const KeyboardItemInfo& item : items)
      if (IsSecurityItem(item))
        host.Master()->AddSecurity(item.m_szCode, item.m_cMarket, item.m_szName);
    ManagerScope manager;
    std::vector<int> allCategories;
    manager->AddKeyboardItems(items.data(), static_cast<int>(items.size()), &allCategories, FALSE);
    bulk = Capture(manager.get(), manager.Table(), queries);
  }
  for (bool skipDuplicateCheck : {false, true}) {
    SearchSession session;
    ItemsSource source(text.data(), text.size());
    LoadOptions options;
    options.fullPinyin = false;
    options.skipDuplicateCheck = skipDuplicateCheck;
    LoadCounts counts;
    ItemsFileError error;
    ASSERT_TRUE(session.Load(source, options, &counts, &error)) << error.message;
    EXPECT_EQ(counts.items, market.size());
    EXPECT_EQ(StoreViolations(*session.Table(), false), "");
    // The survey told every list its size: none grew by doubling or keeps room it never used.
    EXPECT_EQ(ListsWithSlack(*session.Table()), "");
    StoreState loaded = Capture(session.Manager(), session.Table(), queries);
    // The synthetic market has no duplicates: the check changes nothing.
    EXPECT_EQ(loaded.items, bulk.items);
    EXPECT_EQ(loaded.slots, bulk.slots);
    EXPECT_EQ(loaded.capacity, bulk.capacity);
    for (size_t n = 0; n < bulk.lists.size(); ++n)
      EXPECT_EQ(loaded.lists[n], bulk.lists[n])
          << "group " << n / ITEM_CATEGORIES << " category " << n % ITEM_CATEGORIES;
    EXPECT_EQ(loaded.results, bulk.results);
  }
}

TEST(ToolLoad, SecuritiesAloneGetAliasesAndAreFoundByThem) {
  const std::string text =
      "600000\tPFYH\t浦发银行\t0x0102\t-1\t0xFFFFFFFF\t1\n"
      "000002\tWKA\t万科A\t0x0006\t-1\t0xFFFFFFFF\t0\n"
      "000002\tSZWK\t深万科\t0x0006\t-1\t256\t0\n"
      "600000\tPF\t浦发\t0x0102\t-1\t258\t1\n"
      "06\tZXG\t自选股\t0x6400\t6\t257\t255\n";
  for (bool fullPinyin : {true, false}) {
    SearchSession session;
    LoadCounts counts = LoadItemsText(session, text, fullPinyin);
    EXPECT_EQ(counts.items, 5u);
    EXPECT_EQ(counts.aliases, fullPinyin ? 2u : 0u);
    EXPECT_EQ(ListsWithSlack(*session.Table()), "");
    std::vector<KeyboardItemInfo> results;
    // The former name 深万科 and the command get none.
    for (const wchar_t* query : {L"SHENWANKE", L"ZIXUANGU"}) {
      ASSERT_TRUE(session.Manager()->SearchKeyboardItems(query, &results, false));
      EXPECT_TRUE(results.empty()) << FormatResultLine(results[0]);
    }
    ASSERT_TRUE(session.Manager()->SearchKeyboardItems(L"wanke", &results, false));
    ASSERT_EQ(results.size(), fullPinyin ? 1u : 0u);
    if (fullPinyin) {
      EXPECT_EQ(FormatResultLine(results[0]), "2\t258\t0x0006\t0\t-1\t000002\tWANKEA\t万科A");
    }
    // The file's own alias is resolved through the data centre either way.
    ASSERT_TRUE(session.Manager()->SearchKeyboardItems(L"PF", &results, false));
    ASSERT_FALSE(results.empty());
    EXPECT_EQ(std::wstring(results[0].m_szName), L"浦发银行");
  }
}

}  // namespace
