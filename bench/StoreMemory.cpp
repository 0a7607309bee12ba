// store_memory [COUNT...]: what the store holds per registered item after start-up (Initialize and
// one bulk add through IHotKeyManager) of synthetic markets of 30k, 300k and 1M items, or of the
// counts given. Every allocation of the process is counted, so the heap figures include what the
// table's own accounting might miss; the peak is the most the process held during the bulk add.
#include <malloc.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <string>
#include <vector>

#include "BenchSupport.h"

namespace {

std::atomic<long long> g_inUse{0}, g_peak{0};

void* Counted(size_t size) {
  void* p = malloc(size ? size : 1);
  if (!p) return nullptr;
  long long now = g_inUse += static_cast<long long>(malloc_usable_size(p));
  long long peak = g_peak.load();
  while (now > peak && !g_peak.compare_exchange_weak(peak, now)) {
  }
  return p;
}

void Uncounted(void* p) {
  if (!p) return;
  g_inUse -= static_cast<long long>(malloc_usable_size(p));
  free(p);
}

}  // namespace

void* operator new(size_t size) {
  void* p = Counted(size);
  if (!p) throw std::bad_alloc();
  return p;
}
void* operator new[](size_t size) {
  void* p = Counted(size);
  if (!p) throw std::bad_alloc();
  return p;
}
void* operator new(size_t size, const std::nothrow_t&) noexcept { return Counted(size); }
void* operator new[](size_t size, const std::nothrow_t&) noexcept { return Counted(size); }
void operator delete(void* p) noexcept { Uncounted(p); }
void operator delete[](void* p) noexcept { Uncounted(p); }
void operator delete(void* p, size_t) noexcept { Uncounted(p); }
void operator delete[](void* p, size_t) noexcept { Uncounted(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { Uncounted(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { Uncounted(p); }

namespace {

// A std::set or std::multimap node: the tree's links and colour, the value, rounded by malloc.
const double kTreeNodeBytes = 48;

struct Breakdown {
  double records = 0, slots = 0, hitFlags = 0, lists = 0, prefixes = 0, hitPositions = 0,
         numericMap = 0, freeSets = 0;
  double BeyondRecords() const {
    return slots + hitFlags + lists + prefixes + hitPositions + numericMap + freeSets;
  }
};

Breakdown Measure(const KeyboardInputMappingTable& table) {
  Breakdown b;
  b.records = static_cast<double>(table.m_nRoom) * sizeof(KeyboardItemInfo);
  b.slots = 3.0 * table.m_nRoom * sizeof(KeySlot);
  b.hitFlags = table.m_nRoom;
  for (const auto& group : table.m_arrIndex)
    for (const auto& list : group) b.lists += static_cast<double>(list.capacity() * sizeof(int));
  for (const auto& group : table.m_arrKeyPrefix)
    for (const auto& prefixes : group)
      b.prefixes += static_cast<double>(prefixes.capacity() * sizeof(uint64_t));
  b.hitPositions = static_cast<double>(table.m_vecHitPositions.capacity() * sizeof(int));
  b.numericMap = static_cast<double>(table.m_mapNumericKeys.size()) * kTreeNodeBytes;
  b.freeSets = static_cast<double>(table.m_setFreeItems.size() + table.m_setFreeSlots.size()) *
               kTreeNodeBytes;
  return b;
}

void Report(int count) {
  const std::vector<KeyboardItemInfo>& items = bench::Market(count);
  std::vector<int> allCategories;
  bench::Manager manager;
  if (!manager) return;
  const long long before = g_inUse.load();
  g_peak = before;
  bool loaded = manager->Initialize() &&
                manager->AddKeyboardItems(const_cast<KeyboardItemInfo*>(items.data()), count,
                                          &allCategories, FALSE);
  const long long after = g_inUse.load(), peak = g_peak.load();
  if (!loaded) {
    fprintf(stderr, "store_memory: start-up with %d items refused\n", count);
    return;
  }
  const Breakdown b = Measure(*manager.Table());
  // The caller's result vector after one search, as the pop-up keeps it between keystrokes.
  std::vector<KeyboardItemInfo> results;
  manager->SearchKeyboardItems(L"6", &results, false);
  const double resultBytes = static_cast<double>(results.capacity() * sizeof(KeyboardItemInfo));

  const double n = count;
  auto line = [&](const char* what, double bytes) {
    fprintf(stderr, "  %-34s %9.1f\n", what, bytes / n);
  };
  fprintf(stderr, "%d items (record %zu bytes), bytes per item:\n", count,
          sizeof(KeyboardItemInfo));
  line("record array", b.records);
  line("slot table", b.slots);
  line("hit flags", b.hitFlags);
  line("index lists", b.lists);
  line("key prefixes", b.prefixes);
  line("noted hit positions", b.hitPositions);
  line("numeric command map", b.numericMap);
  line("free position and slot sets", b.freeSets);
  line("beyond the records, by structure", b.BeyondRecords());
  line("heap in use beyond the records", static_cast<double>(after - before) - b.records);
  line("heap peak during start-up", static_cast<double>(peak - before));
  line("result vector after one search", resultBytes);
  manager->Uninitialize();
}

}  // namespace

int main(int argc, char** argv) {
  // The table announces its clearings on standard output: the report goes to standard error.
  if (!freopen("/dev/null", "w", stdout)) return 1;
  bench::BenchHost host;
  std::vector<int> counts;
  for (int i = 1; i < argc; ++i) counts.push_back(atoi(argv[i]));
  if (counts.empty()) counts = {30000, 300000, 1000000};
  for (int count : counts)
    if (count > 0) Report(count);
  return 0;
}
