// first-screens: what the full-pinyin alias items change in what a trader sees first. Loads the
// items (the default items unless --items FILE) once without and once with the aliases, and
// compares the first screen (the first 12 rows, as the pop-up's list shows them: category, code,
// name) of every 1- and 2-letter query and of the 200 most common 3- and 4-letter initials (the
// most frequent prefixes of the items' hot keys). A screen counts as changed when its rows differ;
// it says whether rows were only added below the old ones (a screen that had room) or only
// reordered, how many rows full-pinyin aliases brought in, and how many matches they pushed off.
#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/Utf8.h"
#include "tools/common/FullPinyinAliases.h"
#include "tools/common/ItemsFile.h"
#include "tools/common/SearchSession.h"
#include "table/RowTexts.h"

namespace {

const size_t kScreenRows = 12;

struct Row {
  std::string seen;  // category, code and name, as the list shows them
  bool fullPinyin;   // found through a full-pinyin alias
};

typedef std::vector<Row> Screen;

std::vector<std::string> Queries(const std::vector<std::string>& hotKeys, std::string* classes) {
  std::vector<std::string> queries;
  for (char a = 'A'; a <= 'Z'; ++a) queries.push_back(std::string(1, a));
  for (char a = 'A'; a <= 'Z'; ++a)
    for (char b = 'A'; b <= 'Z'; ++b) queries.push_back(std::string(1, a) + b);
  classes->assign(26, '1');
  classes->append(26 * 26, '2');
  for (size_t length : {3, 4}) {
    std::map<std::string, int> counts;
    for (const std::string& key : hotKeys) {
      if (key.size() < length) continue;
      std::string prefix = key.substr(0, length);
      if (std::all_of(prefix.begin(), prefix.end(), [](char c) { return c >= 'A' && c <= 'Z'; }))
        ++counts[prefix];
    }
    std::vector<std::pair<int, std::string>> ranked;
    for (const auto& entry : counts) ranked.push_back({-entry.second, entry.first});
    std::sort(ranked.begin(), ranked.end());
    for (size_t i = 0; i < ranked.size() && i < 200; ++i) {
      queries.push_back(ranked[i].second);
      classes->push_back(static_cast<char>('0' + length));
    }
  }
  return queries;
}

// Full-pinyin aliases by code and hot key.
std::set<std::wstring> s_fullPinyinKeys;

std::vector<Screen> Screens(ItemsSource& source, bool fullPinyin,
                            const std::vector<std::string>& queries) {
  std::vector<Screen> screens;
  {
    SearchSession session;
    LoadOptions options;
    options.fullPinyin = fullPinyin;
    LoadCounts counts;
    ItemsFileError error;
    if (!session.Load(source, options, &counts, &error)) {
      fprintf(stderr, "first-screens: %d: %s\n", error.line, error.message.c_str());
      exit(2);
    }
    std::vector<KeyboardItemInfo> results;
    for (const std::string& query : queries) {
      std::wstring text = plat::Utf8ToWideLenient(query);
      session.Manager()->SearchKeyboardItems(text.c_str(), &results, false);
      Screen screen;
      for (size_t row = 0; row < results.size() && row < kScreenRows; ++row) {
        std::wstring category, code, name;
        GetRowTexts(session.Table(), category, code, name, static_cast<int>(row), results);
        const KeyboardItemInfo& item = results[row];
        bool alias = item.m_dwKind == KIND_ALIAS &&
                     s_fullPinyinKeys.count(std::wstring(item.m_szCode) + L"\t" + item.m_szHotKey);
        screen.push_back({plat::WideToUtf8(category + L" " + code + L" " + name),
                          fullPinyin && alias});
      }
      screens.push_back(screen);
    }
  }
  return screens;
}

}  // namespace

int main(int argc, char** argv) {
  std::string path = HKM_DEFAULT_ITEMS_FILE;
  bool examples = false;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg == "--items" && i + 1 < argc)
      path = argv[++i];
    else if (arg == "--examples")
      examples = true;
    else {
      fprintf(stderr, "usage: first-screens [--items FILE] [--examples]\n");
      return 2;
    }
  }
  ItemsSource source;
  ItemsFileError error;
  if (!source.Open(path, &error)) {
    fprintf(stderr, "first-screens: %s\n", error.message.c_str());
    return 2;
  }
  std::vector<std::string> hotKeys;
  {
    ItemsParser parser(source);
    KeyboardItemInfo item;
    wchar_t keys[2][PINYIN_KEY_LENGTH + 1];
    while (parser.Next(&item)) {
      hotKeys.push_back(plat::WideToUtf8(item.m_szHotKey));
      if (!IsSecurityItem(item)) continue;
      for (int k = FullPinyinKeys(item, keys); k-- > 0;)
        s_fullPinyinKeys.insert(std::wstring(item.m_szCode) + L"\t" + keys[k]);
    }
  }
  std::string classes;
  std::vector<std::string> queries = Queries(hotKeys, &classes);
  std::vector<Screen> off = Screens(source, false, queries);
  std::vector<Screen> on = Screens(source, true, queries);

  struct Tally {
    int queries = 0, changed = 0, filled = 0, reordered = 0, withAliases = 0, aliasRows = 0;
    int lostRows = 0;
    int emptyBefore = 0;
  };
  std::map<char, Tally> tallies;
  for (size_t q = 0; q < queries.size(); ++q) {
    Tally& tally = tallies[classes[q]];
    ++tally.queries;
    std::vector<std::string> before, after;
    for (const Row& row : off[q]) before.push_back(row.seen);
    for (const Row& row : on[q]) after.push_back(row.seen);
    if (before.empty()) ++tally.emptyBefore;
    int aliasRows = 0;
    for (const Row& row : on[q]) aliasRows += row.fullPinyin;
    tally.aliasRows += aliasRows;
    tally.withAliases += aliasRows > 0;
    if (before == after) continue;
    ++tally.changed;
    std::multiset<std::string> a(before.begin(), before.end()), b(after.begin(), after.end());
    if (a == b) ++tally.reordered;
    if (std::equal(before.begin(), before.end(), after.begin())) ++tally.filled;
    int lost = 0;
    for (const std::string& row : before) lost += b.count(row) == 0;
    tally.lostRows += lost;
    if (examples) {
      printf("%s:\n", queries[q].c_str());
      for (size_t row = 0; row < kScreenRows; ++row)
        printf("  %-34s | %s%s\n", row < before.size() ? before[row].c_str() : "",
               row < after.size() ? after[row].c_str() : "",
               row < on[q].size() && on[q][row].fullPinyin ? "  (full pinyin)" : "");
    }
  }
  printf("%-18s %6s %8s %12s %10s %13s %11s %10s %13s\n", "queries", "count", "changed",
         "rows added", "reordered", "with aliases", "alias rows", "rows lost", "empty before");
  const char* names[] = {"", "1 letter", "2 letters", "3-letter initials", "4-letter initials"};
  for (const auto& entry : tallies) {
    const Tally& t = entry.second;
    printf("%-18s %6d %8d %12d %10d %13d %11d %10d %13d\n", names[entry.first - '0'], t.queries,
           t.changed, t.filled, t.reordered, t.withAliases, t.aliasRows, t.lostRows, t.emptyBefore);
  }
  return 0;
}
