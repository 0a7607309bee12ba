// The security master: the host's data centre, loaded from tab-separated text into records whose
// names are GB2312 bytes at the offsets the component reads.
#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>
#include <thread>
#include <utility>
#include <vector>

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

namespace {

TEST(SecurityMaster, FindsEachOfManySecuritiesByItsWholeCodeAndMarket) {
  TRefPtr<CSecurityMaster> master(new CSecurityMaster);
  master->Reserve(100);  // far too few: the index grows on the way
  // Codes the record holds as they are, and those it cannot: 16 characters (cut to 15 in the
  // record, whose bytes are then those of the 15-character code), characters outside ASCII, none.
  const std::vector<std::wstring> special = {
      L"ABCDEFGHIJKLMNOP", L"ABCDEFGHIJKLMNO", L"代码", L"", L"6000001", L"60000"};
  for (const std::wstring& code : special) ASSERT_TRUE(master->AddSecurity(code.c_str(), 1, L"特"));
  for (int i = 0; i < 5000; ++i) {
    const std::wstring code = std::to_wstring(600000 + i);
    ASSERT_TRUE(master->AddSecurity(code.c_str(), static_cast<unsigned char>(i % 3), L"浦发银行"));
  }
  EXPECT_EQ(master->Count(), special.size() + 5000);
  for (const std::wstring& code : special) {
    const STK_PER* record = master->GetOneStkInfo(code, 1);
    ASSERT_NE(record, nullptr) << std::string(code.begin(), code.end());
    // The one registered with this very code, not another whose record bytes read the same.
    EXPECT_EQ(master->GetOneStkInfo(code, 1), record);
    EXPECT_FALSE(master->AddSecurity(code.c_str(), 1, L"重"));
  }
  EXPECT_NE(master->GetOneStkInfo(L"ABCDEFGHIJKLMNOP", 1),
            master->GetOneStkInfo(L"ABCDEFGHIJKLMNO", 1));
  EXPECT_STREQ(master->GetOneStkInfo(L"ABCDEFGHIJKLMNOP", 1)->m_szCode, "ABCDEFGHIJKLMNO");
  EXPECT_EQ(master->GetOneStkInfo(L"ABCDEFGHIJKLMNOQ", 1), nullptr);
  EXPECT_EQ(master->GetOneStkInfo(L"代", 1), nullptr);
  int wrong = 0;
  for (int i = 0; i < 5000; ++i) {
    const std::wstring code = std::to_wstring(600000 + i);
    const unsigned char market = static_cast<unsigned char>(i % 3);
    const STK_PER* record = master->GetOneStkInfo(code, market);
    if (!record || std::string(record->m_szCode) != std::string(code.begin(), code.end()) ||
        record->m_cMarket != market ||
        master->GetOneStkInfo(code, static_cast<unsigned char>(market + 3)) ||
        master->GetOneStkInfo(code + std::wstring(1, L'\0'), market))
      ++wrong;
  }
  EXPECT_EQ(wrong, 0);
  EXPECT_EQ(Bytes(master->GetOneStkInfo(L"600001", 1)),
            "\xC6\xD6\xB7\xA2\xD2\xF8\xD0\xD0|600001|1");
}

// Searches read the data centre while a terminal (or a tool's reading thread) registers more.
TEST(SecurityMaster, AnswersWhileAnotherThreadRegisters) {
  TRefPtr<CSecurityMaster> master(new CSecurityMaster);
  ASSERT_TRUE(master->AddSecurity(L"000001", 0, L"平安银行"));
  std::thread registrar([&master] {
    for (int i = 0; i < 3000; ++i)
      master->AddSecurity(std::to_wstring(300000 + i).c_str(), 0, L"宁德时代");
  });
  int wrong = 0;
  for (int i = 0; i < 3000; ++i) {
    const STK_PER* known = master->GetOneStkInfo(L"000001", 0);
    if (!known || std::string(known->m_szCode) != "000001") ++wrong;
    const STK_PER* maybe = master->GetOneStkInfo(std::to_wstring(300000 + i), 0);
    if (maybe && std::string(maybe->m_szCode) != std::to_string(300000 + i)) ++wrong;
  }
  registrar.join();
  EXPECT_EQ(wrong, 0);
  EXPECT_EQ(master->Count(), 3001u);
}

}  // namespace

namespace {

// Against a map of what was registered first: short random codes from a few characters (ASCII,
// one outside it, lengths about the field's 15 bytes) collide and nearly collide often.
TEST(SecurityMaster, AgreesWithAMapOfTheFirstRegistrations) {
  TRefPtr<CSecurityMaster> master(new CSecurityMaster);
  std::map<std::pair<std::wstring, int>, std::wstring> first;  // the name registered first
  std::mt19937 random(20240611);
  const wchar_t alphabet[] = {L'6', L'0', L'A', L'代'};
  auto randomCode = [&] {
    std::wstring code;
    const size_t length = random() % 3 == 0 ? 13 + random() % 5 : random() % 4;
    for (size_t i = 0; i < length; ++i) code += alphabet[random() % 4];
    return code;
  };
  int disagreements = 0;
  for (int step = 0; step < 20000; ++step) {
    const std::wstring code = randomCode();
    const int market = static_cast<int>(random() % 3);
    if (step % 2 == 0) {
      const std::wstring name = std::to_wstring(step);
      const bool added =
          master->AddSecurity(code.c_str(), static_cast<unsigned char>(market), name.c_str());
      if (added != first.emplace(std::make_pair(code, market), name).second) ++disagreements;
      continue;
    }
    const STK_PER* record = master->GetOneStkInfo(code, static_cast<unsigned char>(market));
    auto known = first.find({code, market});
    if ((record != nullptr) != (known != first.end()) ||
        (record &&
         std::string(record->m_szName) != std::string(known->second.begin(), known->second.end())))
      ++disagreements;
  }
  EXPECT_EQ(disagreements, 0);
  EXPECT_EQ(master->Count(), first.size());
}

}  // namespace
