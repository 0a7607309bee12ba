// A trading day at the pop-up: a trader types query after query and picks, while a market-data
// thread refreshes the store every 100 ms with a bulk add, a removal or a replacement. The session
// must end (no deadlock, no crash), picks must keep reaching the terminal, and once the first
// minute is over (or the first fifth of the keys, in a short session) the process's GDI and USER
// objects and its private memory must not grow.
//
// HKM_SESSION_KEYSTROKES sets the number of keystrokes (the test command runs a short session;
// README gives the full one's command).
#include <windows.h>
// After windows.h, whose types it uses.
#include <psapi.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "support/PopupFixture.h"
#include "support/Pump.h"
#include "support/SuggestListHost.h"
#include "window/InputEdit.h"

namespace {

// What the process holds that a leak would show in.
struct Footprint {
  long gdiObjects, userObjects;
  size_t privateBytes;
};

// Wine implements no GetGuiResources (it answers 0): there the live GDI handles are counted in
// its handle table (a handle's low word is its index and is accepted alone), and the USER objects
// as the windows of the thread.
long GdiObjects() {
  long count = static_cast<long>(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS));
  if (count > 0) return count;
  for (UINT_PTR index = 1; index < 0x10000; ++index)
    if (GetObjectType(reinterpret_cast<HGDIOBJ>(index))) ++count;
  return count;
}

BOOL CALLBACK CountWindow(HWND wnd, LPARAM counter) {
  ++*reinterpret_cast<long*>(counter);
  EnumChildWindows(
      wnd,
      [](HWND, LPARAM inner) -> BOOL {
        ++*reinterpret_cast<long*>(inner);
        return TRUE;
      },
      counter);
  return TRUE;
}

long UserObjects() {
  long count = static_cast<long>(GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS));
  if (count > 0) return count;
  EnumThreadWindows(GetCurrentThreadId(), CountWindow, reinterpret_cast<LPARAM>(&count));
  return count;
}

Footprint Measure() {
  PROCESS_MEMORY_COUNTERS counters = {};
  counters.cb = sizeof(counters);
  GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters));
  return Footprint{GdiObjects(), UserObjects(), counters.PagefileUsage};
}

// The refreshed securities: a fixed pool, so that the store's size stays bounded however long
// the session runs. Codes 700000 on, hot key RFxx, two names that replacements alternate between.
const int kPool = 1000;

KeyboardItemInfo Refreshed(int n, const wchar_t* name) {
  wchar_t code[8], hotKey[8];
  swprintf(code, 8, L"7%05d", n);
  swprintf(hotKey, 8, L"RF%02d", n % 100);
  return PopupSecurity(code, hotKey, name, 0x0102, 1, 5000 + n);
}

// The market-data thread: until told to stop, every 100 ms one refresh through the interface.
class MarketDataFeed {
 public:
  explicit MarketDataFeed(IHotKeyManager* manager)
      : m_manager(manager), m_stop(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
    m_thread = CreateThread(nullptr, 0, &MarketDataFeed::Run, this, 0, nullptr);
  }
  ~MarketDataFeed() {
    Stop();
    CloseHandle(m_stop);
  }
  // False when the thread did not finish its refresh within ten seconds: it is stuck.
  bool Stop() {
    if (!m_thread) return true;
    SetEvent(m_stop);
    const bool ended = WaitForSingleObject(m_thread, 10000) == WAIT_OBJECT_0;
    if (ended) {
      CloseHandle(m_thread);
      m_thread = nullptr;
    }
    return ended;
  }
  bool Started() const { return m_thread != nullptr; }
  int Refreshes() const { return m_refreshes.load(); }
  int Failures() const { return m_failures.load(); }

 private:
  static DWORD WINAPI Run(void* self) {
    static_cast<MarketDataFeed*>(self)->Loop();
    return 0;
  }
  void Loop() {
    // The 100 ms are the feed's cadence; the stop event ends the wait early.
    for (int tick = 0; WaitForSingleObject(m_stop, 100) == WAIT_TIMEOUT; ++tick) {
      if (!Refresh(tick)) ++m_failures;
      ++m_refreshes;
    }
  }
  bool Refresh(int tick) {
    const int at = (tick * 37) % kPool;
    switch (tick % 3) {
      case 0: {  // a bulk add of 100 (those already stored are skipped)
        std::vector<KeyboardItemInfo> batch;
        for (int i = 0; i < 100; ++i) batch.push_back(Refreshed((at + i) % kPool, L"刷新"));
        return m_manager->AddKeyboardItems(batch.data(), int(batch.size()), nullptr, FALSE);
      }
      case 1: {  // a removal (of one stored or not)
        KeyboardItemInfo gone = Refreshed(at, L"刷新");
        m_manager->RemoveKeyboardItem(gone.m_szCode, gone.m_szHotKey, gone.m_szName, &gone.m_wType,
                                      &gone.m_dwKind);
        return true;
      }
      default: {  // a rename, there and back
        KeyboardItemInfo item = Refreshed((at + 50) % kPool, L"刷新");
        const wchar_t* from = tick % 2 ? L"刷新" : L"更名";
        const wchar_t* to = tick % 2 ? L"更名" : L"刷新";
        m_manager->ReplaceKeyboardItem(item.m_szCode, item.m_szHotKey, from, &item.m_wType,
                                       &item.m_dwKind, nullptr, nullptr, to, nullptr, nullptr,
                                       nullptr);
        return true;
      }
    }
  }

  IHotKeyManager* m_manager;
  HANDLE m_stop;
  HANDLE m_thread = nullptr;
  std::atomic<int> m_refreshes{0}, m_failures{0};
};

int Keystrokes() {
  const char* text = std::getenv("HKM_SESSION_KEYSTROKES");
  const int keys = text ? std::atoi(text) : 0;
  return keys > 0 ? keys : 150;
}

class LongSessionTest : public PopupTest {
 protected:
  void TearDown() override {
    PopupTest::TearDown();
    DeleteFileW(m_path.c_str());
  }
  const std::wstring m_path = TempHistoryPath();
};

TEST_F(LongSessionTest, TypingAndPickingThroughMarketDataRefreshesLeaksNothing) {
  // Queries over the fixed securities and over the refreshed ones.
  const wchar_t* const queries[] = {L"6000", L"6011", L"7001", L"RF1", L"SYNT", L"70", L"PFYH"};
  const int queryCount = sizeof(queries) / sizeof(queries[0]);
  // The picks go to a history file of the test's own.
  TypeForwarded(L"6");
  KeyIntoEdit(VK_ESCAPE);
  Peer().ListPeer().UseHistoryFile(m_path);

  const int keystrokes = Keystrokes();
  MarketDataFeed feed(m_manager);
  ASSERT_TRUE(feed.Started());
  const DWORD start = GetTickCount();
  bool measured = false;
  Footprint settled = {};
  int typed = 0, picks = 0, picksAsked = 0;
  for (int round = 0; typed < keystrokes; ++round) {
    if (!measured && (typed >= keystrokes / 5 || GetTickCount() - start >= 60000)) {
      settled = Measure();
      measured = true;
    }
    const wchar_t* query = queries[round % queryCount];
    TypeForwarded(query);
    typed += static_cast<int>(wcslen(query));
    ASSERT_TRUE(PopupVisible()) << "round " << round;
    // Most rounds pick (after moving down a row now and then); some take a character back and
    // give up.
    if (round % 4 == 3) {
      KeyIntoEdit(VK_BACK);
      KeyIntoEdit(VK_ESCAPE);
      typed += 2;
      EXPECT_FALSE(PopupVisible()) << "round " << round;
      continue;
    }
    if (round % 2 == 1) {
      KeyIntoEdit(VK_DOWN);
      ++typed;
    }
    const bool listed = Peer().ListPeer().RowCount() > 0;
    m_terminal->m_command.m_received.clear();
    KeyIntoEdit(VK_RETURN);
    ++typed;
    if (!listed) {
      KeyIntoEdit(VK_ESCAPE);
      ++typed;
      continue;
    }
    ++picksAsked;
    if (PumpUntil([&] { return m_terminal->m_command.Find(WM_RUN_COMMAND) != nullptr; })) ++picks;
    EXPECT_FALSE(PopupVisible()) << "round " << round;
  }
  const Footprint end = Measure();
  const DWORD seconds = (GetTickCount() - start) / 1000;
  EXPECT_TRUE(feed.Stop()) << "the market-data thread is stuck";
  EXPECT_EQ(feed.Failures(), 0);

  // Every pick of a listed row reached the terminal, and the refreshes ran throughout.
  EXPECT_EQ(picks, picksAsked);
  EXPECT_GT(picks, 0);
  EXPECT_GE(feed.Refreshes(), 3);
  // Nothing grows once the session has settled. Memory may move by the heap's own slack.
  EXPECT_LE(end.gdiObjects, settled.gdiObjects);
  EXPECT_LE(end.userObjects, settled.userObjects);
  EXPECT_LE(end.privateBytes, settled.privateBytes + 4 * 1024 * 1024);
  std::printf(
      "%d keystrokes, %d picks, %d refreshes in %lu s; settled: %ld GDI, %ld USER, %zu KB; "
      "end: %ld GDI, %ld USER, %zu KB\n",
      typed, picks, feed.Refreshes(), static_cast<unsigned long>(seconds), settled.gdiObjects,
      settled.userObjects, settled.privateBytes / 1024, end.gdiObjects, end.userObjects,
      end.privateBytes / 1024);
}

}  // namespace
