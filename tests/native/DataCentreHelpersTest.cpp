// The data centre helpers of the component: Beijing A shares, depositary receipts, rounding and
// the GB2312 names of the security records.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#ifndef _WIN32
#include <iconv.h>
#endif

#include "frame/DataComFun.h"
#include "services/SecurityMaster.h"
#include "support/EnvScope.h"

namespace {

TEST(DataCentreHelpers, BeijingASharesAndDepositaryReceipts) {
  for (const char* code : {"430047", "830799", "870299", "889999", "920001"})
    EXPECT_TRUE(CDataComFun::IsBJAGu(code, 0) && CDataComFun::IsBJAGu(code, 1)) << code;
  for (const char* code : {"400001", "930001", "43004", "4300470", "43a047", ""})
    EXPECT_FALSE(CDataComFun::IsBJAGu(code, 0)) << code;
  EXPECT_FALSE(CDataComFun::IsBJAGu(nullptr, 0));
  // Shanghai numbers them 689; elsewhere the data centre knows.
  EXPECT_TRUE(CDataComFun::IsCdr(1, "689009"));
  EXPECT_FALSE(CDataComFun::IsCdr(0, "689009") || CDataComFun::IsCdr(1, "688009"));
  EnvScope env;
  TRefPtr<CSecurityMaster> master(new CSecurityMaster);
  master->AddSecurity(L"001001", 0, L"深市存托凭证", 0x0001, true);
  env->SetDataMgr(master.get());
  EXPECT_TRUE(CDataComFun::IsCdr(0, "001001"));
  EXPECT_FALSE(CDataComFun::IsCdr(1, "001001") || CDataComFun::IsCdr(0, "009999"));
}

TEST(DataCentreHelpers, RoundsHalfAwayFromZero) {
  // What the trader sees in the price decides, not its binary neighbour (2.675 is stored as
  // 2.67499999...); negative places count as 0.
  const struct {
    double value;
    int places;
    double expected;
  } kCases[] = {{2.675, 2, 2.68},    {-2.675, 2, -2.68},
                {1.005, 2, 1.01},    {2.674999, 2, 2.67},
                {2.5, 0, 3.0},       {-2.5, 0, -3.0},
                {9.995, 2, 10.0},    {99.96, 1, 100.0},
                {5e-8, 7, 1e-7},     {1.23456789, 8, 1.23456789},
                {0.1 + 0.2, 8, 0.3}, {1e20, 2, 1e20},
                {2.5, -3, 3.0},      {0.0004, 3, 0.0}};
  for (const auto& c : kCases)
    EXPECT_EQ(CDataComFun::SiSheWuRuFloatValue(c.value, c.places), c.expected) << &c - kCases;
  // Values that round to nothing give plain zero, never -0.
  EXPECT_FALSE(std::signbit(CDataComFun::SiSheWuRuFloatValue(-0.004, 2)));
  const double inf = std::numeric_limits<double>::infinity();
  EXPECT_TRUE(std::isnan(CDataComFun::SiSheWuRuFloatValue(std::nan(""), 2)));
  EXPECT_EQ(CDataComFun::SiSheWuRuFloatValue(inf, 2), inf);
  EXPECT_EQ(CDataComFun::SiSheWuRuFloatValue(2.675f, 2), 2.68f);
  EXPECT_EQ(CDataComFun::SiSheWuRuFloatValue(-2.675f, 2), -2.68f);
  EXPECT_EQ(CDataComFun::SiSheWuRuFloatValue(0.125f, 2), 0.13f);
  EXPECT_EQ(CDataComFun::SiSheWuRuFloatValue(16777215.0f, 2), 16777215.0f);
}

// The names that aliases show come through here; these are the cases the searches do not reach.
TEST(DataCentreHelpers, Gb2312ToUnicode) {
  wchar_t* text = reinterpret_cast<wchar_t*>(0x1);
  EXPECT_FALSE(CDataComFun::GB2312ToUnicode(nullptr, text));
  EXPECT_EQ(text, nullptr);
  EXPECT_FALSE(CDataComFun::GB2312ToUnicode("AB\xC6", text));  // lead byte without its trail
  EXPECT_EQ(text, nullptr);
  ASSERT_TRUE(CDataComFun::GB2312ToUnicode("*ST\xD6\xD0\xBB\xAA\xA3\xC1", text));
  EXPECT_STREQ(text, L"*ST中华Ａ");
  delete[] text;
}

#ifndef _WIN32
// What glibc's decoder makes of the bytes, or "failed".
std::wstring DecodedByIconv(const std::string& bytes) {
  iconv_t cd = iconv_open("WCHAR_T", "GBK");
  if (cd == reinterpret_cast<iconv_t>(-1)) return L"failed";
  std::wstring out(bytes.size() + 1, L'\0');
  char* in = const_cast<char*>(bytes.data());
  size_t inLeft = bytes.size();
  char* outPtr = reinterpret_cast<char*>(&out[0]);
  size_t outLeft = out.size() * sizeof(wchar_t);
  bool ok = iconv(cd, &in, &inLeft, &outPtr, &outLeft) != static_cast<size_t>(-1) &&
            iconv(cd, nullptr, nullptr, &outPtr, &outLeft) != static_cast<size_t>(-1);
  iconv_close(cd);
  if (!ok) return L"failed";
  out.resize(out.size() - outLeft / sizeof(wchar_t));
  return out;
}

// Names are decoded from a table of every double-byte character, made once: it must answer what
// the decoder itself answers for every lead and trail byte, alone and between ASCII, and leave
// every malformed sequence failing.
TEST(DataCentreHelpers, Gb2312NamesDecodeAsTheDecoderDoes) {
  if (DecodedByIconv("A") != L"A") GTEST_SKIP() << "no GBK decoder here";
  int decoded = 0;
  for (int lead = 0x80; lead <= 0xFF; ++lead)
    for (int trail = 0x01; trail <= 0xFF; ++trail) {
      for (const std::string& bytes :
           {std::string{static_cast<char>(lead), static_cast<char>(trail)},
            "A" + std::string{static_cast<char>(lead), static_cast<char>(trail)} + "z",
            std::string{static_cast<char>(lead)}}) {
        const std::wstring expected = DecodedByIconv(bytes);
        wchar_t* text = nullptr;
        const bool ok = CDataComFun::GB2312ToUnicode(bytes.c_str(), text);
        ASSERT_EQ(ok ? std::wstring(text) : std::wstring(L"failed"), expected)
            << std::hex << lead << " " << trail << " in " << bytes.size() << " bytes";
        decoded += ok;
        delete[] text;
      }
    }
  EXPECT_GT(decoded, 2 * 21000);  // GBK holds nearly 22,000 double-byte characters
}
#endif

}  // namespace
