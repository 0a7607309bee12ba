// The synthetic market generator: reproducible, exact in size, valid for the table, and shaped
// like a real terminal's item list.
#include <gtest/gtest.h>

#include <cwctype>
#include <map>
#include <sstream>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "frame/KeyboardItemInfo.h"
#include "table/MappingTable.h"
#include "tools/synth/SyntheticMarket.h"

namespace {

int Category(const SynthItem& item) {
  KeyboardItemInfo record;
  CopyKeyField(record.m_szCode, item.code.c_str());
  CopyKeyField(record.m_szHotKey, item.hotkey.c_str());
  CopyKeyField(record.m_szName, item.name.c_str());
  record.m_wType = static_cast<unsigned short>(item.type);
  record.m_dwKind = item.kind;
  int type = record.m_wType;
  DWORD kind = record.m_dwKind;
  return CategoryOf(&record, &type, &kind, 0);
}

bool SameItem(const SynthItem& a, const SynthItem& b) {
  return a.code == b.code && a.hotkey == b.hotkey && a.name == b.name && a.type == b.type &&
         a.extra == b.extra && a.kind == b.kind && a.market == b.market;
}

std::string Tsv(const std::vector<SynthItem>& items) {
  std::ostringstream out;
  WriteItemsTsv(out, items);
  return out.str();
}

uint64_t Fnv1a(const std::string& text) {
  uint64_t h = 0xCBF29CE484222325ull;
  for (unsigned char c : text) h = (h ^ c) * 0x100000001B3ull;
  return h;
}

bool AllDigits(const std::wstring& s) {
  for (wchar_t c : s)
    if (c < L'0' || c > L'9') return false;
  return !s.empty();
}

bool StartsWithAny(const std::wstring& s, std::initializer_list<const wchar_t*> prefixes) {
  for (const wchar_t* p : prefixes)
    if (s.compare(0, wcslen(p), p) == 0) return true;
  return false;
}

}  // namespace

TEST(SyntheticMarketTest, SameSeedSameMarketExactCount) {
  for (size_t count : {0u, 1u, 7u, 49u, 50u, 8000u}) {
    EXPECT_EQ(GenerateMarket(count, 5).size(), count) << count;
  }
  std::vector<SynthItem> a = GenerateMarket(30000, 42);
  std::vector<SynthItem> b = GenerateMarket(30000, 42);
  ASSERT_EQ(a.size(), 30000u);
  ASSERT_EQ(b.size(), a.size());
  for (size_t i = 0; i < a.size(); ++i) ASSERT_TRUE(SameItem(a[i], b[i])) << i;

  std::vector<SynthItem> other = GenerateMarket(30000, 43);
  size_t differing = 0;
  for (size_t i = 0; i < a.size(); ++i) differing += !SameItem(a[i], other[i]);
  EXPECT_GT(differing, a.size() * 9 / 10);

  // The file text is fixed for a seed, so benchmarks on every platform load the same market.
  std::string text = Tsv(GenerateMarket(2000, 1));
  EXPECT_EQ(text.compare(0, 2, "# "), 0);
  EXPECT_EQ(Fnv1a(text), 0x200d212cadc09b4dull) << std::hex << Fnv1a(text);
}

TEST(SyntheticMarketTest, ItemsAreValidAndDistinctForTheTable) {
  for (size_t count : {8000u, 300000u}) {
    std::vector<SynthItem> items = GenerateMarket(count, 9);
    std::unordered_map<std::wstring, const SynthItem*> securities;  // by market and code
    std::unordered_set<std::wstring> keys;
    keys.reserve(items.size());
    for (const SynthItem& item : items) {
      ASSERT_FALSE(item.code.empty());
      ASSERT_LE(item.code.size(), 16u) << item.code.size();
      ASSERT_FALSE(item.name.empty());
      ASSERT_LE(item.name.size(), 32u);
      ASSERT_FALSE(item.hotkey.empty());
      ASSERT_LE(item.hotkey.size(), 32u);
      for (wchar_t c : item.hotkey) ASSERT_TRUE(std::iswdigit(c) || (c >= L'A' && c <= L'Z'));
      ASSERT_GE(item.type, 0);
      ASSERT_LE(item.type, 0xFFFF);
      int category = Category(item);
      ASSERT_NE(category, 66) << item.type;
      if (item.kind == SYNTH_KIND_COMMAND) {
        ASSERT_GE(item.extra, 0);
        ASSERT_NE(item.extra, 73);  // 73 would make the hand-over carry the item itself
        ASSERT_EQ(item.market, 0xFF);
      } else {
        ASSERT_EQ(item.extra, -1);
      }
      if (item.kind == SYNTH_KIND_SECURITY)
        securities.emplace(static_cast<wchar_t>(L'A' + item.market) + item.code, &item);
      // What the duplicate check compares: category, code (case aside), hot key and name.
      std::wstring code = item.code;
      for (wchar_t& c : code) c = static_cast<wchar_t>(std::towupper(c));
      std::wstring key =
          std::to_wstring(category) + L'\t' + code + L'\t' + item.hotkey + L'\t' + item.name;
      ASSERT_TRUE(keys.insert(key).second) << "duplicate item at " << keys.size();
    }
    for (const SynthItem& item : items) {
      if (item.kind != SYNTH_KIND_FORMER_NAME && item.kind != SYNTH_KIND_ALIAS) continue;
      auto owner = securities.find(static_cast<wchar_t>(L'A' + item.market) + item.code);
      ASSERT_NE(owner, securities.end());
      if (count == 8000) {
        EXPECT_EQ(owner->second->type, item.type);  // codes are unique per market at this size
      }
    }
  }
}

TEST(SyntheticMarketTest, CategoryMixAndCodeShapesFollowRealMarkets) {
  std::vector<SynthItem> items = GenerateMarket(30000, 3);
  std::map<int, size_t> perCategory;
  for (const SynthItem& item : items) ++perCategory[Category(item)];
  auto share = [&](std::initializer_list<int> categories) {
    size_t n = 0;
    for (int c : categories) n += perCategory[c];
    return 100.0 * static_cast<double>(n) / static_cast<double>(items.size());
  };
  double aShares = share({11, 12, 13, 14, 15, 19});
  double funds = share({39, 40, 70});
  double bonds = share({41, 42});
  double hongKong = share({21, 23, 57, 58});
  double us = share({25, 26, 27});
  double indexes = share({35, 36, 37, 38, 55, 56, 69});
  double futures = share({44, 45, 48});
  double commands = share({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 71});
  EXPECT_GT(aShares, 35.0);
  EXPECT_LT(aShares, 45.0);
  EXPECT_GT(aShares, funds);
  EXPECT_GT(funds, bonds);
  EXPECT_GT(bonds, hongKong);
  EXPECT_GT(hongKong, us);
  EXPECT_GT(us, indexes);
  EXPECT_GT(indexes, futures);
  EXPECT_GT(futures, 2.0);
  EXPECT_GE(commands, 1.0);
  EXPECT_LE(commands, 3.0);
  EXPECT_NEAR(share({10}), 2.0, 0.5);  // aliases
  EXPECT_NEAR(share({65}), 2.0, 0.5);  // former names
  for (int c : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 17, 18, 34, 49, 52, 54, 62, 63, 64, 68, 71})
    EXPECT_GT(perCategory[c], 0u) << c;
  EXPECT_EQ(perCategory.count(66), 0u);

  std::map<size_t, size_t> nameLengths;
  for (const SynthItem& item : items) {
    const std::wstring& code = item.code;
    switch (item.type) {
      case 0x0102:
        EXPECT_TRUE(AllDigits(code) && code.size() == 6 && StartsWithAny(code, {L"60"}))
            << code.c_str();
        ++nameLengths[item.name.size()];
        break;
      case 0x0117:
        EXPECT_TRUE(AllDigits(code) && code.size() == 6 && StartsWithAny(code, {L"68"}));
        break;
      case 0x0006:
      case 0x000D:
        EXPECT_TRUE(AllDigits(code) && code.size() == 6 && StartsWithAny(code, {L"00"}));
        break;
      case 0x0050:
        EXPECT_TRUE(AllDigits(code) && code.size() == 6 && StartsWithAny(code, {L"30"}));
        break;
      case 0x0051:
        EXPECT_TRUE(AllDigits(code) && code.size() == 6 &&
                    StartsWithAny(code, {L"43", L"83", L"87", L"88", L"92"}));
        break;
      case 0x7401:
      case 0x7402:
        EXPECT_TRUE(AllDigits(code) && code.size() == 5);
        break;
      case 0x6901:
      case 0x6A01: {
        EXPECT_GE(code.size(), 1u);
        EXPECT_LE(code.size(), 5u);
        for (wchar_t c : code) EXPECT_TRUE(c >= L'A' && c <= L'Z');
        break;
      }
      case 0x0797: {  // index futures: IF2512
        ASSERT_EQ(code.size(), 6u);
        EXPECT_TRUE(StartsWithAny(code, {L"IF", L"IH", L"IC", L"IM"}));
        EXPECT_TRUE(AllDigits(code.substr(2)));
        break;
      }
      default:
        break;
    }
  }
  // Company names run from 2 to 8 characters, most of them 4 (an ST prefix adds 2 or 3).
  size_t total = 0;
  for (auto& entry : nameLengths) total += entry.second;
  EXPECT_GT(nameLengths[4] * 2, total);
  EXPECT_GT(nameLengths[2], 0u);
  EXPECT_GT(nameLengths[8], 0u);
  EXPECT_EQ(nameLengths.begin()->first, 2u);
  EXPECT_LE(nameLengths.rbegin()->first, 11u);
}
