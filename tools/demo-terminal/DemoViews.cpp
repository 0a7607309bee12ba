// The panes that show what a pick did: the current view, the command window, the receiver window
// and the element container.
#include <algorithm>
#include <string>

#include "DemoDrawing.h"
#include "DemoTerminal.h"
#include "DemoWindows.h"

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

LRESULT CDemoCommandWnd::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DEMO_COMMAND) {
    m_pTerminal->OnCommandWindowPick(wParam, lParam);
    return 0;
  }
  if (message == WM_DEMO_POPUP_NOTICE) {
    m_pTerminal->OnPopupNotice(wParam, lParam);
    return 0;
  }
  return CDemoPaintWnd::OnMessage(message, wParam, lParam);
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

LRESULT CDemoReceiverWnd::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DEMO_STOCK) {
    m_pTerminal->OnReceiverWindowMessage(wParam, lParam);
    return 0;
  }
  return CDemoPaintWnd::OnMessage(message, wParam, lParam);
}

void CDemoContainerWnd::Paint(HDC dc, const RECT& client) {
  PaintReceiver(dc, m_pTerminal, client,
                L"Element container " + std::to_wstring(CDemoMainFrame::kElementId),
                L"F6 picks a security for it; a click gives it the focus",
                L"ShowForContainer \x00B7 the pick is sent as 0x503", m_pTerminal->ContainerLine(),
                GetFocus() == m_hWnd);
}

LRESULT CDemoContainerWnd::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_DEMO_ELEMENT_EVENT:
      // From the kit's element container, while the component's send runs.
      return m_pTerminal->OnContainerEvent(CDemoMainFrame::kElementId, message, wParam, lParam);
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      Invalidate();
      break;
    default:
      break;
  }
  return CDemoPaintWnd::OnMessage(message, wParam, lParam);
}
