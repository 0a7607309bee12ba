// Picks securities and saves the recent-picks history as fast as it can, until it is killed:
// the program the history kill test terminates at random moments. It continues from whatever
// history it finds, so each pick is the one after the newest entry.
//
//   history-save-victim.exe HISTORY_PATH READY_EVENT_NAME
//
// READY_EVENT_NAME is set after the first save, so the killer knows saving is under way.
#include <windows.h>

#include <cwchar>
#include <string>

#include "frame/DataMgr.h"
#include "frame/RefPtr.h"
#include "services/TerminalEnv.h"
#include "window/RecentHistory.h"

namespace {

// Knows every security, so that every pick is remembered.
class CKnowsEverything : public CDataMgr {
 public:
  const STK_PER* GetOneStkInfo(const std::wstring&, unsigned char) override { return &m_record; }
  void RegistRecvBroadcastMsgWnd(HWND) override {}
  void UnregistRecvBroadcastMsgWnd(HWND) override {}

 private:
  STK_PER m_record = {};
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 3) return 2;
  TRefPtr<CTerminalEnv> env(new CTerminalEnv);
  TRefPtr<CKnowsEverything> dataMgr(new CKnowsEverything);
  env->SetDataMgr(dataMgr.get());
  CGlobalEnv::SetGlobalEnv(env.get());

  CRecentHistory history(argv[1], &SystemHistoryFileIo());
  if (!history.Load()) return 3;
  int next = history.Items().empty() ? 0 : _wtoi(history.Items()[0].m_szCode + 1) + 1;
  HANDLE ready = OpenEventW(EVENT_MODIFY_STATE, FALSE, argv[2]);
  for (;; ++next) {
    KeyboardItemInfo pick((L"S" + std::to_wstring(next)).c_str(), L"HK", L"名", 0x0102, -1, nullptr,
                          0xFFFFFFFF, KEYBOARD_SELECT_WHOLE);
    pick.m_cMarket = 1;
    if (!history.Add(&pick) || !history.Save()) return 4;
    if (ready) {
      SetEvent(ready);
      CloseHandle(ready);
      ready = nullptr;
    }
  }
}
