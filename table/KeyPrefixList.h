// The prefixes beside one index list, in list order, and whether they rise: a list whose
// prefixes all stand for their keys and never fall can be searched by its prefixes alone for
// any text whose own prefix decides every comparison, with any search that finds the same
// entries. The counts behind that are kept in step by every change, in constant time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "table/KeyFilter.h"
#include "table/KeyPrefix.h"

class KeyPrefixList {
 public:
  size_t size() const { return m_values.size(); }
  bool empty() const { return m_values.empty(); }
  size_t capacity() const { return m_values.capacity(); }
  const uint64_t* data() const { return m_values.data(); }
  uint64_t operator[](size_t at) const { return m_values[at]; }
  void reserve(size_t count) { m_values.reserve(count); }
  void shrink_to_fit() { m_values.shrink_to_fit(); }
  void Release();

  void Insert(size_t at, uint64_t prefix);
  void Append(uint64_t prefix) { Insert(m_values.size(), prefix); }
  void Erase(size_t at);
  void Set(size_t at, uint64_t prefix);
  // For reordering and compacting in place; Recount() must follow before the next search (and
  // before any other change: the counts and the summary are made afresh there).
  uint64_t* MutableData() { return m_values.data(); }
  void Truncate(size_t count);
  void Recount();

  // Every prefix stands for its key and none is below the one before it. False from a bulk
  // add's first append until the sort that follows recounts.
  bool Rising() const { return m_bCounted && m_nFaults == 0; }
  // Rising, and every character held is a letter, a digit or an ideograph.
  bool RisingClean() const { return Rising() && m_nUnclean == 0; }

  // A summary of the keys' first two lanes (backward lists: last two characters), so that a
  // search can pass over a list none of whose keys can match its text before any comparison:
  // whether some key may begin with `first`, followed by `second` when that is above 0, or end
  // right after it when `second` is 0 (negative: followed by anything). Each lane given stands
  // for its character (KeyPrefix.h). A key whose first lanes stand for nothing may
  // begin with anything. The summary may answer yes for keys that are gone (an erased or
  // overwritten prefix leaves its marks until the next count afresh, which follows once as many
  // have gone as half the list), never no for a key that is there.
  bool MayBeginWith(unsigned first, int second) const;
  // Counts the summary afresh and tells whether the one kept so far covered it (for tests).
  bool SummaryCovers() const;

  // Tails: the next four characters of each key (keyprefix::TailOf), kept from a bulk add's
  // appends until its sort, which reads them instead of every record. Any other change drops
  // them, so that they never stand beside the wrong entries. Such appends leave the order
  // uncounted: the sort counts it once.
  void AppendForSort(uint64_t prefix, uint64_t tail);
  // How many listed entries have no tail yet: those listed before the bulk add began. 0 once
  // keeping tails failed for want of memory (the sort then goes without).
  size_t MissingTails() const;
  // For those entries, in list order; false when no more can be kept.
  bool CatchUpTail(uint64_t tail);
  // Room for `count` more appends for a sort, prefixes and tails; false when it cannot be had
  // (the appends then grow the lists as they go). `filtered`: the entries' keys are noted in a
  // KeyFilter too, until the sort, for the duplicate checks of the appends.
  bool ReserveForSort(size_t count, bool filtered = false);
  // False only when no listed key can equal a key of this forward prefix and tail: every entry
  // is noted in the filter and none of them is such a key.
  bool MayListEqual(uint64_t prefix, uint64_t tail) const {
    return !m_filter.Kept() || m_tails.size() != m_values.size() || m_filter.MayHold(prefix, tail);
  }
  // The tails beside every entry, or null.
  uint64_t* SortTails();
  void ReleaseTails();

 private:
  size_t FallAt(size_t at) const { return at > 0 && m_values[at - 1] > m_values[at] ? 1 : 0; }
  void Count(size_t at, int sign);
  void AddFall(size_t at, int sign);
  void InsertValue(size_t at, uint64_t prefix);
  bool PushTail(uint64_t tail);

  std::vector<uint64_t> m_values;
  bool m_bCounted = true;  // the counts below are those of m_values
  size_t m_nFaults = 0;    // prefixes that decide nothing, and falls between neighbours
  size_t m_nUnclean = 0;   // prefixes holding a character that is no letter, digit or ideograph
  std::vector<uint64_t> m_tails;
  bool m_bTailsRefused = false;
  KeyFilter m_filter;  // kept and dropped with the tails
  // The summary: first lanes by their low six bits, pairs of first and second lanes hashed to
  // 1024 bits, and whether a key's first (or, for the pairs, second) lane stands for nothing.
  struct Summary {
    uint64_t firsts = 0;
    uint64_t pairs[16] = {};
    bool openFirst = false;
    bool openSecond = false;
    void Add(uint64_t prefix);
    bool Covers(const Summary& other) const;
  };
  void Summarise();
  void NoteGone();
  Summary m_summary;
  size_t m_nGoneSinceSummary = 0;
};
