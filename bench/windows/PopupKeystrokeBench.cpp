// Keystroke to painted list: the time from the terminal dispatching a forwarded WM_CHAR to the
// pop-up's list having painted the new results, with the component loaded as the terminal loads
// it. Reports the median, the 90th percentile and the maximum over every keystroke of a fixed
// query script.
//
//   popup-bench.exe --items FILE [--rounds N]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "frame/FrameLib.h"
#include "frame/IHotKeyManager.h"
#include "services/SecurityMaster.h"
#include "services/TerminalEnv.h"
#include "tools/common/ItemsFile.h"
#include "wfc/Wnd.h"

namespace {

typedef HRESULT (*GetClassObjectFn)(IUnknown**, const wchar_t*);

class BenchFrame : public CWnd, public CViewManager {
 public:
  BOOL IsContainerWnd(HWND) override { return FALSE; }
  int GetViewType(CWnd*) override { return 0; }
};

// The view forwards what the terminal forwards, as the messages stand, before handling them.
class BenchView : public CWnd {
 public:
  IHotKeyManager* m_pManager = nullptr;
  bool m_bCharDispatched = false;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_KEYDOWN || message == WM_KEYUP || message == WM_CHAR) {
      m_pManager->ProcessKeyboardMessage(message, wParam, lParam);
      if (message == WM_CHAR) m_bCharDispatched = true;
    }
    return CWnd::WindowProc(message, wParam, lParam);
  }
};

double NowMs() {
  static LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER counter;
  QueryPerformanceCounter(&counter);
  return counter.QuadPart * 1000.0 / frequency.QuadPart;
}

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

}  // namespace

int wmain(int argc, wchar_t** argv) {
  std::string itemsPath;
  int rounds = 5;
  for (int i = 1; i + 1 < argc; i += 2) {
    if (wcscmp(argv[i], L"--items") == 0) itemsPath = Narrow(argv[i + 1]);
    if (wcscmp(argv[i], L"--rounds") == 0) rounds = _wtoi(argv[i + 1]);
  }
  std::vector<KeyboardItemInfo> items;
  ItemsFileError error;
  if (itemsPath.empty() || !LoadItemsFile(itemsPath, &items, &error)) {
    fprintf(stderr, "usage: popup-bench --items FILE [--rounds N] (%s at line %d)\n",
            error.message.c_str(), error.line);
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
  manager->Initialize();
  manager->AddKeyboardItems(items.data(), static_cast<int>(items.size()), nullptr, FALSE);
  view.m_pManager = manager;
  view.SetFocus();

  const wchar_t* queries[] = {L"600000", L"000001", L"PFYH", L"ZGPA", L"300750", L"BJ", L"9"};
  std::vector<double> samples;
  for (int round = 0; round < rounds; ++round) {
    for (const wchar_t* query : queries) {
      for (const wchar_t* c = query; *c; ++c) {
        WaitForNextTick();
        view.m_bCharDispatched = false;
        view.PostMessageW(WM_KEYDOWN, static_cast<WPARAM>(towupper(*c)), 1);
        view.PostMessageW(WM_CHAR, *c, 1);
        double start = NowMs();
        MSG message;
        while (!view.m_bCharDispatched && GetMessageW(&message, nullptr, 0, 0) > 0) {
          TranslateMessage(&message);
          DispatchMessageW(&message);
        }
        HWND popup = FindWindowW(L"#32770", nullptr);
        RedrawWindow(popup, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        samples.push_back(NowMs() - start);
      }
      // Escape empties the field and hides the pop-up before the next query.
      HWND popup = FindWindowW(L"#32770", nullptr);
      SendMessageW(GetDlgItem(popup, 1001), WM_KEYDOWN, VK_ESCAPE, 1);
      Pump();
      view.SetFocus();
    }
  }
  std::sort(samples.begin(), samples.end());
  size_t n = samples.size();
  printf("items %zu, keystrokes %zu: median %.3f ms, p90 %.3f ms, max %.3f ms\n", items.size(), n,
         samples[n / 2], samples[n * 9 / 10], samples[n - 1]);

  view.m_pManager = nullptr;
  manager->Uninitialize();
  manager->Release();
  frame.DestroyWindow();
  CGlobalEnv::SetGlobalEnv(nullptr);
  return 0;
}
