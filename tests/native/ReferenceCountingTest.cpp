// Reference counting: the base's QueryInterface, counts from many threads and owned name; the one
// reference a keyboard item record holds on its object through copies and assignments, and its
// equality; the request record whose copies never share a name.
#include <gtest/gtest.h>

#include <cstring>
#include <thread>
#include <vector>

#include "frame/DataMgr.h"
#include "frame/KeyboardItemInfo.h"
#include "frame/RefPtr.h"
#include "support/CountingUnknown.h"

namespace {

TEST(ReferenceCounting, QueryInterfaceKnowsOnlyIUnknownAndTheLastReleaseDeletes) {
  UnknownCounters counters;
  CCountingUnknown* object = new CCountingUnknown(&counters);
  void* out = nullptr;
  EXPECT_EQ(object->QueryInterface(IID_IUnknown, &out), S_OK);
  EXPECT_EQ(out, static_cast<IUnknown*>(object));
  const IID other = {0x00000000, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x47}};
  EXPECT_EQ(object->QueryInterface(other, &out), E_FAIL);
  EXPECT_EQ(out, static_cast<IUnknown*>(object));  // untouched
  EXPECT_EQ(object->GetIUnknownPtr(reinterpret_cast<IUnknown**>(&out)), 0);
  EXPECT_EQ(object->RefCount(), 2);
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t)
    threads.emplace_back([object] {
      for (int i = 0; i < 10000; ++i) object->AddRef(), object->Release();
    });
  for (auto& thread : threads) thread.join();
  wchar_t name[] = L"CHotKeyManager";
  EXPECT_EQ(object->SetName(name), TRUE);
  name[0] = L'X';  // the object keeps its own copy
  EXPECT_STREQ(object->GetName(), L"CHotKeyManager");
  object->SetName(L"");  // the old copy is freed (leak-checked under ASan), the new one with it
  EXPECT_EQ(object->Release(), 1u);
  EXPECT_EQ(counters.destroyed, 0);
  EXPECT_EQ(object->Release(), 0u);
  EXPECT_EQ(counters.destroyed, 1);
}

TEST(ReferenceCounting, RequestCopiesPayloadButNeverSharesItsName) {
  Request* original = new Request;
  original->AddRef();
  original->SetName(L"request");
  original->m_nField2 = -2;
  memset(original->m_block1, 0xAB, sizeof(original->m_block1));
  Request copy(*original), assigned;
  assigned.SetName(L"old name");
  assigned = *original;
  assigned = assigned;
  for (Request* r : {&copy, &assigned}) {
    EXPECT_EQ(r->RefCount(), 0);  // a copy starts its own count
    ASSERT_NE(r->GetName(), nullptr);
    EXPECT_NE(r->GetName(), original->GetName());
    EXPECT_EQ(r->m_nField2, -2);
    EXPECT_EQ(memcmp(r->m_block1, original->m_block1, 256), 0);
  }
  original->Release();  // frees the original name; the copies keep theirs
  EXPECT_STREQ(copy.GetName(), L"request");
  EXPECT_STREQ(assigned.GetName(), L"request");
  assigned = Request();  // a nameless source leaves no name behind
  EXPECT_EQ(assigned.GetName(), nullptr);
}

KeyboardItemInfo MakeItem(const wchar_t* code, IUnknown* unknown = nullptr) {
  return KeyboardItemInfo(code, L"PFYH", L"浦发银行", 0x0101, 7, unknown, 0, KEYBOARD_SELECT_NONE);
}

TEST(KeyboardItemInfo, EqualityLooksAtKeysTypeWordAndKindOnly) {
  UnknownCounters counters;
  const KeyboardItemInfo base = MakeItem(L"AB");
  KeyboardItemInfo other = MakeItem(L"AB", new CCountingUnknown(&counters));
  other.m_cMarket = 9;
  other.m_nExtraInfo = 99;
  other.m_eSelectType = KEYBOARD_SELECT_WHOLE;
  EXPECT_TRUE(base == other);
  EXPECT_FALSE(base == MakeItem(L"ab"));  // case-sensitive
  for (int field = 0; field < 4; ++field) {
    KeyboardItemInfo changed = base;
    if (field == 0) changed.m_wType = 0x0102;
    if (field == 1) changed.m_dwKind = 258;
    if (field == 2) changed.m_szHotKey[0] = L'Q';
    if (field == 3) changed.m_szName[4] = L'X';  // one character appended to the name
    EXPECT_FALSE(base == changed) << field;
  }
}

TEST(KeyboardItemInfo, CopyAndAssignKeepOneReferencePerRecord) {
  UnknownCounters firstCounters, secondCounters;
  CCountingUnknown* first = new CCountingUnknown(&firstCounters);
  {
    KeyboardItemInfo a = MakeItem(L"600000", first);
    a.m_cMarket = 1;
    EXPECT_EQ(first->RefCount(), 1);
    {
      const KeyboardItemInfo copy(a);
      EXPECT_EQ(first->RefCount(), 2);
      EXPECT_TRUE(copy == a && copy.m_pUnknown == first && copy.m_cMarket == 1);
    }
    EXPECT_EQ(first->RefCount(), 1);

    KeyboardItemInfo b = MakeItem(L"000001", new CCountingUnknown(&secondCounters));
    b = a;  // takes first, gives back second
    EXPECT_EQ(secondCounters.destroyed, 1);
    EXPECT_EQ(first->RefCount(), 2);
    EXPECT_STREQ(b.m_szCode, L"600000");
    const int addRefs = firstCounters.addRefs, releases = firstCounters.releases;
    b = b;  // self-assignment: nothing changes
    b = a;  // same object already held: no traffic on its count
    EXPECT_EQ(firstCounters.addRefs, addRefs);
    EXPECT_EQ(firstCounters.releases, releases);
    b = KeyboardItemInfo();  // assigning a record without object drops the reference
    EXPECT_TRUE(b.m_pUnknown == nullptr && first->RefCount() == 1);
  }
  EXPECT_EQ(firstCounters.destroyed, 1);
  EXPECT_EQ(firstCounters.addRefs, firstCounters.releases);
}

TEST(KeyboardItemInfo, CopyRemoveIUnknownPtr) {
  UnknownCounters heldCounters, sourceCounters;
  TRefPtr<CCountingUnknown> source(new CCountingUnknown(&sourceCounters));
  KeyboardItemInfo from(L"600000", L"PFYH", L"浦发银行", 0x0101, 5, source.get(), 258,
                        KEYBOARD_SELECT_END);
  from.m_cMarket = 1;
  KeyboardItemInfo target = MakeItem(L"OLDCODE_LONGER", new CCountingUnknown(&heldCounters));
  target.CopyRemoveIUnknownPtr(from);
  EXPECT_EQ(heldCounters.destroyed, 1);  // its own object released
  EXPECT_EQ(target.m_pUnknown, nullptr);
  EXPECT_EQ(source->RefCount(), 2);  // the other's object neither taken nor referenced
  EXPECT_TRUE(target == from && target.m_nExtraInfo == 5 && target.m_cMarket == 1 &&
              target.m_eSelectType == KEYBOARD_SELECT_END);
  KeyboardItemInfo bare;
  bare.CopyRemoveIUnknownPtr(from);  // nothing to release
  EXPECT_TRUE(bare == from && bare.m_pUnknown == nullptr);
}

}  // namespace
