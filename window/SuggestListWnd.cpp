#include "SuggestListWnd.h"
#include "HostServices.h"

#include <commctrl.h>

#include <cwchar>
#include <new>

#include "frame/DataMgr.h"
#include "frame/GlobalEnv.h"
#include "frame/RefPtr.h"
#include "frame/Scrollbar.h"
#include "frame/Unknown.h"
#include "table/MappingTable.h"
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
      m_logo(),
      m_szSearchText(),
      m_history(HistoryFilePath(), &SystemHistoryFileIo()),
      m_rcList(),
      m_rcScrollBar(),
      m_pScrollBar(nullptr),
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
  if (TRefPtr<CDataMgr> dataMgr = TerminalDataMgr()) dataMgr->UnregistRecvBroadcastMsgWnd(m_hWnd);
  Default();
  if (m_pScrollBar && m_pScrollBar->m_hWnd) m_pScrollBar->DestroyWindow();
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
    Invalidate(TRUE);
  }
  return 1;
}

// --- Layout and view. ---

void CSuggestListWnd::LayoutRows() {
  RECT client;
  GetClientRect(&client);
  int visible = LayoutRowRects(client, m_nRowHeight, m_rcRows);
  if (visible == 0) return;
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

void CSuggestListWnd::InvalidateSlot(int slot) {
  if (m_hWnd && slot >= 0 && slot < SUGGEST_MAX_ROWS) InvalidateRect(&m_rcRows[slot], FALSE);
}

void CSuggestListWnd::MoveSelection(int oldSlot, int newSlot) {
  m_nSelected = newSlot;
  InvalidateSlot(oldSlot);
  InvalidateSlot(newSlot);
}

void CSuggestListWnd::RefreshView() {
  if (!m_pScrollBar || !m_hWnd) return;
  bool barShown =
      m_pScrollBar->m_hWnd && (::GetWindowLongW(m_pScrollBar->m_hWnd, GWL_STYLE) & WS_VISIBLE) != 0;
  if (barShown) {
    m_pScrollBar->UpdateThumbPosition(m_nTop);
    InvalidateRect(&m_rcList, FALSE);
  } else {
    Invalidate(FALSE);
  }
}

void CSuggestListWnd::UpdateScrollBar() {
  if (!m_pScrollBar || !m_pScrollBar->m_hWnd) return;
  m_pScrollBar->MoveWindow(m_rcScrollBar, TRUE);
  if (m_nRowCount > m_nVisibleRows) {
    m_pScrollBar->ShowWindow(SW_SHOW);
    m_pScrollBar->SetRowNumber(m_nRowCount);
    m_pScrollBar->SetPageSize(m_nVisibleRows);
    m_pScrollBar->SetThumbLength(
        ThumbLengthFor(m_rcScrollBar.bottom - m_rcScrollBar.top, m_nVisibleRows, m_nRowCount));
    m_pScrollBar->UpdateThumbPosition(0);
  } else {
    m_pScrollBar->ShowWindow(SW_HIDE);
  }
}

void CSuggestListWnd::ResetView() {
  m_nTop = 0;
  m_nSelected = 0;
  if (!m_hWnd) return;
  SetRedraw(FALSE);
  UpdateScrollBar();
  SetRedraw(TRUE);
  Invalidate(TRUE);
}

void CSuggestListWnd::ShowSearchResults(const wchar_t* typedText) {
  if (m_pMappingTable) {
    m_bHasInput = TRUE;
    const int length = static_cast<int>(sizeof(m_szSearchText) / sizeof(m_szSearchText[0]));
    wmemset(m_szSearchText, 0, length);
    for (int i = 0; i < length - 1 && typedText[i]; ++i) {
      wchar_t c = typedText[i];
      // Full-width capitals from an input method search as their ASCII letters.
      m_szSearchText[i] = (c >= 0xFF21 && c <= 0xFF3A) ? c - 0xFEE0 : c;
    }
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

ListNavState CSuggestListWnd::NavState() const {
  ListNavState state = {m_nTop, m_nSelected, m_nVisibleRows, m_nRowCount};
  return state;
}

void CSuggestListWnd::ApplyNav(const ListNavState& state, const NavEffect& effect) {
  m_nTop = state.top;
  if (effect.moved)
    MoveSelection(effect.oldSlot, effect.newSlot);
  else
    m_nSelected = state.selected;
  if (effect.invalidateAll && m_hWnd) Invalidate(FALSE);
  for (int i = 0; i < effect.refreshes; ++i) RefreshView();
}

// --- Activation. ---

void CSuggestListWnd::ActivateSelection() {
  if (!m_pMappingTable) return;
  // Decided and copied before the hand-over: a receiver may hide the pop-up while it runs,
  // which clears the results and the targets.
  bool targeted = IsTargeted();
  if (m_nTop + m_nSelected < 0) return;
  size_t index = static_cast<size_t>(m_nTop + m_nSelected);
  wchar_t typed[32];
  wmemcpy(typed, m_szSearchText, 32);
  typed[31] = 0;

  if (m_bHasInput) {
    if (index >= m_vecResults.size()) return;
    KeyboardItemInfo item(m_vecResults[index]);
    m_pMappingTable->Activate(&item, typed);
    if (!targeted && AddToHistory(&item) && m_hWnd) PostMessageW(WM_SUGGEST_SAVEHISTORY, 0, 0);
    return;
  }

  std::vector<KeyboardItemInfo>& history = m_history.Items();
  if (targeted || index >= history.size()) return;
  // The package carries a plain copy, so activating the row again does not nest packages.
  KeyboardItemInfo plain;
  plain.CopyRemoveIUnknownPtr(history[index]);
  KeyboardItemInfo& entry = history[index];
  if (auto* package = new (std::nothrow) CPackager<KeyboardItemInfo>(plain)) {
    package->AddRef();
    IUnknown* old = entry.m_pUnknown;
    entry.m_pUnknown = package;
    if (old) old->Release();
  }
  KeyboardItemInfo item(entry);
  m_pMappingTable->Activate(&item, typed);
}

int CSuggestListWnd::OnScrollEvent(CQXScrollbarWnd* bar, int group, int event, int detail) {
  if (group != 0 || !bar || bar != m_pScrollBar) return 0;
  ListNavState state = NavState();
  NavEffect effect = ScrollEventStep(state, event, detail);
  ApplyNav(state, effect);
  return 1;
}

bool CSuggestListWnd::LoadHistory() { return m_history.Load(); }

bool CSuggestListWnd::SaveHistory() { return m_history.Save(); }

bool CSuggestListWnd::AddToHistory(const KeyboardItemInfo* item) { return m_history.Add(item); }

void CSuggestListWnd::Notify(UINT code) {
  SuggestListNotify record;
  record.data = nullptr;
  NotifyParent(code, &record.hdr);
}

// --- Messages. ---

void CSuggestListWnd::OnSize(UINT, int, int) {
  Default();
  LayoutRows();
}

void CSuggestListWnd::OnKeyDown(UINT key, UINT, UINT) {
  switch (key) {
    case VK_RETURN:
      // Keys the terminal forwards while the pop-up is hidden never pick anything.
      if (IsWindowVisible()) SendMessageW(WM_SUGGEST_ACTIVATE, 0, 0);
      break;
    case VK_ESCAPE:
      ShowWindow(SW_HIDE);
      break;
    default: {
      ListNavState state = NavState();
      NavEffect effect = NavigateKey(state, static_cast<int>(key));
      ApplyNav(state, effect);
      break;
    }
  }
}

void CSuggestListWnd::BeginDrag(int slot) {
  InvalidateSlot(m_nSelected);
  InvalidateSlot(slot);
  m_nSelected = slot;
  m_bButtonDown = TRUE;
  ::SetCapture(m_hWnd);
  SetTimer(SUGGEST_TIMER_AUTOSCROLL, SUGGEST_AUTOSCROLL_MS);
}

void CSuggestListWnd::OnLButtonDown(UINT, POINT point) {
  int slot = 0, edge = 0;
  if (!HitTest(point.x, point.y, slot, edge) || edge != 0) return;
  BeginDrag(slot);
}

void CSuggestListWnd::OnLButtonDblClk(UINT, POINT point) {
  int slot = 0, edge = 0;
  if (!HitTest(point.x, point.y, slot, edge) || edge != 0) return;
  MoveSelection(m_nSelected, slot);
  SendMessageW(WM_SUGGEST_ACTIVATE, 0, 0);
  Notify(SLN_ACTIVATED);
}

void CSuggestListWnd::OnLButtonUp(UINT, POINT) {
  m_bButtonDown = FALSE;
  if (m_hWnd && ::GetCapture() == m_hWnd) ::ReleaseCapture();
  if (m_hWnd) KillTimer(SUGGEST_TIMER_AUTOSCROLL);
}

void CSuggestListWnd::OnMouseMove(UINT, POINT point) {
  if (!m_bTracking) {
    TRACKMOUSEEVENT track = {};
    track.cbSize = sizeof(track);
    track.dwFlags = TME_HOVER | TME_LEAVE;
    track.hwndTrack = m_hWnd;
    track.dwHoverTime = 1;
    m_bTracking = _TrackMouseEvent(&track);
  }
  int slot = 0, edge = 0;
  if (!HitTest(point.x, point.y, slot, edge)) return;
  if (m_bButtonDown) {
    if (edge == 0) {
      if (slot != m_nSelected) BeginDrag(slot);
    } else {
      ListNavState state = NavState();
      NavEffect effect = EdgeStep(state, edge);
      ApplyNav(state, effect);
    }
    return;
  }
  // The empty area below the last item leaves the hover row as it was.
  if (edge == 0 && slot != m_nHover) {
    if (m_nHover >= 0) InvalidateSlot(m_nHover);
    m_nHover = slot;
    InvalidateSlot(m_nHover);
  }
}

void CSuggestListWnd::OnTimer(UINT_PTR id) {
  if (id != SUGGEST_TIMER_AUTOSCROLL) {
    Default();
    return;
  }
  POINT cursor;
  if (!::GetCursorPos(&cursor)) return;
  ::ScreenToClient(m_hWnd, &cursor);
  int slot = 0, edge = 0;
  if (!HitTest(cursor.x, cursor.y, slot, edge)) return;
  ListNavState state = NavState();
  NavEffect effect = EdgeStep(state, edge);
  ApplyNav(state, effect);
}

// One row per message, whatever the delta; answers 0.
BOOL CSuggestListWnd::OnMouseWheel(UINT, short delta, POINT) {
  SendMessageW(WM_KEYDOWN, delta < 0 ? VK_DOWN : VK_UP, 0);
  return FALSE;
}

void CSuggestListWnd::OnClose() { ShowWindow(SW_HIDE); }

void CSuggestListWnd::OnCaptureChanged(HWND gaining) {
  if (gaining != m_hWnd) SendMessageW(WM_LBUTTONUP, 0, 0);
  Default();
}

LRESULT CSuggestListWnd::OnDataCenterBroadcast(WPARAM code, LPARAM) {
  if (code == BROADCAST_PALETTE_CHANGED && LoadPalette()) Invalidate(TRUE);
  return 0;
}

void CSuggestListWnd::OnMouseLeave() {
  m_bTracking = FALSE;
  m_nHover = -1;
  Invalidate(FALSE);
}

void CSuggestListWnd::OnSuggestActivate() { ActivateSelection(); }

void CSuggestListWnd::OnSuggestSaveHistory() { SaveHistory(); }
