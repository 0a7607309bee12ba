// smart-keyboard's results table: every column starts at the same screen column in every row,
// whatever the cells hold (Chinese and other wide characters, full-width letters, characters
// beyond the BMP, hot keys longer than the header), and the count says when the search's limit
// of 100 results was reached.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "platform/Utf8.h"
#include "support/ToolSession.h"
#include "tools/common/SearchSession.h"
#include "tools/smart-keyboard/DisplayWidth.h"
#include "tools/smart-keyboard/ResultTable.h"

namespace {

std::string Table(const std::string& items, const char* query, bool fullPinyin) {
  SearchSession session;
  LoadItemsText(session, items, fullPinyin);
  std::vector<KeyboardItemInfo> results;
  std::wstring text = plat::Utf8ToWideLenient(query);
  bool found = session.Manager()->SearchKeyboardItems(text.c_str(), &results, false);
  return FormatResultTable(query, found, results, session.Table());
}

// The screen columns at which the cells of a table line start: after every run of two or more
// spaces, the indent included.
std::vector<int> CellColumns(const std::string& line) {
  std::vector<int> columns;
  std::wstring wide = plat::Utf8ToWideLenient(line);
  for (size_t i = 2; i < wide.size(); ++i)
    if (wide[i] != L' ' && wide[i - 1] == L' ' && wide[i - 2] == L' ')
      columns.push_back(DisplayWidth(wide.substr(0, i)));
  return columns;
}

TEST(ResultTable, ColumnsLineUpByScreenWidth) {
  const std::string items =
      "600000\tPFYH\t浦发银行\t0x0102\t-1\t0xFFFFFFFF\t1\n"
      "600001\tABCKJ\tＡＢＣ科技\t0x0102\t-1\t0xFFFFFFFF\t1\n"
      "600002\tAPPLEINC\tApple Inc\t0x0102\t-1\t0xFFFFFFFF\t1\n"
      "600003\tAVERYLONGHOTKEYOFTWENTYSIX\t\xF0\xA0\x80\x80\xF0\xA0\x80\x81公司\t0x0102\t-1\t"
      "0xFFFFFFFF\t1\n"
      "600004\tE\te\xCC\x81\t0x0102\t-1\t0xFFFFFFFF\t1\n";
  std::istringstream table(Table(items, "6000", true));
  std::string line;
  std::getline(table, line);
  EXPECT_EQ(line.rfind("\"6000\": ", 0), 0u) << line;
  std::getline(table, line);
  const std::vector<int> header = CellColumns(line);
  ASSERT_EQ(header.size(), 6u) << line;
  int rows = 0;
  while (std::getline(table, line)) {
    ++rows;
    EXPECT_EQ(CellColumns(line), header) << line;
  }
  EXPECT_GE(rows, 5);
}

TEST(ResultTable, SaysWhenTheLimitWasReached) {
  std::string items;
  for (int i = 0; i < 150; ++i)
    items += std::to_string(600000 + i) + "\tPFYH\t浦发银行\t0x0102\t-1\t0xFFFFFFFF\t1\n";
  const std::string note = " (the most the smart keyboard lists: more items may match)\n";
  EXPECT_EQ(Table(items, "600", false).rfind("\"600\": 100 matches" + note, 0), 0u);
  EXPECT_EQ(Table(items, "6001", false).rfind("\"6001\": 50 matches\n", 0), 0u);
  EXPECT_EQ(Table(items, "X", false), "\"X\": no match\n");
}

TEST(DisplayWidth, WideFullWidthCombiningAndBeyondTheBmp) {
  EXPECT_EQ(DisplayWidth(L"PFYH 600000"), 11);
  EXPECT_EQ(DisplayWidth(L"浦发银行"), 8);
  EXPECT_EQ(DisplayWidth(L"ＡＢＣ１"), 8);
  EXPECT_EQ(DisplayWidth(L"ｱｲ"), 2);  // half-width katakana
  EXPECT_EQ(DisplayWidth(L"e\u0301"), 1);
  EXPECT_EQ(DisplayWidth(plat::Utf8ToWideLenient("\xF0\xA0\x80\x80\xF0\x9F\x98\x80")), 4);
  EXPECT_EQ(DisplayWidth(L"·—"), 2);  // ambiguous width: one column, as terminals draw them
}

}  // namespace
