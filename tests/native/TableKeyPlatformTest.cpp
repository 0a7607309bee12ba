// Where the key order depends on the platform. Upper-casing is the platform's rule: Windows'
// CharUpperW leaves a few letters alone that the Unicode simple mapping of the POSIX side
// upper-cases (micro sign, dotless i, long s, final sigma). Keys made of ASCII, Latin-1 letters,
// full-width letters and CJK compare the same everywhere.
#include <gtest/gtest.h>

#include "platform/Platform.h"
#include "support/TableFixture.h"
#include "table/MappingTable.h"

namespace {

int Whole(const wchar_t* a, const wchar_t* b) { return CompareKey(&MODE_FORWARD_WHOLE, a, b); }

}  // namespace

TEST(TableKeyPlatform, SpecialLettersUpperCaseByThePlatformRule) {
  // The same on both platforms.
  EXPECT_EQ(plat::UpperChar(L'q'), L'Q');
  EXPECT_EQ(plat::UpperChar(L'\u00E9'), L'\u00C9');
  EXPECT_EQ(plat::UpperChar(L'\uFF41'), L'\uFF21');
  EXPECT_EQ(plat::UpperChar(L'\u4E2D'), L'\u4E2D');
  EXPECT_EQ(Whole(L"\u00E9T", L"\u00C9T"), 0);
  EXPECT_EQ(Whole(L"\uFF21B", L"ab"), Whole(L"\uFF21B", L"AB"));

#ifdef _WIN32
  // Platform-dependent: CharUpperW keeps these, so the keys stay apart.
  EXPECT_EQ(plat::UpperChar(L'\u00B5'), L'\u00B5');
  EXPECT_EQ(plat::UpperChar(L'\u0131'), L'\u0131');
  EXPECT_NE(Whole(L"\u00B51", L"\u039C1"), 0);
  EXPECT_NE(Whole(L"\u0131X", L"IX"), 0);
#else
  // Platform-dependent: the simple mapping upper-cases them, so the keys meet.
  EXPECT_EQ(plat::UpperChar(L'\u00B5'), L'\u039C');
  EXPECT_EQ(plat::UpperChar(L'\u0131'), L'I');
  EXPECT_EQ(Whole(L"\u00B51", L"\u039C1"), 0);
  EXPECT_EQ(Whole(L"\u0131X", L"IX"), 0);
#endif
}

TEST(TableKeyPlatform, DuplicateCheckFollowsThePlatformUpperCasing) {
  store_test::TableHost host;
  KeyboardInputMappingTable table;
  KeyboardItemInfo micro(L"\u00B5100", L"MU", L"Micro", 0x0102, -1, nullptr, 0xFFFFFFFF,
                         KEYBOARD_SELECT_NONE);
  KeyboardItemInfo mu(L"\u039C100", L"MU", L"Micro", 0x0102, -1, nullptr, 0xFFFFFFFF,
                      KEYBOARD_SELECT_NONE);
  ASSERT_TRUE(table.AddOneItem(&micro, true, false));
  ASSERT_TRUE(table.AddOneItem(&mu, true, false));
#ifdef _WIN32
  EXPECT_EQ(table.m_nItemCount, 2);  // platform-dependent: two securities
#else
  EXPECT_EQ(table.m_nItemCount, 1);  // platform-dependent: one security, the second a duplicate
#endif
}
