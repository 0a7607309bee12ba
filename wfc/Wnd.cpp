#include "Wnd.h"

#include <mutex>
#include <unordered_map>

#include "ModuleState.h"

namespace {

const wchar_t kFrameworkClass[] = L"WfcWindow";

std::mutex& HandleMapMutex() {
  static std::mutex mutex;
  return mutex;
}

std::unordered_map<HWND, CWnd*>& HandleMap() {
  static std::unordered_map<HWND, CWnd*> map;
  return map;
}

// The object whose window the current thread is creating; the hook attaches the new handle to it.
thread_local CWnd* t_pWndInit = nullptr;

HINSTANCE FrameworkModule() {
  HMODULE module = nullptr;
  GetModuleHandleExW(
      GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
      reinterpret_cast<LPCWSTR>(&HandleMapMutex), &module);
  return module;
}

void RegisterFrameworkClass() {
  static std::once_flag once;
  std::call_once(once, [] {
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    wc.style = CS_DBLCLKS | CS_GLOBALCLASS;
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = FrameworkModule();
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.lpszClassName = kFrameworkClass;
    RegisterClassExW(&wc);
  });
}

}  // namespace

LRESULT CALLBACK WfcWndProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam) {
  CWnd* object = CWnd::FromHandlePermanent(wnd);
  if (!object) return DefWindowProcW(wnd, message, wParam, lParam);
  // Handlers may send messages to their own window: keep the outer message for Default().
  UINT savedMsg = object->m_nCurrentMsg;
  WPARAM savedW = object->m_wCurrentParam;
  LPARAM savedL = object->m_lCurrentParam;
  object->m_nCurrentMsg = message;
  object->m_wCurrentParam = wParam;
  object->m_lCurrentParam = lParam;
  LRESULT result = object->WindowProc(message, wParam, lParam);
  object->m_nCurrentMsg = savedMsg;
  object->m_wCurrentParam = savedW;
  object->m_lCurrentParam = savedL;
  if (message == WM_NCDESTROY) {
    object->DetachHandle();
    object->PostNcDestroy();
  }
  return result;
}

LRESULT CALLBACK WfcCbtHook(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_CREATEWND && t_pWndInit) {
    CWnd* object = t_pWndInit;
    t_pWndInit = nullptr;
    object->AttachHandle(reinterpret_cast<HWND>(wParam));
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

CWndCreateScope::CWndCreateScope(CWnd* wnd) : m_pPrevious(t_pWndInit), m_hHook(nullptr) {
  t_pWndInit = wnd;
  m_hHook = SetWindowsHookExW(WH_CBT, WfcCbtHook, nullptr, GetCurrentThreadId());
}

CWndCreateScope::~CWndCreateScope() {
  if (m_hHook) UnhookWindowsHookEx(m_hHook);
  t_pWndInit = m_pPrevious;
}

CWnd::CWnd()
    : m_hWnd(nullptr),
      m_pfnSuper(nullptr),
      m_nCurrentMsg(0),
      m_wCurrentParam(0),
      m_lCurrentParam(0) {}

// An object going away with its window still there leaves the window to its default procedure.
CWnd::~CWnd() {
  if (m_hWnd) {
    HWND wnd = m_hWnd;
    DetachHandle();
    ::DestroyWindow(wnd);
  }
}

CWnd* CWnd::FromHandlePermanent(HWND wnd) {
  if (!wnd) return nullptr;
  std::lock_guard<std::mutex> lock(HandleMapMutex());
  auto it = HandleMap().find(wnd);
  return it == HandleMap().end() ? nullptr : it->second;
}

void CWnd::AttachHandle(HWND wnd) {
  m_hWnd = wnd;
  {
    std::lock_guard<std::mutex> lock(HandleMapMutex());
    HandleMap()[wnd] = this;
  }
  WNDPROC current = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(wnd, GWLP_WNDPROC));
  if (current != WfcWndProc) {
    m_pfnSuper = current;
    SetWindowLongPtrW(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(WfcWndProc));
  }
}

void CWnd::DetachHandle() {
  if (!m_hWnd) return;
  if (m_pfnSuper &&
      reinterpret_cast<WNDPROC>(GetWindowLongPtrW(m_hWnd, GWLP_WNDPROC)) == WfcWndProc)
    SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
  {
    std::lock_guard<std::mutex> lock(HandleMapMutex());
    HandleMap().erase(m_hWnd);
  }
  m_hWnd = nullptr;
}

BOOL CWnd::CreateEx(DWORD exStyle, const wchar_t* className, const wchar_t* windowName, DWORD style,
                    const RECT& rect, CWnd* parent, UINT id, void* param) {
  if (m_hWnd) return FALSE;
  if (!className) {
    RegisterFrameworkClass();
    className = kFrameworkClass;
  }
  HWND parentWnd = parent ? parent->m_hWnd : nullptr;
  HMENU menu = (style & WS_CHILD) ? reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)) : nullptr;
  HWND wnd;
  {
    CWndCreateScope scope(this);
    wnd = CreateWindowExW(exStyle, className, windowName, style, rect.left, rect.top,
                          rect.right - rect.left, rect.bottom - rect.top, parentWnd, menu,
                          WfcGetResourceHandle(), param);
  }
  if (!wnd) {
    // A window refused in WM_CREATE is gone already; drop a handle the hook attached.
    if (m_hWnd) DetachHandle();
    return FALSE;
  }
  return TRUE;
}

BOOL CWnd::Create(const wchar_t* className, const wchar_t* windowName, DWORD style,
                  const RECT& rect, CWnd* parent, UINT id) {
  return CreateEx(0, className, windowName, style | WS_CHILD, rect, parent, id);
}

BOOL CWnd::SubclassWindow(HWND wnd) {
  if (m_hWnd || !IsWindow(wnd) || FromHandlePermanent(wnd)) return FALSE;
  AttachHandle(wnd);
  return TRUE;
}

BOOL CWnd::DestroyWindow() { return m_hWnd ? ::DestroyWindow(m_hWnd) : FALSE; }

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (!OnWndMsg(message, wParam, lParam, &result)) result = DefWindowProc(message, wParam, lParam);
  return result;
}

namespace {
WfcHandlerProbeFn s_probeEnter = nullptr;
WfcHandlerProbeFn s_probeLeave = nullptr;
}  // namespace

void WfcSetHandlerProbe(WfcHandlerProbeFn enter, WfcHandlerProbeFn leave) {
  s_probeEnter = enter;
  s_probeLeave = leave;
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  const NMHDR* header = message == WM_NOTIFY ? reinterpret_cast<const NMHDR*>(lParam) : nullptr;
  for (const WFC_MSGMAP* map = GetMessageMap(); map;
       map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
    for (const WFC_MSGMAP_ENTRY* entry = map->lpEntries; entry && entry->pfnThunk; ++entry) {
      if (entry->nMessage != message) continue;
      if (message == WM_NOTIFY &&
          (!header || header->code != entry->nCode || header->idFrom != entry->nID))
        continue;
      if (s_probeEnter) s_probeEnter(m_hWnd, message);
      *result = entry->pfnThunk(this, wParam, lParam);
      if (s_probeLeave) s_probeLeave(m_hWnd, message);
      return TRUE;
    }
  }
  return FALSE;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (m_pfnSuper) return CallWindowProcW(m_pfnSuper, m_hWnd, message, wParam, lParam);
  return DefWindowProcW(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default() { return DefWindowProc(m_nCurrentMsg, m_wCurrentParam, m_lCurrentParam); }

void CWnd::PostNcDestroy() {}

const WFC_MSGMAP* CWnd::GetThisMessageMap() {
  static const WFC_MSGMAP_ENTRY entries[] = {{0, 0, 0, nullptr}};
  static const WFC_MSGMAP map = {nullptr, entries};
  return &map;
}

const WFC_MSGMAP* CWnd::GetMessageMap() const { return GetThisMessageMap(); }

BOOL CWnd::ShowWindow(int command) { return ::ShowWindow(m_hWnd, command); }
BOOL CWnd::IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
void CWnd::MoveWindow(const RECT& rect, BOOL repaint) {
  ::MoveWindow(m_hWnd, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
               repaint);
}
BOOL CWnd::SetWindowPos(HWND after, int x, int y, int cx, int cy, UINT flags) {
  return ::SetWindowPos(m_hWnd, after, x, y, cx, cy, flags);
}
void CWnd::GetClientRect(RECT* rect) const { ::GetClientRect(m_hWnd, rect); }
void CWnd::GetWindowRect(RECT* rect) const { ::GetWindowRect(m_hWnd, rect); }
void CWnd::Invalidate(BOOL erase) { ::InvalidateRect(m_hWnd, nullptr, erase); }
void CWnd::InvalidateRect(const RECT* rect, BOOL erase) { ::InvalidateRect(m_hWnd, rect, erase); }
void CWnd::UpdateWindow() { ::UpdateWindow(m_hWnd); }
void CWnd::SetRedraw(BOOL redraw) { ::SendMessageW(m_hWnd, WM_SETREDRAW, redraw, 0); }
HWND CWnd::GetParentHwnd() const { return ::GetParent(m_hWnd); }
CWnd* CWnd::GetParent() const { return FromHandlePermanent(::GetParent(m_hWnd)); }
int CWnd::GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
LRESULT CWnd::NotifyParent(UINT code, NMHDR* header) {
  HWND parent = m_hWnd ? ::GetParent(m_hWnd) : nullptr;
  if (!parent || !header) return 0;
  header->hwndFrom = m_hWnd;
  header->idFrom = static_cast<UINT_PTR>(GetDlgCtrlID());
  header->code = code;
  return ::SendMessageW(parent, WM_NOTIFY, header->idFrom, reinterpret_cast<LPARAM>(header));
}
HWND CWnd::SetFocus() { return ::SetFocus(m_hWnd); }
BOOL CWnd::ModifyStyleEx(DWORD remove, DWORD add, UINT flags) {
  if (!m_hWnd) return FALSE;
  DWORD style = static_cast<DWORD>(GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE));
  DWORD changed = (style & ~remove) | add;
  if (changed == style) return FALSE;
  SetWindowLongPtrW(m_hWnd, GWL_EXSTYLE, static_cast<LONG_PTR>(changed));
  if (flags)
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                   SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | flags);
  return TRUE;
}
UINT_PTR CWnd::SetTimer(UINT_PTR id, UINT elapse) {
  return ::SetTimer(m_hWnd, id, elapse, nullptr);
}
BOOL CWnd::KillTimer(UINT_PTR id) { return ::KillTimer(m_hWnd, id); }
LRESULT CWnd::SendMessageW(UINT message, WPARAM wParam, LPARAM lParam) {
  return ::SendMessageW(m_hWnd, message, wParam, lParam);
}
BOOL CWnd::PostMessageW(UINT message, WPARAM wParam, LPARAM lParam) {
  return ::PostMessageW(m_hWnd, message, wParam, lParam);
}
