// Full-pinyin alias items: which items get them, what they copy, that a manager finds the
// securities by the whole syllables once they are registered, and that they come after the
// initials matches of the same text.
#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <vector>

#include "services/PinyinAliases.h"
#include "services/SecurityMaster.h"
#include "support/CountingUnknown.h"
#include "support/TableFixture.h"
#include "table/MappingTable.h"
#include "table/RowTexts.h"

namespace {

std::vector<std::wstring> HotKeys(const std::vector<KeyboardItemInfo>& items) {
  std::vector<std::wstring> keys;
  for (const KeyboardItemInfo& item : items) keys.push_back(item.m_szHotKey);
  return keys;
}

TEST(PinyinAliases, SecuritiesGetTheirFullPinyinAndTheSecondReadingsOthersNothing) {
  UnknownCounters counters;
  std::vector<KeyboardItemInfo> items = {
      Security(L"600000", L"PFYH", L"浦发银行"),
      Security(L"600900", L"CJDL", L"长江电力"),
      Security(L"000001", L"ABC", L"ABC"),  // full pinyin equal to the hot key
      Alias(L"600900", L"ZJDL", L"长江电力", type_word::SH_A, 1),
      FormerName(L"600000", L"PFYH", L"浦发银行", type_word::SH_A, 1),
      Security(L"600000", L"PUFAYINHANG", L"浦发银行", type_word::SH_A, 1, KIND_FULL_PINYIN_ALIAS),
      Command(L"61", L"61", L"沪A涨幅排名", 0x6400, 1161),
  };
  items[0].m_eSelectType = KEYBOARD_SELECT_BEGIN;
  items[0].m_pUnknown = new CCountingUnknown(&counters);
  items[0].m_pUnknown->AddRef();

  std::vector<KeyboardItemInfo> aliases;
  ASSERT_EQ(AppendFullPinyinAliases(items.data(), items.size(), &aliases), 3u);
  EXPECT_EQ(HotKeys(aliases),
            (std::vector<std::wstring>{L"PUFAYINHANG", L"CHANGJIANGDIANLI", L"ZHANGJIANGDIANLI"}));
  const KeyboardItemInfo& pufa = aliases[0];
  EXPECT_EQ(pufa.m_dwKind, KIND_FULL_PINYIN_ALIAS);
  EXPECT_STREQ(pufa.m_szCode, L"600000");
  EXPECT_STREQ(pufa.m_szName, L"浦发银行");
  EXPECT_EQ(pufa.m_wType, items[0].m_wType);
  EXPECT_EQ(pufa.m_nExtraInfo, -1);
  EXPECT_EQ(pufa.m_cMarket, 1);
  EXPECT_EQ(pufa.m_eSelectType, KEYBOARD_SELECT_NONE);
  EXPECT_EQ(pufa.m_pUnknown, items[0].m_pUnknown);  // the same object, with its own reference
  EXPECT_EQ(counters.addRefs - counters.releases, 2);
  aliases.clear();
  EXPECT_EQ(counters.addRefs - counters.releases, 1);

  EXPECT_EQ(AppendFullPinyinAliases(nullptr, 3, &aliases), 0u);
  EXPECT_EQ(AppendFullPinyinAliases(items.data(), items.size(), nullptr), 0u);
}

// Alias rows show only for securities the data centre knows (with the name it gives).
TEST(PinyinAliases, AManagerFindsSecuritiesByTheirWholeSyllables) {
  std::vector<KeyboardItemInfo> items = {Security(L"600000", L"PFYH", L"浦发银行"),
                                         Security(L"600036", L"ZSYH", L"招商银行")};
  EXPECT_EQ(AddFullPinyinAliases(nullptr, items.data(), items.size()), -1);
  ManagerScope manager;
  EXPECT_EQ(AddFullPinyinAliases(manager.get(), items.data(), items.size()), -1);  // no environment

  TableHost host;
  for (const KeyboardItemInfo& item : items)
    host.Master()->AddSecurity(item.m_szCode, item.m_cMarket, item.m_szName);
  std::vector<int> allCategories;
  ASSERT_TRUE(manager->AddKeyboardItems(items.data(), 2, &allCategories, FALSE));
  ASSERT_EQ(AddFullPinyinAliases(manager.get(), items.data(), items.size()), 2);
  std::vector<KeyboardItemInfo> results;
  ASSERT_TRUE(manager->SearchKeyboardItems(L"ZHAOSHANG", &results, false));
  ASSERT_EQ(results.size(), 1u);
  EXPECT_STREQ(results[0].m_szCode, L"600036");
  ASSERT_TRUE(manager->SearchKeyboardItems(L"PUFA", &results, false));
  ASSERT_EQ(results.size(), 1u);
  EXPECT_STREQ(results[0].m_szName, L"浦发银行");
  ASSERT_TRUE(manager->SearchKeyboardItems(L"PF", &results, false));
  ASSERT_FALSE(results.empty());
  EXPECT_STREQ(results[0].m_szHotKey, L"PFYH");  // the initials still come first
}

TEST(PinyinAliases, KeysOnlyWhereTheyAddSomething) {
  struct Case {
    const wchar_t* hotKey;
    const wchar_t* name;
    std::vector<std::wstring> keys;
  } const cases[] = {
      {L"PFYH", L"浦发银行", {L"PUFAYINHANG"}},
      // A second reading with an initials alias gives its own full pinyin.
      {L"CJDL", L"长江电力", {L"CHANGJIANGDIANLI", L"ZHANGJIANGDIANLI"}},
      {L"AAPL", L"Apple", {L"APPLE"}},
      // Nothing beyond the hot key: letters and digits only, full-width ones folded, or no name.
      {L"AAPL", L"AAPL", {}},
      {L"ABC", L"ＡＢＣ", {}},
      {L"", L"", {}},
      // Cut where the record's hot key ends.
      {L"ZGGSYHGFYXGS", L"中国工商银行股份有限公司", {L"ZHONGGUOGONGSHANGYINHANGGUFENYOU"}},
  };
  for (const Case& c : cases) {
    KeyboardItemInfo security = Security(L"600000", c.hotKey, c.name, 0x0102, 1, 0xFFFFFFFF);
    security.m_nExtraInfo = 5;
    std::vector<KeyboardItemInfo> aliases;
    ASSERT_EQ(AppendFullPinyinAliases(&security, 1, &aliases), c.keys.size()) << c.hotKey;
    EXPECT_EQ(HotKeys(aliases), c.keys);
    for (const KeyboardItemInfo& alias : aliases) {
      EXPECT_EQ(alias.m_dwKind, KIND_FULL_PINYIN_ALIAS);
      EXPECT_EQ(std::wstring(alias.m_szCode), L"600000");
      EXPECT_EQ(std::wstring(alias.m_szName), c.name);
      EXPECT_EQ(alias.m_wType, 0x0102);
      EXPECT_EQ(alias.m_nExtraInfo, 5);
      EXPECT_EQ(alias.m_cMarket, 1);
    }
  }
}

// What a row shows and hands over: code, hot key, kind, extra information, market.
std::vector<std::wstring> Rows(const std::vector<KeyboardItemInfo>& results) {
  std::vector<std::wstring> rows;
  for (const KeyboardItemInfo& r : results)
    rows.push_back(std::wstring(r.m_szCode) + L" " + r.m_szHotKey + L" " + r.m_szName + L" " +
                   std::to_wstring(r.m_dwKind) + L" " + std::to_wstring(r.m_nExtraInfo) + L" " +
                   std::to_wstring(r.m_cMarket));
  return rows;
}

// Full pinyin begins as many initials do ("ZH" is 中华's initials and the start of ZHAOSHANG):
// the initials matches of a text come first, in the order they had without the aliases, and the
// aliases only after them, as the aliases they are.
TEST(PinyinAliases, ComeAfterTheInitialsMatchesAndHandOverAsAliases) {
  TableHost host;
  // Securities of the default kind, which an alias of the same code and name repeats.
  auto listed = [](const wchar_t* code, const wchar_t* hotKey, const wchar_t* name,
                   unsigned short type, unsigned char market) {
    return Security(code, hotKey, name, type, market, 0xFFFFFFFF);
  };
  std::vector<KeyboardItemInfo> items = {
      listed(L"600036", L"ZSYH", L"招商银行", type_word::SH_A, 1),
      listed(L"600675", L"ZHQY", L"中华企业", type_word::SH_A, 1),
      listed(L"000017", L"ZHA", L"深中华A", type_word::SZ_A, 0),
      listed(L"510880", L"ZHYX", L"中华优选", type_word::SH_FUND, 1),
      listed(L"600000", L"PFYH", L"浦发银行", type_word::SH_A, 1),
      listed(L"600325", L"HFGF", L"华发股份", type_word::SH_A, 1),
      listed(L"000001", L"PAYH", L"平安银行", type_word::SZ_A, 0),
  };
  items[0].m_nExtraInfo = 7;
  for (const KeyboardItemInfo& item : items)
    host.Master()->AddSecurity(item.m_szCode, item.m_cMarket, item.m_szName);
  ManagerScope manager;
  std::vector<int> allCategories;
  ASSERT_TRUE(manager->AddKeyboardItems(items.data(), static_cast<int>(items.size()),
                                        &allCategories, FALSE));
  const wchar_t* const queries[] = {L"ZH", L"PF", L"HF", L"PA", L"Z", L"P", L"H"};
  std::vector<std::vector<std::wstring>> without;
  std::vector<KeyboardItemInfo> results;
  for (const wchar_t* query : queries) {
    ASSERT_TRUE(manager->SearchKeyboardItems(query, &results, false));
    without.push_back(Rows(results));
  }
  ASSERT_EQ(AddFullPinyinAliases(manager.get(), items.data(), items.size()), 7);
  for (size_t q = 0; q < std::size(queries); ++q) {
    ASSERT_TRUE(manager->SearchKeyboardItems(queries[q], &results, false));
    std::vector<std::wstring> with = Rows(results);
    ASSERT_GE(with.size(), without[q].size()) << queries[q];
    EXPECT_EQ(std::vector<std::wstring>(with.begin(), with.begin() + without[q].size()), without[q])
        << queries[q];
  }
  // ZH: the initials of 中华 in three categories, then ZHAOSHANGYINHANG, handed out as any alias
  // is; ZHONGHUAQIYE and the others belong to securities listed already.
  ASSERT_TRUE(manager->SearchKeyboardItems(L"ZH", &results, false));
  ASSERT_EQ(
      Rows(results),
      (std::vector<std::wstring>{
          L"600675 ZHQY 中华企业 4294967295 -1 1", L"000017 ZHA 深中华A 4294967295 -1 0",
          L"510880 ZHYX 中华优选 4294967295 -1 1", L"600036 ZHAOSHANGYINHANG 招商银行 258 7 1"}));
  std::wstring category, code, name;
  ASSERT_TRUE(GetRowTexts(manager.Table(), category, code, name, 3, results));
  EXPECT_EQ(category, L"沪A");

  // Filed apart from the ordinary aliases, which stay with the first categories searched; both
  // show under their security's category.
  const KeyboardItemInfo fullPinyin = results[3];
  KeyboardItemInfo stored = fullPinyin;
  stored.m_dwKind = KIND_FULL_PINYIN_ALIAS;
  const KeyboardItemInfo ordinary = Alias(L"600036", L"ZSYH", L"招商银行", type_word::SH_A, 1);
  EXPECT_EQ(CategoryOfRecord(stored), 66);
  EXPECT_EQ(CategoryOfRecord(ordinary), 10);
  const KeyboardItemInfo* const both[] = {&stored, &ordinary};
  for (const KeyboardItemInfo* alias : both) {
    const int type = alias->m_wType;
    EXPECT_EQ(CategoryOf(alias, &type, &alias->m_dwKind, 1), 11);
  }
}

}  // namespace
