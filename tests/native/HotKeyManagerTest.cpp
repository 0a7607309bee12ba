// The manager behind IHotKeyManager: the factory, the table's life cycle and the guards of the
// table slots.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "frame/HotKeyManager.h"
#include "platform/Platform.h"
#include "support/CountingUnknown.h"
#include "support/TableFixture.h"

namespace {

using namespace store_test;

TEST(HotKeyManager, GetClassObjectChecksItsArguments) {
  IUnknown* sentinel = reinterpret_cast<IUnknown*>(0x1234);
  IUnknown* target = sentinel;
  EXPECT_EQ(GetClassObject(nullptr, HOTKEY_MANAGER_CLSID), E_FAIL);
  EXPECT_EQ(GetClassObject(&target, HOTKEY_MANAGER_CLSID), E_FAIL);
  EXPECT_EQ(target, sentinel);
  target = nullptr;
  for (const wchar_t* id :
       {static_cast<const wchar_t*>(nullptr), L"{86c58490-9422-478d-b21c-7ef0b28503f1}",
        L"{86C58490-9422-478D-B21C-7EF0B28503F1}", L"{86C58490-9422-478d-B21C-7EF0B28503F1} ",
        L"86C58490-9422-478d-B21C-7EF0B28503F1", L""}) {
    EXPECT_EQ(GetClassObject(&target, id), E_FAIL);
    EXPECT_EQ(target, nullptr);
  }

  ASSERT_EQ(GetClassObject(&target, L"{86C58490-9422-478d-B21C-7EF0B28503F1}"), S_OK);
  ASSERT_NE(target, nullptr);
  auto* manager = static_cast<IHotKeyManager*>(target);
  EXPECT_EQ(manager->RefCount(), 1);
  IUnknown* same = nullptr;
  ASSERT_EQ(target->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&same)), S_OK);
  EXPECT_EQ(same, target);
  EXPECT_EQ(same->Release(), 1u);
  EXPECT_EQ(static_cast<CHotKeyManager*>(manager)->MappingTable(), nullptr);
  EXPECT_EQ(target->Release(), 0u);
}

TEST(HotKeyManager, EveryTableSlotFailsWithoutATable) {
  TableHost host;
  ManagerScope manager(false);
  KeyboardItemInfo item = Stock(L"600000", L"PFYH", L"浦发银行");
  std::vector<KeyboardItemInfo> results;
  std::vector<int> categories;
  for (int round = 0; round < 2; ++round) {
    EXPECT_FALSE(manager->AddKeyboardItems(&item, 1, &categories, FALSE));
    EXPECT_FALSE(manager->AddOneKeyboardItem(&item));
    EXPECT_FALSE(manager->SearchKeyboardItems(L"600000", &results, false));
    EXPECT_FALSE(manager->SearchKeyboardItemsEx(L"600000", &results, &categories));
    EXPECT_EQ(manager->RetainCommandItems(), 0);
    EXPECT_FALSE(manager->ClearSource());
    EXPECT_FALSE(manager->RemoveMarket(1));
    EXPECT_EQ(
        manager->RemoveKeyboardItem(L"600000", L"PFYH", L"浦发银行", &item.m_wType, &item.m_dwKind),
        FALSE);
    EXPECT_EQ(
        manager->ReplaceKeyboardItem(L"600000", L"PFYH", L"浦发银行", &item.m_wType, &item.m_dwKind,
                                     nullptr, nullptr, L"x", nullptr, nullptr, nullptr),
        FALSE);
    // After a table existed and was destroyed, the same holds.
    ASSERT_TRUE(manager->Initialize());
    EXPECT_TRUE(manager->Uninitialize());
    EXPECT_TRUE(manager->Uninitialize());  // a second time finds nothing to destroy
    EXPECT_EQ(manager.Table(), nullptr);
  }
}

TEST(HotKeyManager, InitializeReplacesTheTableAndReleasesItsObjects) {
  TableHost host;
  ManagerScope manager;
  UnknownCounters counters;
  KeyboardItemInfo item =
      Item(L"600000", L"PFYH", L"浦发银行", 0x0102, 0, 1, -1, new CCountingUnknown(&counters));
  ASSERT_TRUE(manager->AddOneKeyboardItem(&item));
  item.CopyRemoveIUnknownPtr(item);  // the table holds the only reference now
  ASSERT_EQ(counters.destroyed, 0);
  ASSERT_TRUE(manager->Initialize());
  EXPECT_EQ(counters.destroyed, 1);
  KeyboardInputMappingTable* table = manager.Table();
  ASSERT_NE(table, nullptr);
  // A fresh table: 8100 records, 24300 free slots, no hit flags set, lock free.
  EXPECT_EQ(table->m_nCapacity, 8100);
  EXPECT_EQ(table->m_nItemCount, 0);
  EXPECT_EQ(table->m_nPlacement, -1);
  EXPECT_EQ(table->m_nOpenMode, 0);
  EXPECT_EQ(table->m_pTargetContainer, nullptr);
  EXPECT_EQ(table->m_hTargetWnd, nullptr);
  for (int s = 0; s < 3 * 8100; ++s)
    ASSERT_TRUE(table->m_pSlots[s].m_nItem == -1 && table->m_pSlots[s].m_nKey == 255) << s;
  for (int p = 0; p < 8100; ++p) ASSERT_EQ(table->m_pHitFlags[p], 0) << p;
  EXPECT_EQ(FindStored(*table, item), -1);
  ASSERT_TRUE(manager->AddOneKeyboardItem(&item));
  EXPECT_EQ(FindStored(*table, item), 0);

  item = Item(L"000001", L"PAYH", L"平安银行", 0x0006, 0, 0, -1, new CCountingUnknown(&counters));
  ASSERT_TRUE(manager->AddOneKeyboardItem(&item));
  item.CopyRemoveIUnknownPtr(item);
  EXPECT_TRUE(manager->Uninitialize());
  EXPECT_EQ(counters.destroyed, 2);
}

TEST(HotKeyManager, AddsNeedAnOpenEnvironment) {
  ManagerScope manager;
  KeyboardItemInfo item = Stock(L"600000", L"PFYH", L"浦发银行");
  std::vector<int> categories;
  ASSERT_FALSE(CGlobalEnv::GetGlobalEnv());
  EXPECT_FALSE(manager->AddKeyboardItems(&item, 1, &categories, FALSE));
  EXPECT_FALSE(manager->AddOneKeyboardItem(&item));
  TableHost host;
  host.Env()->SetClosing(true);
  EXPECT_FALSE(manager->AddKeyboardItems(&item, 1, &categories, FALSE));
  EXPECT_FALSE(manager->AddOneKeyboardItem(&item));
  EXPECT_EQ(manager.Table()->m_nItemCount, 0);
  host.Env()->SetClosing(false);
  EXPECT_TRUE(manager->AddOneKeyboardItem(&item));
  EXPECT_EQ(manager.Table()->m_nItemCount, 1);
  // A missing item is not an error of the removal slot.
  EXPECT_EQ(
      manager->RemoveKeyboardItem(L"600001", L"PFYH", L"浦发银行", &item.m_wType, &item.m_dwKind),
      TRUE);
  EXPECT_EQ(
      manager->ReplaceKeyboardItem(L"600001", L"PFYH", L"浦发银行", &item.m_wType, &item.m_dwKind,
                                   nullptr, nullptr, L"x", nullptr, nullptr, nullptr),
      TRUE);
  EXPECT_EQ(manager.Table()->m_nItemCount, 1);
  // The market is taken from the low eight bits.
  EXPECT_TRUE(manager->RemoveMarket(0x100 | 1));
  EXPECT_EQ(LiveCount(*manager.Table()), 0);
}

// Without a lock event every wait fails: the slots report it each in its own way.
TEST(HotKeyManager, SlotsWhenTheLockCannotBeTaken) {
  TableHost host;
  ManagerScope manager;
  KeyboardInputMappingTable* table = manager.Table();
  KeyboardItemInfo item = Stock(L"600000", L"PFYH", L"浦发银行");
  ASSERT_TRUE(manager->AddOneKeyboardItem(&item));
  HANDLE lock = table->m_hLock;
  table->m_hLock = nullptr;
  KeyboardItemInfo other = Stock(L"600001", L"AAA", L"甲");
  std::vector<int> categories;
  std::vector<KeyboardItemInfo> results;
  EXPECT_TRUE(
      manager->AddKeyboardItems(&other, 1, &categories, FALSE));  // the terminal is not told
  EXPECT_FALSE(manager->AddOneKeyboardItem(&other));
  EXPECT_FALSE(manager->SearchKeyboardItems(L"600000", &results, false));
  EXPECT_FALSE(manager->SearchKeyboardItemsEx(L"600000", &results, &categories));
  EXPECT_EQ(manager->RetainCommandItems(), 1);  // the rebuild reports success without doing it
  EXPECT_FALSE(manager->ClearSource());
  EXPECT_FALSE(manager->RemoveMarket(1));
  EXPECT_EQ(
      manager->RemoveKeyboardItem(L"600000", L"PFYH", L"浦发银行", &item.m_wType, &item.m_dwKind),
      FALSE);
  EXPECT_EQ(
      manager->ReplaceKeyboardItem(L"600000", L"PFYH", L"浦发银行", &item.m_wType, &item.m_dwKind,
                                   nullptr, nullptr, L"x", nullptr, nullptr, nullptr),
      FALSE);
  EXPECT_EQ(table->m_nItemCount, 1);
  EXPECT_EQ(FindStored(*table, item), 0);
  EXPECT_EQ(FindStored(*table, other), -1);

  // Given its event back, the table was left unlocked by every refused operation.
  table->m_hLock = lock;
  EXPECT_TRUE(manager->AddOneKeyboardItem(&other));
  EXPECT_TRUE(manager->SearchKeyboardItems(L"600000", &results, false));
  EXPECT_EQ(LiveCount(*table), 2);
}

}  // namespace
