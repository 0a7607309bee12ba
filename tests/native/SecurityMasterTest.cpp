// The security master: the host's data centre, loaded from tab-separated text into records whose
// names are GB2312 bytes at the offsets the component reads.
#include <gtest/gtest.h>

#include "frame/RefPtr.h"
#include "services/SecurityMaster.h"

namespace {

// The record's name (offset 0), code (52) and market (68) as the component reads them.
std::string Bytes(const STK_PER* record) {
  if (!record) return "(none)";
  const char* bytes = reinterpret_cast<const char*>(record);
  return std::string(bytes) + "|" + std::string(bytes + 52) + "|" + std::to_string(bytes[68]);
}

TEST(SecurityMaster, LoadsTsvIntoGb2312RecordsAndRefusesBadLines) {
  TRefPtr<CSecurityMaster> master(new CSecurityMaster);
  const std::string text =
      "\xEF\xBB\xBF# code\tmarket\tname\ttype\tdr\n"
      "600000\t1\t浦发银行\n"
      "\n"
      "000001\t0\t平安银行\t0x0001\r\n"
      "689009\t1\t九号公司\t\t1\n"
      "  # indented comment\n"
      "600000\t1\t另一个名字\n"       // duplicate: the first wins
      "600001\t256\t邯郸钢铁\n"       // market out of range
      "600002\t1\n"                   // no name
      "600004\t1\t名字\t0x10000\n"    // type word too wide
      "600006\t1\t\xC3\x28\n"         // malformed UTF-8
      "300750\t0\t宁德时代\t258\t0";  // no final line break
  int rejected = -1;
  EXPECT_EQ(master->LoadText(text, &rejected), 4);
  EXPECT_EQ(rejected, 5);
  EXPECT_EQ(Bytes(master->GetOneStkInfo(L"600000", 1)),
            "\xC6\xD6\xB7\xA2\xD2\xF8\xD0\xD0|600000|1");
  EXPECT_EQ(Bytes(master->GetOneStkInfo(L"000001", 0)),
            "\xC6\xBD\xB0\xB2\xD2\xF8\xD0\xD0|000001|0");
  EXPECT_EQ(master->GetOneStkInfo(L"600000", 1)->m_wType, 0x100);  // missing: market high byte
  EXPECT_EQ(master->GetOneStkInfo(L"000001", 0)->m_wType, 0x0001);
  EXPECT_EQ(master->GetOneStkInfo(L"300750", 0)->m_wType, 258);
  EXPECT_TRUE(master->GetOneStkInfo(L"689009", 1)->m_bDepositaryReceipt);
  EXPECT_FALSE(master->GetOneStkInfo(L"600000", 1)->m_bDepositaryReceipt);
  EXPECT_EQ(master->GetOneStkInfo(L"600000", 0), nullptr);  // same code, other market
  EXPECT_FALSE(master->AddSecurity(L"600000", 1, L"别的"));
  EXPECT_EQ(master->Count(), 4u);  // a refused security leaves nothing behind
  EXPECT_EQ(Bytes(master->GetOneStkInfo(L"600000", 1)),
            "\xC6\xD6\xB7\xA2\xD2\xF8\xD0\xD0|600000|1");
  EXPECT_TRUE(master->AddSecurity(L"", 1, L"空代码"));  // what the terminal registers is known
  EXPECT_FALSE(master->AddSecurity(nullptr, 1, L"空代码") || master->AddSecurity(L"1", 1, nullptr));
}

TEST(SecurityMaster, CutsCodeAndNameToTheirFields) {
  TRefPtr<CSecurityMaster> master(new CSecurityMaster);
  // 52 bytes in code page 936: 51 would split the 26th character, so 25 characters are kept.
  ASSERT_TRUE(master->AddSecurity(L"ABCDEFGHIJKLMNOPQRST", 2, std::wstring(26, L'银').c_str()));
  std::string silver;
  for (int i = 0; i < 25; ++i) silver += "\xD2\xF8";
  EXPECT_EQ(Bytes(master->GetOneStkInfo(L"ABCDEFGHIJKLMNOPQRST", 2)),
            silver + "|ABCDEFGHIJKLMNO|2");
  ASSERT_TRUE(master->AddSecurity(L"FITS", 2, (L"A" + std::wstring(25, L'银')).c_str()));
  EXPECT_EQ(Bytes(master->GetOneStkInfo(L"FITS", 2)), "A" + silver + "|FITS|2");  // 51 bytes
  // A character that code page 936 lacks becomes '?'.
  ASSERT_TRUE(master->AddSecurity(L"THAI", 2, L"A\u0E01B"));
  EXPECT_EQ(Bytes(master->GetOneStkInfo(L"THAI", 2)), "A?B|THAI|2");
}

}  // namespace
