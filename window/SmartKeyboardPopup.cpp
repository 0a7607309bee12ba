// The pop-up as the manager drives it: creation from the component's dialog template, the
// tagged log lines, and the show operations' common steps.
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

// A line formatted into 2048 characters (cut if longer), written under the function's tag.
void WriteTaggedLog(const wchar_t* tag, const wchar_t* format, int value) {
  wchar_t line[2048];
  wmemset(line, 0, 2048);
  swprintf(line, 2048, format, value);
  line[2047] = 0;
  TRefPtr<LightLogger::CLogger> logger =
      LightLogger::CLogger::GetLogger(tag, LIGHT_LOG_FILE_DEFAULT);
  logger->SetLogLevel(10000);
  logger->WriteLogLine(line, 10000);
}

bool HasWindow(CSmartKeyboardDlg* dialog) { return dialog && ::IsWindow(dialog->m_hWnd); }

void GetRidOfDialog(CSmartKeyboardDlg*& dialog) {
  CModuleStateScope componentState(ComponentModule());
  if (dialog) {
    if (HasWindow(dialog)) {
      WriteTaggedLog(L"[CHotKeyManager::GetRidOfSmartKeyboardDlg]",
                     L"m_pSmartKeyboardDlg->DestroyWindow %d", 185);
      dialog->DestroyWindow();
    }
    delete dialog;
  }
  dialog = nullptr;
}

BOOL InitDialog(CSmartKeyboardDlg*& dialog, KeyboardInputMappingTable* table, HWND previousFocus) {
  CModuleStateScope componentState(ComponentModule());
  GetRidOfDialog(dialog);
  dialog = new (std::nothrow) CSmartKeyboardDlg(table);
  if (!dialog) return FALSE;
  HWND desktop = ::GetDesktopWindow();
  if (!desktop || !::IsWindow(desktop)) {
    WriteTaggedLog(L"[CHotKeyManager::InitSmartKeyboardDlg]", L"pParentWnd is NULL  %d", 123);
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

LRESULT SendToDialog(CSmartKeyboardDlg* dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  return dialog->SendMessageW(message, wParam, lParam);
}

HWND FocusedWindow() { return ::GetFocus(); }

BOOL ShowDialog(CSmartKeyboardDlg* dialog, HWND previousFocus, BOOL exactPos, int x, int y) {
  CModuleStateScope componentState(ComponentModule());
  if (::IsWindow(previousFocus)) dialog->m_hPrevFocus = previousFocus;
  return dialog->ActivateOnExactPos(TRUE, exactPos, x, y);
}

const SmartKeyboardPopupOps kPopupOps = {InitDialog,   GetRidOfDialog, HasWindow,
                                         SendToDialog, FocusedWindow,  ShowDialog};

}  // namespace

void RegisterWindowPopup() { RegisterSmartKeyboardPopup(&kPopupOps); }
