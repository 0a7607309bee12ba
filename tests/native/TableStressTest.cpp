// Several threads drive one manager through IHotKeyManager at once: single and bulk adds,
// removals, replacements, market drops, rebuilds and searches. Now and then a thread takes the
// table lock and checks the store; when all have finished the store is checked again.
//
// Identities stay unique, so that every removal finds exactly its record: bulk adds bring ids
// that no thread used before, replacements give names that no record had, and single adds and
// removals share one pool whose records the duplicate check keeps single.
#include <gtest/gtest.h>

#include <algorithm>
#include <mutex>
#include <random>
#include <thread>

#include "support/CountingUnknown.h"
#include "support/TableFixture.h"

namespace {

const int kThreads = 4, kIterations = 1200, kPhases = 2;

struct StressRun {
  IHotKeyManager* manager = nullptr;
  KeyboardInputMappingTable* table = nullptr;
  std::vector<KeyboardItemInfo> pool;
  UnknownCounters counters;
  std::atomic<int> objectsMade{0}, renames{0}, searchHits{0}, checks{0};
  std::mutex mutex;
  std::string failures;

  // Locks only on a failure: the test adds no ordering between the threads of its own.
  void Expect(bool ok, const std::string& what) {
    if (ok) return;
    std::lock_guard<std::mutex> lock(mutex);
    if (failures.size() < 2000) failures += what + "\n";
  }
};

void Search(StressRun& run, std::mt19937& random, const KeyboardItemInfo& item) {
  const wchar_t* key = random() % 2 ? item.m_szCode : item.m_szHotKey;
  const std::wstring text(key, 1 + random() % std::max<size_t>(wcslen(key), 1));
  std::vector<KeyboardItemInfo> results;
  std::vector<int> filter;
  if (random() % 2) filter.push_back(CategoryOfRecord(item));
  run.Expect(random() % 2
                 ? run.manager->SearchKeyboardItems(text.c_str(), &results, random() % 2 == 0)
                 : run.manager->SearchKeyboardItemsEx(text.c_str(), &results, &filter),
             "search refused");
  run.Expect(results.size() <= 100, "more than 100 results");
  run.searchHits += !results.empty();
}

void BulkAdd(StressRun& run, std::mt19937& random, int* nextId) {
  const int count = 8 + static_cast<int>(random() % 25);
  std::vector<KeyboardItemInfo> batch = MarketSecurities(count, *nextId);
  const std::vector<KeyboardItemInfo> commands = MarketCommands(count / 4, *nextId);
  batch.insert(batch.end(), commands.begin(), commands.end());
  *nextId += count;
  // Either every list is sorted, or exactly the categories that receive records.
  std::vector<int> categories;
  if (random() % 2)
    for (const KeyboardItemInfo& item : batch) categories.push_back(CategoryOfRecord(item));
  run.Expect(run.manager->AddKeyboardItems(batch.data(), int(batch.size()), &categories,
                                           random() % 3 == 0 ? TRUE : FALSE),
             "bulk add refused");
}

void Replace(StressRun& run, std::mt19937& random, const KeyboardItemInfo& item) {
  const std::wstring name = L"改名" + std::to_wstring(run.renames++);
  TRefPtr<CCountingUnknown> object(random() % 2 ? new CCountingUnknown(&run.counters) : nullptr);
  run.objectsMade += object ? 1 : 0;
  const int extra = static_cast<int>(random() % 1000);
  run.Expect(run.manager->ReplaceKeyboardItem(item.m_szCode, item.m_szHotKey, item.m_szName,
                                              &item.m_wType, &item.m_dwKind, nullptr, nullptr,
                                              name.c_str(), &extra, object.get(), nullptr),
             "replace refused");
}

void Drive(StressRun& run, int thread, int phase) {
  std::mt19937 random(static_cast<unsigned>(1000 * phase + thread + 1));
  int nextId = 1000000 * (kThreads * phase + thread + 1);
  for (int i = 0; i < kIterations; ++i) {
    KeyboardItemInfo item = run.pool[random() % run.pool.size()];
    const int op = static_cast<int>(random() % 100);
    if (op < 28 || op >= 96) {
      run.Expect(run.manager->AddOneKeyboardItem(&item), "single add refused");
    } else if (op < 48) {
      run.Expect(run.manager->RemoveKeyboardItem(item.m_szCode, item.m_szHotKey, item.m_szName,
                                                 &item.m_wType, &item.m_dwKind),
                 "removal refused");
    } else if (op < 58) {
      Replace(run, random, item);
    } else if (op < 89) {
      Search(run, random, item);
    } else if (op < 92) {
      BulkAdd(run, random, &nextId);
    } else if (op < 94) {
      run.Expect(run.manager->RemoveMarket(static_cast<int>(random() % 5)), "market refused");
    } else if (thread == 0) {
      run.manager->RetainCommandItems();  // 0 only when no command is left
    } else if (run.table->Lock()) {
      const std::string violations = StoreViolations(*run.table);
      run.table->Unlock();
      ++run.checks;
      run.Expect(violations.empty(), "during the run:\n" + violations);
    } else {
      run.Expect(false, "checker could not take the lock");
    }
  }
}

TEST(TableStress, ConcurrentOperationsThroughTheInterfaceKeepTheStoreConsistent) {
  TableHost host;
  StressRun run;
  run.pool = MarketSecurities(320);
  const std::vector<KeyboardItemInfo> commands = MarketCommands(60);
  run.pool.insert(run.pool.end(), commands.begin(), commands.end());
  {
    ManagerScope manager;
    for (int phase = 0; phase < kPhases; ++phase) {
      // Between phases, with no other thread running: clear, check, create the table anew.
      if (phase > 0) {
        ASSERT_TRUE(manager->ClearSource());
        EXPECT_EQ(StoreViolations(*manager.Table()), "");
        ASSERT_TRUE(manager->Initialize());
      }
      run.manager = manager.get();
      run.table = manager.Table();
      ASSERT_TRUE(manager->AddKeyboardItems(run.pool.data(), int(run.pool.size()), nullptr, FALSE));
      std::vector<std::thread> threads;
      for (int t = 0; t < kThreads; ++t) threads.emplace_back(Drive, std::ref(run), t, phase);
      for (std::thread& thread : threads) thread.join();

      EXPECT_EQ(run.failures, "") << "phase " << phase;
      const KeyboardInputMappingTable& table = *run.table;
      EXPECT_EQ(StoreViolations(table), "") << "phase " << phase;
      for (int p = 0; p < table.m_nItemCount; ++p)
        ASSERT_TRUE(table.m_setFreeItems.count(p) || FindStored(table, table.m_pItems[p]) == p)
            << p;
    }
  }
  EXPECT_GT(run.searchHits.load(), 0);
  EXPECT_GT(run.checks.load(), 0);
  // Every object handed to the store was released again: the last release deletes it.
  EXPECT_GT(run.objectsMade.load(), 0);
  EXPECT_EQ(run.counters.destroyed.load(), run.objectsMade.load());
}

}  // namespace
