// A minimal terminal around the smart keyboard: one plain Win32 window, no window framework. It
// registers a few items, passes its keys and mouse buttons to the component (slot 9) and shows
// what a pick handed back. Type anywhere in the window (a code such as 600, pinyin initials such
// as PFYH, or the command number 61), then press Enter.
//
//   minimal-host              the window, until it is closed
//   minimal-host --type 600   types 600 and Enter itself, prints what was handed over and exits:
//                             0 when a pick arrived, 1 when none did
#include <HotKeyManager/TerminalHost.h>

#include <cstdio>
#include <cstring>
#include <cwctype>
#include <string>
#include <vector>

namespace {

CTerminalHost* g_host = nullptr;
HWND g_window = nullptr;
bool g_scripted = false;
bool g_quit = false;
int g_exitCode = 1;
std::wstring g_shown = L"Type a code, pinyin initials or a command number, then Enter.";

void PrintLine(const std::wstring& text) {
  char utf8[512];
  int length =
      WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, utf8, sizeof(utf8), nullptr, nullptr);
  if (length > 0) printf("%s\n", utf8);
  fflush(stdout);
}

// What the pick handed over, as one line: "0x51C 600000 浦发银行 (market 1)".
std::wstring Describe(const HostHandOver& pick) {
  wchar_t line[200];
  if (pick.hasItem)
    swprintf(line, 200, L"0x%X %ls %ls (market %u)", pick.message, pick.item.code, pick.item.name,
             pick.item.market);
  else
    swprintf(line, 200, L"0x%X command %d", pick.message, pick.item.extraInfo);
  return line;
}

LRESULT CALLBACK WindowProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_RUN_COMMAND: {  // 0x51C: the pick, at the command window (this window)
      HostHandOver pick;
      bool taken = g_host->TakeHandOver(message, wParam, lParam, &pick);
      g_shown = taken ? L"Handed over: " + Describe(pick) : L"Nothing to take back";
      PrintLine(g_shown);
      InvalidateRect(wnd, nullptr, TRUE);
      g_exitCode = taken ? 0 : 1;
      if (g_scripted) PostQuitMessage(g_exitCode);
      return 0;
    }
    case WM_COMMAND_FROM_POPUP:  // 0x601: a notice after some picks; nothing to take back
      return 0;
    case WM_TIMER:  // the script's pick never came
      PrintLine(L"No pick arrived");
      PostQuitMessage(1);
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(wnd, &paint);
      RECT client;
      GetClientRect(wnd, &client);
      DrawTextW(dc, g_shown.c_str(), -1, &client, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
      EndPaint(wnd, &paint);
      return 0;
    }
    case WM_DESTROY:
      PostQuitMessage(g_exitCode);
      return 0;
  }
  return DefWindowProcW(wnd, message, wParam, lParam);
}

// One message of the loop: the terminal's own keys and mouse buttons go to the smart keyboard
// first (the pop-up's windows get theirs directly). False once the program should end.
bool Handle(MSG& msg) {
  if (msg.message == WM_QUIT) {
    g_quit = true;
    g_exitCode = static_cast<int>(msg.wParam);
    return false;
  }
  bool key = msg.message == WM_KEYDOWN || msg.message == WM_KEYUP || msg.message == WM_CHAR;
  bool button = msg.message >= WM_LBUTTONDOWN && msg.message <= WM_MBUTTONDBLCLK;
  if ((key || button) && msg.hwnd == g_window)
    g_host->Manager()->ProcessKeyboardMessage(msg.message, msg.wParam, msg.lParam);
  if (!g_scripted) TranslateMessage(&msg);  // the script posts the characters itself
  DispatchMessageW(&msg);
  return true;
}

bool PumpPending() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
    if (!Handle(msg)) return false;
  return true;
}

// A key as the keyboard gives it, to the window that has the focus (the pop-up's edit once it is
// open), each message handled before the next; a new message time for each, as real keys have.
void Press(UINT key, wchar_t character) {
  for (DWORD start = GetTickCount(); GetTickCount() == start;) Sleep(1);
  HWND target = GetFocus() ? GetFocus() : g_window;
  PostMessageW(target, WM_KEYDOWN, key, 1);
  PumpPending();
  if (character) PostMessageW(target, WM_CHAR, character, 1);
  PumpPending();
  PostMessageW(GetFocus() ? GetFocus() : g_window, WM_KEYUP, key, 0xC0000001);
  PumpPending();
}

KeyboardItemInfo Security(const wchar_t* code, const wchar_t* hotKey, const wchar_t* name, int type,
                          unsigned char market) {
  KeyboardItemInfo item(code, hotKey, name, type, -1, nullptr, 0xFFFFFFFF, KEYBOARD_SELECT_NONE);
  item.m_cMarket = market;
  return item;
}

}  // namespace

int main(int argc, char** argv) {
  g_scripted = argc == 3 && strcmp(argv[1], "--type") == 0;
  CTerminalHost host;  // environment, data centre and the built-in light skin
  g_host = &host;
  if (!host.LoadComponent()) {
    PrintLine(L"Cannot load HotKeyManagerFactory.dll");
    return 1;
  }

  std::vector<KeyboardItemInfo> items = {
      Security(L"600000", L"PFYH", L"浦发银行", 0x0102, 1),
      Security(L"600036", L"ZSYH", L"招商银行", 0x0102, 1),
      Security(L"000001", L"PAYH", L"平安银行", 0x0006, 0),
      KeyboardItemInfo(L"61", L"61", L"沪A涨幅排名", 0x6400, 1161, nullptr, KIND_COMMAND,
                       KEYBOARD_SELECT_NONE),
  };
  int count = static_cast<int>(items.size());
  host.AddSecuritiesOf(items.data(), count);  // 0x500 and 0x503 need the data centre to know them
  host.TagItems(items.data(), count);         // so that 0x51C says what was picked
  std::vector<int> allCategories;
  host.Manager()->AddKeyboardItems(items.data(), count, &allCategories, FALSE);

  WNDCLASSEXW windowClass = {};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  windowClass.lpszClassName = L"MinimalHost";
  RegisterClassExW(&windowClass);
  g_window = CreateWindowExW(0, L"MinimalHost", L"Minimal host", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                             100, 100, 640, 360, nullptr, nullptr, windowClass.hInstance, nullptr);
  // One window is the command window and the view: the pop-up opens at its corner.
  host.SetCommandWindow(g_window);
  host.SetView(g_window, 0);
  SetForegroundWindow(g_window);
  SetFocus(g_window);

  if (g_scripted) {
    SetTimer(g_window, 1, 20000, nullptr);
    PumpPending();
    for (const char* c = argv[2]; *c && !g_quit; ++c)
      Press(static_cast<UINT>(towupper(static_cast<unsigned char>(*c))), static_cast<wchar_t>(*c));
    if (!g_quit) Press(VK_RETURN, 0);
  }
  MSG msg;
  while (!g_quit && GetMessageW(&msg, nullptr, 0, 0) > 0) Handle(msg);
  DestroyWindow(g_window);
  return g_exitCode;
}
