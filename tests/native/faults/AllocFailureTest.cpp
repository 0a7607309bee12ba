// Running out of memory inside the store: every allocation that a bulk add of 1,000 items makes
// is made to fail in turn (the one allocation alone, and memory that stays short from it on),
// then single adds, a removal, a replacement and a search the same way. After each failure the
// operation has either finished or stopped as designed, the store holds what it says (its
// invariants, every record found by its identity and by the matcher), a later add completes it,
// and once the table is gone every block allocated in between has been freed.
//
// HKM_ALLOC_FAIL_STRIDE=K fails every K-th allocation only (the test command uses a stride; README
// gives the run over every allocation).
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "../support/CountingUnknown.h"
#include "../support/TableFixture.h"
#include "CountingAllocator.h"
#include "services/SecurityMaster.h"

namespace {

using counting_allocator::FailMode;

enum class Outcome { kDone, kRefused, kThrew };

const char* Name(Outcome outcome) {
  return outcome == Outcome::kDone ? "done" : outcome == Outcome::kRefused ? "refused" : "threw";
}

const char* Name(FailMode mode) {
  return mode == FailMode::kOnlyNth ? "only allocation" : "from allocation";
}

uint64_t Stride(uint64_t fallback) {
  const char* text = std::getenv("HKM_ALLOC_FAIL_STRIDE");
  const long long stride = text ? std::atoll(text) : 0;
  return stride > 0 ? static_cast<uint64_t>(stride) : fallback;
}

// Allocation 1, the last one and every stride-th one between them.
std::vector<uint64_t> FailurePoints(uint64_t total, uint64_t stride) {
  std::vector<uint64_t> points;
  for (uint64_t n = 1; n <= total; n += stride) points.push_back(n);
  if (points.empty() || points.back() != total) points.push_back(total);
  return points;
}

// The store operation under the table's lock, as the manager runs it (a search takes the lock
// itself): the lock is released whatever happens, and an exception is what the manager would
// swallow.
Outcome UnderLock(KeyboardInputMappingTable& table, bool takeLock,
                  const std::function<bool()>& operation) {
  if (takeLock) {
    EXPECT_TRUE(table.Lock());
  }
  Outcome outcome = Outcome::kDone;
  try {
    outcome = operation() ? Outcome::kDone : Outcome::kRefused;
  } catch (const std::bad_alloc&) {
    outcome = Outcome::kThrew;
  }
  if (takeLock) table.Unlock();
  return outcome;
}

// Runs `operation` with the allocations failing as armed; counts what was asked for.
struct Attempt {
  Outcome outcome;
  uint64_t allocations, failures;
};
Attempt Try(KeyboardInputMappingTable& table, uint64_t nth, FailMode mode,
            const std::function<bool()>& operation, bool takeLock = true) {
  counting_allocator::Arm(nth, mode);
  Outcome outcome = UnderLock(table, takeLock, operation);
  counting_allocator::Disarm();
  return Attempt{outcome, counting_allocator::Allocations(), counting_allocator::Failures()};
}

// The detached sort workers free their thread's state just after they report; a block still
// live after that is a leak.
bool AllFreedDownTo(int64_t live) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
  while (counting_allocator::LiveBlocks() > live) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::yield();
  }
  return counting_allocator::LiveBlocks() == live;
}

bool Stored(const KeyboardInputMappingTable& table, const KeyboardItemInfo& item) {
  return FindStored(table, item) >= 0;
}

// The matcher finds the item by its whole code.
bool Matched(KeyboardInputMappingTable& table, const KeyboardItemInfo& item) {
  std::vector<KeyboardItemInfo> results;
  if (!table.Search(item.m_szCode, &results, false)) return false;
  for (const KeyboardItemInfo& found : results)
    if (found == item) return true;
  return false;
}

std::vector<KeyboardItemInfo> Join(std::vector<KeyboardItemInfo> a,
                                   const std::vector<KeyboardItemInfo>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

class AllocFailure : public ::testing::Test {
 protected:
  // What the store held before, and the thousand items of the add: securities of every kind,
  // aliases and former names, commands with numeric codes; some carry an object of their own.
  void SetUp() override {
    m_base = Join(MarketSecurities(160, 0), MarketCommands(40, 0));
    m_batch = Join(MarketSecurities(880, 160), MarketCommands(120, 40));
    ASSERT_EQ(m_batch.size(), 1000u);
  }

  // Attaches fresh counted objects to every 40th item (the table takes its own references).
  std::vector<KeyboardItemInfo> WithObjects(std::vector<KeyboardItemInfo> items) {
    for (size_t i = 0; i < items.size(); i += 40) {
      TRefPtr<CCountingUnknown> object(new CCountingUnknown(&m_counters));
      ++m_objectsMade;
      items[i].m_pUnknown = object.get();
      items[i].m_pUnknown->AddRef();
    }
    return items;
  }

  // A table holding the base items, its bulk add sorted.
  std::unique_ptr<KeyboardInputMappingTable> NewTable() {
    std::unique_ptr<KeyboardInputMappingTable> table(new KeyboardInputMappingTable);
    EXPECT_TRUE(AddAll(*table, m_base));
    return table;
  }

  // The store after a failure: consistent, the base intact, of `added` exactly a prefix stored
  // (what an add stopped part-way keeps), all of it when the operation reports done, every
  // stored record found by the matcher. Returns the prefix's length.
  size_t ExpectConsistent(KeyboardInputMappingTable& table,
                          const std::vector<KeyboardItemInfo>& added, const Attempt& attempt,
                          const std::string& where) {
    EXPECT_EQ(StoreViolations(table), "") << where;
    for (const KeyboardItemInfo& item : m_base) EXPECT_TRUE(Stored(table, item)) << where;
    size_t prefix = 0;
    while (prefix < added.size() && Stored(table, added[prefix])) ++prefix;
    for (size_t i = prefix; i < added.size(); ++i)
      if (Stored(table, added[i])) {
        ADD_FAILURE() << where << ": item " << i << " stored after the unstored item " << prefix;
        break;
      }
    if (attempt.outcome == Outcome::kDone) {
      EXPECT_EQ(prefix, added.size()) << where;
    }
    EXPECT_EQ(LiveCount(table), static_cast<int>(m_base.size() + prefix)) << where;
    EXPECT_TRUE(Matched(table, m_base.front())) << where;
    EXPECT_TRUE(Matched(table, m_base.back())) << where;
    if (prefix > 0) {
      EXPECT_TRUE(Matched(table, added[prefix - 1])) << where;
    }
    if (prefix < added.size()) {
      EXPECT_FALSE(Matched(table, added[prefix])) << where;
    }
    return prefix;
  }

  std::vector<KeyboardItemInfo> m_base, m_batch;
  UnknownCounters m_counters;
  int m_objectsMade = 0;
  TableHost m_host;
};

TEST_F(AllocFailure, ABulkAddOfAThousandItemsSurvivesEveryAllocationFailing) {
  const std::vector<int> allCategories;
  const int64_t liveAtStart = counting_allocator::LiveBlocks();
  // How many allocations the add makes when none fails.
  uint64_t total = 0;
  {
    std::unique_ptr<KeyboardInputMappingTable> table = NewTable();
    std::vector<KeyboardItemInfo> batch = WithObjects(m_batch);
    Attempt clean = Try(*table, 0, FailMode::kOnlyNth, [&] {
      return table->AddKeyboardItem(batch.data(), int(batch.size()), &allCategories, false);
    });
    ASSERT_EQ(clean.outcome, Outcome::kDone);
    total = clean.allocations;
  }
  ASSERT_GT(total, 0u);
  ASSERT_TRUE(AllFreedDownTo(liveAtStart));

  int outcomes[3] = {0, 0, 0};
  const std::vector<uint64_t> points = FailurePoints(total, Stride(13));
  for (FailMode mode : {FailMode::kOnlyNth, FailMode::kFromNthOn}) {
    for (uint64_t nth : points) {
      const std::string where =
          std::string(Name(mode)) + " " + std::to_string(nth) + " of " + std::to_string(total);
      const int64_t live = counting_allocator::LiveBlocks();
      {
        std::unique_ptr<KeyboardInputMappingTable> table = NewTable();
        std::vector<KeyboardItemInfo> batch = WithObjects(m_batch);
        Attempt attempt = Try(*table, nth, mode, [&] {
          return table->AddKeyboardItem(batch.data(), int(batch.size()), &allCategories, false);
        });
        ++outcomes[static_cast<int>(attempt.outcome)];
        const std::string seen = where + " (" + Name(attempt.outcome) + ")";
        ExpectConsistent(*table, m_batch, attempt, seen);
        // The same add again completes the store: the stored part is kept once.
        Attempt again = Try(*table, 0, FailMode::kOnlyNth, [&] {
          return table->AddKeyboardItem(batch.data(), int(batch.size()), &allCategories, false);
        });
        EXPECT_EQ(again.outcome, Outcome::kDone) << seen;
        ExpectConsistent(*table, m_batch, again, seen + ", added again");
      }
      EXPECT_TRUE(AllFreedDownTo(live))
          << where << ": " << counting_allocator::LiveBlocks() - live << " blocks left";
    }
  }
  EXPECT_EQ(m_counters.destroyed.load(), m_objectsMade);
  // Both ways of stopping happened, and some failures were absorbed without a trace.
  EXPECT_GT(outcomes[static_cast<int>(Outcome::kDone)], 0);
  EXPECT_GT(
      outcomes[static_cast<int>(Outcome::kRefused)] + outcomes[static_cast<int>(Outcome::kThrew)],
      0);
  std::printf(
      "bulk add of 1000: %llu allocations, %zu failure points x 2 modes: %d done, %d "
      "refused, %d threw\n",
      static_cast<unsigned long long>(total), points.size(), outcomes[0], outcomes[1], outcomes[2]);
}

TEST_F(AllocFailure, SingleAddsRemovalReplacementAndSearchSurviveEveryAllocationFailing) {
  struct Step {
    const char* name;
    bool takesLock;  // the operation locks the table itself
    // Runs the step on a table holding the base items plus the first 200 of the batch.
    std::function<bool(KeyboardInputMappingTable&)> run;
    // What must hold after it, given how it ended.
    std::function<void(KeyboardInputMappingTable&, const Attempt&, const std::string&)> check;
    bool changesBase = false;  // the check, not the loop, says what becomes of the base items
  };
  const std::vector<KeyboardItemInfo> held(m_batch.begin(), m_batch.begin() + 200);
  const KeyboardItemInfo fresh = m_batch[500], removed = held[17], renamed = held[3];
  const KeyboardItemInfo command = MarketCommands(1, 600)[0];  // a numeric command
  const KeyboardItemInfo numericCommand = m_base[160 + 6];     // "01", among the base items
  const unsigned char goneMarket = 3;
  const std::vector<KeyboardItemInfo> everything = Join(m_base, held);
  std::vector<KeyboardItemInfo> expectedResults;
  const Step steps[] = {
      {"single add", false,
       [&](KeyboardInputMappingTable& t) { return t.AddOneItem(&fresh, true, false); },
       [&](KeyboardInputMappingTable& t, const Attempt& a, const std::string& where) {
         if (a.outcome == Outcome::kDone) {
           EXPECT_TRUE(Matched(t, fresh)) << where;
         }
         EXPECT_EQ(LiveCount(t), int(m_base.size() + held.size()) + (Stored(t, fresh) ? 1 : 0))
             << where;
       }},
      {"single add of a numeric command", false,
       [&](KeyboardInputMappingTable& t) { return t.AddOneItem(&command, true, false); },
       [&](KeyboardInputMappingTable& t, const Attempt& a, const std::string& where) {
         if (a.outcome == Outcome::kDone) {
           EXPECT_TRUE(Stored(t, command)) << where;
         }
       }},
      {"removal", false,
       [&](KeyboardInputMappingTable& t) { return RemoveStored(t, removed) == 1; },
       [&](KeyboardInputMappingTable& t, const Attempt& a, const std::string& where) {
         if (a.outcome == Outcome::kDone) {
           EXPECT_FALSE(Stored(t, removed)) << where;
         }
         EXPECT_EQ(Matched(t, removed), Stored(t, removed)) << where;
       }},
      {"replacement", false,
       [&](KeyboardInputMappingTable& t) {
         unsigned short type = renamed.m_wType;
         DWORD kind = renamed.m_dwKind;
         return t.ReplaceItem(renamed.m_szCode, renamed.m_szHotKey, renamed.m_szName, &type, &kind,
                              nullptr, L"GMXX", L"改名", nullptr, nullptr, nullptr) != 0;
       },
       [&](KeyboardInputMappingTable& t, const Attempt&, const std::string& where) {
         KeyboardItemInfo now = renamed;
         CopyKeyField(now.m_szHotKey, L"GMXX");
         CopyKeyField(now.m_szName, L"改名");
         // The old record or the new one, never both or neither.
         EXPECT_NE(Stored(t, renamed), Stored(t, now)) << where;
       }},
      {"replacement of a numeric command", false,
       [&](KeyboardInputMappingTable& t) {
         unsigned short type = numericCommand.m_wType;
         DWORD kind = numericCommand.m_dwKind;
         return t.ReplaceItem(numericCommand.m_szCode, numericCommand.m_szHotKey,
                              numericCommand.m_szName, &type, &kind, nullptr, L"GMML", L"改名命令",
                              nullptr, nullptr, nullptr) != 0;
       },
       [&](KeyboardInputMappingTable& t, const Attempt&, const std::string& where) {
         KeyboardItemInfo now = numericCommand;
         CopyKeyField(now.m_szHotKey, L"GMML");
         CopyKeyField(now.m_szName, L"改名命令");
         EXPECT_NE(Stored(t, numericCommand), Stored(t, now)) << where;
         // Typed as its number, the command is found as it is stored.
         std::vector<KeyboardItemInfo> results;
         ASSERT_TRUE(t.Search(numericCommand.m_szCode, &results, false)) << where;
         int listed = 0;
         for (const KeyboardItemInfo& found : results)
           listed += found == numericCommand || found == now;
         EXPECT_EQ(listed, 1) << where;
       },
       true},
      {"market removal", false,
       [&](KeyboardInputMappingTable& t) { return t.RemoveMarket(goneMarket); },
       [&](KeyboardInputMappingTable& t, const Attempt& a, const std::string& where) {
         // The whole market gone, or (stopped) nothing of it.
         bool gone = true, kept = true;
         for (const KeyboardItemInfo& item : everything) {
           const bool stored = Stored(t, item);
           if (item.m_cMarket == goneMarket) {
             gone = gone && !stored;
             kept = kept && stored;
           } else {
             EXPECT_TRUE(stored) << where;
           }
         }
         EXPECT_TRUE(a.outcome == Outcome::kDone ? gone : gone != kept) << where;
         EXPECT_EQ(LiveCount(t) == int(everything.size()), kept) << where;
         for (const KeyboardItemInfo& item : {everything.front(), everything.back()})
           EXPECT_EQ(Matched(t, item), Stored(t, item)) << where;
       },
       true},
      {"search", true,
       [&](KeyboardInputMappingTable& t) {
         std::vector<KeyboardItemInfo> results;
         bool found = t.Search(L"60", &results, false);
         // Nothing found, or everything an undisturbed search finds.
         EXPECT_TRUE(found ? results == expectedResults : results.empty());
         return found;
       },
       [&](KeyboardInputMappingTable&, const Attempt&, const std::string&) {}},
  };
  {
    std::unique_ptr<KeyboardInputMappingTable> table = NewTable();
    ASSERT_TRUE(AddAll(*table, held));
    ASSERT_TRUE(table->Search(L"60", &expectedResults, false));
    ASSERT_FALSE(expectedResults.empty());
  }
  for (const Step& step : steps) {
    uint64_t total = 0;
    {
      std::unique_ptr<KeyboardInputMappingTable> table = NewTable();
      ASSERT_TRUE(AddAll(*table, held));
      Attempt clean = Try(
          *table, 0, FailMode::kOnlyNth, [&] { return step.run(*table); }, !step.takesLock);
      ASSERT_EQ(clean.outcome, Outcome::kDone) << step.name;
      total = clean.allocations;
    }
    for (FailMode mode : {FailMode::kOnlyNth, FailMode::kFromNthOn}) {
      for (uint64_t nth : FailurePoints(total, 1)) {
        const std::string where = std::string(step.name) + ", " + Name(mode) + " " +
                                  std::to_string(nth) + " of " + std::to_string(total);
        const int64_t live = counting_allocator::LiveBlocks();
        {
          std::unique_ptr<KeyboardInputMappingTable> table = NewTable();
          ASSERT_TRUE(AddAll(*table, held));
          Attempt attempt = Try(
              *table, nth, mode, [&] { return step.run(*table); }, !step.takesLock);
          const std::string seen = where + " (" + Name(attempt.outcome) + ")";
          EXPECT_EQ(StoreViolations(*table), "") << seen;
          if (!step.changesBase) {
            for (const KeyboardItemInfo& item : m_base) EXPECT_TRUE(Stored(*table, item)) << seen;
          }
          step.check(*table, attempt, seen);
        }
        EXPECT_TRUE(AllFreedDownTo(live))
            << where << ": " << counting_allocator::LiveBlocks() - live << " blocks left";
      }
    }
  }
}

// The data centre keeps a code that its record cannot hold byte for byte (not ASCII) apart, by
// the record's number. A registration stopped by any allocation failing leaves nothing behind
// that the next security, which takes that number, would be found by instead of its own code;
// from every fill of the record store's last block (seven records a block).
TEST(AllocFailureDataCentre, AStoppedRegistrationLeavesNothingForTheNext) {
  const std::wstring wide = L"\x4E2D\x534E";  // kept apart
  for (int before = 0; before < 8; ++before) {
    for (uint64_t nth = 1;; ++nth) {
      TRefPtr<CSecurityMaster> master(new CSecurityMaster);
      for (int i = 0; i < before; ++i)
        master->AddSecurity((L"60000" + std::to_wstring(i)).c_str(), 1, L"\x6D66\x53D1");
      counting_allocator::Arm(nth);
      bool stopped = false;
      try {
        master->AddSecurity(wide.c_str(), 1, L"\x4E2D\x534E");
      } catch (const std::bad_alloc&) {
        stopped = true;
      }
      const uint64_t asked = counting_allocator::Allocations();
      counting_allocator::Disarm();
      const std::string where = std::to_string(before) + " before, allocation " +
                                std::to_string(nth) + (stopped ? " (stopped)" : "");
      EXPECT_EQ(master->GetOneStkInfo(wide, 1) != nullptr, !stopped) << where;
      ASSERT_TRUE(master->AddSecurity(L"600036", 1, L"\x62DB\x5546")) << where;
      EXPECT_NE(master->GetOneStkInfo(L"600036", 1), nullptr) << where;
      ASSERT_TRUE(master->AddSecurity(L"\x6D4B\x8BD5", 2, L"\x6D4B\x8BD5")) << where;
      EXPECT_NE(master->GetOneStkInfo(L"\x6D4B\x8BD5", 2), nullptr) << where;
      if (nth > asked) break;
    }
  }
}

}  // namespace
