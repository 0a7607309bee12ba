// The one UTF-8 codec. The strict decoder's refusals are pinned by the items file, skin file and
// security master tests; here are what those do not reach: the lenient decoder's replacements,
// the encoder's surrogates, out-of-range values and zeros, and a round trip of every character.
#include <gtest/gtest.h>

#include <string>

#include "platform/Utf8.h"

namespace {

TEST(Utf8, LenientDecoderReplacesEachRefusedSequenceOnce) {
  const struct {
    const char* what;
    std::string text;
    std::wstring expected;
  } cases[] = {
      {"valid", "6\xE4\xB8\xAD\xF0\x9F\x98\x80", L"6\u4E2D\U0001F600"},
      {"stray continuation bytes",
       "a\x80\xBF"
       "b",
       L"a\uFFFD\uFFFDb"},
      {"cut off by an ASCII byte, which stays",
       "\xE4\xB8"
       "A",
       L"\uFFFDA"},
      {"cut off by a lead, which starts afresh", "\xE4\xE4\xB8\xAD", L"\uFFFD\u4E2D"},
      {"cut off at the end", "\xF0\x9F\x98", L"\uFFFD"},
      {"overlong", "\xC0\xAF/\xE0\x80\xAF", L"\uFFFD/\uFFFD"},
      {"surrogate", "\xED\xA0\x80", L"\uFFFD"},
      {"above U+10FFFF", "\xF4\x90\x80\x80", L"\uFFFD"},
      {"lead 0xFF",
       "\xFF"
       "x",
       L"\uFFFDx"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(plat::Utf8ToWideLenient(c.text), c.expected) << c.what;
    std::wstring strict;
    EXPECT_EQ(plat::Utf8ToWide(c.text, &strict), c.expected.find(L'\uFFFD') == std::wstring::npos)
        << c.what;
  }
}

TEST(Utf8, EncoderWritesOnlyUtf8) {
  // A UTF-16 pair is one character wherever it is found; alone, a surrogate is none.
  EXPECT_EQ(plat::WideToUtf8(std::wstring{wchar_t(0xD83D), wchar_t(0xDE00)}), "\xF0\x9F\x98\x80");
  EXPECT_EQ(plat::WideToUtf8(std::wstring{wchar_t(0xDE00), wchar_t(0xD83D), L'a'}),
            "\xEF\xBF\xBD\xEF\xBF\xBD"
            "a");
  EXPECT_EQ(plat::WideToUtf8(std::wstring{wchar_t(0xD83D)}), "\xEF\xBF\xBD");
  if (sizeof(wchar_t) == 4) {
    EXPECT_EQ(plat::WideToUtf8(std::wstring{wchar_t(0x10FFFF)}), "\xF4\x8F\xBF\xBF");
    EXPECT_EQ(plat::WideToUtf8(std::wstring{wchar_t(0x110000), static_cast<wchar_t>(-1)}),
              "\xEF\xBF\xBD\xEF\xBF\xBD");
  }
  // The string form keeps zeros; the pointer form stops at the first.
  const std::wstring zero(L"a\0b", 3);
  EXPECT_EQ(plat::WideToUtf8(zero), std::string("a\0b", 3));
  EXPECT_EQ(plat::WideToUtf8(zero.c_str()), "a");
  EXPECT_EQ(plat::WideToUtf8(static_cast<const wchar_t*>(nullptr)), "");
}

TEST(Utf8, EveryCharacterRoundTrips) {
  std::wstring wide;
  for (char32_t c = 0; c <= 0x10FFFF; ++c) {
    if (c == 0xD800) c = 0xE000;
    if (sizeof(wchar_t) == 2 && c >= 0x10000) {
      wide += static_cast<wchar_t>(0xD800 + ((c - 0x10000) >> 10));
      wide += static_cast<wchar_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
    } else {
      wide += static_cast<wchar_t>(c);
    }
  }
  const std::string utf8 = plat::WideToUtf8(wide);
  EXPECT_EQ(utf8.size(), 0x80u + 2 * 0x780 + 3 * (0x10000 - 0x800 - 0x800) + 4 * 0x100000);
  std::wstring back;
  EXPECT_TRUE(plat::Utf8ToWide(utf8, &back));
  EXPECT_TRUE(back == wide);
  EXPECT_TRUE(plat::Utf8ToWideLenient(utf8) == wide);
}

}  // namespace
