#include "DemoWindows.h"

#include <algorithm>
#include <string>
#include <vector>

#include "DemoTerminal.h"

namespace {

const UINT kTextFlags = DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX;

void Fill(HDC dc, const RECT& rect, COLORREF color) {
  HBRUSH brush = CreateSolidBrush(color);
  FillRect(dc, &rect, brush);
  DeleteObject(brush);
}

// A filled rectangle with a one-pixel border.
void Box(HDC dc, const RECT& rect, COLORREF fill, COLORREF border) {
  Fill(dc, rect, border);
  RECT inner = rect;
  InflateRect(&inner, -1, -1);
  Fill(dc, inner, fill);
}

void Text(HDC dc, const std::wstring& text, RECT rect, HFONT font, COLORREF color,
          UINT flags = kTextFlags) {
  HGDIOBJ old = SelectObject(dc, font);
  SetTextColor(dc, color);
  SetBkMode(dc, TRANSPARENT);
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect, flags);
  SelectObject(dc, old);
}

int TextWidth(HDC dc, const std::wstring& text, HFONT font) {
  HGDIOBJ old = SelectObject(dc, font);
  SIZE size = {};
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  SelectObject(dc, old);
  return size.cx;
}

RECT Rect(int left, int top, int right, int bottom) {
  RECT rect = {left, top, right, bottom};
  return rect;
}

// Title and subtitle at the top of a pane; returns the pane's content top.
int PaneHeader(HDC dc, CDemoTerminal* t, const RECT& client, const std::wstring& title,
               const std::wstring& subtitle) {
  const DemoTheme& theme = t->Theme();
  int pad = t->Scale(14);
  RECT line = Rect(client.left + pad, client.top + t->Scale(8), client.right - pad,
                   client.top + t->Scale(30));
  Text(dc, title, line, t->Font(CDemoTerminal::kFontBold), theme.text);
  if (!subtitle.empty()) {
    int width = TextWidth(dc, title, t->Font(CDemoTerminal::kFontBold));
    line.left += width + t->Scale(10);
    Text(dc, subtitle, line, t->Font(CDemoTerminal::kFontSmall), theme.muted);
  }
  return line.bottom;
}

}  // namespace

// --- The common window procedure. ---

bool CDemoPaintWnd::OnMessage(UINT, WPARAM, LPARAM, LRESULT*) { return false; }

LRESULT CDemoPaintWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (OnMessage(message, wParam, lParam, &result)) return result;
  switch (message) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(m_hWnd, &ps);
      RECT client;
      ::GetClientRect(m_hWnd, &client);
      int width = std::max<int>(client.right, 1), height = std::max<int>(client.bottom, 1);
      HDC memory = CreateCompatibleDC(dc);
      HBITMAP bitmap = CreateCompatibleBitmap(dc, width, height);
      HGDIOBJ old = SelectObject(memory, bitmap);
      Paint(memory, client);
      BitBlt(dc, 0, 0, width, height, memory, 0, 0, SRCCOPY);
      SelectObject(memory, old);
      DeleteObject(bitmap);
      DeleteDC(memory);
      EndPaint(m_hWnd, &ps);
      return 0;
    }
    case WM_IME_COMPOSITION:
      // Sent by the input method, so it never passes the message loop.
      m_pTerminal->ForwardToSmartKeyboard(message, wParam, lParam);
      break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
      // Typing goes on in the current view after a click anywhere in the frame; the element
      // container takes the focus itself, as the terminal's frame elements do.
      if (CDemoMainFrame* frame = m_pTerminal->Frame())
        ::SetFocus(this == &frame->m_containerWnd ? m_hWnd : frame->m_view.GetSafeHwnd());
      break;
    default:
      break;
  }
  return CWnd::WindowProc(message, wParam, lParam);
}

// --- View. ---

void CDemoView::Paint(HDC dc, const RECT& client) {
  CDemoTerminal* t = m_pTerminal;
  const DemoTheme& theme = t->Theme();
  Box(dc, client, theme.viewBg, theme.border);
  int type = t->ViewType();
  std::wstring where = type >= 1 && type <= 4 ? L"the pop-up opens at the command window's corner"
                                              : L"the pop-up opens at this view's corner";
  int top = PaneHeader(dc, t, client, L"Current view",
                       L"view type " + std::to_wstring(type) + L" \x00B7 " + where);
  int pad = t->Scale(24);
  const DemoOpened& opened = t->Opened();
  if (!opened.any) {
    Text(dc, L"Nothing open yet",
         Rect(client.left + pad, top + t->Scale(30), client.right - pad, top + t->Scale(76)),
         t->Font(CDemoTerminal::kFontName), theme.muted);
    Text(dc, L"Type anywhere in the terminal: a code, pinyin initials or a name (600000, PFYH).",
         Rect(client.left + pad, top + t->Scale(82), client.right - pad, top + t->Scale(106)),
         t->Font(CDemoTerminal::kFontNormal), theme.muted);
    Text(dc, L"Command numbers work too: 06 opens the watch list, 61 a ranking.",
         Rect(client.left + pad, top + t->Scale(106), client.right - pad, top + t->Scale(130)),
         t->Font(CDemoTerminal::kFontNormal), theme.muted);
    return;
  }
  Text(dc, opened.command ? L"Command" : L"Security",
       Rect(client.left + pad, top + t->Scale(16), client.right - pad, top + t->Scale(38)),
       t->Font(CDemoTerminal::kFontSmall), theme.muted);
  RECT codeRect =
      Rect(client.left + pad, top + t->Scale(38), client.right - pad, top + t->Scale(100));
  Text(dc, opened.code, codeRect, t->Font(CDemoTerminal::kFontBig), theme.accent);
  int codeWidth = TextWidth(dc, opened.code, t->Font(CDemoTerminal::kFontBig));
  Text(dc, opened.name,
       Rect(codeRect.left + codeWidth + t->Scale(20), codeRect.top + t->Scale(6), codeRect.right,
            codeRect.bottom),
       t->Font(CDemoTerminal::kFontName), theme.text);
  Text(dc, opened.detail,
       Rect(client.left + pad, codeRect.bottom + t->Scale(4), client.right - pad,
            codeRect.bottom + t->Scale(28)),
       t->Font(CDemoTerminal::kFontNormal), theme.muted);
}

// --- Command window. ---

void CDemoCommandWnd::Paint(HDC dc, const RECT& client) {
  CDemoTerminal* t = m_pTerminal;
  const DemoTheme& theme = t->Theme();
  Box(dc, client, theme.commandBg, theme.border);
  int pad = t->Scale(14);
  std::wstring label = L"Command window";
  RECT rect = Rect(client.left + pad, client.top, client.right - pad, client.bottom);
  Text(dc, label, rect, t->Font(CDemoTerminal::kFontBold), theme.text);
  rect.left += TextWidth(dc, label, t->Font(CDemoTerminal::kFontBold)) + t->Scale(16);
  if (t->CommandLine().empty())
    Text(dc, L"waiting for picks (0x51C, 0x601)", rect, t->Font(CDemoTerminal::kFontNormal),
         theme.muted);
  else
    Text(dc, t->CommandLine(), rect, t->Font(CDemoTerminal::kFontNormal), theme.text);
}

bool CDemoCommandWnd::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  if (message != WM_DEMO_COMMAND && message != WM_DEMO_POPUP_NOTICE) return false;
  m_pTerminal->OnCommandWindowMessage(message, wParam, lParam);
  *result = 0;
  return true;
}

// --- Receiver window and element container. ---

namespace {

void PaintReceiver(HDC dc, CDemoTerminal* t, const RECT& client, const std::wstring& title,
                   const std::wstring& key, const std::wstring& how, const std::wstring& value,
                   bool focused) {
  const DemoTheme& theme = t->Theme();
  Box(dc, client, theme.viewBg, focused ? theme.accent : theme.border);
  int top = PaneHeader(dc, t, client, title, std::wstring());
  int pad = t->Scale(14);
  Text(dc, key, Rect(client.left + pad, top, client.right - pad, top + t->Scale(20)),
       t->Font(CDemoTerminal::kFontSmall), theme.muted);
  Text(dc, how, Rect(client.left + pad, top + t->Scale(18), client.right - pad, top + t->Scale(38)),
       t->Font(CDemoTerminal::kFontSmall), theme.muted);
  RECT valueRect = Rect(client.left + pad, top + t->Scale(44), client.right - pad,
                        std::min<int>(client.bottom - t->Scale(6), top + t->Scale(80)));
  if (value.empty())
    Text(dc, L"nothing received yet", valueRect, t->Font(CDemoTerminal::kFontNormal), theme.muted);
  else
    Text(dc, value, valueRect, t->Font(CDemoTerminal::kFontMedium), theme.accent);
}

}  // namespace

void CDemoReceiverWnd::Paint(HDC dc, const RECT& client) {
  PaintReceiver(dc, m_pTerminal, client, L"Receiver window", L"F5 picks a security for it",
                L"ShowForWindow \x00B7 the pick is posted as 0x500", m_pTerminal->ReceiverLine(),
                false);
}

bool CDemoReceiverWnd::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  if (message != WM_DEMO_STOCK) return false;
  m_pTerminal->OnReceiverWindowMessage(wParam, lParam);
  *result = 0;
  return true;
}

void CDemoContainerWnd::Paint(HDC dc, const RECT& client) {
  PaintReceiver(dc, m_pTerminal, client, L"Element container " + std::to_wstring(CDemoElement::kId),
                L"F6 picks a security for it; a click gives it the focus",
                L"ShowForContainer \x00B7 the pick is sent as 0x503", m_pTerminal->ContainerLine(),
                GetFocus() == m_hWnd);
}

bool CDemoContainerWnd::OnMessage(UINT message, WPARAM, LPARAM, LRESULT*) {
  if (message == WM_SETFOCUS || message == WM_KILLFOCUS) Invalidate(FALSE);
  return false;
}

int CDemoElement::SendMessageW(uint32_t id, UINT message, WPARAM wParam, LPARAM lParam) {
  return m_pTerminal->OnContainerEvent(id, message, wParam, lParam);
}

// --- Panel. ---

void CDemoPanel::Paint(HDC dc, const RECT& client) {
  CDemoTerminal* t = m_pTerminal;
  const DemoTheme& theme = t->Theme();
  Box(dc, client, theme.panelBg, theme.border);
  int top = PaneHeader(dc, t, client, L"What the terminal received",
                       L"newest at the bottom \x00B7 wheel scrolls back");
  std::vector<DemoLine> lines = t->Lines();
  int lineHeight = t->Scale(20);
  int pad = t->Scale(14);
  int visible = std::max(0, (static_cast<int>(client.bottom) - t->Scale(6) - top) / lineHeight);
  int last = static_cast<int>(lines.size()) - std::min<int>(m_nScrollBack, lines.size());
  int first = std::max(0, last - visible);
  int y = client.bottom - t->Scale(6) - (last - first) * lineHeight;
  for (int i = first; i < last; ++i, y += lineHeight) {
    COLORREF color = theme.text;
    switch (lines[i].kind) {
      case DemoLineKind::kAction:
        color = theme.action;
        break;
      case DemoLineKind::kInfo:
        color = theme.muted;
        break;
      case DemoLineKind::kError:
        color = theme.error;
        break;
      default:
        break;
    }
    Text(dc, lines[i].text, Rect(client.left + pad, y, client.right - pad, y + lineHeight),
         t->Font(CDemoTerminal::kFontNormal), color);
  }
}

bool CDemoPanel::OnMessage(UINT message, WPARAM wParam, LPARAM, LRESULT* result) {
  if (message == WM_DEMO_LINES_CHANGED) {
    Invalidate(FALSE);
    *result = 0;
    return true;
  }
  if (message == WM_MOUSEWHEEL) {
    int lines = static_cast<int>(m_pTerminal->Lines().size());
    int step = GET_WHEEL_DELTA_WPARAM(wParam) > 0 ? 3 : -3;
    m_nScrollBack = std::max(0, std::min(lines, m_nScrollBack + step));
    Invalidate(FALSE);
    *result = 0;
    return true;
  }
  return false;
}

// --- Main frame. ---

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

BOOL CDemoMainFrame::CreateFrame(int dpi) {
  m_hMenu = CreateMenu();
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
  AppendMenuW(m_hMenu, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"&File");
  AppendMenuW(m_hMenu, MF_POPUP, reinterpret_cast<UINT_PTR>(view), L"&View");
  AppendMenuW(m_hMenu, MF_POPUP, reinterpret_cast<UINT_PTR>(keyboard), L"&Smart keyboard");
  AppendMenuW(m_hMenu, MF_POPUP, reinterpret_cast<UINT_PTR>(skin), L"S&kin");

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
       kTextFlags | DT_RIGHT);
}

bool CDemoMainFrame::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  switch (message) {
    case WM_SIZE:
      Layout();
      Invalidate(FALSE);
      return false;
    case WM_SETFOCUS:
      if (m_view.GetSafeHwnd()) m_view.SetFocus();
      *result = 0;
      return true;
    case WM_COMMAND:
      if (HIWORD(wParam) == 0) {
        m_pTerminal->OnMenuCommand(LOWORD(wParam));
        *result = 0;
        return true;
      }
      return false;
    case WM_DPICHANGED: {
      m_pTerminal->SetDpi(HIWORD(wParam));
      const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
      if (suggested)
        SetWindowPos(nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                     suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
      Layout();
      RefreshAll();
      *result = 0;
      return true;
    }
    case WM_CLOSE:
      DestroyWindow();
      *result = 0;
      return true;
    case WM_DESTROY:
      PostQuitMessage(0);
      return false;
    default:
      return false;
  }
}
