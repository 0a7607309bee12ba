// The terminal's message loop: its own keys first, then the keyboard, character and mouse-button
// messages of the main frame's windows handed to the smart keyboard through slot 9, as a terminal
// does, before they are translated and dispatched.
#include "DemoTerminal.h"
#include "DemoWindows.h"

namespace {

const wchar_t* MessageName(UINT message) {
  switch (message) {
    case WM_KEYDOWN:
      return L"WM_KEYDOWN";
    case WM_KEYUP:
      return L"WM_KEYUP";
    case WM_CHAR:
      return L"WM_CHAR";
    case WM_IME_COMPOSITION:
      return L"WM_IME_COMPOSITION";
    case WM_LBUTTONDOWN:
      return L"WM_LBUTTONDOWN";
    case WM_LBUTTONUP:
      return L"WM_LBUTTONUP";
    case WM_LBUTTONDBLCLK:
      return L"WM_LBUTTONDBLCLK";
    case WM_RBUTTONDOWN:
      return L"WM_RBUTTONDOWN";
    case WM_RBUTTONUP:
      return L"WM_RBUTTONUP";
    default:
      return L"mouse button";
  }
}

// The keyboard, character and mouse-button messages a terminal hands to slot 9 from its loop;
// the input-method result is sent, not posted, and is passed on by the window procedures.
bool IsForwardedFromLoop(UINT message) {
  return message == WM_KEYDOWN || message == WM_KEYUP || message == WM_CHAR ||
         (message >= WM_LBUTTONDOWN && message <= WM_MBUTTONDBLCLK);
}

}  // namespace

bool CDemoTerminal::IsFrameWindow(HWND wnd) const {
  return wnd && m_pFrame && m_pFrame->Wnd() && GetAncestor(wnd, GA_ROOT) == m_pFrame->Wnd();
}

void CDemoTerminal::AddSyntheticKeyDown(HWND wnd, WPARAM key, LPARAM lParam) {
  MSG msg = {};
  msg.hwnd = wnd;
  msg.message = WM_KEYDOWN;
  msg.wParam = key;
  msg.lParam = lParam;
  m_syntheticKeyDowns.push_back(msg);
}

void CDemoTerminal::Dispatch(MSG& msg) {
  if (IsFrameWindow(msg.hwnd)) {
    if (msg.message == WM_KEYDOWN && HandleAccelerator(msg.wParam)) return;
    if (IsForwardedFromLoop(msg.message))
      ForwardToSmartKeyboard(msg.message, msg.wParam, msg.lParam);
  }
  bool translate = true;
  if (msg.message == WM_KEYDOWN) {
    for (auto it = m_syntheticKeyDowns.begin(); it != m_syntheticKeyDowns.end(); ++it) {
      if (it->hwnd == msg.hwnd && it->wParam == msg.wParam && it->lParam == msg.lParam) {
        m_syntheticKeyDowns.erase(it);
        translate = false;  // its character was posted with it
        break;
      }
    }
  }
  if (translate) TranslateMessage(&msg);
  DispatchMessageW(&msg);
}

bool CDemoTerminal::PumpPending() {
  MSG msg;
  while (!m_bQuit && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      m_bQuit = true;
      break;
    }
    Dispatch(msg);
  }
  return !m_bQuit;
}

bool CDemoTerminal::PumpFor(DWORD milliseconds) {
  DWORD started = GetTickCount();
  for (;;) {
    if (!PumpPending()) return false;
    DWORD elapsed = GetTickCount() - started;
    if (elapsed >= milliseconds) return true;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, milliseconds - elapsed, QS_ALLINPUT);
  }
}

int CDemoTerminal::RunLoop() {
  MSG msg;
  while (!m_bQuit) {
    BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got <= 0) {
      m_bQuit = true;
      break;
    }
    Dispatch(msg);
  }
  return 0;
}

BOOL CDemoTerminal::ForwardToSmartKeyboard(UINT message, WPARAM wParam, LPARAM lParam) {
  if (!Manager()) return FALSE;
  BOOL result = Manager()->ProcessKeyboardMessage(message, wParam, lParam);
  ++m_nForwarded;
  m_nLastForwarded = message;
  m_nLastResult = result;
  if (m_pFrame && m_pFrame->Wnd()) {
    RECT client;
    GetClientRect(m_pFrame->Wnd(), &client);
    client.top = client.bottom - Scale(26);
    InvalidateRect(m_pFrame->Wnd(), &client, FALSE);
  }
  return result;
}

std::wstring CDemoTerminal::ForwardSummary() const {
  if (m_nForwarded == 0) return L"slot 9: nothing forwarded yet";
  return FormatText(L"slot 9: %d forwarded, last %ls \x2192 %d", m_nForwarded,
                    MessageName(m_nLastForwarded), m_nLastResult);
}

HWND CDemoTerminal::PopupWindow() const {
  struct Search {
    HWND frame;
    HWND found;
  } search = {m_pFrame ? m_pFrame->Wnd() : nullptr, nullptr};
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND wnd, LPARAM param) -> BOOL {
        auto* s = reinterpret_cast<Search*>(param);
        if (wnd == s->frame || !IsWindowVisible(wnd)) return TRUE;
        s->found = wnd;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}
