// Keystroke to painted list: the time from the terminal posting a key to the pop-up's list having
// painted what that key changed, with the component loaded as the terminal loads it, over a
// realistic script of at least a thousand keystrokes (KeystrokeScript). Each keystroke's time is
// split in two: our code (the manager's routing and every handler of our windows, their drawing
// calls included, timed through the window framework's handler probe) and the rest, which is the
// system's: message queues, window management and the default processing outside our handlers,
// and the terminal's windows answering what our calls cause.
// Also reports what the start-up costs, from Initialize to the first pop-up painted, and the
// process memory per registered item.
//
// Our part is split once more: the window-management calls made inside our handlers (showing,
// placing and activating windows, focus and its queries, default processing), where the time is
// the system's work done at our request, and the rest, which is our own code and our drawing.
//
// With --calls, our time is broken down further by the system calls made inside our handlers
// and by each handler's own time (CallTrace.h); the timing wrappers cost, so read that run for
// its shares and the plain run for the figures.
//
//   popup-bench.exe --items FILE [--keystrokes N] [--calls 1]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "CallTrace.h"
#include "KeystrokeScript.h"
#include "frame/FrameLib.h"
#include "frame/IHotKeyManager.h"
#include "services/SecurityMaster.h"
#include "services/TerminalEnv.h"
#include "tools/common/ItemsFile.h"
#include "wfc/Wnd.h"

namespace {

typedef HRESULT (*GetClassObjectFn)(IUnknown**, const wchar_t*);

using call_trace::NowMs;

// Time inside our code: only the outermost of nested handlers counts, so that a handler sending
// a message to another of our windows is not counted twice.
// The outermost message of each stretch is noted with its time, so that the report can say
// which messages our time went to.
struct OurTime {
  int depth = 0;
  double since = 0;
  double total = 0;
  std::map<std::pair<int, UINT>, double> byMessage;  // (window id, message)
  bool traced = false;
  int paused = 0;  // the terminal's windows are handling a message
  double pausedSince = 0;
  double pausedTotal = 0;  // in the current stretch
} s_ours;

// Who the time inside our stretches belongs to, innermost first: our code, a window-management
// call that our code made (less our handlers that it calls in turn), or the terminal's windows.
enum Owner { kOurCode, kWindowManagement, kTerminal, kOwners };

struct Attribution {
  std::vector<Owner> stack;
  double since = 0;
  double total[kOwners] = {};
  void Charge() {
    const double now = NowMs();
    if (!stack.empty()) total[stack.back()] += now - since;
    since = now;
  }
  void Enter(Owner owner) {
    Charge();
    stack.push_back(owner);
  }
  void Leave() {
    Charge();
    stack.pop_back();
  }
} s_attribution;

void EnterWindowManagement() {
  if (s_ours.depth == 0) return;
  // The terminal's windows make such calls too (their default processing): theirs stays theirs.
  const bool terminals = s_attribution.stack.back() == kTerminal;
  s_attribution.Enter(terminals ? kTerminal : kWindowManagement);
}

void LeaveWindowManagement() {
  if (s_ours.depth > 0) s_attribution.Leave();
}

// The terminal's windows answer messages that our calls cause (the frame losing the activation
// to the pop-up repaints its caption): that time is the terminal's, not ours.
class TerminalTime {
 public:
  TerminalTime() : m_bCounted(s_ours.depth > 0) {
    if (!m_bCounted) return;
    if (s_ours.paused++ == 0) s_ours.pausedSince = NowMs();
    s_attribution.Enter(kTerminal);
  }
  ~TerminalTime() {
    if (!m_bCounted) return;
    s_attribution.Leave();
    if (s_ours.paused > 0 && --s_ours.paused == 0)
      s_ours.pausedTotal += NowMs() - s_ours.pausedSince;
  }

 private:
  const bool m_bCounted;
};

void EnterOurCode(HWND window, UINT message) {
  if (s_ours.depth++ == 0) s_ours.since = NowMs();
  s_attribution.Enter(kOurCode);
  if (s_ours.traced) call_trace::EnterHandler(window, message);
}

void LeaveOurCode(HWND window, UINT message) {
  if (s_ours.traced) call_trace::LeaveHandler();
  s_attribution.Leave();
  if (--s_ours.depth > 0) return;
  const double spent = NowMs() - s_ours.since - s_ours.pausedTotal;
  s_ours.pausedTotal = 0;
  s_ours.total += spent;
  s_ours.byMessage[{window ? GetDlgCtrlID(window) : 0, message}] += spent;
}

class BenchFrame : public CWnd, public CViewManager {
 public:
  BOOL IsContainerWnd(HWND) override { return FALSE; }
  int GetViewType(CWnd*) override { return 0; }

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    TerminalTime terminal;
    return CWnd::WindowProc(message, wParam, lParam);
  }
};

// The view forwards what the terminal forwards, as the messages stand, before handling them.
class BenchView : public CWnd {
 public:
  IHotKeyManager* m_pManager = nullptr;
  int m_nForwarded = 0;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_KEYDOWN || message == WM_KEYUP || message == WM_CHAR) {
      EnterOurCode(nullptr, message);
      m_pManager->ProcessKeyboardMessage(message, wParam, lParam);
      LeaveOurCode(nullptr, message);
      ++m_nForwarded;
    }
    TerminalTime terminal;
    return CWnd::WindowProc(message, wParam, lParam);
  }
};

void Pump() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

// The edit drops a character that shares its message time with the previous one.
void WaitForNextTick() {
  DWORD start = GetTickCount();
  while (GetTickCount() == start) SwitchToThread();
}

std::string Narrow(const wchar_t* text) {
  std::string out;
  for (; *text; ++text) out += static_cast<char>(*text < 128 ? *text : '?');
  return out;
}

// Committed private memory of the process, walked region by region: Wine's process counters do
// not report private bytes.
double PrivateMegabytes() {
  double bytes = 0;
  MEMORY_BASIC_INFORMATION region;
  for (const char* address = nullptr;
       VirtualQuery(address, &region, sizeof(region)) == sizeof(region);
       address = static_cast<const char*>(region.BaseAddress) + region.RegionSize) {
    if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) bytes += region.RegionSize;
  }
  return bytes / 1048576.0;
}

void PrintPercentiles(const char* what, std::vector<double> samples) {
  std::sort(samples.begin(), samples.end());
  size_t n = samples.size();
  printf("  %-8s n %4zu median %7.3f ms  p90 %7.3f ms  p99 %7.3f ms  max %7.3f ms\n", what, n,
         samples[n / 2], samples[n * 9 / 10], samples[n * 99 / 100], samples[n - 1]);
}

HWND Popup() { return FindWindowW(L"#32770", nullptr); }

// One class of keystroke: its whole times and their split.
struct KeystrokeClass {
  explicit KeystrokeClass(const char* what) : name(what) {}
  const char* name;
  std::vector<double> whole, ours, ownCode, system;
  void Add(double wholeTime, double oursTime, double ownTime, double systemTime) {
    whole.push_back(wholeTime);
    ours.push_back(oursTime);
    ownCode.push_back(ownTime);
    system.push_back(systemTime);
  }
  void Print() const {
    if (whole.empty()) return;
    printf("  %s:\n", name);
    PrintPercentiles("whole", whole);
    PrintPercentiles("ours", ours);
    PrintPercentiles("ours-wm", ownCode);
    PrintPercentiles("system", system);
  }
};

typedef std::map<std::string, double> OwnTimes;

void Add(OwnTimes* sum, const OwnTimes& times) {
  for (const auto& entry : times) (*sum)[entry.first] += entry.second;
}

// The frames of the largest own time over `keystrokes` keystrokes, in µs per keystroke.
void PrintOwnTimes(const char* what, const OwnTimes& times, size_t keystrokes) {
  std::vector<std::pair<double, std::string>> sorted;
  double total = 0;
  for (const auto& entry : times) {
    sorted.push_back({entry.second, entry.first});
    total += entry.second;
  }
  std::sort(sorted.rbegin(), sorted.rend());
  printf("  %s, %zu keystrokes, %.1f us each in all:\n", what, keystrokes,
         keystrokes ? total * 1000 / keystrokes : 0.0);
  for (size_t i = 0; i < sorted.size() && i < 24; ++i)
    printf("    %-60s %8.1f us\n", sorted[i].second.c_str(),
           sorted[i].first * 1000 / (keystrokes ? keystrokes : 1));
}

// Posts one keystroke to the view as the system would, and waits for the view to have
// forwarded it and for everything it caused to have run and painted. Returns the whole time.
double Type(BenchView& view, const Keystroke& key) {
  const int expected = view.m_nForwarded + (key.ch ? 2 : 1);
  view.PostMessageW(WM_KEYDOWN, key.vk, 1);
  if (key.ch) view.PostMessageW(WM_CHAR, key.ch, 1);
  double start = NowMs();
  MSG message;
  while (view.m_nForwarded < expected && GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  Pump();
  RedrawWindow(Popup(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  return NowMs() - start;
}

void HidePopup(BenchView& view) {
  HWND popup = Popup();
  if (popup && IsWindowVisible(popup))
    SendMessageW(GetDlgItem(popup, 1001), WM_KEYDOWN, VK_ESCAPE, 1);
  Pump();
  view.SetFocus();
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  std::string itemsPath;
  int keystrokes = 1000;
  for (int i = 1; i + 1 < argc; i += 2) {
    if (wcscmp(argv[i], L"--items") == 0) itemsPath = Narrow(argv[i + 1]);
    if (wcscmp(argv[i], L"--keystrokes") == 0) keystrokes = _wtoi(argv[i + 1]);
    if (wcscmp(argv[i], L"--calls") == 0) s_ours.traced = _wtoi(argv[i + 1]) != 0;
  }
  std::vector<KeyboardItemInfo> items;
  ItemsFileError error;
  if (itemsPath.empty() || keystrokes < 1 || !LoadItemsFile(itemsPath, &items, &error)) {
    fprintf(stderr, "usage: popup-bench --items FILE [--keystrokes N] (%s at line %d)\n",
            error.message.c_str(), error.line);
    return 2;
  }
  const std::vector<Keystroke> script = MakeKeystrokeScript(items, static_cast<size_t>(keystrokes));
  if (script.empty()) {
    fprintf(stderr, "popup-bench: no security of the file can be typed\n");
    return 2;
  }

  CTerminalEnv* env = new CTerminalEnv;
  CGlobalEnv::SetGlobalEnv(env);
  CSecurityMaster* securities = new CSecurityMaster;
  env->SetDataMgr(securities);
  BenchFrame frame;
  BenchView view;
  RECT frameRect = {0, 0, 900, 700}, viewRect = {0, 0, 880, 660};
  frame.CreateEx(0, nullptr, L"bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, frameRect, nullptr, 0);
  view.CreateEx(0, nullptr, L"view", WS_CHILD | WS_VISIBLE, viewRect, &frame, 1);
  frame.m_pFirstView = &view;
  env->SetMainFrameWnd(frame.m_hWnd);
  env->SetCommandWnd(view.m_hWnd);

  HMODULE dll = LoadLibraryW(L"HotKeyManagerFactory.dll");
  auto getClassObject = reinterpret_cast<GetClassObjectFn>(
      reinterpret_cast<void (*)()>(GetProcAddress(dll, "GetClassObject")));
  IUnknown* unknown = nullptr;
  if (!getClassObject || getClassObject(&unknown, HOTKEY_MANAGER_CLSID) != S_OK) {
    fprintf(stderr, "HotKeyManagerFactory.dll could not be loaded\n");
    return 1;
  }
  IHotKeyManager* manager = static_cast<IHotKeyManager*>(unknown);
  view.m_pManager = manager;
  view.SetFocus();

  // Start-up: Initialize, one bulk add, and the first keystroke, which makes the pop-up.
  const double beforeStore = PrivateMegabytes();
  double t0 = NowMs();
  manager->Initialize();
  double t1 = NowMs();
  manager->AddKeyboardItems(items.data(), static_cast<int>(items.size()), nullptr, FALSE);
  double t2 = NowMs();
  const double afterStore = PrivateMegabytes();
  WaitForNextTick();
  double firstPopup = Type(view, script.front());
  const double afterPopup = PrivateMegabytes();
  printf(
      "items %zu: Initialize %.1f ms, bulk add %.1f ms, first pop-up painted %.1f ms, "
      "in all %.1f ms\n",
      items.size(), t1 - t0, t2 - t1, firstPopup, t2 - t0 + firstPopup);
  printf("  private memory: store %.1f MB (%.0f bytes per item), the pop-up's windows %.1f MB\n",
         afterStore - beforeStore, (afterStore - beforeStore) * 1048576.0 / items.size(),
         afterPopup - afterStore);
  HidePopup(view);

  static const wchar_t* const kOurModules[] = {L"HotKeyManagerFactory.dll", L"WindowFramework.dll",
                                               L"TerminalServices.dll"};
  if (s_ours.traced) {
    call_trace::Install(kOurModules, 3);
  }
  call_trace::BracketWindowManagement(kOurModules, 3, EnterWindowManagement, LeaveWindowManagement);
  WfcSetHandlerProbe(EnterOurCode, LeaveOurCode);
  std::vector<double> whole, ours, system, opening, typedOpen, oursOpening, oursTyped;
  // The same four figures for each class of keystroke: all, opening, typed into an open pop-up.
  KeystrokeClass classes[3] = {KeystrokeClass("all keystrokes"),
                               KeystrokeClass("opening keystrokes"),
                               KeystrokeClass("typed into an open pop-up")};
  std::vector<OwnTimes> ownByKeystroke;
  OwnTimes ownOpening, ownTyped;
  for (const Keystroke& key : script) {
    if (key.startsQuery) HidePopup(view);
    WaitForNextTick();
    call_trace::Take();
    s_ours.total = 0;
    std::fill(std::begin(s_attribution.total), std::end(s_attribution.total), 0.0);
    double time = Type(view, key);
    whole.push_back(time);
    ours.push_back(s_ours.total);
    system.push_back(time - s_ours.total);
    (key.startsQuery ? opening : typedOpen).push_back(time);
    (key.startsQuery ? oursOpening : oursTyped).push_back(s_ours.total);
    const double windowManagement = s_attribution.total[kWindowManagement];
    for (KeystrokeClass* kind : {&classes[0], &classes[key.startsQuery ? 1 : 2]})
      kind->Add(time, s_ours.total, s_ours.total - windowManagement, time - s_ours.total);
    if (s_ours.traced) {
      ownByKeystroke.push_back(call_trace::Take());
      Add(key.startsQuery ? &ownOpening : &ownTyped, ownByKeystroke.back());
    }
  }
  WfcSetHandlerProbe(nullptr, nullptr);
  printf("  keystrokes %zu (codes, initials, names, backspaces, navigation):\n", script.size());
  PrintPercentiles("whole", whole);
  PrintPercentiles("ours", ours);
  PrintPercentiles("system", system);
  printf("  the whole way, split by what the keystroke did:\n");
  PrintPercentiles("opens", opening);
  PrintPercentiles("in open", typedOpen);
  printf("  our part, split the same way:\n");
  PrintPercentiles("opens", oursOpening);
  PrintPercentiles("in open", oursTyped);
  printf(
      "  each class: the whole way, ours, ours without the window-management calls inside our\n"
      "  handlers (our own code and our drawing), the system's:\n");
  for (const KeystrokeClass& kind : classes) kind.Print();
  std::vector<std::pair<double, std::pair<int, UINT>>> messages;
  for (const auto& entry : s_ours.byMessage) messages.push_back({entry.second, entry.first});
  std::sort(messages.rbegin(), messages.rend());
  printf("  our time by the outermost message handled, window id/message (all keystrokes):");
  for (size_t i = 0; i < messages.size() && i < 8; ++i)
    printf(" %d/0x%04X %.0f ms%s", messages[i].second.first, messages[i].second.second,
           messages[i].first, i + 1 < 8 ? "," : "");
  printf("\n");
  if (s_ours.traced) {
    printf("  our time by the system call made inside our handlers, or a handler's own time:\n");
    PrintOwnTimes("opening keystrokes", ownOpening, opening.size());
    PrintOwnTimes("typed into an open pop-up", ownTyped, typedOpen.size());
    std::vector<std::pair<double, size_t>> slowest;
    for (size_t i = 0; i < ours.size(); ++i) slowest.push_back({ours[i], i});
    std::sort(slowest.rbegin(), slowest.rend());
    OwnTimes tail;
    size_t opens = 0, count = ours.size() / 100 + 1;
    for (size_t i = 0; i < count; ++i) {
      Add(&tail, ownByKeystroke[slowest[i].second]);
      opens += script[slowest[i].second].startsQuery ? 1 : 0;
    }
    printf("  (the slowest 1%% by our time: %zu of them opens)\n", opens);
    PrintOwnTimes("the slowest 1%", tail, count);
  }

  HidePopup(view);
  view.m_pManager = nullptr;
  manager->Uninitialize();
  manager->Release();
  frame.DestroyWindow();
  CGlobalEnv::SetGlobalEnv(nullptr);
  return 0;
}
