// The component as the terminal sees it: loaded by name, its three plain exports called. The
// argument checks of GetClassObject are tested with the manager.
#include <gtest/gtest.h>

#include "ComponentDll.h"
#include "frame/IHotKeyManager.h"

TEST(ComponentExports, PlainExportsComeFromTheComponentAndWork) {
  ComponentDll dll;
  ASSERT_NE(dll.module(), nullptr) << "LoadLibraryW failed: " << GetLastError();
  for (const char* name : {"GetClassObject", "Init", "Release"}) {
    HMODULE module = nullptr;  // the module whose image holds the function
    GetModuleHandleExW(
        GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
        reinterpret_cast<LPCWSTR>(dll.ExportAddress(name)), &module);
    EXPECT_EQ(module, dll.module()) << name;
  }
  auto init = dll.Export<PlainExportFn>("Init");
  auto release = dll.Export<PlainExportFn>("Release");
  for (int round = 0; round < 2; ++round) EXPECT_TRUE(init() == 0 && release() == 0) << round;

  // One referenced manager a call, for the identifier exactly as registered.
  auto getClassObject = dll.Export<GetClassObjectFn>("GetClassObject");
  IUnknown *object = nullptr, *other = nullptr, *same = nullptr;
  EXPECT_EQ(getClassObject(&object, L"{86C58490-9422-478D-B21C-7EF0B28503F1}"), E_FAIL);
  ASSERT_EQ(getClassObject(&object, HOTKEY_MANAGER_CLSID), S_OK);
  EXPECT_EQ(getClassObject(&object, HOTKEY_MANAGER_CLSID), E_FAIL);  // occupied target
  EXPECT_EQ(object->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&same)), S_OK);
  EXPECT_TRUE(same == object && same->Release() == 1u);
  ASSERT_EQ(getClassObject(&other, HOTKEY_MANAGER_CLSID), S_OK);
  EXPECT_NE(other, object);
  EXPECT_TRUE(other->Release() == 0u && object->Release() == 0u);
}
