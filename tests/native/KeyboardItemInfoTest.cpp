#include <gtest/gtest.h>

#include <cwchar>
#include <string>

#include "frame/KeyboardItemInfo.h"
#include "support/CountingUnknown.h"

namespace {

bool AllZero(const wchar_t* field, size_t length) {
  for (size_t i = 0; i < length; ++i)
    if (field[i] != 0) return false;
  return true;
}

KeyboardItemInfo MakeItem(const wchar_t* code, IUnknown* unknown = nullptr) {
  return KeyboardItemInfo(code, L"PFYH", L"浦发银行", 0x0101, 7, unknown, 0, KEYBOARD_SELECT_NONE);
}

TEST(KeyboardItemInfo, ConstantsAndDefaults) {
  EXPECT_EQ(KeyboardItemInfo::MAX_STOCK_NAME_LENGTH, 16);
  EXPECT_EQ(KeyboardItemInfo::MAX_STOCK_DESCRI_LENGTH, 32);
  EXPECT_EQ(KeyboardItemInfo::MAX_STOCK_HOTKEY_LENGTH, 32);
  EXPECT_EQ(KeyboardItemInfo::INVALID_EXTRA_INFO_VALUE, -1);

  KeyboardItemInfo item;
  EXPECT_TRUE(AllZero(item.m_szCode, 17));
  EXPECT_TRUE(AllZero(item.m_szHotKey, 33));
  EXPECT_TRUE(AllZero(item.m_szName, 33));
  EXPECT_EQ(item.m_wType, 0xFFFF);
  EXPECT_EQ(item.m_nExtraInfo, -1);
  EXPECT_EQ(item.m_pUnknown, nullptr);
  EXPECT_EQ(item.m_dwKind, 0xFFFFFFFFu);
  EXPECT_EQ(item.m_cMarket, 0xFF);
  EXPECT_EQ(item.m_eSelectType, KEYBOARD_SELECT_NONE);
}

TEST(KeyboardItemInfo, EightArgumentConstructor) {
  UnknownCounters counters;
  CCountingUnknown* object = new CCountingUnknown(&counters);
  object->AddRef();  // the test's own reference
  {
    KeyboardItemInfo item(L"600000", L"PFYH", L"浦发银行", 0x12345, 61, object, 257,
                          KEYBOARD_SELECT_END);
    EXPECT_STREQ(item.m_szCode, L"600000");
    EXPECT_STREQ(item.m_szHotKey, L"PFYH");
    EXPECT_STREQ(item.m_szName, L"浦发银行");
    EXPECT_EQ(item.m_wType, 0x2345);  // low 16 bits of the type
    EXPECT_EQ(item.m_nExtraInfo, 61);
    EXPECT_EQ(item.m_pUnknown, object);
    EXPECT_EQ(object->RefCount(), 2);
    EXPECT_EQ(item.m_dwKind, 257u);
    EXPECT_EQ(item.m_cMarket, 0xFF);  // no market argument
    EXPECT_EQ(item.m_eSelectType, KEYBOARD_SELECT_END);
    EXPECT_TRUE(AllZero(item.m_szCode + 6, 17 - 6));  // zero-filled behind the text
  }
  EXPECT_EQ(object->RefCount(), 1);
  object->Release();
  EXPECT_EQ(counters.destroyed, 1);

  KeyboardItemInfo empty(nullptr, nullptr, nullptr, 1, 2, nullptr, 3, KEYBOARD_SELECT_WHOLE);
  EXPECT_TRUE(AllZero(empty.m_szCode, 17));
  EXPECT_TRUE(AllZero(empty.m_szHotKey, 33));
  EXPECT_TRUE(AllZero(empty.m_szName, 33));
  EXPECT_EQ(empty.m_pUnknown, nullptr);
  EXPECT_EQ(empty.m_cMarket, 0xFF);
}

TEST(KeyboardItemInfo, OverlongStringsAreCutAndTerminated) {
  const std::wstring longText(40, L'银');
  KeyboardItemInfo item(longText.c_str(), longText.c_str(), longText.c_str(), 0, 0, nullptr, 0,
                        KEYBOARD_SELECT_NONE);
  EXPECT_EQ(std::wstring(item.m_szCode), std::wstring(16, L'银'));
  EXPECT_EQ(std::wstring(item.m_szHotKey), std::wstring(32, L'银'));
  EXPECT_EQ(std::wstring(item.m_szName), std::wstring(32, L'银'));
  EXPECT_EQ(item.m_szCode[16], 0);
  EXPECT_EQ(item.m_szHotKey[32], 0);
  EXPECT_EQ(item.m_szName[32], 0);
  EXPECT_EQ(item.m_wType, 0);  // the field after the name is untouched by the copy

  KeyboardItemInfo exact(std::wstring(16, L'A').c_str(), nullptr, nullptr, 0, 0, nullptr, 0,
                         KEYBOARD_SELECT_NONE);
  EXPECT_EQ(std::wstring(exact.m_szCode), std::wstring(16, L'A'));
}

TEST(KeyboardItemInfo, CopyAndAssignKeepOneReferencePerRecord) {
  UnknownCounters firstCounters, secondCounters;
  CCountingUnknown* first = new CCountingUnknown(&firstCounters);
  CCountingUnknown* second = new CCountingUnknown(&secondCounters);
  {
    KeyboardItemInfo a = MakeItem(L"600000", first);
    a.m_cMarket = 1;
    a.m_eSelectType = KEYBOARD_SELECT_BEGIN;
    EXPECT_EQ(first->RefCount(), 1);
    {
      KeyboardItemInfo copy(a);
      EXPECT_EQ(first->RefCount(), 2);
      EXPECT_EQ(copy.m_pUnknown, first);
      EXPECT_EQ(memcmp(copy.m_szName, a.m_szName, sizeof(a.m_szName)), 0);
      EXPECT_EQ(copy.m_cMarket, 1);
      EXPECT_EQ(copy.m_eSelectType, KEYBOARD_SELECT_BEGIN);
      EXPECT_EQ(copy.m_nExtraInfo, 7);
    }
    EXPECT_EQ(first->RefCount(), 1);

    KeyboardItemInfo b = MakeItem(L"000001", second);
    b = a;  // takes first, gives back second
    EXPECT_EQ(secondCounters.destroyed, 1);
    EXPECT_EQ(first->RefCount(), 2);
    EXPECT_STREQ(b.m_szCode, L"600000");
    EXPECT_EQ(b.m_cMarket, 1);

    const int addRefs = firstCounters.addRefs, releases = firstCounters.releases;
    b = b;  // self-assignment: nothing changes
    b = a;  // same object already held: no traffic on its count
    EXPECT_EQ(firstCounters.addRefs, addRefs);
    EXPECT_EQ(firstCounters.releases, releases);
    EXPECT_EQ(first->RefCount(), 2);
    EXPECT_STREQ(b.m_szCode, L"600000");

    KeyboardItemInfo none;
    b = none;  // assigning a record without object drops the reference
    EXPECT_EQ(b.m_pUnknown, nullptr);
    EXPECT_EQ(first->RefCount(), 1);
  }
  EXPECT_EQ(firstCounters.destroyed, 1);
  EXPECT_EQ(firstCounters.addRefs, firstCounters.releases);
}

TEST(KeyboardItemInfo, EqualityLooksAtKeysTypeAndKindOnly) {
  EXPECT_TRUE(KeyboardItemInfo() == KeyboardItemInfo());

  UnknownCounters counters;
  CCountingUnknown* object = new CCountingUnknown(&counters);
  KeyboardItemInfo base = MakeItem(L"AB");
  KeyboardItemInfo other = MakeItem(L"AB", object);
  other.m_cMarket = 9;
  other.m_nExtraInfo = 99;
  other.m_eSelectType = KEYBOARD_SELECT_WHOLE;
  EXPECT_TRUE(base == other);

  EXPECT_FALSE(base == MakeItem(L"ab"));  // case-sensitive
  KeyboardItemInfo changed = base;
  changed.m_wType = 0x0102;
  EXPECT_FALSE(base == changed);
  changed = base;
  changed.m_dwKind = 258;
  EXPECT_FALSE(base == changed);
  changed = base;
  changed.m_szHotKey[0] = L'Q';
  EXPECT_FALSE(base == changed);
  changed = base;
  changed.m_szName[4] = L'X';  // one character appended to the name
  EXPECT_FALSE(base == changed);
}

TEST(KeyboardItemInfo, CopyRemoveIUnknownPtr) {
  UnknownCounters heldCounters, sourceCounters;
  CCountingUnknown* held = new CCountingUnknown(&heldCounters);
  CCountingUnknown* source = new CCountingUnknown(&sourceCounters);
  source->AddRef();
  KeyboardItemInfo from(L"600000", L"PFYH", L"浦发银行", 0x0101, 5, source, 258,
                        KEYBOARD_SELECT_END);
  from.m_cMarket = 1;
  EXPECT_EQ(source->RefCount(), 2);

  KeyboardItemInfo target = MakeItem(L"OLDCODE_LONGER", held);
  target.CopyRemoveIUnknownPtr(from);
  EXPECT_EQ(heldCounters.destroyed, 1);  // its own object released
  EXPECT_EQ(target.m_pUnknown, nullptr);
  EXPECT_EQ(source->RefCount(), 2);  // the other's object neither taken nor referenced
  EXPECT_STREQ(target.m_szCode, L"600000");
  EXPECT_STREQ(target.m_szHotKey, L"PFYH");
  EXPECT_STREQ(target.m_szName, L"浦发银行");
  EXPECT_EQ(target.m_wType, 0x0101);
  EXPECT_EQ(target.m_nExtraInfo, 5);
  EXPECT_EQ(target.m_dwKind, 258u);
  EXPECT_EQ(target.m_cMarket, 1);
  EXPECT_EQ(target.m_eSelectType, KEYBOARD_SELECT_END);
  EXPECT_TRUE(target == from);

  KeyboardItemInfo bare;
  bare.CopyRemoveIUnknownPtr(from);  // nothing to release
  EXPECT_EQ(bare.m_pUnknown, nullptr);
  EXPECT_STREQ(bare.m_szCode, L"600000");

  source->Release();
  EXPECT_EQ(source->RefCount(), 1);  // from still holds its reference
}

}  // namespace
