// The suggestion list's row layout and navigation arithmetic, free of the window system so that
// every step is checked natively. The window keeps its state in its own fields, copies them into
// a ListNavState for a step, copies them back and carries out the returned NavEffect.
#pragma once

#include "platform/WinTypes.h"

const int SUGGEST_MAX_ROWS = 100;   // row slots the list can lay out
const int SUGGEST_ROW_HEIGHT = 22;  // at 96 dpi
const int SUGGEST_DEFAULT_SCROLL_WIDTH = 9;

// Virtual-key codes of the navigation keys.
const int NAV_KEY_PRIOR = 33;
const int NAV_KEY_NEXT = 34;
const int NAV_KEY_END = 35;
const int NAV_KEY_HOME = 36;
const int NAV_KEY_UP = 38;
const int NAV_KEY_DOWN = 40;

// Scrollbar events handed to the list.
const int SCROLL_EVENT_TOWARDS_START = 2;
const int SCROLL_EVENT_TOWARDS_END = 3;
const int SCROLL_EVENT_THUMB = 4;
const int SCROLL_DETAIL_PAGE = 1;

struct ListNavState {
  int top;          // item shown in slot 0
  int selected;     // selected slot, relative to top
  int visibleRows;  // row slots on screen
  int count;        // items shown
};

// What the window does after a step, in this order: repaint the old and new selected rows
// (moved), invalidate the whole window without erasing (invalidateAll), then refresh the view
// (thumb to top, list invalidated) `refreshes` times.
struct NavEffect {
  bool moved = false;
  int oldSlot = 0;
  int newSlot = 0;
  bool invalidateAll = false;
  int refreshes = 0;
};

// Rows that fit: client height ÷ row height, kept within 1..SUGGEST_MAX_ROWS.
int VisibleRowsFor(int clientHeight, int rowHeight);

// Shares the client height out among the visible rows (rounding puts spare pixels between rows);
// each row spans the full client width. Fills rows[0..visible) and returns the number of visible
// rows, or 0 (rows untouched) for an empty client rectangle.
int LayoutRowRects(const RECT& client, int rowHeight, RECT rows[SUGGEST_MAX_ROWS]);

// The scrollbar strip of `width` at the right edge of the client area, and the rest.
void SplitScrollStrip(const RECT& client, int width, RECT* list, RECT* strip);

// Thumb length for the strip: (strip height − 28) × visible rows ÷ count, 0 without items.
int ThumbLengthFor(int stripHeight, int visibleRows, int count);

// The slot at client height y: edge −1 above the rows, 1 below them or past the last item, 0 on
// an item. False (nothing set) on a list without height.
bool HitTestRows(const ListNavState& s, int clientHeight, int y, int* slot, int* edge);

// One of the six navigation keys; any other key changes nothing.
NavEffect NavigateKey(ListNavState& s, int key);
// One row towards the start (Up, wheel up, dragging or auto-scrolling above the list) or the end.
NavEffect StepTowardsStart(ListNavState& s);
NavEffect StepTowardsEnd(ListNavState& s);
// A held button at edge −1 or 1 (mouse move or auto-scroll tick); edge 0 changes nothing here.
NavEffect EdgeStep(ListNavState& s, int edge);
// The scrollbar's event (the caller has checked that it is the list's own bar and group 0).
NavEffect ScrollEventStep(ListNavState& s, int event, int detail);
// After the visible rows changed: a selected slot that no longer fits scrolls the list so that
// the same item stays selected, in the last row. True when top changed.
bool KeepSelectionInRows(ListNavState& s);
