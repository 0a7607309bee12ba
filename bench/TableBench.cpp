// The store's speed through IHotKeyManager on synthetic markets: bulk adds into a fresh table,
// and single adds, removals and replacements in a table of 30k items.
//
// A bulk add waits for its six sort workers by polling every 10 ms, so no bulk add takes less
// than about 10 ms however few its items: BM_BulkAdd/100 shows that floor.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>
#include <ext/stdio_filebuf.h>

#include <cstdio>
#include <iostream>
#include <map>
#include <string>
#include <vector>

#include "frame/HotKeyManager.h"
#include "frame/RefPtr.h"
#include "services/SecurityMaster.h"
#include "services/TerminalEnv.h"
#include "table/MappingTable.h"
#include "tools/synth/SyntheticMarket.h"

namespace {

const uint32_t kSeed = 20240611;
const int kTableSize = 30000;
const int kExtraItems = 3000;

// The host's environment, installed for the whole run.
class BenchHost {
 public:
  BenchHost() : m_env(new CTerminalEnv), m_master(new CSecurityMaster) {
    m_env->SetDataMgr(m_master.get());
    CGlobalEnv::SetGlobalEnv(m_env.get());
  }
  ~BenchHost() {
    CGlobalEnv::SetGlobalEnv(nullptr);
    m_env->SetDataMgr(nullptr);
  }

 private:
  TRefPtr<CTerminalEnv> m_env;
  TRefPtr<CSecurityMaster> m_master;
};

KeyboardItemInfo ToRecord(const SynthItem& item) {
  KeyboardItemInfo record(item.code.c_str(), item.hotkey.c_str(), item.name.c_str(), item.type,
                          item.extra, nullptr, item.kind, KEYBOARD_SELECT_NONE);
  record.m_cMarket = item.market;
  return record;
}

// A market of that many items, generated once per size.
const std::vector<KeyboardItemInfo>& Market(int count) {
  static std::map<int, std::vector<KeyboardItemInfo>> markets;
  std::vector<KeyboardItemInfo>& records = markets[count];
  if (records.empty())
    for (const SynthItem& item : GenerateMarket(static_cast<size_t>(count), kSeed))
      records.push_back(ToRecord(item));
  return records;
}

class Manager {
 public:
  Manager() {
    IUnknown* unknown = nullptr;
    if (GetClassObject(&unknown, HOTKEY_MANAGER_CLSID) == S_OK)
      m_pManager = static_cast<IHotKeyManager*>(unknown);
  }
  ~Manager() {
    if (!m_pManager) return;
    m_pManager->Uninitialize();
    m_pManager->Release();
  }
  IHotKeyManager* operator->() const { return m_pManager; }
  explicit operator bool() const { return m_pManager != nullptr; }
  KeyboardInputMappingTable* Table() const {
    return static_cast<CHotKeyManager*>(m_pManager)->MappingTable();
  }

 private:
  IHotKeyManager* m_pManager = nullptr;
};

// Bytes the search's additions hold beside the store: the key prefixes and the noted hit
// positions.
double AuxiliaryBytes(const KeyboardInputMappingTable& table) {
  double bytes = static_cast<double>(table.m_vecHitPositions.capacity() * sizeof(int));
  for (const auto& group : table.m_arrKeyPrefix)
    for (const auto& prefixes : group)
      bytes += static_cast<double>(prefixes.capacity() * sizeof(uint64_t));
  return bytes;
}

// Bytes held by the store: records, slots, hit flags, index entries and map nodes.
double StoreBytes(const KeyboardInputMappingTable& table) {
  double bytes =
      static_cast<double>(table.m_nCapacity) * (sizeof(KeyboardItemInfo) + 3 * sizeof(KeySlot) + 1);
  for (const auto& group : table.m_arrIndex)
    for (const auto& list : group) bytes += static_cast<double>(list.capacity() * sizeof(int));
  bytes += static_cast<double>(table.m_mapNumericKeys.size()) * 48;
  return bytes;
}

bool Remove(Manager& manager, const KeyboardItemInfo& item) {
  return manager->RemoveKeyboardItem(item.m_szCode, item.m_szHotKey, item.m_szName, &item.m_wType,
                                     &item.m_dwKind) == TRUE;
}

void BM_BulkAdd(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  std::vector<KeyboardItemInfo> items = Market(count);
  std::vector<int> allCategories;
  Manager manager;
  double bytes = 0, auxiliary = 0;
  for (auto _ : state) {
    state.PauseTiming();
    manager->Initialize();  // a fresh table; the previous one is destroyed here
    state.ResumeTiming();
    if (!manager->AddKeyboardItems(items.data(), count, &allCategories, FALSE)) {
      state.SkipWithError("bulk add refused");
      break;
    }
    state.PauseTiming();
    bytes = StoreBytes(*manager.Table());
    auxiliary = AuxiliaryBytes(*manager.Table());
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * count);
  state.counters["store_MiB"] = bytes / (1024.0 * 1024.0);
  state.counters["aux_B_per_item"] = auxiliary / count;
}
BENCHMARK(BM_BulkAdd)
    ->Arg(100)
    ->Arg(8000)
    ->Arg(30000)
    ->Arg(300000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// A table of 30k (or the benchmark's argument) items and 3000 more that the single-operation
// benchmarks add and remove.
struct LoadedTable {
  Manager manager;
  std::vector<KeyboardItemInfo> base, extra;

  bool Load(int size = kTableSize) {
    const std::vector<KeyboardItemInfo>& market = Market(size + kExtraItems);
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

// The table announces every clearing on standard output; the report goes to the original
// standard output and the announcements to /dev/null.
int main(int argc, char** argv) {
  fflush(stdout);
  const int reportFd = dup(STDOUT_FILENO);
  const int quiet = open("/dev/null", O_WRONLY);
  if (reportFd < 0 || quiet < 0) return 1;
  dup2(quiet, STDOUT_FILENO);
  close(quiet);
  __gnu_cxx::stdio_filebuf<char> reportBuffer(reportFd, std::ios::out);
  std::ostream report(&reportBuffer);

  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  BenchHost host;
  benchmark::ConsoleReporter reporter(isatty(reportFd) ? benchmark::ConsoleReporter::OO_Defaults
                                                       : benchmark::ConsoleReporter::OO_Tabular);
  reporter.SetOutputStream(&report);
  reporter.SetErrorStream(&std::cerr);
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  report.flush();
  return 0;
}
