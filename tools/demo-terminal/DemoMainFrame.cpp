// The main frame: its menu, the layout of the panes, the status line with the terminal's keys and
// what slot 9 answered, the view type it tells the component, and the frame's own messages (size,
// focus, menu, dpi, close).
#include <algorithm>
#include <string>

#include "DemoDrawing.h"
#include "DemoTerminal.h"
#include "DemoWindows.h"

CDemoMainFrame::CDemoMainFrame(CDemoTerminal* terminal)
    : CDemoPaintWnd(terminal),
      m_view(terminal),
      m_command(terminal),
      m_receiver(terminal),
      m_containerWnd(terminal),
      m_panel(terminal),
      m_rcStatus(),
      m_hMenu(nullptr) {}

CDemoMainFrame::~CDemoMainFrame() {
  // The element goes before its window.
  m_element.reset();
  if (m_hWnd) DestroyWindow(m_hWnd);
}

HMENU CDemoMainFrame::CreateFrameMenu() {
  HMENU menu = CreateMenu();
  HMENU view = CreatePopupMenu();
  for (int type = 0; type <= 5; ++type) {
    std::wstring text =
        L"View type &" + std::to_wstring(type) +
        (type >= 1 && type <= 4 ? L"  (pop-up at the command window)" : L"  (pop-up at the view)");
    AppendMenuW(view, MF_STRING, ID_DEMO_VIEWTYPE_0 + type, text.c_str());
  }
  AppendMenuW(view, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(view, MF_STRING, ID_DEMO_VIEWTYPE_NEXT, L"&Next view type\tF2");
  HMENU keyboard = CreatePopupMenu();
  AppendMenuW(keyboard, MF_STRING, ID_DEMO_SHOW_AT_VIEW, L"&Open at the current view\tF7");
  AppendMenuW(keyboard, MF_STRING, ID_DEMO_SHOW_FOR_WINDOW, L"Pick for the receiver &window\tF5");
  AppendMenuW(keyboard, MF_STRING, ID_DEMO_SHOW_FOR_CONTAINER,
              L"Pick for the element &container\tF6");
  AppendMenuW(keyboard, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(keyboard, MF_STRING, ID_DEMO_MINI_TRADE, L"&Mini trade panel visible");
  HMENU skin = CreatePopupMenu();
  AppendMenuW(skin, MF_STRING, ID_DEMO_SKIN_LIGHT, L"&Light");
  AppendMenuW(skin, MF_STRING, ID_DEMO_SKIN_DARK, L"&Dark");
  AppendMenuW(skin, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(skin, MF_STRING, ID_DEMO_SKIN_TOGGLE, L"&Switch skin\tF9");
  HMENU file = CreatePopupMenu();
  AppendMenuW(file, MF_STRING, ID_DEMO_EXIT, L"E&xit");
  AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"&File");
  AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(view), L"&View");
  AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(keyboard), L"&Smart keyboard");
  AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(skin), L"S&kin");
  return menu;
}

bool CDemoMainFrame::CreateFrame(int dpi) {
  m_hMenu = CreateFrameMenu();

  // The frame's size is designed at 96 dpi and kept within the work area.
  RECT work;
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  int width = std::min<int>(MulDiv(1060, dpi, 96), work.right - work.left);
  int height = std::min<int>(MulDiv(740, dpi, 96), work.bottom - work.top);
  int left = work.left + std::min<int>(MulDiv(24, dpi, 96), work.right - work.left - width);
  int top = work.top + std::min<int>(MulDiv(24, dpi, 96), work.bottom - work.top - height);
  RECT rect = Rect(left, top, left + width, top + height);
  if (!Create(0, L"Demo terminal \x2014 smart keyboard", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
              rect, nullptr, 0))
    return false;
  ::SetMenu(m_hWnd, m_hMenu);
  RECT none = {};
  const DWORD child = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
  if (!m_view.Create(0, L"Current view", child, none, m_hWnd, 1) ||
      !m_command.Create(0, L"Command window", child, none, m_hWnd, 2) ||
      !m_receiver.Create(0, L"Receiver window", child, none, m_hWnd, 3) ||
      !m_containerWnd.Create(0, L"Element container", child, none, m_hWnd, 4) ||
      !m_panel.Create(0, L"Received", child, none, m_hWnd, 5))
    return false;
  m_element.reset(new CHostElementContainer(m_containerWnd.Wnd(), kElementId));
  Layout();
  UpdateMenuChecks();
  return true;
}

void CDemoMainFrame::Layout() {
  if (!m_hWnd || !m_view.Wnd()) return;
  CDemoTerminal* t = m_pTerminal;
  RECT client;
  ::GetClientRect(m_hWnd, &client);
  int gap = t->Scale(8);
  int statusHeight = t->Scale(26);
  m_rcStatus = Rect(0, client.bottom - statusHeight, client.right, client.bottom);
  int left = gap, right = client.right - gap, top = gap;
  int bottom = m_rcStatus.top - gap;
  int commandHeight = t->Scale(40);
  int topHeight = std::max<int>(t->Scale(200), (bottom - top - commandHeight - 2 * gap) * 55 / 100);
  int sideWidth = t->Scale(300);
  int viewRight = right - sideWidth - gap;
  m_view.Move(Rect(left, top, viewRight, top + topHeight));
  int half = (topHeight - gap) / 2;
  m_receiver.Move(Rect(viewRight + gap, top, right, top + half));
  m_containerWnd.Move(Rect(viewRight + gap, top + half + gap, right, top + topHeight));
  int commandTop = top + topHeight + gap;
  m_command.Move(Rect(left, commandTop, right, commandTop + commandHeight));
  m_panel.Move(Rect(left, commandTop + commandHeight + gap, right, bottom));
}

void CDemoMainFrame::RefreshAll() {
  if (!m_hWnd) return;
  RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
}

void CDemoMainFrame::UpdateMenuChecks() {
  if (!m_hMenu) return;
  int type = m_pTerminal->ViewType();
  CheckMenuRadioItem(m_hMenu, ID_DEMO_VIEWTYPE_0, ID_DEMO_VIEWTYPE_0 + 5, ID_DEMO_VIEWTYPE_0 + type,
                     MF_BYCOMMAND);
  CheckMenuRadioItem(m_hMenu, ID_DEMO_SKIN_LIGHT, ID_DEMO_SKIN_DARK,
                     m_pTerminal->SkinName() == L"dark" ? ID_DEMO_SKIN_DARK : ID_DEMO_SKIN_LIGHT,
                     MF_BYCOMMAND);
  CheckMenuItem(m_hMenu, ID_DEMO_MINI_TRADE,
                MF_BYCOMMAND | (m_pTerminal->MiniTradeVisible() ? MF_CHECKED : MF_UNCHECKED));
}

// The view type the trader chose applies to the current view; other windows have none.
int CDemoMainFrame::GetViewType(HWND view) {
  return view && view == m_view.Wnd() ? m_pTerminal->ViewType() : 0;
}

void CDemoMainFrame::Paint(HDC dc, const RECT& client) {
  CDemoTerminal* t = m_pTerminal;
  const DemoTheme& theme = t->Theme();
  Fill(dc, client, theme.frameBg);
  Fill(dc, m_rcStatus, theme.statusBg);
  int pad = t->Scale(12);
  RECT rect =
      Rect(m_rcStatus.left + pad, m_rcStatus.top, m_rcStatus.right - pad, m_rcStatus.bottom);
  std::wstring keys =
      L"F2 view type   F5 pick for window   F6 pick for container   "
      L"F7 open at view   F9 skin: " +
      t->SkinName();
  Text(dc, keys, rect, t->Font(CDemoTerminal::kFontSmall), theme.muted);
  Text(dc, t->ForwardSummary(), rect, t->Font(CDemoTerminal::kFontSmall), theme.muted,
       kDemoTextFlags | DT_RIGHT);
}

// --- The frame's messages. ---

LRESULT CDemoMainFrame::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SIZE:
      Layout();
      Invalidate();
      break;
    case WM_SETFOCUS:
      if (m_view.Wnd()) ::SetFocus(m_view.Wnd());
      return 0;
    case WM_COMMAND:
      // Menu commands; accelerator and control notifications get the default processing.
      if (HIWORD(wParam) == 0) {
        m_pTerminal->OnMenuCommand(LOWORD(wParam));
        return 0;
      }
      break;
    case WM_DPICHANGED:
      return OnDpiChanged(LOWORD(wParam), reinterpret_cast<const RECT*>(lParam));
    case WM_CLOSE:
      DestroyWindow(m_hWnd);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      break;
    default:
      break;
  }
  return CDemoPaintWnd::OnMessage(message, wParam, lParam);
}

LRESULT CDemoMainFrame::OnDpiChanged(UINT dpi, const RECT* suggested) {
  m_pTerminal->SetDpi(static_cast<int>(dpi));
  if (suggested)
    SetWindowPos(m_hWnd, nullptr, suggested->left, suggested->top,
                 suggested->right - suggested->left, suggested->bottom - suggested->top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  Layout();
  RefreshAll();
  return 0;
}
