// Start-up as a terminal goes through it: Initialize, then every item in one bulk add, through
// IHotKeyManager; and the same items registered one at a time instead, each a single add.
//
// A bulk add waits for its six sort workers, so no bulk add takes less than that wait however few
// its items: BM_Startup/100 shows that floor.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <vector>

#include "BenchSupport.h"

namespace {

using bench::Manager;
using bench::Market;

KeyboardItemInfo* Records(const std::vector<KeyboardItemInfo>& items) {
  // The manager takes the terminal's array as it is declared; it copies from it only.
  return const_cast<KeyboardItemInfo*>(items.data());
}

void BM_Startup(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  const std::vector<KeyboardItemInfo>& items = Market(count);
  std::vector<int> allCategories;
  Manager manager;
  for (auto _ : state) {
    state.PauseTiming();
    manager->Uninitialize();  // the previous run's table goes outside the measurement
    state.ResumeTiming();
    if (!manager->Initialize() ||
        !manager->AddKeyboardItems(Records(items), count, &allCategories, FALSE)) {
      state.SkipWithError("start-up refused");
      break;
    }
  }
  state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_Startup)
    ->Arg(100)
    ->Arg(30000)
    ->Arg(300000)
    ->Arg(1000000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The same with the previous run's memory kept in the process (glibc keeps freed blocks instead
// of unmapping them), so that the store is built in pages touched before: what is left is the
// component's own work. On the virtual machines the figures were taken on, the first touch of a
// page costs about 35 us, about a second for the 110 MB record array of 300k items.
void BM_StartupInTouchedMemory(benchmark::State& state) {
  mallopt(M_MMAP_THRESHOLD, 1 << 30);
  mallopt(M_TRIM_THRESHOLD, -1);
  BM_Startup(state);
  mallopt(M_MMAP_THRESHOLD, 128 * 1024);
  mallopt(M_TRIM_THRESHOLD, 128 * 1024);
}
BENCHMARK(BM_StartupInTouchedMemory)
    ->Arg(30000)
    ->Arg(300000)
    ->Arg(1000000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// Every item by itself, each keeping the lists in order, into a table fresh from Initialize.
void BM_SingleAddsInSequence(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  const std::vector<KeyboardItemInfo>& items = Market(count);
  Manager manager;
  for (auto _ : state) {
    state.PauseTiming();
    manager->Uninitialize();
    state.ResumeTiming();
    manager->Initialize();
    for (int i = 0; i < count; ++i) manager->AddOneKeyboardItem(Records(items) + i);
  }
  state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_SingleAddsInSequence)
    ->Arg(30000)
    ->Arg(60000)
    ->Arg(300000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

}  // namespace

int main(int argc, char** argv) { return bench::RunBenchmarks(argc, argv); }
