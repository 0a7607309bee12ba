#include "table/KeyPrefixList.h"

#include <algorithm>
#include <new>

namespace {

bool HoldsUnclean(uint64_t prefix) {
  for (int lane = 0; lane < keyprefix::kLanes; ++lane) {
    unsigned value = keyprefix::LaneOf(prefix, lane);
    if (value && !keyprefix::Clean(value)) return true;
  }
  return false;
}

}  // namespace

void KeyPrefixList::Release() {
  std::vector<uint64_t>().swap(m_values);
  ReleaseTails();
  m_bCounted = true;
  m_nFaults = m_nUnclean = 0;
  m_summary = Summary();
  m_nGoneSinceSummary = 0;
}

namespace {

// A lane that stands for its character, or 0 (ended or undecidable).
unsigned Standing(unsigned lane) { return lane == keyprefix::kUndecidable ? 0 : lane; }

unsigned PairBit(unsigned first, unsigned second) { return (first * 31 + second) & 1023; }

}  // namespace

void KeyPrefixList::Summary::Add(uint64_t prefix) {
  unsigned first = Standing(keyprefix::LaneOf(prefix, 0));
  if (!first) {
    openFirst = true;
    return;
  }
  firsts |= uint64_t(1) << (first & 63);
  unsigned second = keyprefix::LaneOf(prefix, 1);
  // A second lane of 0 marks a key that ends after one character. One that stands for nothing
  // may be followed by anything.
  if (second == keyprefix::kUndecidable) {
    openSecond = true;
  } else {
    unsigned bit = PairBit(first, second);
    pairs[bit / 64] |= uint64_t(1) << (bit % 64);
  }
}

bool KeyPrefixList::Summary::Covers(const Summary& other) const {
  if ((other.firsts & ~firsts) || (other.openFirst && !openFirst) ||
      (other.openSecond && !openSecond))
    return false;
  for (int i = 0; i < 16; ++i)
    if (other.pairs[i] & ~pairs[i]) return false;
  return true;
}

bool KeyPrefixList::MayBeginWith(unsigned first, int second) const {
  if (m_summary.openFirst) return true;
  if (!(m_summary.firsts >> (first & 63) & 1)) return false;
  if (second < 0 || m_summary.openSecond) return true;
  unsigned bit = PairBit(first, static_cast<unsigned>(second));
  return (m_summary.pairs[bit / 64] >> (bit % 64) & 1) != 0;
}

void KeyPrefixList::Summarise() {
  m_summary = Summary();
  m_nGoneSinceSummary = 0;
  for (uint64_t prefix : m_values) m_summary.Add(prefix);
}

// Marks of gone keys stay until the summary is made afresh, once as many keys have gone as half
// the list: a constant cost per change, spread.
void KeyPrefixList::NoteGone() {
  if (++m_nGoneSinceSummary > m_values.size() / 2 + 16) Summarise();
}

bool KeyPrefixList::SummaryCovers() const {
  Summary fresh;
  for (uint64_t prefix : m_values) fresh.Add(prefix);
  return m_summary.Covers(fresh);
}

void KeyPrefixList::AddFall(size_t at, int sign) {
  if (!m_bCounted) return;
  if (sign > 0)
    m_nFaults += FallAt(at);
  else
    m_nFaults -= FallAt(at);
}

// Adds (sign 1) or takes back (sign -1) what the prefix at `at` and its fall from the one
// before contribute to the counts.
void KeyPrefixList::Count(size_t at, int sign) {
  if (!m_bCounted) return;
  size_t faults = FallAt(at) + (keyprefix::HoldsUndecidable(m_values[at]) ? 1 : 0);
  size_t unclean = HoldsUnclean(m_values[at]) ? 1 : 0;
  if (sign > 0) {
    m_nFaults += faults;
    m_nUnclean += unclean;
  } else {
    m_nFaults -= faults;
    m_nUnclean -= unclean;
  }
}

void KeyPrefixList::Insert(size_t at, uint64_t prefix) {
  // Tails follow appends only.
  ReleaseTails();
  InsertValue(at, prefix);
}

void KeyPrefixList::InsertValue(size_t at, uint64_t prefix) {
  if (at > m_values.size()) at = m_values.size();
  // The fall into the entry that moves up is replaced by the falls around the new one.
  if (at < m_values.size()) AddFall(at, -1);
  m_values.insert(m_values.begin() + static_cast<ptrdiff_t>(at), prefix);
  m_summary.Add(prefix);
  Count(at, 1);
  if (at + 1 < m_values.size()) AddFall(at + 1, 1);
}

void KeyPrefixList::AppendForSort(uint64_t prefix, uint64_t tail) {
  if (m_tails.size() == m_values.size() && PushTail(tail)) m_filter.Note(prefix, tail);
  m_values.push_back(prefix);
  m_summary.Add(prefix);
  m_bCounted = false;
}

bool KeyPrefixList::CatchUpTail(uint64_t tail) {
  if (m_tails.size() >= m_values.size()) return false;
  const uint64_t prefix = m_values[m_tails.size()];
  if (!PushTail(tail)) return false;
  m_filter.Note(prefix, tail);
  return true;
}

bool KeyPrefixList::ReserveForSort(size_t count, bool filtered) {
  try {
    m_values.reserve(m_values.size() + count);
    if (!m_bTailsRefused) m_tails.reserve(m_values.size() + count);
  } catch (const std::bad_alloc&) {
    return false;
  }
  // Short of memory the duplicate checks search, as without a filter.
  if (filtered && m_tails.empty() && !m_filter.Kept()) m_filter.Reserve(m_values.size() + count);
  return true;
}

bool KeyPrefixList::PushTail(uint64_t tail) {
  if (m_bTailsRefused) return false;
  try {
    m_tails.push_back(tail);
  } catch (const std::bad_alloc&) {
    std::vector<uint64_t>().swap(m_tails);
    m_bTailsRefused = true;
    return false;
  }
  return true;
}

void KeyPrefixList::Erase(size_t at) {
  if (at >= m_values.size()) return;
  ReleaseTails();
  Count(at, -1);
  if (at + 1 < m_values.size()) AddFall(at + 1, -1);
  m_values.erase(m_values.begin() + static_cast<ptrdiff_t>(at));
  if (at < m_values.size()) AddFall(at, 1);
  NoteGone();
}

void KeyPrefixList::Set(size_t at, uint64_t prefix) {
  if (at >= m_values.size()) return;
  ReleaseTails();
  Count(at, -1);
  if (at + 1 < m_values.size()) AddFall(at + 1, -1);
  m_values[at] = prefix;
  m_summary.Add(prefix);
  Count(at, 1);
  if (at + 1 < m_values.size()) AddFall(at + 1, 1);
  NoteGone();
}

void KeyPrefixList::Recount() {
  m_bCounted = true;
  m_nFaults = m_nUnclean = 0;
  for (size_t at = 0; at < m_values.size(); ++at) Count(at, 1);
  Summarise();
}

void KeyPrefixList::Truncate(size_t count) {
  ReleaseTails();
  if (count < m_values.size()) m_values.resize(count);
}

size_t KeyPrefixList::MissingTails() const {
  if (m_bTailsRefused || m_tails.size() > m_values.size()) return 0;
  return m_values.size() - m_tails.size();
}

uint64_t* KeyPrefixList::SortTails() {
  return !m_tails.empty() && m_tails.size() == m_values.size() ? m_tails.data() : nullptr;
}

void KeyPrefixList::ReleaseTails() {
  std::vector<uint64_t>().swap(m_tails);
  m_bTailsRefused = false;
  m_filter.Release();
}
