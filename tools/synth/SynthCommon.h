// What the parts of the synthetic market generator share: the seeded random numbers, the
// scattering permutation, splits by weight, digit texts, and the record of items already made.
// Everything here is fixed arithmetic, so a seed gives the same market on every platform.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_set>
#include <vector>

#include "tools/synth/SyntheticMarket.h"

namespace synth {

// splitmix64: fixed arithmetic, so a seed gives the same market on every platform (the standard
// distributions are implementation-defined).
class Rng {
 public:
  explicit Rng(uint64_t seed) : m_uState(seed) {}

  uint64_t Next() {
    uint64_t z = (m_uState += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }

  // Uniform enough in [0, n), n > 0.
  uint32_t Below(uint32_t n) { return static_cast<uint32_t>(((Next() >> 32) * n) >> 32); }

  uint32_t Between(uint32_t low, uint32_t high) { return low + Below(high - low + 1); }

  // Index into weights (their sum must be positive).
  size_t Pick(const uint32_t* weights, size_t count) {
    uint32_t total = 0;
    for (size_t i = 0; i < count; ++i) total += weights[i];
    uint32_t r = Below(total);
    for (size_t i = 0; i < count; ++i) {
      if (r < weights[i]) return i;
      r -= weights[i];
    }
    return count - 1;
  }

 private:
  uint64_t m_uState;
};

// A bijection on [0, size) that scatters consecutive indexes: x -> (a x + b) mod size.
class Permutation {
 public:
  Permutation(uint64_t size, Rng& rng);
  uint64_t operator()(uint64_t x) const { return (m_uMul * (x % m_uSize) + m_uAdd) % m_uSize; }

 private:
  uint64_t m_uSize;
  uint64_t m_uMul = 1;
  uint64_t m_uAdd = 0;
};

// Splits total into parts proportional to weights, exactly.
std::vector<size_t> Apportion(size_t total, const std::vector<uint32_t>& weights);

// value in width decimal digits, leading zeros kept.
std::wstring Digits(uint64_t value, int width);
uint64_t Power(uint64_t base, int exponent);

// 64-bit FNV-1a over characters: a fixed function, unlike std::hash, so which items count as
// seen never depends on the platform. A collision only renames an item or skips a code.
class KeyHash {
 public:
  KeyHash& Add(uint32_t value) {
    for (int i = 0; i < 4; ++i, value >>= 8)
      m_uHash = (m_uHash ^ (value & 0xFF)) * 0x100000001B3ull;
    return *this;
  }
  KeyHash& Add(const std::wstring& text, bool upper = false) {
    for (wchar_t ch : text) {
      if (upper && ch >= L'a' && ch <= L'z') ch = static_cast<wchar_t>(ch - L'a' + L'A');
      Add(static_cast<uint32_t>(ch));
    }
    return Add(0xFFFFFFFFu);
  }
  uint64_t Value() const { return m_uHash; }

 private:
  uint64_t m_uHash = 0xCBF29CE484222325ull;
};

struct IdentityHash {
  size_t operator()(uint64_t h) const { return static_cast<size_t>(h ^ (h >> 32)); }
};
using HashSet = std::unordered_set<uint64_t, IdentityHash>;

// Keeps items that the table's duplicate check would take for the same apart: a repeated
// (category, code, hot key, name) gets a numbered name.
class DistinctItems {
 public:
  explicit DistinctItems(size_t expected) { m_seen.reserve(expected * 2); }

  void Add(std::vector<SynthItem>* items, SynthItem item, int category);

 private:
  HashSet m_seen;
};

}  // namespace synth
