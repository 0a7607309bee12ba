// Matching typed text. The order of the result is not scored: it falls out of a fixed sequence
// of index searches and of the key order inside each list, and stops at 100 records.
#include <algorithm>
#include <cstring>

#include "frame/DataComFun.h"
#include "frame/DataMgr.h"
#include "frame/GlobalEnv.h"
#include "platform/Platform.h"
#include "table/MappingTable.h"

namespace {

const int kExactGroups[] = {2, 0, 4};
const int kForwardGroups[] = {0, 2, 4};
const int kBackwardGroups[] = {1, 3, 5};
const int kAllGroups[] = {0, 2, 4, 1, 3, 5};
const int kNoHotKeyGroups[] = {0, 4, 1, 5};

struct GroupSequence {
  const int* groups;
  int count;
};
const GroupSequence FWD = {kForwardGroups, 3};
const GroupSequence BWD = {kBackwardGroups, 3};
const GroupSequence ALL = {kAllGroups, 6};
const GroupSequence NOHOTKEY = {kNoHotKeyGroups, 4};

// Category classes of the ordered category lists.
enum { CLASS_FUNCTION = 0, CLASS_ORDINARY = 1, CLASS_HONG_KONG = 2, CLASS_PRIORITY = 3 };

struct CategoryOrder {
  int cls[ITEM_CATEGORIES];
  int category[ITEM_CATEGORIES];
  int count = 0;
  bool listed[ITEM_CATEGORIES] = {};
  void Add(int c, int k) {
    cls[count] = k;
    category[count++] = c;
    listed[c] = true;
  }
};

// The category filter as a lookup; an empty or missing filter lets every category through.
struct CategoryFilter {
  bool active = false;
  bool allowed[ITEM_CATEGORIES] = {};
  explicit CategoryFilter(const std::vector<int>* filter) {
    if (!filter || filter->empty()) return;
    active = true;
    for (int c : *filter)
      if (c >= 0 && c < ITEM_CATEGORIES) allowed[c] = true;
  }
  bool Skips(int c) const { return active && !allowed[c]; }
};

bool IsFull(const std::vector<KeyboardItemInfo>* results) {
  return results->size() >= static_cast<size_t>(SEARCH_RESULT_CAP);
}

bool IsCommandOfAnyGroup(const KeyboardItemInfo& r) {
  unsigned hi = r.m_wType >> 8;
  return r.m_dwKind == KIND_COMMAND && hi >= 100 && hi <= 103;
}

bool IsTradeCommand(const KeyboardItemInfo& r) {
  return r.m_dwKind == KIND_COMMAND && r.m_wType >= 0x6700 && r.m_wType <= 0x6704;
}

bool IsMiniTradeFunction(const KeyboardItemInfo& r) {
  return r.m_dwKind == KIND_COMMAND && r.m_wType == 0x6400 &&
         (plat::CompareOrdinalNoCase(r.m_szCode, L"RHJYPT") == 0 ||
          plat::CompareOrdinalNoCase(r.m_szCode, L"RHJYXY") == 0 ||
          plat::CompareOrdinalNoCase(r.m_szCode, L"RHJYGM") == 0);
}

template <class Pred>
void RemoveWhere(std::vector<KeyboardItemInfo>* results, Pred pred) {
  results->erase(std::remove_if(results->begin(), results->end(), pred), results->end());
}

}  // namespace

bool KeyboardInputMappingTable::Search(const wchar_t* text, std::vector<KeyboardItemInfo>* results,
                                       bool excludeCommands) {
  return SearchInCategories(text, results, excludeCommands, nullptr);
}

bool KeyboardInputMappingTable::SearchInCategories(const wchar_t* text,
                                                   std::vector<KeyboardItemInfo>* results,
                                                   bool excludeCommands,
                                                   const std::vector<int>* categories) {
  if (!Lock()) return false;
  if (!text || !text[0] || !results) {
    Unlock();
    return false;
  }
  // Running out of memory ends the search with nothing found and the lock released.
  try {
    results->clear();
    if (results->capacity() < static_cast<size_t>(SEARCH_RESULT_CAP))
      results->reserve(SEARCH_RESULT_CAP);
    // Only the flags the last search set can be 1.
    if (m_pHitFlags)
      for (int position : m_vecHitPositions)
        if (position >= 0 && position < m_nRoom) m_pHitFlags[position] = 0;
    m_vecHitPositions.clear();
    m_pSearchText = text;
    m_searchProbes[0].Prepare(text, false);
    m_searchProbes[1].Prepare(text, true);

    bool digits = ClassifyKey(text) == 0;
    if (digits) {
      SearchDigits(text, results, categories);
    } else {
      SearchExact(text, results, categories);
      if (!IsFull(results)) SearchLetters(text, results, categories);
    }
    if (excludeCommands) RemoveWhere(results, IsCommandOfAnyGroup);
    TidyResults(text, results, digits);

    bool filtered = categories && !categories->empty();
    if (!filtered) {
      if (m_nOpenMode == OPEN_MODE_EXACT_POSITION || m_nOpenMode == OPEN_MODE_MINI_TRADE)
        RemoveWhere(results, IsTradeCommand);
      else if (m_nOpenMode == OPEN_MODE_TRADING_WORKSPACE)
        RemoveWhere(results, IsMiniTradeFunction);
    }
  } catch (...) {
    m_pSearchText = nullptr;
    ReleaseAliasDataMgr();
    results->clear();
    Unlock();
    return false;
  }
  m_pSearchText = nullptr;
  ReleaseAliasDataMgr();
  Unlock();
  return true;
}

void KeyboardInputMappingTable::MarkHit(int position) {
  // Noted before the flag is set: a failed note leaves the flag clear, never set and forgotten.
  m_vecHitPositions.push_back(position);
  m_pHitFlags[position] = 1;
}

void KeyboardInputMappingTable::AppendListMatches(const wchar_t* text, int group, int category,
                                                  std::vector<KeyboardItemInfo>* results,
                                                  const KeyCompareMode* mode) {
  const IndexList& list = m_arrIndex[group][category];
  if (list.empty()) return;
  const keyprefix::Probe* probe =
      text == m_pSearchText ? &m_searchProbes[mode->m_bBackward ? 1 : 0] : nullptr;
  // A list none of whose keys begins (backward: ends) as the text does is passed over before
  // any comparison.
  if (probe && probe->first && m_bUseKeyPrefixes) {
    const KeyPrefixList& prefixes = m_arrKeyPrefix[group][category];
    // A text of one character matches as a whole only keys that end after their first.
    int second = probe->second ? static_cast<int>(probe->second)
                 : !mode->m_bBackward && !mode->m_bPrefix && probe->end == 1 ? 0
                                                                             : -1;
    if (prefixes.size() == list.size() && !prefixes.MayBeginWith(probe->first, second)) return;
  }
  std::pair<int, int> range = Range(list, text, mode, probe);
  if (range.first < 0 || range.first > range.second) return;
  KEYBOARD_SELECT_TYPE selectType = !mode->m_bPrefix     ? KEYBOARD_SELECT_WHOLE
                                    : !mode->m_bBackward ? KEYBOARD_SELECT_BEGIN
                                                         : KEYBOARD_SELECT_END;
  for (int p = range.first; p <= range.second; ++p) {
    int position = m_pSlots[list[p]].m_nItem;
    if (!m_pHitFlags[position]) {
      KeyboardItemInfo& stored = m_pItems[position];
      stored.m_eSelectType = selectType;
      if (stored.m_dwKind == KIND_COMMAND) {
        results->push_back(stored);
        // The favourites command is shown under its numeric code and full spelling.
        if (plat::CompareOrdinalNoCase(stored.m_szCode, L"ZXG") == 0 &&
            plat::CompareOrdinalNoCase(stored.m_szHotKey, L"ZXG") == 0) {
          CopyKeyField(results->back().m_szCode, L"06");
          CopyKeyField(results->back().m_szHotKey, L"QBZX");
        }
      } else if (stored.m_dwKind == KIND_ALIAS || stored.m_dwKind == KIND_FULL_PINYIN_ALIAS) {
        ResolveAlias(stored, results);
      } else {
        results->push_back(stored);
      }
      MarkHit(position);
    }
    if (IsFull(results)) return;
  }
}

void KeyboardInputMappingTable::LookupNumericKeys(const wchar_t* text,
                                                  std::vector<KeyboardItemInfo>* results) {
  if (m_mapNumericKeys.empty()) return;
  auto range = m_mapNumericKeys.equal_range(text);
  for (auto it = range.first; it != range.second; ++it) {
    if (m_pHitFlags[it->second]) continue;
    m_pItems[it->second].m_eSelectType = KEYBOARD_SELECT_WHOLE;
    results->push_back(m_pItems[it->second]);
    MarkHit(it->second);
  }
}

void KeyboardInputMappingTable::SearchExact(const wchar_t* text,
                                            std::vector<KeyboardItemInfo>* results,
                                            const std::vector<int>* categories) {
  CategoryFilter filter(categories);
  for (int c = 0; c < ITEM_CATEGORIES; ++c) {
    if (filter.Skips(c)) continue;
    for (int g : kExactGroups) {
      AppendListMatches(text, g, c, results, &MODE_FORWARD_WHOLE);
      if (IsFull(results)) return;
    }
  }
}

namespace {

// Runs one group sequence over one category; true once the result is full.
template <class Append>
bool RunSequence(const GroupSequence& sequence, Append append) {
  for (int i = 0; i < sequence.count; ++i) {
    int g = sequence.groups[i];
    if (append(g, g % 2 ? &MODE_BACKWARD_SUFFIX : &MODE_FORWARD_PREFIX)) return true;
  }
  return false;
}

}  // namespace

void KeyboardInputMappingTable::SearchDigits(const wchar_t* text,
                                             std::vector<KeyboardItemInfo>* results,
                                             const std::vector<int>* categories) {
  LookupNumericKeys(text, results);
  if (IsFull(results)) return;
  SearchExact(text, results, categories);
  if (IsFull(results)) return;

  CategoryOrder order;
  for (int c = 0; c <= 4; ++c) order.Add(c, CLASS_PRIORITY);
  static const int kShortOrder[] = {11, 12, 13, 14};
  static const int kLongOrder[] = {12, 13, 14, 11};
  // With four or more digits the Shenzhen A categories come before Shanghai A.
  const int* aShares = wcslen(text) <= 3 ? kShortOrder : kLongOrder;
  for (int k = 0; k < 4; ++k) order.Add(aShares[k], CLASS_PRIORITY);
  order.Add(15, CLASS_PRIORITY);
  for (int c = 0; c < ITEM_CATEGORIES; ++c) {
    if (order.listed[c]) continue;
    int cls = c >= 21 && c <= 23 ? CLASS_HONG_KONG : c == 64 ? CLASS_PRIORITY : CLASS_ORDINARY;
    order.Add(c, cls);
  }

  CategoryFilter filter(categories);
  for (int pass = 1; pass <= 3; ++pass) {
    for (int k = 0; k < order.count; ++k) {
      int c = order.category[k];
      if (filter.Skips(c)) continue;
      const GroupSequence* sequence = nullptr;
      switch (order.cls[k]) {
        case CLASS_PRIORITY:
          sequence = pass == 1 ? &BWD : pass == 2 ? &FWD : nullptr;
          break;
        case CLASS_ORDINARY:
          sequence = pass == 2 ? &FWD : pass == 3 ? &BWD : nullptr;
          break;
        case CLASS_HONG_KONG:
          sequence = pass == 2 ? &BWD : pass == 3 ? &FWD : nullptr;
          break;
      }
      if (!sequence) continue;
      bool full = RunSequence(*sequence, [&](int g, const KeyCompareMode* mode) {
        AppendListMatches(text, g, c, results, mode);
        return IsFull(results);
      });
      if (full) return;
    }
  }
}

void KeyboardInputMappingTable::SearchLetters(const wchar_t* text,
                                              std::vector<KeyboardItemInfo>* results,
                                              const std::vector<int>* categories) {
  CategoryFilter filter(categories);
  auto runOn = [&](int c, const GroupSequence& sequence) {
    return RunSequence(sequence, [&](int g, const KeyCompareMode* mode) {
      AppendListMatches(text, g, c, results, mode);
      return IsFull(results);
    });
  };
  if (plat::CompareOrdinalNoCase(text, L"MSCI") == 0) {
    for (int c : {71, 37, 39, 40}) {
      if (filter.Skips(c)) continue;
      if (runOn(c, FWD)) return;
    }
  }

  CategoryOrder order;
  for (int c : {0, 1, 2, 3, 4, 10, 11, 12, 13, 14, 64, 65}) order.Add(c, CLASS_PRIORITY);
  for (int c = 0; c < ITEM_CATEGORIES; ++c)
    if (!order.listed[c]) order.Add(c, c == 5 ? CLASS_FUNCTION : CLASS_ORDINARY);

  // Pass A: the priority categories give all their beginnings first.
  for (int k = 0; k < order.count; ++k) {
    int c = order.category[k];
    if (filter.Skips(c) || order.cls[k] != CLASS_PRIORITY) continue;
    if (runOn(c, FWD)) return;
  }
  // Pass B: everything else gives beginnings and endings together; the function commands are
  // not matched by their hot key here.
  for (int k = 0; k < order.count; ++k) {
    int c = order.category[k];
    if (filter.Skips(c)) continue;
    const GroupSequence& sequence = order.cls[k] == CLASS_ORDINARY   ? ALL
                                    : order.cls[k] == CLASS_PRIORITY ? BWD
                                                                     : NOHOTKEY;
    if (runOn(c, sequence)) return;
  }
}

CDataMgr* KeyboardInputMappingTable::AliasDataMgr() {
  if (!m_bAliasDataMgrLooked) {
    m_bAliasDataMgrLooked = true;
    TRefPtr<CGlobalEnv> env = CGlobalEnv::GetGlobalEnv();
    m_pAliasDataMgr = env ? dynamic_cast<CDataMgr*>(env->GetDataMgr()) : nullptr;
    if (m_pAliasDataMgr) m_pAliasDataMgr->AddRef();
  }
  return m_pAliasDataMgr;
}

void KeyboardInputMappingTable::ReleaseAliasDataMgr() {
  if (m_pAliasDataMgr) m_pAliasDataMgr->Release();
  m_pAliasDataMgr = nullptr;
  m_bAliasDataMgrLooked = false;
}

void KeyboardInputMappingTable::ResolveAlias(const KeyboardItemInfo& alias,
                                             std::vector<KeyboardItemInfo>* results) {
  CDataMgr* dataMgr = AliasDataMgr();
  if (!dataMgr) return;
  m_aliasCode.assign(alias.m_szCode);
  const STK_PER* security = dataMgr->GetOneStkInfo(m_aliasCode, alias.m_cMarket);
  if (!security) return;
  wchar_t* name = nullptr;
  if (!CDataComFun::GB2312ToUnicode(security->m_szName, name) || !name) return;
  results->push_back(alias);
  CopyKeyField(results->back().m_szName, name);
  // Beyond the store a full-pinyin alias is an alias like any other: the list, the history and
  // the hand-over see kind 258.
  results->back().m_dwKind = KIND_ALIAS;
  delete[] name;
}
