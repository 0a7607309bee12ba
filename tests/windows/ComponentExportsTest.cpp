// The component as the terminal sees it: loaded by name, its three plain exports called.
#include <gtest/gtest.h>

#include "ComponentDll.h"
#include "frame/IHotKeyManager.h"

namespace {

// The module whose image holds the given code address.
HMODULE ModuleOf(FARPROC function) {
  HMODULE module = nullptr;
  GetModuleHandleExW(
      GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
      reinterpret_cast<LPCWSTR>(function), &module);
  return module;
}

}  // namespace

TEST(ComponentExports, PlainExportsComeFromTheComponentAndInitReleaseReturnZero) {
  ComponentDll dll;
  ASSERT_NE(dll.module(), nullptr) << "LoadLibraryW failed: " << GetLastError();

  for (const char* name : {"GetClassObject", "Init", "Release"}) {
    FARPROC function = dll.ExportAddress(name);
    ASSERT_NE(function, nullptr) << name;
    EXPECT_EQ(ModuleOf(function), dll.module()) << name;
  }
  auto init = dll.Export<PlainExportFn>("Init");
  auto release = dll.Export<PlainExportFn>("Release");
  EXPECT_EQ(init(), 0);
  EXPECT_EQ(release(), 0);
  EXPECT_EQ(init(), 0);
  EXPECT_EQ(release(), 0);
}

TEST(ComponentExports, GetClassObjectRejectsBadArgumentsWithoutWritingTheTarget) {
  ComponentDll dll;
  ASSERT_NE(dll.module(), nullptr);
  auto getClassObject = dll.Export<GetClassObjectFn>("GetClassObject");
  ASSERT_NE(getClassObject, nullptr);

  EXPECT_EQ(getClassObject(nullptr, HOTKEY_MANAGER_CLSID), E_FAIL);

  IUnknown* const occupied = reinterpret_cast<IUnknown*>(static_cast<uintptr_t>(0x1234));
  IUnknown* target = occupied;
  EXPECT_EQ(getClassObject(&target, HOTKEY_MANAGER_CLSID), E_FAIL);
  EXPECT_EQ(target, occupied);

  target = nullptr;
  EXPECT_EQ(getClassObject(&target, nullptr), E_FAIL);
  EXPECT_EQ(target, nullptr);

  // The identifier is compared case-sensitively and as a whole string.
  for (const wchar_t* id :
       {L"{86c58490-9422-478d-b21c-7ef0b28503f1}", L"{86C58490-9422-478D-B21C-7EF0B28503F1}",
        L"{86C58490-9422-478d-B21C-7EF0B28503F1} ", L"{86C58490-9422-478d-B21C-7EF0B28503F",
        L"86C58490-9422-478d-B21C-7EF0B28503F1", L""}) {
    target = nullptr;
    EXPECT_EQ(getClassObject(&target, id), E_FAIL) << testing::PrintToString(std::wstring(id));
    EXPECT_EQ(target, nullptr);
  }
}

TEST(ComponentExports, GetClassObjectHandsOutOneReferencedManager) {
  ComponentDll dll;
  ASSERT_NE(dll.module(), nullptr);
  auto getClassObject = dll.Export<GetClassObjectFn>("GetClassObject");
  ASSERT_NE(getClassObject, nullptr);

  IUnknown* object = nullptr;
  ASSERT_EQ(getClassObject(&object, HOTKEY_MANAGER_CLSID), S_OK);
  ASSERT_NE(object, nullptr);

  IUnknown* same = nullptr;
  EXPECT_EQ(object->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&same)), S_OK);
  EXPECT_EQ(same, object);
  EXPECT_EQ(same->Release(), 1u);
  // A second call makes a second manager.
  IUnknown* other = nullptr;
  ASSERT_EQ(getClassObject(&other, HOTKEY_MANAGER_CLSID), S_OK);
  EXPECT_NE(other, object);
  EXPECT_EQ(other->Release(), 0u);
  EXPECT_EQ(object->Release(), 0u);
}
