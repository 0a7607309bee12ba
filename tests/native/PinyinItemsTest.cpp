// The run-time keys of every name in the default items equal those the generator wrote there: a
// security's or listed alias's hot key and the alias items (kind 258) that follow it with its
// code and name, a former name's hot key.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "frame/KeyboardItemInfo.h"
#include "platform/Utf8.h"
#include "services/Pinyin.h"
#include "tools/common/ItemsFile.h"

namespace {

const DWORD kSecurity = 0xFFFFFFFF;

bool AliasOf(const KeyboardItemInfo& alias, const KeyboardItemInfo& item) {
  return alias.m_dwKind == KIND_ALIAS && alias.m_cMarket == item.m_cMarket &&
         std::wstring(alias.m_szCode) == item.m_szCode &&
         std::wstring(alias.m_szName) == item.m_szName;
}

TEST(PinyinItemsTest, RunTimeKeysEqualTheDefaultItems) {
  std::vector<KeyboardItemInfo> items;
  ItemsFileError error;
  ASSERT_TRUE(LoadItemsFile(HKM_DEFAULT_ITEMS_FILE, &items, &error)) << error.message;
  size_t names = 0, aliases = 0;
  for (size_t i = 0; i < items.size();) {
    const KeyboardItemInfo& item = items[i];
    size_t next = i + 1;
    std::vector<std::wstring> written;
    for (; next < items.size() && AliasOf(items[next], item); ++next)
      written.push_back(items[next].m_szHotKey);
    bool keyed = item.m_dwKind == kSecurity || item.m_dwKind == KIND_ALIAS;
    if (keyed || item.m_dwKind == KIND_FORMER_NAME) {
      PinyinKeys keys;
      ASSERT_EQ(ComputePinyinKeys(item.m_szName, &keys), 1);
      std::string name = plat::WideToUtf8(item.m_szName);
      EXPECT_EQ(std::wstring(keys.initials), item.m_szHotKey) << name;
      std::vector<std::wstring> computed(keys.aliases, keys.aliases + keys.aliasCount);
      if (keyed) {  // former names get no alias items
        EXPECT_EQ(computed, written) << name;
      }
      ++names;
      aliases += written.size();
    }
    i = next;
  }
  // The whole list was read: about 1,100 securities and their names, some with aliases.
  EXPECT_GT(names, 1000u);
  EXPECT_GT(aliases, 20u);
}

}  // namespace
