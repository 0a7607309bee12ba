// What the trader does to the list: keys, the wheel, clicks, double-clicks, drags with their
// auto-scroll, the pointer's hover, the scrollbar's events, and the hand-over of the chosen row
// to the table, with the pick joining the recent ones.
#include "SuggestListWnd.h"

#include <commctrl.h>

#include <cwchar>
#include <new>

#include "frame/Scrollbar.h"
#include "frame/Unknown.h"
#include "table/MappingTable.h"

// --- Navigation steps. ---

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
  if (effect.invalidateAll) InvalidateRows(nullptr, FALSE);
  for (int i = 0; i < effect.refreshes; ++i) RefreshView();
  AnnounceSelection();
}

int CSuggestListWnd::OnScrollEvent(CQXScrollbarWnd* bar, int group, int event, int detail) {
  if (group != 0 || !bar || bar != m_pScrollBar) return 0;
  ListNavState state = NavState();
  NavEffect effect = ScrollEventStep(state, event, detail);
  ApplyNav(state, effect);
  return 1;
}

// --- Keys and the mouse. ---

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
  AnnounceSelection();
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

void CSuggestListWnd::OnCaptureChanged(HWND gaining) {
  if (gaining != m_hWnd) SendMessageW(WM_LBUTTONUP, 0, 0);
  Default();
}

void CSuggestListWnd::OnMouseLeave() {
  m_bTracking = FALSE;
  m_nHover = -1;
  InvalidateRows(nullptr, FALSE);
}

// --- Activation. ---

void CSuggestListWnd::OnSuggestActivate() { ActivateSelection(); }

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

void CSuggestListWnd::Notify(UINT code) {
  SuggestListNotify record;
  record.data = nullptr;
  NotifyParent(code, &record.hdr);
}
