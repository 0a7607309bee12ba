#include <map>
#include <mutex>
#include <string>
#include <utility>

#include "HostFiles.h"
#include "StatisticsHost.h"
#include "platform/Utf8.h"

namespace {

struct Tally {
  int count = 0;
  std::wstring lastText;
};

struct StatisticsState {
  std::mutex mutex;
  std::wstring file;
  std::map<std::pair<int, int>, Tally> tallies;  // by (kind, type)
  StatisticsHook hook = nullptr;
  void* hookContext = nullptr;
};

StatisticsState& State() {
  static StatisticsState state;
  return state;
}

void Record(StatisticsKind kind, int type, const wchar_t* text) {
  StatisticsState& state = State();
  StatisticsHook hook;
  void* hookContext;
  {
    std::lock_guard<std::mutex> lock(state.mutex);
    Tally& tally = state.tallies[std::make_pair(static_cast<int>(kind), type)];
    ++tally.count;
    tally.lastText = text ? text : L"";
    if (!state.file.empty()) {
      const std::string line =
          ts::Timestamp() + (kind == STATISTICS_DATA_TYPE ? "\tDataType\t" : "\tDataFuncType\t") +
          std::to_string(type) + "\t" + plat::WideToUtf8(tally.lastText);
      ts::AppendLine(state.file, line);
    }
    hook = state.hook;
    hookContext = state.hookContext;
  }
  if (hook) hook(hookContext, kind, type, text);
}

}  // namespace

void RecStatisticsDataType(int type, const wchar_t* text) {
  Record(STATISTICS_DATA_TYPE, type, text);
}

void RecStatisticsDataFuncType(int type, const wchar_t* text) {
  Record(STATISTICS_DATA_FUNC_TYPE, type, text);
}

void SetStatisticsFile(const wchar_t* path) {
  std::lock_guard<std::mutex> lock(State().mutex);
  State().file = path ? path : L"";
}

int StatisticsCount(StatisticsKind kind, int type) {
  std::lock_guard<std::mutex> lock(State().mutex);
  auto it = State().tallies.find(std::make_pair(static_cast<int>(kind), type));
  return it == State().tallies.end() ? 0 : it->second.count;
}

std::wstring StatisticsLastText(StatisticsKind kind, int type) {
  std::lock_guard<std::mutex> lock(State().mutex);
  auto it = State().tallies.find(std::make_pair(static_cast<int>(kind), type));
  return it == State().tallies.end() ? std::wstring() : it->second.lastText;
}

void ResetStatistics() {
  std::lock_guard<std::mutex> lock(State().mutex);
  State().tallies.clear();
}

void SetStatisticsHook(StatisticsHook hook, void* context) {
  std::lock_guard<std::mutex> lock(State().mutex);
  State().hook = hook;
  State().hookContext = context;
}
