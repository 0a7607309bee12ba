// The POSIX side of the platform seam: case rules, the lock event, worker threads, ticks, text
// conversion, files, and the absent window system.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <thread>
#include <vector>

#include "platform/Platform.h"
#include "support/TempDir.h"

namespace {

int Sign(int value) { return (value > 0) - (value < 0); }

TEST(Platform, UpperCharAndCaseInsensitiveComparisons) {
  for (wchar_t c = L'a'; c <= L'z'; ++c) EXPECT_EQ(plat::UpperChar(c), c - 0x20);
  // é, ÿ (its capital outside Latin-1), ÷ (no letter), full-width a and z.
  const std::wstring lower = L"AZ_[中\u00E9\u00FF\u00F7\uFF41\uFF5A",
                     upper = L"AZ_[中\u00C9\u0178\u00F7\uFF21\uFF3A";
  for (size_t i = 0; i < lower.size(); ++i) EXPECT_EQ(plat::UpperChar(lower[i]), upper[i]) << i;
  for (auto compare : {plat::CompareNoCase, plat::CompareOrdinalNoCase}) {
    EXPECT_EQ(compare(L"zxg600000\uFF41caf\u00E9", L"ZXG600000\uFF21CAF\u00C9"), 0);
    EXPECT_EQ(compare(L"", L""), 0);
    EXPECT_LT(compare(L"abc", L"ABD"), 0);
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

// Workers take the auto-reset lock in turns; the test waits for a count each raises as its very
// last step, so nothing they use is freed under them.
TEST(Platform, LockEventIsAnAutoResetEventSharedByWorkers) {
  EXPECT_FALSE(plat::WaitLockEvent(nullptr) || plat::SetLockEvent(nullptr));
  plat::CloseLockEvent(nullptr);
  struct Shared {
    HANDLE lock = plat::CreateLockEvent();
    long counter = 0;  // guarded by the lock only
    std::atomic<int> finished{0};
  } shared;
  ASSERT_TRUE(shared.lock && plat::SetLockEvent(shared.lock));
  EXPECT_TRUE(plat::WaitLockEvent(shared.lock));  // consumes the signal: the workers must wait
  for (int i = 0; i < 6; ++i)
    ASSERT_TRUE(plat::StartWorkerThread(
        [](void* arg) -> unsigned {
          Shared* s = static_cast<Shared*>(arg);
          for (int round = 0; round < 2000; ++round) {
            plat::WaitLockEvent(s->lock);
            ++s->counter;
            plat::SetLockEvent(s->lock);
          }
          ++s->finished;
          return 0;
        },
        &shared));
  EXPECT_EQ(shared.counter, 0);  // still held here
  plat::SetLockEvent(shared.lock);
  while (shared.finished.load() < 6) std::this_thread::yield();
  ASSERT_TRUE(plat::WaitLockEvent(shared.lock));
  EXPECT_EQ(shared.counter, 6 * 2000);
  plat::CloseLockEvent(shared.lock);
}

TEST(Platform, TicksToAnsiFilesAndNoWindowSystem) {
  const uint32_t start = plat::TickCount();
  plat::SleepMs(20);
  EXPECT_GE(plat::TickCount() - start, 19u);  // unsigned difference: correct across a wrap

  char out[8];
  EXPECT_TRUE(plat::ToAnsi(L"1234567", out, sizeof(out)) && !strcmp(out, "1234567"));  // fits
  EXPECT_FALSE(plat::ToAnsi(L"12345678", out, sizeof(out)) || plat::ToAnsi(L"x", out, 0));
  EXPECT_EQ(strnlen(out, sizeof(out)), 7u);                  // still terminated
  EXPECT_TRUE(plat::ToAnsi(L"A\u4E2DB", out, sizeof(out)));  // no ANSI code page: '?'
  EXPECT_STREQ(out, "A?B");

  TempDir dir;
  const std::wstring path = dir.WideFile() + L"/历史.dat";  // to the system as UTF-8
  EXPECT_FALSE(plat::FileExists(path.c_str()) || plat::DeleteFileAt(path.c_str()));
  WriteTextFile(dir.File("历史.dat"), "x");
  EXPECT_TRUE(plat::FileExists(path.c_str()) && plat::DeleteFileAt(path.c_str()));
  EXPECT_TRUE(dir.Entries().empty());
  EXPECT_FALSE(plat::FileExists(nullptr) || plat::DeleteFileAt(nullptr));
  const std::wstring module = plat::ModuleDirectory();
  EXPECT_TRUE(!module.empty() && module.back() != L'/' && plat::FileExists(module.c_str()));

  EXPECT_FALSE(plat::IsWindowHandle(reinterpret_cast<HWND>(0x10010)));
  EXPECT_FALSE(plat::PostWindowMessage(reinterpret_cast<HWND>(0x10010), 0x51C, 61, 0));
  testing::internal::CaptureStderr();
  plat::ShowMessageBox(L"ErrorKeyboardItemIndex");
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "ErrorKeyboardItemIndex\n");
}

// The advice changes how a block is backed, never what it holds: a block written before it and
// one written after keep their bytes, and small or absent blocks are left alone.
TEST(Platform, LargePageAdviceKeepsWhatABlockHolds) {
  plat::AdviseLargePages(nullptr, 8 << 20);
  const size_t size = (9 << 20) + 123;
  std::vector<unsigned char> written(size), fresh(size, 0), small(100, 7);
  for (size_t i = 0; i < size; ++i) written[i] = static_cast<unsigned char>(i * 31 + 5);
  const std::vector<unsigned char> expected = written;
  plat::AdviseLargePages(written.data(), size);
  plat::AdviseLargePages(fresh.data() + 1, size - 1);
  plat::AdviseLargePages(small.data(), small.size());
  EXPECT_TRUE(written == expected);
  for (size_t i = 0; i < size; i += 4096) fresh[i] = static_cast<unsigned char>(i >> 12);
  for (size_t i = 0; i < size; i += 4096)
    ASSERT_EQ(fresh[i], static_cast<unsigned char>(i >> 12)) << i;
  EXPECT_EQ(std::count(small.begin(), small.end(), 7), 100);
}

}  // namespace
