// A terminal for the pop-up's tests: a main frame that is the view manager, one view with a
// settable type, a command window recording what reaches it, and the environment pointing at
// them. The pop-up finds all of it as it would in the real terminal: from the handles.
#pragma once

#include <windows.h>

#include <vector>

#include "UiEnv.h"
#include "frame/FrameLib.h"
#include "wfc/Wnd.h"

struct ReceivedMessage {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};

// Records every message from WM_USER up that is posted or sent to it: whatever the number, so it
// watches them in WindowProc rather than listing them in a map.
class CRecordingWnd : public CWnd {
 public:
  std::vector<ReceivedMessage> m_received;
  // The first message of that number, or null.
  const ReceivedMessage* Find(UINT message) const;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};

class IHotKeyManager;

// The terminal's view: forwards its keyboard, input-method and mouse-button messages to the
// smart keyboard as they stand, before handling them, as the terminal's message loop does.
class CForwardingView : public CWnd {
 public:
  IHotKeyManager* m_pManager = nullptr;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};

class CTestMainFrame : public CWnd, public CViewManager {
 public:
  BOOL IsContainerWnd(HWND wnd) override { return wnd && wnd == m_hContainerWnd; }
  int GetViewType(CWnd*) override { return m_nViewType; }

  int m_nViewType = 0;
  HWND m_hContainerWnd = nullptr;  // a view that counts as an element container
};

class TestTerminal {
 public:
  TestTerminal();
  ~TestTerminal();
  TestTerminal(const TestTerminal&) = delete;
  TestTerminal& operator=(const TestTerminal&) = delete;

  UiEnv m_env;
  CTestMainFrame m_frame;
  CForwardingView m_view;
  CWnd m_otherView;  // a second window of the terminal, outside the pop-up
  CRecordingWnd m_command;

  // Types text as real keys reach the view: down, character and up posted for each character,
  // each character at a later message time than the one before (the edit drops a character
  // that shares its time with the previous one).
  void Type(const wchar_t* text);
  RECT ViewRect() const;
  RECT CommandRect() const;
};
