// Where the pop-up and its parts go: placements against a point, the top clamp, and the parts'
// rectangles at 96 and 144 dpi.
#include <gtest/gtest.h>

#include "window/DialogLayout.h"

namespace {

RECT R(int l, int t, int r, int b) { return RECT{l, t, r, b}; }

void ExpectRect(const RECT& actual, const RECT& expected, const char* what) {
  EXPECT_EQ(actual.left, expected.left) << what;
  EXPECT_EQ(actual.top, expected.top) << what;
  EXPECT_EQ(actual.right, expected.right) << what;
  EXPECT_EQ(actual.bottom, expected.bottom) << what;
}

DialogMetrics MetricsAt(int dpi) {
  auto s = [dpi](int v) { return (v * dpi + 48) / 96; };
  return DialogMetrics{s(5), s(26), s(30), s(7), s(18), s(5)};
}

}  // namespace

TEST(DialogLayout, PlacementsPutTheChosenCornerOnThePoint) {
  struct Case {
    bool receiver;
    int placement;
    RECT expected;
  } cases[] = {
      {true, 0, R(500, 400, 800, 750)}, {true, 1, R(500, 50, 800, 400)},
      {true, 2, R(200, 400, 500, 750)}, {true, 3, R(200, 50, 500, 400)},
      {true, -1, R(200, 50, 500, 400)}, {true, 7, R(200, 50, 500, 400)},
      {false, 0, R(200, 50, 500, 400)}, {false, 2, R(200, 50, 500, 400)},
  };
  for (const Case& c : cases) {
    ExpectRect(PlaceAtPoint(500, 400, 300, 350, c.receiver, c.placement), c.expected,
               c.receiver ? "with receiver" : "without receiver");
  }
}

TEST(DialogLayout, OnlyARectangleReachingIntoTheScreenMovesDownToTheTop) {
  RECT straddling = R(10, -40, 310, 310);
  ClampToTop(straddling);
  ExpectRect(straddling, R(10, 0, 310, 350), "straddling");
  RECT above = R(10, -400, 310, 0);
  ClampToTop(above);
  ExpectRect(above, R(10, -400, 310, 0), "entirely above");
  RECT below = R(10, 5, 310, 355);
  ClampToTop(below);
  ExpectRect(below, R(10, 5, 310, 355), "on screen");
}

TEST(DialogLayout, PartsAt96And144Dpi) {
  RECT client = R(0, 0, 310, 350);
  DialogRects at96 = CalcDialogRects(client, MetricsAt(96));
  ExpectRect(at96.caption, R(1, 1, 309, 27), "caption");
  ExpectRect(at96.close, R(288, 6, 304, 27), "close");
  ExpectRect(at96.inputArea, R(1, 32, 309, 349), "input area");
  // Top-right corner at (309, 1 + 26 + 18 + 15), 30 square shrunk by 7.
  ExpectRect(at96.clear, R(286, 67, 302, 83), "clear");
  ExpectRect(EditRectFor(client, MetricsAt(96)), R(11, 33, 289, 50), "edit");
  ExpectRect(ListRectFor(client, MetricsAt(96), false), R(1, 55, 309, 349), "list");
  ExpectRect(ListRectFor(client, MetricsAt(96), true), R(1, 85, 309, 349), "list under the bar");

  RECT big = R(0, 0, 465, 525);
  DialogRects at144 = CalcDialogRects(big, MetricsAt(144));
  ExpectRect(at144.caption, R(1, 1, 464, 40), "caption 144");
  ExpectRect(ListRectFor(big, MetricsAt(144), true), R(1, 1 + 39 + 27 + 16 + 45, 464, 524),
             "list under the bar 144");
}

TEST(DialogLayout, AnchorKeepsTheCornerOfThePlacement) {
  POINT anchor = {600, 500};
  RECT suggested = R(0, 0, 450, 525);
  ExpectRect(AnchorRect(suggested, anchor, true, 0), R(600, 500, 1050, 1025), "top-left");
  ExpectRect(AnchorRect(suggested, anchor, true, 1), R(600, -25, 1050, 500), "bottom-left");
  ExpectRect(AnchorRect(suggested, anchor, false, 0), R(150, -25, 600, 500), "default corner");
}
