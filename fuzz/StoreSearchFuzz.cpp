// The store and its search under an arbitrary sequence of single and bulk adds, removals,
// replacements, market removals and searches: nothing crashes, the store's invariants hold after
// every step, and every search gives at most 100 records, each of which really matches the typed
// text in the way its select type says, and the same records in the same order as a twin table
// that compares the keys alone.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "tests/native/support/TableFixture.h"

namespace {

void Check(bool ok) {
  if (!ok) abort();
}

const int kMaxOperations = 48;
// The fuzz build sorts a bulk add's lists on the calling thread (HKM_BULK_ADD_WITHOUT_POLL), so
// bulk adds cost no more than their records; past a few, later ones become single adds.
const int kMaxBulkAdds = 4;

// Reads the input a byte at a time; zeros once it is used up.
struct Input {
  const uint8_t* data;
  const uint8_t* end;
  uint8_t Byte() { return data < end ? *data++ : 0; }
  bool More() const { return data < end; }
};

// A few characters, so that keys share beginnings and endings and searches find them. The rich
// set adds lower-case letters, spaces, full-width letters and characters above U+FFFF, under
// which the lists' key order is no longer a strict weak order (the backward comparison matches
// case-insensitively but orders by the unconverted characters: "a" < "AA" < "C" < "a"), so the
// store checker does not ask for order there.
const wchar_t kPlain[] = {L'0', L'1', L'2', L'6', L'9', L'A', L'B', L'C', L'X', L'Y', L'Z', 0x4E2D};
const wchar_t kRich[] = {L'0',   L'1',   L'6',    L'A',    L'B',   L'Z',   L'a',
                         L'b',   L'z',   L' ',    0xFF21,  0xFF41, 0xFF11, 0x4E2D,
                         0x00E9, 0x00C9, 0x1F600, 0x10400, 0x10428};

struct Run {
  Input in;
  bool rich;
  std::vector<KeyboardItemInfo> added;  // identities handed to the store, for removals

  std::wstring Text(int maxLength) {
    const int length = 1 + in.Byte() % maxLength;
    std::wstring text;
    for (int i = 0; i < length; ++i) {
      const uint8_t c = in.Byte();
      wchar_t ch = rich ? kRich[c % (sizeof(kRich) / sizeof(kRich[0]))]
                        : kPlain[c % (sizeof(kPlain) / sizeof(kPlain[0]))];
      if (sizeof(wchar_t) == 2 && ch > 0xFFFF) ch = 0xD83D;
      text.push_back(ch);
    }
    return text;
  }

  KeyboardItemInfo NewItem() {
    // Securities of several categories, aliases, former names and commands of every group,
    // numeric ones included (their digit keys go to the map).
    static const unsigned short kTypes[] = {0x0102, 0x0006, 0x0101, 0x7403, 0x0109, 0x0797,
                                            0x0112, 0xFFFF, 0x6400, 0x6500, 0x6600, 0x6702};
    static const unsigned char kMarkets[] = {0, 1, 2, 0xFF};  // 0xFF is never removed
    const uint8_t shape = in.Byte();
    const unsigned short type = kTypes[shape % 12];
    const DWORD kind = type >= 0x6400 && type < 0x6800 ? KIND_COMMAND
                       : shape / 12 % 5 == 3           ? KIND_ALIAS
                       : shape / 12 % 5 == 4           ? KIND_FORMER_NAME
                                                       : 0;
    const std::wstring code = Text(6), hotKey = Text(4), name = Text(4);
    // A numeric command whose code stands in the numeric map keeps its position when its
    // market goes: it comes, like the terminal's commands, with the market no removal names.
    const unsigned char market = type == 0x6400 ? 0xFF : kMarkets[in.Byte() % 4];
    const int extra = in.Byte();
    return Item(code.c_str(), hotKey.c_str(), name.c_str(), type, kind, market, extra);
  }

  KeyboardItemInfo* Known() {
    if (added.empty()) return nullptr;
    return &added[in.Byte() % added.size()];
  }
};

// A result matches when one of its keys compares equal to the typed text under the mode of its
// select type; the favourites command is shown under other keys than the one that matched.
bool Matches(const KeyboardItemInfo& r, const wchar_t* text) {
  const KeyCompareMode* mode = r.m_eSelectType == KEYBOARD_SELECT_WHOLE   ? &MODE_FORWARD_WHOLE
                               : r.m_eSelectType == KEYBOARD_SELECT_BEGIN ? &MODE_FORWARD_PREFIX
                               : r.m_eSelectType == KEYBOARD_SELECT_END   ? &MODE_BACKWARD_SUFFIX
                                                                          : nullptr;
  if (!mode) return false;
  for (int k = 0; k < 3; ++k)
    if (CompareKey(mode, KeyText(r, k), text) == 0) return true;
  return r.m_dwKind == KIND_COMMAND && wcscmp(r.m_szCode, L"06") == 0 &&
         wcscmp(r.m_szHotKey, L"QBZX") == 0 && CompareKey(mode, L"ZXG", text) == 0;
}

bool SameRecords(const std::vector<KeyboardItemInfo>& a, const std::vector<KeyboardItemInfo>& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (wcscmp(a[i].m_szCode, b[i].m_szCode) || wcscmp(a[i].m_szHotKey, b[i].m_szHotKey) ||
        wcscmp(a[i].m_szName, b[i].m_szName) || a[i].m_wType != b[i].m_wType ||
        a[i].m_dwKind != b[i].m_dwKind || a[i].m_nExtraInfo != b[i].m_nExtraInfo ||
        a[i].m_eSelectType != b[i].m_eSelectType)
      return false;
  return true;
}

// The same search in the table and in its twin that compares the keys alone: same records, in
// the same order.
void Search(Run& run, KeyboardInputMappingTable& table, KeyboardInputMappingTable& exact) {
  const std::wstring text = run.Text(5);
  const uint8_t how = run.in.Byte();
  std::vector<int> categories;
  if (how & 2) categories.push_back(run.in.Byte() % ITEM_CATEGORIES);
  // The opening modes only take records out of the result.
  table.m_nOpenMode = exact.m_nOpenMode = how >> 2 & 3;
  std::vector<KeyboardItemInfo> results, exactResults;
  Check(table.SearchInCategories(text.c_str(), &results, how & 1, &categories));
  Check(exact.SearchInCategories(text.c_str(), &exactResults, how & 1, &categories));
  Check(results.size() <= static_cast<size_t>(SEARCH_RESULT_CAP));
  // In a list out of order (the rich set) the equal range found by the binary searches can hold
  // entries that do not match; both tables return the same ones all the same.
  if (!run.rich)
    for (const KeyboardItemInfo& r : results) Check(Matches(r, text.c_str()));
  Check(SameRecords(results, exactResults));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TableHost host;
  Run run{{data, data + size}, false, {}};
  run.rich = run.in.Byte() & 1;
  // The table under test, and a twin changed alike whose comparisons read the keys alone.
  KeyboardInputMappingTable table, exact;
  exact.m_bUseKeyPrefixes = false;
  KeyboardInputMappingTable* const both[] = {&table, &exact};
  int bulkAdds = 0;
  // Held around every change, as the interface holds it; the search takes it itself.
  for (KeyboardInputMappingTable* t : both) Check(t->Lock());
  for (int step = 0; step < kMaxOperations && run.in.More(); ++step) {
    uint8_t op = run.in.Byte() % 8;
    if (op == 2 && bulkAdds == kMaxBulkAdds) op = 0;
    if (op >= 6) {
      for (KeyboardInputMappingTable* t : both) t->Unlock();
      Search(run, table, exact);
      for (KeyboardInputMappingTable* t : both) Check(t->Lock());
    } else if (op <= 1) {
      KeyboardItemInfo item = run.NewItem();
      const bool added = table.AddOneItem(&item, true, false);
      Check(exact.AddOneItem(&item, true, false) == added);
      if (added) run.added.push_back(item);
    } else if (op == 2) {
      ++bulkAdds;
      std::vector<KeyboardItemInfo> batch;
      for (int i = 0, n = 1 + run.in.Byte() % 8; i < n; ++i) batch.push_back(run.NewItem());
      // Either every list is sorted, or exactly the categories that receive records.
      std::vector<int> categories;
      if (run.in.Byte() & 1)
        for (const KeyboardItemInfo& item : batch) categories.push_back(CategoryOfRecord(item));
      for (KeyboardInputMappingTable* t : both)
        t->AddKeyboardItem(batch.data(), int(batch.size()), &categories, false);
      run.added.insert(run.added.end(), batch.begin(), batch.end());
    } else if (op == 3) {
      if (const KeyboardItemInfo* item = run.Known())
        for (KeyboardInputMappingTable* t : both) RemoveStored(*t, *item);
    } else if (op == 4) {
      if (KeyboardItemInfo* item = run.Known()) {
        const uint8_t which = run.in.Byte();
        const std::wstring code = run.Text(6), hotKey = run.Text(4), name = run.Text(4);
        const int extra = which;
        int replaced[2];
        for (int k = 0; k < 2; ++k)
          replaced[k] = both[k]->ReplaceItem(
              item->m_szCode, item->m_szHotKey, item->m_szName, &item->m_wType, &item->m_dwKind,
              which & 1 ? code.c_str() : nullptr, which & 2 ? hotKey.c_str() : nullptr,
              which & 4 ? name.c_str() : nullptr, &extra, nullptr, nullptr);
        Check(replaced[0] == replaced[1]);
        if (replaced[0]) {
          if (which & 1) CopyKeyField(item->m_szCode, code.c_str());
          if (which & 2) CopyKeyField(item->m_szHotKey, hotKey.c_str());
          if (which & 4) CopyKeyField(item->m_szName, name.c_str());
        }
      }
    } else {
      const unsigned char market = run.in.Byte() % 3;
      for (KeyboardInputMappingTable* t : both) Check(t->RemoveMarket(market));
    }
    const std::string violations = StoreViolations(table, !run.rich);
    if (!violations.empty()) {
      fprintf(stderr, "after step %d (operation %d):\n%s", step, op, violations.c_str());
      abort();
    }
  }
  for (KeyboardInputMappingTable* t : both) t->Unlock();
  return 0;
}
