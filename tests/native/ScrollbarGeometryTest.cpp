// The scrollbar's position arithmetic: track and thumb sizes, thumb placement for a top row and
// back, drags clamped to the track, and hit testing of the five parts.
#include <gtest/gtest.h>

#include "services/scrollbar/ScrollbarGeometry.h"

namespace {

using ts::ScrollbarGeometry;

// A 96-dpi list bar: 228 pixels high, arrows of 14, 100 rows with 10 visible; the owner sets the
// thumb to (height − 28) × page ÷ rows = 20.
ScrollbarGeometry ListBar() {
  ScrollbarGeometry g;
  g.length = 228;
  g.arrow = 14;
  g.minThumb = 10;
  g.rows = 100;
  g.page = 10;
  g.thumbLength = (228 - 28) * 10 / 100;
  return g;
}

TEST(ScrollbarGeometry, SizesFollowTheOwnerAndStayInsideTheTrack) {
  ScrollbarGeometry g = ListBar();
  EXPECT_EQ(g.TrackStart(), 14);
  EXPECT_EQ(g.TrackLength(), 200);
  EXPECT_EQ(g.MaxTop(), 90);
  EXPECT_EQ(g.ThumbLength(), 20);
  EXPECT_EQ(g.ThumbSpan(), 180);

  g.thumbLength = 0;  // proportional: 200 × 10 ÷ 100
  EXPECT_EQ(g.ThumbLength(), 20);
  g.thumbLength = 3;  // never below the minimum
  EXPECT_EQ(g.ThumbLength(), 10);
  g.thumbLength = 500;  // never beyond the track
  EXPECT_EQ(g.ThumbLength(), 200);

  g = ListBar();
  g.rows = 10;  // everything visible: no thumb, no page areas
  EXPECT_FALSE(g.HasThumb());
  EXPECT_EQ(g.ThumbLength(), 0);
  EXPECT_EQ(g.HitTest(100, 0), ts::SCROLL_PART_NONE);
  EXPECT_EQ(g.HitTest(5, 0), ts::SCROLL_PART_ARROW_START);

  g = ListBar();
  g.length = 20;  // too short for two full arrows: they share it, no track
  EXPECT_EQ(g.ArrowLength(), 10);
  EXPECT_EQ(g.TrackLength(), 0);
  EXPECT_FALSE(g.HasThumb());
}

TEST(ScrollbarGeometry, ThumbOffsetAndTopRowRoundTrip) {
  const ScrollbarGeometry g = ListBar();
  struct Case {
    int top, offset;
  };
  // offset = round(top × 180 ÷ 90) = 2 × top.
  const Case kCases[] = {{0, 0}, {1, 2}, {45, 90}, {90, 180}, {-4, 0}, {120, 180}};
  for (const Case& c : kCases) EXPECT_EQ(g.ThumbOffsetForTop(c.top), c.offset) << c.top;

  // top = round(offset × 90 ÷ 180): halves round up; beyond the span clamps.
  const Case kBack[] = {{0, 0}, {1, 1}, {1, 2}, {2, 3}, {45, 90}, {90, 180}, {90, 400}, {0, -7}};
  for (const Case& c : kBack) EXPECT_EQ(g.TopForThumbOffset(c.offset), c.top) << c.offset;

  // Every top row maps to an offset that maps back to the same row.
  ScrollbarGeometry odd = ListBar();
  odd.rows = 37;
  odd.page = 8;
  odd.length = 173;
  odd.thumbLength = 0;
  for (int top = 0; top <= odd.MaxTop(); ++top)
    EXPECT_EQ(odd.TopForThumbOffset(odd.ThumbOffsetForTop(top)), top) << top;
}

TEST(ScrollbarGeometry, DragKeepsTheGrabPointAndClamps) {
  const ScrollbarGeometry g = ListBar();
  // Thumb at offset 40 (top 20) grabbed 5 pixels into it: pointer at 14 + 40 + 5 = 59.
  EXPECT_EQ(g.DragOffset(59, 5), 40);
  EXPECT_EQ(g.DragOffset(59 + 31, 5), 71);
  EXPECT_EQ(g.TopForThumbOffset(g.DragOffset(59 + 31, 5)), 36);  // 35.5 rounds up
  EXPECT_EQ(g.DragOffset(-50, 5), 0);
  EXPECT_EQ(g.DragOffset(1000, 5), 180);
}

TEST(ScrollbarGeometry, HitTestFindsEachPart) {
  const ScrollbarGeometry g = ListBar();
  const int thumb = g.ThumbOffsetForTop(20);  // 40: thumb covers 54..73
  struct Case {
    int pos;
    ts::ScrollPart part;
  };
  const Case kCases[] = {
      {-1, ts::SCROLL_PART_NONE},        {0, ts::SCROLL_PART_ARROW_START},
      {13, ts::SCROLL_PART_ARROW_START}, {14, ts::SCROLL_PART_PAGE_START},
      {53, ts::SCROLL_PART_PAGE_START},  {54, ts::SCROLL_PART_THUMB},
      {73, ts::SCROLL_PART_THUMB},       {74, ts::SCROLL_PART_PAGE_END},
      {213, ts::SCROLL_PART_PAGE_END},   {214, ts::SCROLL_PART_ARROW_END},
      {227, ts::SCROLL_PART_ARROW_END},  {228, ts::SCROLL_PART_NONE},
  };
  for (const Case& c : kCases) EXPECT_EQ(g.HitTest(c.pos, thumb), c.part) << c.pos;
}

}  // namespace
