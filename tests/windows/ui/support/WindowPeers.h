// The tests' way into the pop-up's windows: friends of the dialog and the list that read their
// state, and set up what a test needs and the windows' own operations would not give it.
#pragma once

#include <windows.h>

#include <cwchar>
#include <string>
#include <utility>
#include <vector>

#include "window/SmartKeyboardDlg.h"
#include "window/SuggestListWnd.h"

class SuggestListTestPeer {
 public:
  explicit SuggestListTestPeer(CSuggestListWnd& list) : m_list(list) {}

  int Top() const { return m_list.m_nTop; }
  int Selected() const { return m_list.m_nSelected; }
  int Hover() const { return m_list.m_nHover; }
  int RowCount() const { return m_list.m_nRowCount; }
  int VisibleRows() const { return m_list.m_nVisibleRows; }
  int RowHeight() const { return m_list.m_nRowHeight; }
  int Dpi() const { return m_list.m_nDpi; }
  bool ButtonDown() const { return m_list.m_bButtonDown != FALSE; }
  const RECT& RowRect(int slot) const { return m_list.m_rcRows[slot]; }
  const RECT& ListRect() const { return m_list.m_rcList; }
  CQXScrollbarWnd* ScrollBar() const { return m_list.m_pScrollBar; }
  CFont* NameFont() const { return m_list.m_pNameFont; }
  COLORREF Background() const { return m_list.m_clrBG; }
  const std::vector<KeyboardItemInfo>& Results() const { return m_list.m_vecResults; }
  CRecentHistory& History() const { return m_list.m_history; }

  // Results made up by the test, shown as after the dialog's search for searchText.
  void ShowResults(const wchar_t* searchText, std::vector<KeyboardItemInfo> results) {
    m_list.m_vecResults = std::move(results);
    m_list.m_bHasInput = TRUE;
    wmemset(m_list.m_szSearchText, 0, 32);
    wcsncpy(m_list.m_szSearchText, searchText, 31);
    m_list.m_nRowCount = static_cast<int>(m_list.m_vecResults.size());
    m_list.ResetView();
  }
  // Hover and selection marks where the list's own steps would not put them.
  void SetMarks(int hover, int selected) {
    m_list.m_nHover = hover;
    m_list.m_nSelected = selected;
  }
  // The recent picks in a file of the test's own, starting empty.
  void UseHistoryFile(const std::wstring& path) {
    m_list.m_history = CRecentHistory(path, &SystemHistoryFileIo());
  }

 private:
  CSuggestListWnd& m_list;
};

class SmartKeyboardDlgTestPeer {
 public:
  explicit SmartKeyboardDlgTestPeer(CSmartKeyboardDlg& dialog) : m_dialog(dialog) {}

  CInputEdit& Edit() const { return *m_dialog.m_pInputEdit; }
  CSuggestListWnd& List() const { return *m_dialog.m_pSuggestList; }
  SuggestListTestPeer ListPeer() const { return SuggestListTestPeer(List()); }
  int Dpi() const { return m_dialog.m_nDpi; }
  int Border() const { return m_dialog.m_nBorder; }
  int HoverButton() const { return m_dialog.m_nHoverButton; }
  const RECT& CaptionRect() const { return m_dialog.m_rcCaption; }
  const RECT& CloseRect() const { return m_dialog.m_rcClose; }
  const RECT& ClearRect() const { return m_dialog.m_rcClear; }
  bool HistoryBar() const { return m_dialog.m_bHistoryBar != FALSE; }
  const RECT& InputAreaRect() const { return m_dialog.m_rcInputArea; }

 private:
  CSmartKeyboardDlg& m_dialog;
};
