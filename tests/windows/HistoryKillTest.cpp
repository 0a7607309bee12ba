// The recent-picks history survives its process being killed while it saves: a program that
// picks and saves in a loop is terminated at random moments, and every time the file is the old
// or the new complete history, never a mix or a cut. HKM_KILL_ROUNDS sets the number of kills
// (the test command runs a few; README gives the long run).
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cwchar>
#include <random>
#include <string>
#include <vector>

#include "frame/RefPtr.h"
#include "services/TerminalEnv.h"
#include "window/RecentHistory.h"

namespace {

std::wstring ProgramFolder() {
  wchar_t path[MAX_PATH];
  DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path, length);
  return folder.substr(0, folder.find_last_of(L"\\/"));
}

// Reads the file as the pop-up would and checks it is one complete history: newest first, each
// entry the pick before the one in front of it, as many as were picked up to a hundred.
void ExpectOneCompleteHistory(const std::wstring& path, int round) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  ASSERT_TRUE(GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) << round;
  ASSERT_EQ(data.nFileSizeLow % HISTORY_RECORD_SIZE, 0u) << "round " << round;
  CRecentHistory history(path, &SystemHistoryFileIo());
  ASSERT_TRUE(history.Load()) << round;
  const std::vector<KeyboardItemInfo>& items = history.Items();
  ASSERT_EQ(items.size() * HISTORY_RECORD_SIZE, data.nFileSizeLow) << round;
  ASSERT_FALSE(items.empty()) << round;
  const int newest = _wtoi(items[0].m_szCode + 1);
  ASSERT_EQ(items.size(), static_cast<size_t>(newest < 100 ? newest + 1 : 100)) << round;
  for (size_t i = 0; i < items.size(); ++i)
    ASSERT_EQ(_wtoi(items[i].m_szCode + 1), newest - static_cast<int>(i)) << round;
}

}  // namespace

TEST(HistoryKill, TheFileIsAlwaysTheOldOrTheNewCompleteHistory) {
  // The loader asks the data centre nothing, but the checks below load through the same code.
  TRefPtr<CTerminalEnv> env(new CTerminalEnv);
  CGlobalEnv::SetGlobalEnv(env.get());
  const char* rounds = std::getenv("HKM_KILL_ROUNDS");
  const int kRounds = rounds ? std::atoi(rounds) : 12;

  wchar_t temp[MAX_PATH];
  ASSERT_GT(GetTempPathW(MAX_PATH, temp), 0u);
  const std::wstring folder =
      std::wstring(temp) + L"hkm-history-kill-" + std::to_wstring(GetCurrentProcessId());
  ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
  const std::wstring path = folder + L"\\RecentKeyBoard_Stock.dat";
  const std::wstring eventName =
      L"hkm-history-kill-ready-" + std::to_wstring(GetCurrentProcessId());
  HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, eventName.c_str());
  ASSERT_NE(ready, nullptr);

  std::mt19937 random(20261206);
  for (int round = 0; round < kRounds; ++round) {
    ResetEvent(ready);
    std::wstring command =
        L"\"" + ProgramFolder() + L"\\history-save-victim.exe\" \"" + path + L"\" " + eventName;
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    ASSERT_TRUE(CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                               &startup, &process))
        << GetLastError();
    HANDLE waits[] = {ready, process.hProcess};
    const DWORD woke = WaitForMultipleObjects(2, waits, FALSE, 60000);
    ASSERT_EQ(woke, WAIT_OBJECT_0) << "the saving program ended or hung, round " << round;
    // A random moment while it saves: saves take about a millisecond each.
    Sleep(std::uniform_int_distribution<DWORD>(0, 30)(random));
    TerminateProcess(process.hProcess, 9);
    WaitForSingleObject(process.hProcess, INFINITE);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    ExpectOneCompleteHistory(path, round);
    if (HasFatalFailure()) break;
  }
  CloseHandle(ready);
  DeleteFileW(path.c_str());
  DeleteFileW((path + L".tmp").c_str());
  RemoveDirectoryW(folder.c_str());
  CGlobalEnv::SetGlobalEnv(nullptr);
}
