// The platform seam on Windows: each function against what the system itself does.
#include "platform/Platform.h"

#include <shlwapi.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

int Sign(int value) { return (value > 0) - (value < 0); }

TEST(PlatformWin32, UpperCharAndComparisonsFollowTheSystemFunctions) {
  wchar_t upper[] = L"aZ5\u00e9\uff41\u4e2d";
  const std::wstring lower = upper;
  CharUpperW(upper);
  for (size_t i = 0; i < lower.size(); ++i) EXPECT_EQ(plat::UpperChar(lower[i]), upper[i]) << i;
  EXPECT_EQ(std::wstring(upper), L"AZ5\u00c9\uff21\u4e2d");
  EXPECT_TRUE(plat::CompareNoCase(L"abc", L"ABC") == 0 && plat::CompareNoCase(L"abc", L"ABD") < 0);
  EXPECT_TRUE(plat::CompareNoCaseN(L"abcX", L"ABCy", 3) == 0 &&
              plat::CompareNoCaseN(L"abcX", L"ABCy", 4) != 0);
  EXPECT_EQ(plat::CompareOrdinalNoCase(L"abc", L"ABC"), 0);
  // StrCmpIW and StrCmpNIW are linguistic: the hyphen is weighted apart from the letters, so
  // "a-c" sorts after "ab"; _wcsicmp is ordinal, and '-' (0x2D) comes before 'b'.
  EXPECT_EQ(Sign(plat::CompareNoCase(L"a-c", L"ab")), Sign(StrCmpIW(L"a-c", L"ab")));
  EXPECT_GT(plat::CompareNoCase(L"a-c", L"ab"), 0);
  EXPECT_GT(plat::CompareNoCaseN(L"a-c", L"ab", 3), 0);
  EXPECT_LT(plat::CompareOrdinalNoCase(L"a-c", L"ab"), 0);
  // Full-width letters are not their ASCII counterparts for either comparison.
  EXPECT_TRUE(plat::CompareNoCase(L"\uff21", L"A") && plat::CompareOrdinalNoCase(L"\uff21", L"A"));
}

TEST(PlatformWin32, LockEventWorkerThreadAndTicks) {
  HANDLE lock = plat::CreateLockEvent();
  ASSERT_NE(lock, nullptr);
  std::vector<DWORD> states = {WaitForSingleObject(lock, 0)};  // created unset
  EXPECT_TRUE(plat::SetLockEvent(lock) && plat::WaitLockEvent(lock));
  states.push_back(WaitForSingleObject(lock, 0));  // the successful wait took the lock
  EXPECT_TRUE(plat::SetLockEvent(lock));
  states.push_back(WaitForSingleObject(lock, 0));
  EXPECT_EQ(states, (std::vector<DWORD>{WAIT_TIMEOUT, WAIT_TIMEOUT, WAIT_OBJECT_0}));
  plat::CloseLockEvent(lock);
  EXPECT_FALSE(plat::WaitLockEvent(nullptr));

  // The worker runs with its argument on another thread; it sets the event as its last step.
  static DWORD workerThread;
  HANDLE done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  ASSERT_TRUE(plat::StartWorkerThread(
      [](void* event) -> unsigned {
        workerThread = GetCurrentThreadId();
        SetEvent(static_cast<HANDLE>(event));
        return 0;
      },
      done));
  ASSERT_EQ(WaitForSingleObject(done, 10000), static_cast<DWORD>(WAIT_OBJECT_0));
  EXPECT_NE(workerThread, GetCurrentThreadId());
  CloseHandle(done);

  // The seam's ticks are the system's count: read between two readings of it.
  const DWORD systemBefore = GetTickCount();
  const uint32_t before = plat::TickCount();
  EXPECT_LE(before - systemBefore, GetTickCount() - systemBefore);

  // The sleep lasts what it was asked for. The tick count is updated coarsely, and later still on
  // a busy machine, so the sleep is timed by the performance counter; the ticks only have to move.
  LARGE_INTEGER frequency, start, end;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  plat::SleepMs(50);
  QueryPerformanceCounter(&end);
  EXPECT_GE((end.QuadPart - start.QuadPart) * 1000 / frequency.QuadPart, 45);
  EXPECT_GT(plat::TickCount() - before, 0u);
}

TEST(PlatformWin32, ToAnsiUsesTheThreadCodePageAndAlwaysTerminates) {
  char out[16], expected[16] = {};
  EXPECT_TRUE(plat::ToAnsi(nullptr, out, sizeof(out)) && out[0] == 0);
  const wchar_t* text = GetACP() == 936 ? L"600\u4e2d" : L"caf\u00e9";
  WideCharToMultiByte(CP_ACP, 0, text, -1, expected, sizeof(expected), nullptr, nullptr);
  ASSERT_TRUE(plat::ToAnsi(text, out, sizeof(out)));
  EXPECT_STREQ(out, expected);
  // Too small: fails, and what is in the buffer is still a terminated string.
  memset(out, 'x', sizeof(out));
  EXPECT_FALSE(plat::ToAnsi(L"0123456789", out, 4));
  EXPECT_LT(strlen(out), 4u);
  EXPECT_FALSE(plat::ToAnsi(L"abc", out, 0));
}

// Answers the message box of the test's thread: records its text and caption, then presses OK.
std::wstring g_box;
HHOOK g_hook;

LRESULT CALLBACK MessageBoxHook(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_ACTIVATE && g_box.empty()) {
    wchar_t text[256], caption[256];
    GetDlgItemTextW(reinterpret_cast<HWND>(wParam), 0xFFFF, text, 256);  // the message's static
    GetWindowTextW(reinterpret_cast<HWND>(wParam), caption, 256);
    g_box = std::wstring(text) + L"|" + caption;
    PostMessageW(reinterpret_cast<HWND>(wParam), WM_COMMAND, IDOK, 0);
  }
  return CallNextHookEx(g_hook, code, wParam, lParam);
}

TEST(PlatformWin32, MessageBoxAndWindowCallsSeeRealWindows) {
  g_hook = SetWindowsHookExW(WH_CBT, MessageBoxHook, nullptr, GetCurrentThreadId());
  ASSERT_NE(g_hook, nullptr);
  plat::ShowMessageBox(L"ErrorKeyboardItemIndex");
  UnhookWindowsHookEx(g_hook);
  EXPECT_EQ(g_box, L"ErrorKeyboardItemIndex|");  // an empty caption

  EXPECT_FALSE(plat::IsWindowHandle(nullptr));
  HWND wnd = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                             GetModuleHandleW(nullptr), nullptr);
  EXPECT_TRUE(plat::IsWindowHandle(wnd));
  ASSERT_TRUE(plat::PostWindowMessage(wnd, WM_APP + 7, 0x601, 0x1234));
  MSG message;
  ASSERT_TRUE(PeekMessageW(&message, wnd, WM_APP + 7, WM_APP + 7, PM_REMOVE));
  EXPECT_TRUE(message.wParam == 0x601u && message.lParam == 0x1234);
  DestroyWindow(wnd);
  EXPECT_FALSE(plat::IsWindowHandle(wnd) || plat::PostWindowMessage(wnd, WM_APP + 7, 0, 0));
}

TEST(PlatformWin32, ModuleDirectoryAndFiles) {
  // The seam is linked into this program, so its module is the program.
  wchar_t path[MAX_PATH], folder[MAX_PATH], file[MAX_PATH];
  const std::wstring program(path, GetModuleFileNameW(nullptr, path, MAX_PATH));
  const std::wstring directory = plat::ModuleDirectory();
  EXPECT_EQ(directory, program.substr(0, program.find_last_of(L'\\')));
  EXPECT_TRUE(plat::FileExists((directory + L"\\HotKeyManagerFactory.dll").c_str()));
  ASSERT_GT(GetTempPathW(MAX_PATH, folder), 0u);
  ASSERT_NE(GetTempFileNameW(folder, L"hkm", 0, file), 0u);  // creates the file
  EXPECT_TRUE(plat::FileExists(file) && plat::FileExists(folder));
  EXPECT_TRUE(plat::DeleteFileAt(file));
  EXPECT_FALSE(plat::FileExists(file) || plat::DeleteFileAt(file));
  EXPECT_FALSE(plat::FileExists(nullptr) || plat::DeleteFileAt(nullptr));
}

// Paths in UTF-8 come from our own codec; the system's conversion is the reference, surrogate
// pairs and unpaired surrogates included.
TEST(PlatformWin32, Utf8PathAsTheSystemConvertsIt) {
  const wchar_t* const paths[] = {L"C:\\\u5386\u53F2.dat", L"\xD83D\xDE00", L"a\xD83D\x0062",
                                  L"\xDE00\xD83D", L""};
  for (size_t i = 0; i < sizeof(paths) / sizeof(paths[0]); ++i) {
    char system[64] = {};
    WideCharToMultiByte(CP_UTF8, 0, paths[i], -1, system, sizeof(system), nullptr, nullptr);
    EXPECT_EQ(plat::Utf8Path(paths[i]), system) << i;
  }
  EXPECT_EQ(plat::Utf8Path(nullptr), "");
}

}  // namespace
