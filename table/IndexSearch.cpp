// Binary searches and the in-place sort over one index list of slot numbers.
#include <utility>

#include "table/KeyCompareModes.h"
#include "table/MappingTable.h"

const wchar_t* KeyboardInputMappingTable::SlotText(int slot) const {
  const KeySlot& s = m_pSlots[slot];
  return KeyText(m_pItems[s.m_nItem], s.m_nKey);
}

int KeyboardInputMappingTable::CompareSlotWithKey(const IndexList& list, int pos,
                                                  const wchar_t* text,
                                                  const KeyCompareMode* mode) const {
  if (!text || !text[0]) return -1;
  const KeySlot& slot = m_pSlots[list[pos]];
  if (slot.m_nItem < 0 || slot.m_nKey > 2) return -1;
  return CompareKey(mode, KeyText(m_pItems[slot.m_nItem], slot.m_nKey), text);
}

int KeyboardInputMappingTable::CompareSlots(const IndexList& list, int first, int second,
                                            const KeyCompareMode* mode) const {
  int size = static_cast<int>(list.size());
  if (first < 0 || second < 0 || first >= size || second >= size) return -1;
  int a = list[first], b = list[second];
  int slotLimit = 3 * m_nCapacity;
  if (a < 0 || b < 0 || a >= slotLimit || b >= slotLimit) return -1;
  const KeySlot& sa = m_pSlots[a];
  const KeySlot& sb = m_pSlots[b];
  if (sa.m_nItem < 0 || sb.m_nItem < 0 || sa.m_nItem >= m_nCapacity || sb.m_nItem >= m_nCapacity)
    return -1;
  if (sa.m_nKey > 2 || sb.m_nKey > 2) return -1;
  return CompareKey(mode, KeyText(m_pItems[sa.m_nItem], sa.m_nKey),
                    KeyText(m_pItems[sb.m_nItem], sb.m_nKey));
}

namespace {

// The binary search for one fixed mode: the comparison is inlined and the text's checks are done
// once, not per entry.
template <class Compare>
int BoundFor(const IndexList& list, const KeySlot* slots, const KeyboardItemInfo* items, int low,
             int high, bool first, const Compare& compare) {
  auto compareAt = [&](int pos) {
    const KeySlot& slot = slots[list[pos]];
    if (slot.m_nItem < 0 || slot.m_nKey > 2) return -1;
    const wchar_t* key = KeyText(items[slot.m_nItem], slot.m_nKey);
    return key[0] ? compare(key) : -1;
  };
  while (low + 1 < high) {
    int mid = (low + high) / 2;
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

int KeyboardInputMappingTable::SearchBound(const IndexList& list, int low, int high,
                                           const wchar_t* text, bool first,
                                           const KeyCompareMode* mode) const {
  if (low < 0 || low > high || !text) return -1;
  // An empty text compares unequal to every entry.
  if (!text[0]) return -1;
  if (mode->m_bBackward) {
    size_t textLength = KeyLength(text);
    bool prefix = mode->m_bPrefix != 0;
    return BoundFor(list, m_pSlots, m_pItems, low, high, first, [&](const wchar_t* key) {
      return keycmp::CompareBackward(key, KeyLength(key), text, textLength, prefix);
    });
  }
  if (mode->m_bPrefix)
    return BoundFor(list, m_pSlots, m_pItems, low, high, first,
                    [&](const wchar_t* key) { return keycmp::CompareForwardPrefix(key, text); });
  return BoundFor(list, m_pSlots, m_pItems, low, high, first,
                  [&](const wchar_t* key) { return keycmp::CompareForwardWhole(key, text); });
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
  int low = 0;
  while (low <= high) {
    int mid = (low + high) / 2;
    if (CompareSlotWithKey(list, mid, text, mode) > 0)
      high = mid - 1;
    else
      low = mid + 1;
  }
  return low;
}

// Quicksort whose pivot handling decides the order of equal keys, and with it the order in
// which the search returns them.
bool KeyboardInputMappingTable::SortIndexList(IndexList& list, int* low, int* high,
                                              const KeyCompareMode* mode) const {
  int lo = *low, hi = *high;
  if (lo >= hi) return true;
  int p = (lo + hi) / 2;
  if (p < 0) return false;
  int i = lo, j = hi;
  for (;;) {
    while (i < hi && CompareSlots(list, p, i, mode) > 0) ++i;
    while (j > lo && CompareSlots(list, p, j, mode) < 0) --j;
    if (i >= j) break;
    std::swap(list[i], list[j]);
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
  if (lo < i - 1) {
    int l = lo, h = i - 1;
    SortIndexList(list, &l, &h, mode);
  }
  if (hi > i + 1) {
    int l = i + 1, h = hi;
    SortIndexList(list, &l, &h, mode);
  }
  return true;
}
