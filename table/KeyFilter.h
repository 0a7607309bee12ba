// Which keys a list surely does not hold, told without a search: a bulk add checks every record
// it is given for an equal one already listed, in lists whose appended part is in no order yet,
// and most records have none. A binary search finds an entry only where one equals the key, so
// a key that no entry can equal needs no search at all.
//
// Keys are noted by their forward prefix and tail (KeyPrefix.h). Two keys whose first eight
// characters all stand for themselves (no space, no full-width form, no letter whose upper case
// is ASCII while it is not) and that compare equal have the same prefix and tail: the forward
// whole comparison pairs those characters one to one and ends both keys alike. A key any of whose
// first eight characters does not stand for itself may equal keys of other prefixes: once one is
// noted, the filter answers "may" for every key.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class KeyFilter {
 public:
  // Room for `count` keys; false (and no filter) when memory is short.
  bool Reserve(size_t count);
  void Release();
  bool Kept() const { return !m_bits.empty(); }

  void Note(uint64_t prefix, uint64_t tail);
  // False only when no noted key can equal a key of this prefix and tail.
  bool MayHold(uint64_t prefix, uint64_t tail) const;

 private:
  static bool StandsForItself(uint64_t prefix, uint64_t tail);
  void Positions(uint64_t prefix, uint64_t tail, size_t* first, size_t* second) const;

  std::vector<uint64_t> m_bits;
  size_t m_mask = 0;     // bit positions run 0..m_mask
  bool m_bOpen = false;  // a key was noted that may equal keys of other prefixes
};
