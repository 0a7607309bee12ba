// Removing, replacing, dropping a market, clearing and rebuilding with the commands only.
#include <gtest/gtest.h>

#include <algorithm>

#include "support/CountingUnknown.h"
#include "support/TableFixture.h"

namespace {

TEST(TableRemove, FindAndRemoveByIdentity) {
  TableHost host;
  KeyboardInputMappingTable table;
  const KeyboardItemInfo bank = Security(L"600000", L"PFYH", L"浦发银行");
  ASSERT_TRUE(AddEach(table, MarketSecurities(200, 800)));
  ASSERT_TRUE(AddEach(table, {bank, Command(L"06", L"ZXG", L"自选股", 0x6400)}));
  // Texts compare ignoring case; type word and kind must be the stored ones.
  const unsigned short type = 0x0102, otherType = 0x0103;
  const DWORD kind = 0, alias = KIND_ALIAS;
  EXPECT_EQ(table.FindItem(L"600000", L"pfyh", L"浦发银行", &type, &kind), 200);
  EXPECT_EQ(table.FindItem(L"600000", L"PFYH", L"浦发", &type, &kind), -1);
  EXPECT_EQ(table.RemoveItem(L"600000", L"PFYH", L"浦发银行", &otherType, &kind), 0);
  EXPECT_EQ(table.RemoveItem(L"600000", L"PFYH", L"浦发银行", &type, &alias), 0);
  EXPECT_EQ(table.RemoveItem(L"600000", L"pfyh", L"浦发银行", &type, &kind), 1);
  EXPECT_EQ(table.m_setFreeItems, std::set<int>{200});
  std::vector<KeyboardItemInfo> results;
  ASSERT_TRUE(table.Search(L"600000", &results, false));
  EXPECT_EQ(std::count(results.begin(), results.end(), bank), 0);
  EXPECT_EQ(RemoveStored(table, bank), 0);
  EXPECT_EQ(RemoveStored(table, Command(L"06", L"zxg", L"自选股", 0x6400)), 1);
  EXPECT_TRUE(table.m_mapNumericKeys.empty() && LiveCount(table) == 200);
  EXPECT_EQ(StoreViolations(table), "");
}

// The identity's texts compare ignoring case, yet a backward list is searched with differences
// of unconverted characters: "BBB" sorts below "aaa" there, so the binary search misses "AAA".
// The removal must still take the slot out of both directions' lists.
TEST(TableRemove, RemovalWithHotKeyInOtherCaseLeavesNoStaleBackwardEntry) {
  TableHost host;
  KeyboardInputMappingTable table;
  ASSERT_TRUE(
      AddEach(table, {Security(L"600001", L"AAA", L"N1"), Security(L"600002", L"BBB", L"N2"),
                      Security(L"600003", L"CCC", L"N3")}));
  EXPECT_EQ(RemoveStored(table, Security(L"600001", L"aaa", L"N1")), 1);
  EXPECT_EQ(FindStored(table, Security(L"600001", L"AAA", L"N1")), -1);
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
  ASSERT_TRUE(AddEach(table, {Security(L"600001", L"AAA", L"甲"),
                              Item(L"600002", L"BBB", L"乙", 0x0102, 0, 1, 5, old.get()),
                              Security(L"600003", L"CCC", L"丙")}));
  const unsigned short type = 0x0102;
  const DWORD kind = 0;
  auto replace = [&](const wchar_t* code, const wchar_t* hotKey, const wchar_t* name,
                     const wchar_t* newCode, const wchar_t* newHotKey, const wchar_t* newName,
                     const int* extra, IUnknown* object) {
    return table.ReplaceItem(code, hotKey, name, &type, &kind, newCode, newHotKey, newName, extra,
                             object, nullptr);
  };
  auto package = [&](int position) {
    return dynamic_cast<CPackager<KeyboardItemInfo>*>(table.m_pItems[position].m_pUnknown);
  };

  // Name only, no object: code and hot key stay, the record carries a package of itself.
  ASSERT_EQ(replace(L"600001", L"AAA", L"甲", nullptr, nullptr, L"甲乙", nullptr, nullptr), 1);
  EXPECT_EQ(FindStored(table, Security(L"600001", L"AAA", L"甲")), -1);
  ASSERT_EQ(FindStored(table, Security(L"600001", L"AAA", L"甲乙")), 0);
  ASSERT_NE(package(0), nullptr);
  EXPECT_TRUE(package(0)->m_value == table.m_pItems[0]);
  EXPECT_EQ(package(0)->m_value.m_pUnknown, nullptr);
  EXPECT_EQ(package(0)->RefCount(), 1);

  // With an object attached, the package's copy keeps it and the record holds the package.
  const int oldRefs = old->RefCount(), extra = 9;
  ASSERT_EQ(replace(L"600002", L"BBB", L"乙", nullptr, nullptr, L"乙丙", &extra, nullptr), 1);
  ASSERT_EQ(FindStored(table, Security(L"600002", L"BBB", L"乙丙")), 1);
  ASSERT_NE(package(1), nullptr);
  EXPECT_EQ(package(1)->m_value.m_pUnknown, old.get());
  EXPECT_TRUE(package(1)->m_value.m_nExtraInfo == 9 && table.m_pItems[1].m_nExtraInfo == 9);
  EXPECT_EQ(old->RefCount(), oldRefs);  // the store's reference moved into the package
  // A new object is referenced once by the store; the package it displaces goes away.
  for (int round = 0; round < 2; ++round) {
    ASSERT_EQ(replace(L"600002", L"BBB", L"乙丙", nullptr, nullptr, nullptr, nullptr, fresh.get()),
              1);
    EXPECT_EQ(table.m_pItems[1].m_pUnknown, fresh.get());
    EXPECT_EQ(fresh->RefCount(), 2);
    EXPECT_EQ(old->RefCount(), oldRefs - 1);
  }
  // Made equal to another stored record: the replaced one leaves, nothing is added.
  ASSERT_EQ(replace(L"600003", L"CCC", L"丙", L"600001", L"aaa", L"甲乙", nullptr, nullptr), 1);
  EXPECT_EQ(LiveCount(table), 2);
  EXPECT_EQ(replace(L"600009", L"CCC", L"丙", nullptr, nullptr, L"x", nullptr, nullptr), 0);
  EXPECT_EQ(StoreViolations(table), "");
  // While the terminal closes, the old record leaves and the new one is not stored.
  host.Env()->SetClosing(true);
  EXPECT_EQ(replace(L"600002", L"BBB", L"乙丙", nullptr, nullptr, L"丁", nullptr, nullptr), 1);
  EXPECT_EQ(LiveCount(table), 1);
}

// A numeric map entry does not say which key of its record it stands for: "0" is the code and
// the name of one command and all three keys of another. Removing the second takes its own
// entries only, and a find by the first's keys still finds the first.
TEST(TableRemove, NumericMapEntriesOfAnotherCommandWithTheSameDigitsStay) {
  TableHost host;
  KeyboardInputMappingTable table;
  const KeyboardItemInfo first = Command(L"0", L"aZ0", L"0", 0x6400, 36);
  const KeyboardItemInfo second = Command(L"0", L"0", L"0", 0x6400, 83);
  ASSERT_TRUE(AddEach(table, {first, second}));
  ASSERT_EQ(table.m_mapNumericKeys.size(), 5u);
  EXPECT_EQ(RemoveStored(table, second), 1);
  EXPECT_EQ(StoreViolations(table), "");
  EXPECT_EQ(table.m_mapNumericKeys.size(), 2u);
  for (const auto& entry : table.m_mapNumericKeys) EXPECT_EQ(entry.second, 0);
  EXPECT_EQ(FindStored(table, first), 0);
  EXPECT_EQ(FindStored(table, second), -1);
  // Nor does a find or a removal by the code "7" take the entry of another command's name "7".
  const KeyboardItemInfo namedSeven = Command(L"5", L"X", L"7", 0x6400, 1);
  ASSERT_TRUE(AddEach(table, {namedSeven}));
  const KeyboardItemInfo codeSeven = Command(L"7", L"X", L"7", 0x6400, 2);
  EXPECT_EQ(FindStored(table, codeSeven), -1);
  EXPECT_EQ(RemoveStored(table, codeSeven), 0);
  EXPECT_EQ(FindStored(table, namedSeven), 1);
  EXPECT_EQ(StoreViolations(table), "");
}

// Within a bulk add the lists are out of order until its end, so the duplicate check can miss the
// same item given twice and both are stored. A removal by its identity takes every entry of one of
// the two, never some of each, and the next removal takes the other.
TEST(TableRemove, IdenticalRecordsLeaveOneAtATime) {
  TableHost host;
  KeyboardInputMappingTable table;
  ASSERT_TRUE(
      AddEach(table, {Item(L"0", L"0", L"BZ0", 0x0102, 0, 0), Item(L"0", L"0", L"0", 0x0102, 0, 0),
                      Item(L"\xFF21", L"0", L"0", 0x0102, 0, 0)}));
  const KeyboardItemInfo item = Item(L"\xFF11", L"\xFF11", L"\xFF11", 0x0102, 0, 0, 12);
  ASSERT_TRUE(AddAll(table, {item, item}));
  ASSERT_EQ(LiveCount(table), 5);
  for (int left = 4; left >= 3; --left) {
    EXPECT_EQ(RemoveStored(table, item), 1);
    EXPECT_EQ(StoreViolations(table, false), "");
    EXPECT_EQ(LiveCount(table), left);
  }
  EXPECT_EQ(FindStored(table, item), -1);
}

TEST(TableRemove, RemoveMarketReleasesThatMarketOnly) {
  TableHost host;
  KeyboardInputMappingTable table;
  const std::vector<KeyboardItemInfo> items = MarketSecurities(160);
  const KeyboardItemInfo numeric = Item(L"06", L"ZXG", L"自选股", 0x6400, KIND_COMMAND, 9);
  ASSERT_TRUE(AddAll(table, items) && table.AddOneItem(&numeric, true, false));
  EXPECT_TRUE(table.RemoveMarket(7) && table.m_setFreeItems.empty());  // no such market
  EXPECT_TRUE(table.RemoveMarket(1));
  std::set<int> released;
  for (int p = 0; p < 160; ++p) {
    EXPECT_EQ(FindStored(table, items[p]), items[p].m_cMarket == 1 ? -1 : p) << p;
    if (items[p].m_cMarket == 1) released.insert(p);
  }
  EXPECT_EQ(released.size(), 60u);
  EXPECT_EQ(table.m_setFreeItems, released);
  EXPECT_EQ(table.m_setFreeSlots.size(), 3 * released.size());
  EXPECT_EQ(StoreViolations(table), "");
  // A numeric command loses its map entry and slots, but its position is not released.
  EXPECT_TRUE(table.RemoveMarket(9));
  EXPECT_TRUE(table.m_mapNumericKeys.empty() && table.m_arrIndex[2][5].empty());
  EXPECT_EQ(FindStored(table, numeric), -1);
  EXPECT_EQ(table.m_setFreeItems, released);
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
  testing::internal::CaptureStdout();
  EXPECT_TRUE(manager->ClearSource());
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "KeyboardInputMappingTable::ClearSource\n");
  const KeyboardInputMappingTable* table = manager.Table();
  EXPECT_TRUE(!table->m_pItems && !table->m_pSlots && !table->m_pHitFlags);
  EXPECT_EQ(StoreViolations(*table), "");
  EXPECT_EQ(counters.destroyed, 1);

  // Adds store nothing and searches find nothing until the table is created again.
  manager->AddOneKeyboardItem(&items[0]);
  manager->AddKeyboardItems(items.data(), 10, nullptr, FALSE);
  std::vector<KeyboardItemInfo> results(2);
  manager->SearchKeyboardItems(L"600", &results, false);
  EXPECT_TRUE(results.empty());
  EXPECT_EQ(
      manager->RemoveKeyboardItem(L"06", L"ZXG", L"自选股", &items[0].m_wType, &items[0].m_dwKind),
      TRUE);
  EXPECT_EQ(manager->RetainCommandItems(), 0);  // nothing to keep: the table stays as it is
  EXPECT_TRUE(table->m_pItems == nullptr && table->m_nItemCount == 0);
  // Initialize makes a fresh table; Uninitialize gives back the objects of the records.
  ASSERT_TRUE(manager->Initialize());
  ASSERT_TRUE(manager->AddOneKeyboardItem(&items[0]));
  EXPECT_EQ(manager.Table()->m_nCapacity, 8100);
  EXPECT_EQ(LiveCount(*manager.Table()), 1);
  KeyboardItemInfo item = Item(L"06", L"ZXG", L"自选股", 0x6400, KIND_COMMAND, 0xFF, 6,
                               new CCountingUnknown(&counters));
  ASSERT_TRUE(manager->AddOneKeyboardItem(&item));
  item.CopyRemoveIUnknownPtr(item);  // the table holds the only reference now
  EXPECT_TRUE(manager->Uninitialize());
  EXPECT_EQ(counters.destroyed, 2);
}

TEST(TableRemove, RetainCommandItemsKeepsOnlyTheCommandsDensely) {
  TableHost host;
  {
    KeyboardInputMappingTable securitiesOnly;  // nothing to keep: the table stays as it was
    ASSERT_TRUE(AddEach(securitiesOnly, MarketSecurities(1)));
    std::set<int> positions;
    EXPECT_FALSE(securitiesOnly.CollectCommandItems(positions));
    EXPECT_FALSE(securitiesOnly.RetainCommandItems());
    EXPECT_EQ(LiveCount(securitiesOnly), 1);
  }
  ManagerScope manager;
  const std::vector<KeyboardItemInfo> securities = MarketSecurities(5000);
  const std::vector<KeyboardItemInfo> commands = MarketCommands(301);
  std::vector<KeyboardItemInfo> items;
  for (size_t s = 0, c = 0; s < securities.size() || c < commands.size();) {
    if (c < commands.size() && (s % 17 == 3 || s == securities.size()))
      items.push_back(commands[c++]);
    if (s < securities.size()) items.push_back(securities[s++]);
  }
  ASSERT_TRUE(manager->AddKeyboardItems(items.data(), 5301, nullptr, FALSE));
  KeyboardInputMappingTable* table = manager.Table();
  ASSERT_EQ(RemoveStored(*table, commands[150]), 1);  // a released position is not kept
  EXPECT_EQ(manager->RetainCommandItems(), 1);
  EXPECT_EQ(table->m_nCapacity, 8100);
  EXPECT_EQ(table->m_nItemCount, 300);
  EXPECT_EQ(table->m_nSlotCount, 3 * 300 - 50);  // 50 are numeric, their codes in the map
  EXPECT_TRUE(table->m_setFreeItems.empty() && table->m_setFreeSlots.empty());
  // In their former order.
  for (int c = 0; c < 301; ++c)
    EXPECT_EQ(FindStored(*table, commands[c]), c < 150 ? c : c == 150 ? -1 : c - 1) << c;
  for (int s = 0; s < 5000; s += 97) EXPECT_EQ(FindStored(*table, securities[s]), -1) << s;
  EXPECT_EQ(StoreViolations(*table), "");
}

}  // namespace
