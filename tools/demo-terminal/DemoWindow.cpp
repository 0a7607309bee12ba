// The demo's plain Win32 windows: one window class whose procedure finds the window's object and
// lets it handle the message.
#include "DemoWindows.h"

namespace {

const wchar_t kDemoWindowClass[] = L"DemoTerminalWindow";

void RegisterDemoWindowClass(WNDPROC procedure) {
  static bool registered = false;
  if (registered) return;
  WNDCLASSEXW wc = {};
  wc.cbSize = sizeof(wc);
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = procedure;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  wc.lpszClassName = kDemoWindowClass;
  registered = RegisterClassExW(&wc) != 0;
}

}  // namespace

CDemoWindow::~CDemoWindow() {
  if (m_hWnd) DestroyWindow(m_hWnd);
}

bool CDemoWindow::Create(DWORD exStyle, const wchar_t* title, DWORD style, const RECT& rect,
                         HWND parent, UINT id) {
  if (m_hWnd) return false;
  RegisterDemoWindowClass(&CDemoWindow::WindowProc);
  HMENU menu = (style & WS_CHILD) ? reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)) : nullptr;
  // The procedure attaches the handle when the window is made (WM_NCCREATE).
  return CreateWindowExW(exStyle, kDemoWindowClass, title, style, rect.left, rect.top,
                         rect.right - rect.left, rect.bottom - rect.top, parent, menu,
                         GetModuleHandleW(nullptr), this) != nullptr;
}

void CDemoWindow::Invalidate() const {
  if (m_hWnd) InvalidateRect(m_hWnd, nullptr, FALSE);
}

void CDemoWindow::Move(const RECT& rect) const {
  if (m_hWnd)
    MoveWindow(m_hWnd, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, TRUE);
}

LRESULT CDemoWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(m_hWnd, message, wParam, lParam);
}

LRESULT CALLBACK CDemoWindow::WindowProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* object =
        static_cast<CDemoWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    object->m_hWnd = wnd;
    SetWindowLongPtrW(wnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(object));
  }
  auto* object = reinterpret_cast<CDemoWindow*>(GetWindowLongPtrW(wnd, GWLP_USERDATA));
  if (!object) return DefWindowProcW(wnd, message, wParam, lParam);
  const LRESULT result = object->OnMessage(message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(wnd, GWLP_USERDATA, 0);
    object->m_hWnd = nullptr;
  }
  return result;
}
