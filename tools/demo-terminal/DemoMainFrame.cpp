// The main frame: its menu, the layout of the panes, the status line with the terminal's keys and
// what slot 9 answered, and the frame's own messages (size, focus, menu, dpi, close).
#include <algorithm>
#include <string>

#include "DemoDrawing.h"
#include "DemoTerminal.h"
#include "DemoWindows.h"

BEGIN_MESSAGE_MAP(CDemoMainFrame, CDemoPaintWnd)
ON_WM_SIZE()
ON_WM_SETFOCUS()
ON_WM_COMMAND()
ON_WM_DPICHANGED()
ON_WM_CLOSE()
ON_WM_DESTROY()
END_MESSAGE_MAP()

CDemoMainFrame::CDemoMainFrame(CDemoTerminal* terminal)
    : CDemoPaintWnd(terminal),
      m_view(terminal),
      m_command(terminal),
      m_receiver(terminal),
      m_containerWnd(terminal),
      m_element(terminal),
      m_panel(terminal),
      m_rcStatus(),
      m_hMenu(nullptr) {
  m_pFirstView = &m_view;
}

CDemoMainFrame::~CDemoMainFrame() {
  if (m_hWnd) DestroyWindow();
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

BOOL CDemoMainFrame::CreateFrame(int dpi) {
  m_hMenu = CreateFrameMenu();

  // The frame's size is designed at 96 dpi and kept within the work area.
  RECT work;
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  int width = std::min<int>(MulDiv(1060, dpi, 96), work.right - work.left);
  int height = std::min<int>(MulDiv(740, dpi, 96), work.bottom - work.top);
  int left = work.left + std::min<int>(MulDiv(24, dpi, 96), work.right - work.left - width);
  int top = work.top + std::min<int>(MulDiv(24, dpi, 96), work.bottom - work.top - height);
  RECT rect = Rect(left, top, left + width, top + height);
  if (!CreateEx(0, nullptr, L"Demo terminal \x2014 smart keyboard",
                WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, rect, nullptr, 0))
    return FALSE;
  ::SetMenu(m_hWnd, m_hMenu);
  RECT none = {};
  const DWORD child = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
  if (!m_view.CreateEx(0, nullptr, L"Current view", child, none, this, 1) ||
      !m_command.CreateEx(0, nullptr, L"Command window", child, none, this, 2) ||
      !m_receiver.CreateEx(0, nullptr, L"Receiver window", child, none, this, 3) ||
      !m_containerWnd.CreateEx(0, nullptr, L"Element container", child, none, this, 4) ||
      !m_panel.CreateEx(0, nullptr, L"Received", child, none, this, 5))
    return FALSE;
  Layout();
  UpdateMenuChecks();
  return TRUE;
}

void CDemoMainFrame::Layout() {
  if (!m_hWnd || !m_view.GetSafeHwnd()) return;
  CDemoTerminal* t = m_pTerminal;
  RECT client;
  GetClientRect(&client);
  int gap = t->Scale(8);
  int statusHeight = t->Scale(26);
  m_rcStatus = Rect(0, client.bottom - statusHeight, client.right, client.bottom);
  int left = gap, right = client.right - gap, top = gap;
  int bottom = m_rcStatus.top - gap;
  int commandHeight = t->Scale(40);
  int topHeight = std::max<int>(t->Scale(200), (bottom - top - commandHeight - 2 * gap) * 55 / 100);
  int sideWidth = t->Scale(300);
  int viewRight = right - sideWidth - gap;
  m_view.MoveWindow(Rect(left, top, viewRight, top + topHeight));
  int half = (topHeight - gap) / 2;
  m_receiver.MoveWindow(Rect(viewRight + gap, top, right, top + half));
  m_containerWnd.MoveWindow(Rect(viewRight + gap, top + half + gap, right, top + topHeight));
  int commandTop = top + topHeight + gap;
  m_command.MoveWindow(Rect(left, commandTop, right, commandTop + commandHeight));
  m_panel.MoveWindow(Rect(left, commandTop + commandHeight + gap, right, bottom));
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

BOOL CDemoMainFrame::IsContainerWnd(HWND wnd) { return wnd && wnd == m_containerWnd.GetSafeHwnd(); }

int CDemoMainFrame::GetViewType(CWnd* view) {
  return view == &m_view ? m_pTerminal->ViewType() : 0;
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

void CDemoMainFrame::OnSize(UINT, int, int) {
  Layout();
  Invalidate(FALSE);
  Default();
}

void CDemoMainFrame::OnSetFocus(HWND) {
  if (m_view.GetSafeHwnd()) m_view.SetFocus();
}

// Menu commands; accelerator and control notifications get the default processing.
void CDemoMainFrame::OnCommand(UINT id, UINT notifyCode, HWND) {
  if (notifyCode == 0)
    m_pTerminal->OnMenuCommand(id);
  else
    Default();
}

LRESULT CDemoMainFrame::OnDpiChanged(UINT dpi, const RECT* suggested) {
  m_pTerminal->SetDpi(static_cast<int>(dpi));
  if (suggested)
    SetWindowPos(nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                 suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
  Layout();
  RefreshAll();
  return 0;
}

void CDemoMainFrame::OnClose() { DestroyWindow(); }

void CDemoMainFrame::OnDestroy() {
  PostQuitMessage(0);
  Default();
}
