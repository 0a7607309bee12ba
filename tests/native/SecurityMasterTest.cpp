#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "frame/RefPtr.h"
#include "services/SecurityMaster.h"
#include "support/TempDir.h"

namespace {

// Byte view of a record at the offsets the component reads.
std::string BytesAt(const STK_PER* record, size_t offset) {
  return std::string(reinterpret_cast<const char*>(record) + offset);
}
unsigned char ByteAt(const STK_PER* record, size_t offset) {
  return reinterpret_cast<const unsigned char*>(record)[offset];
}

const char kPuFaGb[] = "\xC6\xD6\xB7\xA2\xD2\xF8\xD0\xD0";  // 浦发银行 in code page 936

TEST(SecurityMaster, LoadsTsvIntoGb2312Records) {
  TRefPtr<CSecurityMaster> master(new CSecurityMaster);
  const std::string text =
      "\xEF\xBB\xBF# code\tmarket\tname\ttype\tdr\n"
      "600000\t1\t浦发银行\n"
      "\n"
      "000001\t0\t平安银行\t0x0001\r\n"
      "689009\t1\t九号公司\t\t1\n"
      "  # indented comment\n"
      "300750\t0\t宁德时代\t258\t0";  // no final line break
  int rejected = -1;
  EXPECT_EQ(master->LoadText(text, &rejected), 4);
  EXPECT_EQ(rejected, 0);
  EXPECT_EQ(master->Count(), 4u);

  const STK_PER* pufa = master->GetOneStkInfo(L"600000", 1);
  ASSERT_NE(pufa, nullptr);
  EXPECT_EQ(BytesAt(pufa, 0), kPuFaGb);
  EXPECT_EQ(BytesAt(pufa, 52), "600000");
  EXPECT_EQ(ByteAt(pufa, 68), 1);
  EXPECT_EQ(pufa->m_wType, 0x100);  // missing type word: market in the high byte
  EXPECT_FALSE(pufa->m_bDepositaryReceipt);

  const STK_PER* pingan = master->GetOneStkInfo(L"000001", 0);
  ASSERT_NE(pingan, nullptr);
  EXPECT_EQ(BytesAt(pingan, 0), "\xC6\xBD\xB0\xB2\xD2\xF8\xD0\xD0");
  EXPECT_EQ(pingan->m_wType, 0x0001);
  EXPECT_EQ(master->GetOneStkInfo(L"300750", 0)->m_wType, 258);
  EXPECT_TRUE(master->GetOneStkInfo(L"689009", 1)->m_bDepositaryReceipt);

  EXPECT_EQ(master->GetOneStkInfo(L"600000", 0), nullptr);  // same code, other market
  EXPECT_EQ(master->GetOneStkInfo(L"600001", 1), nullptr);
  EXPECT_EQ(master->GetOneStkInfo(L"", 1), nullptr);
}

TEST(SecurityMaster, RefusesBadLinesAndKeepsTheFirstRegistration) {
  TRefPtr<CSecurityMaster> master(new CSecurityMaster);
  const std::string text =
      "600000\t1\t浦发银行\n"
      "600000\t1\t另一个名字\n"     // duplicate: the first wins
      "600001\t256\t邯郸钢铁\n"     // market out of range
      "600002\t1\n"                 // no name
      "600003\tx\t名字\n"           // market not a number
      "600004\t1\t名字\t0x10000\n"  // type word too wide
      "600005\t1\t名字\t1\t2\n"     // flag neither 0 nor 1
      "600006\t1\t\xC3\x28\n"       // malformed UTF-8
      "600007\t1\t名字\t1\t0\textra\n"
      "600008\t1\t名字\t\t\n";  // empty optional fields are fine
  int rejected = 0;
  EXPECT_EQ(master->LoadText(text, &rejected), 2);
  EXPECT_EQ(rejected, 8);
  EXPECT_EQ(BytesAt(master->GetOneStkInfo(L"600000", 1), 0), kPuFaGb);
  EXPECT_NE(master->GetOneStkInfo(L"600008", 1), nullptr);

  EXPECT_FALSE(master->AddSecurity(L"600000", 1, L"别的"));
  EXPECT_TRUE(master->AddSecurity(L"", 1, L"空代码"));  // what the terminal registers is known
  EXPECT_NE(master->GetOneStkInfo(L"", 1), nullptr);
  EXPECT_FALSE(master->AddSecurity(nullptr, 1, L"空代码"));
  EXPECT_FALSE(master->AddSecurity(L"600009", 1, nullptr));
  EXPECT_TRUE(master->AddSecurity(L"600000", 0, L"别的"));  // another market is another security
}

TEST(SecurityMaster, TruncatesCodeAndNameToTheirFields) {
  TRefPtr<CSecurityMaster> master(new CSecurityMaster);
  const std::wstring longCode = L"ABCDEFGHIJKLMNOPQRST";  // 20 characters
  std::wstring longName;
  for (int i = 0; i < 26; ++i) longName += L'银';  // 52 bytes in code page 936
  ASSERT_TRUE(master->AddSecurity(longCode.c_str(), 2, longName.c_str()));

  const STK_PER* record = master->GetOneStkInfo(longCode, 2);  // found by the full code
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(BytesAt(record, 52), "ABCDEFGHIJKLMNO");
  EXPECT_EQ(ByteAt(record, 67), 0);
  EXPECT_EQ(ByteAt(record, 68), 2);
  // 51 bytes would split the 26th character: 25 characters are kept.
  EXPECT_EQ(BytesAt(record, 0).size(), 50u);
  EXPECT_EQ(ByteAt(record, 49), 0xF8);

  std::wstring fits = L"A";
  for (int i = 0; i < 25; ++i) fits += L'银';  // exactly 51 bytes
  ASSERT_TRUE(master->AddSecurity(L"FITS", 2, fits.c_str()));
  EXPECT_EQ(BytesAt(master->GetOneStkInfo(L"FITS", 2), 0).size(), 51u);

  // A character that code page 936 lacks becomes '?'.
  ASSERT_TRUE(master->AddSecurity(L"THAI", 2, L"A\u0E01B"));
  EXPECT_EQ(BytesAt(master->GetOneStkInfo(L"THAI", 2), 0), "A?B");
}

TEST(SecurityMaster, LoadsFromFile) {
  TempDir dir;
  WriteTextFile(dir.File("master.tsv"), "600000\t1\t浦发银行\n000001\t0\t平安银行\n");
  TRefPtr<CSecurityMaster> master(new CSecurityMaster);
  EXPECT_EQ(master->LoadFile(dir.WideFile("master.tsv").c_str()), 2);
  EXPECT_EQ(BytesAt(master->GetOneStkInfo(L"600000", 1), 0), kPuFaGb);
  int rejected = 7;
  EXPECT_EQ(master->LoadFile(dir.WideFile("missing.tsv").c_str(), &rejected), -1);
  EXPECT_EQ(rejected, 0);
  EXPECT_EQ(master->LoadFile(nullptr), -1);
}

TEST(SecurityMaster, RecordsKeepTheirAddressWhileOthersAreAdded) {
  TRefPtr<CSecurityMaster> master(new CSecurityMaster);
  ASSERT_TRUE(master->AddSecurity(L"600000", 1, L"浦发银行"));
  const STK_PER* first = master->GetOneStkInfo(L"600000", 1);

  // Writers add while readers look up what is already there.
  std::vector<std::thread> threads;
  for (int t = 0; t < 2; ++t)
    threads.emplace_back([&master, t] {
      for (int i = 0; i < 2000; ++i) {
        const std::wstring code = std::to_wstring(t * 100000 + i);
        if (!master->AddSecurity(code.c_str(), 0, L"名")) ADD_FAILURE() << "add " << i;
      }
    });
  threads.emplace_back([&master, first] {
    for (int i = 0; i < 4000; ++i)
      if (master->GetOneStkInfo(L"600000", 1) != first) ADD_FAILURE() << "record moved";
  });
  for (auto& thread : threads) thread.join();

  EXPECT_EQ(master->Count(), 4001u);
  EXPECT_EQ(master->GetOneStkInfo(L"600000", 1), first);
  EXPECT_EQ(BytesAt(first, 52), "600000");
  EXPECT_NE(master->GetOneStkInfo(L"101999", 0), nullptr);
}

TEST(SecurityMaster, BroadcastRegistration) {
  TRefPtr<CSecurityMaster> master(new CSecurityMaster);
  HWND a = reinterpret_cast<HWND>(0x100), b = reinterpret_cast<HWND>(0x200);
  master->RegistRecvBroadcastMsgWnd(a);
  master->RegistRecvBroadcastMsgWnd(b);
  master->RegistRecvBroadcastMsgWnd(a);  // once is enough
  master->RegistRecvBroadcastMsgWnd(nullptr);
  EXPECT_EQ(master->BroadcastWindowCount(), 2u);
  master->UnregistRecvBroadcastMsgWnd(a);
  EXPECT_EQ(master->BroadcastWindowCount(), 1u);
  // No window system here: a registered handle is no window, so nobody receives it.
  EXPECT_EQ(master->BroadcastPaletteChanged(), 0);
  master->UnregistRecvBroadcastMsgWnd(b);
  EXPECT_EQ(master->BroadcastWindowCount(), 0u);
}

}  // namespace
