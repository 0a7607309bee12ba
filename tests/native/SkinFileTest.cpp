// The skin file parser: good entries land in their maps, every bad line is reported by number and
// skipped without disturbing the others.
#include <gtest/gtest.h>

#include "frame/Skin.h"
#include "services/SkinFile.h"

namespace {

using ts::ParseSkinText;
using ts::SkinFile;

TEST(SkinFile, ReadsColoursFontsAndBitmaps) {
  const SkinFile skin = ParseSkinText(
      "\xEF\xBB\xBF# light skin\n"
      "color SuggestListWnd.CLR.BG = #FFFFFF\r\n"
      "  color\tSuggestListWnd.CLR.BGSelected=#1a6FE0  \n"
      "\n"
      "font SuggestListWnd.Name = 14 400 Microsoft YaHei, WenQuanYi Micro Hei ,SimSun\n"
      "font SuggestListWnd.Code = 13 700 Consolas\n"
      "bitmap qx.logo = logo.bmp 96 48\n"
      "bitmap KeyboarInput.text = parts/input field.bmp 270 20\n"
      "bitmap plain = plain.bmp\n"
      "font 名称 = 12 400 宋体\n");
  EXPECT_TRUE(skin.issues.empty()) << skin.issues.size();
  ASSERT_EQ(skin.colors.size(), 2u);
  EXPECT_EQ(skin.colors.at(L"SuggestListWnd.CLR.BG"), 0xFFFFFFu);
  EXPECT_EQ(skin.colors.at(L"SuggestListWnd.CLR.BGSelected"), 0xE06F1Au);  // 0x00BBGGRR

  const ts::SkinFont& name = skin.fonts.at(L"SuggestListWnd.Name");
  EXPECT_EQ(name.size, 14);
  EXPECT_EQ(name.weight, 400);
  EXPECT_EQ(name.faces,
            (std::vector<std::wstring>{L"Microsoft YaHei", L"WenQuanYi Micro Hei", L"SimSun"}));
  EXPECT_EQ(skin.fonts.at(L"SuggestListWnd.Code").weight, 700);
  EXPECT_EQ(skin.fonts.at(L"名称").faces, std::vector<std::wstring>{L"宋体"});

  const ts::SkinBitmap& logo = skin.bitmaps.at(L"qx.logo");
  EXPECT_EQ(logo.file, L"logo.bmp");
  EXPECT_EQ(logo.width, 96);
  EXPECT_EQ(logo.height, 48);
  EXPECT_EQ(skin.bitmaps.at(L"KeyboarInput.text").file, L"parts/input field.bmp");
  EXPECT_EQ(skin.bitmaps.at(L"plain").width, 0);  // the image's own size
}

TEST(SkinFile, ReportsEachBadLineAndKeepsTheRest) {
  struct Case {
    const char* line;
    const wchar_t* messagePart;
  };
  const Case kCases[] = {
      {"color A = #FFF", L"#RRGGBB"},
      {"color B = #GG0000", L"#RRGGBB"},
      {"color S = #0102030", L"#RRGGBB"},  // one digit too many
      {"color C = 255,0,0", L"#RRGGBB"},
      {"colour D = #000000", L"unknown entry kind"},
      {"color = #000000", L"KEY = VALUE"},
      {"color E #000000", L"KEY = VALUE"},
      {"color F G = #000000", L"KEY = VALUE"},
      {"font H = 14 400", L"size, a weight"},
      {"font I = 0 400 SimSun", L"size"},
      {"font J = 14 1001 SimSun", L"weight"},
      {"font K = 14 400 SimSun,,Arial", L"empty font face"},
      {"font L = 14 400 An Extremely Long Font Face Name Here", L"31"},
      {"bitmap M = logo.bmp 96", L"two numbers"},
      {"bitmap N = logo.bmp 0 48", L"two numbers"},
      {"bitmap O = ../other/logo.bmp 96 48", L"inside the skin folder"},
      {"bitmap P = C:\\skins\\logo.bmp", L"inside the skin folder"},
      {"bitmap Q = /logo.bmp", L"inside the skin folder"},
      {"bitmap R = 96 48", L"two numbers"},
      {"color Good = #010203", nullptr},  // the first entry of a key wins
      {"color Good = #040506", L"given twice"},
      {"\xC3\x28 = #000000", L"UTF-8"},
  };
  std::string text;
  for (const Case& c : kCases) text += std::string(c.line) + "\n";
  const SkinFile skin = ParseSkinText(text);

  size_t issue = 0;
  for (size_t i = 0; i < sizeof(kCases) / sizeof(kCases[0]); ++i) {
    if (!kCases[i].messagePart) continue;
    ASSERT_LT(issue, skin.issues.size()) << kCases[i].line;
    EXPECT_EQ(skin.issues[issue].line, static_cast<int>(i + 1)) << kCases[i].line;
    EXPECT_NE(skin.issues[issue].message.find(kCases[i].messagePart), std::wstring::npos)
        << kCases[i].line;
    ++issue;
  }
  EXPECT_EQ(issue, skin.issues.size());
  EXPECT_EQ(skin.colors, (std::map<std::wstring, uint32_t>{{L"Good", 0x030201u}}));
  EXPECT_TRUE(skin.fonts.empty());
  EXPECT_TRUE(skin.bitmaps.empty());
}

TEST(SkinDpi, ScalesWithMulDivRounding) {
  struct Case {
    int dpi, value, expected;
  };
  const Case kCases[] = {
      {96, 14, 14}, {120, 9, 11},  // 11.25
      {144, 9, 14},                // 13.5 rounds away from zero
      {144, 3, 5},  {192, 22, 44}, {144, -3, -5}, {0, 10, 0}, {96, 0, 0},
  };
  for (const Case& c : kCases)
    EXPECT_EQ(SWDPI::Scale(c.dpi, c.value), c.expected) << c.dpi << " " << c.value;
}

}  // namespace
