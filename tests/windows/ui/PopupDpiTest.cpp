// The pop-up in a DPI-aware terminal on a 144-dpi desktop: the system's dpi is read when a
// process starts, so the parent sets the desktop's LogPixels, runs this program again for the
// child case, and puts the setting back.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "frame/IHotKeyManager.h"
#include "support/Pump.h"
#include "support/TestTerminal.h"
#include "support/WindowPeers.h"
#include "window/SmartKeyboardDlg.h"
#include "window/SuggestListWnd.h"

namespace {

const wchar_t kDesktopKey[] = L"Control Panel\\Desktop";

// Sets LogPixels for the life of the scope, restoring what was there.
class DesktopDpiScope {
 public:
  explicit DesktopDpiScope(DWORD dpi) {
    DWORD size = sizeof(m_old);
    m_hadValue = RegGetValueW(HKEY_CURRENT_USER, kDesktopKey, L"LogPixels", RRF_RT_REG_DWORD,
                              nullptr, &m_old, &size) == ERROR_SUCCESS;
    RegSetKeyValueW(HKEY_CURRENT_USER, kDesktopKey, L"LogPixels", REG_DWORD, &dpi, sizeof(dpi));
  }
  ~DesktopDpiScope() {
    if (m_hadValue)
      RegSetKeyValueW(HKEY_CURRENT_USER, kDesktopKey, L"LogPixels", REG_DWORD, &m_old,
                      sizeof(m_old));
    else
      RegDeleteKeyValueW(HKEY_CURRENT_USER, kDesktopKey, L"LogPixels");
  }

 private:
  DWORD m_old = 96;
  bool m_hadValue = false;
};

void DeclareDpiAware() {
  typedef BOOL(WINAPI * SetContextFn)(HANDLE);
  HMODULE user32 = GetModuleHandleW(L"user32.dll");
  auto setContext = reinterpret_cast<SetContextFn>(
      reinterpret_cast<void (*)()>(GetProcAddress(user32, "SetProcessDpiAwarenessContext")));
  // Per-monitor aware, version 2.
  if (!setContext || !setContext(reinterpret_cast<HANDLE>(static_cast<LONG_PTR>(-4))))
    SetProcessDPIAware();
}

}  // namespace

// Runs in the child only: the checks of the scaled layout.
TEST(PopupDpi, DISABLED_ChildAt144) {
  DeclareDpiAware();
  TestTerminal terminal;
  IUnknown* unknown = nullptr;
  ASSERT_EQ(GetClassObject(&unknown, HOTKEY_MANAGER_CLSID), S_OK);
  IHotKeyManager* manager = static_cast<IHotKeyManager*>(unknown);
  terminal.m_view.m_pManager = manager;
  ASSERT_TRUE(manager->Initialize());
  KeyboardItemInfo item(L"600000", L"PFYH", L"浦发银行", 0x0102, 1, nullptr, 0,
                        KEYBOARD_SELECT_NONE);
  item.m_cMarket = 1;
  manager->AddOneKeyboardItem(&item);
  terminal.Type(L"6");
  CSmartKeyboardDlg* dialog =
      static_cast<CSmartKeyboardDlg*>(CWnd::FromHandlePermanent(FindWindowW(L"#32770", nullptr)));
  ASSERT_NE(dialog, nullptr);
  ASSERT_TRUE(dialog->IsWindowVisible());
  SmartKeyboardDlgTestPeer peer(*dialog);
  EXPECT_EQ(peer.Dpi(), 144);
  EXPECT_EQ(peer.CaptionRect().bottom - peer.CaptionRect().top, 39);
  EXPECT_EQ(peer.ListPeer().RowHeight(), 33);
  RECT window;
  dialog->GetWindowRect(&window);
  // The input-text bitmap is 270 wide: S(300) plus twice the scaled border, and S(350) high.
  EXPECT_EQ(window.right - window.left, 450 + 2 * 8);
  EXPECT_EQ(window.bottom - window.top, 525);
  const RECT& row = peer.ListPeer().RowRect(0);
  EXPECT_GE(row.bottom - row.top, 33);
  terminal.m_view.m_pManager = nullptr;
  manager->Uninitialize();
  manager->Release();
}

TEST(PopupDpi, DpiAwareTerminalOnA144DpiDesktopScalesThePopup) {
  wchar_t program[MAX_PATH];
  GetModuleFileNameW(nullptr, program, MAX_PATH);
  std::wstring command = L"\"" + std::wstring(program) +
                         L"\" --gtest_also_run_disabled_tests "
                         L"--gtest_filter=PopupDpi.DISABLED_ChildAt144";
  DesktopDpiScope dpi(144);
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process = {};
  ASSERT_TRUE(CreateProcessW(nullptr, &command[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                             &startup, &process));
  ASSERT_EQ(WaitForSingleObject(process.hProcess, 60000), WAIT_OBJECT_0);
  DWORD exitCode = 1;
  GetExitCodeProcess(process.hProcess, &exitCode);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  EXPECT_EQ(exitCode, 0u) << "the child's checks failed (its output is above)";
}
