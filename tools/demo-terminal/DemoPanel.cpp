// The panel: every line the terminal received or did, newest at the bottom; the wheel scrolls
// back through them.
#include <algorithm>
#include <vector>

#include "DemoDrawing.h"
#include "DemoTerminal.h"
#include "DemoWindows.h"

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

LRESULT CDemoPanel::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DEMO_LINES_CHANGED) {
    Invalidate();
    return 0;
  }
  if (message == WM_MOUSEWHEEL) {
    int lines = static_cast<int>(m_pTerminal->Lines().size());
    int step = GET_WHEEL_DELTA_WPARAM(wParam) > 0 ? 3 : -3;
    m_nScrollBack = std::max(0, std::min(lines, m_nScrollBack + step));
    Invalidate();
    return 0;
  }
  return CDemoPaintWnd::OnMessage(message, wParam, lParam);
}
