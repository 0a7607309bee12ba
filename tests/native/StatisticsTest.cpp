#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "services/StatisticsHost.h"
#include "support/TempDir.h"

namespace {

class StatisticsTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetStatistics(); }
  void TearDown() override {
    SetStatisticsFile(nullptr);
    SetStatisticsHook(nullptr, nullptr);
    ResetStatistics();
  }
};

TEST_F(StatisticsTest, CountsAndLastTextsByFunctionAndType) {
  RecStatisticsDataType(12, L"快捷键：600000，PFYH，浦发银行");
  RecStatisticsDataType(12, L"快捷键：000001，PAYH，平安银行");
  RecStatisticsDataFuncType(11, L"快捷键：000001，PAYH，平安银行:PA");
  RecStatisticsDataFuncType(12, nullptr);

  EXPECT_EQ(StatisticsCount(STATISTICS_DATA_TYPE, 12), 2);
  EXPECT_EQ(StatisticsLastText(STATISTICS_DATA_TYPE, 12), L"快捷键：000001，PAYH，平安银行");
  EXPECT_EQ(StatisticsCount(STATISTICS_DATA_FUNC_TYPE, 11), 1);
  EXPECT_EQ(StatisticsLastText(STATISTICS_DATA_FUNC_TYPE, 11),
            L"快捷键：000001，PAYH，平安银行:PA");
  EXPECT_EQ(StatisticsCount(STATISTICS_DATA_FUNC_TYPE, 12), 1);
  EXPECT_EQ(StatisticsLastText(STATISTICS_DATA_FUNC_TYPE, 12), L"");
  EXPECT_EQ(StatisticsCount(STATISTICS_DATA_TYPE, 11), 0);

  ResetStatistics();
  EXPECT_EQ(StatisticsCount(STATISTICS_DATA_TYPE, 12), 0);
  EXPECT_EQ(StatisticsLastText(STATISTICS_DATA_TYPE, 12), L"");
}

TEST_F(StatisticsTest, AppendsToTheChosenFile) {
  TempDir dir;
  RecStatisticsDataType(12, L"before the file");
  SetStatisticsFile(dir.WideFile("usage.txt").c_str());
  RecStatisticsDataType(12, L"快捷键：A");
  RecStatisticsDataFuncType(11, L"快捷键：A:a");
  SetStatisticsFile(nullptr);
  RecStatisticsDataType(12, L"after the file");

  const std::vector<std::string> lines = SplitLines(ReadTextFile(dir.File("usage.txt")));
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_NE(lines[0].find("\tDataType\t12\t快捷键：A"), std::string::npos) << lines[0];
  EXPECT_NE(lines[1].find("\tDataFuncType\t11\t快捷键：A:a"), std::string::npos) << lines[1];
  EXPECT_EQ(StatisticsCount(STATISTICS_DATA_TYPE, 12), 3);
}

struct Call {
  StatisticsKind kind;
  int type;
  std::wstring text;
};

void RecordCall(void* context, StatisticsKind kind, int type, const wchar_t* text) {
  static_cast<std::vector<Call>*>(context)->push_back({kind, type, text ? text : L"(null)"});
}

TEST_F(StatisticsTest, HookSeesEveryCallInOrder) {
  std::vector<Call> calls;
  SetStatisticsHook(&RecordCall, &calls);
  RecStatisticsDataType(12, L"one");
  RecStatisticsDataFuncType(11, nullptr);
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[0].kind, STATISTICS_DATA_TYPE);
  EXPECT_EQ(calls[0].type, 12);
  EXPECT_EQ(calls[0].text, L"one");
  EXPECT_EQ(calls[1].kind, STATISTICS_DATA_FUNC_TYPE);
  EXPECT_EQ(calls[1].type, 11);
  EXPECT_EQ(calls[1].text, L"(null)");
}

}  // namespace
