// Packing of key prefixes; the rules that keep them exact are in KeyPrefix.h.
#include "table/KeyPrefix.h"

#include "table/KeyCompareModes.h"

namespace keyprefix {

namespace {

bool Fits(wchar_t c, int upper) {
  return c > 0 && static_cast<uint32_t>(c) < kUndecidable && upper > 0 &&
         upper < static_cast<int>(kUndecidable);
}

// Forward comparisons look at upper-cased characters. Left to the keys themselves: spaces (they
// are skipped, and whether one was decides ties), everything from U+FF21 on (a full-width letter
// may equal its ASCII form), and characters whose upper case is ASCII while they are not (the
// platform's case-insensitive comparison need not agree with that upper case).
unsigned ForwardLane(wchar_t c) {
  int upper = keycmp::Upper(c);
  if (upper == L' ' || upper <= 0 || upper >= keycmp::kFullWidthStart) return kUndecidable;
  if (upper < 0x80 && static_cast<uint32_t>(c) >= 0x80) return kUndecidable;
  return static_cast<unsigned>(upper);
}

// Backward comparisons test equality on the upper case and order by the characters themselves:
// only characters that are their own upper case stand for themselves.
unsigned BackwardLane(wchar_t c) {
  int upper = keycmp::Upper(c);
  if (upper == L' ' || !Fits(c, upper) || upper != static_cast<int>(c)) return kUndecidable;
  return static_cast<unsigned>(c);
}

size_t Length(const wchar_t* key) {
  size_t n = 0;
  while (key[n]) ++n;
  return n;
}

}  // namespace

namespace {

// The characters from `skip` on (backward: from the end), packed.
uint64_t Pack(const wchar_t* key, size_t length, size_t skip, bool backward) {
  uint64_t packed = 0;
  for (size_t lane = 0; lane < kLanes && skip + lane < length; ++lane) {
    size_t at = skip + lane;
    unsigned value = backward ? BackwardLane(key[length - 1 - at]) : ForwardLane(key[at]);
    packed |= static_cast<uint64_t>(value) << LaneShift(static_cast<int>(lane));
    if (value == kUndecidable) break;
  }
  return packed;
}

}  // namespace

uint64_t Of(const wchar_t* key, bool backward) {
  if (!key) return 0;
  size_t length = Length(key);
  // A removal never finds an empty key: its entry may outlive the record and read the next one.
  if (!length) return kNone;
  return Pack(key, length, 0, backward);
}

uint64_t TailOf(const wchar_t* key, bool backward) {
  if (!key) return kNone;
  return Pack(key, Length(key), kLanes, backward);
}

uint64_t NextTailOf(const wchar_t* key, bool backward) {
  if (!key) return kNone;
  return Pack(key, Length(key), 2 * kLanes, backward);
}

void Probe::Prepare(const wchar_t* text, bool isBackward) {
  backward = isBackward;
  plain = true;
  lanes = 0;
  end = -1;
  clean = 0;
  first = second = 0;
  packed = Of(text, backward);
  if (!text || !text[0]) return;
  if (!backward) {
    // Upper-cased as the comparison does; a space, a full-width form or a letter whose upper
    // case is ASCII leaves it undecidable, and any key may match then.
    if (LaneOf(packed, 0) != kUndecidable) first = LaneOf(packed, 0);
    if (first && LaneOf(packed, 1) != kUndecidable) second = LaneOf(packed, 1);
    int k = 0;
    for (; k < kLanes; ++k) {
      unsigned lane = LaneOf(packed, k);
      if (!lane || lane == kUndecidable) break;
      if (clean == k && Clean(lane)) ++clean;
    }
    if (k < kLanes && !LaneOf(packed, k)) end = k;
    return;
  }
  size_t length = Length(text);
  size_t i = length;
  for (; i > 0 && lanes < kLanes; --i) {
    wchar_t c = text[i - 1];
    int up = keycmp::Upper(c);
    if (up == L' ' || !Fits(c, up)) break;
    if (up != static_cast<int>(c)) plain = false;
    upper[lanes] = static_cast<uint16_t>(up);
    raw[lanes++] = static_cast<uint16_t>(c);
  }
  clean = lanes;
  if (i == 0 && lanes < kLanes) end = lanes;
  // A stored key's last character stands for itself only when it is its own upper case, and
  // the comparison tests equality on the upper case: such a key matches only if its last
  // character is the upper case of the text's.
  if (lanes > 0) first = upper[0];
  if (lanes > 1) second = upper[1];
}

}  // namespace keyprefix
