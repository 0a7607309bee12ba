// CompareKey and ClassifyKey on arbitrary wide texts: no crash or overflow; the whole modes order
// texts consistently (swapping the two flips the sign); a text equals itself, begins with its own
// beginning and ends with its own ending; every comparison the key prefixes and tails decide
// agrees with the comparison of the keys, and a text said to decide alone does; the key classes
// are what the characters say.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz/FuzzInput.h"
#include "table/KeyPrefix.h"
#include "table/MappingTable.h"

namespace {

int Sign(int value) { return (value > 0) - (value < 0); }

void Check(bool ok) {
  if (!ok) abort();
}

int ExpectedClass(const std::wstring& text) {
  if (text.empty()) return -1;
  auto classOf = [](wchar_t c) {
    return c >= L'0' && c <= L'9' ? 0 : c >= L'A' && c <= L'Z' ? 1 : 2;
  };
  int cls = classOf(text[0]);
  for (wchar_t c : text)
    if (classOf(c) != cls) return 2;
  return cls;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzInput input(data, size);
  const std::wstring a = input.Text(40), b = input.Text(40);
  Check(ClassifyKey(a.c_str()) == ExpectedClass(a) && ClassifyKey(b.c_str()) == ExpectedClass(b));
  Check(ClassifyKey(nullptr) == -1);
  // From the end, spaces of the stored text are skipped before those of the other one, so a
  // leading space of the other text is left over when the stored one runs out: with one on
  // either side, the order from the end is not antisymmetric and a text may not end with itself.
  const bool leadingSpace = (!a.empty() && a[0] == L' ') || (!b.empty() && b[0] == L' ');
  for (int m = 0; m < 4; ++m) {
    const KeyCompareMode mode = {static_cast<unsigned char>(m / 2),
                                 static_cast<unsigned char>(m % 2)};
    const int ab = Sign(CompareKey(&mode, a.c_str(), b.c_str()));
    if (a.empty() || b.empty()) {
      Check(ab == -1);
      continue;
    }
    // Whole comparisons order the index lists: swapping the texts flips the answer.
    if (!mode.m_bPrefix && (!mode.m_bBackward || !leadingSpace))
      Check(ab == -Sign(CompareKey(&mode, b.c_str(), a.c_str())));
    if (!mode.m_bBackward || a[0] != L' ') Check(CompareKey(&mode, a.c_str(), a.c_str()) == 0);

    keyprefix::Probe probe;
    probe.Prepare(b.c_str(), mode.m_bBackward);
    const int decided =
        probe.DecideAgainst(keyprefix::Of(a.c_str(), mode.m_bBackward), mode.m_bPrefix);
    Check(decided == keyprefix::kUndecided || decided == ab);
    const uint64_t pa = keyprefix::Of(a.c_str(), mode.m_bBackward);
    // A list whose prefixes rise and stand for their keys (forward whole: over letters, digits
    // and ideographs) is searched by prefixes alone for a text that decides alone: each entry
    // then compares as its prefix lies below, within or above the text's run.
    const uint64_t ones = 0x0001000100010001ull, highs = 0x8000800080008000ull;
    const bool standsForKey = !((~pa - ones) & pa & highs);
    const int lanes = probe.DecidingLanes();
    if (lanes && standsForKey && (mode.m_bBackward || mode.m_bPrefix || keyprefix::AllClean(pa)) &&
        !(lanes == keyprefix::kLanes && pa == probe.packed)) {
      uint64_t high = probe.packed;
      if (lanes < keyprefix::kLanes && mode.m_bPrefix)
        high |= (static_cast<uint64_t>(1) << (16 * (keyprefix::kLanes - lanes))) - 1;
      Check(ab == (pa < probe.packed ? -1 : pa > high ? 1 : 0));
    }
    if (!mode.m_bPrefix) {
      const uint64_t pb = keyprefix::Of(b.c_str(), mode.m_bBackward);
      const int sorted = keyprefix::Decide(pa, pb, mode.m_bBackward);
      Check(sorted == 0 || sorted == ab);
      // Past equal full prefixes the sort reads the next four characters.
      if (pa == pb && keyprefix::Full(pa)) {
        const int byTails =
            keyprefix::Decide(keyprefix::TailOf(a.c_str(), mode.m_bBackward),
                              keyprefix::TailOf(b.c_str(), mode.m_bBackward), mode.m_bBackward, pa);
        Check(byTails == 0 || byTails == ab);
      }
    }
  }
  if (a.empty() || b.empty()) return 0;
  Check(CompareKey(&MODE_FORWARD_PREFIX, (a + b).c_str(), a.c_str()) == 0);
  if (b[0] != L' ') Check(CompareKey(&MODE_BACKWARD_SUFFIX, (a + b).c_str(), b.c_str()) == 0);
  return 0;
}
