// What reaches the pop-up from the trader: the edit's and the list's notifications, the text
// change that runs the search, keys and characters that reach the dialog instead of the edit,
// input-method results, and the mouse over the close and clear buttons.
#include "SmartKeyboardDlg.h"

#include <cwchar>

#include "DialogLayout.h"
#include "HostServices.h"
#include "InputEdit.h"
#include "SuggestListWnd.h"
#include "frame/FrameLib.h"
#include "frame/MiniTradePanel.h"
#include "table/MappingTable.h"

void CSmartKeyboardDlg::OnEditMouseWheel(NMHDR* header, LRESULT*) {
  const void* data = InputEditNotify::From(header)->data;
  if (!data || !m_pSuggestList || !::IsWindow(m_pSuggestList->m_hWnd)) return;
  const InputEditWheelInfo* wheel = static_cast<const InputEditWheelInfo*>(data);
  m_pSuggestList->SendMessageW(WM_KEYDOWN, wheel->m_nDelta < 0 ? VK_DOWN : VK_UP, 0);
}

void CSmartKeyboardDlg::OnEditKillFocus(NMHDR* header, LRESULT*) {
  if (!m_pSuggestList) return;
  // Focus taken by a window outside the pop-up stays where the trader put it.
  HWND gaining = static_cast<HWND>(InputEditNotify::From(header)->data);
  Hide(IsInsidePopup(gaining));
}

void CSmartKeyboardDlg::OnEditKeyDown(NMHDR* header, LRESULT*) {
  const void* data = InputEditNotify::From(header)->data;
  if (!data || !m_pSuggestList || !::IsWindow(m_pSuggestList->m_hWnd)) return;
  const InputEditKeyInfo* key = static_cast<const InputEditKeyInfo*>(data);
  m_pSuggestList->SendMessageW(
      WM_KEYDOWN, key->m_nVirtKey,
      MAKELPARAM(static_cast<WORD>(key->m_nRepCnt), static_cast<WORD>(key->m_nFlags)));
}

void CSmartKeyboardDlg::OnEditTextChanged(NMHDR* header, LRESULT*) {
  const void* data = InputEditNotify::From(header)->data;
  if (data && m_pSuggestList) OnTextChanged(static_cast<const wchar_t*>(data));
}

void CSmartKeyboardDlg::OnListActivated(NMHDR*, LRESULT*) {
  if (m_pSuggestList) ActivateOnExactPos(FALSE, FALSE, 0, 0);
}

void CSmartKeyboardDlg::OnTextChanged(const wchar_t* text) {
  wcsncpy(m_szInputText, text, 31);
  m_szInputText[31] = 0;
  bool empty = m_szInputText[0] == 0;
  KeyboardInputMappingTable* table = MappingTable();
  if (empty) {
    ActivateOnExactPos(FALSE, FALSE, 0, 0);
  } else {
    unsigned workspace =
        static_cast<unsigned>(CElementContainerWnd::m_seCurrentFocusWorkspace) - 10u;
    bool tradingWorkspace = workspace <= 10;
    bool miniTrade = IsMiniTradeVisible();
    if (miniTrade && !tradingWorkspace) {
      m_pInputEdit->ClearText();
      ActivateOnExactPos(FALSE, FALSE, 0, 0);
      empty = true;
    } else {
      if (table && miniTrade) table->m_nOpenMode = OPEN_MODE_MINI_TRADE;
      if (table && !miniTrade && tradingWorkspace) table->m_nOpenMode = OPEN_MODE_TRADING_WORKSPACE;
      m_pSuggestList->ShowSearchResults(m_szInputText);
      ActivateOnExactPos(TRUE, FALSE, 0, 0);
    }
  }
  if (m_pSuggestList->ShowHistoryIfIdle())
    LayoutList(empty ? TRUE : FALSE);
  else
    LayoutList(FALSE);
}

// --- Keys, characters and the mouse. ---

void CSmartKeyboardDlg::ForwardToEdit(UINT message, UINT key, UINT repeat, UINT flags) {
  if (!m_pInputEdit || !::IsWindow(m_pInputEdit->m_hWnd)) return;
  m_hPrevFocus = ::GetFocus();
  m_pInputEdit->SendMessageW(message, key, MAKELPARAM(repeat, flags));
}

void CSmartKeyboardDlg::OnKeyDown(UINT key, UINT repeat, UINT flags) {
  ForwardToEdit(WM_KEYDOWN, key, repeat, flags);
  Default();
}

void CSmartKeyboardDlg::OnChar(UINT ch, UINT repeat, UINT flags) {
  ForwardToEdit(WM_CHAR, ch, repeat, flags);
  Default();
}

// The edit takes the input method's results; the dialog's own default processing runs as well.
LRESULT CSmartKeyboardDlg::OnImeComposition(WCHAR lastChange, UINT changeFlags) {
  if (m_pInputEdit && ::IsWindow(m_pInputEdit->m_hWnd))
    m_pInputEdit->PostMessageW(WM_IME_COMPOSITION, lastChange, changeFlags);
  return Default();
}

void CSmartKeyboardDlg::OnMouseMove(UINT, POINT point) {
  int x = point.x;
  int y = point.y;
  if (RectContains(m_rcClose, x, y)) {
    m_bOverButton = TRUE;
    m_nHoverButton = 1;
    InvalidateRect(&m_rcClose, FALSE);
  } else if (m_bHistoryBar && RectContains(m_rcClear, x, y)) {
    m_bOverButton = TRUE;
    m_nHoverButton = 2;
    InvalidateRect(&m_rcClear, FALSE);
  } else {
    m_bOverButton = FALSE;
    if (m_nHoverButton) {
      InvalidateRect(m_nHoverButton == 1 ? &m_rcClose : &m_rcClear, FALSE);
      m_nHoverButton = 0;
    }
  }
  Default();
}

BOOL CSmartKeyboardDlg::OnSetCursor(HWND, UINT, UINT) {
  if (m_bOverButton) {
    ::SetCursor(::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_HAND)));
    return TRUE;
  }
  return static_cast<BOOL>(Default());
}

void CSmartKeyboardDlg::OnLButtonDown(UINT flags, POINT point) {
  int x = point.x;
  int y = point.y;
  if (RectContains(m_rcClose, x, y)) {
    m_nHoverButton = 0;
    PostMessageW(WM_SYSCOMMAND, SC_CLOSE, 0);
  } else if (RectContains(m_rcClear, x, y) && m_pSuggestList) {
    m_pSuggestList->ClearHistory();
    m_pSuggestList->ClearResults();
    LayoutList(FALSE);
    OnMouseMove(flags, point);
  }
  Default();
}
