// CSuggestListWnd: the list under the pop-up's input edit. It shows the matches of the current
// search, or the recent picks while the field is empty, keeps a selected and a hover row,
// scrolls by keys, wheel, drag and its own scrollbar, and hands the chosen row to the mapping
// table's Activate on Enter or a double-click. The dialog has it search and clear; the state
// stays the list's own.
#pragma once

#include <windows.h>

#include <vector>

#include "frame/KeyboardItemInfo.h"
#include "frame/Messages.h"
#include "frame/Skin.h"
#include "wfc/BackBuffer.h"
#include "wfc/String.h"
#include "wfc/Wnd.h"
#include "window/AccessibleLink.h"
#include "window/RecentHistory.h"
#include "window/SuggestListNav.h"

class CFont;
class CQXScrollbarWnd;
class KeyboardInputMappingTable;

// WM_NOTIFY code to the parent: a row was activated by a double-click.
const UINT SLN_ACTIVATED = 0x6400;
// Auto-scroll while the button is held outside the rows.
const UINT_PTR SUGGEST_TIMER_AUTOSCROLL = 100;
const UINT SUGGEST_AUTOSCROLL_MS = 32;

// The notification record: the header, then a data pointer (always null for SLN_ACTIVATED).
struct SuggestListNotify {
  NMHDR hdr;
  void* data;
};

class CSuggestListWnd : public CWnd {
 public:
  // Loads the history at the end; the table is not owned.
  explicit CSuggestListWnd(KeyboardInputMappingTable* table);
  ~CSuggestListWnd() override;

  // --- What the dialog asks of the list. ---

  // Searches the table for the typed text (at most 31 characters; full-width digits and capitals
  // are searched as their ASCII forms) and shows the results from the first item, selected.
  // Without a table only the view goes back to the first item.
  void ShowSearchResults(const wchar_t* typedText);
  // Drops the results and the search text; the field counts as empty.
  void ClearResults();
  // Shows the history when the field is empty and nobody asked for a security; true when shown.
  bool ShowHistoryIfIdle();
  // Forgets the recent picks. The file keeps them until the list is destroyed or the next pick
  // saves the history.
  void ClearHistory();
  KeyboardInputMappingTable* MappingTable() const { return m_pMappingTable; }

  // --- The list's own steps. ---

  // Row slots and the scrollbar strip for the current client area.
  void LayoutRows();
  // The slot at a client point; edge −1 above the rows, 1 below them or past the last item.
  // False on a list without height.
  bool HitTest(int x, int y, int& slot, int& edge);
  // Selects newSlot, repainting both rows.
  void MoveSelection(int oldSlot, int newSlot);
  // Thumb to top and the rows repainted.
  void RefreshView();
  // Shows the scrollbar when the items do not fit, with the thumb at the start; hides it when
  // they do.
  void UpdateScrollBar();
  // Back to the first item, selected, with the scrollbar brought up to date.
  void ResetView();
  // Hands the selected row to the table; a pick from the results joins the history.
  void ActivateSelection();
  // The scrollbar's events, through its delegate; 1 when acted on.
  int OnScrollEvent(CQXScrollbarWnd* bar, int group, int event, int detail);

  // Fonts, colours and the logo of the skin at the list's dpi; false without a palette.
  bool LoadPalette();
  // The texts of items[index] as its row shows them; false without a table or such an item.
  bool GetRowTexts(CString& category, CString& code, CString& name, int index,
                   const std::vector<KeyboardItemInfo>& items);
  void DrawEmptyState(CLightCanvas& canvas, RECT middleRow, bool hasInput);

  bool LoadHistory();
  bool SaveHistory();
  bool AddToHistory(const KeyboardItemInfo* item);

 protected:
  int OnCreate(LPCREATESTRUCTW create);
  void OnDestroy();
  void OnPaint();
  void OnNcPaint() {}
  void OnSize(UINT type, int cx, int cy);
  void OnKeyDown(UINT key, UINT repeat, UINT flags);
  void OnLButtonDown(UINT flags, POINT point);
  void OnLButtonDblClk(UINT flags, POINT point);
  void OnLButtonUp(UINT flags, POINT point);
  void OnMouseMove(UINT flags, POINT point);
  void OnTimer(UINT_PTR id);
  BOOL OnMouseWheel(UINT flags, short delta, POINT screenPoint);
  void OnClose();
  void OnCaptureChanged(HWND gaining);
  LRESULT OnDataCenterBroadcast(WPARAM code, LPARAM);
  void OnMouseLeave();
  void OnSuggestActivate();
  void OnSuggestSaveHistory();
  LRESULT OnDpiChanged(UINT dpi, const RECT* suggested);
  // Screen readers' way in (SuggestListAccessible.cpp).
  LRESULT OnGetObject(DWORD flags, LONG objectId);

  DECLARE_MESSAGE_MAP()

 private:
  // The tests read the state, and set what the dialog's search would, through it.
  friend class SuggestListTestPeer;

  ListNavState NavState() const;
  // Takes over a step's new position and carries out what it asks for.
  void ApplyNav(const ListNavState& state, const NavEffect& effect);
  // Selects the slot under the pointer and starts a drag.
  void BeginDrag(int slot);
  void InvalidateSlot(int slot);
  // Invalidates rect (null: the whole window), which holds every row, noting the top it was
  // invalidated at.
  void InvalidateRows(const RECT* rect, BOOL erase);
  // Whether the scrollbar is shown, and whether UpdateScrollBar would move, show or hide it.
  bool ScrollBarShown() const;
  bool ScrollBarReshapes() const;
  const std::vector<KeyboardItemInfo>& ShownItems();
  bool IsTargeted() const;
  void Notify(UINT code);
  // Tell screen readers that the shown rows changed, or that another row is selected.
  void AnnounceItems();
  void AnnounceSelection();

  RECT m_rcRows[SUGGEST_MAX_ROWS];
  CFont* m_pNameFont;  // fonts and the logo belong to the palette
  CFont* m_pCodeFont;
  CFont* m_pCategoryFont;
  KeyboardInputMappingTable* m_pMappingTable;
  std::vector<KeyboardItemInfo> m_vecResults;
  int m_nRowCount;
  int m_nVisibleRows;
  int m_nRowHeight;
  int m_nTop;
  int m_nSelected;
  int m_nHover;  // −1: none
  BOOL m_bButtonDown;
  BOOL m_bHasInput;
  COLORREF m_clrTextCommon;
  COLORREF m_clrTextCategory;
  COLORREF m_clrBG;
  COLORREF m_clrBGSelected;
  COLORREF m_clrBGMouse;
  COLORREF m_clrSelectedText;
  // The matched characters of a row, and of the selected row; 0 (a skin without the key): not lit.
  COLORREF m_clrHighlight;
  COLORREF m_clrHighlightSelected;
  RES_BMP_INFO m_logo;
  wchar_t m_szSearchText[32];
  CRecentHistory m_history;
  RECT m_rcList;
  RECT m_rcScrollBar;
  CQXScrollbarWnd* m_pScrollBar;
  RECT m_rcScrollBarPlaced;  // where the scrollbar was last moved to
  // The top at which every row was last invalidated, −1 when the rows must be invalidated again
  // (their layout changed): the rows show that top once painted, and every other change
  // invalidates the rows it touches.
  int m_nTopInvalidated;
  CBackBuffer m_backBuffer;
  BOOL m_bTracking;
  int m_nDpi;
  class CAccessible;
  CAccessibleLink m_accessible;
  int m_nAnnouncedItem = -1;       // the selected item screen readers last heard of; −1: none
  BOOL m_bAnnouncedInput = FALSE;  // whether screen readers last heard of search results
};
