// The store of keyboard items: one flat record array, a slot per indexed key, and 6 x 72 sorted
// index lists of slot numbers (three keys x two directions, by item category).
#pragma once

#include <atomic>
#include <cwchar>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "frame/IHotKeyManager.h"
#include "frame/KeyboardItemInfo.h"
#include "table/KeyPrefixList.h"

class CDataMgr;
class CElementContainer;

const int INDEX_GROUPS = 6;
const int ITEM_CATEGORIES = 72;
const int INITIAL_CAPACITY = 8100;
const int INITIAL_ROOM = 64;
const int SEARCH_RESULT_CAP = 100;

struct KeyCompareMode {
  unsigned char m_bBackward;
  unsigned char m_bPrefix;
};

const KeyCompareMode MODE_FORWARD_WHOLE = {0, 0};
const KeyCompareMode MODE_BACKWARD_WHOLE = {1, 0};
const KeyCompareMode MODE_FORWARD_PREFIX = {0, 1};
const KeyCompareMode MODE_BACKWARD_SUFFIX = {1, 1};

// How the pop-up was last opened (m_nOpenMode): what the search leaves out of its results and
// whether the command window hears of a pick. Any other value counts as OPEN_MODE_TYPED.
enum PopupOpenMode : int {
  OPEN_MODE_TYPED = 0,  // by typing anywhere in the terminal: everything is listed
  // For a receiver or at a point: no trade commands, and WM_COMMAND_FROM_POPUP after a pick.
  OPEN_MODE_EXACT_POSITION = 1,
  OPEN_MODE_MINI_TRADE = 2,         // typed while the mini trade panel shows: no trade commands
  OPEN_MODE_TRADING_WORKSPACE = 3,  // typed in a trading workspace: no mini-trade functions
};

struct KeySlot {
  int m_nItem;
  unsigned char m_nKey;
};

// Orders the numeric command map by the pointed-to text, case-sensitively.
struct WideTextLess {
  bool operator()(const wchar_t* a, const wchar_t* b) const { return wcscmp(a, b) < 0; }
};

typedef std::vector<int> IndexList;
typedef std::multimap<const wchar_t*, int, WideTextLess> NumericKeyMap;

// --- Categories and key order (pure functions). ---
int CategoryOf(const KeyboardItemInfo* record, const int* type, const DWORD* kind,
               int aliasBySecurity);
int CategoryOfSecurity(const wchar_t* code, const int* type);
const wchar_t* CategoryName(int category);  // "未知" outside 0..71
int ClassifyKey(const wchar_t* text);
int CompareKey(const KeyCompareMode* mode, const wchar_t* text, const wchar_t* key);
// Key 0 is the code, 1 the hot key, 2 the name.
inline const wchar_t* KeyText(const KeyboardItemInfo& record, int key) {
  return key == 0 ? record.m_szCode : key == 1 ? record.m_szHotKey : record.m_szName;
}
bool IsNumericCommand(const KeyboardItemInfo& record);

struct SortTask;

// What a bulk add of some records appends to the index lists: the entries of each key (code,
// hot key, name) per category, each going to the key's forward and backward list.
struct BulkEntries {
  int perKey[3][ITEM_CATEGORIES] = {};
  void Add(const KeyboardItemInfo& record);
};

class KeyboardInputMappingTable {
 public:
  KeyboardInputMappingTable();
  ~KeyboardInputMappingTable();
  KeyboardInputMappingTable(const KeyboardInputMappingTable&) = delete;
  KeyboardInputMappingTable& operator=(const KeyboardInputMappingTable&) = delete;

  bool AllocateStorage();

  // The lock: an auto-reset event; not re-entrant.
  bool Lock();
  void Unlock();

  // --- Index lists. ---
  int CompareSlotWithKey(const IndexList& list, int pos, const wchar_t* text,
                         const KeyCompareMode* mode) const;
  int CompareSlots(const IndexList& list, int first, int second, const KeyCompareMode* mode) const;
  int SearchBound(const IndexList& list, int low, int high, const wchar_t* text, bool first,
                  const KeyCompareMode* mode) const;
  std::pair<int, int> EqualRange(const IndexList& list, int high, const wchar_t* text,
                                 const KeyCompareMode* mode) const;
  int InsertPosition(const IndexList& list, int high, const wchar_t* text,
                     const KeyCompareMode* mode) const;
  bool SortIndexList(IndexList& list, int* low, int* high, const KeyCompareMode* mode) const;

  // --- Adding (caller holds the lock). ---
  bool AddKeyboardItem(const KeyboardItemInfo* records, int count,
                       const std::vector<int>* categories, bool skipDuplicateCheck);
  bool AddOneItem(const KeyboardItemInfo* record, bool sortedInsert, bool skipDuplicateCheck);
  bool Grow(int needed);
  // Room in every index list (and its prefixes) for the entries a bulk add will append, so that
  // no list grows by doubling, copying itself and keeping the slack. Short of memory the lists
  // grow as they go, as they would without this.
  void ReserveForBulkAdd(const BulkEntries& entries);
  // Allocates room for `positions` records and three times as many slots; false when it cannot.
  bool EnsureRoom(int positions);
  bool Contains(const KeyboardItemInfo& record) const;

  // --- Removing, replacing, clearing (caller holds the lock unless said). ---
  int FindItem(const wchar_t* code, const wchar_t* hotKey, const wchar_t* name,
               const unsigned short* type, const DWORD* kind) const;
  int RemoveItem(const wchar_t* code, const wchar_t* hotKey, const wchar_t* name,
                 const unsigned short* type, const DWORD* kind);
  int ReplaceItem(const wchar_t* code, const wchar_t* hotKey, const wchar_t* name,
                  const unsigned short* type, const DWORD* kind, const wchar_t* newCode,
                  const wchar_t* newHotKey, const wchar_t* newName, const int* newExtraInfo,
                  IUnknown* newUnknown, const DWORD* newKind);
  bool RemoveMarket(unsigned char market);
  bool ClearSource();
  bool CollectCommandItems(std::set<int>& positions);
  bool RetainCommandItems();  // takes the lock itself

  // --- Matching (take the lock themselves). ---
  bool Search(const wchar_t* text, std::vector<KeyboardItemInfo>* results, bool excludeCommands);
  bool SearchInCategories(const wchar_t* text, std::vector<KeyboardItemInfo>* results,
                          bool excludeCommands, const std::vector<int>* categories);

  // --- Hand-over of the chosen item (no lock). ---
  bool Activate(KeyboardItemInfo* item, const wchar_t* typedText);

  // Fields, in the order the store documents them.
  IndexList m_arrIndex[INDEX_GROUPS][ITEM_CATEGORIES];
  KeyboardItemInfo* m_pItems;
  KeySlot* m_pSlots;
  int m_nItemCount;
  int m_nSlotCount;
  int m_nCapacity;
  unsigned char* m_pHitFlags;
  NumericKeyMap m_mapNumericKeys;
  HANDLE m_hLock;
  std::set<int> m_setFreeItems;
  std::set<int> m_setFreeSlots;
  int m_nOpenMode;
  CElementContainer* m_pTargetContainer;
  HWND m_hTargetWnd;
  int m_nPlacement;

  // Additions to the fields above. For every index list, the packed prefixes of its keys in list
  // order (KeyPrefix.h), kept in step by every operation that changes a list.
  KeyPrefixList m_arrKeyPrefix[INDEX_GROUPS][ITEM_CATEGORIES];
  // Positions whose hit flag the last search set: the next search clears only these.
  std::vector<int> m_vecHitPositions;
  // Off: every comparison reads the keys themselves (what the prefixes are checked against).
  bool m_bUseKeyPrefixes;
  // Positions allocated in the record array and the hit flags; the slot table has three times
  // as many. The capacity is what the store may hold; the room is what it has allocated, which
  // grows as positions and slots are taken: a new table holds a few dozen, and growing it keeps
  // an eighth more than asked, so that single adds do not copy the store every hundred records.
  // Past the room, records are default ones and slots free, as they would be in allocated arrays.
  int m_nRoom;
  // Set nodes taken before a removal changes anything: releasing its slots and its position then
  // needs no memory, so that running out of it cannot stop a removal half-way.
  std::set<int> m_setSpareNodes;
  // The same for the numeric map: taken before a numeric command is stored, so that a replacement,
  // which has removed the old record by then, cannot be left with neither.
  NumericKeyMap m_mapSpareNumericNodes;

 private:
  friend unsigned SortWorker(void* task);

  const wchar_t* SlotText(int slot) const;
  // The prefix list beside one of the table's index lists.
  KeyPrefixList& PrefixesAt(const IndexList& list);
  // The prefix list beside `list` if it is one of the table's lists and in step with it; with
  // the direction of its group.
  KeyPrefixList* ParallelPrefixes(const IndexList& list, bool* backward) const;
  // The prefixes that can stand in for the keys of `list` under `mode`, or null: for a list that
  // is not the table's, of the other direction, or out of step.
  const KeyPrefixList* PrefixesFor(const IndexList& list, const KeyCompareMode* mode) const;
  int Bound(const IndexList& list, int low, int high, const wchar_t* text, bool first,
            const KeyCompareMode* mode, const keyprefix::Probe* probe) const;
  // The equal run of `list` found from the prefixes alone, where they can tell it; false when
  // the keys must be compared.
  bool RangeByPrefixes(const KeyPrefixList& prefixes, const keyprefix::Probe& probe,
                       const KeyCompareMode* mode, std::pair<int, int>* range) const;
  std::pair<int, int> Range(const IndexList& list, const wchar_t* text, const KeyCompareMode* mode,
                            const keyprefix::Probe* probe) const;
  void SortRange(IndexList& list, uint64_t* prefixes, uint64_t* tails, uint64_t* nextTails,
                 bool decide, int low, int high, const KeyCompareMode* mode) const;
  // The next tails (keyprefix::NextTailOf) of a list about to be sorted, when enough of its keys
  // go on past their prefixes and tails to pay for reading its records once; null otherwise.
  uint64_t* NextTailsForSort(const IndexList& list, const uint64_t* prefixes, const uint64_t* tails,
                             bool backward) const;
  // The slot's entry if it names a record and a key within the table, else null.
  const KeySlot* ValidSlot(int slot) const;
  void MarkHit(int position);
  bool HasStorage() const { return m_pItems && m_pSlots; }
  int TakeSlotNumber();
  // Where a record's keys are filed: worked out once per record, for its six entries.
  struct Filing {
    int category;
    bool numeric;  // a numeric command, whose digit keys go to the numeric map
  };
  static Filing FilingOf(const KeyboardItemInfo& record);
  bool IndexKey(int key, const KeyboardItemInfo& record, int category, bool sortedInsert,
                int position);
  bool InsertSlot(int key, IndexList& list, const KeyboardItemInfo& record,
                  const KeyCompareMode* mode, bool sortedInsert, int position, int slot);
  bool IndexNumericCommand(const KeyboardItemInfo& record, int category, bool sortedInsert,
                           int position);
  bool NumericMapContains(const KeyboardItemInfo& record) const;
  bool StoreRecord(const KeyboardItemInfo& record, bool sortedInsert);
  bool StoreRecord(const KeyboardItemInfo& record, const Filing& filing, bool sortedInsert);
  bool Contains(const KeyboardItemInfo& record, const Filing& filing) const;
  // Room for one more entry in every list the record's keys go to; false when memory is short.
  bool ReserveForRecord(const KeyboardItemInfo& record, bool sortedInsert);
  bool ReserveForRecord(const KeyboardItemInfo& record, const Filing& filing, bool sortedInsert);
  bool RebuildWithCommands();  // RetainCommandItems with the lock held
  void SortLists(const std::vector<int>& categories);

  // A removal takes the entries of one record: the first position found, or `wanted` when it is
  // not negative. Two records can be identical (a bulk add of the same item twice), and taking
  // one entry of each would leave both half indexed.
  int RemoveFromNumericMap(const wchar_t* code, const wchar_t* hotKey, const wchar_t* name,
                           unsigned short type, DWORD kind);
  void EraseNumericEntriesOf(int position);
  // Direction 0 reports the slots it released; direction 1 takes them out of its lists too.
  int RemoveFromIndex(const wchar_t* code, const wchar_t* hotKey, const wchar_t* name,
                      unsigned short type, DWORD kind, int direction, int wanted,
                      int releasedSlots[3], int erasedSlots[3]);
  void NoteStaleEntries(int position, int mapped, int indexed, int category, const int forward[3],
                        const int backward[3]);
  // Nodes for what one removal releases (three slots and a position); false when memory is short.
  bool ReserveReleaseNodes();
  // Into a free set, on a spare node while there is one.
  void Release(std::set<int>& freeSet, int value);

  void SearchDigits(const wchar_t* text, std::vector<KeyboardItemInfo>* results,
                    const std::vector<int>* filter);
  void LookupNumericKeys(const wchar_t* text, std::vector<KeyboardItemInfo>* results);
  void SearchExact(const wchar_t* text, std::vector<KeyboardItemInfo>* results,
                   const std::vector<int>* filter);
  void SearchLetters(const wchar_t* text, std::vector<KeyboardItemInfo>* results,
                     const std::vector<int>* filter);
  void AppendListMatches(const wchar_t* text, int group, int category,
                         std::vector<KeyboardItemInfo>* results, const KeyCompareMode* mode);
  void ResolveAlias(const KeyboardItemInfo& alias, std::vector<KeyboardItemInfo>* results);
  // The data centre of the running search, taken at its first alias and held to its end.
  CDataMgr* AliasDataMgr();
  void ReleaseAliasDataMgr();
  void TidyResults(const wchar_t* text, std::vector<KeyboardItemInfo>* results, bool digits);

  // The typed text of the running search, prepared once for each direction.
  const wchar_t* m_pSearchText;
  // A search shows up to a hundred aliases: the environment is asked once, and the code the data
  // centre is asked for reuses one buffer.
  CDataMgr* m_pAliasDataMgr = nullptr;
  bool m_bAliasDataMgrLooked = false;
  std::wstring m_aliasCode;
  keyprefix::Probe m_searchProbes[2];
};
