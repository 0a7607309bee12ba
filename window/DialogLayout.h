// Where the pop-up's parts go: plain rectangle arithmetic, kept apart from the window so that it
// is checked on every platform.
#pragma once

#include "frame/IHotKeyManager.h"
#include "platform/WinTypes.h"

// The pop-up's sizes at its dpi (each already scaled from its 96-dpi value).
struct DialogMetrics {
  int margin5;     // gap between caption and edit
  int caption26;   // caption height, close button side
  int bar30;       // history bar height, clear button side
  int inset7;      // clear button inset
  int editHeight;  // edit row height
  int border;      // inner margin around the edit
};

struct DialogRects {
  RECT caption;
  RECT close;
  RECT inputArea;
  RECT clear;
};

// Caption, close button, input area and clear button for a non-empty client rectangle.
DialogRects CalcDialogRects(const RECT& client, const DialogMetrics& m);
// The edit under the caption.
RECT EditRectFor(const RECT& client, const DialogMetrics& m);
// The list below the edit, and below the history bar when it is shown.
RECT ListRectFor(const RECT& client, const DialogMetrics& m, bool historyBar);

// Window rectangle of size w x h against the point (x, y): with a receiver, the corner the
// placement (PopupPlacement) names; without one, the bottom-right.
RECT PlaceAtPoint(int x, int y, int w, int h, bool hasReceiver, int placement);
// A rectangle that starts above the top of the screen but reaches into it moves down to 0.
void ClampToTop(RECT& rect);
// Moves rect so that its corner chosen as by PlaceAtPoint lands on the anchor.
RECT AnchorRect(const RECT& rect, POINT anchor, bool exactWithReceiver, int placement);
// Pixels of a one-line rectangle: true when the point lies inside (right and bottom excluded).
inline bool RectContains(const RECT& r, int x, int y) {
  return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}
inline bool RectIsEmpty(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }
