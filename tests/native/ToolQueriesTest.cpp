// What the tools take as a query and how they split a queries file: a query that holds a control
// character would break the line format of the output and is refused by name; text in any script
// is not, though its UTF-8 holds bytes in the C1 range. A queries file reads the same with or
// without a byte-order mark and CR LF line ends.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tools/common/Queries.h"

namespace {

TEST(ToolQueries, RefusesControlCharactersByName) {
  struct Case {
    std::string query;
    std::string refusal;
  } const cases[] = {
      {"PF\tYH", "it holds a tab"},
      {"PF\r", "it holds a carriage return"},
      {"\nPF", "it holds a line feed"},
      {std::string("6\0"
                   "00",
                   4),
       "it holds the control character U+0000"},
      {"6\x1F", "it holds the control character U+001F"},
      {"6\x7F", "it holds the control character U+007F"},
      {"6\xC2\x80", "it holds the control character U+0080"},
      {"6\xC2\x9F", "it holds the control character U+009F"},
      // Ordinary text: 一 (E4 B8 80) and 丟 (E4 B8 9F) end in C1-range bytes, ¡ is C2 A1.
      {"600 PF 一丟 ¡ ａ", ""},
      {"", ""},
      // Not UTF-8 at all: searched as typed text, with replacement characters.
      {"\xC2", ""},
      {"\xFF\xFE", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(QueryRefusal(c.query), c.refusal) << c.query;
}

TEST(ToolQueries, LinesOfAFileWithOrWithoutMarkAndCarriageReturns) {
  const std::vector<std::string> expected = {"600", "", "PF", "a\rb", "last"};
  EXPECT_EQ(SplitLines("600\n\nPF\na\rb\nlast"), expected);
  EXPECT_EQ(SplitLines("\xEF\xBB\xBF"
                       "600\r\n\r\nPF\na\rb\r\nlast\n"),
            expected);
  EXPECT_EQ(SplitLines(""), std::vector<std::string>());
  EXPECT_EQ(SplitLines("\n"), std::vector<std::string>{""});
  // Only a mark at the very start is one.
  EXPECT_EQ(SplitLines("x\n\xEF\xBB\xBFy"), (std::vector<std::string>{"x", "\xEF\xBB\xBFy"}));

  std::string line =
      "\xEF\xBB\xBF"
      "600";
  SkipByteOrderMark(&line);
  EXPECT_EQ(line, "600");
  SkipByteOrderMark(&line);
  EXPECT_EQ(line, "600");
}

}  // namespace
