// Key prefixes: the first characters of a key, as a list's comparison normalises them, packed
// into 64 bits so that a binary search decides most comparisons from one contiguous value and
// follows list -> slot -> record only when the prefixes cannot decide.
//
// Four 16-bit lanes, the first character in the highest lane. Forward lists hold the upper-cased
// characters from the start of the key; backward lists the characters from the end. A lane of 0
// means the key ended. A character the prefix cannot stand for exactly (a space, one that may
// fold with a full-width form, one above 16 bits, in backward order one whose upper case differs
// from itself) becomes the lane kUndecidable and ends the prefix. When the lanes that would decide
// hold kUndecidable, the caller compares the keys themselves: a prefix may cost speed, never a
// different result.
#pragma once

#include <cstdint>

namespace keyprefix {

const int kLanes = 4;
const unsigned kUndecidable = 0xFFFF;
// The prefix that decides nothing: an empty key, or an entry whose record may change under it.
const uint64_t kNone = static_cast<uint64_t>(kUndecidable) << 48;
// What a text's comparison with a stored prefix answers when the prefix cannot decide.
const int kUndecided = 2;

inline int LaneShift(int lane) { return 48 - 16 * lane; }

inline unsigned LaneOf(uint64_t packed, int lane) {
  return static_cast<unsigned>(packed >> LaneShift(lane)) & 0xFFFF;
}

// Letters, digits and ideographs: where the platform's case-insensitive comparison is certain to
// agree with comparing the upper-cased characters.
inline bool Clean(unsigned lane) {
  return (lane >= '0' && lane <= '9') || (lane >= 'A' && lane <= 'Z') ||
         (lane >= 0x3400 && lane < 0xA000);
}

// The prefix of a key for the lists of one direction.
uint64_t Of(const wchar_t* key, bool backward);

// The four characters that follow the prefix, packed alike: what the sort compares next when two
// full prefixes are equal. 0 when the key ends with its prefix.
uint64_t TailOf(const wchar_t* key, bool backward);
// The four characters after those: what the sort compares when prefixes and tails are full and
// equal, as full-pinyin keys often are ("YUNCHENGXIWU", "YUNCHENGMUWU").
uint64_t NextTailOf(const wchar_t* key, bool backward);

// Some lane is kUndecidable (a lane of 0 in the complement).
inline bool HoldsUndecidable(uint64_t packed) {
  const uint64_t ones = 0x0001000100010001ull, highs = 0x8000800080008000ull;
  return ((~packed - ones) & packed & highs) != 0;
}

// Every lane holds a character that stands for itself: the key goes on past the prefix or ends
// right after it, and its characters so far compare in step with another's.
inline bool Full(uint64_t packed) {
  const uint64_t ones = 0x0001000100010001ull, highs = 0x8000800080008000ull;
  // No lane is 0, and none is kUndecidable.
  return !((packed - ones) & ~packed & highs) && !HoldsUndecidable(packed);
}

// The key ends within these lanes and every character held stands for itself, so two keys that
// reach this far alike are equal. A forward tie is settled by the platform's case-insensitive
// comparison, certain to agree only over letters, digits and ideographs (`clean`).
inline bool EndsAlike(uint64_t packed, bool clean) {
  bool ended = false;
  for (int lane = 0; lane < kLanes; ++lane) {
    unsigned value = LaneOf(packed, lane);
    if (value == kUndecidable) return false;
    if (!value)
      ended = true;
    else if (clean && !Clean(value))
      return false;
  }
  return ended;
}

// No lane is undecidable and every character held is a letter, a digit or an ideograph.
inline bool AllClean(uint64_t packed) {
  for (int lane = 0; lane < kLanes; ++lane) {
    unsigned value = LaneOf(packed, lane);
    if (value && !Clean(value)) return false;
  }
  return true;
}

// The sign of comparing two stored keys of one direction's lists by their prefixes (or by their
// tails, when their prefixes are full and equal: `before` is that prefix), or 0 when the first
// lanes that differ cannot decide. Where one key ends and the other goes on, the shorter comes
// first: backward always; forward only when the characters up to there and the next one of the
// longer key are letters, digits or ideographs, as the platform's case-insensitive comparison
// that settles such ties is certain to agree then.
inline int Decide(uint64_t a, uint64_t b, bool backward, uint64_t before = 0) {
  uint64_t diff = a ^ b;
  if (!diff) return 0;
  int shift = (63 - __builtin_clzll(diff)) & ~15;
  unsigned la = static_cast<unsigned>(a >> shift) & 0xFFFF;
  unsigned lb = static_cast<unsigned>(b >> shift) & 0xFFFF;
  if (la == kUndecidable || lb == kUndecidable) return 0;
  if (__builtin_expect(la && lb, 1)) return a < b ? -1 : 1;
  if (!backward) {
    uint64_t ahead = shift == 48 ? 0 : a >> (shift + 16);
    if (!Clean(la | lb) || !AllClean(ahead) || !AllClean(before)) return 0;
  }
  return la ? 1 : -1;
}

// A text to be compared with the stored keys of one direction, prepared once per search.
//
// Besides the order of differing characters it knows where the text ends, so that a key that
// begins (or, backward, ends) with the whole text is decided too. Forward, the ends are decided
// only over letters, digits and ideographs, where the platform's case-insensitive comparison that
// settles such ties is certain to agree with the character comparison.
//
// Backward comparisons test equality on upper-cased characters but order by the characters as
// they are: a text holding characters that differ from their upper case (typed in small letters,
// say) is compared lane by lane, equality on the upper case and order on the characters.
struct Probe {
  bool backward = false;
  uint64_t packed = 0;  // the text's prefix as a stored key of the direction would have it
  bool plain = true;    // packed can be compared with stored prefixes directly
  int lanes = 0;        // leading characters in upper/raw (no space, 16 bits)
  uint16_t upper[kLanes] = {};
  uint16_t raw[kLanes] = {};
  int end = -1;   // 1..3 when the text ends after that many lanes, else -1
  int clean = 0;  // leading lanes that take part in deciding the ends
  // The lanes a stored key's first two lanes must equal for the key to match the text, where
  // they stand for their characters (KeyPrefixList::MayBeginWith); 0 where any may.
  unsigned first = 0;
  unsigned second = 0;

  void Prepare(const wchar_t* text, bool isBackward);

  // The comparison of the stored key of prefix `stored` with the text under the direction's
  // whole (prefixMode false) or prefix mode: -1, 0, 1, or kUndecided.
  int DecideAgainst(uint64_t stored, bool prefixMode) const {
    if (plain) {
      uint64_t diff = stored ^ packed;
      if (!diff) return end > 0 && clean >= end ? 0 : kUndecided;
      int shift = (63 - __builtin_clzll(diff)) & ~15;
      unsigned s = static_cast<unsigned>(stored >> shift) & 0xFFFF;
      unsigned t = static_cast<unsigned>(packed >> shift) & 0xFFFF;
      if (s == kUndecidable || t == kUndecidable) return kUndecided;
      if (s && t) return stored < packed ? -1 : 1;
      return DecideEnd(s, (48 - shift) / 16, prefixMode);
    }
    for (int k = 0; k < kLanes; ++k) {
      unsigned s = LaneOf(stored, k);
      if (s == kUndecidable) return kUndecided;
      if (k == lanes) {
        if (k != end) return kUndecided;
        return s ? DecideEnd(s, k, prefixMode) : 0;  // both ended
      }
      if (!s) return DecideEnd(s, k, prefixMode);
      if (s == upper[k]) continue;
      return s < raw[k] ? -1 : 1;
    }
    return kUndecided;
  }

  // How many lanes of `packed` stand for the text when every one of them decides against a
  // prefix that stands for its key: the text's length if it ends within the prefix, kLanes if
  // it goes on past it; 0 when some comparisons need the keys whatever the stored prefix.
  int DecidingLanes() const {
    if (!plain) return 0;
    int count = 0;
    while (count < kLanes && LaneOf(packed, count)) {
      if (LaneOf(packed, count) == kUndecidable) return 0;
      ++count;
    }
    if (clean < count) return 0;
    return count == kLanes || end == count ? count : 0;
  }

 private:
  // Lanes before k agree; at k the stored key ended (s == 0) or the text did (s != 0).
  int DecideEnd(unsigned s, int k, bool prefixMode) const {
    if (!s) return k < clean ? -1 : kUndecided;  // the key is the shorter
    if (k != end || clean < end) return kUndecided;
    if (!backward && !Clean(s)) return kUndecided;
    return prefixMode ? 0 : 1;  // the key goes on past the whole text
  }
};

}  // namespace keyprefix
