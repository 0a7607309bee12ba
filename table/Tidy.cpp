// Tidying a result: the first of each group of equivalent records stays, former names go when
// digits were typed, and former names of B shares, funds and bonds move next to their kind.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <cwchar>

#include "platform/Platform.h"
#include "table/MappingTable.h"

namespace {

// Kind used only while a former name waits to be placed: it makes CategoryOf answer with the
// category of the security it names.
const DWORD KIND_MOVED_FORMER_NAME = 259;

struct DuplicateKey {
  int kindClass;
  unsigned short type;
  const wchar_t* code;
  const wchar_t* name;
};

bool operator==(const DuplicateKey& a, const DuplicateKey& b) {
  return a.kindClass == b.kindClass && a.type == b.type && wcscmp(a.code, b.code) == 0 &&
         wcscmp(a.name, b.name) == 0;
}

// Records of a result that share their code and differ in kind or name are few: the code
// alone spreads them, and a rotation per character keeps the loop off a multiply's latency.
uint32_t HashOf(const DuplicateKey& key) {
  uint64_t hash = static_cast<uint32_t>(key.kindClass) * 31u + key.type;
  for (const wchar_t* c = key.code; *c; ++c)
    hash = ((hash << 7) | (hash >> 57)) ^ static_cast<uint32_t>(*c);
  hash *= 0x9E3779B97F4A7C15ull;
  return static_cast<uint32_t>(hash >> 32);
}

// The keys of the records kept so far, open-addressed by their number: at most twice as full as
// a result is long. Only the table of numbers is cleared for each search.
class SeenKeys {
 public:
  explicit SeenKeys(size_t count) {
    size_t size = 16;
    while (size < 2 * count) size *= 2;
    m_places.assign(size, 0);
    m_keys.reserve(count);
  }
  // The place of `key`: taken by an equal key, or free for it.
  size_t Find(const DuplicateKey& key, uint32_t hash) const {
    size_t mask = m_places.size() - 1;
    size_t at = hash & mask;
    while (m_places[at]) {
      const Entry& entry = m_keys[m_places[at] - 1];
      if (entry.hash == hash && entry.key == key) break;
      at = (at + 1) & mask;
    }
    return at;
  }
  bool Taken(size_t at) const { return m_places[at] != 0; }
  void Put(size_t at, const DuplicateKey& key, uint32_t hash) {
    m_keys.push_back(Entry{key, hash});
    m_places[at] = static_cast<uint32_t>(m_keys.size());
  }

 private:
  struct Entry {
    DuplicateKey key;
    uint32_t hash;
  };
  std::vector<uint32_t> m_places;  // 1 + the number of the key in m_keys; 0 for free
  std::vector<Entry> m_keys;
};

int KindClass(DWORD kind) {
  if (kind == KIND_FORMER_NAME || kind == KIND_ALIAS || kind == KIND_MOVED_FORMER_NAME) return -1;
  return static_cast<int>(kind);
}

int CategoryWithKind(const KeyboardItemInfo& r, DWORD kind) {
  int type = r.m_wType;
  return CategoryOf(&r, &type, &kind, 0);
}

bool IsMovedCategory(int c) { return c == 17 || c == 18 || (c >= 39 && c <= 42); }

int Normalised(int c) {
  if (c == 39) return 40;
  if (c == 41) return 42;
  return c;
}

// Finds where a moved former name belongs, or -1.
int PlaceOf(const KeyboardItemInfo& v, const std::vector<KeyboardItemInfo>& results) {
  int cv = Normalised(CategoryWithKind(v, KIND_MOVED_FORMER_NAME));
  // First: right after the first run of the same kind of security and exactness that is
  // followed by something else.
  bool previousSame = false;
  for (size_t k = 0; k < results.size(); ++k) {
    const KeyboardItemInfo& r = results[k];
    bool same =
        Normalised(CategoryWithKind(r, r.m_dwKind)) == cv && r.m_eSelectType == v.m_eSelectType;
    if (!same && previousSame) return static_cast<int>(k);
    previousSame = same;
  }
  // Then: before the first less exact match (for an exact former name), or the first equally
  // exact match of a later category.
  for (size_t k = 0; k < results.size(); ++k) {
    const KeyboardItemInfo& r = results[k];
    int cr = Normalised(CategoryWithKind(r, r.m_dwKind));
    if ((cr == 64 || cr == 65) && v.m_eSelectType != KEYBOARD_SELECT_WHOLE) continue;
    if ((v.m_eSelectType == KEYBOARD_SELECT_WHOLE && r.m_eSelectType > KEYBOARD_SELECT_WHOLE) ||
        (r.m_eSelectType == v.m_eSelectType && cv < cr))
      return static_cast<int>(k);
  }
  return -1;
}

}  // namespace

void KeyboardInputMappingTable::TidyResults(const wchar_t* text,
                                            std::vector<KeyboardItemInfo>* results, bool digits) {
  if (results->empty()) return;
  bool msci = plat::CompareOrdinalNoCase(text, L"MSCI") == 0;
  // Compacted in place: a kept record is copied at most once, to its final slot, and its
  // duplicate key points there; slots before the write position are never written again.
  // Records taken out go to vectors reserved for all of them at once, so their keys stay put
  // as well.
  std::vector<KeyboardItemInfo>& r = *results;
  SeenKeys seen(r.size());
  std::vector<KeyboardItemInfo> moved, dropped;  // moved: oldest first until reversed below
  size_t kept = 0;
  for (size_t k = 0; k < r.size(); ++k) {
    const KeyboardItemInfo& record = r[k];
    DuplicateKey key = {KindClass(record.m_dwKind), record.m_wType, record.m_szCode,
                        record.m_szName};
    uint32_t hash = HashOf(key);
    size_t at = seen.Find(key, hash);
    if (seen.Taken(at)) continue;
    const KeyboardItemInfo* home;
    if (!msci && digits && record.m_dwKind == KIND_FORMER_NAME) {
      if (dropped.empty()) dropped.reserve(r.size());
      dropped.push_back(record);
      home = &dropped.back();
    } else if (!msci && !digits && record.m_dwKind == KIND_FORMER_NAME &&
               IsMovedCategory(CategoryWithKind(record, KIND_MOVED_FORMER_NAME))) {
      if (moved.empty()) moved.reserve(r.size());
      moved.push_back(record);
      moved.back().m_dwKind = KIND_MOVED_FORMER_NAME;
      home = &moved.back();
    } else {
      if (kept != k) r[kept] = record;
      home = &r[kept++];
    }
    key.code = home->m_szCode;
    key.name = home->m_szName;
    seen.Put(at, key, hash);
  }
  r.resize(kept);
  std::reverse(moved.begin(), moved.end());  // newest first
  if (moved.empty()) return;

  for (size_t m = 0; m < moved.size();) {
    int place = PlaceOf(moved[m], *results);
    if (place < 0) {
      ++m;
      continue;
    }
    moved[m].m_dwKind = KIND_FORMER_NAME;
    results->insert(results->begin() + place, moved[m]);
    moved.erase(moved.begin() + static_cast<long>(m));
  }
  for (size_t m = moved.size(); m-- > 0;) {
    moved[m].m_dwKind = KIND_FORMER_NAME;
    results->push_back(moved[m]);
  }
}
