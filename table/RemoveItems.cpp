// Removing, replacing, clearing and rebuilding. A record is found by its identity: code, hot key,
// name, type word and kind.
#include <algorithm>
#include <cstdio>
#include <iterator>
#include <new>
#include <set>
#include <utility>

#include "frame/GlobalEnv.h"
#include "platform/Platform.h"
#include "table/MappingTable.h"
#include "table/RecordArray.h"

namespace {

// The identity test: the two named texts equal ignoring case (no space skipping), type word and
// kind equal.
bool SameIdentity(const KeyboardItemInfo& stored, const wchar_t* first, const wchar_t* storedFirst,
                  const wchar_t* second, const wchar_t* storedSecond, unsigned short type,
                  DWORD kind) {
  return plat::CompareOrdinalNoCase(storedFirst, first) == 0 &&
         plat::CompareOrdinalNoCase(storedSecond, second) == 0 && stored.m_wType == type &&
         stored.m_dwKind == kind;
}

// A numeric map entry is keyed by the text of one of its record's digit keys, but the entry does
// not say which: a text such as "0" can be the code of one command and the name of another. So a
// map entry belongs to an identity only when all three texts match, whichever key it stands for.
bool IsRecordOf(const KeyboardItemInfo& stored, const wchar_t* code, const wchar_t* hotKey,
                const wchar_t* name, unsigned short type, DWORD kind) {
  return plat::CompareOrdinalNoCase(stored.m_szCode, code) == 0 &&
         SameIdentity(stored, hotKey, stored.m_szHotKey, name, stored.m_szName, type, kind);
}

int CategoryOfIdentity(const wchar_t* code, unsigned short type, DWORD kind) {
  KeyboardItemInfo probe;
  CopyKeyField(probe.m_szCode, code);
  int word = type;
  return CategoryOf(&probe, &word, &kind, 0);
}

// Command categories in the order in which the rebuild collects them.
const int kCommandCategories[] = {0, 1, 2, 3, 4, 5, 6, 9, 8, 7, 71};

}  // namespace

int KeyboardInputMappingTable::FindItem(const wchar_t* code, const wchar_t* hotKey,
                                        const wchar_t* name, const unsigned short* type,
                                        const DWORD* kind) const {
  // A null identity matches nothing.
  if (!code || !hotKey || !name || !type || !kind || !HasStorage()) return -1;
  const IndexList& list = m_arrIndex[0][CategoryOfIdentity(code, *type, *kind)];
  int high = static_cast<int>(list.size()) - 1;
  int first = SearchBound(list, 0, high, code, true, &MODE_FORWARD_WHOLE);
  if (first >= 0) {
    int last = SearchBound(list, first, high, code, false, &MODE_FORWARD_WHOLE);
    int end = last < 0 ? first : std::max(first, last);
    for (int p = first; p <= end; ++p) {
      int position = m_pSlots[list[p]].m_nItem;
      const KeyboardItemInfo& stored = m_pItems[position];
      if (SameIdentity(stored, hotKey, stored.m_szHotKey, name, stored.m_szName, *type, *kind))
        return position;
    }
  }
  auto range = m_mapNumericKeys.equal_range(code);
  for (auto it = range.first; it != range.second; ++it)
    if (IsRecordOf(m_pItems[it->second], code, hotKey, name, *type, *kind)) return it->second;
  return -1;
}

int KeyboardInputMappingTable::RemoveFromNumericMap(const wchar_t* code, const wchar_t* hotKey,
                                                    const wchar_t* name, unsigned short type,
                                                    DWORD kind) {
  int result = -1;
  const wchar_t* keys[3] = {code, hotKey, name};
  for (int pass = 0; pass < 3; ++pass) {
    auto range = m_mapNumericKeys.equal_range(keys[pass]);
    for (auto it = range.first; it != range.second; ++it) {
      if (result >= 0 && it->second != result) continue;
      if (IsRecordOf(m_pItems[it->second], code, hotKey, name, type, kind)) {
        result = it->second;
        m_mapNumericKeys.erase(it);
        break;
      }
    }
  }
  return result;
}

void KeyboardInputMappingTable::EraseNumericEntriesOf(int position) {
  for (int key = 0; key < 3; ++key) {
    auto range = m_mapNumericKeys.equal_range(KeyText(m_pItems[position], key));
    for (auto it = range.first; it != range.second;)
      it = it->second == position ? m_mapNumericKeys.erase(it) : std::next(it);
  }
}

int KeyboardInputMappingTable::RemoveFromIndex(const wchar_t* code, const wchar_t* hotKey,
                                               const wchar_t* name, unsigned short type, DWORD kind,
                                               int direction, int wanted, int releasedSlots[3],
                                               int erasedSlots[3]) {
  KeyCompareMode mode = {static_cast<unsigned char>(direction), 0};
  int category = CategoryOfIdentity(code, type, kind);
  if (category < 0 || category >= ITEM_CATEGORIES) return -1;
  const wchar_t* texts[3] = {code, hotKey, name};
  IndexList* lists[3];
  std::pair<int, int> ranges[3];
  for (int key = 0; key < 3; ++key) {
    lists[key] = &m_arrIndex[2 * key + direction][category];
    ranges[key] =
        EqualRange(*lists[key], static_cast<int>(lists[key]->size()) - 1, texts[key], &mode);
  }
  int result = -1;
  for (int key = 0; key < 3; ++key) {
    IndexList& list = *lists[key];
    bool erased = false;
    for (int p = ranges[key].first; p >= 0 && p <= ranges[key].second; ++p) {
      int slot = list[p];
      int position = m_pSlots[slot].m_nItem;
      if (wanted >= 0 && position != wanted) continue;
      const KeyboardItemInfo& s = m_pItems[position];
      bool match = key == 0   ? SameIdentity(s, hotKey, s.m_szHotKey, name, s.m_szName, type, kind)
                   : key == 1 ? SameIdentity(s, code, s.m_szCode, name, s.m_szName, type, kind)
                              : SameIdentity(s, hotKey, s.m_szHotKey, code, s.m_szCode, type, kind);
      if (match) {
        list.erase(list.begin() + p);
        KeyPrefixList& prefixes = PrefixesAt(list);
        prefixes.Erase(static_cast<size_t>(p));
        Release(m_setFreeSlots, slot);
        result = wanted = position;
        erased = true;
        erasedSlots[key] = slot;
        if (direction == 0) releasedSlots[key] = slot;
        break;
      }
    }
    // The backward comparison does not fold case, so a key given in other letters can miss its
    // backward entry; the slot the forward pass released stands in this list too and must leave
    // it, or a search would still find the removed record.
    if (direction == 1 && !erased && releasedSlots[key] >= 0) {
      auto stale = std::find(list.begin(), list.end(), releasedSlots[key]);
      if (stale != list.end()) {
        KeyPrefixList& prefixes = PrefixesAt(list);
        prefixes.Erase(static_cast<size_t>(stale - list.begin()));
        list.erase(stale);
        erasedSlots[key] = releasedSlots[key];
      }
    }
  }
  return result;
}

// Keys out of strict order (spaces, mixed case, full-width letters) can hide an entry from the
// removal's binary searches, and a key that compares equal to another's by skipping spaces can
// let another list's test release the record while this list keeps its entry. Such entries would
// stay in their lists while their position or slot is released, and whatever later takes them
// would change the key under them: they leave their lists with the record, and their slots are
// released. Found by a scan of the lists concerned, which only such a removal pays for.
void KeyboardInputMappingTable::NoteStaleEntries(int position, int mapped, int indexed,
                                                 int category, const int forward[3],
                                                 const int backward[3]) {
  bool consistent = mapped < 0 || indexed < 0 || mapped == indexed;
  const KeyboardItemInfo* record =
      position >= 0 && position < m_nRoom ? &m_pItems[position] : nullptr;
  for (int key = 0; key < 3 && consistent; ++key) {
    consistent = forward[key] == backward[key];
    if (consistent && record) {
      const wchar_t* text = KeyText(*record, key);
      // Empty keys are never found, and their prefixes decide nothing already.
      bool listed = text[0] && !(IsNumericCommand(*record) && ClassifyKey(text) == 0);
      consistent = !listed || forward[key] >= 0;
    }
  }
  if (consistent) return;
  int categories[2] = {category, -1};
  if (record) {
    int type = record->m_wType;
    DWORD kind = record->m_dwKind;
    categories[1] = CategoryOf(record, &type, &kind, 0);
    if (categories[1] == category) categories[1] = -1;
  }
  for (int c : categories) {
    if (c < 0 || c >= ITEM_CATEGORIES) continue;
    for (int g = 0; g < INDEX_GROUPS; ++g) {
      const int key = g / 2;
      IndexList& list = m_arrIndex[g][c];
      KeyPrefixList& prefixes = m_arrKeyPrefix[g][c];
      for (size_t i = list.size(); i-- > 0;) {
        const int slot = list[i];
        const KeySlot& s = m_pSlots[slot];
        bool leftBehind = position >= 0 && s.m_nItem == position && s.m_nKey == key;
        if (slot != forward[key] && slot != backward[key] && !leftBehind) continue;
        if (i < prefixes.size()) prefixes.Erase(i);
        list.erase(list.begin() + static_cast<ptrdiff_t>(i));
        Release(m_setFreeSlots, slot);
      }
    }
  }
}

bool KeyboardInputMappingTable::ReserveReleaseNodes() {
  try {
    // Values no free set holds; they only carry the nodes.
    for (int spare = -1; m_setSpareNodes.size() < 4; --spare) m_setSpareNodes.insert(spare);
  } catch (const std::bad_alloc&) {
    return false;
  }
  return true;
}

void KeyboardInputMappingTable::Release(std::set<int>& freeSet, int value) {
  if (m_setSpareNodes.empty() || freeSet.count(value)) {
    freeSet.insert(value);
    return;
  }
  auto node = m_setSpareNodes.extract(m_setSpareNodes.begin());
  node.value() = value;
  freeSet.insert(std::move(node));
}

int KeyboardInputMappingTable::RemoveItem(const wchar_t* code, const wchar_t* hotKey,
                                          const wchar_t* name, const unsigned short* type,
                                          const DWORD* kind) {
  if (!code || !hotKey || !name || !type || !kind || !HasStorage()) return 0;
  if (!ReserveReleaseNodes()) return 0;
  int position = RemoveFromNumericMap(code, hotKey, name, *type, *kind);
  int releasedSlots[3] = {-1, -1, -1}, backwardSlots[3] = {-1, -1, -1};
  int indexed =
      RemoveFromIndex(code, hotKey, name, *type, *kind, 0, position, releasedSlots, releasedSlots);
  int mapped = position;
  if (position < 0) position = indexed;
  // Found through its index entries alone (its texts equal the given ones only with spaces
  // skipped), a numeric command must not leave its map entries pointing at a free position.
  if (mapped < 0 && position >= 0) EraseNumericEntriesOf(position);
  // The backward lists give up the entries of the record found, and of no other: when the
  // forward lists and the map found none, nothing is removed.
  if (position >= 0)
    RemoveFromIndex(code, hotKey, name, *type, *kind, 1, position, releasedSlots, backwardSlots);
  NoteStaleEntries(position, mapped, indexed, CategoryOfIdentity(code, *type, *kind), releasedSlots,
                   backwardSlots);
  if (position < 0) return 0;
  // The record stays in place, still holding its object, until the position is reused.
  Release(m_setFreeItems, position);
  return 1;
}

int KeyboardInputMappingTable::ReplaceItem(const wchar_t* code, const wchar_t* hotKey,
                                           const wchar_t* name, const unsigned short* type,
                                           const DWORD* kind, const wchar_t* newCode,
                                           const wchar_t* newHotKey, const wchar_t* newName,
                                           const int* newExtraInfo, IUnknown* newUnknown,
                                           const DWORD* newKind) {
  int position = FindItem(code, hotKey, name, type, kind);
  if (position < 0) return 0;
  if (!m_pItems) return 1;
  KeyboardItemInfo copy = m_pItems[position];
  if (newCode) CopyKeyField(copy.m_szCode, newCode);
  if (newHotKey) CopyKeyField(copy.m_szHotKey, newHotKey);
  if (newName) CopyKeyField(copy.m_szName, newName);
  if (newExtraInfo) copy.m_nExtraInfo = *newExtraInfo;
  if (newKind) copy.m_dwKind = *newKind;

  if (newUnknown) {
    if (newUnknown != copy.m_pUnknown) {
      newUnknown->AddRef();
      if (copy.m_pUnknown) copy.m_pUnknown->Release();
      copy.m_pUnknown = newUnknown;
    }
  } else {
    // Without a new object the record carries a package of itself as it now reads.
    auto* package = new (std::nothrow) CPackager<KeyboardItemInfo>(copy);
    if (package) package->AddRef();
    IUnknown* packageId = nullptr;
    if (package &&
        package->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&packageId)) != S_OK)
      packageId = nullptr;
    if (!copy.m_pUnknown) {
      copy.m_pUnknown = packageId;
    } else if (package) {
      IUnknown* currentId = nullptr;
      if (copy.m_pUnknown->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&currentId)) !=
          S_OK)
        currentId = nullptr;
      bool same = currentId && currentId == packageId;
      if (currentId) currentId->Release();
      if (same) {
        if (packageId) packageId->Release();
      } else {
        IUnknown* old = copy.m_pUnknown;
        copy.m_pUnknown = packageId;
        old->Release();
      }
    } else {
      IUnknown* old = copy.m_pUnknown;
      copy.m_pUnknown = nullptr;
      old->Release();
    }
    if (package) package->Release();
  }

  // Out of memory the old record stays: never neither of the two.
  if (!ReserveReleaseNodes() || !ReserveForRecord(copy, true)) return 0;
  RemoveItem(code, hotKey, name, type, kind);
  if (HasStorage()) {
    TRefPtr<CGlobalEnv> env = CGlobalEnv::GetGlobalEnv();
    if (env && !env->IsClosing() && !Contains(copy)) StoreRecord(copy, true);
  }
  return 1;
}

bool KeyboardInputMappingTable::RemoveMarket(unsigned char market) {
  if (!m_pItems) return false;
  // Whatever can run out of memory works on copies first: a removal stopped by it leaves the
  // store as it was, never a market half gone.
  NumericKeyMap kept;
  for (const auto& entry : m_mapNumericKeys)
    if (m_pItems[entry.second].m_cMarket != market) kept.insert(entry);
  std::set<int> freeSlots = m_setFreeSlots, freeItems = m_setFreeItems;
  for (int g = 0; g < INDEX_GROUPS; ++g)
    for (int c = 0; c < ITEM_CATEGORIES; ++c)
      for (int slot : m_arrIndex[g][c]) {
        int position = m_pSlots[slot].m_nItem;
        if (m_pItems[position].m_cMarket != market) continue;
        freeSlots.insert(slot);
        // A position is released through its code entry only.
        if (g == 0) freeItems.insert(position);
      }
  // From here on nothing allocates.
  for (int g = 0; g < INDEX_GROUPS; ++g) {
    for (int c = 0; c < ITEM_CATEGORIES; ++c) {
      IndexList& list = m_arrIndex[g][c];
      KeyPrefixList& prefixes = m_arrKeyPrefix[g][c];
      size_t out = 0;
      for (size_t in = 0; in < list.size(); ++in) {
        int slot = list[in];
        if (m_pItems[m_pSlots[slot].m_nItem].m_cMarket == market) continue;
        prefixes.MutableData()[out] = prefixes[in];
        list[out++] = slot;
      }
      list.resize(out);
      prefixes.Truncate(out);
      prefixes.Recount();
    }
  }
  m_mapNumericKeys.swap(kept);
  m_setFreeSlots.swap(freeSlots);
  m_setFreeItems.swap(freeItems);
  return true;
}

bool KeyboardInputMappingTable::ClearSource() {
  fputs("KeyboardInputMappingTable::ClearSource\n", stdout);
  for (auto& group : m_arrIndex)
    for (auto& list : group) IndexList().swap(list);
  for (auto& group : m_arrKeyPrefix)
    for (auto& prefixes : group) prefixes.Release();
  std::vector<int>().swap(m_vecHitPositions);
  DeleteRecordArray(m_pItems, m_nRoom);
  delete[] m_pSlots;
  delete[] m_pHitFlags;
  m_pItems = nullptr;
  m_pSlots = nullptr;
  m_pHitFlags = nullptr;
  m_nItemCount = 0;
  m_nSlotCount = 0;
  m_nCapacity = m_nRoom = 0;
  m_mapNumericKeys.clear();
  m_setFreeItems.clear();
  m_setFreeSlots.clear();
  return true;
}

bool KeyboardInputMappingTable::CollectCommandItems(std::set<int>& positions) {
  for (int g = 0; g < INDEX_GROUPS; ++g)
    for (int c : kCommandCategories)
      for (int slot : m_arrIndex[g][c]) positions.insert(m_pSlots[slot].m_nItem);
  for (const auto& entry : m_mapNumericKeys) positions.insert(entry.second);
  if (m_setFreeItems.empty()) return !positions.empty();
  for (int position : m_setFreeItems) positions.erase(position);
  m_setFreeItems.clear();
  m_setFreeSlots.clear();
  return !positions.empty();
}

// Compacts the store to its command records. A store without any command record is left as it
// is and the result is false.
bool KeyboardInputMappingTable::RetainCommandItems() {
  if (!Lock()) return true;
  bool result = true;
  try {
    result = RebuildWithCommands();
  } catch (...) {
    // Out of memory part-way: the store may be left empty, but never locked.
  }
  Unlock();
  return result;
}

bool KeyboardInputMappingTable::RebuildWithCommands() {
  std::set<int> positions;
  if (!CollectCommandItems(positions)) return false;
  int count = static_cast<int>(positions.size());
  KeyboardItemInfo* commands = new (std::nothrow) KeyboardItemInfo[count];
  if (!commands) return true;
  int i = 0;
  for (int position : positions) commands[i++] = m_pItems[position];
  ClearSource();
  AllocateStorage();
  static const std::vector<int> kAllCategories;
  AddKeyboardItem(commands, count, &kAllCategories, false);
  delete[] commands;
  return true;
}
