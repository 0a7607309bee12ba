// A plain Win32 terminal around the host kit, as the kit's tests drive it: a main window with a
// view, a command window, a receiver window and the window of an element container, and a message
// loop that passes the keys and mouse buttons of these windows to the component's slot 9. Every
// message from WM_USER up that reaches one of them is recorded in order.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "services/TerminalHost.h"

struct KitMessage {
  HWND wnd;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};

class KitTerminal {
 public:
  // The host's command window, view (type 0) and main frame are these windows.
  explicit KitTerminal(CTerminalHost& host);
  ~KitTerminal();
  KitTerminal(const KitTerminal&) = delete;
  KitTerminal& operator=(const KitTerminal&) = delete;

  // Each character as a key-down, its character and a key-up to the window that has the focus,
  // each handled before the next, at message times that differ (the pop-up's edit drops a
  // character that shares its time with the one before).
  void Type(const wchar_t* text);
  void Press(UINT key);
  // Handles messages until done() holds; false if it never did within a few seconds.
  bool PumpUntil(const std::function<bool()>& done);
  // The first recorded message of that number at that window, or null.
  const KitMessage* Find(HWND wnd, UINT message) const;
  // The pop-up when it shows, else null.
  HWND Popup() const;

  HWND m_frame = nullptr;
  HWND m_view = nullptr;
  HWND m_command = nullptr;
  HWND m_receiver = nullptr;
  HWND m_container = nullptr;
  std::vector<KitMessage> m_received;
  // Called inside the window procedure for each recorded message, while a sent one runs.
  std::function<LRESULT(const KitMessage&)> m_onMessage;

 private:
  static LRESULT CALLBACK WindowProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam);
  void PressKey(UINT key, wchar_t character);
  void PumpPending();

  CTerminalHost& m_host;
};

// Every line the services' loggers write while it lives, as "<logger name>|<text>".
class LogLines {
 public:
  LogLines();
  ~LogLines();
  // How many lines were written by the logger of that tag.
  int Count(const wchar_t* tag) const;

  std::vector<std::wstring> m_lines;
};
