#include "KitTerminal.h"

#include "services/LoggerHost.h"

namespace {

const wchar_t kClass[] = L"KitTerminalWindow";

void RegisterKitClass() {
  static bool registered = false;
  if (registered) return;
  WNDCLASSEXW wc = {};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = kClass;
  registered = RegisterClassExW(&wc) != 0;
}

bool IsForwarded(UINT message) {
  return message == WM_KEYDOWN || message == WM_KEYUP || message == WM_CHAR ||
         (message >= WM_LBUTTONDOWN && message <= WM_MBUTTONDBLCLK);
}

}  // namespace

KitTerminal::KitTerminal(CTerminalHost& host) : m_host(host) {
  RegisterKitClass();
  HINSTANCE instance = GetModuleHandleW(nullptr);
  m_frame = CreateWindowExW(0, kClass, L"terminal", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 800,
                            600, nullptr, nullptr, instance, nullptr);
  auto child = [&](const wchar_t* name, int x, int y, int width, int height) {
    return CreateWindowExW(0, kClass, name, WS_CHILD | WS_VISIBLE, x, y, width, height, m_frame,
                           nullptr, instance, nullptr);
  };
  m_view = child(L"view", 0, 0, 500, 400);
  m_receiver = child(L"receiver", 500, 0, 280, 200);
  m_container = child(L"container", 500, 200, 280, 200);
  m_command = child(L"command", 0, 400, 780, 150);
  for (HWND wnd : {m_frame, m_view, m_receiver, m_container, m_command}) {
    SetWindowLongPtrW(wnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrW(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&KitTerminal::WindowProc));
  }
  host.SetCommandWindow(m_command);
  host.SetView(m_view, 0);
  SetForegroundWindow(m_frame);
  SetFocus(m_view);
  PumpPending();
}

KitTerminal::~KitTerminal() {
  m_host.SetCommandWindow(nullptr);
  m_host.SetView(nullptr, 0);
  DestroyWindow(m_frame);
}

LRESULT CALLBACK KitTerminal::WindowProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* terminal = reinterpret_cast<KitTerminal*>(GetWindowLongPtrW(wnd, GWLP_USERDATA));
  if (terminal && message >= WM_USER && message < 0x7000) {
    terminal->m_received.push_back(KitMessage{wnd, message, wParam, lParam});
    if (terminal->m_onMessage) return terminal->m_onMessage(terminal->m_received.back());
    return 0;
  }
  return DefWindowProcW(wnd, message, wParam, lParam);
}

void KitTerminal::PumpPending() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    // The terminal's loop: its own windows' keys and buttons go to slot 9 first. The characters
    // come posted with their keys, so nothing is translated.
    if (IsForwarded(msg.message) && m_host.Manager() && msg.hwnd &&
        GetAncestor(msg.hwnd, GA_ROOT) == m_frame)
      m_host.Manager()->ProcessKeyboardMessage(msg.message, msg.wParam, msg.lParam);
    DispatchMessageW(&msg);
  }
}

bool KitTerminal::PumpUntil(const std::function<bool()>& done) {
  for (int round = 0; round < 250; ++round) {
    PumpPending();
    if (done()) return true;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
  }
  PumpPending();
  return done();
}

void KitTerminal::PressKey(UINT key, wchar_t character) {
  for (DWORD start = GetTickCount(); GetTickCount() == start;) SwitchToThread();
  HWND target = GetFocus() ? GetFocus() : m_view;
  PostMessageW(target, WM_KEYDOWN, key, 1);
  PumpPending();
  if (character) {
    PostMessageW(target, WM_CHAR, character, 1);
    PumpPending();
  }
  PostMessageW(GetFocus() ? GetFocus() : m_view, WM_KEYUP, key, static_cast<LPARAM>(0xC0000001u));
  PumpPending();
}

void KitTerminal::Type(const wchar_t* text) {
  for (const wchar_t* c = text; *c; ++c) PressKey(static_cast<UINT>(towupper(*c)), *c);
}

void KitTerminal::Press(UINT key) { PressKey(key, 0); }

const KitMessage* KitTerminal::Find(HWND wnd, UINT message) const {
  for (const KitMessage& received : m_received)
    if (received.wnd == wnd && received.message == message) return &received;
  return nullptr;
}

HWND KitTerminal::Popup() const {
  // The pop-up is a dialog (class "#32770") of this thread.
  for (HWND wnd = FindWindowExW(nullptr, nullptr, L"#32770", nullptr); wnd;
       wnd = FindWindowExW(nullptr, wnd, L"#32770", nullptr))
    if (GetWindowThreadProcessId(wnd, nullptr) == GetCurrentThreadId() && IsWindowVisible(wnd))
      return wnd;
  return nullptr;
}

LogLines::LogLines() {
  SetLogLineHook(
      [](void* context, const wchar_t* loggerName, int, const wchar_t* text) {
        static_cast<LogLines*>(context)->m_lines.push_back(std::wstring(loggerName) + L"|" + text);
      },
      this);
}

LogLines::~LogLines() { SetLogLineHook(nullptr, nullptr); }

int LogLines::Count(const wchar_t* tag) const {
  int count = 0;
  for (const std::wstring& line : m_lines)
    if (line.compare(0, wcslen(tag) + 1, std::wstring(tag) + L"|") == 0) ++count;
  return count;
}
