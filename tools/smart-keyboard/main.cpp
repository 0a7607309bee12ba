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
#include "table/TypedText.h"
#include "tools/common/ItemsFile.h"
#include "tools/common/SearchSession.h"
#include "tools/common/ToolMain.h"

extern const unsigned char kEmbeddedItems[];
extern const size_t kEmbeddedItemsSize;

namespace {

const char kUsage[] =
    "usage: smart-keyboard [--items ITEMS.tsv] [--contract] [QUERY...]\n"
    "\n"
    "Searches the built-in default items (or ITEMS.tsv) the way the smart keyboard does and\n"
    "prints each query's results in order. Without QUERY arguments the queries are read from\n"
    "standard input, one a line. --contract prints the hotkey-search line format instead.\n";

// What the pop-up does to typed text before it searches: letters upper-cased, full-width
// capitals and digits folded to ASCII.
std::wstring AsTyped(const std::wstring& text) {
  std::wstring typed = text;
  for (wchar_t& c : typed) {
    if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - 0x20);
    if (c >= 0xFF41 && c <= 0xFF5A) c = static_cast<wchar_t>(c - 0x20);
    c = FoldTypedCharacter(c);
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
  std::vector<std::string> queries;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--help" || args[i] == "-h") {
      fputs(kUsage, stdout);
      return 0;
    } else if (args[i] == "--contract") {
      contract = true;
    } else if (args[i] == "--items" && i + 1 < args.size()) {
      itemsPath = args[++i];
    } else if (args[i].rfind("--", 0) == 0 && args[i].size() > 2) {
      fprintf(stderr, "smart-keyboard: unknown option %s\n%s", args[i].c_str(), kUsage);
      return 2;
    } else {
      queries.push_back(args[i]);
    }
  }

  std::vector<KeyboardItemInfo> items;
  ItemsFileError error;
  bool loaded = itemsPath.empty()
                    ? ParseItems(std::string(reinterpret_cast<const char*>(kEmbeddedItems),
                                             kEmbeddedItemsSize),
                                 &items, &error)
                    : LoadItemsFile(itemsPath, &items, &error);
  if (!loaded) {
    fprintf(stderr, "smart-keyboard: %s:%d: %s\n",
            itemsPath.empty() ? "built-in items" : itemsPath.c_str(), error.line,
            error.message.c_str());
    return 2;
  }
  SearchSession session;
  std::string loadError;
  if (!session.Load(items, LoadOptions(), &loadError)) {
    fprintf(stderr, "smart-keyboard: %s\n", loadError.c_str());
    return 2;
  }
  Runner runner(session, contract);
  if (!queries.empty()) {
    for (const std::string& query : queries) runner.Query(query);
    return 0;
  }
  bool interactive = isatty(fileno(stdin)) && !contract;
  if (interactive)
    fprintf(stdout, "%zu items loaded. Type a code, pinyin initials, a name or a command number.\n",
            items.size());
  std::string line;
  for (;;) {
    if (interactive) {
      fputs("请输入代码/名称/简拼> ", stdout);
      fflush(stdout);
    }
    if (!std::getline(std::cin, line)) break;
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.pop_back();
    runner.Query(line);
  }
  return 0;
}
