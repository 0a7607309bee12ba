// The suggestion list's layout and navigation arithmetic: pages aligned to multiples of the
// visible rows, single steps that select before they scroll, hit tests at the list's edges, and
// the guards that keep top + selected slot on an item.
#include <gtest/gtest.h>

#include <vector>

#include "window/SuggestListNav.h"

namespace {

struct Pos {
  int top, selected;
};

void ExpectPos(const ListNavState& s, Pos want, const char* step) {
  EXPECT_EQ(s.top, want.top) << step;
  EXPECT_EQ(s.selected, want.selected) << step;
}

TEST(SuggestListNav, KeySequencesOnThirtyAndTwentyFourItems) {
  struct Step {
    int key;
    Pos after;
    bool scrolled;  // a refresh rather than a row repaint
  };
  struct Case {
    const char* name;
    int count;
    Pos start;
    std::vector<Step> steps;
  };
  const Case cases[] = {
      {"30: page down three times",
       30,
       {0, 0},
       {{NAV_KEY_NEXT, {12, 0}, true},
        {NAV_KEY_NEXT, {24, 0}, true},
        {NAV_KEY_NEXT, {24, 5}, false}}},
      {"30: end, then home",
       30,
       {0, 0},
       {{NAV_KEY_END, {24, 5}, true}, {NAV_KEY_HOME, {0, 0}, true}}},
      {"30: page down keeps the slot unless it passes the end",
       30,
       {12, 9},
       {{NAV_KEY_NEXT, {24, 5}, true},
        {NAV_KEY_PRIOR, {12, 5}, true},
        {NAV_KEY_PRIOR, {0, 5}, true},
        {NAV_KEY_PRIOR, {0, 0}, false}}},
      {"24: end aligns to count - 1", 24, {0, 0}, {{NAV_KEY_END, {23, 0}, true}}},
      {"24: end on the last page only selects", 24, {12, 3}, {{NAV_KEY_END, {12, 11}, false}}},
      {"30: up and down select before they scroll",
       30,
       {0, 10},
       {{NAV_KEY_DOWN, {0, 11}, false},
        {NAV_KEY_DOWN, {1, 11}, true},
        {NAV_KEY_UP, {1, 10}, false}}},
      {"30: up at the top scrolls back", 30, {3, 0}, {{NAV_KEY_UP, {2, 0}, true}}},
      {"30: home on the first page selects slot 0", 30, {0, 7}, {{NAV_KEY_HOME, {0, 0}, false}}},
      {"few items: page down selects the last", 5, {0, 1}, {{NAV_KEY_NEXT, {0, 4}, false}}},
  };
  for (const Case& c : cases) {
    ListNavState s = {c.start.top, c.start.selected, 12, c.count};
    for (const Step& step : c.steps) {
      int oldSlot = s.selected;
      NavEffect e = NavigateKey(s, step.key);
      ExpectPos(s, step.after, c.name);
      EXPECT_EQ(e.refreshes > 0, step.scrolled) << c.name << " key " << step.key;
      if (!step.scrolled) {
        EXPECT_TRUE(e.moved) << c.name;
        EXPECT_EQ(e.oldSlot, oldSlot) << c.name;
        EXPECT_EQ(e.newSlot, step.after.selected) << c.name;
      }
    }
  }
}

TEST(SuggestListNav, KeysThatHaveNothingToDoChangeNothing) {
  struct Case {
    const char* name;
    ListNavState start;
    int key;
  };
  const Case cases[] = {
      {"up at the very top", {0, 0, 12, 30}, NAV_KEY_UP},
      {"down on the last item", {24, 5, 12, 30}, NAV_KEY_DOWN},
      {"end without items", {0, 0, 12, 0}, NAV_KEY_END},
      {"a letter key", {3, 2, 12, 30}, 'A'},
  };
  for (const Case& c : cases) {
    ListNavState s = c.start;
    NavEffect e = NavigateKey(s, c.key);
    EXPECT_EQ(s.top, c.start.top) << c.name;
    EXPECT_EQ(s.selected, c.start.selected) << c.name;
    EXPECT_FALSE(e.moved) << c.name;
    EXPECT_EQ(e.refreshes, 0) << c.name;
  }
}

TEST(SuggestListNav, EveryKeyKeepsTheSelectionOnAnItem) {
  const int keys[] = {NAV_KEY_PRIOR, NAV_KEY_NEXT, NAV_KEY_END,
                      NAV_KEY_HOME,  NAV_KEY_UP,   NAV_KEY_DOWN};
  for (int count = 1; count <= 40; ++count) {
    for (int rows = 1; rows <= 13; rows += 3) {
      ListNavState s = {0, 0, rows, count};
      unsigned seed = static_cast<unsigned>(count * 31 + rows);
      for (int i = 0; i < 200; ++i) {
        seed = seed * 1103515245u + 12345u;
        NavigateKey(s, keys[(seed >> 16) % 6]);
        ASSERT_GE(s.top, 0) << count << "/" << rows;
        ASSERT_GE(s.selected, 0) << count << "/" << rows;
        ASSERT_LT(s.selected, rows) << count << "/" << rows;
        ASSERT_LT(s.top + s.selected, count) << count << "/" << rows;
      }
    }
  }
}

TEST(SuggestListNav, HitTestAtTheEdges) {
  // 12 rows over 264 pixels, 30 items: 22 pixels a row.
  struct Case {
    const char* name;
    ListNavState s;
    int height, y;
    int slot, edge;
  };
  const Case cases[] = {
      {"last pixel of row 0", {0, 0, 12, 30}, 264, 21, 0, 0},
      {"first pixel of row 1", {0, 0, 12, 30}, 264, 22, 1, 0},
      {"last pixel", {0, 0, 12, 30}, 264, 263, 11, 0},
      {"less than a row above still hits slot 0", {0, 0, 12, 30}, 264, -21, 0, 0},
      {"a row above", {0, 0, 12, 30}, 264, -22, 0, -1},
      {"below the list", {0, 0, 12, 30}, 264, 264, 11, 1},
      {"past the last item", {0, 0, 12, 5}, 264, 200, 4, 1},
      {"past the last item, scrolled", {24, 0, 12, 30}, 264, 150, 5, 1},
      {"uneven rows share the height", {0, 0, 12, 30}, 270, 66, 2, 0},
  };
  for (const Case& c : cases) {
    int slot = -99, edge = -99;
    ASSERT_TRUE(HitTestRows(c.s, c.height, c.y, &slot, &edge)) << c.name;
    EXPECT_EQ(slot, c.slot) << c.name;
    EXPECT_EQ(edge, c.edge) << c.name;
  }
  int slot = -99, edge = -99;
  ListNavState s = {0, 0, 12, 30};
  EXPECT_FALSE(HitTestRows(s, 0, 10, &slot, &edge));
  EXPECT_EQ(slot, -99);
  EXPECT_EQ(edge, -99);
}

TEST(SuggestListNav, RowLayoutSharesTheHeight) {
  RECT rows[SUGGEST_MAX_ROWS] = {};
  RECT client = {0, 0, 300, 270};
  ASSERT_EQ(LayoutRowRects(client, 22, rows), 12);
  int spare = 0;
  for (int i = 0; i < 12; ++i) {
    EXPECT_EQ(rows[i].right, 300);
    EXPECT_EQ(rows[i].top, i == 0 ? 0 : rows[i - 1].bottom) << i;
    spare += rows[i].bottom - rows[i].top - 22;
  }
  EXPECT_EQ(rows[11].bottom, 270);
  EXPECT_EQ(spare, 270 - 12 * 22);

  // Guards: a list lower than a row still has one, a very tall one at most 100 slots.
  RECT low = {0, 0, 200, 10};
  ASSERT_EQ(LayoutRowRects(low, 22, rows), 1);
  EXPECT_EQ(rows[0].bottom, 10);
  RECT tall = {0, 0, 200, 22 * 150};
  EXPECT_EQ(LayoutRowRects(tall, 22, rows), SUGGEST_MAX_ROWS);
  EXPECT_EQ(rows[SUGGEST_MAX_ROWS - 1].bottom, 22 * 150);
  RECT empty = {0, 0, 200, 0};
  rows[0].bottom = 777;
  EXPECT_EQ(LayoutRowRects(empty, 22, rows), 0);
  EXPECT_EQ(rows[0].bottom, 777);

  RECT list, strip;
  SplitScrollStrip(client, 9, &list, &strip);
  EXPECT_EQ(list.right, 291);
  EXPECT_EQ(strip.left, 291);
  EXPECT_EQ(strip.bottom, 270);

  EXPECT_EQ(ThumbLengthFor(292, 12, 30), (292 - 28) * 12 / 30);
  EXPECT_EQ(ThumbLengthFor(292, 12, 0), 0);
}

TEST(SuggestListNav, ShrinkingKeepsTheSelectedItemOnScreen) {
  ListNavState s = {12, 10, 6, 30};
  EXPECT_TRUE(KeepSelectionInRows(s));
  ExpectPos(s, {17, 5}, "item 22 stays selected in the last row");
  EXPECT_FALSE(KeepSelectionInRows(s));
  ExpectPos(s, {17, 5}, "a fitting selection is left alone");
}

TEST(SuggestListNav, EdgeStepsScrollOneRowAtATime) {
  ListNavState s = {0, 10, 12, 30};
  std::vector<Pos> seen;
  for (int i = 0; i < 25; ++i) {
    EdgeStep(s, 1);
    seen.push_back({s.top, s.selected});
  }
  ExpectPos(s, {18, 11}, "held below the list runs to the last item and stops");
  EXPECT_EQ(seen[1].top, 1);
  NavEffect none = EdgeStep(s, 0);
  EXPECT_FALSE(none.moved);
  EXPECT_EQ(none.refreshes, 0);
  for (int i = 0; i < 40; ++i) EdgeStep(s, -1);
  ExpectPos(s, {0, 0}, "held above the list runs back to the first item");
}

TEST(SuggestListNav, ScrollEvents) {
  struct Case {
    const char* name;
    ListNavState start;
    int event, detail;
    Pos after;
    bool moved, invalidateAll;
    int refreshes;
  };
  const Case cases[] = {
      {"page up stops at 0", {5, 3, 12, 30}, 2, 1, {0, 3}, false, false, 2},
      {"page up at the top selects slot 0", {0, 3, 12, 30}, 2, 1, {0, 0}, true, false, 1},
      {"row up selects", {4, 3, 12, 30}, 2, 0, {4, 2}, true, false, 1},
      {"row up scrolls", {4, 0, 12, 30}, 2, 0, {3, 0}, false, true, 1},
      {"row up at the top", {0, 0, 12, 30}, 2, 0, {0, 0}, false, false, 1},
      {"page down clips the slot", {12, 9, 12, 30}, 3, 1, {24, 5}, false, false, 2},
      {"page down on the last page", {24, 0, 12, 30}, 3, 1, {24, 5}, true, false, 1},
      {"row down selects", {0, 4, 12, 30}, 3, 2, {0, 5}, true, false, 1},
      {"row down scrolls", {0, 11, 12, 30}, 3, 2, {1, 11}, false, true, 1},
      {"row down on the last item", {24, 5, 12, 30}, 3, 2, {24, 5}, false, false, 1},
      {"row down without items", {0, 0, 12, 0}, 3, 2, {0, 0}, false, false, 1},
      {"thumb past the end is clamped", {0, 7, 12, 30}, 4, 90, {29, 0}, false, false, 1},
      {"thumb before the start is clamped", {5, 7, 12, 30}, 4, -3, {0, 0}, false, false, 1},
      {"thumb without items", {0, 0, 12, 0}, 4, 3, {0, 0}, false, false, 1},
      {"other event only refreshes", {5, 7, 12, 30}, 9, 1, {5, 7}, false, false, 1},
  };
  for (const Case& c : cases) {
    ListNavState s = c.start;
    NavEffect e = ScrollEventStep(s, c.event, c.detail);
    ExpectPos(s, c.after, c.name);
    EXPECT_EQ(e.moved, c.moved) << c.name;
    if (e.moved) {
      EXPECT_EQ(e.oldSlot, c.start.selected) << c.name;
      EXPECT_EQ(e.newSlot, c.after.selected) << c.name;
    }
    EXPECT_EQ(e.invalidateAll, c.invalidateAll) << c.name;
    EXPECT_EQ(e.refreshes, c.refreshes) << c.name;
  }
}

}  // namespace
