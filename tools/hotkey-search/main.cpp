// hotkey-search: loads an items file into the component through GetClassObject and prints the
// results of each query in a line format that other programs compare byte for byte.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/Utf8.h"
#include "tools/common/ItemsFile.h"
#include "tools/common/Queries.h"
#include "tools/common/SearchSession.h"
#include "tools/common/TextFile.h"
#include "tools/common/ToolMain.h"

namespace {

const char kUsage[] =
    "usage: hotkey-search --items ITEMS.tsv [--load bulk|single] [--skip-duplicate-check]\n"
    "                     [--no-full-pinyin] [--exclude-commands | --categories N,N,...]\n"
    "                     [--open-mode N] [--load-times] [--queries FILE | QUERY...]\n"
    "\n"
    "ITEMS.tsv: UTF-8, one item a line, seven tab-separated columns\n"
    "  code, hotkey, name, type, extra, kind, market (numbers decimal or 0x hex);\n"
    "  empty lines and lines starting with '#' are ignored. A line the record cannot\n"
    "  hold (a code over 16 characters, a hot key or name over 32, a control character)\n"
    "  is refused. Every security also gets alias items (kind 258) keyed by the full\n"
    "  pinyin of its name, unless --no-full-pinyin.\n"
    "FILE: one query a line. A query holding a tab, a line break or another control\n"
    "  character is refused.\n"
    "--load-times: the wall time of each step of loading, on standard error.\n"
    "Output per query: Q<TAB>query<TAB>count (or false), then count lines\n"
    "  select<TAB>kind<TAB>type<TAB>market<TAB>extra<TAB>code<TAB>hotkey<TAB>name\n"
    "Exit status 2 for a refused file, query or option, with the reason on standard error.\n";

struct Options {
  std::string items;
  LoadOptions load;
  bool excludeCommands = false;
  bool useCategories = false;
  std::vector<int> categories;
  int openMode = 0;
  bool loadTimes = false;
  std::string queriesFile;
  std::vector<std::string> queries;
};

int Fail(const std::string& message) {
  fprintf(stderr, "hotkey-search: %s\n", message.c_str());
  return 2;
}

bool ParseInt(const std::string& text, int* value) {
  if (text.empty()) return false;
  char* end = nullptr;
  long parsed = strtol(text.c_str(), &end, 10);
  if (*end != 0) return false;
  *value = static_cast<int>(parsed);
  return true;
}

bool ParseCategories(const std::string& text, std::vector<int>* categories) {
  size_t start = 0;
  for (;;) {
    size_t comma = text.find(',', start);
    int value;
    if (!ParseInt(text.substr(start, comma == std::string::npos ? comma : comma - start), &value))
      return false;
    categories->push_back(value);
    if (comma == std::string::npos) return true;
    start = comma + 1;
  }
}

// Returns -1 to go on, else the exit status.
int ParseArguments(const std::vector<std::string>& args, Options* options) {
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    auto value = [&](std::string* out) {
      if (i + 1 >= args.size()) return false;
      *out = args[++i];
      return true;
    };
    std::string text;
    if (arg == "--help" || arg == "-h") {
      fputs(kUsage, stdout);
      return 0;
    } else if (arg == "--items") {
      if (!value(&options->items)) return Fail("--items needs a file");
    } else if (arg == "--load") {
      if (!value(&text) || (text != "bulk" && text != "single"))
        return Fail("--load takes bulk or single");
      options->load.bulk = text == "bulk";
    } else if (arg == "--skip-duplicate-check") {
      options->load.skipDuplicateCheck = true;
    } else if (arg == "--no-full-pinyin") {
      options->load.fullPinyin = false;
    } else if (arg == "--load-times") {
      options->loadTimes = true;
    } else if (arg == "--exclude-commands") {
      options->excludeCommands = true;
    } else if (arg == "--categories") {
      if (!value(&text) || !ParseCategories(text, &options->categories))
        return Fail("--categories takes N,N,...");
      options->useCategories = true;
    } else if (arg == "--open-mode") {
      if (!value(&text) || !ParseInt(text, &options->openMode))
        return Fail("--open-mode takes a number");
    } else if (arg == "--queries") {
      if (!value(&options->queriesFile)) return Fail("--queries needs a file");
    } else if (arg == "--") {
      options->queries.insert(options->queries.end(), args.begin() + i + 1, args.end());
      break;
    } else if (arg.size() > 1 && arg[0] == '-' && arg[1] == '-') {
      return Fail("unknown option " + arg + "\n" + kUsage);
    } else {
      options->queries.push_back(arg);
    }
  }
  if (options->items.empty()) return Fail(std::string("--items is required\n") + kUsage);
  if (options->excludeCommands && options->useCategories)
    return Fail("--exclude-commands and --categories exclude each other");
  return -1;
}

// Refuses the first query that cannot be searched, before anything is: a refused query leaves
// no output behind. `where` names the place of query number i (from 0).
template <class Where>
int CheckQueries(const std::vector<std::string>& queries, Where where) {
  for (size_t i = 0; i < queries.size(); ++i) {
    std::string why = QueryRefusal(queries[i]);
    if (!why.empty()) return Fail(where(i) + ": refused, " + why);
  }
  return -1;
}

}  // namespace

int RunTool(const std::vector<std::string>& args) {
  Options options;
  int status = ParseArguments(args, &options);
  if (status >= 0) return status;
  status = CheckQueries(options.queries,
                        [](size_t i) { return "query argument " + std::to_string(i + 1); });
  if (status >= 0) return status;
  if (!options.queriesFile.empty()) {
    std::string text, error;
    if (!ReadTextFile(options.queriesFile, FileKinds::kAllButFolders, &text, &error))
      return Fail(error);
    std::vector<std::string> lines = SplitLines(text);
    status = CheckQueries(
        lines, [&options](size_t i) { return options.queriesFile + ":" + std::to_string(i + 1); });
    if (status >= 0) return status;
    options.queries.insert(options.queries.end(), lines.begin(), lines.end());
  }

  ItemsSource source;
  ItemsFileError error;
  if (!source.Open(options.items, &error)) return Fail(error.message);
  SearchSession session;
  LoadCounts counts;
  if (!session.Load(source, options.load, &counts, &error)) {
    if (error.line == 0) return Fail(error.message);
    return Fail(options.items + ":" + std::to_string(error.line) + ": " + error.message);
  }
  if (counts.items == 0)
    fprintf(stderr, "hotkey-search: %s holds no items\n", options.items.c_str());
  if (options.loadTimes)
    fprintf(stderr,
            "hotkey-search: %zu items, %zu full-pinyin aliases; seconds: survey %.3f, grow %.3f, "
            "store %.3f, sort %.3f\n",
            counts.items, counts.aliases, counts.surveySeconds, counts.growSeconds,
            counts.storeSeconds, counts.sortSeconds);
  session.SetOpenMode(options.openMode);

  // One vector for every query: the search empties it and keeps its reserved capacity.
  std::vector<KeyboardItemInfo> results;
  std::string out;
  for (const std::string& query : options.queries) {
    std::wstring text = plat::Utf8ToWideLenient(query);
    bool found = options.useCategories ? session.Manager()->SearchKeyboardItemsEx(
                                             text.c_str(), &results, &options.categories)
                                       : session.Manager()->SearchKeyboardItems(
                                             text.c_str(), &results, options.excludeCommands);
    out = "Q\t" + query + "\t" + (found ? std::to_string(results.size()) : "false") + "\n";
    if (found)
      for (const KeyboardItemInfo& item : results) out += FormatResultLine(item) + "\n";
    fwrite(out.data(), 1, out.size(), stdout);
  }
  fflush(stdout);
  return 0;
}
