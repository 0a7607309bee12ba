// Drawing helpers of the demo's windows, and the common window procedure's painting, input-method
// and focus rules.
#include "DemoDrawing.h"

#include <algorithm>

#include "DemoTerminal.h"
#include "DemoWindows.h"

void Fill(HDC dc, const RECT& rect, COLORREF color) {
  HBRUSH brush = CreateSolidBrush(color);
  FillRect(dc, &rect, brush);
  DeleteObject(brush);
}

void Box(HDC dc, const RECT& rect, COLORREF fill, COLORREF border) {
  Fill(dc, rect, border);
  RECT inner = rect;
  InflateRect(&inner, -1, -1);
  Fill(dc, inner, fill);
}

void Text(HDC dc, const std::wstring& text, RECT rect, HFONT font, COLORREF color, UINT flags) {
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

// --- The common window procedure. ---

LRESULT CDemoPaintWnd::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND:
      return TRUE;
    case WM_PAINT:
      OnPaint();
      return 0;
    case WM_IME_COMPOSITION:
      // Sent by the input method, so it never passes the message loop.
      m_pTerminal->ForwardToSmartKeyboard(message, wParam, lParam);
      break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
      FocusAfterClick();
      break;
    default:
      break;
  }
  return CDemoWindow::OnMessage(message, wParam, lParam);
}

void CDemoPaintWnd::OnPaint() {
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
}

// The element container takes the focus itself, as the terminal's frame elements do.
void CDemoPaintWnd::FocusAfterClick() {
  if (CDemoMainFrame* frame = m_pTerminal->Frame())
    ::SetFocus(this == &frame->m_containerWnd ? m_hWnd : frame->m_view.Wnd());
}
