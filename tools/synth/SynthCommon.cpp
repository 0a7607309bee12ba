// The shared arithmetic of the synthetic market generator.
#include "tools/synth/SynthCommon.h"

#include <utility>

namespace synth {

namespace {

uint64_t Gcd(uint64_t a, uint64_t b) {
  while (b) {
    uint64_t t = a % b;
    a = b;
    b = t;
  }
  return a;
}

}  // namespace

Permutation::Permutation(uint64_t size, Rng& rng) : m_uSize(size ? size : 1) {
  m_uMul = (rng.Next() % m_uSize) | 1;
  while (Gcd(m_uMul, m_uSize) != 1) m_uMul = (m_uMul + 2) % m_uSize;
  if (m_uMul == 0) m_uMul = 1;
  m_uAdd = rng.Next() % m_uSize;
}

std::vector<size_t> Apportion(size_t total, const std::vector<uint32_t>& weights) {
  uint64_t sum = 0;
  for (uint32_t w : weights) sum += w;
  std::vector<size_t> out(weights.size(), 0);
  uint64_t cumulative = 0;
  size_t given = 0;
  for (size_t i = 0; i < weights.size(); ++i) {
    cumulative += weights[i];
    size_t upto = sum ? static_cast<size_t>(total * cumulative / sum) : 0;
    out[i] = upto - given;
    given = upto;
  }
  return out;
}

std::wstring Digits(uint64_t value, int width) {
  std::wstring out(static_cast<size_t>(width), L'0');
  for (int i = width - 1; i >= 0; --i, value /= 10)
    out[static_cast<size_t>(i)] = static_cast<wchar_t>(L'0' + value % 10);
  return out;
}

uint64_t Power(uint64_t base, int exponent) {
  uint64_t out = 1;
  while (exponent-- > 0) out *= base;
  return out;
}

void DistinctItems::Add(std::vector<SynthItem>* items, SynthItem item, int category) {
  KeyHash codeKey;
  codeKey.Add(static_cast<uint32_t>(category)).Add(item.code, true);
  std::wstring name = item.name;
  std::wstring hotkey = item.hotkey;
  for (unsigned n = 2;
       !m_seen.insert(KeyHash(codeKey).Add(item.hotkey).Add(item.name).Value()).second; ++n) {
    item.name = name + L"-" + std::to_wstring(n);
    item.hotkey = hotkey + std::to_wstring(n);
  }
  items->push_back(std::move(item));
}

}  // namespace synth
