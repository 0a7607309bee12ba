// Loading an items file into the session's component. Hundreds of thousands of items go in
// without a copy of the file or of the list: each is read into one record and stored at once,
// into a store grown once to its final size, and the index lists are sorted once at the end, as
// one bulk add does it. The second reading runs on a thread of its own, a few batches of records
// ahead of the thread that stores them.
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <new>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "frame/HotKeyManager.h"
#include "services/PinyinAliases.h"
#include "services/SecurityMaster.h"
#include "table/MappingTable.h"
#include "tools/common/RecordRing.h"
#include "tools/common/SearchSession.h"

namespace {

// A hash of a security's code and market, the data centre's key. Two securities that share one
// are both registered: a few more than needed, never one too few.
uint64_t SecurityKey(const wchar_t* code, unsigned char market) {
  uint64_t hash = 14695981039346656037ull ^ market;
  for (const wchar_t* c = code; *c; ++c)
    hash = (hash ^ static_cast<uint32_t>(*c)) * 1099511628211ull;
  return hash;
}

// What a first reading of the file tells: how many records the store will be offered and what
// they append to each index list, which securities the file's own aliases name, and the keys of
// the full-pinyin aliases, so that the second reading need not compute them again.
struct Survey {
  size_t records = 0;
  size_t registered = 0;  // at most this many securities go to the data centre
  BulkEntries entries;
  std::vector<uint64_t> aliased;  // sorted once read
  // Per security in file order: its keys, each ended by '\n', then '\0'. They are ASCII.
  std::string keys;
};

// A thread that fills a ring, stopped and joined however the consumer leaves its scope.
class RingThread {
 public:
  template <class Body>
  RingThread(RecordRing& ring, Body&& body) : m_ring(ring), m_thread(std::forward<Body>(body)) {}
  ~RingThread() {
    m_ring.Stop();
    m_thread.join();
  }
  RingThread(const RingThread&) = delete;
  RingThread& operator=(const RingThread&) = delete;

 private:
  RecordRing& m_ring;
  std::thread m_thread;
};

// What the survey does with each item: counts its records and list entries, and with full pinyin
// computes its aliases' keys.
void SurveyItem(const KeyboardItemInfo& item, const LoadOptions& options, Survey* survey) {
  ++survey->records;
  survey->entries.Add(item);
  if (!options.fullPinyin) {
    if (item.m_dwKind == KIND_ALIAS)
      survey->aliased.push_back(SecurityKey(item.m_szCode, item.m_cMarket));
    return;
  }
  // Every security is registered with its aliases' keys.
  if (!IsSecurityItem(item)) return;
  ++survey->registered;
  KeyboardItemInfo alias;
  wchar_t keys[2][PINYIN_KEY_LENGTH + 1];
  int count = FullPinyinKeys(item, keys);
  survey->records += static_cast<size_t>(count);
  for (int k = 0; k < count; ++k) {
    MakeFullPinyinAlias(item, keys[k], &alias);
    alias.m_dwKind = options.fullPinyinKind;
    survey->entries.Add(alias);
    for (const wchar_t* c = keys[k]; *c; ++c) survey->keys += static_cast<char>(*c);
    survey->keys += '\n';
  }
  survey->keys += '\0';
}

bool SurveyItems(ItemsSource& source, const LoadOptions& options, Survey* survey,
                 ItemsFileError* error) {
  // On this thread: handing the records over from a parsing thread cost more than it saved, even
  // with the pinyin of every name to compute (300k items with aliases: 0.144 s against 0.125 s).
  ItemsParser parser(source);
  KeyboardItemInfo item;
  while (parser.Next(&item)) SurveyItem(item, options, survey);
  std::sort(survey->aliased.begin(), survey->aliased.end());
  if (!options.fullPinyin) survey->registered = survey->aliased.size();
  if (parser.Failed()) *error = parser.Error();
  return !parser.Failed();
}

// The second reading, on the reader's thread: every item into the ring, each security's
// full-pinyin aliases after it (their keys as the survey found them), and the securities that
// aliases name registered with the data centre on the way.
struct StoreReader {
  ItemsParser* parser;
  RecordRing* ring;
  const Survey* survey;
  const LoadOptions* options;
  CSecurityMaster* master;
  size_t items = 0, aliases = 0;
  bool outOfMemory = false;

  void Run() {
    try {
      Read();
    } catch (const std::bad_alloc&) {
      outOfMemory = true;
    }
    ring->Close();
  }

  void Read() {
    KeyboardItemInfo item;
    const char* keys = survey->keys.c_str();
    wchar_t key[PINYIN_KEY_LENGTH + 1];
    while (parser->Next(&item)) {
      ++items;
      KeyboardItemInfo* slot = ring->Slot();
      if (!slot) return;
      *slot = item;
      ring->Commit();
      if (!IsSecurityItem(item)) continue;
      if (options->fullPinyin || std::binary_search(survey->aliased.begin(), survey->aliased.end(),
                                                    SecurityKey(item.m_szCode, item.m_cMarket)))
        master->AddSecurity(item.m_szCode, item.m_cMarket, item.m_szName);
      if (!options->fullPinyin) continue;
      for (; *keys; ++keys) {
        size_t length = 0;
        for (; *keys != '\n'; ++keys) key[length++] = static_cast<wchar_t>(*keys);
        key[length] = 0;
        if (!(slot = ring->Slot())) return;
        MakeFullPinyinAlias(item, key, slot);
        slot->m_dwKind = options->fullPinyinKind;
        ring->Commit();
        ++aliases;
      }
      ++keys;
    }
  }
};

class Stopwatch {
 public:
  // Seconds since the last call (or since construction).
  double Lap() {
    auto now = std::chrono::steady_clock::now();
    double seconds = std::chrono::duration<double>(now - m_last).count();
    m_last = now;
    return seconds;
  }

 private:
  std::chrono::steady_clock::time_point m_last = std::chrono::steady_clock::now();
};

}  // namespace

bool SearchSession::Load(ItemsSource& source, const LoadOptions& options, LoadCounts* counts,
                         ItemsFileError* error) {
  auto refuse = [error](const char* message) {
    error->line = 0;
    error->message = message;
    return false;
  };
  Stopwatch watch;
  Survey survey;
  if (!SurveyItems(source, options, &survey, error)) return false;
  counts->surveySeconds = watch.Lap();

  IUnknown* unknown = nullptr;
  if (GetClassObject(&unknown, HOTKEY_MANAGER_CLSID) != S_OK)
    return refuse("GetClassObject failed");
  m_pManager = static_cast<IHotKeyManager*>(unknown);
  if (!m_pManager->Initialize()) return refuse("Initialize failed");
  KeyboardInputMappingTable* table = Table();

  // A bulk add grows the store once to what it is given and appends every key unsorted; the
  // same steps taken here one record at a time spare the tools a second copy of every record.
  // The lists are then sorted by a bulk add of nothing, which sorts them all.
  bool stored = true;
  if (options.bulk) {
    if (!table->Lock()) return refuse("the table's lock failed");
    try {
      table->Grow(static_cast<int>(survey.records));
      table->ReserveForBulkAdd(survey.entries);
    } catch (const std::bad_alloc&) {
      stored = false;
    }
  }
  try {
    m_pMaster->Reserve(m_pMaster->Count() + survey.registered);
  } catch (const std::bad_alloc&) {
    // The data centre grows as it goes instead.
  }
  counts->growSeconds = watch.Lap();
  auto add = [&](KeyboardItemInfo& record) {
    if (!options.bulk) return m_pManager->AddOneKeyboardItem(&record);
    // Refusals are the store's business, as in a bulk add; only the lack of memory stops.
    try {
      table->AddOneItem(&record, false, options.skipDuplicateCheck);
    } catch (const std::bad_alloc&) {
      return false;
    }
    return true;
  };
  ItemsParser parser(source);
  RecordRing ring;
  StoreReader reader{&parser, &ring, &survey, &options, m_pMaster};
  if (stored) {
    RingThread thread(ring, [&reader] { reader.Run(); });
    while (stored) {
      KeyboardItemInfo* record = ring.Next();
      if (!record) break;
      stored = add(*record);
    }
  }
  stored = stored && !reader.outOfMemory;
  counts->items = reader.items;
  counts->aliases = reader.aliases;
  // The aliases' keys (26 bytes an item with them) are not kept through the sort, where the peak
  // of the load's memory is.
  survey = Survey();
  if (options.bulk) table->Unlock();
  counts->storeSeconds = watch.Lap();
  if (parser.Failed()) {
    *error = parser.Error();
    return false;
  }
  if (!stored) return refuse(options.bulk ? "out of memory" : "AddOneKeyboardItem refused an item");
  if (options.bulk && counts->items + counts->aliases > 0) {
    std::vector<int> allCategories;
    KeyboardItemInfo none;
    if (!m_pManager->AddKeyboardItems(&none, 0, &allCategories,
                                      options.skipDuplicateCheck ? TRUE : FALSE))
      return refuse("AddKeyboardItems refused the items");
  }
  counts->sortSeconds = watch.Lap();
  return true;
}
