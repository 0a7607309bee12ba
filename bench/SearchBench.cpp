// Search latency per query on synthetic markets of 8k, 30k and 300k items, through the table's
// own search as the dialog runs it on every keystroke. One result vector serves every iteration:
// the search empties it and keeps its reserved capacity.
//
// The texts are taken from the market itself: prefixes of one Shanghai A share's code (1 to 6
// digits, the last an exact code) and of its pinyin initials (1 to 4 letters), its name, texts
// that match nothing, and texts that fill the result to its cap of 100.
//
// The 30k market is searched once more with every security's full-pinyin aliases beside it
// ("30k+fp", about twice the items), with the same texts and prefixes of the item's full pinyin
// (2 and 4 letters and the whole key); "30k+fp-among-aliases" files the same aliases with the
// ordinary ones instead of after the initials matches, for comparison.
#include <benchmark/benchmark.h>

#include <cwctype>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "frame/RefPtr.h"
#include "services/PinyinAliases.h"
#include "services/SecurityMaster.h"
#include "services/TerminalEnv.h"
#include "table/MappingTable.h"
#include "tools/synth/SyntheticMarket.h"

namespace {

const uint32_t kSeed = 20240611;
const int kSizes[] = {8000, 30000, 300000};

// The host's environment and data centre, installed for the whole run.
class BenchHost {
 public:
  BenchHost() : m_env(new CTerminalEnv), m_master(new CSecurityMaster) {
    m_env->SetDataMgr(m_master.get());
    CGlobalEnv::SetGlobalEnv(m_env.get());
  }
  CSecurityMaster* Master() const { return m_master.get(); }

 private:
  TRefPtr<CTerminalEnv> m_env;
  TRefPtr<CSecurityMaster> m_master;
};

BenchHost& Host() {
  static BenchHost host;
  return host;
}

// One loaded table per size, with the securities known to the data centre so that aliases
// resolve, and the item the query texts come from.
struct LoadedMarket {
  std::unique_ptr<KeyboardInputMappingTable> table;
  std::wstring code, hotKey, name, fullPinyin;
  bool ok = false;
};

// The kind the full-pinyin aliases are registered as; 0 for none.
typedef DWORD AliasKind;

LoadedMarket& Market(int count, AliasKind aliasKind = 0) {
  static std::map<std::pair<int, AliasKind>, LoadedMarket> markets;
  LoadedMarket& market = markets[{count, aliasKind}];
  if (market.table) return market;
  Host();
  std::vector<SynthItem> items = GenerateMarket(static_cast<size_t>(count), kSeed);
  std::vector<KeyboardItemInfo> records;
  records.reserve(items.size());
  for (const SynthItem& item : items) {
    records.emplace_back(item.code.c_str(), item.hotkey.c_str(), item.name.c_str(), item.type,
                         item.extra, nullptr, item.kind, KEYBOARD_SELECT_NONE);
    records.back().m_cMarket = item.market;
    if (item.kind != 256 && item.kind != 257 && item.kind != 258)
      Host().Master()->AddSecurity(item.code.c_str(), item.market, item.name.c_str());
    if (market.code.empty() && item.type == 0x0102 && item.code.compare(0, 3, L"600") == 0 &&
        item.hotkey.size() == 4 && item.name.size() == 4) {
      market.code = item.code;
      market.hotKey = item.hotkey;
      market.name = item.name;
    }
  }
  if (aliasKind) {
    std::vector<KeyboardItemInfo> aliases;
    AppendFullPinyinAliases(records.data(), records.size(), &aliases);
    for (KeyboardItemInfo& alias : aliases) alias.m_dwKind = aliasKind;
    records.insert(records.end(), aliases.begin(), aliases.end());
  }
  PinyinKeys keys;
  if (ComputePinyinKeys(market.name.c_str(), &keys)) market.fullPinyin = keys.fullPinyin;
  market.table.reset(new KeyboardInputMappingTable);
  std::vector<int> allCategories;
  market.ok = !market.code.empty() && market.table->Lock() &&
              market.table->AddKeyboardItem(records.data(), static_cast<int>(records.size()),
                                            &allCategories, false);
  market.table->Unlock();
  return market;
}

enum QueryKind { DIGITS, LETTERS, LOWER, NAME, FIXED, PINYIN };

struct Query {
  const char* label;
  QueryKind kind;
  int length;           // prefix length; 0 for the whole key
  const wchar_t* text;  // FIXED only
};

const Query kQueries[] = {
    {"digits1", DIGITS, 1, nullptr},
    {"digits2", DIGITS, 2, nullptr},
    {"digits3", DIGITS, 3, nullptr},
    {"digits4", DIGITS, 4, nullptr},
    {"digits5", DIGITS, 5, nullptr},
    {"digits6", DIGITS, 6, nullptr},
    {"letters1", LETTERS, 1, nullptr},
    {"letters2", LETTERS, 2, nullptr},
    {"letters3", LETTERS, 3, nullptr},
    {"letters4", LETTERS, 4, nullptr},
    {"lower2", LOWER, 2, nullptr},
    {"name2", NAME, 2, nullptr},
    {"name", NAME, 0, nullptr},
    {"nomatch_digits", FIXED, 0, L"98765432"},
    {"nomatch_letters", FIXED, 0, L"QXZQXZ"},
    {"nomatch_mixed", FIXED, 0, L"9Q9Q"},
    {"capped_0", FIXED, 0, L"0"},
    {"capped_Z", FIXED, 0, L"Z"},
    {"msci", FIXED, 0, L"MSCI"},
};

// Only where the full-pinyin aliases are registered.
const Query kPinyinQueries[] = {
    {"pinyin2", PINYIN, 2, nullptr},
    {"pinyin4", PINYIN, 4, nullptr},
    {"pinyin", PINYIN, 0, nullptr},
};

std::wstring TextOf(const Query& query, const LoadedMarket& market) {
  auto prefix = [&](const std::wstring& key) {
    return query.length ? key.substr(0, static_cast<size_t>(query.length)) : key;
  };
  switch (query.kind) {
    case DIGITS:
      return prefix(market.code);
    case LETTERS:
      return prefix(market.hotKey);
    case LOWER: {
      std::wstring text = prefix(market.hotKey);
      for (wchar_t& c : text) c = static_cast<wchar_t>(towlower(c));
      return text;
    }
    case NAME:
      return prefix(market.name);
    case PINYIN:
      return prefix(market.fullPinyin);
    default:
      return query.text;
  }
}

void BM_Search(benchmark::State& state, int size, AliasKind aliasKind, Query query) {
  LoadedMarket& market = Market(size, aliasKind);
  if (!market.ok) return state.SkipWithError("market not loaded");
  const std::wstring text = TextOf(query, market);
  std::vector<KeyboardItemInfo> results;
  for (auto _ : state) {
    market.table->Search(text.c_str(), &results, false);
    benchmark::DoNotOptimize(results.data());
  }
  state.counters["results"] = static_cast<double>(results.size());
}

// Every text of the set in turn: the mean cost of a keystroke over the mix.
void BM_SearchMix(benchmark::State& state, int size, AliasKind aliasKind) {
  LoadedMarket& market = Market(size, aliasKind);
  if (!market.ok) return state.SkipWithError("market not loaded");
  std::vector<std::wstring> texts;
  for (const Query& query : kQueries) texts.push_back(TextOf(query, market));
  if (aliasKind)
    for (const Query& query : kPinyinQueries) texts.push_back(TextOf(query, market));
  std::vector<KeyboardItemInfo> results;
  size_t next = 0;
  for (auto _ : state) {
    market.table->Search(texts[next].c_str(), &results, false);
    benchmark::DoNotOptimize(results.data());
    if (++next == texts.size()) next = 0;
  }
}

void Register(int size, AliasKind aliasKind, const char* suffix) {
  const std::string market = std::to_string(size / 1000) + "k" + suffix;
  for (const Query& query : kQueries) {
    std::string name = "BM_Search/" + market + "/" + query.label;
    benchmark::RegisterBenchmark(name.c_str(), BM_Search, size, aliasKind, query)
        ->Unit(benchmark::kMicrosecond);
  }
  if (aliasKind)
    for (const Query& query : kPinyinQueries) {
      std::string name = "BM_Search/" + market + "/" + query.label;
      benchmark::RegisterBenchmark(name.c_str(), BM_Search, size, aliasKind, query)
          ->Unit(benchmark::kMicrosecond);
    }
  std::string mix = "BM_SearchMix/" + market;
  benchmark::RegisterBenchmark(mix.c_str(), BM_SearchMix, size, aliasKind)
      ->Unit(benchmark::kMicrosecond);
}

int RegisterAll() {
  for (int size : kSizes) {
    Register(size, 0, "");
    if (size == 30000) {
      Register(size, KIND_FULL_PINYIN_ALIAS, "+fp");
      Register(size, KIND_ALIAS, "+fp-among-aliases");
    }
  }
  return 0;
}

const int kRegistered = RegisterAll();

}  // namespace
