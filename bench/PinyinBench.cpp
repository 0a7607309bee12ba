// Pinyin keys at run time, as a terminal computes them for every security its feed brings: names
// per second for all the keys of a name, and for the initials alone. Names are those of the
// default items (real, with their polyphonic characters) and of a synthetic market of 30k items.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "services/Pinyin.h"
#include "tools/common/ItemsFile.h"
#include "tools/synth/SyntheticMarket.h"

namespace {

std::vector<std::wstring> DefaultItemNames() {
  std::vector<KeyboardItemInfo> items;
  ItemsFileError error;
  std::vector<std::wstring> names;
  if (LoadItemsFile(HKM_DEFAULT_ITEMS_FILE, &items, &error))
    for (const KeyboardItemInfo& item : items) names.push_back(item.m_szName);
  return names;
}

std::vector<std::wstring> SyntheticNames() {
  std::vector<std::wstring> names;
  for (const SynthItem& item : GenerateMarket(30000, 20240611)) names.push_back(item.name);
  return names;
}

const std::vector<std::wstring>& Names(int set) {
  static const std::vector<std::wstring> items = DefaultItemNames();
  static const std::vector<std::wstring> synthetic = SyntheticNames();
  return set == 0 ? items : synthetic;
}

void Label(benchmark::State& state, const std::vector<std::wstring>& names) {
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * names.size()));
  state.SetLabel(state.range(0) == 0 ? "default items" : "synthetic 30k");
}

void BM_PinyinKeys(benchmark::State& state) {
  const std::vector<std::wstring>& names = Names(static_cast<int>(state.range(0)));
  if (names.empty()) return state.SkipWithError("no names");
  PinyinKeys keys;
  for (auto _ : state) {
    for (const std::wstring& name : names) {
      ComputePinyinKeys(name.c_str(), &keys);
      benchmark::DoNotOptimize(keys);
    }
  }
  Label(state, names);
}
BENCHMARK(BM_PinyinKeys)->Arg(0)->Arg(1);

void BM_PinyinInitials(benchmark::State& state) {
  const std::vector<std::wstring>& names = Names(static_cast<int>(state.range(0)));
  if (names.empty()) return state.SkipWithError("no names");
  wchar_t initials[PINYIN_KEY_LENGTH + 1];
  for (auto _ : state) {
    for (const std::wstring& name : names) {
      ComputePinyinInitials(name.c_str(), initials, PINYIN_KEY_LENGTH + 1);
      benchmark::DoNotOptimize(initials);
    }
  }
  Label(state, names);
}
BENCHMARK(BM_PinyinInitials)->Arg(0)->Arg(1);

}  // namespace

BENCHMARK_MAIN();
