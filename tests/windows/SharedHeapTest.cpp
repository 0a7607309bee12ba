// Vectors cross the component's boundary: the terminal's vector is filled inside the DLL and
// freed by the terminal. That is only sound when every module allocates from one C runtime heap,
// which the image check (CheckDllImage.cmake) requires of the import tables; this is the same
// seen at run time.
#include <malloc.h>

#include <gtest/gtest.h>

#include <vector>

#include "ComponentDll.h"
#include "frame/IHotKeyManager.h"
#include "tests/native/support/EnvScope.h"

TEST(SharedHeap, VectorFilledInsideTheComponentIsFreedByTheProgram) {
  ComponentDll dll;
  auto getClassObject = dll.Export<GetClassObjectFn>("GetClassObject");
  ASSERT_NE(getClassObject, nullptr);
  EnvScope env;  // adding items needs the host environment
  IUnknown* object = nullptr;
  ASSERT_EQ(getClassObject(&object, HOTKEY_MANAGER_CLSID), S_OK);
  IHotKeyManager* manager = static_cast<IHotKeyManager*>(object);
  ASSERT_TRUE(manager->Initialize());
  for (const wchar_t* code : {L"600000", L"600004", L"600009"}) {
    KeyboardItemInfo item(code, L"PFYH", L"浦发银行", 0x0102, -1, nullptr, 0, KEYBOARD_SELECT_NONE);
    item.m_cMarket = 1;
    ASSERT_TRUE(manager->AddOneKeyboardItem(&item));
  }
  {
    std::vector<KeyboardItemInfo> results;  // empty: every byte of its storage comes from the DLL
    ASSERT_TRUE(manager->SearchKeyboardItems(L"600", &results, false));
    ASSERT_EQ(results.size(), 3u);
    // The program's runtime knows the component's block: it is one of its own heap's.
    EXPECT_GE(_msize(results.data()), results.capacity() * sizeof(KeyboardItemInfo));
    // Growing it here moves the records into a block of the program and frees the DLL's block.
    results.reserve(results.capacity() * 4);
    ASSERT_TRUE(manager->SearchKeyboardItems(L"PFYH", &results, false));
    EXPECT_EQ(results.size(), 3u);
  }  // freed by the program
  EXPECT_EQ(_heapchk(), _HEAPOK);
  EXPECT_TRUE(HeapValidate(GetProcessHeap(), 0, nullptr));
  // The same the other way round: a block of the program grown (reallocated) inside the DLL.
  std::vector<KeyboardItemInfo> small;
  small.reserve(1);
  ASSERT_TRUE(manager->SearchKeyboardItems(L"6000", &small, false));
  EXPECT_EQ(small.size(), 3u);
  small = std::vector<KeyboardItemInfo>();
  EXPECT_EQ(_heapchk(), _HEAPOK);
  EXPECT_TRUE(HeapValidate(GetProcessHeap(), 0, nullptr));
  EXPECT_TRUE(manager->Uninitialize());
  EXPECT_EQ(manager->Release(), 0u);
}
