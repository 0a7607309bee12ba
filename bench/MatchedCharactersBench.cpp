// The characters a list row lights, as each paint works them out for the visible rows: rows of
// the default items found by the first letters of their initials, and of their full-pinyin
// aliases found by the first syllables (the split into syllables is the costly part).
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "services/Pinyin.h"
#include "table/MatchedCharacters.h"
#include "tools/common/ItemsFile.h"

namespace {

struct LitRow {
  KeyboardItemInfo item;
  std::wstring typed;
};

// kind 0: rows found by their initials; 1: by their full pinyin.
std::vector<LitRow> Rows(int kind) {
  std::vector<KeyboardItemInfo> items;
  ItemsFileError error;
  std::vector<LitRow> rows;
  if (!LoadItemsFile(HKM_DEFAULT_ITEMS_FILE, &items, &error)) return rows;
  for (const KeyboardItemInfo& item : items) {
    if (item.m_dwKind == KIND_COMMAND || !item.m_szHotKey[0]) continue;
    LitRow row{item, L""};
    row.item.m_eSelectType = KEYBOARD_SELECT_BEGIN;
    if (kind == 1) {
      PinyinKeys keys;
      if (!ComputePinyinKeys(item.m_szName, &keys) || !keys.fullPinyin[0]) continue;
      CopyKeyField(row.item.m_szHotKey, keys.fullPinyin);
      row.item.m_dwKind = KIND_ALIAS;
    }
    row.typed = std::wstring(row.item.m_szHotKey).substr(0, kind == 1 ? 6 : 2);
    rows.push_back(row);
  }
  return rows;
}

void BM_MatchedCharacters(benchmark::State& state) {
  static const std::vector<LitRow> initials = Rows(0);
  static const std::vector<LitRow> fullPinyin = Rows(1);
  const std::vector<LitRow>& rows = state.range(0) == 0 ? initials : fullPinyin;
  if (rows.empty()) return state.SkipWithError("no rows");
  for (auto _ : state) {
    for (const LitRow& row : rows) {
      MatchedCharacters lit = FindMatchedCharacters(row.typed.c_str(), row.item);
      benchmark::DoNotOptimize(lit);
    }
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * rows.size()));
  state.SetLabel(state.range(0) == 0 ? "initials, 2 letters typed"
                                     : "full pinyin, 6 letters typed");
}
BENCHMARK(BM_MatchedCharacters)->Arg(0)->Arg(1);

}  // namespace

BENCHMARK_MAIN();
