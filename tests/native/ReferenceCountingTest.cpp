#include <gtest/gtest.h>

#include <cstring>
#include <thread>
#include <vector>

#include "frame/DataMgr.h"
#include "frame/KeyboardItemInfo.h"
#include "frame/Unknown.h"
#include "support/CountingUnknown.h"

namespace {

const IID kOtherId = {0x00000000, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x47}};

TEST(ReferenceCounting, QueryInterfaceKnowsOnlyIUnknown) {
  UnknownCounters counters;
  CCountingUnknown* object = new CCountingUnknown(&counters);
  object->AddRef();

  void* out = nullptr;
  EXPECT_EQ(object->QueryInterface(IID_IUnknown, &out), S_OK);
  EXPECT_EQ(out, static_cast<IUnknown*>(object));
  EXPECT_EQ(object->RefCount(), 2);

  void* untouched = reinterpret_cast<void*>(0x1234);
  EXPECT_EQ(object->QueryInterface(kOtherId, &untouched), E_FAIL);
  EXPECT_EQ(untouched, reinterpret_cast<void*>(0x1234));
  EXPECT_EQ(object->RefCount(), 2);

  IUnknown* viaGet = nullptr;
  EXPECT_EQ(object->GetIUnknownPtr(&viaGet), 0);
  EXPECT_EQ(viaGet, static_cast<IUnknown*>(object));
  EXPECT_EQ(object->RefCount(), 3);

  EXPECT_EQ(object->Release(), 2u);
  EXPECT_EQ(object->Release(), 1u);
  EXPECT_EQ(counters.destroyed, 0);
  EXPECT_EQ(object->Release(), 0u);
  EXPECT_EQ(counters.destroyed, 1);
}

TEST(ReferenceCounting, NameIsOwnedAndFreed) {
  UnknownCounters counters;
  CCountingUnknown* object = new CCountingUnknown(&counters);
  object->AddRef();
  EXPECT_EQ(object->GetName(), nullptr);
  wchar_t name[] = L"CHotKeyManager";
  EXPECT_EQ(object->SetName(name), TRUE);
  name[0] = L'X';  // the object keeps its own copy
  EXPECT_STREQ(object->GetName(), L"CHotKeyManager");
  EXPECT_EQ(object->SetName(L""), TRUE);  // the old copy is freed (leak-checked under ASan)
  EXPECT_STREQ(object->GetName(), L"");
  object->SetName(L"final name");
  object->Release();  // frees the name with the object
  EXPECT_EQ(counters.destroyed, 1);
}

TEST(ReferenceCounting, ConcurrentAddRefAndRelease) {
  UnknownCounters counters;
  CCountingUnknown* object = new CCountingUnknown(&counters);
  object->AddRef();
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t)
    threads.emplace_back([object] {
      for (int i = 0; i < 10000; ++i) {
        object->AddRef();
        object->Release();
      }
    });
  for (auto& thread : threads) thread.join();
  EXPECT_EQ(object->RefCount(), 1);
  object->Release();
  EXPECT_EQ(counters.destroyed, 1);
}

TEST(ReferenceCounting, PackagerOfRecordHoldsItsOwnReference) {
  UnknownCounters counters;
  CCountingUnknown* attached = new CCountingUnknown(&counters);
  CPackager<KeyboardItemInfo>* package;
  {
    KeyboardItemInfo item(L"ZXG", L"ZXG", L"自选股", 0x6400, 73, attached, 257,
                          KEYBOARD_SELECT_NONE);
    package = new CPackager<KeyboardItemInfo>(item);
    EXPECT_EQ(package->RefCount(), 0);  // created without a reference, like every package
    EXPECT_EQ(attached->RefCount(), 2);
    EXPECT_STREQ(package->m_value.m_szCode, L"ZXG");
    EXPECT_EQ(package->m_value.m_nExtraInfo, 73);
  }
  EXPECT_EQ(attached->RefCount(), 1);  // the package's value keeps the object alive
  package->AddRef();
  IUnknown* asUnknown = package;
  EXPECT_NE(dynamic_cast<CPackager<KeyboardItemInfo>*>(asUnknown), nullptr);
  EXPECT_EQ(dynamic_cast<CPackager<bool>*>(asUnknown), nullptr);
  asUnknown->Release();
  EXPECT_EQ(counters.destroyed, 1);
}

TEST(ReferenceCounting, RequestCopiesPayloadButNeverSharesItsName) {
  Request blank;
  EXPECT_EQ(blank.m_nField1, 0);
  EXPECT_EQ(blank.m_nField4, 0);
  const unsigned char zeros[256] = {};
  EXPECT_EQ(memcmp(blank.m_block1, zeros, sizeof(blank.m_block1)), 0);
  EXPECT_EQ(memcmp(blank.m_block2, zeros, sizeof(blank.m_block2)), 0);
  EXPECT_EQ(memcmp(blank.m_block3, zeros, sizeof(blank.m_block3)), 0);
  EXPECT_EQ(blank.GetName(), nullptr);

  Request* original = new Request;
  original->AddRef();
  original->SetName(L"request");
  original->m_nField1 = 1;
  original->m_nField2 = -2;
  original->m_nField3 = 3;
  original->m_nField4 = 4;
  for (int i = 0; i < 256; ++i) original->m_block1[i] = static_cast<unsigned char>(i);
  memset(original->m_block2, 0xAB, sizeof(original->m_block2));
  memset(original->m_block3, 0xCD, sizeof(original->m_block3));

  Request copy(*original);
  Request assigned;
  assigned.SetName(L"old name");
  assigned = *original;
  assigned = assigned;
  for (Request* r : {&copy, &assigned}) {
    EXPECT_EQ(r->RefCount(), 0);  // a copy starts its own count
    ASSERT_NE(r->GetName(), nullptr);
    EXPECT_NE(r->GetName(), original->GetName());
    EXPECT_STREQ(r->GetName(), L"request");
    EXPECT_EQ(r->m_nField1, 1);
    EXPECT_EQ(r->m_nField2, -2);
    EXPECT_EQ(r->m_nField3, 3);
    EXPECT_EQ(r->m_nField4, 4);
    EXPECT_EQ(memcmp(r->m_block1, original->m_block1, 256), 0);
    EXPECT_EQ(memcmp(r->m_block2, original->m_block2, 16), 0);
    EXPECT_EQ(memcmp(r->m_block3, original->m_block3, 8), 0);
  }
  original->Release();  // frees the original name; the copies keep theirs
  EXPECT_STREQ(copy.GetName(), L"request");
  EXPECT_STREQ(assigned.GetName(), L"request");

  assigned = blank;  // a nameless source leaves no name behind
  EXPECT_EQ(assigned.GetName(), nullptr);
}

// A data centre that answers nothing; only the component's own members are exercised.
class CEmptyDataMgr : public CDataMgr {
 public:
  const STK_PER* GetOneStkInfo(const std::wstring&, unsigned char) override { return nullptr; }
  void RegistRecvBroadcastMsgWnd(HWND) override {}
  void UnregistRecvBroadcastMsgWnd(HWND) override {}
};

TEST(ReferenceCounting, DataMgrMembersOfTheComponentDoNothing) {
  CEmptyDataMgr dataMgr;
  std::vector<MARKET_INFO> markets(2);
  markets[0].m_cMarket = 7;
  dataMgr.GetOldSerMarkets(markets);
  ASSERT_EQ(markets.size(), 2u);
  EXPECT_EQ(markets[0].m_cMarket, 7);
  char code[] = "600000";
  EXPECT_FALSE(dataMgr.AddOneSeltStk(code, 1));
  EXPECT_STREQ(code, "600000");
  dataMgr.SetSelfStk(nullptr);
}

}  // namespace
