// The platform seam on Windows: each function against what the system itself does.
#include "platform/Platform.h"

#include <shlwapi.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

// A hidden top-level window of a class of our own, destroyed with the scope.
class TestWindow {
 public:
  TestWindow() {
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"PlatformSeamTestWindow";
    RegisterClassW(&windowClass);
    m_wnd = CreateWindowExW(0, windowClass.lpszClassName, L"", WS_POPUP, 0, 0, 10, 10, nullptr,
                            nullptr, windowClass.hInstance, nullptr);
  }
  ~TestWindow() {
    if (m_wnd) DestroyWindow(m_wnd);
  }
  HWND wnd() const { return m_wnd; }
  void Destroy() { DestroyWindow(m_wnd); }

 private:
  HWND m_wnd;
};

int Sign(int value) { return (value > 0) - (value < 0); }

}  // namespace

TEST(PlatformWin32, UpperCharFollowsCharUpperW) {
  EXPECT_EQ(plat::UpperChar(L'a'), L'A');
  EXPECT_EQ(plat::UpperChar(L'Z'), L'Z');
  EXPECT_EQ(plat::UpperChar(L'5'), L'5');
  EXPECT_EQ(plat::UpperChar(L'\u00e9'), L'\u00c9');  // é -> É
  EXPECT_EQ(plat::UpperChar(L'\uff41'), L'\uff21');  // full-width a -> full-width A
  EXPECT_EQ(plat::UpperChar(L'\u4e2d'), L'\u4e2d');  // no case
  EXPECT_EQ(plat::UpperChar(L'\0'), L'\0');
}

TEST(PlatformWin32, CaseInsensitiveComparisonsUseTheirSystemFunctions) {
  EXPECT_EQ(plat::CompareNoCase(L"abc", L"ABC"), 0);
  EXPECT_LT(plat::CompareNoCase(L"abc", L"ABD"), 0);
  EXPECT_GT(plat::CompareNoCase(L"b", L"A"), 0);
  EXPECT_EQ(plat::CompareNoCaseN(L"abcX", L"ABCy", 3), 0);
  EXPECT_NE(plat::CompareNoCaseN(L"abcX", L"ABCy", 4), 0);
  EXPECT_EQ(plat::CompareOrdinalNoCase(L"abc", L"ABC"), 0);
  EXPECT_LT(plat::CompareOrdinalNoCase(L"abc", L"ABD"), 0);

  // StrCmpIW and StrCmpNIW are linguistic: the hyphen is weighted apart from the letters, so
  // "a-c" sorts after "ab"; _wcsicmp is ordinal, and '-' (0x2D) comes before 'b'.
  EXPECT_EQ(Sign(plat::CompareNoCase(L"a-c", L"ab")), Sign(StrCmpIW(L"a-c", L"ab")));
  EXPECT_GT(plat::CompareNoCase(L"a-c", L"ab"), 0);
  EXPECT_GT(plat::CompareNoCaseN(L"a-c", L"ab", 3), 0);
  EXPECT_LT(plat::CompareOrdinalNoCase(L"a-c", L"ab"), 0);
  // Full-width letters are not their ASCII counterparts for either comparison.
  EXPECT_NE(plat::CompareNoCase(L"\uff21", L"A"), 0);
  EXPECT_NE(plat::CompareOrdinalNoCase(L"\uff21", L"A"), 0);
}

TEST(PlatformWin32, LockEventIsAnAutoResetEventCreatedNonSignalled) {
  HANDLE lock = plat::CreateLockEvent();
  ASSERT_NE(lock, nullptr);
  EXPECT_EQ(WaitForSingleObject(lock, 0), static_cast<DWORD>(WAIT_TIMEOUT));
  EXPECT_TRUE(plat::SetLockEvent(lock));
  EXPECT_TRUE(plat::WaitLockEvent(lock));
  // The successful wait took the lock: it is not signalled any more.
  EXPECT_EQ(WaitForSingleObject(lock, 0), static_cast<DWORD>(WAIT_TIMEOUT));
  EXPECT_TRUE(plat::SetLockEvent(lock));
  EXPECT_EQ(WaitForSingleObject(lock, 0), static_cast<DWORD>(WAIT_OBJECT_0));
  plat::CloseLockEvent(lock);
  EXPECT_FALSE(plat::WaitLockEvent(nullptr));
}

namespace {

struct WorkerRecord {
  HANDLE done;
  DWORD threadId;
  void* argument;
};

unsigned RecordWorker(void* arg) {
  auto record = static_cast<WorkerRecord*>(arg);
  record->threadId = GetCurrentThreadId();
  record->argument = arg;
  SetEvent(record->done);
  return 0;
}

}  // namespace

TEST(PlatformWin32, WorkerThreadRunsWithItsArgumentOnAnotherThread) {
  WorkerRecord record = {CreateEventW(nullptr, TRUE, FALSE, nullptr), 0, nullptr};
  ASSERT_NE(record.done, nullptr);
  ASSERT_TRUE(plat::StartWorkerThread(RecordWorker, &record));
  ASSERT_EQ(WaitForSingleObject(record.done, 10000), static_cast<DWORD>(WAIT_OBJECT_0));
  EXPECT_EQ(record.argument, &record);
  EXPECT_NE(record.threadId, 0u);
  EXPECT_NE(record.threadId, GetCurrentThreadId());
  CloseHandle(record.done);
}

TEST(PlatformWin32, TickCountAdvancesAcrossASleep) {
  DWORD system = GetTickCount();
  uint32_t before = plat::TickCount();
  EXPECT_LE(before - system, 1000u);
  plat::SleepMs(50);
  uint32_t elapsed = plat::TickCount() - before;
  EXPECT_GE(elapsed, 40u);
  EXPECT_LT(elapsed, 10000u);
}

TEST(PlatformWin32, ToAnsiUsesTheThreadCodePageAndAlwaysTerminates) {
  char out[16];
  ASSERT_TRUE(plat::ToAnsi(L"600000", out, sizeof(out)));
  EXPECT_STREQ(out, "600000");
  ASSERT_TRUE(plat::ToAnsi(nullptr, out, sizeof(out)));
  EXPECT_STREQ(out, "");

  UINT codePage = GetACP();
  if (codePage == 1252) {
    ASSERT_TRUE(plat::ToAnsi(L"caf\u00e9", out, sizeof(out)));
    EXPECT_STREQ(out, "caf\xe9");
  } else if (codePage == 936) {
    ASSERT_TRUE(plat::ToAnsi(L"\u4e2d", out, sizeof(out)));
    EXPECT_STREQ(out, "\xd6\xd0");
  }

  // Too small: fails, and what is in the buffer is still a terminated string.
  memset(out, 'x', sizeof(out));
  EXPECT_FALSE(plat::ToAnsi(L"0123456789", out, 4));
  EXPECT_LT(strlen(out), 4u);
  EXPECT_FALSE(plat::ToAnsi(L"abc", out, 0));
}

namespace {

// Answers the message box of the test's thread: records its text and caption, then presses OK.
struct MessageBoxWatch {
  static HHOOK hook;
  static std::wstring text;
  static std::wstring caption;
  static bool seen;

  static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE && !seen) {
      HWND box = reinterpret_cast<HWND>(wParam);
      wchar_t buffer[256];
      GetWindowTextW(box, buffer, 256);
      caption = buffer;
      GetDlgItemTextW(box, 0xFFFF, buffer, 256);  // the message's static control
      text = buffer;
      seen = true;
      PostMessageW(box, WM_COMMAND, IDOK, 0);
    }
    return CallNextHookEx(hook, code, wParam, lParam);
  }
};
HHOOK MessageBoxWatch::hook = nullptr;
std::wstring MessageBoxWatch::text;
std::wstring MessageBoxWatch::caption;
bool MessageBoxWatch::seen = false;

}  // namespace

TEST(PlatformWin32, MessageBoxShowsTheTextWithAnEmptyCaption) {
  MessageBoxWatch::hook =
      SetWindowsHookExW(WH_CBT, MessageBoxWatch::Hook, nullptr, GetCurrentThreadId());
  ASSERT_NE(MessageBoxWatch::hook, nullptr);
  plat::ShowMessageBox(L"ErrorKeyboardItemIndex");
  UnhookWindowsHookEx(MessageBoxWatch::hook);
  ASSERT_TRUE(MessageBoxWatch::seen);
  EXPECT_EQ(MessageBoxWatch::text, L"ErrorKeyboardItemIndex");
  EXPECT_EQ(MessageBoxWatch::caption, L"");
}

TEST(PlatformWin32, WindowCallsSeeRealWindows) {
  EXPECT_FALSE(plat::IsWindowHandle(nullptr));
  TestWindow window;
  ASSERT_NE(window.wnd(), nullptr);
  EXPECT_TRUE(plat::IsWindowHandle(window.wnd()));

  ASSERT_TRUE(plat::PostWindowMessage(window.wnd(), WM_APP + 7, 0x601, 0x1234));
  MSG message;
  ASSERT_TRUE(PeekMessageW(&message, window.wnd(), WM_APP + 7, WM_APP + 7, PM_REMOVE));
  EXPECT_EQ(message.hwnd, window.wnd());
  EXPECT_EQ(message.wParam, 0x601u);
  EXPECT_EQ(message.lParam, 0x1234);

  window.Destroy();
  EXPECT_FALSE(plat::IsWindowHandle(window.wnd()));
  EXPECT_FALSE(plat::PostWindowMessage(window.wnd(), WM_APP + 7, 0, 0));
}

TEST(PlatformWin32, ModuleDirectoryIsTheFolderOfTheModuleHoldingTheCode) {
  // The seam is linked into this program, so its module is the program.
  wchar_t path[MAX_PATH];
  DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  ASSERT_GT(length, 0u);
  std::wstring program(path, length);
  std::wstring directory = plat::ModuleDirectory();
  EXPECT_EQ(directory, program.substr(0, program.find_last_of(L'\\')));
  ASSERT_FALSE(directory.empty());
  EXPECT_NE(directory.back(), L'\\');
  EXPECT_TRUE(plat::FileExists((directory + L"\\HotKeyManagerFactory.dll").c_str()));
}

TEST(PlatformWin32, FileExistsAndDeleteFileAt) {
  wchar_t folder[MAX_PATH];
  ASSERT_GT(GetTempPathW(MAX_PATH, folder), 0u);
  wchar_t file[MAX_PATH];
  ASSERT_NE(GetTempFileNameW(folder, L"hkm", 0, file), 0u);  // creates the file

  EXPECT_TRUE(plat::FileExists(file));
  EXPECT_TRUE(plat::FileExists(folder));
  EXPECT_TRUE(plat::DeleteFileAt(file));
  EXPECT_FALSE(plat::FileExists(file));
  EXPECT_FALSE(plat::DeleteFileAt(file));
  EXPECT_FALSE(plat::FileExists(nullptr));
  EXPECT_FALSE(plat::DeleteFileAt(nullptr));
}
