// How the manager drives the pop-up without depending on a window system: the component's window
// code registers these operations when it is loaded; where none are registered (no window
// system), every request that needs the pop-up takes the failure path of a dialog that could not
// be created.
#pragma once

#include "platform/WinTypes.h"

class CSmartKeyboardDlg;
class KeyboardInputMappingTable;

struct SmartKeyboardPopupOps {
  // Replaces the dialog with a new one, created hidden; previousFocus gets the focus back after
  // creation (the terminal's current view when it is not a window). 0 when it failed.
  BOOL (*InitDialog)
  (CSmartKeyboardDlg*& dialog, KeyboardInputMappingTable* table, HWND previousFocus);
  // Destroys the window if there is one and deletes the object.
  void (*GetRidOfDialog)(CSmartKeyboardDlg*& dialog);
  bool (*HasWindow)(CSmartKeyboardDlg* dialog);
  LRESULT (*SendToDialog)(CSmartKeyboardDlg* dialog, UINT message, WPARAM wParam, LPARAM lParam);
  HWND (*FocusedWindow)();
  // Remembers the window to give the focus back to, then shows the pop-up.
  BOOL (*ShowDialog)(CSmartKeyboardDlg* dialog, HWND previousFocus, BOOL exactPos, int x, int y);
};

void RegisterSmartKeyboardPopup(const SmartKeyboardPopupOps* ops);
const SmartKeyboardPopupOps* SmartKeyboardPopup();
