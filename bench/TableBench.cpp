// The store's single operations through IHotKeyManager on synthetic markets: adds, removals and
// replacements in a table of 30k and of 300k items. Start-up and single adds in sequence are in
// StartupBench.cpp, the memory per item in StoreMemory.cpp.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "BenchSupport.h"

namespace {

using bench::Manager;

const int kTableSize = 30000;
const int kExtraItems = 3000;

bool Remove(Manager& manager, const KeyboardItemInfo& item) {
  return manager->RemoveKeyboardItem(item.m_szCode, item.m_szHotKey, item.m_szName, &item.m_wType,
                                     &item.m_dwKind) == TRUE;
}

// A table of 30k (or the benchmark's argument) items and 3000 more that the single-operation
// benchmarks add and remove.
struct LoadedTable {
  Manager manager;
  std::vector<KeyboardItemInfo> base, extra;

  bool Load(int size = kTableSize) {
    const std::vector<KeyboardItemInfo>& market = bench::Market(size + kExtraItems);
    // Every eleventh item is kept back as an extra, so both sets mix all categories.
    for (size_t i = 0; i < market.size(); ++i)
      (i % 11 == 5 && extra.size() < static_cast<size_t>(kExtraItems) ? extra : base)
          .push_back(market[i]);
    std::vector<int> allCategories;
    return manager && manager->Initialize() &&
           manager->AddKeyboardItems(base.data(), static_cast<int>(base.size()), &allCategories,
                                     FALSE);
  }
};

// The store grows by 100 places at a time, copying every record; at 300k a growth costs about
// 100 ms. Grown once beforehand, the loop measures the add itself.
void BM_SingleAdd(benchmark::State& state) {
  LoadedTable table;
  if (!table.Load(static_cast<int>(state.range(0)))) return state.SkipWithError("load failed");
  for (KeyboardItemInfo& item : table.extra) table.manager->AddOneKeyboardItem(&item);
  for (const KeyboardItemInfo& item : table.extra) Remove(table.manager, item);
  size_t next = 0;
  for (auto _ : state) {
    if (next == table.extra.size()) {
      state.PauseTiming();
      for (const KeyboardItemInfo& item : table.extra) Remove(table.manager, item);
      next = 0;
      state.ResumeTiming();
    }
    table.manager->AddOneKeyboardItem(&table.extra[next++]);
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_SingleAdd)->Arg(kTableSize)->Arg(300000);

void BM_Remove(benchmark::State& state) {
  LoadedTable table;
  if (!table.Load(static_cast<int>(state.range(0)))) return state.SkipWithError("load failed");
  size_t next = table.extra.size();
  for (auto _ : state) {
    if (next == table.extra.size()) {
      state.PauseTiming();
      for (KeyboardItemInfo& item : table.extra) table.manager->AddOneKeyboardItem(&item);
      next = 0;
      state.ResumeTiming();
    }
    Remove(table.manager, table.extra[next++]);
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Remove)->Arg(kTableSize)->Arg(300000);

// Renames stored items back and forth; without a new object each replacement also packages the
// modified record.
void BM_Replace(benchmark::State& state) {
  LoadedTable table;
  if (!table.Load(static_cast<int>(state.range(0)))) return state.SkipWithError("load failed");
  const std::vector<KeyboardItemInfo>& items = table.base;
  std::vector<bool> renamed(items.size());
  const std::wstring suffix = L"新";
  size_t next = 0;
  for (auto _ : state) {
    const KeyboardItemInfo& item = items[next];
    const std::wstring original = item.m_szName;
    const std::wstring changed = original.substr(0, 31) + suffix;
    const std::wstring& from = renamed[next] ? changed : original;
    const std::wstring& to = renamed[next] ? original : changed;
    table.manager->ReplaceKeyboardItem(item.m_szCode, item.m_szHotKey, from.c_str(), &item.m_wType,
                                       &item.m_dwKind, nullptr, nullptr, to.c_str(), nullptr,
                                       nullptr, nullptr);
    renamed[next] = !renamed[next];
    next = (next + 1) % items.size();
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Replace)->Arg(kTableSize)->Arg(300000);

}  // namespace

int main(int argc, char** argv) { return bench::RunBenchmarks(argc, argv); }
