#include "ScrollbarGeometry.h"

#include <algorithm>
#include <cstdint>

namespace ts {

namespace {

int Clamp(int value, int low, int high) { return std::max(low, std::min(value, high)); }

// round(a × b ÷ c) for non-negative a, b and positive c.
int MulDivRound(int a, int b, int c) {
  return static_cast<int>((static_cast<int64_t>(a) * b * 2 + c) / (static_cast<int64_t>(c) * 2));
}

}  // namespace

int ScrollbarGeometry::ArrowLength() const {
  if (length <= 0) return 0;
  return Clamp(arrow, 0, length / 2);
}

int ScrollbarGeometry::TrackLength() const { return std::max(0, length - 2 * ArrowLength()); }

int ScrollbarGeometry::MaxTop() const { return std::max(0, rows - std::max(0, page)); }

bool ScrollbarGeometry::HasThumb() const { return MaxTop() > 0 && TrackLength() > 0; }

int ScrollbarGeometry::ThumbLength() const {
  if (!HasThumb()) return 0;
  const int track = TrackLength();
  int thumb = thumbLength > 0 ? thumbLength : MulDivRound(track, std::max(0, page), rows);
  return Clamp(thumb, std::min(std::max(minThumb, 1), track), track);
}

int ScrollbarGeometry::ThumbOffsetForTop(int top) const {
  const int span = ThumbSpan();
  const int maxTop = MaxTop();
  if (span <= 0 || maxTop <= 0) return 0;
  return MulDivRound(Clamp(top, 0, maxTop), span, maxTop);
}

int ScrollbarGeometry::TopForThumbOffset(int offset) const {
  const int span = ThumbSpan();
  const int maxTop = MaxTop();
  if (span <= 0 || maxTop <= 0) return 0;
  return MulDivRound(Clamp(offset, 0, span), maxTop, span);
}

int ScrollbarGeometry::DragOffset(int pos, int grab) const {
  return Clamp(pos - TrackStart() - grab, 0, std::max(0, ThumbSpan()));
}

ScrollPart ScrollbarGeometry::HitTest(int pos, int thumbOffset) const {
  if (pos < 0 || pos >= length) return SCROLL_PART_NONE;
  const int trackStart = TrackStart();
  const int trackEnd = trackStart + TrackLength();
  if (pos < trackStart) return SCROLL_PART_ARROW_START;
  if (pos >= trackEnd) return SCROLL_PART_ARROW_END;
  if (!HasThumb()) return SCROLL_PART_NONE;
  const int thumbStart = trackStart + Clamp(thumbOffset, 0, ThumbSpan());
  if (pos < thumbStart) return SCROLL_PART_PAGE_START;
  if (pos < thumbStart + ThumbLength()) return SCROLL_PART_THUMB;
  return SCROLL_PART_PAGE_END;
}

}  // namespace ts
