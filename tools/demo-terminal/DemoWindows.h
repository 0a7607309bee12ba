// The demo terminal's windows, plain Win32 windows as a terminal built on the kit alone has them:
// the main frame (the kit's main frame, which the component asks for views and view types), the
// current view, the command window, a receiver window, the window of an element container and
// the panel of what the terminal received.
#pragma once

#include <windows.h>

#include <HotKeyManager/TerminalHost.h>
#include <cstdint>
#include <memory>

class CDemoTerminal;

// A window of the demo: its window procedure hands every message to the object's OnMessage.
class CDemoWindow {
 public:
  CDemoWindow() = default;
  virtual ~CDemoWindow();
  CDemoWindow(const CDemoWindow&) = delete;
  CDemoWindow& operator=(const CDemoWindow&) = delete;

  bool Create(DWORD exStyle, const wchar_t* title, DWORD style, const RECT& rect, HWND parent,
              UINT id);
  // Null before Create and after the window is destroyed.
  HWND Wnd() const { return m_hWnd; }
  void Invalidate() const;
  void Move(const RECT& rect) const;

 protected:
  // What the window does with a message; the default is DefWindowProcW.
  virtual LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);

  HWND m_hWnd = nullptr;

 private:
  static LRESULT CALLBACK WindowProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam);
};

// A double-buffered window of the demo: it paints everything itself and passes the input-method
// messages that reach it on to the smart keyboard, as the terminal's windows do.
class CDemoPaintWnd : public CDemoWindow {
 public:
  explicit CDemoPaintWnd(CDemoTerminal* terminal) : m_pTerminal(terminal) {}

 protected:
  virtual void Paint(HDC dc, const RECT& client) = 0;
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

  CDemoTerminal* m_pTerminal;

 private:
  void OnPaint();
  // Typing goes on in the current view after a click anywhere in the frame.
  void FocusAfterClick();
};

// The current view: what is open.
class CDemoView : public CDemoPaintWnd {
 public:
  using CDemoPaintWnd::CDemoPaintWnd;

 protected:
  void Paint(HDC dc, const RECT& client) override;
};

// The terminal's command window: commands and securities picked in the ordinary case arrive here
// (0x51C, and 0x601 after a pick from a pop-up opened at an exact place).
class CDemoCommandWnd : public CDemoPaintWnd {
 public:
  using CDemoPaintWnd::CDemoPaintWnd;

 protected:
  void Paint(HDC dc, const RECT& client) override;
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
};

// A window that asks for a security (ShowForWindow): the pick is posted to it as 0x500.
class CDemoReceiverWnd : public CDemoPaintWnd {
 public:
  using CDemoPaintWnd::CDemoPaintWnd;

 protected:
  void Paint(HDC dc, const RECT& client) override;
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
};

// The window of a frame element that asks for a security (ShowForContainer): the kit's element
// container sends it the pick as 0x503. It takes the focus itself, as the terminal's frame
// elements do, and shows when it has it.
class CDemoContainerWnd : public CDemoPaintWnd {
 public:
  using CDemoPaintWnd::CDemoPaintWnd;

 protected:
  void Paint(HDC dc, const RECT& client) override;
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
};

// Every line the terminal received or did, newest at the bottom; the wheel scrolls back.
class CDemoPanel : public CDemoPaintWnd {
 public:
  using CDemoPaintWnd::CDemoPaintWnd;

 protected:
  void Paint(HDC dc, const RECT& client) override;
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  int m_nScrollBack = 0;  // lines scrolled up from the newest
};

// The main frame. As the kit's main frame it tells the component the view type of the current
// view, which the trader changes with F2.
class CDemoMainFrame : public CDemoPaintWnd, public CHostMainFrame {
 public:
  static const uint32_t kElementId = 7001;

  explicit CDemoMainFrame(CDemoTerminal* terminal);
  ~CDemoMainFrame() override;

  bool CreateFrame(int dpi);
  void Layout();
  // Repaints the frame and every child.
  void RefreshAll();
  void UpdateMenuChecks();

  int GetViewType(HWND view) override;

  CDemoView m_view;
  CDemoCommandWnd m_command;
  CDemoReceiverWnd m_receiver;
  CDemoContainerWnd m_containerWnd;
  // The frame element behind m_containerWnd; made with its window.
  std::unique_ptr<CHostElementContainer> m_element;
  CDemoPanel m_panel;

 protected:
  void Paint(HDC dc, const RECT& client) override;
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  HMENU CreateFrameMenu();
  LRESULT OnDpiChanged(UINT dpi, const RECT* suggested);

  RECT m_rcStatus;
  HMENU m_hMenu;
};
