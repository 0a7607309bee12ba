#include "DialogLayout.h"

namespace {

RECT MakeRect(int left, int top, int right, int bottom) {
  RECT r;
  r.left = left;
  r.top = top;
  r.right = right;
  r.bottom = bottom;
  return r;
}

RECT Shrunk(const RECT& client) {
  return MakeRect(client.left + 1, client.top + 1, client.right - 1, client.bottom - 1);
}

}  // namespace

DialogRects CalcDialogRects(const RECT& client, const DialogMetrics& m) {
  RECT r = Shrunk(client);
  DialogRects rects;
  rects.caption = MakeRect(r.left, r.top, r.right, r.top + m.caption26);
  rects.close =
      MakeRect(r.right - m.caption26 + 5, r.top + m.margin5, r.right - 5, r.top + m.caption26);
  rects.inputArea = MakeRect(r.left, r.top + m.margin5 + m.caption26, r.right, r.bottom);
  int clearTop = r.top + m.caption26 + m.editHeight + 3 * m.margin5;
  rects.clear = MakeRect(r.right - m.bar30 + m.inset7, clearTop + m.inset7, r.right - m.inset7,
                         clearTop + m.bar30 - m.inset7);
  return rects;
}

RECT EditRectFor(const RECT& client, const DialogMetrics& m) {
  RECT r = Shrunk(client);
  int top = r.top + m.margin5 + m.caption26;
  return MakeRect(r.left + 2 * m.border, top + 1, r.right - 4 * m.border, top + m.editHeight);
}

RECT ListRectFor(const RECT& client, const DialogMetrics& m, bool historyBar) {
  RECT r = Shrunk(client);
  int top = r.top + m.caption26 + m.editHeight + 2 * m.margin5 + (historyBar ? m.bar30 : 0);
  return MakeRect(r.left, top, r.right, r.bottom);
}

RECT PlaceAtPoint(int x, int y, int w, int h, bool hasReceiver, int placement) {
  if (hasReceiver) {
    switch (placement) {
      case PLACEMENT_TOP_LEFT:
        return MakeRect(x, y, x + w, y + h);
      case PLACEMENT_BOTTOM_LEFT:
        return MakeRect(x, y - h, x + w, y);
      case PLACEMENT_TOP_RIGHT:
        return MakeRect(x - w, y, x, y + h);
      default:
        break;
    }
  }
  return MakeRect(x - w, y - h, x, y);
}

void ClampToTop(RECT& rect) {
  if (rect.top < 0 && rect.bottom > 0) {
    rect.bottom -= rect.top;
    rect.top = 0;
  }
}

RECT AnchorRect(const RECT& rect, POINT anchor, bool exactWithReceiver, int placement) {
  int w = rect.right - rect.left;
  int h = rect.bottom - rect.top;
  return PlaceAtPoint(anchor.x, anchor.y, w, h, exactWithReceiver, placement);
}
