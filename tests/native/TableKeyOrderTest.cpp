// Key comparison, key classes, categories and the searches and sort over one index list.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "support/TableFixture.h"
#include "table/MappingTable.h"

namespace {

using namespace store_test;

const KeyCompareMode FW = MODE_FORWARD_WHOLE;
const KeyCompareMode BW = MODE_BACKWARD_WHOLE;
const KeyCompareMode FP = MODE_FORWARD_PREFIX;
const KeyCompareMode BP = MODE_BACKWARD_SUFFIX;

int Sign(int v) { return (v > 0) - (v < 0); }

TEST(TableKeyOrder, CompareKeyInItsFourModes) {
  struct Case {
    KeyCompareMode mode;
    const wchar_t* text;
    const wchar_t* key;
    int expected;
    bool exact;  // false: only the sign is fixed (the platform's case-insensitive comparison)
  };
  const Case kCases[] = {
      // Forward, whole: case ignored; once a space was skipped the shorter text decides.
      {FW, L"12 34", L"1234", 0, true},
      {FW, L"1234", L"12 34", 0, true},
      {FW, L"12 3", L"1234", 0, true},
      {FW, L"ABC", L"abc", 0, true},
      {FW, L"AB", L"ABC", -1, false},
      {FW, L"abd", L"ABC", 'D' - 'C', true},  // difference of the upper-cased characters
      {FW, L"Ｂ", L"C", 0xFF22 - 'C', true},  // folding decides equality, not the difference
      // Width folds both ways here, but counts as equal only once a space was skipped.
      {FW, L"Ａ B", L"AB", 0, true},
      {FW, L"A B", L"ＡB", 0, true},
      {FW, L"ＡB", L"AB", 1, false},  // no space skipped: the platform's comparison, not equal
      // Forward, prefix: only a full-width character of the stored text folds.
      {FP, L"1234", L"12", 0, true},
      {FP, L"1234", L"13", '2' - '3', true},
      {FP, L"12", L"1234", -1, false},
      {FP, L"abc", L"AB", 0, true},
      {FP, L"Ａ BC", L"AB", 0, true},
      {FP, L"A BC", L"ＡB", 'A' - 0xFF21, true},
      {FP, L"A BC", L"ABC", 0, true},
      {FP, L"ABC", L"A C", 'B' - 'C', true},
      // Backward: differences of the unconverted characters, no width folding.
      {BW, L"4519", L"519", '4', true},
      {BW, L"519", L"4519", -'4', true},
      {BW, L"abc", L"ABD", 'c' - 'D', true},
      {BW, L"abc", L"ABC", 0, true},
      {BW, L"45 19", L"4519", 0, true},
      {BW, L" 519", L"519", ' ', true},
      {BW, L"Ａ", L"A", 0xFF21 - 'A', true},
      {BP, L"4519", L"519", 0, true},
      {BP, L"519", L"4519", -'4', true},
      {BP, L"45 19", L"5 19", 0, true},
      {BP, L"4519", L"419", '5' - '4', true},
      {BP, L"abx", L"BC", 'x' - 'C', true},
      {BP, L"abc", L"BC", 0, true},
  };
  for (const Case& c : kCases) {
    const int got = CompareKey(&c.mode, c.text, c.key);
    const std::string what = "mode {" + std::to_string(c.mode.m_bBackward) + "," +
                             std::to_string(c.mode.m_bPrefix) + "} case " +
                             std::to_string(&c - kCases);
    if (c.exact)
      EXPECT_EQ(got, c.expected) << what;
    else
      EXPECT_EQ(Sign(got), Sign(c.expected)) << what;
  }
  for (const KeyCompareMode& mode : {FW, BW, FP, BP}) {
    EXPECT_EQ(CompareKey(&mode, L"", L"A"), -1);
    EXPECT_EQ(CompareKey(&mode, L"A", L""), -1);
    EXPECT_EQ(CompareKey(&mode, nullptr, L"A"), -1);
    EXPECT_EQ(CompareKey(&mode, L"A", nullptr), -1);
  }
}

TEST(TableKeyOrder, ClassifyKey) {
  const struct {
    const wchar_t* text;
    int expected;
  } kCases[] = {{L"1234", 0}, {L"0", 0},    {L"ZXG", 1}, {L"A", 1},    {L"ZX1", 2},
                {L"1A", 2},   {L"zxg", 2},  {L"１", 2},  {L"Ａ", 2},   {L" 1", 2},
                {L"1 ", 2},   {L"浦发", 2}, {L"", -1},   {nullptr, -1}};
  for (const auto& c : kCases)
    EXPECT_EQ(ClassifyKey(c.text), c.expected) << (c.text ? "text" : "null") << " " << &c - kCases;
}

// The category of a security type word, written out from the rows of the classification.
int ExpectedSecurityCategory(unsigned hi, unsigned lo, bool beijing) {
  struct Row {
    std::vector<unsigned> his, los;  // no los: any
    int category;
  };
  static const std::vector<Row> kRows = {
      {{0}, {5}, 36},
      {{0}, {6}, 12},
      {{0}, {7}, 18},
      {{0}, {8}, 42},
      {{0}, {10, 14}, 40},
      {{0}, {12}, 63},
      {{0}, {13}, 13},
      {{0}, {21}, 64},
      {{0}, {80}, 14},
      {{1}, {1}, 35},
      {{1}, {2}, 11},
      {{1}, {3}, 17},
      {{1}, {4, 171}, 41},
      {{1}, {9, 14}, 39},
      {{1}, {11}, 62},
      {{1}, {18}, 64},
      {{1}, {23}, 15},
      {{2, 47, 90}, {}, 37},
      {{3, 6}, {}, 22},
      {{7}, {151}, 44},
      {{7}, {152}, 45},
      {{7}, {153}, 46},
      {{7}, {161}, 43},
      {{8}, {}, 47},
      {{10, 11, 12, 139, 140, 141, 151, 163}, {}, 54},
      {{100}, {}, 67},
      {{101, 102, 103, 104, 108, 109, 110, 111, 112, 113, 114, 115, 130, 131, 132, 134, 142, 223},
       {},
       48},
      {{105, 106, 107}, {}, 33},  // lo 1 to 8 below
      {{116}, {}, 61},            // lo 1 to 6 below
      {{116}, {1}, 57},
      {{116}, {2}, 58},
      {{116}, {3}, 21},
      {{116}, {4}, 23},
      {{116}, {5}, 59},
      {{116}, {6}, 60},
      {{118}, {}, 49},
      {{119}, {}, 52},
      {{120}, {}, 68},
      {{121, 133}, {}, 53},
      {{122}, {}, 50},
      {{123}, {}, 51},
      {{124}, {}, 55},
      {{125}, {}, 38},
      {{150}, {}, 70},
      {{153}, {}, 24},
      {{155, 156}, {}, 34},
      {{201}, {}, 56},
      {{202}, {}, 69},
  };
  if (hi == 0 && lo == 81) return beijing ? 19 : 20;
  if (hi >= 105 && hi <= 107 && lo >= 1 && lo <= 8) return static_cast<int>(lo) + 24;
  int category = 66;
  for (const Row& row : kRows) {
    bool hiMatch = std::find(row.his.begin(), row.his.end(), hi) != row.his.end();
    bool loMatch =
        row.los.empty() || std::find(row.los.begin(), row.los.end(), lo) != row.los.end();
    if (hiMatch && loMatch) category = row.category;  // later, narrower rows win
  }
  return category;
}

int ExpectedCommandCategory(unsigned hi, unsigned lo) {
  switch (hi) {
    case 100:
      return 5;
    case 101:
      return lo == 1 ? 9 : lo == 2 ? 8 : lo == 3 ? 7 : 6;
    case 102:
      return 71;
    case 103:
      return lo <= 3 ? static_cast<int>(lo) : 4;
    default:
      return 66;
  }
}

TEST(TableKeyOrder, CategoryOfEveryTypeWordAndKind) {
  KeyboardItemInfo record = Stock(L"600000", L"PFYH", L"浦发银行");
  std::set<int> produced;
  for (int word = 0; word <= 0xFFFF; ++word) {
    const unsigned hi = static_cast<unsigned>(word) >> 8, lo = static_cast<unsigned>(word) & 0xFF;
    const int security = ExpectedSecurityCategory(hi, lo, false);
    ASSERT_EQ(CategoryOfSecurity(L"600000", &word), security) << std::hex << word;
    for (DWORD kind : {0u, 1u, 255u, 259u, 0xFFFFFFFFu})
      ASSERT_EQ(CategoryOf(&record, &word, &kind, 0), security) << std::hex << word;
    DWORD kind = KIND_COMMAND;
    ASSERT_EQ(CategoryOf(&record, &word, &kind, 0), ExpectedCommandCategory(hi, lo));
    kind = KIND_FORMER_NAME;
    ASSERT_EQ(CategoryOf(&record, &word, &kind, 0), 65);
    kind = KIND_ALIAS;
    ASSERT_EQ(CategoryOf(&record, &word, &kind, 0), 10);
    ASSERT_EQ(CategoryOf(&record, &word, &kind, 1), security);
    produced.insert(security);
    produced.insert(ExpectedCommandCategory(hi, lo));
  }
  EXPECT_EQ(produced.count(16), 0u);  // no rule yields the depositary-receipt category
  // Low byte 81 of market group 0 splits Beijing A shares (19) from the other boards (20).
  int word = 0x0051;
  EXPECT_EQ(CategoryOfSecurity(L"830799", &word), 19);
  EXPECT_EQ(CategoryOfSecurity(L"430047", &word), 19);
  EXPECT_EQ(CategoryOfSecurity(L"400002", &word), 20);
  EXPECT_EQ(CategoryOfSecurity(nullptr, &word), 20);
}

TEST(TableKeyOrder, SeventyTwoCategoryNames) {
  const struct {
    const wchar_t* name;
    std::vector<int> categories;
  } kNames[] = {
      {L"交易", {0, 1, 2, 3, 4, 8}},
      {L"功能", {5}},
      {L"指标", {6}},
      {L"五彩", {7}},
      {L"选股", {9}},
      {L"别名", {10}},
      {L"沪A", {11}},
      {L"深A", {12, 13, 14}},
      {L"科创", {15}},
      {L"CDR", {16}},
      {L"沪B", {17}},
      {L"深B", {18}},
      {L"京A", {19}},
      {L"三板", {20}},
      {L"港股", {21, 22, 23, 57, 58, 59, 60, 61}},
      {L"粉单", {24}},
      {L"美股", {25, 26, 27, 28, 29, 30, 31, 32, 33}},
      {L"英股", {34}},
      {L"指数", {35, 36, 37, 38, 43, 55, 56, 67, 69}},
      {L"基金", {39, 40, 70}},
      {L"债券", {41, 42}},
      {L"期货", {44, 45, 46, 47, 48}},
      {L"现货", {49, 50, 51}},
      {L"外汇", {52, 53}},
      {L"期权", {54}},
      {L"权证", {62, 63}},
      {L"退市", {64}},
      {L"曾用", {65}},
      {L"未知", {66}},
      {L"汇率", {68}},
      {L"板块", {71}},
  };
  std::vector<std::wstring> expected(ITEM_CATEGORIES);
  for (const auto& entry : kNames)
    for (int c : entry.categories) expected[c] = entry.name;
  for (int c = 0; c < ITEM_CATEGORIES; ++c) {
    ASSERT_FALSE(expected[c].empty()) << c;
    EXPECT_EQ(std::wstring(CategoryName(c)), expected[c]) << c;
  }
  EXPECT_EQ(std::wstring(CategoryName(-1)), L"未知");
  EXPECT_EQ(std::wstring(CategoryName(ITEM_CATEGORIES)), L"未知");
}

// Writes texts as the codes of records 0..n-1, one slot each, and lists the slots in that order.
IndexList CodeList(KeyboardInputMappingTable& table, const std::vector<std::wstring>& texts) {
  IndexList list;
  for (size_t i = 0; i < texts.size(); ++i) {
    const int n = static_cast<int>(i);
    CopyKeyField(table.m_pItems[n].m_szCode, texts[i].c_str());
    table.m_pSlots[n] = KeySlot{n, 0};
    list.push_back(n);
  }
  return list;
}

TEST(TableKeyOrder, BoundsRangesAndInsertPositions) {
  KeyboardInputMappingTable table;
  const IndexList list = CodeList(table, {L"A", L"B", L"B", L"B", L"C"});
  const int high = 4;
  typedef std::pair<int, int> Range;
  EXPECT_EQ(table.EqualRange(list, high, L"B", &FW), Range(1, 3));
  EXPECT_EQ(table.EqualRange(list, high, L"b", &FW), Range(1, 3));
  EXPECT_EQ(table.EqualRange(list, high, L"A", &FW), Range(0, 0));
  EXPECT_EQ(table.EqualRange(list, high, L"C", &FW), Range(4, 4));
  for (const wchar_t* absent : {L"0", L"AA", L"BB", L"D", L""})
    EXPECT_EQ(table.EqualRange(list, high, absent, &FW), Range(-1, -1));
  EXPECT_EQ(table.SearchBound(list, 0, high, L"B", true, &FW), 1);
  EXPECT_EQ(table.SearchBound(list, 0, high, L"B", false, &FW), 3);
  EXPECT_EQ(table.SearchBound(list, 2, 3, L"B", true, &FW), 2);
  EXPECT_EQ(table.SearchBound(list, -1, high, L"B", true, &FW), -1);
  EXPECT_EQ(table.SearchBound(list, 3, 2, L"B", true, &FW), -1);
  EXPECT_EQ(table.SearchBound(list, 0, high, nullptr, true, &FW), -1);
  EXPECT_EQ(table.InsertPosition(list, high, L"B", &FW), 4);
  EXPECT_EQ(table.InsertPosition(list, high, L"A", &FW), 1);
  EXPECT_EQ(table.InsertPosition(list, high, L"0", &FW), 0);
  EXPECT_EQ(table.InsertPosition(list, high, L"Z", &FW), 5);
  EXPECT_EQ(table.InsertPosition(list, -1, L"B", &FW), -1);
  EXPECT_EQ(table.InsertPosition(list, high, nullptr, &FW), -1);

  const IndexList one = CodeList(table, {L"B"});
  EXPECT_EQ(table.SearchBound(one, 0, 0, L"B", true, &FW), 0);
  EXPECT_EQ(table.SearchBound(one, 0, 0, L"B", false, &FW), 0);
  EXPECT_EQ(table.EqualRange(IndexList(), -1, L"B", &FW), Range(-1, -1));
  const IndexList three = CodeList(table, {L"B", L"B", L"B"});
  EXPECT_EQ(table.InsertPosition(three, 2, L"B", &FW), 3);

  // A backward list: suffix ranges and whole matches from the end.
  const IndexList backward = CodeList(table, {L"11", L"21", L"519", L"4519", L"29"});
  EXPECT_EQ(table.EqualRange(backward, 4, L"19", &BP), Range(2, 3));
  EXPECT_EQ(table.EqualRange(backward, 4, L"9", &BP), Range(2, 4));
  EXPECT_EQ(table.EqualRange(backward, 4, L"1", &BP), Range(0, 1));
  EXPECT_EQ(table.EqualRange(backward, 4, L"519", &BW), Range(2, 2));
  EXPECT_EQ(table.InsertPosition(backward, 4, L"319", &BW), 2);
}

// Random keys over a small alphabet, listed in order, against a linear scan.
TEST(TableKeyOrder, RangesAgreeWithALinearScan) {
  KeyboardInputMappingTable table;
  std::mt19937 random(7);
  std::vector<std::wstring> probes;
  for (const wchar_t* a : {L"A", L"B", L"C"}) {
    probes.push_back(a);
    for (const wchar_t* b : {L"A", L"B", L"C"}) probes.push_back(std::wstring(a) + b);
  }
  for (int round = 0; round < 300; ++round) {
    const int direction = round % 2;
    const KeyCompareMode whole = {static_cast<unsigned char>(direction), 0};
    const KeyCompareMode part = {static_cast<unsigned char>(direction), 1};
    std::vector<std::wstring> texts(random() % 24);
    for (auto& text : texts) {
      text.resize(1 + random() % 3);
      // Backward differences are of unconverted characters, so mixed case has no consistent
      // backward order: small letters only forward.
      for (auto& c : text)
        c = static_cast<wchar_t>((direction == 0 && random() % 2 ? L'a' : L'A') + random() % 3);
    }
    std::stable_sort(texts.begin(), texts.end(), [&](const std::wstring& x, const std::wstring& y) {
      return CompareKey(&whole, x.c_str(), y.c_str()) < 0;
    });
    const IndexList list = CodeList(table, texts);
    const int high = static_cast<int>(texts.size()) - 1;
    for (const std::wstring& probe : probes) {
      for (const KeyCompareMode* mode : {&whole, &part}) {
        int first = -1, last = -1;
        for (int i = 0; i <= high; ++i)
          if (CompareKey(mode, texts[i].c_str(), probe.c_str()) == 0) {
            if (first < 0) first = i;
            last = i;
          }
        ASSERT_EQ(table.EqualRange(list, high, probe.c_str(), mode), std::make_pair(first, last))
            << "round " << round << " mode prefix " << int(mode->m_bPrefix);
      }
      int after = 0;
      for (int i = 0; i <= high; ++i)
        if (CompareKey(&whole, texts[i].c_str(), probe.c_str()) <= 0) after = i + 1;
      if (high >= 0) {
        ASSERT_EQ(table.InsertPosition(list, high, probe.c_str(), &whole), after);
      }
    }
  }
}

TEST(TableKeyOrder, SortOrdersListsAndPlacesEqualKeysByItsPivotRule) {
  KeyboardInputMappingTable table;
  // Equal keys come out in the order that the pivot handling gives, not in their original order.
  IndexList list = CodeList(table, {L"B", L"A", L"B", L"A", L"B"});
  int low = 0, high = 4;
  ASSERT_TRUE(table.SortIndexList(list, &low, &high, &FW));
  EXPECT_EQ(list, (IndexList{3, 1, 4, 2, 0}));
  low = 3, high = 3;
  EXPECT_TRUE(table.SortIndexList(list, &low, &high, &FW));
  EXPECT_EQ(list, (IndexList{3, 1, 4, 2, 0}));

  std::mt19937 random(11);
  for (int round = 0; round < 200; ++round) {
    const KeyCompareMode mode = {static_cast<unsigned char>(round % 2), 0};
    std::vector<std::wstring> texts(random() % 60);
    for (auto& text : texts) {
      text.resize(1 + random() % 4);
      for (auto& c : text) c = static_cast<wchar_t>(L'0' + random() % 4);
    }
    IndexList sorted = CodeList(table, texts);
    low = 0, high = static_cast<int>(sorted.size()) - 1;
    ASSERT_TRUE(table.SortIndexList(sorted, &low, &high, &mode));
    IndexList entries = sorted;
    std::sort(entries.begin(), entries.end());
    IndexList all(texts.size());
    for (size_t i = 0; i < all.size(); ++i) all[i] = static_cast<int>(i);
    ASSERT_EQ(entries, all) << "not a permutation";
    for (size_t i = 1; i < sorted.size(); ++i)
      ASSERT_LE(CompareKey(&mode, texts[sorted[i - 1]].c_str(), texts[sorted[i]].c_str()), 0)
          << "round " << round << " entry " << i;
  }
}

TEST(TableKeyOrder, BulkAddGivesEqualKeysTheSortOrder) {
  TableHost host;
  KeyboardInputMappingTable table;
  const std::vector<KeyboardItemInfo> items = {Stock(L"B", L"H0", L"N0"), Stock(L"A", L"H1", L"N1"),
                                               Stock(L"B", L"H2", L"N2"), Stock(L"A", L"H3", L"N3"),
                                               Stock(L"B", L"H4", L"N4")};
  const std::vector<int> categories = {11};
  ASSERT_TRUE(table.AddKeyboardItem(items.data(), 5, &categories, false));
  EXPECT_EQ(ListPositions(table, 0, 11), (std::vector<int>{3, 1, 4, 2, 0}));
  EXPECT_EQ(ListKeys(table, 2, 11), (std::vector<std::wstring>{L"H0", L"H1", L"H2", L"H3", L"H4"}));
  EXPECT_EQ(StoreViolations(table), "");
}

}  // namespace
