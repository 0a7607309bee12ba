// Vectors cross the component's boundary: the terminal's vector is filled inside the DLL and
// freed by the terminal. That is only sound when every module allocates from one C runtime heap.
#include <malloc.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "ComponentDll.h"
#include "frame/GlobalEnv.h"
#include "frame/IHotKeyManager.h"
#include "services/TerminalEnv.h"

namespace {

struct ResolvedImport {
  std::string dll;  // lower case
  void* address = nullptr;
};

// Where the loader bound a module's import of a named function: the supplying DLL and the
// address in the module's import address table.
ResolvedImport FindImport(HMODULE module, const char* function) {
  ResolvedImport found;
  auto base = reinterpret_cast<const BYTE*>(module);
  auto dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  auto nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& directory =
      nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  if (directory.VirtualAddress == 0) return found;
  for (auto descriptor =
           reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + directory.VirtualAddress);
       descriptor->Name != 0; ++descriptor) {
    auto names = reinterpret_cast<const IMAGE_THUNK_DATA*>(
        base +
        (descriptor->OriginalFirstThunk ? descriptor->OriginalFirstThunk : descriptor->FirstThunk));
    auto bound = reinterpret_cast<const IMAGE_THUNK_DATA*>(base + descriptor->FirstThunk);
    for (; names->u1.AddressOfData != 0; ++names, ++bound) {
      if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
      auto byName = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
      if (strcmp(reinterpret_cast<const char*>(byName->Name), function) != 0) continue;
      found.dll = reinterpret_cast<const char*>(base + descriptor->Name);
      std::transform(found.dll.begin(), found.dll.end(), found.dll.begin(),
                     [](char c) { return static_cast<char>(tolower(c)); });
      found.address = reinterpret_cast<void*>(bound->u1.Function);
      return found;
    }
  }
  return found;
}

KeyboardItemInfo Security(const wchar_t* code, const wchar_t* hotKey, const wchar_t* name) {
  // Shanghai A shares: market group 1, security type 2.
  KeyboardItemInfo item(code, hotKey, name, 0x0102, KeyboardItemInfo::INVALID_EXTRA_INFO_VALUE,
                        nullptr, 0, KEYBOARD_SELECT_NONE);
  item.m_cMarket = 1;
  return item;
}

// The manager of a loaded component, with the host environment that adding items needs.
class SharedHeap : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(m_dll.module(), nullptr);
    m_env = new CTerminalEnv();
    CGlobalEnv::SetGlobalEnv(m_env);
    auto getClassObject = m_dll.Export<GetClassObjectFn>("GetClassObject");
    ASSERT_NE(getClassObject, nullptr);
    IUnknown* object = nullptr;
    ASSERT_EQ(getClassObject(&object, HOTKEY_MANAGER_CLSID), S_OK);
    m_manager = static_cast<IHotKeyManager*>(object);
    ASSERT_TRUE(m_manager->Initialize());
  }

  void TearDown() override {
    if (m_manager) {
      EXPECT_TRUE(m_manager->Uninitialize());
      EXPECT_EQ(m_manager->Release(), 0u);
    }
    CGlobalEnv::SetGlobalEnv(nullptr);
  }

  ComponentDll m_dll;
  CTerminalEnv* m_env = nullptr;
  IHotKeyManager* m_manager = nullptr;
};

}  // namespace

TEST_F(SharedHeap, ComponentAndProgramAllocateThroughTheSameCRuntime) {
  for (const char* function : {"malloc", "free", "realloc"}) {
    ResolvedImport component = FindImport(m_dll.module(), function);
    ResolvedImport program = FindImport(GetModuleHandleW(nullptr), function);
    EXPECT_EQ(component.dll, "msvcrt.dll") << function;
    EXPECT_EQ(program.dll, "msvcrt.dll") << function;
    ASSERT_NE(component.address, nullptr) << function;
    EXPECT_EQ(component.address, program.address) << function;
    EXPECT_EQ(component.address,
              reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"msvcrt.dll"), function)))
        << function;
  }
}

TEST_F(SharedHeap, VectorFilledInsideTheComponentIsFreedByTheProgram) {
  KeyboardItemInfo items[] = {Security(L"600000", L"PFYH", L"浦发银行"),
                              Security(L"600004", L"BYJC", L"白云机场"),
                              Security(L"600009", L"SHJC", L"上海机场")};
  for (KeyboardItemInfo& item : items) ASSERT_TRUE(m_manager->AddOneKeyboardItem(&item));

  {
    std::vector<KeyboardItemInfo> results;  // empty: every byte of its storage comes from the DLL
    ASSERT_TRUE(m_manager->SearchKeyboardItems(L"600", &results, false));
    ASSERT_EQ(results.size(), 3u);
    std::set<std::wstring> codes;
    for (const KeyboardItemInfo& result : results) codes.insert(result.m_szCode);
    EXPECT_EQ(codes, (std::set<std::wstring>{L"600000", L"600004", L"600009"}));

    // The program's runtime knows the component's block: it is one of its own heap's.
    ASSERT_GT(results.capacity(), 0u);
    EXPECT_GE(_msize(results.data()), results.capacity() * sizeof(KeyboardItemInfo));

    // Growing it here moves the records into a block of the program and frees the DLL's block.
    results.reserve(results.capacity() * 4);
    EXPECT_EQ(results[0].m_cMarket, 1);
    ASSERT_TRUE(m_manager->SearchKeyboardItems(L"PFYH", &results, false));
    EXPECT_GE(results.size(), 1u);
  }  // freed by the program
  EXPECT_EQ(_heapchk(), _HEAPOK);
  EXPECT_TRUE(HeapValidate(GetProcessHeap(), 0, nullptr));

  // The same the other way round: a block of the program grown (reallocated) inside the DLL.
  std::vector<KeyboardItemInfo> small;
  small.reserve(1);
  ASSERT_TRUE(m_manager->SearchKeyboardItems(L"6000", &small, false));
  EXPECT_EQ(small.size(), 3u);
  small = std::vector<KeyboardItemInfo>();
  EXPECT_EQ(_heapchk(), _HEAPOK);
  EXPECT_TRUE(HeapValidate(GetProcessHeap(), 0, nullptr));
}
