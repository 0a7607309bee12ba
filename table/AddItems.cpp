// Adding items: single adds insert each key at its sorted place; bulk adds append every key and
// then sort the affected lists on six workers while the caller holds the lock.
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <new>

#include "frame/GlobalEnv.h"
#include "frame/Logger.h"
#include "platform/Platform.h"
#include "table/MappingTable.h"
#include "table/RecordArray.h"

namespace {
const int kSortWorkers = 6;
#ifndef HKM_BULK_ADD_WITHOUT_POLL
const uint32_t kSortPollMs = 10;
#endif
}  // namespace

struct SortTask {
  std::atomic<unsigned char> m_bBusy{1};
  KeyboardInputMappingTable* m_pTable = nullptr;
  int m_nWorker = 0;
  std::vector<int> m_vecCategories;
};

namespace {

// Sorts one worker's share: the lists whose number (72 x group + category) is the worker number
// modulo six; as 72 is a multiple of six no two workers share a list. Allocates nothing that
// can fail: a bad_alloc on a worker's thread would end the process.
void SortShare(KeyboardInputMappingTable* table, int worker, const std::vector<int>& categories) {
  auto sortList = [table](int group, int category) {
    IndexList& list = table->m_arrIndex[group][category];
    int low = 0, high = static_cast<int>(list.size()) - 1;
    KeyCompareMode mode = {static_cast<unsigned char>(group % 2), 0};
    table->SortIndexList(list, &low, &high, &mode);
    // Appending doubled the prefix list's room; a sorted list mostly stays as it is.
    KeyPrefixList& prefixes = table->m_arrKeyPrefix[group][category];
    if (prefixes.capacity() > prefixes.size() + prefixes.size() / 8 + 16) prefixes.shrink_to_fit();
  };
  if (!categories.empty()) {
    for (int g = 0; g < INDEX_GROUPS; ++g)
      for (int c : categories) {
        if (c < 0 || c >= ITEM_CATEGORIES) continue;
        if ((ITEM_CATEGORIES * g + c) % kSortWorkers == worker) sortList(g, c);
      }
  } else {
    for (int n = worker; n < INDEX_GROUPS * ITEM_CATEGORIES; n += kSortWorkers)
      sortList(n / ITEM_CATEGORIES, n % ITEM_CATEGORIES);
  }
}

}  // namespace

unsigned SortWorker(void* arg) {
  auto* task = static_cast<SortTask*>(arg);
  if (!task) return 0;
  // The task's own copy of the categories, read in place: it outlives this worker's use of it.
  SortShare(task->m_pTable, task->m_nWorker, task->m_vecCategories);
  // Last touch of the task: the caller may destroy it as soon as it reads 0.
  task->m_bBusy.store(0, std::memory_order_release);
  return 0;
}

void KeyboardInputMappingTable::SortLists(const std::vector<int>& categories) {
  SortTask tasks[kSortWorkers];
  try {
    for (int k = 0; k < kSortWorkers; ++k) {
      tasks[k].m_pTable = this;
      tasks[k].m_nWorker = k;
      tasks[k].m_vecCategories = categories;
    }
  } catch (const std::bad_alloc&) {
    // No memory for the workers' copies: every share on this thread, so that the records
    // already stored are put in order all the same.
    for (int k = 0; k < kSortWorkers; ++k) SortShare(this, k, categories);
    return;
  }
#ifdef HKM_BULK_ADD_WITHOUT_POLL
  // The fuzz build (and tests that want it): every share on this thread, as when a worker
  // cannot start, and nothing to wait for. Starting six threads costs a bulk add of a few records
  // far more than its sorting, and the 10 ms poll more still.
  for (int k = 0; k < kSortWorkers; ++k) SortWorker(&tasks[k]);
#else
  for (int k = 0; k < kSortWorkers; ++k) {
    // A worker that cannot start does its share on this thread instead.
    if (!plat::StartWorkerThread(SortWorker, &tasks[k])) SortWorker(&tasks[k]);
  }
  for (;;) {
    bool busy = false;
    for (int k = 0; k < kSortWorkers; ++k)
      if (tasks[k].m_bBusy.load(std::memory_order_acquire)) busy = true;
    if (!busy) break;
    plat::SleepMs(kSortPollMs);
  }
#endif
}

bool KeyboardInputMappingTable::AddKeyboardItem(const KeyboardItemInfo* records, int count,
                                                const std::vector<int>* categories,
                                                bool skipDuplicateCheck) {
  if (!records) return false;
  uint32_t start = plat::TickCount();
  int needed = m_nItemCount - static_cast<int>(m_setFreeItems.size()) + count;
  if (needed > m_nCapacity) Grow(needed);
  // Room for every record at once; what cannot be had now, each record asks for itself.
  EnsureRoom(std::min(needed, m_nCapacity));
  {
    BulkEntries entries;
    for (int i = 0; i < count; ++i) entries.Add(records[i]);
    ReserveForBulkAdd(entries);
  }
  static const std::vector<int> kAllCategories;
  const std::vector<int>& toSort = categories ? *categories : kAllCategories;
  for (int i = 0; i < count; ++i) {
    if (!AddOneItem(&records[i], false, skipDuplicateCheck)) {
      // Records stored before the refusal stay; their lists are put in order so that the
      // store stays searchable.
      if (i > 0) SortLists(toSort);
      return false;
    }
  }
  SortLists(toSort);
  unsigned long delay = static_cast<unsigned long>(plat::TickCount() - start);
  wchar_t line[2048];
  swprintf(line, 2048, L"[KeyboardInputMappingTable::AddKeyboardItem] DelayTime=  %lu", delay);
  LightLogger::CLogger::GetLogger(line, LIGHT_LOG_FILE_TIMING);
  return true;
}

void BulkEntries::Add(const KeyboardItemInfo& record) {
  int type = record.m_wType;
  DWORD kind = record.m_dwKind;
  int category = CategoryOf(&record, &type, &kind, 0);
  bool numeric = IsNumericCommand(record);
  for (int key = 0; key < 3; ++key)
    if (!numeric || ClassifyKey(KeyText(record, key)) != 0) ++perKey[key][category];
}

void KeyboardInputMappingTable::ReserveForBulkAdd(const BulkEntries& entries) {
  for (int g = 0; g < INDEX_GROUPS; ++g)
    for (int c = 0; c < ITEM_CATEGORIES; ++c) {
      size_t more = static_cast<size_t>(entries.perKey[g / 2][c]);
      if (!more) continue;
      try {
        m_arrIndex[g][c].reserve(m_arrIndex[g][c].size() + more);
      } catch (const std::bad_alloc&) {
      }
      // The duplicate checks look at the codes' lists: group 0.
      m_arrKeyPrefix[g][c].ReserveForSort(more, g == 0);
    }
}

bool KeyboardInputMappingTable::AddOneItem(const KeyboardItemInfo* record, bool sortedInsert,
                                           bool skipDuplicateCheck) {
  if (!record || !HasStorage()) return false;
  {
    TRefPtr<CGlobalEnv> env = CGlobalEnv::GetGlobalEnv();
    if (!env || env->IsClosing()) return false;
  }
  const Filing filing = FilingOf(*record);
  if (!skipDuplicateCheck && Contains(*record, filing)) return true;
  return StoreRecord(*record, filing, sortedInsert);
}

bool KeyboardInputMappingTable::StoreRecord(const KeyboardItemInfo& record, bool sortedInsert) {
  return StoreRecord(record, FilingOf(record), sortedInsert);
}

bool KeyboardInputMappingTable::StoreRecord(const KeyboardItemInfo& record, const Filing& filing,
                                            bool sortedInsert) {
  // A removal that could not find a key leaves its slot unreleased; never write a slot past the
  // table's end, grow instead.
  int freeSlots = static_cast<int>(m_setFreeSlots.size()) + 3 * m_nCapacity - m_nSlotCount;
  if (freeSlots < 3) Grow(m_nCapacity + 1);

  int position;
  if (!m_setFreeItems.empty()) {
    position = *m_setFreeItems.begin();
  } else {
    position = m_nItemCount;
    if (position >= m_nCapacity) Grow(m_nItemCount + 1);
  }
  if (position < 0 || position >= m_nCapacity ||
      3 * m_nCapacity - m_nSlotCount + static_cast<int>(m_setFreeSlots.size()) < 3 ||
      !EnsureRoom(std::max(position + 1, (m_nSlotCount + 3 + 2) / 3))) {
    plat::ShowMessageBox(L"ErrorKeyboardItemIndex");
    return false;
  }
  // Out of memory the record is refused whole: never half indexed.
  if (!ReserveForRecord(record, filing, sortedInsert)) return false;
  m_pItems[position] = record;
  if (filing.numeric) {
    if (!IndexNumericCommand(record, filing.category, sortedInsert, position)) return false;
  } else {
    for (int key = 0; key < 3; ++key)
      IndexKey(key, m_pItems[position], filing.category, sortedInsert, position);
  }
  if (!m_setFreeItems.empty())
    m_setFreeItems.erase(m_setFreeItems.begin());
  else
    ++m_nItemCount;
  return true;
}

KeyboardInputMappingTable::Filing KeyboardInputMappingTable::FilingOf(
    const KeyboardItemInfo& record) {
  int type = record.m_wType;
  DWORD kind = record.m_dwKind;
  return Filing{CategoryOf(&record, &type, &kind, 0), IsNumericCommand(record)};
}

bool KeyboardInputMappingTable::ReserveForRecord(const KeyboardItemInfo& record,
                                                 bool sortedInsert) {
  return ReserveForRecord(record, FilingOf(record), sortedInsert);
}

bool KeyboardInputMappingTable::ReserveForRecord(const KeyboardItemInfo& record,
                                                 const Filing& filing, bool sortedInsert) {
  const int category = filing.category;
  const bool numeric = filing.numeric;
  try {
    if (numeric)
      while (m_mapSpareNumericNodes.size() < 3) m_mapSpareNumericNodes.insert({L"", -1});
    for (int key = 0; key < 3; ++key) {
      if (numeric && ClassifyKey(KeyText(record, key)) == 0) continue;
      for (int group = 2 * key; group <= 2 * key + 1; ++group) {
        // As the lists would grow by themselves: doubled, the prefixes of a sorted insert by an
        // eighth.
        IndexList& list = m_arrIndex[group][category];
        if (list.size() == list.capacity())
          list.reserve(list.size() + std::max<size_t>(list.size(), 1));
        KeyPrefixList& prefixes = m_arrKeyPrefix[group][category];
        if (prefixes.size() == prefixes.capacity())
          prefixes.reserve(sortedInsert ? prefixes.size() + prefixes.size() / 8 + 16
                                        : prefixes.size() + std::max<size_t>(prefixes.size(), 1));
      }
    }
  } catch (const std::bad_alloc&) {
    return false;
  }
  return true;
}

int KeyboardInputMappingTable::TakeSlotNumber() {
  return m_setFreeSlots.empty() ? m_nSlotCount : *m_setFreeSlots.begin();
}

bool KeyboardInputMappingTable::IndexKey(int key, const KeyboardItemInfo& record, int category,
                                         bool sortedInsert, int position) {
  int slot = TakeSlotNumber();
  InsertSlot(key, m_arrIndex[2 * key][category], record, &MODE_FORWARD_WHOLE, sortedInsert,
             position, slot);
  InsertSlot(key, m_arrIndex[2 * key + 1][category], record, &MODE_BACKWARD_WHOLE, sortedInsert,
             position, slot);
  if (!m_setFreeSlots.empty())
    m_setFreeSlots.erase(m_setFreeSlots.begin());
  else
    ++m_nSlotCount;
  return true;
}

bool KeyboardInputMappingTable::InsertSlot(int key, IndexList& list, const KeyboardItemInfo& record,
                                           const KeyCompareMode* mode, bool sortedInsert,
                                           int position, int slot) {
  if (!m_pSlots) return false;
  m_pSlots[slot] = KeySlot{position, static_cast<unsigned char>(key)};
  KeyPrefixList& prefixes = PrefixesAt(list);
  uint64_t prefix = keyprefix::Of(KeyText(record, key), mode->m_bBackward != 0);
  if (!sortedInsert) {
    // Entries listed before this bulk add get their tails once, so that the sort has them all.
    for (size_t at = list.size() - prefixes.MissingTails(); at < list.size(); ++at) {
      const KeySlot* listed = ValidSlot(list[at]);
      uint64_t tail = listed ? keyprefix::TailOf(KeyText(m_pItems[listed->m_nItem], listed->m_nKey),
                                                 mode->m_bBackward != 0)
                             : keyprefix::kNone;
      if (!prefixes.CatchUpTail(tail)) break;
    }
    list.push_back(slot);
    prefixes.AppendForSort(prefix, keyprefix::TailOf(KeyText(record, key), mode->m_bBackward != 0));
    return true;
  }
  if (list.empty()) {
    list.push_back(slot);
    prefixes.Append(prefix);
    return true;
  }
  int at = InsertPosition(list, static_cast<int>(list.size()) - 1, KeyText(record, key), mode);
  list.insert(list.begin() + at, slot);
  // Grown by an eighth rather than doubled: the prefixes are the bulk of the index's memory.
  if (prefixes.size() == prefixes.capacity())
    prefixes.reserve(prefixes.size() + prefixes.size() / 8 + 16);
  prefixes.Insert(static_cast<size_t>(at), prefix);
  return true;
}

bool KeyboardInputMappingTable::IndexNumericCommand(const KeyboardItemInfo& record, int category,
                                                    bool sortedInsert, int position) {
  // The map's entries are made apart first and then moved in all at once: out of memory, the
  // record gets none of them and no list entry either.
  NumericKeyMap digitKeys;
  try {
    for (int key = 0; key < 3; ++key) {
      if (ClassifyKey(KeyText(record, key)) != 0) continue;
      if (m_mapSpareNumericNodes.empty()) {
        digitKeys.insert({KeyText(m_pItems[position], key), position});
        continue;
      }
      auto node = m_mapSpareNumericNodes.extract(m_mapSpareNumericNodes.begin());
      node.key() = KeyText(m_pItems[position], key);
      node.mapped() = position;
      digitKeys.insert(std::move(node));
    }
  } catch (const std::bad_alloc&) {
    return false;
  }
  m_mapNumericKeys.merge(digitKeys);
  for (int key = 0; key < 3; ++key)
    if (ClassifyKey(KeyText(record, key)) != 0)
      IndexKey(key, m_pItems[position], category, sortedInsert, position);
  return true;
}

bool KeyboardInputMappingTable::NumericMapContains(const KeyboardItemInfo& record) const {
  for (int key = 0; key < 3; ++key) {
    const wchar_t* text = KeyText(record, key);
    if (ClassifyKey(text) != 0) continue;
    auto range = m_mapNumericKeys.equal_range(text);
    for (auto it = range.first; it != range.second; ++it)
      if (m_pItems[it->second] == record) return true;
  }
  return false;
}

// Equal records: same category, and code, hot key and name equal under the forward whole
// comparison (case, spaces and width ignored). Market, extra info and object take no part.
bool KeyboardInputMappingTable::Contains(const KeyboardItemInfo& record) const {
  return Contains(record, FilingOf(record));
}

bool KeyboardInputMappingTable::Contains(const KeyboardItemInfo& record,
                                         const Filing& filing) const {
  if (filing.numeric && NumericMapContains(record)) return true;
  const int category = filing.category;
  const IndexList& list = m_arrIndex[0][category];
  if (list.empty() || !record.m_szCode[0]) return false;
  // A search finds only an entry whose code equals this one: where none can, none is needed.
  const KeyPrefixList& codes = m_arrKeyPrefix[0][category];
  if (m_bUseKeyPrefixes && codes.size() == list.size() &&
      !codes.MayListEqual(keyprefix::Of(record.m_szCode, false),
                          keyprefix::TailOf(record.m_szCode, false)))
    return false;
  keyprefix::Probe probe;
  probe.Prepare(record.m_szCode, false);
  std::pair<int, int> range = Range(list, record.m_szCode, &MODE_FORWARD_WHOLE, &probe);
  for (int p = range.first; p >= 0 && p <= range.second; ++p) {
    const KeyboardItemInfo& stored = m_pItems[m_pSlots[list[p]].m_nItem];
    if (CompareKey(&MODE_FORWARD_WHOLE, stored.m_szHotKey, record.m_szHotKey) == 0 &&
        CompareKey(&MODE_FORWARD_WHOLE, stored.m_szName, record.m_szName) == 0)
      return true;
  }
  return false;
}

bool KeyboardInputMappingTable::Grow(int needed) {
  if (needed <= m_nCapacity) return true;
  if (!HasStorage()) return false;
  int capacity = needed + 100;
  if (!EnsureRoom(capacity)) return false;
  // The flags past the old capacity are zero already; those the last search set are cleared,
  // as a new array of flags would be.
  for (int position : m_vecHitPositions)
    if (position >= 0 && position < m_nRoom) m_pHitFlags[position] = 0;
  m_vecHitPositions.clear();
  m_nCapacity = capacity;
  return true;
}

bool KeyboardInputMappingTable::EnsureRoom(int positions) {
  if (positions <= m_nRoom) return true;
  if (!HasStorage()) return false;
  int room = positions;
  if (room - m_nRoom < m_nRoom / 8) room = m_nRoom + m_nRoom / 8;
  // Everything new is allocated first: on failure the store keeps its old arrays.
  unsigned char* flags = new (std::nothrow) unsigned char[room];
  KeyboardItemInfo* items = NewRecordArray(room);
  KeySlot* slots = new (std::nothrow) KeySlot[3 * static_cast<size_t>(room)];
  if (!flags || !items || !slots) {
    delete[] flags;
    DeleteRecordArray(items, room);
    delete[] slots;
    return false;
  }
  plat::AdviseLargePages(slots, sizeof(KeySlot) * 3 * static_cast<size_t>(room));
  for (int i = 0; i < m_nRoom; ++i) items[i] = m_pItems[i];
  // The numeric map's keys point into the record array. Its copy for the new array is made
  // before anything is replaced: running out of memory here leaves the store as it was, and the
  // new arrays (with the references their records took) go again.
  NumericKeyMap rebuilt;
  try {
    for (const auto& entry : m_mapNumericKeys) {
      const KeyboardItemInfo& moved = items[entry.second];
      const wchar_t* key = moved.m_szName;
      if (plat::CompareOrdinalNoCase(moved.m_szCode, entry.first) == 0)
        key = moved.m_szCode;
      else if (plat::CompareOrdinalNoCase(moved.m_szHotKey, entry.first) == 0)
        key = moved.m_szHotKey;
      rebuilt.insert({key, entry.second});
    }
  } catch (const std::bad_alloc&) {
    delete[] flags;
    DeleteRecordArray(items, room);
    delete[] slots;
    return false;
  }
  memset(flags, 0, room);
  delete[] m_pHitFlags;
  m_pHitFlags = flags;
  m_vecHitPositions.clear();
  m_mapNumericKeys.swap(rebuilt);
  DeleteRecordArray(m_pItems, m_nRoom);
  m_pItems = items;

  memcpy(slots, m_pSlots, sizeof(KeySlot) * 3 * m_nRoom);
  for (size_t i = 3 * static_cast<size_t>(m_nRoom); i < 3 * static_cast<size_t>(room); ++i)
    slots[i] = KeySlot{-1, 255};
  delete[] m_pSlots;
  m_pSlots = slots;
  m_nRoom = room;
  return true;
}
