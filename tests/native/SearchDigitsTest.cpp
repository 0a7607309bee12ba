// Result order for digits: numeric command keys, exact matches category by category, then the
// three ranked passes over the digit category order.
#include <gtest/gtest.h>

#include "support/SearchFixture.h"

using namespace type_word;

namespace {

TEST(SearchDigits, ThreeDigitsRunMapExactThenThreePasses) {
  SearchBed bed;
  ASSERT_TRUE(bed.LoadSingle({
      Command(L"600", L"", L"测试命令", FUNCTION_CMD, 600),    // numeric command key
      Security(L"600", L"HKA", L"港股六百", HK_OTHER, 31),     // 22, exact code
      Security(L"600", L"ZSA", L"指数六百", INDEX, 1),         // 37, exact code
      Command(L"2600", L"MR", L"买入", TRADE_CMD, 221),        // 0, ends
      Security(L"601600", L"ZGLY", L"中国铝业", SH_A, 1),      // 11, ends
      Security(L"000600", L"JTNY", L"建投能源", SZ_A, 0),      // 12, ends
      Security(L"688600", L"WXKJ", L"皖仪科技", STAR, 1),      // 15, ends
      Security(L"400600", L"TSB", L"退市乙", DELISTED, 0),     // 64, ends
      Security(L"600519", L"GZMT", L"贵州茅台", SH_A, 1),      // 11, begins
      Security(L"600000", L"PFYH", L"浦发银行", SH_A, 1),      // 11, begins
      Security(L"00600", L"AGYY", L"爱高集团", HK_MAIN, 31),   // 21, ends
      Security(L"60000", L"HKB", L"港股乙", HK_MAIN, 31),      // 21, begins
      Security(L"600001", L"ZSB", L"指数乙", INDEX, 1),        // 37, begins
      Security(L"399600", L"ZSC", L"指数丙", INDEX, 0),        // 37, ends
      Security(L"510600", L"LYETF", L"600ETF", SH_FUND, 1),    // 39, name begins, code ends
      Security(L"600799", L"TSGF", L"退市股份", DELISTED, 1),  // 64, begins
      Security(L"900600", L"HBG", L"沪B股", SH_B, 1),          // 17, ends
      FormerName(L"600000", L"PFJM", L"浦发旧名", SH_A, 1),    // 65, begins: dropped
  }));
  const std::vector<KeyboardItemInfo> results = bed.Search(L"600");
  EXPECT_EQ(Rows(results), (RowList{
                               L"C:600 1",                // numeric command map
                               L"600 1", L"600 1",        // exact: category 22, then 37
                               L"C:2600 3", L"601600 3",  // pass 1: endings of 0..4, 11,
                               L"000600 3", L"688600 3",  //   12..14, 15,
                               L"400600 3",               //   64
                               L"600000 2", L"600519 2",  // pass 2: beginnings of 11
                               L"00600 3",                //   Hong Kong 21: endings
                               L"600001 2", L"510600 2",  //   37, 39 (by its name)
                               L"600799 2",               //   64; the former name is gone
                               L"900600 3",               // pass 3: endings of 17,
                               L"60000 2",                //   Hong Kong 21: beginnings,
                               L"399600 3",               //   endings of 37
                           }));
  ASSERT_EQ(results.size(), 17u);
  EXPECT_EQ(results[1].m_wType, HK_OTHER);
  EXPECT_EQ(results[2].m_wType, INDEX);
  // The fund matched by its name and its code is there once, as first found.
  EXPECT_STREQ(results[12].m_szName, L"600ETF");
}

// Shenzhen A categories move ahead of Shanghai A from four digits on.
TEST(SearchDigits, FourDigitsPutShenzhenBeforeShanghai) {
  SearchBed bed;
  ASSERT_TRUE(bed.LoadSingle({
      Security(L"600001", L"HDGT", L"邯郸钢铁", SH_A, 1),   // 11
      Security(L"000001", L"PAYH", L"平安银行", SZ_A, 0),   // 12
      Security(L"300001", L"TRD", L"特锐德", SZ_A_GEM, 0),  // 14
      Security(L"000100", L"TCLKJ", L"TCL科技", SZ_A, 0),   // 12
      Security(L"001979", L"ZSSK", L"招商蛇口", SZ_A, 0),   // 12
      Security(L"688001", L"HXGD", L"华兴源创", STAR, 1),   // 15
      Security(L"880001", L"ZSA", L"指数甲", INDEX, 1),     // 37
  }));
  EXPECT_EQ(bed.Find(L"001"), (RowList{L"600001 3", L"000001 3", L"300001 3", L"688001 3",
                                       L"001979 2", L"880001 3"}));
  EXPECT_EQ(bed.Find(L"0001"),
            (RowList{L"000001 3", L"300001 3", L"600001 3", L"000100 2", L"880001 3"}));
  EXPECT_EQ(bed.Find(L"000001"), (RowList{L"000001 1"}));
}

// Keys of the numeric command map equal to the digits come first, in the order they were
// registered, and that lookup does not stop at the cap.
TEST(SearchDigits, NumericCommandKeysComeFirstWithoutCap) {
  SearchBed bed;
  std::vector<KeyboardItemInfo> items = {Security(L"600000", L"PFYH", L"浦发银行"),
                                         Command(L"12", L"60", L"代码六十", FUNCTION_CMD, 1)};
  std::vector<int> extras = {1}, found;  // the first by its hot key
  for (int i = 0; i < 120; ++i) {
    const std::wstring name = {L'命', wchar_t(L'A' + i / 26), wchar_t(L'A' + i % 26)};
    items.push_back(Command(L"60", L"", name.c_str(), FUNCTION_CMD, 100 + i));
    extras.push_back(100 + i);
  }
  ASSERT_TRUE(bed.LoadSingle(items));
  RowList rows(121, L"C:60 1");
  rows[0] = L"C:12 1";
  EXPECT_EQ(bed.Find(L"60"), rows);
  for (const KeyboardItemInfo& r : bed.Search(L"60")) found.push_back(r.m_nExtraInfo);
  EXPECT_EQ(found, extras);
  // A shorter digit text does not find map keys that only begin with it.
  EXPECT_EQ(bed.Find(L"6"), (RowList{L"600000 2"}));
}

TEST(SearchDigits, CapStopsAtExactlyOneHundred) {
  SearchBed bed;
  std::vector<KeyboardItemInfo> items;
  RowList rows;
  for (int i = 0; i < 150; ++i) {  // no key ends with "60"
    const std::wstring letters = {wchar_t(L'A' + i / 26), wchar_t(L'A' + i % 26)};
    const std::wstring code = L"60" + std::to_wstring(1000 + i).substr(1) + L"1";
    items.push_back(Security(code.c_str(), (L"GP" + letters).c_str(), (L"股" + letters).c_str()));
    if (i < 100) rows.push_back(code + L" 2");
  }
  // Endings in a later category would come after the cap.
  items.push_back(Security(L"000060", L"ZSA", L"指数甲", INDEX, 0));
  ASSERT_TRUE(bed.LoadBulk(items));
  EXPECT_EQ(bed.Find(L"60"), rows);
  EXPECT_EQ(bed.Search(L"6014").size(), 10u);
}

// Hong Kong categories 21 to 23 alike: their endings come in the second pass, after the
// beginnings of the categories before them and ahead of those after them; their beginnings in
// the third.
TEST(SearchDigits, EveryHongKongCategoryOffersEndingsInTheSecondPass) {
  const unsigned short kHongKong23 = 0x7404;
  for (unsigned short type : {HK_MAIN, HK_OTHER, kHongKong23}) {
    SearchBed bed;
    ASSERT_TRUE(bed.LoadSingle({
        Security(L"700123", L"HKA", L"港股甲", type, 31),  // ends
        Security(L"12399", L"HKB", L"港股乙", type, 31),   // begins
        Security(L"123001", L"ZSA", L"指数甲", INDEX, 0),  // 37, begins
        Security(L"399123", L"ZSB", L"指数乙", INDEX, 0),  // 37, ends
    }));
    const int typeWord = type;
    const int category = CategoryOfSecurity(L"700123", &typeWord);
    ASSERT_TRUE(category >= 21 && category <= 23) << type;
    EXPECT_EQ(bed.Find(L"123"), (RowList{L"700123 3", L"123001 2", L"12399 2", L"399123 3"}))
        << "category " << category;
  }
}

}  // namespace
