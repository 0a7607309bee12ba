#include "TestTerminal.h"

#include <cwctype>

#include "Pump.h"
#include "frame/IHotKeyManager.h"

const ReceivedMessage* CRecordingWnd::Find(UINT message) const {
  for (const ReceivedMessage& received : m_received)
    if (received.message == message) return &received;
  return nullptr;
}

LRESULT CRecordingWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message >= WM_USER) m_received.push_back(ReceivedMessage{message, wParam, lParam});
  return CWnd::WindowProc(message, wParam, lParam);
}

LRESULT CForwardingView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  bool keyboard = message == WM_KEYDOWN || message == WM_KEYUP || message == WM_CHAR ||
                  message == WM_IME_CHAR || message == WM_IME_COMPOSITION;
  bool button = message >= WM_LBUTTONDOWN && message <= WM_MBUTTONDBLCLK;
  if (m_pManager && (keyboard || button))
    m_pManager->ProcessKeyboardMessage(message, wParam, lParam);
  return CWnd::WindowProc(message, wParam, lParam);
}

void TestTerminal::Type(const wchar_t* text) {
  for (const wchar_t* c = text; *c; ++c) {
    DWORD start = GetTickCount();
    while (GetTickCount() == start) SwitchToThread();
    UINT vk = static_cast<UINT>(towupper(*c));
    m_view.PostMessageW(WM_KEYDOWN, vk, 1);
    m_view.PostMessageW(WM_CHAR, *c, 1);
    m_view.PostMessageW(WM_KEYUP, vk, 0xC0000001);
    PumpPending();
  }
}

TestTerminal::TestTerminal() {
  RECT frameRect = {40, 40, 840, 640};
  m_frame.CreateEx(0, nullptr, L"terminal", WS_OVERLAPPEDWINDOW | WS_VISIBLE, frameRect, nullptr,
                   0);
  RECT viewRect = {0, 0, 500, 400};
  m_view.CreateEx(0, nullptr, L"view", WS_CHILD | WS_VISIBLE | WS_TABSTOP, viewRect, &m_frame, 1);
  RECT otherRect = {500, 0, 780, 400};
  m_otherView.CreateEx(0, nullptr, L"other", WS_CHILD | WS_VISIBLE, otherRect, &m_frame, 2);
  RECT commandRect = {0, 400, 780, 520};
  m_command.CreateEx(0, nullptr, L"command", WS_CHILD | WS_VISIBLE, commandRect, &m_frame, 3);
  m_frame.m_pFirstView = &m_view;
  m_env.env()->SetMainFrameWnd(m_frame.m_hWnd);
  m_env.env()->SetCommandWnd(m_command.m_hWnd);
  SetForegroundWindow(m_frame.m_hWnd);
  m_view.SetFocus();
}

TestTerminal::~TestTerminal() {
  m_env.env()->SetMainFrameWnd(nullptr);
  m_env.env()->SetCommandWnd(nullptr);
  m_frame.DestroyWindow();
}

RECT TestTerminal::ViewRect() const {
  RECT rect;
  m_view.GetWindowRect(&rect);
  return rect;
}

RECT TestTerminal::CommandRect() const {
  RECT rect;
  m_command.GetWindowRect(&rect);
  return rect;
}
