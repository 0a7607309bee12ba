// A bulk-loaded and a single-loaded table hold the same sorted lists when no two keys of a list
// are equal, so every search must give the same records in the same order.
#include <gtest/gtest.h>

#include <iterator>
#include <random>
#include <set>

#include "support/SearchFixture.h"

namespace {

const unsigned short kSecurityTypes[] = {0x0102, 0x0006, 0x000D, 0x0050, 0x0117, 0x0103, 0x0007,
                                         0x7403, 0x0300, 0x7404, 0x6901, 0x0101, 0x0200, 0x0109,
                                         0x000A, 0x0104, 0x0008, 0x0797, 0x0112, 0x0015, 0xFFFF,
                                         0x0051, 0x7401, 0x8200, 0x9600};
const unsigned short kCommandTypes[] = {0x6400, 0x6401, 0x6500, 0x6501, 0x6502, 0x6600, 0x6700,
                                        0x6701, 0x6702, 0x6703, 0x6704, 0x6705, 0x6800};

// Random items whose codes, hot keys and names are each used once.
class ItemGenerator {
 public:
  std::vector<KeyboardItemInfo> Make(int count) {
    std::vector<KeyboardItemInfo> items, securities;
    std::set<std::wstring> aliasCodes, formerCodes;
    for (int i = 0; i < count; ++i) {
      const int pick = Below(100);
      if (pick < 70 || securities.empty()) {
        const unsigned short type = kSecurityTypes[Below(int(std::size(kSecurityTypes)))];
        const unsigned char market = static_cast<unsigned char>(Below(3));
        items.push_back(Security(Code().c_str(), HotKey().c_str(), Name().c_str(), type, market,
                                 Below(4) == 0 ? 0xFFFFFFFF : 0));
        securities.push_back(items.back());
      } else if (pick < 82) {
        const unsigned short type = kCommandTypes[Below(int(std::size(kCommandTypes)))];
        items.push_back(Command(Code().c_str(), HotKey().c_str(), Name().c_str(), type, i));
      } else {
        // Aliases and former names of registered securities, one per code and kind.
        const KeyboardItemInfo& of = securities[Below(int(securities.size()))];
        const bool alias = pick < 91;
        if (!(alias ? aliasCodes : formerCodes).insert(of.m_szCode).second) continue;
        items.push_back((alias ? Alias : FormerName)(of.m_szCode, HotKey().c_str(), Name().c_str(),
                                                     of.m_wType, of.m_cMarket));
      }
    }
    return items;
  }

  // Beginnings, endings or whole stored keys, a quarter of them in small letters.
  std::wstring Query(const std::vector<KeyboardItemInfo>& items) {
    const KeyboardItemInfo& item = items[Below(int(items.size()))];
    std::wstring key = KeyText(item, Below(3));
    const size_t length = 1 + Below(int(key.size()));
    const int part = Below(3);
    if (part == 0) key = key.substr(0, length);
    if (part == 1) key = key.substr(key.size() - length);
    if (Below(4) == 0)
      for (wchar_t& c : key) c = c >= L'A' && c <= L'Z' ? wchar_t(c - L'A' + L'a') : c;
    return key;
  }

 private:
  int Below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_random); }
  std::wstring Unique(std::set<std::wstring>& used, const std::wstring& alphabet, int minLength,
                      int maxLength) {
    for (;;) {
      std::wstring text(minLength + Below(maxLength - minLength + 1), L' ');
      for (wchar_t& c : text) c = alphabet[Below(int(alphabet.size()))];
      if (used.insert(text).second) return text;
    }
  }
  std::wstring Code() {
    if (Below(10) == 0) return Unique(m_codes, L"ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789", 2, 6);
    return Unique(m_codes, L"0123456789", 3, 6);
  }
  std::wstring HotKey() { return Unique(m_hotKeys, L"ABCDEFGHIJKLMNOPQRSTUVWXYZ", 2, 6); }
  std::wstring Name() {
    return Unique(m_names, L"中国平安银行招商证券科技能源医药电子汽车基金指数债券港股", 2, 5);
  }

  std::mt19937 m_random{20240611};
  std::set<std::wstring> m_codes, m_hotKeys, m_names;
};

// Hot keys and names are unique among the items: with them a row names its record.
std::vector<std::wstring> FullRows(const std::vector<KeyboardItemInfo>& results) {
  std::vector<std::wstring> rows = Rows(results);
  for (size_t i = 0; i < rows.size(); ++i)
    rows[i] += L"|" + std::wstring(results[i].m_szHotKey) + L"|" + results[i].m_szName + L"|" +
               std::to_wstring(results[i].m_nExtraInfo);
  return rows;
}

TEST(SearchLoadModes, BulkAndSingleLoadsAnswerAlike) {
  ItemGenerator generator;
  // More than the initial capacity, so that both paths grow the store.
  const std::vector<KeyboardItemInfo> items = generator.Make(9000);
  SearchBed bulk, single;
  ASSERT_TRUE(bulk.LoadBulk(items));
  ASSERT_TRUE(single.LoadSingle(items));
  ASSERT_EQ(bulk.Table().m_nItemCount, single.Table().m_nItemCount);
  int nonEmpty = 0, capped = 0;
  const std::vector<int> filter = {11, 12, 5, 65, 10, 37};
  std::vector<std::wstring> queries = {L"MSCI", L"msci", L"6", L"60",      L"600",     L"0",
                                       L"00",   L"A",    L"Z", L"ZZZZZZ9", L"99999999"};
  for (size_t q = 0; q < 600; ++q) {
    if (q >= queries.size()) queries.push_back(generator.Query(items));
    const wchar_t* text = queries[q].c_str();
    const std::vector<std::wstring> expected = FullRows(single.Search(text));
    ASSERT_EQ(FullRows(bulk.Search(text)), expected) << "query " << queries[q];
    nonEmpty += !expected.empty();
    capped += expected.size() >= 100;
    if (q % 4 == 0) {
      ASSERT_EQ(FullRows(bulk.SearchIn(text, filter)), FullRows(single.SearchIn(text, filter)))
          << "filtered, query " << queries[q];
      ASSERT_EQ(FullRows(bulk.Search(text, true)), FullRows(single.Search(text, true)))
          << "without commands, query " << queries[q];
    }
  }
  // The queries exercise the matcher, not only its empty answer.
  EXPECT_GT(nonEmpty, 500);
  EXPECT_GT(capped, 5);
}

}  // namespace
