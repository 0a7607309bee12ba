#include "SuggestListNav.h"

namespace {

int Rows(const ListNavState& s) { return s.visibleRows < 1 ? 1 : s.visibleRows; }

NavEffect Move(ListNavState& s, int newSlot) {
  NavEffect e;
  e.moved = true;
  e.oldSlot = s.selected;
  e.newSlot = newSlot;
  s.selected = newSlot;
  return e;
}

NavEffect Refresh(int times, bool invalidateAll = false) {
  NavEffect e;
  e.refreshes = times;
  e.invalidateAll = invalidateAll;
  return e;
}

NavEffect MoveAndRefresh(ListNavState& s, int newSlot) {
  NavEffect e = Move(s, newSlot);
  e.refreshes = 1;
  return e;
}

// Page Down's arithmetic once top + rows < count: the next page, keeping the slot unless that
// would pass the last item.
void NextPage(ListNavState& s) {
  int rows = Rows(s);
  int newTop = s.top + rows;
  if (s.top + rows + s.selected >= s.count) s.selected = s.count - (s.top + rows) - 1;
  s.top = newTop;
}

}  // namespace

int VisibleRowsFor(int clientHeight, int rowHeight) {
  int rows = rowHeight > 0 ? clientHeight / rowHeight : 1;
  if (rows < 1) rows = 1;
  if (rows > SUGGEST_MAX_ROWS) rows = SUGGEST_MAX_ROWS;
  return rows;
}

int LayoutRowRects(const RECT& client, int rowHeight, RECT rows[SUGGEST_MAX_ROWS]) {
  int width = client.right - client.left;
  int height = client.bottom - client.top;
  if (width <= 0 || height <= 0) return 0;
  int visible = VisibleRowsFor(height, rowHeight);
  for (int i = 0; i < visible; ++i) {
    rows[i].left = client.left;
    rows[i].right = client.right;
    rows[i].top = client.top + i * height / visible;
    rows[i].bottom = client.top + (i + 1) * height / visible;
  }
  return visible;
}

void SplitScrollStrip(const RECT& client, int width, RECT* list, RECT* strip) {
  *strip = client;
  strip->left = client.right - width;
  *list = client;
  list->right = client.right - width;
}

int ThumbLengthFor(int stripHeight, int visibleRows, int count) {
  if (count <= 0) return 0;
  return (stripHeight - 28) * visibleRows / count;
}

bool HitTestRows(const ListNavState& s, int clientHeight, int y, int* slot, int* edge) {
  if (clientHeight <= 0) return false;
  int rows = Rows(s);
  // Division truncates toward zero: a point less than a row above the list still hits slot 0.
  int hit = y * rows / clientHeight;
  int side = 0;
  if (hit < 0) {
    hit = 0;
    side = -1;
  }
  if (hit > rows - 1) {
    hit = rows - 1;
    side = 1;
  }
  if (s.top + hit >= s.count) {
    hit = s.count - s.top - 1;
    side = 1;
  }
  *slot = hit;
  *edge = side;
  return true;
}

NavEffect StepTowardsStart(ListNavState& s) {
  if (s.selected > 0) return Move(s, s.selected - 1);
  if (s.top > 0) {
    --s.top;
    return Refresh(1);
  }
  return NavEffect();
}

NavEffect StepTowardsEnd(ListNavState& s) {
  if (s.top + s.selected + 1 >= s.count) return NavEffect();
  if (s.selected >= Rows(s) - 1) {
    ++s.top;
    return Refresh(1);
  }
  return Move(s, s.selected + 1);
}

NavEffect EdgeStep(ListNavState& s, int edge) {
  if (edge < 0) return StepTowardsStart(s);
  if (edge > 0) return StepTowardsEnd(s);
  return NavEffect();
}

NavEffect NavigateKey(ListNavState& s, int key) {
  int rows = Rows(s);
  switch (key) {
    case NAV_KEY_PRIOR:
      if (s.top > 0) {
        s.top = s.top - rows < 0 ? 0 : s.top - rows;
        return Refresh(1);
      }
      return Move(s, 0);
    case NAV_KEY_NEXT:
      // Without items there is no last item to select.
      if (s.count <= 0) return NavEffect();
      if (s.top + rows >= s.count) return Move(s, s.count - s.top - 1);
      NextPage(s);
      return Refresh(1);
    case NAV_KEY_END:
      if (s.count <= 0) return NavEffect();
      if (s.top + rows < s.count) {
        // Pages stay aligned to multiples of rows counted from item 0.
        int aligned = s.count - s.count % rows;
        s.top = aligned < s.count - 1 ? aligned : s.count - 1;
        s.selected = s.count - s.top - 1;
        return Refresh(1);
      }
      return Move(s, s.count - s.top - 1);
    case NAV_KEY_HOME:
      if (s.top > 0) {
        s.top = 0;
        s.selected = 0;
        return Refresh(1);
      }
      return Move(s, 0);
    case NAV_KEY_UP:
      return StepTowardsStart(s);
    case NAV_KEY_DOWN:
      return StepTowardsEnd(s);
    default:
      return NavEffect();
  }
}

NavEffect ScrollEventStep(ListNavState& s, int event, int detail) {
  int rows = Rows(s);
  switch (event) {
    case SCROLL_EVENT_TOWARDS_START:
      if (detail == SCROLL_DETAIL_PAGE) {
        if (s.top > 0) {
          s.top = s.top - rows < 0 ? 0 : s.top - rows;
          return Refresh(2);
        }
        return MoveAndRefresh(s, 0);
      }
      if (s.selected > 0) return MoveAndRefresh(s, s.selected - 1);
      if (s.top >= 1) {
        --s.top;
        return Refresh(1, true);
      }
      return Refresh(1);
    case SCROLL_EVENT_TOWARDS_END:
      // Without items there is nothing to move to; the bar is only brought up to date.
      if (s.count <= 0) return Refresh(1);
      if (detail == SCROLL_DETAIL_PAGE) {
        if (s.top + rows >= s.count) return MoveAndRefresh(s, s.count - s.top - 1);
        NextPage(s);
        return Refresh(2);
      }
      if (s.top + s.selected + 1 >= s.count) return Refresh(1);
      if (s.selected < rows - 1) return MoveAndRefresh(s, s.selected + 1);
      ++s.top;
      return Refresh(1, true);
    case SCROLL_EVENT_THUMB: {
      // A thumb dragged past the items must not leave the selection beyond the last one.
      int top = detail;
      if (top > s.count - 1) top = s.count - 1;
      if (top < 0) top = 0;
      s.top = top;
      s.selected = 0;
      return Refresh(1);
    }
    default:
      return Refresh(1);
  }
}

bool KeepSelectionInRows(ListNavState& s) {
  int rows = Rows(s);
  if (s.selected <= rows - 1) return false;
  s.top += s.selected - (rows - 1);
  s.selected = rows - 1;
  return true;
}
