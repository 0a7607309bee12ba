// The items file of the tools refuses, with the number of the offending line, every field it
// cannot store as written: type words above 16 bits and text that is not UTF-8. Text that is
// UTF-8 arrives unchanged, at each sequence length's smallest and largest value.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tools/common/ItemsFile.h"

namespace {

const std::string kGoodLine = "600000\tPFYH\t浦发银行\t0x0102\t-1\t0\t1\n";

std::string Line(const std::string& code, const std::string& type = "0x0102") {
  return code + "\tHK\tName\t" + type + "\t-1\t0\t1\n";
}

TEST(ItemsFile, RefusesWhatItCannotStoreWithTheLineNumber) {
  struct Case {
    const char* what;
    std::string line;
    const char* message;
  } const cases[] = {
      {"type above 16 bits", Line("600000", "0x10102"), "bad type '0x10102'"},
      {"type above 16 bits, decimal", Line("600000", "65536"), "bad type '65536'"},
      {"stray continuation byte", Line("6\x80"), "bad code: not UTF-8"},
      {"bad continuation byte", Line("\xE4\x41\x80"), "bad code: not UTF-8"},
      {"truncated at the end of the field", Line("\xE4\xB8"), "bad code: not UTF-8"},
      {"truncated four-byte sequence", Line("\xF0\x9F\x98"), "bad code: not UTF-8"},
      {"overlong two bytes", Line("\xC0\xAF"), "bad code: not UTF-8"},
      {"overlong two bytes, largest", Line("\xC1\xBF"), "bad code: not UTF-8"},
      {"overlong three bytes", Line("\xE0\x9F\xBF"), "bad code: not UTF-8"},
      {"overlong four bytes", Line("\xF0\x8F\xBF\xBF"), "bad code: not UTF-8"},
      {"high surrogate", Line("\xED\xA0\x80"), "bad code: not UTF-8"},
      {"low surrogate", Line("\xED\xBF\xBF"), "bad code: not UTF-8"},
      {"above U+10FFFF", Line("\xF4\x90\x80\x80"), "bad code: not UTF-8"},
      {"five-byte lead", Line("\xF8\x88\x80\x80\x80"), "bad code: not UTF-8"},
      {"byte 0xFF", Line("\xFF"), "bad code: not UTF-8"},
      {"in the hot key", "600000\tP\xC3\tName\t1\t-1\t0\t1\n", "bad hotkey: not UTF-8"},
      {"in the name", "600000\tPFYH\t\xE6\xB5\t1\t-1\t0\t1\n", "bad name: not UTF-8"},
  };
  for (const Case& c : cases) {
    // The bad line is the third: after a good line and a comment.
    const std::string text = kGoodLine + "# comment\n" + c.line + kGoodLine;
    std::vector<KeyboardItemInfo> items;
    ItemsFileError error;
    EXPECT_FALSE(ParseItems(text, &items, &error)) << c.what;
    EXPECT_EQ(error.line, 3) << c.what;
    EXPECT_EQ(error.message, c.message) << c.what;
  }
}

TEST(ItemsFile, KeepsUtf8AndTypeWordsAtTheirLimits) {
  struct Case {
    const char* bytes;
    unsigned long code;
  } const cases[] = {
      {"\x7F", 0x7F},
      {"\xC2\x80", 0x80},
      {"\xDF\xBF", 0x7FF},
      {"\xE0\xA0\x80", 0x800},
      {"\xED\x9F\xBF", 0xD7FF},
      {"\xEE\x80\x80", 0xE000},
      {"\xEF\xBF\xBF", 0xFFFF},
      {"\xF0\x90\x80\x80", 0x10000},
      {"\xF4\x8F\xBF\xBF", 0x10FFFF},
  };
  for (const Case& c : cases) {
    std::wstring wide;
    if (sizeof(wchar_t) == 2 && c.code >= 0x10000) {
      wide += static_cast<wchar_t>(0xD800 + ((c.code - 0x10000) >> 10));
      wide += static_cast<wchar_t>(0xDC00 + ((c.code - 0x10000) & 0x3FF));
    } else {
      wide += static_cast<wchar_t>(c.code);
    }
    std::vector<KeyboardItemInfo> items;
    ItemsFileError error;
    ASSERT_TRUE(ParseItems(Line(std::string("A") + c.bytes + "B", "0xFFFF"), &items, &error))
        << std::hex << c.code << ": " << error.message;
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(std::wstring(items[0].m_szCode), L"A" + wide + L"B") << std::hex << c.code;
    EXPECT_EQ(items[0].m_wType, 0xFFFF);
  }
}

}  // namespace
