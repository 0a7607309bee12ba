#include "table/KeyFilter.h"

#include <new>

#include "table/KeyPrefix.h"

namespace {

// Sixteen bits a key and two of them set: about one key in seventy that is not listed still
// answers "may".
const size_t kBitsPerKey = 16;

uint64_t Mix(uint64_t value) {
  value ^= value >> 30;
  value *= 0xBF58476D1CE4E5B9ull;
  value ^= value >> 27;
  value *= 0x94D049BB133111EBull;
  return value ^ (value >> 31);
}

}  // namespace

bool KeyFilter::Reserve(size_t count) {
  size_t bits = 64;
  while (bits < count * kBitsPerKey) bits *= 2;
  try {
    m_bits.assign(bits / 64, 0);
  } catch (const std::bad_alloc&) {
    Release();
    return false;
  }
  m_mask = bits - 1;
  m_bOpen = false;
  return true;
}

void KeyFilter::Release() {
  std::vector<uint64_t>().swap(m_bits);
  m_mask = 0;
  m_bOpen = false;
}

bool KeyFilter::StandsForItself(uint64_t prefix, uint64_t tail) {
  return !keyprefix::HoldsUndecidable(prefix) && !keyprefix::HoldsUndecidable(tail);
}

void KeyFilter::Positions(uint64_t prefix, uint64_t tail, size_t* first, size_t* second) const {
  // Keys differ in few bits, often only high in one of the two words: both are mixed whole.
  uint64_t hash = Mix(prefix ^ Mix(tail));
  *first = static_cast<size_t>(hash) & m_mask;
  *second = static_cast<size_t>(hash >> 32) & m_mask;
}

void KeyFilter::Note(uint64_t prefix, uint64_t tail) {
  if (m_bits.empty()) return;
  if (!StandsForItself(prefix, tail)) {
    m_bOpen = true;
    return;
  }
  size_t first, second;
  Positions(prefix, tail, &first, &second);
  m_bits[first / 64] |= uint64_t(1) << (first % 64);
  m_bits[second / 64] |= uint64_t(1) << (second % 64);
}

bool KeyFilter::MayHold(uint64_t prefix, uint64_t tail) const {
  if (m_bits.empty() || m_bOpen || !StandsForItself(prefix, tail)) return true;
  size_t first, second;
  Positions(prefix, tail, &first, &second);
  return (m_bits[first / 64] >> (first % 64) & 1) && (m_bits[second / 64] >> (second % 64) & 1);
}
