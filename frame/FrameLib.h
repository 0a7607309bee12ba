// The terminal's frame library: views, element containers and the focused workspace.
#pragma once

#include <cstdint>

#include "Export.h"
#include "platform/WinTypes.h"

class CWnd;

// A frame element that can receive events synchronously.
class CElementContainer {
 public:
  virtual ~CElementContainer() {}
  virtual uint32_t GetID() = 0;
  virtual int SendMessageW(uint32_t id, UINT message, WPARAM wParam, LPARAM lParam) = 0;
};

// The main frame's view manager; the current view is the second pointer if set, else the first.
class CViewManager {
 public:
  virtual ~CViewManager() {}
  virtual BOOL IsContainerWnd(HWND wnd) = 0;
  // Type number of a view: 1 to 4 place the pop-up at the command window's corner.
  virtual int GetViewType(CWnd* view) = 0;
  CWnd* m_pFirstView = nullptr;
  CWnd* m_pSecondView = nullptr;
};

// The terminal's workspaces by number. The numbering is the terminal's own; the pop-up only tells
// the trading workspaces, 10 to 20, from the others.
enum qxWorkspaceDefine : int {
  qxWorkspaceNone = 0,
  qxWorkspaceTradingFirst = 10,
  qxWorkspaceTradingLast = 20,
};

class TS_API CElementContainerWnd {
 public:
  // The workspace that has the focus; workspaces 10 to 20 are trading workspaces. The terminal
  // sets it as the focus moves between its workspaces (CTerminalHost::SetFocusWorkspace does).
  static qxWorkspaceDefine m_seCurrentFocusWorkspace;
};
