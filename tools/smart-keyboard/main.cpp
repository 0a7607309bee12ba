// smart-keyboard: type what a trader types (a code, pinyin initials, a name or a command
// number) and see what the smart keyboard offers, in its order, from the built-in items.
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#ifdef _WIN32
#include <io.h>
#define isatty _isatty
#define fileno _fileno
#else
#include <unistd.h>
#endif

#include "ResultTable.h"
#include "platform/Utf8.h"
#include "tools/common/ItemsFile.h"
#include "tools/common/Queries.h"
#include "tools/common/SearchSession.h"
#include "tools/common/ToolMain.h"

extern const unsigned char kEmbeddedItems[];
extern const size_t kEmbeddedItemsSize;

namespace {

const char kUsage[] =
    "usage: smart-keyboard [--items ITEMS.tsv] [--contract] [--no-full-pinyin] [QUERY...]\n"
    "\n"
    "Searches the built-in default items (or ITEMS.tsv) the way the smart keyboard does and\n"
    "prints each query's results in order. Without QUERY arguments the queries are read from\n"
    "standard input, one a line. --contract prints the hotkey-search line format instead.\n"
    "Every security can also be found by the full pinyin of its name (PUFA for 浦发银行)\n"
    "unless --no-full-pinyin. A query holding a tab or another control character is refused\n"
    "(exit status 2), as is an items file the smart keyboard cannot hold.\n";

int Fail(const std::string& message) {
  fprintf(stderr, "smart-keyboard: %s\n", message.c_str());
  return 2;
}

// What the pop-up does to typed text before it searches: letters upper-cased, full-width
// capitals folded to ASCII.
std::wstring AsTyped(const std::wstring& text) {
  std::wstring typed = text;
  for (wchar_t& c : typed) {
    if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - 0x20);
    if (c >= 0xFF41 && c <= 0xFF5A) c = static_cast<wchar_t>(c - 0x20);
    if (c >= 0xFF21 && c <= 0xFF3A) c = static_cast<wchar_t>(c - 0xFF21 + L'A');
  }
  return typed;
}

class Runner {
 public:
  Runner(SearchSession& session, bool contract) : m_session(session), m_contract(contract) {}

  void Query(const std::string& query) {
    std::wstring text =
        m_contract ? plat::Utf8ToWideLenient(query) : AsTyped(plat::Utf8ToWideLenient(query));
    bool found = m_session.Manager()->SearchKeyboardItems(text.c_str(), &m_results, false);
    std::string out;
    if (m_contract) {
      out = "Q\t" + query + "\t" + (found ? std::to_string(m_results.size()) : "false") + "\n";
      if (found)
        for (const KeyboardItemInfo& item : m_results) out += FormatResultLine(item) + "\n";
    } else {
      out = FormatResultTable(query, found, m_results, m_session.Table()) + "\n";
    }
    fwrite(out.data(), 1, out.size(), stdout);
    fflush(stdout);
  }

 private:
  SearchSession& m_session;
  bool m_contract;
  std::vector<KeyboardItemInfo> m_results;  // kept across queries; the search empties it
};

}  // namespace

int RunTool(const std::vector<std::string>& args) {
  std::string itemsPath;
  bool contract = false;
  LoadOptions load;
  std::vector<std::string> queries;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--help" || args[i] == "-h") {
      fputs(kUsage, stdout);
      return 0;
    } else if (args[i] == "--contract") {
      contract = true;
    } else if (args[i] == "--no-full-pinyin") {
      load.fullPinyin = false;
    } else if (args[i] == "--items") {
      if (i + 1 >= args.size()) return Fail("--items needs a file");
      itemsPath = args[++i];
    } else if (args[i].rfind("--", 0) == 0 && args[i].size() > 2) {
      return Fail("unknown option " + args[i] + "\n" + kUsage);
    } else {
      queries.push_back(args[i]);
    }
  }
  for (size_t i = 0; i < queries.size(); ++i) {
    std::string why = QueryRefusal(queries[i]);
    if (!why.empty()) return Fail("query argument " + std::to_string(i + 1) + ": refused, " + why);
  }

  ItemsSource builtIn(reinterpret_cast<const char*>(kEmbeddedItems), kEmbeddedItemsSize), file;
  ItemsFileError error;
  if (!itemsPath.empty() && !file.Open(itemsPath, &error)) return Fail(error.message);
  SearchSession session;
  LoadCounts counts;
  if (!session.Load(itemsPath.empty() ? builtIn : file, load, &counts, &error)) {
    if (error.line == 0) return Fail(error.message);
    return Fail((itemsPath.empty() ? std::string("built-in items") : itemsPath) + ":" +
                std::to_string(error.line) + ": " + error.message);
  }
  if (counts.items == 0)
    fprintf(stderr, "smart-keyboard: %s holds no items\n",
            itemsPath.empty() ? "the built-in list" : itemsPath.c_str());
  Runner runner(session, contract);
  if (!queries.empty()) {
    for (const std::string& query : queries) runner.Query(query);
    return 0;
  }
  bool interactive = isatty(fileno(stdin)) && !contract;
  if (interactive)
    fprintf(stdout,
            "%zu items and %zu full-pinyin aliases loaded. Type a code, pinyin initials or full "
            "pinyin, a name or a command number.\n",
            counts.items, counts.aliases);
  // A refused line is named and skipped, so that a session goes on; the exit status tells.
  int status = 0;
  std::string line;
  for (int number = 1;; ++number) {
    if (interactive) {
      fputs("请输入代码/名称/简拼> ", stdout);
      fflush(stdout);
    }
    if (!std::getline(std::cin, line)) break;
    if (number == 1) SkipByteOrderMark(&line);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::string why = QueryRefusal(line);
    if (!why.empty()) {
      fprintf(stderr, "smart-keyboard: standard input:%d: refused, %s\n", number, why.c_str());
      status = 2;
      continue;
    }
    runner.Query(line);
  }
  return status;
}
