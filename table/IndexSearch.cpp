// Binary searches and the in-place sort over one index list of slot numbers. The key prefixes
// beside each list decide most comparisons without reaching the records; every comparison they
// cannot decide goes to the keys themselves, so results are those of the keys alone.
#include <algorithm>
#include <cstdint>
#include <new>
#include <utility>

#include "table/KeyCompareModes.h"
#include "table/MappingTable.h"

const wchar_t* KeyboardInputMappingTable::SlotText(int slot) const {
  const KeySlot& s = m_pSlots[slot];
  return KeyText(m_pItems[s.m_nItem], s.m_nKey);
}

KeyPrefixList& KeyboardInputMappingTable::PrefixesAt(const IndexList& list) {
  ptrdiff_t n = &list - &m_arrIndex[0][0];
  return (&m_arrKeyPrefix[0][0])[n];
}

KeyPrefixList* KeyboardInputMappingTable::ParallelPrefixes(const IndexList& list,
                                                           bool* backward) const {
  // Tests and tools may search lists of their own: only the table's lists have prefixes.
  uintptr_t at = reinterpret_cast<uintptr_t>(&list);
  uintptr_t base = reinterpret_cast<uintptr_t>(&m_arrIndex[0][0]);
  if (at < base || (at - base) % sizeof(IndexList) != 0) return nullptr;
  size_t n = (at - base) / sizeof(IndexList);
  if (n >= static_cast<size_t>(INDEX_GROUPS * ITEM_CATEGORIES)) return nullptr;
  *backward = (n / ITEM_CATEGORIES) % 2 == 1;
  // The prefixes belong with the list, which the callers that reorder it may change.
  KeyPrefixList& prefixes = const_cast<KeyPrefixList&>((&m_arrKeyPrefix[0][0])[n]);
  return prefixes.size() == list.size() ? &prefixes : nullptr;
}

const KeyPrefixList* KeyboardInputMappingTable::PrefixesFor(const IndexList& list,
                                                            const KeyCompareMode* mode) const {
  if (!m_bUseKeyPrefixes) return nullptr;
  bool backward = false;
  const KeyPrefixList* prefixes = ParallelPrefixes(list, &backward);
  return prefixes && backward == (mode->m_bBackward != 0) ? prefixes : nullptr;
}

int KeyboardInputMappingTable::CompareSlotWithKey(const IndexList& list, int pos,
                                                  const wchar_t* text,
                                                  const KeyCompareMode* mode) const {
  if (!text || !text[0]) return -1;
  const KeySlot& slot = m_pSlots[list[pos]];
  if (slot.m_nItem < 0 || slot.m_nKey > 2) return -1;
  return CompareKey(mode, KeyText(m_pItems[slot.m_nItem], slot.m_nKey), text);
}

// Slots and records past the room are free slots and default records, which name no key.
const KeySlot* KeyboardInputMappingTable::ValidSlot(int slot) const {
  const int limit = std::min(m_nCapacity, m_nRoom);
  if (slot < 0 || slot >= 3 * limit) return nullptr;
  const KeySlot& s = m_pSlots[slot];
  if (s.m_nItem < 0 || s.m_nItem >= limit || s.m_nKey > 2) return nullptr;
  return &s;
}

int KeyboardInputMappingTable::CompareSlots(const IndexList& list, int first, int second,
                                            const KeyCompareMode* mode) const {
  int size = static_cast<int>(list.size());
  if (first < 0 || second < 0 || first >= size || second >= size) return -1;
  int a = list[first], b = list[second];
  // Past the room a slot is free and a record has empty keys: both compare as "less".
  const int limit = std::min(m_nCapacity, m_nRoom);
  if (a < 0 || b < 0 || a >= 3 * limit || b >= 3 * limit) return -1;
  const KeySlot& sa = m_pSlots[a];
  const KeySlot& sb = m_pSlots[b];
  if (sa.m_nItem < 0 || sb.m_nItem < 0 || sa.m_nItem >= limit || sb.m_nItem >= limit) return -1;
  if (sa.m_nKey > 2 || sb.m_nKey > 2) return -1;
  return CompareKey(mode, KeyText(m_pItems[sa.m_nItem], sa.m_nKey),
                    KeyText(m_pItems[sb.m_nItem], sb.m_nKey));
}

namespace {

// The binary search for one fixed mode: the comparison is inlined and the text's checks are done
// once, not per entry. `prefixes` (may be null) with `probe` decide what they can.
template <class Compare>
int BoundFor(const IndexList& list, const uint64_t* prefixes, const keyprefix::Probe* probe,
             bool prefixMode, const KeySlot* slots, const KeyboardItemInfo* items, int low,
             int high, bool first, const Compare& compare) {
  auto compareAt = [&](int pos) {
    if (prefixes) {
      int decided = probe->DecideAgainst(prefixes[pos], prefixMode);
      if (decided != keyprefix::kUndecided) return decided;
    }
    const KeySlot& slot = slots[list[pos]];
    if (slot.m_nItem < 0 || slot.m_nKey > 2) return -1;
    const wchar_t* key = KeyText(items[slot.m_nItem], slot.m_nKey);
    return key[0] ? compare(key) : -1;
  };
  // While the first differing characters of entry and text are ordinary ones, the sign of
  // the packed compare is the sign of the comparison and the step needs no branch.
  const uint64_t packed = prefixes && probe->plain ? probe->packed : 0;
  while (low + 1 < high) {
    int mid = (low + high) / 2;
    if (packed) {
      uint64_t stored = prefixes[mid];
      uint64_t diff = stored ^ packed;
      int shift = (63 - __builtin_clzll(diff | 1)) & ~15;
      unsigned s = static_cast<unsigned>(stored >> shift) & 0xFFFF;
      unsigned t = static_cast<unsigned>(packed >> shift) & 0xFFFF;
      if (__builtin_expect(diff != 0 && s - 1 < keyprefix::kUndecidable - 1 &&
                               t - 1 < keyprefix::kUndecidable - 1,
                           1)) {
        bool less = stored < packed;
        low = less ? mid : low;
        high = less ? high : mid;
        continue;
      }
    }
    int c = compareAt(mid);
    if (first) {
      if (c < 0)
        low = mid;
      else
        high = mid;
    } else {
      if (c > 0)
        high = mid;
      else
        low = mid;
    }
  }
  int outer = first ? low : high;
  int inner = first ? high : low;
  if (compareAt(outer) == 0) return outer;
  if (compareAt(inner) == 0) return inner;
  return -1;
}

// Keys are short: a plain loop beats a call.
inline size_t KeyLength(const wchar_t* key) {
  size_t n = 0;
  while (key[n]) ++n;
  return n;
}

}  // namespace

int KeyboardInputMappingTable::Bound(const IndexList& list, int low, int high, const wchar_t* text,
                                     bool first, const KeyCompareMode* mode,
                                     const keyprefix::Probe* probe) const {
  if (low < 0 || low > high || !text) return -1;
  // An empty text compares unequal to every entry.
  if (!text[0]) return -1;
  const KeyPrefixList* prefixList = PrefixesFor(list, mode);
  const uint64_t* prefixes = prefixList ? prefixList->data() : nullptr;
  keyprefix::Probe local;
  if (prefixes && !probe) {
    local.Prepare(text, mode->m_bBackward != 0);
    probe = &local;
  }
  if (mode->m_bBackward) {
    size_t textLength = KeyLength(text);
    bool prefix = mode->m_bPrefix != 0;
    return BoundFor(list, prefixes, probe, mode->m_bPrefix != 0, m_pSlots, m_pItems, low, high,
                    first, [&](const wchar_t* key) {
                      return keycmp::CompareBackward(key, KeyLength(key), text, textLength, prefix);
                    });
  }
  if (mode->m_bPrefix)
    return BoundFor(list, prefixes, probe, mode->m_bPrefix != 0, m_pSlots, m_pItems, low, high,
                    first,
                    [&](const wchar_t* key) { return keycmp::CompareForwardPrefix(key, text); });
  return BoundFor(list, prefixes, probe, mode->m_bPrefix != 0, m_pSlots, m_pItems, low, high, first,
                  [&](const wchar_t* key) { return keycmp::CompareForwardWhole(key, text); });
}

int KeyboardInputMappingTable::SearchBound(const IndexList& list, int low, int high,
                                           const wchar_t* text, bool first,
                                           const KeyCompareMode* mode) const {
  return Bound(list, low, high, text, first, mode, nullptr);
}

namespace {

// The first of `count` rising prefixes that is not below `value` (`orEqual`: above it), without
// a branch on the values.
size_t FirstAbove(const uint64_t* prefixes, size_t count, uint64_t value, bool orEqual) {
  if (!count) return 0;
  const uint64_t* base = prefixes;
  // The loads chain one to the next; both possible next probes are fetched ahead.
  if (orEqual) {
    while (count > 1) {
      size_t half = count / 2;
      __builtin_prefetch(base + half / 2);
      __builtin_prefetch(base + half + half / 2);
      base = base[half] <= value ? base + half : base;
      count -= half;
    }
    return static_cast<size_t>(base - prefixes) + (*base <= value);
  }
  while (count > 1) {
    size_t half = count / 2;
    __builtin_prefetch(base + half / 2);
    __builtin_prefetch(base + half + half / 2);
    base = base[half] < value ? base + half : base;
    count -= half;
  }
  return static_cast<size_t>(base - prefixes) + (*base < value);
}

// The end of the run from `first` of prefixes not above `value`, `values[first]` being one.
// Runs of matches are short beside their lists: steps that double from `first` stay within its
// cache lines where a binary search over the rest would start at the far end.
size_t RunEnd(const uint64_t* values, size_t count, size_t first, uint64_t value) {
  size_t inside = first, step = 1;
  while (step < count - inside && values[inside + step] <= value) {
    inside += step;
    step *= 2;
  }
  size_t bound = std::min(count, inside + step);
  return FirstAbove(values + inside, bound - inside, value, true) + inside;
}

}  // namespace

bool KeyboardInputMappingTable::RangeByPrefixes(const KeyPrefixList& prefixes,
                                                const keyprefix::Probe& probe,
                                                const KeyCompareMode* mode,
                                                std::pair<int, int>* range) const {
  // Over rising prefixes that stand for their keys, a text whose prefix decides every
  // comparison it takes part in compares below, then equal to, then above the entries: the
  // binary searches find the equal run whatever their steps, and so does this search.
  // A whole forward comparison also asks that the characters past the text be clean.
  if (!mode->m_bBackward && !mode->m_bPrefix ? !prefixes.RisingClean() : !prefixes.Rising())
    return false;
  int lanes = probe.DecidingLanes();
  if (!lanes) return false;
  const uint64_t* values = prefixes.data();
  const size_t count = prefixes.size();
  const uint64_t low = probe.packed;
  uint64_t high = low;
  // A text that fills the prefix leaves the entries that share it to the keys.
  if (lanes < keyprefix::kLanes && mode->m_bPrefix)
    high |= (static_cast<uint64_t>(1) << (16 * (keyprefix::kLanes - lanes))) - 1;
  if (!count || values[count - 1] < low || values[0] > high) {
    *range = {-1, -1};
    return true;
  }
  size_t first = FirstAbove(values, count, low, false);
  if (lanes == keyprefix::kLanes) {
    if (first == count || values[first] != low) {
      *range = {-1, -1};
      return true;
    }
    return false;
  }
  if (first == count || values[first] > high) {
    *range = {-1, -1};
    return true;
  }
  size_t end = RunEnd(values, count, first, high);
  *range = {static_cast<int>(first), static_cast<int>(end - 1)};
  return true;
}

std::pair<int, int> KeyboardInputMappingTable::Range(const IndexList& list, const wchar_t* text,
                                                     const KeyCompareMode* mode,
                                                     const keyprefix::Probe* probe) const {
  if (probe) {
    const KeyPrefixList* prefixes = PrefixesFor(list, mode);
    std::pair<int, int> range;
    if (prefixes && RangeByPrefixes(*prefixes, *probe, mode, &range)) return range;
  }
  int high = static_cast<int>(list.size()) - 1;
  int first = Bound(list, 0, high, text, true, mode, probe);
  if (first < 0) return {-1, -1};
  int last = Bound(list, first, high, text, false, mode, probe);
  if (last < 0) return {first, first};
  return {first, last > first ? last : first};
}

std::pair<int, int> KeyboardInputMappingTable::EqualRange(const IndexList& list, int high,
                                                          const wchar_t* text,
                                                          const KeyCompareMode* mode) const {
  int first = SearchBound(list, 0, high, text, true, mode);
  if (first < 0) return {-1, -1};
  int last = SearchBound(list, first, high, text, false, mode);
  if (last < 0) return {first, first};
  return {first, last > first ? last : first};
}

int KeyboardInputMappingTable::InsertPosition(const IndexList& list, int high, const wchar_t* text,
                                              const KeyCompareMode* mode) const {
  if (high < 0 || !text) return -1;
  const KeyPrefixList* prefixes = PrefixesFor(list, mode);
  keyprefix::Probe probe;
  if (prefixes) probe.Prepare(text, mode->m_bBackward != 0);
  int low = 0;
  while (low <= high) {
    int mid = (low + high) / 2;
    int c = prefixes ? probe.DecideAgainst((*prefixes)[mid], mode->m_bPrefix != 0)
                     : keyprefix::kUndecided;
    if (c == keyprefix::kUndecided) c = CompareSlotWithKey(list, mid, text, mode);
    if (c > 0)
      high = mid - 1;
    else
      low = mid + 1;
  }
  return low;
}

namespace {

// What the pivot's key answers against itself, kept: the pivot meets itself on every sweep.
struct SelfOrder {
  int slot = -1;
  int order = 0;
};

// The sort's comparisons that the prefixes and tails do not settle: the keys themselves.
__attribute__((noinline)) int CompareUndecided(const KeyboardInputMappingTable& table,
                                               const IndexList& list, int first, int second,
                                               const KeyCompareMode* mode, SelfOrder* self) {
  if (first == second) {
    if (self->slot != list[first]) {
      self->slot = list[first];
      self->order = table.CompareSlots(list, first, second, mode);
    }
    return self->order;
  }
  return table.CompareSlots(list, first, second, mode);
}

}  // namespace

// Quicksort whose pivot handling decides the order of equal keys, and with it the order in
// which the search returns them. The prefixes, when given, move with their entries, and so do
// `tails`, the next four characters of each key; they decide comparisons only when `decide` is
// set, the tails only between equal full prefixes.
void KeyboardInputMappingTable::SortRange(IndexList& list, uint64_t* prefixes, uint64_t* tails,
                                          uint64_t* nextTails, bool decide, int lo, int hi,
                                          const KeyCompareMode* mode) const {
  SelfOrder self;
  const bool backward = mode->m_bBackward != 0;
  auto compare = [&](int first, int second) {
    if (decide) {
      uint64_t a = prefixes[first], b = prefixes[second];
      int decided = 0;
      if (a != b) {
        decided = keyprefix::Decide(a, b, backward);
      } else if (tails && tails[first] != keyprefix::kNone && tails[second] != keyprefix::kNone) {
        // Equal keys are told from the prefixes and tails; an entry whose record cannot be read
        // has no tail.
        if (!keyprefix::Full(a)) {
          if (keyprefix::EndsAlike(a, !backward)) return 0;
        } else {
          // Codes share their first four characters by the thousand: the next four decide.
          uint64_t ta = tails[first], tb = tails[second];
          decided = keyprefix::Decide(ta, tb, backward, a);
          if (!decided && ta == tb) {
            if (keyprefix::EndsAlike(ta, !backward) && (backward || keyprefix::AllClean(a)))
              return 0;
            // Alike through full tails: the four characters after them, where they are kept.
            if (nextTails && keyprefix::Full(ta)) {
              // Forward, a tie at the end needs every character before it clean.
              const uint64_t before = keyprefix::AllClean(a) ? ta : a;
              uint64_t na = nextTails[first], nb = nextTails[second];
              decided = keyprefix::Decide(na, nb, backward, before);
              if (!decided && na == nb && keyprefix::EndsAlike(na, !backward) &&
                  (backward || keyprefix::AllClean(before)))
                return 0;
            }
          }
        }
      }
      if (decided) return decided;
    }
    return CompareUndecided(*this, list, first, second, mode, &self);
  };
  if (lo >= hi) return;
  int p = (lo + hi) / 2;
  if (p < 0) return;
  int i = lo, j = hi;
  for (;;) {
    while (i < hi && compare(p, i) > 0) ++i;
    while (j > lo && compare(p, j) < 0) --j;
    if (i >= j) break;
    std::swap(list[i], list[j]);
    if (prefixes) std::swap(prefixes[i], prefixes[j]);
    if (tails) std::swap(tails[i], tails[j]);
    if (nextTails) std::swap(nextTails[i], nextTails[j]);
    if (i == p) {
      p = j;
      ++i;
    } else if (j == p) {
      p = i;
      --j;
    } else {
      ++i;
      --j;
    }
    if (i >= j) break;
  }
  if (lo < i - 1) SortRange(list, prefixes, tails, nextTails, decide, lo, i - 1, mode);
  if (hi > i + 1) SortRange(list, prefixes, tails, nextTails, decide, i + 1, hi, mode);
}

uint64_t* KeyboardInputMappingTable::NextTailsForSort(const IndexList& list,
                                                      const uint64_t* prefixes,
                                                      const uint64_t* tails, bool backward) const {
  // Below this the keys decide what is left for a few comparisons only.
  const size_t kFewest = 1024;
  const size_t count = list.size();
  if (count < kFewest) return nullptr;
  size_t longer = 0;
  for (size_t at = 0; at < count; ++at)
    longer += keyprefix::Full(prefixes[at]) && keyprefix::Full(tails[at]);
  // Codes, initials and most names end within eight characters.
  if (longer < count / 4) return nullptr;
  // Short of memory (on a worker, where nothing may throw) the keys decide as before.
  uint64_t* next = new (std::nothrow) uint64_t[count];
  if (!next) return nullptr;
  // The list is still in the order its entries were appended in, mostly that of the records.
  for (size_t at = 0; at < count; ++at) {
    const KeySlot* slot =
        keyprefix::Full(prefixes[at]) && keyprefix::Full(tails[at]) ? ValidSlot(list[at]) : nullptr;
    next[at] = slot
                   ? keyprefix::NextTailOf(KeyText(m_pItems[slot->m_nItem], slot->m_nKey), backward)
                   : keyprefix::kNone;
  }
  return next;
}

bool KeyboardInputMappingTable::SortIndexList(IndexList& list, int* low, int* high,
                                              const KeyCompareMode* mode) const {
  int lo = *low, hi = *high;
  if (lo >= hi) return true;
  if ((lo + hi) / 2 < 0) return false;
  bool backward = false;
  KeyPrefixList* prefixes = ParallelPrefixes(list, &backward);
  // Out of the list's bounds CompareSlots answers "less" whatever the keys: no prefix there.
  if (lo < 0 || hi >= static_cast<int>(list.size())) prefixes = nullptr;
  bool decide = prefixes && m_bUseKeyPrefixes && backward == (mode->m_bBackward != 0);
  // Codes share their first characters by the thousand: the next ones, kept since the entries
  // were appended, spare most comparisons the records. Without them the keys decide.
  uint64_t* tails = decide ? prefixes->SortTails() : nullptr;
  uint64_t* nextTails =
      tails && lo == 0 && hi == static_cast<int>(list.size()) - 1
          ? NextTailsForSort(list, prefixes->data(), tails, mode->m_bBackward != 0)
          : nullptr;
  SortRange(list, prefixes ? prefixes->MutableData() : nullptr, tails, nextTails, decide, lo, hi,
            mode);
  delete[] nextTails;
  if (prefixes) {
    prefixes->ReleaseTails();
    prefixes->Recount();
  }
  return true;
}
