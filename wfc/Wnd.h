// CWnd: a framework object attached to one window handle. Every framework window of the process,
// the terminal's and the components', is found through one handle map, so a component can reach
// the terminal's frame objects from their handles.
#pragma once

#include <windows.h>

#include "MessageMap.h"
#include "WfcExport.h"

class WFC_API CWnd {
 public:
  CWnd();
  virtual ~CWnd();
  CWnd(const CWnd&) = delete;
  CWnd& operator=(const CWnd&) = delete;

  HWND m_hWnd;

  HWND GetSafeHwnd() const { return m_hWnd; }
  operator HWND() const { return GetSafeHwnd(); }

  // The framework object attached to the handle, or null for a window the framework does not own.
  static CWnd* FromHandlePermanent(HWND wnd);
  static CWnd* FromHandle(HWND wnd) { return FromHandlePermanent(wnd); }

  // Creates the window; a null class name takes the framework's own class (double-clicks on).
  virtual BOOL CreateEx(DWORD exStyle, const wchar_t* className, const wchar_t* windowName,
                        DWORD style, const RECT& rect, CWnd* parent, UINT id,
                        void* param = nullptr);
  BOOL Create(const wchar_t* className, const wchar_t* windowName, DWORD style, const RECT& rect,
              CWnd* parent, UINT id);
  // Takes over a window made elsewhere: its messages pass through this object from now on.
  BOOL SubclassWindow(HWND wnd);
  virtual BOOL DestroyWindow();

  BOOL ShowWindow(int command);
  BOOL IsWindowVisible() const;
  void MoveWindow(const RECT& rect, BOOL repaint = TRUE);
  BOOL SetWindowPos(HWND after, int x, int y, int cx, int cy, UINT flags);
  void GetClientRect(RECT* rect) const;
  void GetWindowRect(RECT* rect) const;
  void Invalidate(BOOL erase = TRUE);
  void InvalidateRect(const RECT* rect, BOOL erase = TRUE);
  void UpdateWindow();
  void SetRedraw(BOOL redraw);
  HWND GetParentHwnd() const;
  CWnd* GetParent() const;
  int GetDlgCtrlID() const;
  HWND SetFocus();
  BOOL ModifyStyleEx(DWORD remove, DWORD add, UINT flags = 0);
  UINT_PTR SetTimer(UINT_PTR id, UINT elapse);
  BOOL KillTimer(UINT_PTR id);
  LRESULT SendMessageW(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
  // Sends WM_NOTIFY with `header` (the head of the control's notification record) to the
  // parent, filling in the sender and its control id; 0 when there is no parent.
  LRESULT NotifyParent(UINT code, NMHDR* header);
  BOOL PostMessageW(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

 protected:
  // Every message of the window passes here first; the default looks the message up in the
  // message map and gives unhandled ones to DefWindowProc. Handlers belong in the map; an
  // override is for watching every message as it arrives (recording or forwarding them).
  virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  // The default processing of the message being handled now.
  LRESULT Default();
  // Called after the window's last message; the object itself stays with its owner.
  virtual void PostNcDestroy();

  static const WFC_MSGMAP* GetThisMessageMap();
  virtual const WFC_MSGMAP* GetMessageMap() const;

  WNDPROC m_pfnSuper;  // the procedure the window had before the framework took it over

 private:
  friend LRESULT CALLBACK WfcWndProc(HWND, UINT, WPARAM, LPARAM);
  friend LRESULT CALLBACK WfcCbtHook(int, WPARAM, LPARAM);
  friend class CDialog;

  BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
  void AttachHandle(HWND wnd);
  void DetachHandle();

  UINT m_nCurrentMsg;
  WPARAM m_wCurrentParam;
  LPARAM m_lCurrentParam;
};

// Creation hands the new handle to the object through a hook that runs before the window's
// first message; these bracket the creating call.
class WFC_API CWndCreateScope {
 public:
  explicit CWndCreateScope(CWnd* wnd);
  ~CWndCreateScope();
  CWndCreateScope(const CWndCreateScope&) = delete;
  CWndCreateScope& operator=(const CWndCreateScope&) = delete;

 private:
  CWnd* m_pPrevious;
  HHOOK m_hHook;
};

// Called around every message a message map handles, for a benchmark that splits a keystroke's
// time between the handlers and the system. Unset, it costs one test per handled message; set,
// it must not change what a handler does. Pass nulls to remove it.
typedef void (*WfcHandlerProbeFn)(HWND window, UINT message);
WFC_API void WfcSetHandlerProbe(WfcHandlerProbeFn enter, WfcHandlerProbeFn leave);
