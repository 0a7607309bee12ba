// A suggestion list as the pop-up holds it, for window tests: a visible top-level parent that
// records the activations the list reports, a command window that records what the hand-over posts,
// a mapping table, the test services, and a history file of the test's own in the temp folder.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "TestTerminal.h"
#include "UiEnv.h"
#include "WindowPeers.h"
#include "table/MappingTable.h"
#include "wfc/Wnd.h"
#include "window/SuggestListWnd.h"

// A history file of the test's own in the temp folder, new for every call (not created here).
std::wstring TempHistoryPath();
// Messages of that number the window recorded, and the last of them (null without one).
int CountOf(const CRecordingWnd& wnd, UINT message);
const ReceivedMessage* LastOf(const CRecordingWnd& wnd, UINT message);

// The list's parent: records which window reported each activation by a double-click.
class CRecordingParent : public CWnd {
 public:
  std::vector<HWND> activations;

 protected:
  void OnListActivated(NMHDR* header, LRESULT* result);
  DECLARE_MESSAGE_MAP()
};

class SuggestListHost {
 public:
  // Parent at screen (kLeft, kTop); the list fills its client area.
  static const int kLeft = 60, kTop = 60;
  SuggestListHost(int width = 320, int height = 264);
  ~SuggestListHost();

  // Security i: code "6000ii", hot key "ZQii", name "证券ii", Shanghai A share, extra 1000 + i;
  // the data centre knows it.
  KeyboardItemInfo Result(int i);
  // n results shown as after a search for text.
  void ShowResults(int n, const wchar_t* text = L"600");
  SuggestListTestPeer Peer() const { return SuggestListTestPeer(*list); }
  // A client point in the middle of a row slot.
  LPARAM RowPoint(int slot, int x = 40) const;
  // The history file as the list writes it; -1 when missing.
  long long HistoryFileSize() const;

  UiEnv env;
  KeyboardInputMappingTable table;
  CRecordingParent parent;
  CRecordingWnd commandWnd;
  std::unique_ptr<CSuggestListWnd> list;
  std::wstring historyPath;
  int width, height;
};

// Distance of two colours, the largest channel difference.
int ColorDistance(COLORREF a, COLORREF b);
