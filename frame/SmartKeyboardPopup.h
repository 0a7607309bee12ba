// The pop-up as the manager drives it, without depending on a window system. The component's
// window code implements this interface and registers one instance when the library is loaded;
// where none is registered (no window system), every request that needs the pop-up takes the
// failure path of a dialog that could not be created.
#pragma once

#include "platform/WinTypes.h"

class CSmartKeyboardDlg;
class KeyboardInputMappingTable;

class ISmartKeyboardPopup {
 public:
  // Replaces the dialog with a new one, created hidden; previousFocus gets the focus back after
  // creation (the terminal's current view when it is not a window). FALSE when it failed.
  virtual BOOL InitDialog(CSmartKeyboardDlg*& dialog, KeyboardInputMappingTable* table,
                          HWND previousFocus) = 0;
  // Destroys the window if there is one and deletes the object.
  virtual void GetRidOfDialog(CSmartKeyboardDlg*& dialog) = 0;
  virtual bool HasWindow(CSmartKeyboardDlg* dialog) = 0;
  virtual LRESULT SendToDialog(CSmartKeyboardDlg* dialog, UINT message, WPARAM wParam,
                               LPARAM lParam) = 0;
  virtual HWND FocusedWindow() = 0;
  // Remembers the window to give the focus back to, then shows the pop-up.
  virtual BOOL ShowDialog(CSmartKeyboardDlg* dialog, HWND previousFocus, BOOL exactPos, int x,
                          int y) = 0;

 protected:
  ~ISmartKeyboardPopup() = default;  // registered instances live as long as the module
};

// Null unregisters.
void RegisterSmartKeyboardPopup(ISmartKeyboardPopup* popup);
ISmartKeyboardPopup* SmartKeyboardPopup();
