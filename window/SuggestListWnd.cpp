// The list's life, layout and content: creation with its scrollbar and tear-down, DPI changes,
// the row slots and the scrollbar strip, the view's top and selection, the results the dialog
// has it search for and the recent picks it shows while the field is empty. Keys, mouse and the
// hand-over of the chosen row are in SuggestListInput.cpp, drawing in SuggestListDraw.cpp.
#include "SuggestListWnd.h"
#include "HostServices.h"

#include <cwchar>
#include <new>

#include "frame/DataMgr.h"
#include "frame/GlobalEnv.h"
#include "frame/RefPtr.h"
#include "frame/Scrollbar.h"
#include "table/MappingTable.h"
#include "table/TypedText.h"
#include "window/QXDelegate.h"

namespace {

typedef QXDelegate::delegate<int(CQXScrollbarWnd*, int, int, int)> ScrollDelegate;

// The scrollbar's style bit that the list asks for beside WS_CHILD | WS_VISIBLE.
const DWORD SCROLL_STYLE_EXTRA = 0x0100;
// The list does not own itself: the binding never deletes it.
const int BINDING_NOT_OWNED = 2;

}  // namespace

BEGIN_MESSAGE_MAP(CSuggestListWnd, CWnd)
ON_WM_CREATE()
ON_WM_DESTROY()
ON_WM_PAINT()
// Borderless: there is no frame to paint, and the default processing would fetch a window
// device context at every first paint after the pop-up opens, only to draw nothing.
ON_WM_NCPAINT()
ON_WM_SIZE()
ON_WM_KEYDOWN()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONDBLCLK()
ON_WM_LBUTTONUP()
ON_WM_MOUSEMOVE()
ON_WM_TIMER()
ON_WM_MOUSEWHEEL()
ON_WM_CLOSE()
ON_WM_CAPTURECHANGED()
ON_MESSAGE(WM_DATACENTER_BROADCAST, OnDataCenterBroadcast)
ON_WM_MOUSELEAVE()
ON_MESSAGE_VOID(WM_SUGGEST_ACTIVATE, OnSuggestActivate)
ON_MESSAGE_VOID(WM_SUGGEST_SAVEHISTORY, OnSuggestSaveHistory)
ON_WM_DPICHANGED()
ON_WM_GETOBJECT()
END_MESSAGE_MAP()

CSuggestListWnd::CSuggestListWnd(KeyboardInputMappingTable* table)
    : m_rcRows(),
      m_pNameFont(nullptr),
      m_pCodeFont(nullptr),
      m_pCategoryFont(nullptr),
      m_pMappingTable(table),
      m_nRowCount(0),
      m_nVisibleRows(12),
      m_nRowHeight(SUGGEST_ROW_HEIGHT),
      m_nTop(0),
      m_nSelected(0),
      m_nHover(-1),
      m_bButtonDown(FALSE),
      m_bHasInput(FALSE),
      m_clrTextCommon(0),
      m_clrTextCategory(0),
      m_clrBG(0),
      m_clrBGSelected(0),
      m_clrBGMouse(0),
      m_clrSelectedText(0),
      m_clrHighlight(0),
      m_clrHighlightSelected(0),
      m_logo(),
      m_szSearchText(),
      m_history(HistoryFilePath(), &SystemHistoryFileIo()),
      m_rcList(),
      m_rcScrollBar(),
      m_pScrollBar(nullptr),
      m_rcScrollBarPlaced(),
      m_nTopInvalidated(-1),
      m_bTracking(FALSE),
      m_nDpi(96) {
  LoadHistory();
}

CSuggestListWnd::~CSuggestListWnd() {
  // Destroyed here, not by the base, so that the tear-down still reaches this class.
  if (m_hWnd) DestroyWindow();
  if (m_pScrollBar) {
    m_pScrollBar->ReleaseDelegate();
    delete m_pScrollBar;
    m_pScrollBar = nullptr;
  }
}

// --- Creation and tear-down. ---

int CSuggestListWnd::OnCreate(LPCREATESTRUCTW) {
  if (Default() == -1) return -1;
  m_nDpi = SWDPI::GetDPIofMonitorFromWindow(m_hWnd);
  m_nRowHeight = SWDPI::Scale(m_nDpi, SUGGEST_ROW_HEIGHT);
  if (TRefPtr<CDataMgr> dataMgr = TerminalDataMgr()) dataMgr->RegistRecvBroadcastMsgWnd(m_hWnd);

  m_pScrollBar = new (std::nothrow) CQXScrollbarWnd;
  if (!m_pScrollBar) return -1;
  RECT none = {0, 0, 0, 0};
  m_pScrollBar->CreateScrollWnd(L"VScrollBar", WS_CHILD | WS_VISIBLE | SCROLL_STYLE_EXTRA, none,
                                this, QX_SCROLL_VERTICAL);
  // The bar gets its own clone of the callback; the local delegate lets go of the original.
  {
    ScrollDelegate local;
    local.Add(
        QXDelegate::MakeMemberCallback(this, &CSuggestListWnd::OnScrollEvent, BINDING_NOT_OWNED));
    m_pScrollBar->m_delegateScrollEvent = local;
  }
  m_pScrollBar->ShowWindow(SW_HIDE);
  LoadPalette();
  return 0;
}

void CSuggestListWnd::OnDestroy() {
  m_accessible.Disconnect();
  if (TRefPtr<CDataMgr> dataMgr = TerminalDataMgr()) dataMgr->UnregistRecvBroadcastMsgWnd(m_hWnd);
  Default();
  if (m_pScrollBar && m_pScrollBar->m_hWnd) m_pScrollBar->DestroyWindow();
  m_backBuffer.Free();
  // A first run leaves a file behind; a pick whose posted save never ran, or a cleared history,
  // must not be lost either.
  if (!m_history.FileExists() || m_history.HasUnsavedChanges()) SaveHistory();
}

// Answers 1 whether or not the palette could be reloaded.
LRESULT CSuggestListWnd::OnDpiChanged(UINT dpi, const RECT*) {
  m_nDpi = static_cast<int>(dpi);
  m_nRowHeight = SWDPI::Scale(m_nDpi, SUGGEST_ROW_HEIGHT);
  if (LoadPalette()) {
    LayoutRows();
    // New fonts and row heights show even when the parent keeps the list's size.
    InvalidateRows(nullptr, TRUE);
  }
  return 1;
}

void CSuggestListWnd::OnSize(UINT, int, int) {
  Default();
  LayoutRows();
}

void CSuggestListWnd::OnClose() { ShowWindow(SW_HIDE); }

LRESULT CSuggestListWnd::OnDataCenterBroadcast(WPARAM code, LPARAM) {
  if (code == BROADCAST_PALETTE_CHANGED && LoadPalette()) InvalidateRows(nullptr, TRUE);
  return 0;
}

// --- Layout and view. ---

void CSuggestListWnd::LayoutRows() {
  RECT client;
  GetClientRect(&client);
  int visible = LayoutRowRects(client, m_nRowHeight, m_rcRows);
  if (visible == 0) return;
  m_nTopInvalidated = -1;
  m_nVisibleRows = visible;
  int width = SUGGEST_DEFAULT_SCROLL_WIDTH;
  if (m_pScrollBar) {
    m_pScrollBar->OnChangeScrollDpi(m_nDpi);
    width = m_pScrollBar->GetScrollWndWidthOrHeight();
  }
  SplitScrollStrip(client, width, &m_rcList, &m_rcScrollBar);
  ListNavState state = NavState();
  bool scrolled = KeepSelectionInRows(state);
  m_nTop = state.top;
  m_nSelected = state.selected;
  if (m_nHover >= m_nVisibleRows) m_nHover = -1;
  UpdateScrollBar();
  if (scrolled) RefreshView();
}

bool CSuggestListWnd::HitTest(int, int y, int& slot, int& edge) {
  RECT client;
  GetClientRect(&client);
  return HitTestRows(NavState(), client.bottom - client.top, y, &slot, &edge);
}

// Beside a shown scrollbar, a row is invalidated only up to it: the list's window does not clip
// its children, so the whole row would make the scrollbar paint itself again as well (a hover
// or a selection that moves within the page leaves the scrollbar as it was).
void CSuggestListWnd::InvalidateSlot(int slot) {
  if (!m_hWnd || slot < 0 || slot >= SUGGEST_MAX_ROWS) return;
  RECT row = m_rcRows[slot];
  if (ScrollBarShown() && !IntersectRect(&row, &row, &m_rcList)) return;
  InvalidateRect(&row, FALSE);
}

void CSuggestListWnd::InvalidateRows(const RECT* rect, BOOL erase) {
  if (!m_hWnd) return;
  InvalidateRect(rect, erase);
  m_nTopInvalidated = m_nTop;
}

void CSuggestListWnd::MoveSelection(int oldSlot, int newSlot) {
  m_nSelected = newSlot;
  InvalidateSlot(oldSlot);
  InvalidateSlot(newSlot);
  AnnounceSelection();
}

bool CSuggestListWnd::ScrollBarShown() const {
  return m_pScrollBar && m_pScrollBar->m_hWnd &&
         (::GetWindowLongW(m_pScrollBar->m_hWnd, GWL_STYLE) & WS_VISIBLE) != 0;
}

bool CSuggestListWnd::ScrollBarReshapes() const {
  if (!m_pScrollBar || !m_pScrollBar->m_hWnd) return false;
  return !EqualRect(&m_rcScrollBarPlaced, &m_rcScrollBar) ||
         ScrollBarShown() != (m_nRowCount > m_nVisibleRows);
}

void CSuggestListWnd::RefreshView() {
  if (!m_pScrollBar || !m_hWnd) return;
  const bool barShown = ScrollBarShown();
  if (barShown) m_pScrollBar->UpdateThumbPosition(m_nTop);
  // A selection moved within the page has invalidated its two rows; the rest stand.
  if (m_nTop == m_nTopInvalidated) return;
  InvalidateRows(barShown ? &m_rcList : nullptr, FALSE);
}

void CSuggestListWnd::UpdateScrollBar() {
  if (!m_pScrollBar || !m_pScrollBar->m_hWnd) return;
  // Moving, showing or hiding a window costs even when nothing changes; the bar's numbers
  // repaint it when they change.
  if (!EqualRect(&m_rcScrollBarPlaced, &m_rcScrollBar)) {
    m_pScrollBar->MoveWindow(m_rcScrollBar, TRUE);
    m_rcScrollBarPlaced = m_rcScrollBar;
  }
  const bool shown = ScrollBarShown();
  if (m_nRowCount > m_nVisibleRows) {
    if (!shown) m_pScrollBar->ShowWindow(SW_SHOW);
    m_pScrollBar->SetRowNumber(m_nRowCount);
    m_pScrollBar->SetPageSize(m_nVisibleRows);
    m_pScrollBar->SetThumbLength(
        ThumbLengthFor(m_rcScrollBar.bottom - m_rcScrollBar.top, m_nVisibleRows, m_nRowCount));
    m_pScrollBar->UpdateThumbPosition(0);
  } else if (shown) {
    m_pScrollBar->ShowWindow(SW_HIDE);
  }
}

void CSuggestListWnd::ResetView() {
  m_nTop = 0;
  m_nSelected = 0;
  if (!m_hWnd) return;
  // Redrawing is off only while the scrollbar moves, shows or hides on the screen: turning it off
  // and on costs as much as a paint, and a hidden pop-up is painted whole when it shows.
  const bool reshapes = ScrollBarReshapes();
  const bool redrawOff = reshapes && IsWindowVisible();
  if (redrawOff) SetRedraw(FALSE);
  UpdateScrollBar();
  if (redrawOff) SetRedraw(TRUE);
  // A scrollbar that stays as it was repaints itself when its numbers change; the rows beside it
  // are all that the list must paint again.
  InvalidateRows(!reshapes && ScrollBarShown() ? &m_rcList : nullptr, TRUE);
  AnnounceItems();
}

// --- What the list shows: the results of a search, or the recent picks. ---

void CSuggestListWnd::ShowSearchResults(const wchar_t* typedText) {
  if (m_pMappingTable) {
    m_bHasInput = TRUE;
    const int length = static_cast<int>(sizeof(m_szSearchText) / sizeof(m_szSearchText[0]));
    wmemset(m_szSearchText, 0, length);
    // Full-width digits and capitals from an input method search as their ASCII forms.
    for (int i = 0; i < length - 1 && typedText[i]; ++i)
      m_szSearchText[i] = FoldTypedCharacter(typedText[i]);
    m_pMappingTable->Search(m_szSearchText, &m_vecResults, IsTargeted());
    m_nRowCount = static_cast<int>(m_vecResults.size());
  }
  ResetView();
}

void CSuggestListWnd::ClearHistory() { m_history.Clear(); }

void CSuggestListWnd::ClearResults() {
  m_vecResults.clear();
  m_bHasInput = FALSE;
  m_nRowCount = 0;
  // A later pick from the history must not report the text of an earlier search.
  wmemset(m_szSearchText, 0, sizeof(m_szSearchText) / sizeof(m_szSearchText[0]));
  ResetView();
}

bool CSuggestListWnd::IsTargeted() const {
  return m_pMappingTable && (m_pMappingTable->m_pTargetContainer || m_pMappingTable->m_hTargetWnd);
}

bool CSuggestListWnd::ShowHistoryIfIdle() {
  if (IsTargeted()) {
    m_nRowCount = static_cast<int>(m_vecResults.size());
    return false;
  }
  if (m_bHasInput) return false;
  if (m_history.Items().empty()) return false;
  m_nRowCount = static_cast<int>(m_history.Items().size());
  ResetView();
  return true;
}

const std::vector<KeyboardItemInfo>& CSuggestListWnd::ShownItems() {
  return m_bHasInput ? m_vecResults : m_history.Items();
}

bool CSuggestListWnd::LoadHistory() { return m_history.Load(); }

bool CSuggestListWnd::SaveHistory() { return m_history.Save(); }

bool CSuggestListWnd::AddToHistory(const KeyboardItemInfo* item) { return m_history.Add(item); }

void CSuggestListWnd::OnSuggestSaveHistory() { SaveHistory(); }
