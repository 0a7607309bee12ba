// A row of the list as the trader reads it: an alias under its security's category, "CDR" from
// the data centre, ".OF" after codes of market 150, and nothing for a row that is not there.
#include <gtest/gtest.h>

#include "services/SecurityMaster.h"
#include "support/TableFixture.h"
#include "table/RowTexts.h"

TEST(RowTexts, CategoryCodeAndNameAsTheListShowsThem) {
  TableHost host;
  host.Master()->AddSecurity(L"600900", 1, L"长江电力", type_word::SH_A, true);
  KeyboardInputMappingTable table;
  std::vector<KeyboardItemInfo> items = {
      Alias(L"600031", L"SYCG", L"三一重工", type_word::SH_A, 1),
      Security(L"600900", L"CJDL", L"长江电力"),
      Security(L"000001", L"HXCZ", L"华夏成长", 0x9601, 150),
      Security(L"689009", L"JHKJ", L"九号公司"),
  };
  const wchar_t* shanghaiA =
      CategoryName(CategoryOfRecord(Security(L"600031", L"SYCG", L"三一重工")));
  struct Expected {
    const wchar_t* category;
    const wchar_t* code;
  } expected[] = {{shanghaiA, L"600031"},
                  {L"CDR", L"600900"},
                  {CategoryName(CategoryOfRecord(items[2])), L"000001.OF"},
                  {L"CDR", L"689009"}};
  for (size_t i = 0; i < items.size(); ++i) {
    std::wstring category, code, name;
    ASSERT_TRUE(GetRowTexts(&table, category, code, name, static_cast<int>(i), items)) << i;
    EXPECT_EQ(category, expected[i].category) << i;
    EXPECT_EQ(code, expected[i].code) << i;
    EXPECT_EQ(name, items[i].m_szName) << i;
  }
  EXPECT_STRNE(CategoryName(CategoryOfRecord(items[0])), shanghaiA);  // an alias's own category

  std::wstring category = L"kept", code, name;
  EXPECT_FALSE(GetRowTexts(&table, category, code, name, 4, items));
  EXPECT_FALSE(GetRowTexts(&table, category, code, name, -1, items));
  EXPECT_FALSE(GetRowTexts(nullptr, category, code, name, 0, items));
  EXPECT_EQ(category, L"kept");
}
