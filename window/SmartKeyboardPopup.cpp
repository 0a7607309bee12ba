// The pop-up as the manager drives it (ISmartKeyboardPopup): creation from the component's dialog
// template, the tagged log lines, and the show operations' common steps.
#include <cstdarg>
#include <cstdio>
#include <cwchar>
#include <new>

#include "App.h"
#include "SmartKeyboardDlg.h"
#include "TerminalFrame.h"
#include "frame/Logger.h"
#include "frame/SmartKeyboardPopup.h"
#include "wfc/ModuleState.h"

namespace {

// The numbers the terminal's log readers know these two lines by.
const int LOG_CODE_DIALOG_DESTROYED = 185;
const int LOG_CODE_NO_PARENT_WINDOW = 123;
// The terminal's logger writes a line only at or above its logger's level.
const int LOG_LEVEL_COMPONENT = 10000;
const int LOG_LINE_CHARS = 2048;

// A line formatted into 2048 characters (cut if longer), written under the function's tag.
void WriteTaggedLog(const wchar_t* tag, const wchar_t* format, int value) {
  wchar_t line[LOG_LINE_CHARS];
  wmemset(line, 0, LOG_LINE_CHARS);
  swprintf(line, LOG_LINE_CHARS, format, value);
  line[LOG_LINE_CHARS - 1] = 0;
  TRefPtr<LightLogger::CLogger> logger =
      LightLogger::CLogger::GetLogger(tag, LIGHT_LOG_FILE_DEFAULT);
  logger->SetLogLevel(LOG_LEVEL_COMPONENT);
  logger->WriteLogLine(line, LOG_LEVEL_COMPONENT);
}

// The window library's side of the manager's pop-up.
class CSmartKeyboardPopup final : public ISmartKeyboardPopup {
 public:
  BOOL InitDialog(CSmartKeyboardDlg*& dialog, KeyboardInputMappingTable* table,
                  HWND previousFocus) override;
  void GetRidOfDialog(CSmartKeyboardDlg*& dialog) override;
  bool HasWindow(CSmartKeyboardDlg* dialog) override {
    return dialog && ::IsWindow(dialog->m_hWnd);
  }
  LRESULT SendToDialog(CSmartKeyboardDlg* dialog, UINT message, WPARAM wParam,
                       LPARAM lParam) override {
    return dialog->SendMessageW(message, wParam, lParam);
  }
  HWND FocusedWindow() override { return ::GetFocus(); }
  BOOL ShowDialog(CSmartKeyboardDlg* dialog, HWND previousFocus, BOOL exactPos, int x,
                  int y) override;
};

void CSmartKeyboardPopup::GetRidOfDialog(CSmartKeyboardDlg*& dialog) {
  CModuleStateScope componentState(ComponentModule());
  if (dialog) {
    if (HasWindow(dialog)) {
      WriteTaggedLog(L"[CHotKeyManager::GetRidOfSmartKeyboardDlg]",
                     L"m_pSmartKeyboardDlg->DestroyWindow %d", LOG_CODE_DIALOG_DESTROYED);
      dialog->DestroyWindow();
    }
    delete dialog;
  }
  dialog = nullptr;
}

BOOL CSmartKeyboardPopup::InitDialog(CSmartKeyboardDlg*& dialog, KeyboardInputMappingTable* table,
                                     HWND previousFocus) {
  CModuleStateScope componentState(ComponentModule());
  GetRidOfDialog(dialog);
  dialog = new (std::nothrow) CSmartKeyboardDlg(table);
  if (!dialog) return FALSE;
  HWND desktop = ::GetDesktopWindow();
  if (!desktop || !::IsWindow(desktop)) {
    WriteTaggedLog(L"[CHotKeyManager::InitSmartKeyboardDlg]", L"pParentWnd is NULL  %d",
                   LOG_CODE_NO_PARENT_WINDOW);
    return FALSE;
  }
  if (!dialog->CreateWithParent(IDD_SMART_KEYBOARD, desktop)) return FALSE;
  TRefPtr<CGlobalEnv> env = CGlobalEnv::GetGlobalEnv();
  if (!env) return FALSE;
  CModuleStateScope appState(WfcGetAppModule());
  CViewManager* frame = TerminalViewManager(env.get());
  if (!frame) return FALSE;
  // The trader keeps the focus where it was; the view takes it only when nothing had it.
  if (::IsWindow(previousFocus)) {
    ::SetFocus(previousFocus);
  } else if (CWnd* view = CurrentView(frame)) {
    if (::IsWindow(view->m_hWnd)) view->SetFocus();
  }
  return TRUE;
}

BOOL CSmartKeyboardPopup::ShowDialog(CSmartKeyboardDlg* dialog, HWND previousFocus, BOOL exactPos,
                                     int x, int y) {
  CModuleStateScope componentState(ComponentModule());
  if (::IsWindow(previousFocus)) dialog->SetPreviousFocus(previousFocus);
  return dialog->ActivateOnExactPos(TRUE, exactPos, x, y);
}

CSmartKeyboardPopup g_popup;

}  // namespace

void RegisterWindowPopup() { RegisterSmartKeyboardPopup(&g_popup); }
