#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <string>
#include <thread>

#include "platform/Platform.h"
#include "support/TempDir.h"

namespace {

int Sign(int value) { return (value > 0) - (value < 0); }

// Joins a worker by a flag it sets as its very last step, so nothing it used is freed under it.
void WaitUntilSet(const std::atomic<bool>& flag) {
  while (!flag.load()) std::this_thread::yield();
}

TEST(Platform, UpperChar) {
  for (wchar_t c = L'a'; c <= L'z'; ++c) EXPECT_EQ(plat::UpperChar(c), c - 0x20);
  for (wchar_t c : {L'A', L'Z', L'0', L'_', L' ', L'@', L'[', L'中', L'\0'})
    EXPECT_EQ(plat::UpperChar(c), c);
  EXPECT_EQ(plat::UpperChar(L'\u00E9'), L'\u00C9');  // é
  EXPECT_EQ(plat::UpperChar(L'\u00FF'), L'\u0178');  // ÿ has its capital outside Latin-1
  EXPECT_EQ(plat::UpperChar(L'\u00F7'), L'\u00F7');  // ÷ is no letter
  EXPECT_EQ(plat::UpperChar(L'\uFF41'), L'\uFF21');  // full-width a
  EXPECT_EQ(plat::UpperChar(L'\uFF5A'), L'\uFF3A');  // full-width z
  EXPECT_EQ(plat::UpperChar(L'\uFF21'), L'\uFF21');
}

TEST(Platform, CaseInsensitiveComparisons) {
  for (auto compare : {plat::CompareNoCase, plat::CompareOrdinalNoCase}) {
    EXPECT_EQ(compare(L"zxg600000", L"ZXG600000"), 0);
    EXPECT_EQ(compare(L"\uFF41\uFF42", L"\uFF21\uFF22"), 0);
    EXPECT_EQ(compare(L"caf\u00E9", L"CAF\u00C9"), 0);
    EXPECT_EQ(compare(L"", L""), 0);
    EXPECT_LT(compare(L"abc", L"ABD"), 0);
    EXPECT_GT(compare(L"ABD", L"abc"), 0);
    EXPECT_LT(compare(L"ab", L"ABC"), 0);  // a prefix sorts first
    // Upper-cased, '_' (0x5F) sorts after every letter: a lower-casing rule would reverse it.
    EXPECT_GT(compare(L"_", L"a"), 0);
    EXPECT_EQ(Sign(compare(L"x1", L"X2")), -Sign(compare(L"X2", L"x1")));
  }
  EXPECT_EQ(plat::CompareNoCaseN(L"abcX", L"ABCy", 3), 0);
  EXPECT_NE(plat::CompareNoCaseN(L"abcX", L"ABCy", 4), 0);
  EXPECT_EQ(plat::CompareNoCaseN(L"ab", L"AB", 10), 0);  // stops at the terminator
  EXPECT_LT(plat::CompareNoCaseN(L"ab", L"ABC", 10), 0);
  EXPECT_EQ(plat::CompareNoCaseN(L"x", L"y", 0), 0);
}

TEST(Platform, LockEventIsAnAutoResetEvent) {
  EXPECT_FALSE(plat::WaitLockEvent(nullptr));
  EXPECT_FALSE(plat::SetLockEvent(nullptr));
  plat::CloseLockEvent(nullptr);

  HANDLE event = plat::CreateLockEvent();
  ASSERT_NE(event, nullptr);
  ASSERT_TRUE(plat::SetLockEvent(event));
  EXPECT_TRUE(plat::WaitLockEvent(event));  // consumes the signal

  // The one signal is gone: a waiter must wait for the next set.
  struct Waiter {
    HANDLE event;
    std::atomic<bool> released{false};
    std::atomic<bool> sawRelease{false};
    std::atomic<bool> done{false};
  } waiter;
  waiter.event = event;
  ASSERT_TRUE(plat::StartWorkerThread(
      [](void* arg) -> unsigned {
        Waiter* w = static_cast<Waiter*>(arg);
        plat::WaitLockEvent(w->event);
        w->sawRelease = w->released.load();
        w->done = true;
        return 0;
      },
      &waiter));
  waiter.released = true;
  plat::SetLockEvent(event);
  WaitUntilSet(waiter.done);
  EXPECT_TRUE(waiter.sawRelease);
  plat::CloseLockEvent(event);
}

TEST(Platform, WorkersShareTheLock) {
  struct Shared {
    HANDLE lock;
    long counter = 0;  // guarded by lock only
    std::atomic<int> finished{0};
    std::atomic<bool> done{false};
  } shared;
  const int kWorkers = 6, kRounds = 2000;
  shared.lock = plat::CreateLockEvent();
  plat::SetLockEvent(shared.lock);
  for (int i = 0; i < kWorkers; ++i)
    ASSERT_TRUE(plat::StartWorkerThread(
        [](void* arg) -> unsigned {
          Shared* s = static_cast<Shared*>(arg);
          for (int round = 0; round < kRounds; ++round) {
            plat::WaitLockEvent(s->lock);
            ++s->counter;
            plat::SetLockEvent(s->lock);
          }
          if (++s->finished == kWorkers) s->done = true;
          return 0;
        },
        &shared));
  WaitUntilSet(shared.done);
  ASSERT_TRUE(plat::WaitLockEvent(shared.lock));
  EXPECT_EQ(shared.counter, kWorkers * kRounds);
  plat::CloseLockEvent(shared.lock);
}

TEST(Platform, TickCountAdvancesInMilliseconds) {
  const uint32_t first = plat::TickCount();
  const uint32_t second = plat::TickCount();
  EXPECT_LT(second - first, 1000u);  // unsigned difference: correct across a wrap
  plat::SleepMs(20);
  EXPECT_GE(plat::TickCount() - first, 19u);
}

TEST(Platform, ToAnsi) {
  char out[8];
  EXPECT_TRUE(plat::ToAnsi(L"600000", out, sizeof(out)));
  EXPECT_STREQ(out, "600000");
  EXPECT_TRUE(plat::ToAnsi(L"1234567", out, sizeof(out)));  // exactly fills with terminator
  EXPECT_STREQ(out, "1234567");
  EXPECT_FALSE(plat::ToAnsi(L"12345678", out, sizeof(out)));
  EXPECT_EQ(strnlen(out, sizeof(out)), 7u);  // still terminated
  EXPECT_TRUE(plat::ToAnsi(L"", out, sizeof(out)));
  EXPECT_STREQ(out, "");
  EXPECT_FALSE(plat::ToAnsi(L"x", out, 0));
  // Without an ANSI code page anything beyond ASCII becomes '?'.
  EXPECT_TRUE(plat::ToAnsi(L"A\u4E2DB", out, sizeof(out)));
  EXPECT_STREQ(out, "A?B");
}

TEST(Platform, Files) {
  TempDir dir;
  const std::string path = dir.File("历史.dat");  // the name goes to the system as UTF-8
  const std::wstring widePath = dir.WidePath() + L"/历史.dat";
  EXPECT_FALSE(plat::FileExists(widePath.c_str()));
  EXPECT_FALSE(plat::DeleteFileAt(widePath.c_str()));
  WriteTextFile(path, "x");
  EXPECT_TRUE(plat::FileExists(widePath.c_str()));
  EXPECT_TRUE(plat::DeleteFileAt(widePath.c_str()));
  EXPECT_FALSE(plat::FileExists(widePath.c_str()));
  EXPECT_TRUE(ReadTextFile(path).empty());
  EXPECT_FALSE(plat::FileExists(nullptr));
  EXPECT_FALSE(plat::DeleteFileAt(nullptr));

  const std::wstring module = plat::ModuleDirectory();
  ASSERT_FALSE(module.empty());
  EXPECT_NE(module.back(), L'/');
  EXPECT_TRUE(plat::FileExists(module.c_str()));
}

TEST(Platform, NoWindowSystem) {
  EXPECT_FALSE(plat::IsWindowHandle(nullptr));
  EXPECT_FALSE(plat::IsWindowHandle(reinterpret_cast<HWND>(0x10010)));
  EXPECT_FALSE(plat::PostWindowMessage(reinterpret_cast<HWND>(0x10010), 0x51C, 61, 0));
  EXPECT_FALSE(plat::PostWindowMessage(nullptr, 0x601, 0, 5));

  testing::internal::CaptureStderr();
  plat::ShowMessageBox(L"ErrorKeyboardItemIndex");
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "ErrorKeyboardItemIndex\n");
}

}  // namespace
