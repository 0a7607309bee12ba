// Removing, replacing, dropping a market, clearing and rebuilding with the commands only.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "support/CountingUnknown.h"
#include "support/TableFixture.h"

namespace {

using namespace store_test;

int Remove(KeyboardInputMappingTable& table, const wchar_t* code, const wchar_t* hotKey,
           const wchar_t* name, unsigned short type, DWORD kind) {
  return table.RemoveItem(code, hotKey, name, &type, &kind);
}

int Remove(KeyboardInputMappingTable& table, const KeyboardItemInfo& item) {
  return Remove(table, item.m_szCode, item.m_szHotKey, item.m_szName, item.m_wType, item.m_dwKind);
}

bool Found(const std::vector<KeyboardItemInfo>& results, const KeyboardItemInfo& item) {
  return std::any_of(results.begin(), results.end(),
                     [&](const KeyboardItemInfo& r) { return r == item; });
}

TEST(TableRemove, FindAndRemoveByIdentity) {
  TableHost host;
  KeyboardInputMappingTable table;
  UnknownCounters counters;
  TRefPtr<CCountingUnknown> object(new CCountingUnknown(&counters));
  const KeyboardItemInfo bank =
      Item(L"600000", L"PFYH", L"浦发银行", 0x0102, 0, 1, -1, object.get());
  const KeyboardItemInfo future = Stock(L"IF2406", L"IF2406", L"沪深主连", 0x8200, 4);
  const KeyboardItemInfo zxg = Cmd(L"06", L"ZXG", L"自选股", 0x6400);
  const std::vector<KeyboardItemInfo> fill = MarketSecurities(200, 800);
  for (const KeyboardItemInfo& item : fill) ASSERT_TRUE(table.AddOneItem(&item, true, false));
  for (const KeyboardItemInfo* item : {&bank, &future, &zxg})
    ASSERT_TRUE(table.AddOneItem(item, true, false));
  const int bankAt = FindStored(table, bank);
  ASSERT_GE(bankAt, 0);
  std::vector<KeyboardItemInfo> results;
  ASSERT_TRUE(table.Search(L"600000", &results, false));
  ASSERT_TRUE(Found(results, bank));

  // Texts compare ignoring case; type word and kind must be the stored ones.
  unsigned short type = 0x0102, otherType = 0x0103;
  DWORD kind = 0, alias = KIND_ALIAS;
  EXPECT_EQ(table.FindItem(L"600000", L"pfyh", L"浦发银行", &type, &kind), bankAt);
  EXPECT_EQ(table.FindItem(L"600000", L"PFYH", L"浦发银行", &otherType, &kind), -1);
  EXPECT_EQ(table.FindItem(L"600000", L"PFYH", L"浦发银行", &type, &alias), -1);
  EXPECT_EQ(table.FindItem(L"600000", L"PFYH", L"浦发", &type, &kind), -1);
  EXPECT_EQ(table.FindItem(nullptr, L"PFYH", L"浦发银行", &type, &kind), -1);
  EXPECT_EQ(Remove(table, L"600000", L"PFYH", L"浦发银行", 0x0103, 0), 0);
  EXPECT_EQ(Remove(table, L"600000", L"PFYH", L"浦发银行", 0x0102, KIND_ALIAS), 0);
  EXPECT_EQ(LiveCount(table), 203);

  const int refs = object->RefCount();
  EXPECT_EQ(Remove(table, L"600000", L"pfyh", L"浦发银行", 0x0102, 0), 1);
  EXPECT_EQ(LiveCount(table), 202);
  EXPECT_EQ(table.m_nItemCount, 203);
  EXPECT_EQ(table.m_setFreeItems, std::set<int>{bankAt});
  EXPECT_STREQ(table.m_pItems[bankAt].m_szCode, L"600000");
  EXPECT_EQ(object->RefCount(), refs);
  ASSERT_TRUE(table.Search(L"600000", &results, false));
  EXPECT_FALSE(Found(results, bank));
  EXPECT_EQ(Remove(table, bank), 0);

  EXPECT_EQ(Remove(table, future), 1);  // type word 0x8200: category 48
  EXPECT_EQ(Remove(table, L"06", L"zxg", L"自选股", 0x6400, KIND_COMMAND), 1);
  EXPECT_TRUE(table.m_mapNumericKeys.empty());
  for (int g = 0; g < INDEX_GROUPS; ++g) EXPECT_TRUE(table.m_arrIndex[g][5].empty()) << g;
  EXPECT_EQ(LiveCount(table), 200);
  EXPECT_EQ(StoreViolations(table), "");
}

// The identity's texts compare ignoring case, yet a backward list is searched with differences
// of unconverted characters: "BBB" sorts below "aaa" there, so the binary search misses "AAA".
// The removal must still take the slot out of both directions' lists.
TEST(TableRemove, RemovalWithHotKeyInOtherCaseLeavesNoStaleBackwardEntry) {
  TableHost host;
  KeyboardInputMappingTable table;
  const KeyboardItemInfo items[] = {Stock(L"600001", L"AAA", L"N1"),
                                    Stock(L"600002", L"BBB", L"N2"),
                                    Stock(L"600003", L"CCC", L"N3")};
  for (const KeyboardItemInfo& item : items) ASSERT_TRUE(table.AddOneItem(&item, true, false));
  EXPECT_EQ(Remove(table, L"600001", L"aaa", L"N1", 0x0102, 0), 1);
  EXPECT_EQ(FindStored(table, items[0]), -1);
  EXPECT_EQ(ListKeys(table, 2, 11), (std::vector<std::wstring>{L"BBB", L"CCC"}));
  EXPECT_EQ(ListKeys(table, 3, 11), (std::vector<std::wstring>{L"BBB", L"CCC"}));
  EXPECT_EQ(StoreViolations(table), "");
}

TEST(TableRemove, ReplaceKeepsThePositionAndAttachesAPackageOfTheNewRecord) {
  TableHost host;
  KeyboardInputMappingTable table;
  UnknownCounters counters;
  TRefPtr<CCountingUnknown> old(new CCountingUnknown(&counters));
  TRefPtr<CCountingUnknown> fresh(new CCountingUnknown(&counters));
  const KeyboardItemInfo a = Stock(L"600001", L"AAA", L"甲");
  const KeyboardItemInfo b = Item(L"600002", L"BBB", L"乙", 0x0102, 0, 1, 5, old.get());
  const KeyboardItemInfo c = Stock(L"600003", L"CCC", L"丙");
  for (const KeyboardItemInfo* item : {&a, &b, &c})
    ASSERT_TRUE(table.AddOneItem(item, true, false));
  unsigned short type = 0x0102;
  DWORD kind = 0;
  typedef CPackager<KeyboardItemInfo> Package;

  // Name only, no object: code and hot key stay, the record carries a package of itself.
  ASSERT_EQ(table.ReplaceItem(L"600001", L"AAA", L"甲", &type, &kind, nullptr, nullptr, L"甲乙",
                              nullptr, nullptr, nullptr),
            1);
  EXPECT_EQ(FindStored(table, a), -1);
  ASSERT_EQ(table.FindItem(L"600001", L"AAA", L"甲乙", &type, &kind), 0);
  auto* package = dynamic_cast<Package*>(table.m_pItems[0].m_pUnknown);
  ASSERT_NE(package, nullptr);
  EXPECT_STREQ(package->m_value.m_szCode, L"600001");
  EXPECT_STREQ(package->m_value.m_szHotKey, L"AAA");
  EXPECT_STREQ(package->m_value.m_szName, L"甲乙");
  EXPECT_EQ(package->m_value.m_pUnknown, nullptr);
  EXPECT_EQ(package->RefCount(), 1);
  EXPECT_EQ(LiveCount(table), 3);

  // With an object attached, the package's copy keeps it and the record holds the package.
  const int oldRefs = old->RefCount();
  const int extra = 9;
  ASSERT_EQ(table.ReplaceItem(L"600002", L"BBB", L"乙", &type, &kind, nullptr, nullptr, L"乙丙",
                              &extra, nullptr, nullptr),
            1);
  ASSERT_EQ(table.FindItem(L"600002", L"BBB", L"乙丙", &type, &kind), 1);
  package = dynamic_cast<Package*>(table.m_pItems[1].m_pUnknown);
  ASSERT_NE(package, nullptr);
  EXPECT_EQ(package->m_value.m_pUnknown, old.get());
  EXPECT_EQ(package->m_value.m_nExtraInfo, 9);
  EXPECT_EQ(table.m_pItems[1].m_nExtraInfo, 9);
  EXPECT_EQ(old->RefCount(), oldRefs);  // the store's reference moved into the package

  // A new object is referenced once by the store; the package it displaces goes away.
  ASSERT_EQ(table.ReplaceItem(L"600002", L"BBB", L"乙丙", &type, &kind, nullptr, nullptr, nullptr,
                              nullptr, fresh.get(), nullptr),
            1);
  EXPECT_EQ(table.m_pItems[1].m_pUnknown, fresh.get());
  EXPECT_EQ(fresh->RefCount(), 2);
  EXPECT_EQ(old->RefCount(), oldRefs - 1);
  ASSERT_EQ(table.ReplaceItem(L"600002", L"BBB", L"乙丙", &type, &kind, nullptr, nullptr, nullptr,
                              nullptr, fresh.get(), nullptr),
            1);
  EXPECT_EQ(fresh->RefCount(), 2);
  EXPECT_EQ(table.FindItem(L"600002", L"BBB", L"乙丙", &type, &kind), 1);

  // Made equal to another stored record: the replaced one leaves, nothing is added.
  ASSERT_EQ(table.ReplaceItem(L"600003", L"CCC", L"丙", &type, &kind, L"600001", L"aaa", L"甲乙",
                              nullptr, nullptr, nullptr),
            1);
  EXPECT_EQ(LiveCount(table), 2);
  EXPECT_EQ(FindStored(table, c), -1);
  EXPECT_EQ(table.ReplaceItem(L"600009", L"CCC", L"丙", &type, &kind, nullptr, nullptr, L"x",
                              nullptr, nullptr, nullptr),
            0);

  // Overlong texts are cut to their fields.
  const std::wstring longCode(20, L'1'), longName(40, L'名');
  ASSERT_EQ(table.ReplaceItem(L"600001", L"AAA", L"甲乙", &type, &kind, longCode.c_str(), nullptr,
                              longName.c_str(), nullptr, nullptr, nullptr),
            1);
  EXPECT_EQ(std::wstring(table.m_pItems[0].m_szCode), longCode.substr(0, 16));
  EXPECT_EQ(std::wstring(table.m_pItems[0].m_szName), longName.substr(0, 32));
  EXPECT_EQ(StoreViolations(table), "");

  // While the terminal closes, the old record leaves and the new one is not stored.
  host.Env()->SetClosing(true);
  EXPECT_EQ(table.ReplaceItem(L"600002", L"BBB", L"乙丙", &type, &kind, nullptr, nullptr, L"丁",
                              nullptr, nullptr, nullptr),
            1);
  EXPECT_EQ(LiveCount(table), 1);
  EXPECT_EQ(table.FindItem(L"600002", L"BBB", L"丁", &type, &kind), -1);
}

TEST(TableRemove, RemoveMarketReleasesThatMarketOnly) {
  TableHost host;
  KeyboardInputMappingTable table;
  const std::vector<KeyboardItemInfo> items = MarketSecurities(160);
  const std::vector<int> all;
  ASSERT_TRUE(table.AddKeyboardItem(items.data(), 160, &all, false));

  std::vector<std::vector<int>> before;
  for (const auto& group : table.m_arrIndex)
    before.insert(before.end(), group, group + ITEM_CATEGORIES);
  EXPECT_TRUE(table.RemoveMarket(7));
  std::vector<std::vector<int>> after;
  for (const auto& group : table.m_arrIndex)
    after.insert(after.end(), group, group + ITEM_CATEGORIES);
  EXPECT_EQ(after, before);
  EXPECT_TRUE(table.m_setFreeItems.empty() && table.m_setFreeSlots.empty());

  EXPECT_TRUE(table.RemoveMarket(1));
  std::set<int> released;
  for (int p = 0; p < 160; ++p) {
    const bool inMarket = items[p].m_cMarket == 1;
    EXPECT_EQ(FindStored(table, items[p]), inMarket ? -1 : p) << p;
    if (inMarket) released.insert(p);
  }
  EXPECT_FALSE(released.empty());
  EXPECT_EQ(table.m_setFreeItems, released);
  EXPECT_EQ(table.m_setFreeSlots.size(), 3 * released.size());
  EXPECT_EQ(StoreViolations(table), "");

  // A numeric command loses its map entry and slots, but its position is not released.
  const KeyboardItemInfo numeric = Item(L"06", L"ZXG", L"自选股", 0x6400, KIND_COMMAND, 9);
  ASSERT_TRUE(table.AddOneItem(&numeric, true, false));
  const int at = FindStored(table, numeric);
  EXPECT_TRUE(table.RemoveMarket(9));
  EXPECT_TRUE(table.m_mapNumericKeys.empty());
  EXPECT_EQ(FindStored(table, numeric), -1);
  EXPECT_EQ(table.m_setFreeItems.count(at), 0u);
  for (int g = 0; g < INDEX_GROUPS; ++g) EXPECT_TRUE(table.m_arrIndex[g][5].empty()) << g;

  table.ClearSource();
  EXPECT_FALSE(table.RemoveMarket(1));
}

TEST(TableRemove, ClearSourceLeavesTheTableWithoutStorage) {
  TableHost host;
  ManagerScope manager;
  UnknownCounters counters;
  std::vector<KeyboardItemInfo> items = MarketSecurities(100);
  items.push_back(Item(L"06", L"ZXG", L"自选股", 0x6400, KIND_COMMAND, 0xFF, 6,
                       new CCountingUnknown(&counters)));
  ASSERT_TRUE(manager->AddKeyboardItems(items.data(), int(items.size()), nullptr, FALSE));
  items.pop_back();  // the store now holds the only reference
  ASSERT_EQ(counters.destroyed, 0);

  testing::internal::CaptureStdout();
  EXPECT_TRUE(manager->ClearSource());
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "KeyboardInputMappingTable::ClearSource\n");
  KeyboardInputMappingTable* table = manager.Table();
  ASSERT_NE(table, nullptr);
  EXPECT_EQ(table->m_pItems, nullptr);
  EXPECT_EQ(table->m_pSlots, nullptr);
  EXPECT_EQ(table->m_pHitFlags, nullptr);
  EXPECT_EQ(table->m_nCapacity, 0);
  EXPECT_EQ(StoreViolations(*table), "");
  EXPECT_EQ(counters.destroyed, 1);

  // Adds store nothing and searches find nothing until the table is created again.
  manager->AddOneKeyboardItem(&items[0]);
  manager->AddKeyboardItems(items.data(), 10, nullptr, FALSE);
  EXPECT_EQ(table->m_pItems, nullptr);
  EXPECT_EQ(table->m_nItemCount, 0);
  std::vector<KeyboardItemInfo> results(2);
  manager->SearchKeyboardItems(L"600", &results, false);
  EXPECT_TRUE(results.empty());
  EXPECT_EQ(
      manager->RemoveKeyboardItem(L"06", L"ZXG", L"自选股", &items[0].m_wType, &items[0].m_dwKind),
      TRUE);
  EXPECT_EQ(manager->RetainCommandItems(), 0);  // nothing to keep: the table stays as it is
  EXPECT_EQ(table->m_pItems, nullptr);

  ASSERT_TRUE(manager->Initialize());
  ASSERT_TRUE(manager->AddOneKeyboardItem(&items[0]));
  EXPECT_EQ(manager.Table()->m_nCapacity, 8100);
  EXPECT_EQ(LiveCount(*manager.Table()), 1);
}

TEST(TableRemove, CollectCommandItemsSkipsReleasedPositions) {
  TableHost host;
  KeyboardInputMappingTable table;
  const std::vector<KeyboardItemInfo> items = {
      Stock(L"600000", L"PFYH", L"浦发银行"),     Cmd(L"06", L"ZXG", L"自选股", 0x6400),
      Cmd(L"MACD", L"MACD", L"平滑异同", 0x6500), Stock(L"000001", L"PAYH", L"平安银行", 0x0006, 0),
      Cmd(L"JYDL", L"JYDL", L"交易登录", 0x6703), Cmd(L"880001", L"BK", L"板块", 0x6600)};
  for (const KeyboardItemInfo& item : items) ASSERT_TRUE(table.AddOneItem(&item, true, false));
  ASSERT_EQ(Remove(table, items[2]), 1);
  std::set<int> positions;
  EXPECT_TRUE(table.CollectCommandItems(positions));
  EXPECT_EQ(positions, (std::set<int>{1, 4, 5}));
  EXPECT_TRUE(table.m_setFreeItems.empty());
  EXPECT_TRUE(table.m_setFreeSlots.empty());

  KeyboardInputMappingTable securitiesOnly;
  ASSERT_TRUE(securitiesOnly.AddOneItem(&items[0], true, false));
  positions.clear();
  EXPECT_FALSE(securitiesOnly.CollectCommandItems(positions));
  EXPECT_FALSE(securitiesOnly.RetainCommandItems());
  EXPECT_EQ(LiveCount(securitiesOnly), 1);  // kept as it was
}

TEST(TableRemove, RetainCommandItemsKeepsOnlyTheCommandsDensely) {
  TableHost host;
  ManagerScope manager;
  const std::vector<KeyboardItemInfo> securities = MarketSecurities(5000);
  const std::vector<KeyboardItemInfo> commands = MarketCommands(301);
  std::vector<KeyboardItemInfo> items;
  for (size_t s = 0, c = 0; s < securities.size() || c < commands.size();) {
    if (c < commands.size() && (s % 17 == 3 || s == securities.size()))
      items.push_back(commands[c++]);
    if (s < securities.size()) items.push_back(securities[s++]);
  }
  ASSERT_EQ(items.size(), 5301u);
  ASSERT_TRUE(manager->AddKeyboardItems(items.data(), 5301, nullptr, FALSE));
  KeyboardInputMappingTable* table = manager.Table();
  KeyboardItemInfo gone = commands[300];
  ASSERT_TRUE(manager->RemoveKeyboardItem(gone.m_szCode, gone.m_szHotKey, gone.m_szName,
                                          &gone.m_wType, &gone.m_dwKind));
  std::vector<std::pair<int, int>> byPosition;  // (position before, command)
  int expectedSlots = 0;
  for (int c = 0; c < 300; ++c) {
    byPosition.push_back({FindStored(*table, commands[c]), c});
    for (int k = 0; k < 3; ++k)
      if (!(IsNumericCommand(commands[c]) && ClassifyKey(KeyText(commands[c], k)) == 0))
        ++expectedSlots;
  }
  std::sort(byPosition.begin(), byPosition.end());

  EXPECT_EQ(manager->RetainCommandItems(), 1);
  EXPECT_EQ(table->m_nCapacity, 8100);
  EXPECT_EQ(table->m_nItemCount, 300);
  EXPECT_EQ(table->m_nSlotCount, expectedSlots);
  EXPECT_TRUE(table->m_setFreeItems.empty() && table->m_setFreeSlots.empty());
  for (int p = 0; p < 300; ++p) EXPECT_EQ(FindStored(*table, commands[byPosition[p].second]), p);
  EXPECT_EQ(FindStored(*table, gone), -1);
  for (int s = 0; s < 5000; s += 97) EXPECT_EQ(FindStored(*table, securities[s]), -1) << s;
  EXPECT_EQ(StoreViolations(*table), "");
}

}  // namespace
