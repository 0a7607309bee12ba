// The host's usage statistics: counts and last texts by function and type, and the file they are
// appended to while one is chosen.
#include <gtest/gtest.h>

#include "services/StatisticsHost.h"
#include "support/TempDir.h"

namespace {

std::wstring Entry(StatisticsKind kind, int type) {
  return std::to_wstring(StatisticsCount(kind, type)) + L" " + StatisticsLastText(kind, type);
}

TEST(Statistics, CountsLastTextsAndTheChosenFile) {
  ResetStatistics();
  TempDir dir;
  RecStatisticsDataType(12, L"快捷键：600000，PFYH，浦发银行");
  SetStatisticsFile(dir.WideFile("usage.txt").c_str());
  RecStatisticsDataType(12, L"快捷键：A");
  RecStatisticsDataFuncType(11, L"快捷键：A:a");
  SetStatisticsFile(nullptr);
  RecStatisticsDataFuncType(12, nullptr);
  EXPECT_EQ(Entry(STATISTICS_DATA_TYPE, 12), L"2 快捷键：A");
  EXPECT_EQ(Entry(STATISTICS_DATA_FUNC_TYPE, 11), L"1 快捷键：A:a");
  EXPECT_EQ(Entry(STATISTICS_DATA_FUNC_TYPE, 12), L"1 ");
  EXPECT_EQ(Entry(STATISTICS_DATA_TYPE, 11), L"0 ");
  // Each line: a time, the function, the type and the text.
  std::vector<std::string> lines = ReadLines(dir.File("usage.txt"));
  for (std::string& line : lines) line = line.substr(line.find('\t'));
  EXPECT_EQ(lines, (std::vector<std::string>{"\tDataType\t12\t快捷键：A",
                                             "\tDataFuncType\t11\t快捷键：A:a"}));
}

}  // namespace
