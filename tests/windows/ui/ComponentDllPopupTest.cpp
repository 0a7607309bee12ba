// The component as the terminal loads it: the DLL finds the terminal's main frame, views and view
// types through the one framework, takes its dialog template from its own module, and hands a
// pick to the terminal's command window.
#include <gtest/gtest.h>

#include <vector>

#include "frame/IHotKeyManager.h"
#include "support/Pump.h"
#include "support/TestTerminal.h"

namespace {

typedef HRESULT (*GetClassObjectFn)(IUnknown**, const wchar_t*);

HMODULE LoadComponent() {
  wchar_t path[MAX_PATH];
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  wchar_t* slash = wcsrchr(path, L'\\');
  if (slash) slash[1] = 0;
  wcscat(path, L"HotKeyManagerFactory.dll");
  return LoadLibraryW(path);
}

}  // namespace

TEST(ComponentDllPopup, TerminalObjectsAreFoundAcrossModulesAndThePickArrives) {
  TestTerminal terminal;
  terminal.m_env.securities()->AddSecurity(L"600000", 1, L"浦发银行");
  HMODULE dll = LoadComponent();
  ASSERT_NE(dll, nullptr);
  auto getClassObject = reinterpret_cast<GetClassObjectFn>(
      reinterpret_cast<void (*)()>(GetProcAddress(dll, "GetClassObject")));
  ASSERT_NE(getClassObject, nullptr);
  IUnknown* unknown = nullptr;
  ASSERT_EQ(getClassObject(&unknown, HOTKEY_MANAGER_CLSID), S_OK);
  IHotKeyManager* manager = static_cast<IHotKeyManager*>(unknown);
  ASSERT_TRUE(manager->Initialize());
  KeyboardItemInfo item(L"600000", L"PFYH", L"浦发银行", 0x0102, 4242, nullptr, 0,
                        KEYBOARD_SELECT_NONE);
  item.m_cMarket = 1;
  ASSERT_TRUE(manager->AddOneKeyboardItem(&item));

  // The default place needs the frame's current view and its type, both the terminal's objects.
  terminal.m_frame.m_nViewType = 3;
  ASSERT_TRUE(manager->ShowSmartKeyboard(0, FALSE, 0, 0));
  HWND popup = FindWindowW(L"#32770", nullptr);
  ASSERT_NE(popup, nullptr);
  EXPECT_TRUE(IsWindowVisible(popup));
  RECT rect, command = terminal.CommandRect();
  GetWindowRect(popup, &rect);
  EXPECT_EQ(rect.right, command.right - 5);
  EXPECT_EQ(rect.bottom, command.bottom - 5);
  // Sized from the template in the component's own resources.
  EXPECT_GT(rect.right - rect.left, 100);

  terminal.m_view.m_pManager = manager;
  SendMessageW(popup, 0x7900, 0, 0);
  EXPECT_FALSE(IsWindowVisible(popup));
  terminal.m_view.SetFocus();
  terminal.Type(L"600000");
  ASSERT_TRUE(IsWindowVisible(popup));
  HWND edit = GetDlgItem(popup, 1001);
  ASSERT_NE(edit, nullptr);
  SendMessageW(edit, WM_KEYDOWN, VK_RETURN, 1);
  ASSERT_TRUE(PumpUntil([&] { return terminal.m_command.Find(0x51C) != nullptr; }));
  EXPECT_EQ(terminal.m_command.Find(0x51C)->wParam, 4242u);
  EXPECT_FALSE(IsWindowVisible(popup));
  EXPECT_EQ(GetFocus(), terminal.m_view.m_hWnd);

  terminal.m_view.m_pManager = nullptr;
  manager->Uninitialize();
  EXPECT_FALSE(IsWindow(popup));
  manager->Release();
  FreeLibrary(dll);
}
