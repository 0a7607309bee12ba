// Position arithmetic of the scrollbar control along its axis, kept free of the window system so
// that it is tested natively. Coordinates are pixels from the start of the bar (top for a
// vertical bar); the thumb's offset is measured from the start of the track.
//
//   [arrow][------------- track -------------][arrow]
//          [page start][thumb][   page end    ]
#pragma once

namespace ts {

enum ScrollPart {
  SCROLL_PART_NONE = 0,
  SCROLL_PART_ARROW_START,
  SCROLL_PART_PAGE_START,
  SCROLL_PART_THUMB,
  SCROLL_PART_PAGE_END,
  SCROLL_PART_ARROW_END,
};

struct ScrollbarGeometry {
  int length = 0;       // the bar along its axis
  int arrow = 0;        // each arrow button along the axis
  int thumbLength = 0;  // as the owner set it; 0: proportional to page ÷ rows
  int minThumb = 0;     // the thumb never gets shorter (unless the track is)
  int rows = 0;         // rows in all
  int page = 0;         // rows visible at once

  // Each arrow button's extent: both fit into the bar.
  int ArrowLength() const;
  int TrackStart() const { return ArrowLength(); }
  int TrackLength() const;
  // Rows beyond the page: the largest top row.
  int MaxTop() const;
  // Whether there is anything to scroll; without it there is no thumb and no page areas.
  bool HasThumb() const;
  // The thumb's length in pixels, 0 without a thumb.
  int ThumbLength() const;
  // Room the thumb moves in.
  int ThumbSpan() const { return TrackLength() - ThumbLength(); }

  // Thumb offset for a top row (clamped to 0..MaxTop), rounded to the nearest pixel.
  int ThumbOffsetForTop(int top) const;
  // Top row for a thumb offset: round(offset × MaxTop ÷ span), clamped to 0..MaxTop.
  int TopForThumbOffset(int offset) const;
  // Thumb offset while dragging: the pointer at pos, grabbed grab pixels below the thumb's
  // start; clamped to 0..span.
  int DragOffset(int pos, int grab) const;
  // The part under pos with the thumb at thumbOffset.
  ScrollPart HitTest(int pos, int thumbOffset) const;
};

}  // namespace ts
