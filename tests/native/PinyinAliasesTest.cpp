// Full-pinyin alias items: which items get them, what they copy, and that a manager finds the
// securities by the whole syllables once they are registered.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "services/PinyinAliases.h"
#include "services/SecurityMaster.h"
#include "support/CountingUnknown.h"
#include "support/TableFixture.h"

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
  EXPECT_EQ(pufa.m_dwKind, KIND_ALIAS);
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

}  // namespace
