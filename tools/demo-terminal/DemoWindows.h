// The demo terminal's windows: the main frame (the component's view manager), the current view,
// the command window, a receiver window, an element container and the panel of what the
// terminal received. Each lists its messages in a message map.
#pragma once

#include <windows.h>

#include <cstdint>

#include "frame/FrameLib.h"
#include "wfc/Wnd.h"

class CDemoTerminal;

// A double-buffered window of the demo: it paints everything itself and passes the input-method
// messages that reach it on to the smart keyboard, as the terminal's windows do.
class CDemoPaintWnd : public CWnd {
 public:
  explicit CDemoPaintWnd(CDemoTerminal* terminal) : m_pTerminal(terminal) {}

 protected:
  virtual void Paint(HDC dc, const RECT& client) = 0;

  BOOL OnEraseBkgnd(HDC dc);
  void OnPaint();
  LRESULT OnImeComposition(WCHAR lastChange, UINT changeFlags);
  void OnLButtonDown(UINT flags, POINT point);
  void OnRButtonDown(UINT flags, POINT point);

  CDemoTerminal* m_pTerminal;

 private:
  // Typing goes on in the current view after a click anywhere in the frame.
  void FocusAfterClick();

  DECLARE_MESSAGE_MAP()
};

// The current view: what is open.
class CDemoView : public CDemoPaintWnd {
 public:
  using CDemoPaintWnd::CDemoPaintWnd;

 protected:
  void Paint(HDC dc, const RECT& client) override;
};

// The terminal's command window: commands and securities picked in the ordinary case arrive here.
class CDemoCommandWnd : public CDemoPaintWnd {
 public:
  using CDemoPaintWnd::CDemoPaintWnd;

 protected:
  void Paint(HDC dc, const RECT& client) override;
  LRESULT OnPick(WPARAM extra, LPARAM handOver);        // 0x51C
  LRESULT OnPopupNotice(WPARAM wParam, LPARAM lParam);  // 0x601

  DECLARE_MESSAGE_MAP()
};

// A window that asks for a security (ShowForWindow): the pick is posted to it.
class CDemoReceiverWnd : public CDemoPaintWnd {
 public:
  using CDemoPaintWnd::CDemoPaintWnd;

 protected:
  void Paint(HDC dc, const RECT& client) override;
  LRESULT OnStock(WPARAM wParam, LPARAM handOver);  // 0x500

  DECLARE_MESSAGE_MAP()
};

// The window of a frame element that asks for a security (ShowForContainer). It takes the focus
// itself, as the terminal's frame elements do, and shows when it has it.
class CDemoContainerWnd : public CDemoPaintWnd {
 public:
  using CDemoPaintWnd::CDemoPaintWnd;

 protected:
  void Paint(HDC dc, const RECT& client) override;
  void OnSetFocus(HWND other);
  void OnKillFocus(HWND other);

  DECLARE_MESSAGE_MAP()
};

// The frame element behind that window: the component sends it the pick synchronously.
class CDemoElement : public CElementContainer {
 public:
  static const uint32_t kId = 7001;
  explicit CDemoElement(CDemoTerminal* terminal) : m_pTerminal(terminal) {}
  uint32_t GetID() override { return kId; }
  int SendMessageW(uint32_t id, UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  CDemoTerminal* m_pTerminal;
};

// Every line the terminal received or did, newest at the bottom; the wheel scrolls back.
class CDemoPanel : public CDemoPaintWnd {
 public:
  using CDemoPaintWnd::CDemoPaintWnd;

 protected:
  void Paint(HDC dc, const RECT& client) override;
  void OnLinesChanged();
  BOOL OnMouseWheel(UINT flags, short delta, POINT screenPoint);

  DECLARE_MESSAGE_MAP()

 private:
  int m_nScrollBack = 0;  // lines scrolled up from the newest
};

class CDemoMainFrame : public CDemoPaintWnd, public CViewManager {
 public:
  explicit CDemoMainFrame(CDemoTerminal* terminal);
  ~CDemoMainFrame() override;

  BOOL CreateFrame(int dpi);
  void Layout();
  // Repaints the frame and every child.
  void RefreshAll();
  void UpdateMenuChecks();

  // CViewManager.
  BOOL IsContainerWnd(HWND wnd) override;
  int GetViewType(CWnd* view) override;

  CDemoView m_view;
  CDemoCommandWnd m_command;
  CDemoReceiverWnd m_receiver;
  CDemoContainerWnd m_containerWnd;
  CDemoElement m_element;
  CDemoPanel m_panel;

 protected:
  void Paint(HDC dc, const RECT& client) override;
  void OnSize(UINT type, int cx, int cy);
  void OnSetFocus(HWND other);
  void OnCommand(UINT id, UINT notifyCode, HWND control);
  LRESULT OnDpiChanged(UINT dpi, const RECT* suggested);
  void OnClose();
  void OnDestroy();

  DECLARE_MESSAGE_MAP()

 private:
  HMENU CreateFrameMenu();

  RECT m_rcStatus;
  HMENU m_hMenu;
};
