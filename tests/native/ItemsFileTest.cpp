// The items file of the tools refuses, with the number of the offending line, every line the
// record cannot hold as written: a wrong column count, numbers with a sign, space or value the
// column does not take, text that is not UTF-8, holds a control character or is longer than its
// field. What it holds arrives unchanged: UTF-8 at each sequence length's smallest and largest
// value, fields at their full length, the same items from CR LF lines behind a byte-order mark,
// and from a file read a block at a time.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/TempDir.h"
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
      {"a column too many", "600000\tHK\tName\t0x0102\t-1\t0\t1\t\n", ""},
      {"a column too few", "600000\tPFYH\tName\t1\t-1\t0\n", ""},
      {"a leading plus", Line("600000", "+258"), "bad type '+258'"},
      {"a leading space", Line("600000", " 258"), "bad type ' 258'"},
      {"a minus where none is taken", Line("600000", "-0"), "bad type '-0'"},
      {"hex with a sign", Line("600000", "0x-102"), "bad type '0x-102'"},
      {"no digits", Line("600000", "0x"), "bad type '0x'"},
      {"NUL",
       Line(std::string("60\0"
                        "0000",
                        7)),
       "bad code: control character U+0000"},
      {"a carriage return inside", Line("60\r0000"), "bad code: control character U+000D"},
      {"DEL", Line("60\x7F"), "bad code: control character U+007F"},
      {"C1, first", Line("60\xC2\x80"), "bad code: control character U+0080"},
      {"C1, last", Line("60\xC2\x9F"), "bad code: control character U+009F"},
      {"a code of 17", Line("12345678901234567"), "bad code: 17 characters, the record holds 16"},
      {"a hot key of 33", "1\t" + std::string(33, 'A') + "\tName\t1\t-1\t0\t1\n",
       "bad hotkey: 33 characters, the record holds 32"},
      {"a name of 33 Chinese characters",
       "1\tA\t" +
           [] {
             std::string name;
             for (int i = 0; i < 33; ++i) name += "中";
             return name;
           }() +
           "\t1\t-1\t0\t1\n",
       "bad name: 33 characters, the record holds 32"},
  };
  for (const Case& c : cases) {
    // The bad line is the third: after a good line and a comment.
    const std::string text = kGoodLine + "# comment\n" + c.line + kGoodLine;
    std::vector<KeyboardItemInfo> items;
    ItemsFileError error;
    EXPECT_FALSE(ParseItems(text, &items, &error)) << c.what;
    EXPECT_EQ(error.line, 3) << c.what;
    if (*c.message) {
      EXPECT_EQ(error.message, c.message) << c.what;
    } else {
      EXPECT_EQ(error.message.rfind("expected 7 tab-separated columns", 0), 0u) << error.message;
    }
  }
}

TEST(ItemsFile, KeepsUtf8AndTypeWordsAtTheirLimits) {
  struct Case {
    const char* bytes;
    unsigned long code;
  } const cases[] = {
      {"\x7E", 0x7E},      // U+007F is a control character
      {"\xC2\xA0", 0xA0},  // and so are U+0080 to U+009F
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

TEST(ItemsFile, KeepsWholeFieldsAndReadsCrLfBehindAByteOrderMark) {
  std::string name;
  for (int i = 0; i < 32; ++i) name += "\xE4\xB8\x80";  // 一, with a continuation byte 0x80
  const std::string longest =
      "1234567890123456\t" + std::string(32, 'Z') + "\t" + name + "\t0x0102\t-1\t258\t255\n";
  const std::string plain = kGoodLine + "# comment\n\n" + longest;
  std::string crlf = "\xEF\xBB\xBF";
  for (char c : plain) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  std::vector<KeyboardItemInfo> fromPlain, fromCrlf;
  ItemsFileError error;
  ASSERT_TRUE(ParseItems(plain, &fromPlain, &error)) << error.message;
  ASSERT_TRUE(ParseItems(crlf, &fromCrlf, &error)) << error.line << ": " << error.message;
  ASSERT_EQ(fromPlain.size(), 2u);
  ASSERT_EQ(fromCrlf.size(), 2u);
  for (size_t i = 0; i < 2; ++i) {
    EXPECT_TRUE(fromPlain[i] == fromCrlf[i]) << i;
    EXPECT_EQ(fromPlain[i].m_cMarket, fromCrlf[i].m_cMarket);
    EXPECT_EQ(fromPlain[i].m_nExtraInfo, fromCrlf[i].m_nExtraInfo);
  }
  EXPECT_EQ(std::wstring(fromCrlf[0].m_szCode), L"600000");
  EXPECT_EQ(std::wstring(fromCrlf[1].m_szCode), L"1234567890123456");
  EXPECT_EQ(std::wstring(fromCrlf[1].m_szHotKey), std::wstring(32, L'Z'));
  EXPECT_EQ(std::wstring(fromCrlf[1].m_szName), std::wstring(32, L'一'));
  EXPECT_EQ(fromCrlf[1].m_dwKind, KIND_ALIAS);
  EXPECT_EQ(fromCrlf[1].m_cMarket, 255);
  // A byte-order mark anywhere but at the start is text.
  std::vector<KeyboardItemInfo> marked;
  ASSERT_TRUE(ParseItems(kGoodLine + "\xEF\xBB\xBF" + kGoodLine, &marked, &error));
  EXPECT_EQ(std::wstring(marked[1].m_szCode), std::wstring(1, 0xFEFF) + L"600000");
}

TEST(ItemsFile, AFileReadInBlocksGivesWhatItsTextGives) {
  // Lines across every block boundary, a comment longer than a block, and the last line
  // without its end; read twice from one source, as the tools do.
  std::string text = "\xEF\xBB\xBF# " + std::string(200000, 'x') + "\n";
  for (int i = 0; i < 6000; ++i)
    text += std::to_string(600000 + i) + "\tPFYH\t浦发银行" + std::to_string(i % 10) +
            "\t0x0102\t-1\t0\t1" + (i % 3 ? "\n" : "\r\n");
  text.pop_back();
  TempDir dir;
  const std::string path = dir.File("items.tsv");
  WriteTextFile(path, text);

  std::vector<KeyboardItemInfo> fromText;
  ItemsFileError error;
  ASSERT_TRUE(ParseItems(text, &fromText, &error)) << error.message;
  ASSERT_EQ(fromText.size(), 6000u);
  ItemsSource source;
  ASSERT_TRUE(source.Open(path, &error)) << error.message;
  for (int reading = 0; reading < 2; ++reading) {
    ItemsParser parser(source);
    KeyboardItemInfo item;
    size_t count = 0;
    for (; parser.Next(&item); ++count)
      ASSERT_TRUE(count < fromText.size() && item == fromText[count]) << reading << ", " << count;
    EXPECT_FALSE(parser.Failed()) << parser.Error().message;
    EXPECT_EQ(count, fromText.size());
  }
  // A refusal far into the file names its line.
  text.insert(text.find("\n601234\t") + 1, "601234\tX\n");
  WriteTextFile(path, text);
  std::vector<KeyboardItemInfo> items;
  EXPECT_FALSE(LoadItemsFile(path, &items, &error));
  EXPECT_EQ(error.line, 2 + 1234);
}

TEST(ItemsFile, RefusesFoldersAndDevicesWithTheReason) {
  TempDir dir;
  struct Case {
    std::string path;
    std::string message;
  } const cases[] = {
      {dir.File(), "cannot read " + dir.File() + ": it is a folder"},
      {"/dev/null", "cannot read /dev/null: it is a device, not a file"},
      {dir.File("missing.tsv"),
       "cannot read " + dir.File("missing.tsv") + ": No such file or directory"},
  };
  for (const Case& c : cases) {
    ItemsSource source;
    ItemsFileError error;
    EXPECT_FALSE(source.Open(c.path, &error));
    EXPECT_EQ(error.line, 0);
    EXPECT_EQ(error.message, c.message);
  }
}

}  // namespace
