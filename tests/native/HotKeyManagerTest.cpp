// The manager behind IHotKeyManager: the factory, the table's life cycle and the guards of the
// table slots.
#include <gtest/gtest.h>

#include "frame/HotKeyManager.h"
#include "support/TableFixture.h"

namespace {

TEST(HotKeyManager, GetClassObjectChecksItsArguments) {
  IUnknown* const sentinel = reinterpret_cast<IUnknown*>(0x1234);
  IUnknown* target = sentinel;
  EXPECT_EQ(GetClassObject(nullptr, HOTKEY_MANAGER_CLSID), E_FAIL);
  EXPECT_EQ(GetClassObject(&target, HOTKEY_MANAGER_CLSID), E_FAIL);  // occupied target
  EXPECT_EQ(target, sentinel);
  target = nullptr;
  // The identifier is compared case-sensitively and as a whole string.
  for (const wchar_t* id :
       {static_cast<const wchar_t*>(nullptr), L"{86c58490-9422-478d-b21c-7ef0b28503f1}",
        L"{86C58490-9422-478D-B21C-7EF0B28503F1}", L"{86C58490-9422-478d-B21C-7EF0B28503F1} ",
        L"86C58490-9422-478d-B21C-7EF0B28503F1", L""}) {
    EXPECT_EQ(GetClassObject(&target, id), E_FAIL);
    EXPECT_EQ(target, nullptr);
  }
  ASSERT_EQ(GetClassObject(&target, L"{86C58490-9422-478d-B21C-7EF0B28503F1}"), S_OK);
  // One reference, no table before Initialize.
  EXPECT_EQ(static_cast<CHotKeyManager*>(target)->MappingTable(), nullptr);
  EXPECT_EQ(target->Release(), 0u);
}

// The answers of the table slots in order: bulk add, single add, search, filtered search,
// rebuild, clear, drop market, removal and replacement of the stored 600000.
std::vector<int> SlotAnswers(IHotKeyManager* manager) {
  KeyboardItemInfo stored = Security(L"600000", L"PFYH", L"浦发银行");
  KeyboardItemInfo other = Security(L"600001", L"AAA", L"甲");
  std::vector<KeyboardItemInfo> results;
  std::vector<int> categories;
  return {manager->AddKeyboardItems(&other, 1, &categories, FALSE),
          manager->AddOneKeyboardItem(&other),
          manager->SearchKeyboardItems(L"600000", &results, false),
          manager->SearchKeyboardItemsEx(L"600000", &results, &categories),
          manager->RetainCommandItems(),
          manager->ClearSource(),
          manager->RemoveMarket(1),
          manager->RemoveKeyboardItem(L"600000", L"PFYH", L"浦发银行", &stored.m_wType,
                                      &stored.m_dwKind),
          manager->ReplaceKeyboardItem(L"600000", L"PFYH", L"浦发银行", &stored.m_wType,
                                       &stored.m_dwKind, nullptr, nullptr, L"x", nullptr, nullptr,
                                       nullptr)};
}

// Before Initialize, after Uninitialize and when the lock cannot be taken (no lock event: every
// wait fails), the slots report it each in its own way.
TEST(HotKeyManager, SlotsWithoutATableOrWithoutTheLock) {
  TableHost host;
  ManagerScope manager(false);
  for (int round = 0; round < 2; ++round) {
    EXPECT_EQ(SlotAnswers(manager.get()), std::vector<int>(9, 0)) << round;
    ASSERT_TRUE(manager->Initialize());
    EXPECT_TRUE(manager->Uninitialize());
    EXPECT_TRUE(manager->Uninitialize());  // a second time finds nothing to destroy
    EXPECT_EQ(manager.Table(), nullptr);
  }
  ASSERT_TRUE(manager->Initialize());
  KeyboardInputMappingTable* table = manager.Table();
  KeyboardItemInfo stored = Security(L"600000", L"PFYH", L"浦发银行");
  ASSERT_TRUE(manager->AddOneKeyboardItem(&stored));
  const HANDLE lock = table->m_hLock;
  table->m_hLock = nullptr;
  // The terminal is not told of a failed bulk add; the rebuild reports success without doing it.
  EXPECT_EQ(SlotAnswers(manager.get()), (std::vector<int>{1, 0, 0, 0, 1, 0, 0, 0, 0}));
  EXPECT_EQ(FindStored(*table, stored), 0);
  // Given its event back, the table was left unlocked by every refused operation.
  table->m_hLock = lock;
  // (The rebuild finds no command to keep.)
  EXPECT_EQ(SlotAnswers(manager.get()), (std::vector<int>{1, 1, 1, 1, 0, 1, 1, 1, 1}));
}

TEST(HotKeyManager, AddsNeedAnOpenEnvironment) {
  ManagerScope manager;
  KeyboardItemInfo item = Security(L"600000", L"PFYH", L"浦发银行");
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
  // A missing item is not an error of the removal and replacement slots.
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

}  // namespace
