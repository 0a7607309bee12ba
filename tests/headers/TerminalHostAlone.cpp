// <HotKeyManager/TerminalHost.h> alone gives a terminal the host kit, the component's interface,
// the run-time pinyin keys and the hooks of the services' log lines and statistics.
#include <HotKeyManager/TerminalHost.h>

namespace {

[[maybe_unused]] bool UsesTheKit(CTerminalHost& host, HWND view) {
  HostHandOver handOver;
  PinyinKeys keys;
  return host.SetView(view, 0) && host.TakeHandOver(WM_RUN_COMMAND, 0, 0, &handOver) &&
         ComputePinyinKeys(L"\x6d66\x53d1\x94f6\x884c", &keys) &&
         host.SetFocusWorkspace(qxWorkspaceTradingFirst) &&
         host.Manager() == static_cast<IHotKeyManager*>(nullptr) &&
         (SetLogLineHook(nullptr, nullptr), SetStatisticsHook(nullptr, nullptr), true);
}

}  // namespace
