#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "frame/DataComFun.h"
#include "services/SecurityMaster.h"
#include "support/EnvScope.h"

namespace {

TEST(DataCentreHelpers, BeijingAShares) {
  for (const char* code : {"430047", "830799", "870299", "889999", "920001"}) {
    EXPECT_TRUE(CDataComFun::IsBJAGu(code, 0)) << code;
    EXPECT_TRUE(CDataComFun::IsBJAGu(code, 1)) << code;  // the market plays no part
  }
  for (const char* code :
       {"600000", "000001", "400001", "930001", "43004", "4300470", "43a047", "", " 43004"})
    EXPECT_FALSE(CDataComFun::IsBJAGu(code, 0)) << code;
  EXPECT_FALSE(CDataComFun::IsBJAGu(nullptr, 0));
}

TEST(DataCentreHelpers, DepositaryReceipts) {
  EXPECT_TRUE(CDataComFun::IsCdr(1, "689009"));
  EXPECT_FALSE(CDataComFun::IsCdr(0, "689009"));  // only Shanghai numbers them so
  EXPECT_FALSE(CDataComFun::IsCdr(1, "688009"));
  EXPECT_FALSE(CDataComFun::IsCdr(1, nullptr));
  EXPECT_FALSE(CDataComFun::IsCdr(1, ""));

  EnvScope env;
  EXPECT_FALSE(CDataComFun::IsCdr(0, "001001"));  // no data centre yet
  TRefPtr<CSecurityMaster> master(new CSecurityMaster);
  master->AddSecurity(L"001001", 0, L"深市存托凭证", 0x0001, true);
  master->AddSecurity(L"001002", 0, L"普通股", 0x0001, false);
  env->SetDataMgr(master.get());
  EXPECT_TRUE(CDataComFun::IsCdr(0, "001001"));
  EXPECT_FALSE(CDataComFun::IsCdr(1, "001001"));
  EXPECT_FALSE(CDataComFun::IsCdr(0, "001002"));
  EXPECT_FALSE(CDataComFun::IsCdr(0, "009999"));
}

TEST(DataCentreHelpers, RoundsHalfAwayFromZero) {
  // What the trader sees in the price decides, not its binary neighbour (2.675 is stored as
  // 2.67499999...).
  EXPECT_EQ(CDataComFun::SiSheWuRuFloatValue(2.675, 2), 2.68);
  EXPECT_EQ(CDataComFun::SiSheWuRuFloatValue(-2.675, 2), -2.68);
  EXPECT_EQ(CDataComFun::SiSheWuRuFloatValue(1.005, 2), 1.01);
  EXPECT_EQ(CDataComFun::SiSheWuRuFloatValue(2.674999, 2), 2.67);
  EXPECT_EQ(CDataComFun::SiSheWuRuFloatValue(2.5, 0), 3.0);
  EXPECT_EQ(CDataComFun::SiSheWuRuFloatValue(-2.5, 0), -3.0);
  EXPECT_EQ(CDataComFun::SiSheWuRuFloatValue(0.5, 0), 1.0);
  EXPECT_EQ(CDataComFun::SiSheWuRuFloatValue(9.995, 2), 10.0);
  EXPECT_EQ(CDataComFun::SiSheWuRuFloatValue(99.96, 1), 100.0);
  EXPECT_EQ(CDataComFun::SiSheWuRuFloatValue(0.05, 1), 0.1);
  EXPECT_EQ(CDataComFun::SiSheWuRuFloatValue(0.00000005, 7), 0.0000001);
  EXPECT_EQ(CDataComFun::SiSheWuRuFloatValue(123.456789, 8), 123.456789);
  EXPECT_EQ(CDataComFun::SiSheWuRuFloatValue(0.1 + 0.2, 8), 0.3);
  EXPECT_EQ(CDataComFun::SiSheWuRuFloatValue(1e20, 2), 1e20);
  EXPECT_EQ(CDataComFun::SiSheWuRuFloatValue(2.5, -3), 3.0);  // negative places count as 0

  // Values that round to nothing give plain zero, never -0.
  const double tiny = CDataComFun::SiSheWuRuFloatValue(-0.004, 2);
  EXPECT_EQ(tiny, 0.0);
  EXPECT_FALSE(std::signbit(tiny));
  EXPECT_EQ(CDataComFun::SiSheWuRuFloatValue(0.0004, 3), 0.0);

  EXPECT_TRUE(
      std::isnan(CDataComFun::SiSheWuRuFloatValue(std::numeric_limits<double>::quiet_NaN(), 2)));
  EXPECT_EQ(CDataComFun::SiSheWuRuFloatValue(std::numeric_limits<double>::infinity(), 2),
            std::numeric_limits<double>::infinity());

  EXPECT_EQ(CDataComFun::SiSheWuRuFloatValue(2.675f, 2), 2.68f);
  EXPECT_EQ(CDataComFun::SiSheWuRuFloatValue(-2.675f, 2), -2.68f);
  EXPECT_EQ(CDataComFun::SiSheWuRuFloatValue(1234.5678f, 3), 1234.568f);
  EXPECT_EQ(CDataComFun::SiSheWuRuFloatValue(0.125f, 2), 0.13f);
  EXPECT_EQ(CDataComFun::SiSheWuRuFloatValue(16777215.0f, 2), 16777215.0f);
}

TEST(DataCentreHelpers, Gb2312ToUnicode) {
  wchar_t* text = nullptr;
  ASSERT_TRUE(CDataComFun::GB2312ToUnicode("\xC6\xD6\xB7\xA2\xD2\xF8\xD0\xD0", text));
  EXPECT_EQ(std::wstring(text), L"浦发银行");
  delete[] text;

  ASSERT_TRUE(CDataComFun::GB2312ToUnicode("ST A-1", text));
  EXPECT_EQ(std::wstring(text), L"ST A-1");
  delete[] text;

  ASSERT_TRUE(CDataComFun::GB2312ToUnicode("", text));
  EXPECT_EQ(std::wstring(text), L"");
  delete[] text;

  text = reinterpret_cast<wchar_t*>(0x1);
  EXPECT_FALSE(CDataComFun::GB2312ToUnicode(nullptr, text));
  EXPECT_EQ(text, nullptr);
  EXPECT_FALSE(CDataComFun::GB2312ToUnicode("AB\xC6", text));  // lead byte without its trail
  EXPECT_EQ(text, nullptr);

  // A name stored by the security master reads back unchanged.
  TRefPtr<CSecurityMaster> master(new CSecurityMaster);
  const wchar_t* kName = L"*ST中华Ａ";
  ASSERT_TRUE(master->AddSecurity(L"000017", 0, kName));
  ASSERT_TRUE(CDataComFun::GB2312ToUnicode(master->GetOneStkInfo(L"000017", 0)->m_szName, text));
  EXPECT_EQ(std::wstring(text), kName);
  delete[] text;
}

}  // namespace
