// Key comparison in its four modes, key classes, categories and the sort's order of equal keys.
// The common categories, the binary searches and the sort's order otherwise are covered by the
// result order of the searches, the agreement of bulk and single loads and the store checks.
#include <gtest/gtest.h>

#include "support/TableFixture.h"

namespace {

const KeyCompareMode FW = MODE_FORWARD_WHOLE, BW = MODE_BACKWARD_WHOLE;
const KeyCompareMode FP = MODE_FORWARD_PREFIX, BP = MODE_BACKWARD_SUFFIX;

int Sign(int v) { return (v > 0) - (v < 0); }

TEST(TableKeyOrder, CompareKeyInItsFourModes) {
  const struct {
    KeyCompareMode mode;
    const wchar_t *text, *key;
    int expected;
    bool exact;  // false: only the sign is fixed (the platform's case-insensitive comparison)
  } kCases[] = {
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
  for (const auto& c : kCases) {
    const int got = CompareKey(&c.mode, c.text, c.key);
    EXPECT_EQ(c.exact ? got : Sign(got), c.exact ? c.expected : Sign(c.expected))
        << "case " << &c - kCases;
  }
  for (const KeyCompareMode& mode : {FW, BW, FP, BP}) {
    EXPECT_EQ(CompareKey(&mode, L"", L"A"), -1);
    EXPECT_EQ(CompareKey(&mode, L"A", L""), -1);
    EXPECT_EQ(CompareKey(&mode, nullptr, L"A"), -1);
    EXPECT_EQ(CompareKey(&mode, L"A", nullptr), -1);
  }
}

// The rules that the searches do not reach: key classes, which choose a search's path, and the
// categories of rarer type words.
TEST(TableKeyOrder, KeyClassesAndCategories) {
  const std::pair<const wchar_t*, int> kClasses[] = {
      {L"1234", 0}, {L"ZXG", 1}, {L"ZX1", 2},  {L"1A", 2}, {L"zxg", 2},
      {L"１", 2},   {L" 1", 2},  {L"浦发", 2}, {L"", -1},  {nullptr, -1}};
  for (const auto& c : kClasses) EXPECT_EQ(ClassifyKey(c.first), c.second) << &c - kClasses;
  const std::pair<int, int> kSecurities[] = {
      {0x0005, 36}, {0x0007, 18}, {0x000C, 63}, {0x0015, 64}, {0x0051, 19}, {0x0009, 66},
      {0x010B, 62}, {0x01AB, 41}, {0x010E, 39}, {0x5A00, 37}, {0x0600, 22}, {0x0798, 45},
      {0x0799, 46}, {0x07A1, 43}, {0x0800, 47}, {0x0A00, 54}, {0x6400, 67}, {0xDF00, 48},
      {0xE000, 66}, {0x6B08, 32}, {0x6909, 33}, {0x7401, 57}, {0x7406, 60}, {0x7407, 61},
      {0x7600, 49}, {0x7700, 52}, {0x7800, 68}, {0x8500, 53}, {0x7A00, 50}, {0x7B00, 51},
      {0x7C00, 55}, {0x7D00, 38}, {0x9600, 70}, {0x9900, 24}, {0x9C00, 34}, {0xC900, 56},
      {0xCA00, 69}};
  for (const auto& c : kSecurities)
    EXPECT_EQ(CategoryOfSecurity(L"830799", &c.first), c.second) << std::hex << c.first;
  const KeyboardItemInfo record;
  for (const auto& c : std::vector<std::pair<int, int>>{
           {0x6501, 9}, {0x6502, 8}, {0x6503, 7}, {0x6504, 6}, {0x6709, 4}, {0x6800, 66}})
    EXPECT_EQ(CategoryOf(&record, &c.first, &KIND_COMMAND, 0), c.second) << std::hex << c.first;
}

// Writes texts as the codes of records 0..n-1, one slot each, and lists the slots in that order.
IndexList CodeList(KeyboardInputMappingTable& table, const std::vector<std::wstring>& texts) {
  IndexList list;
  for (int n = 0; n < int(texts.size()); ++n) {
    CopyKeyField(table.m_pItems[n].m_szCode, texts[n].c_str());
    table.m_pSlots[n] = KeySlot{n, 0};
    list.push_back(n);
  }
  return list;
}

// Equal keys come out in the order that the pivot handling gives, not in their original order;
// a bulk add sorts its lists the same way.
TEST(TableKeyOrder, SortPlacesEqualKeysByItsPivotRule) {
  KeyboardInputMappingTable table;
  IndexList list = CodeList(table, {L"B", L"A", L"B", L"A", L"B"});
  int low = 0, high = 4;
  ASSERT_TRUE(table.SortIndexList(list, &low, &high, &FW));
  EXPECT_EQ(list, (IndexList{3, 1, 4, 2, 0}));
  low = 3, high = 3;
  EXPECT_TRUE(table.SortIndexList(list, &low, &high, &FW));
  EXPECT_EQ(list, (IndexList{3, 1, 4, 2, 0}));

  TableHost host;
  KeyboardInputMappingTable bulk;
  const std::vector<KeyboardItemInfo> items = {
      Security(L"B", L"H0", L"N0"), Security(L"A", L"H1", L"N1"), Security(L"B", L"H2", L"N2"),
      Security(L"A", L"H3", L"N3"), Security(L"B", L"H4", L"N4")};
  const std::vector<int> categories = {11};
  ASSERT_TRUE(bulk.AddKeyboardItem(items.data(), 5, &categories, false));
  EXPECT_EQ(ListPositions(bulk, 0, 11), (std::vector<int>{3, 1, 4, 2, 0}));
  EXPECT_EQ(ListKeys(bulk, 2, 11), (std::vector<std::wstring>{L"H0", L"H1", L"H2", L"H3", L"H4"}));
  EXPECT_EQ(StoreViolations(bulk), "");
}

}  // namespace
