#include "ScriptRunner.h"

#include <cstdio>

#include "DemoTerminal.h"
#include "DemoWindows.h"
#include "ScreenCapture.h"
#include "platform/Utf8.h"

namespace {

LPARAM KeyParam(WPARAM key, bool up) {
  UINT scan = MapVirtualKeyW(static_cast<UINT>(key), MAPVK_VK_TO_VSC);
  LPARAM lParam = 1 | static_cast<LPARAM>(scan & 0xFF) << 16;
  if (up) lParam |= static_cast<LPARAM>(0xC0000000u);  // previous state down, transition up
  return lParam;
}

// The character a key gives without modifiers, as the keyboard layout would translate it.
wchar_t KeyCharacter(WPARAM key) {
  switch (key) {
    case VK_RETURN:
      return L'\r';
    case VK_ESCAPE:
      return 0x1B;
    case VK_BACK:
      return L'\b';
    case VK_TAB:
      return L'\t';
    case VK_SPACE:
      return L' ';
    default:
      break;
  }
  if (key >= 'A' && key <= 'Z') return static_cast<wchar_t>(key - 'A' + 'a');
  if (key >= '0' && key <= '9') return static_cast<wchar_t>(key);
  return 0;
}

}  // namespace

int CDemoScriptRunner::Run(const std::vector<DemoStep>& steps, bool* quit) {
  *quit = false;
  for (size_t index = 0; index < steps.size(); ++index) {
    const DemoStep& step = steps[index];
    std::wstring error;
    bool ok = m_pTerminal->PumpPending() && RunStep(step, &error, quit);
    if (m_pTerminal->Closed()) *quit = true;
    if (!ok) {
      if (error.empty()) error = L"the terminal closed";
      std::wstring where = step.line ? L"script line " + std::to_wstring(step.line)
                                     : L"step " + std::to_wstring(index + 1);
      std::string message = "demo-terminal: " + plat::WideToUtf8(where + L": " + error) + "\n";
      fputs(message.c_str(), stderr);
      fflush(stderr);
      m_pTerminal->AddLine(DemoLineKind::kError, where + L" failed: " + error);
      return 1;
    }
    if (*quit) break;
  }
  m_pTerminal->PumpPending();
  return 0;
}

HWND CDemoScriptRunner::KeyTarget() const {
  HWND focus = GetFocus();
  if (focus) return focus;
  CDemoMainFrame* frame = m_pTerminal->Frame();
  return frame ? frame->m_view.Wnd() : nullptr;
}

// Key-down, its character (to the same window, as TranslateMessage would post it) and key-up
// (to whoever has the focus by then), each handled before the next is posted.
void CDemoScriptRunner::PressKey(WPARAM key, wchar_t character) {
  HWND target = KeyTarget();
  LPARAM down = KeyParam(key, false);
  m_pTerminal->AddSyntheticKeyDown(target, key, down);
  PostMessageW(target, WM_KEYDOWN, key, down);
  m_pTerminal->PumpPending();
  if (character) {
    PostMessageW(target, WM_CHAR, character, down);
    m_pTerminal->PumpPending();
  }
  PostMessageW(KeyTarget(), WM_KEYUP, key, KeyParam(key, true));
  m_pTerminal->PumpPending();
}

bool CDemoScriptRunner::OriginPoint(DemoOrigin origin, POINT* point, std::wstring* error) const {
  point->x = point->y = 0;
  CDemoMainFrame* frame = m_pTerminal->Frame();
  HWND wnd = nullptr;
  switch (origin) {
    case DemoOrigin::kScreen:
      return true;
    case DemoOrigin::kFrame:
      wnd = frame->Wnd();
      break;
    case DemoOrigin::kView:
      wnd = frame->m_view.Wnd();
      break;
    case DemoOrigin::kCommand:
      wnd = frame->m_command.Wnd();
      break;
    case DemoOrigin::kPanel:
      wnd = frame->m_panel.Wnd();
      break;
    case DemoOrigin::kReceiver:
      wnd = frame->m_receiver.Wnd();
      break;
    case DemoOrigin::kContainer:
      wnd = frame->m_containerWnd.Wnd();
      break;
    case DemoOrigin::kPopup:
      wnd = m_pTerminal->PopupWindow();
      break;
  }
  RECT rect;
  if (!wnd || !GetWindowRect(wnd, &rect)) {
    *error = origin == DemoOrigin::kPopup ? L"no pop-up is showing" : L"the window is gone";
    return false;
  }
  point->x = rect.left;
  point->y = rect.top;
  return true;
}

bool CDemoScriptRunner::AreaRect(DemoArea area, RECT* rect, std::wstring* error) const {
  if (area == DemoArea::kScreen) {
    SetRect(rect, 0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    return true;
  }
  HWND wnd = area == DemoArea::kFrame ? m_pTerminal->Frame()->Wnd() : m_pTerminal->PopupWindow();
  if (!wnd || !GetWindowRect(wnd, rect)) {
    *error = area == DemoArea::kPopup ? L"no pop-up is showing" : L"the frame is gone";
    return false;
  }
  return true;
}

void CDemoScriptRunner::Mouse(POINT point, DWORD flags) {
  int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
  INPUT input = {};
  input.type = INPUT_MOUSE;
  input.mi.dx = MulDiv(point.x, 65535, width > 1 ? width - 1 : 1);
  input.mi.dy = MulDiv(point.y, 65535, height > 1 ? height - 1 : 1);
  input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | flags;
  if (SendInput(1, &input, sizeof(input)) == 1) {
    m_pTerminal->PumpPending();
    return;
  }
  // Input refused (another desktop has it): the messages the window would have received.
  HWND wnd = WindowFromPoint(point);
  if (!wnd) return;
  POINT client = point;
  ScreenToClient(wnd, &client);
  LPARAM position = MAKELPARAM(client.x, client.y);
  SetCursorPos(point.x, point.y);
  PostMessageW(wnd, WM_MOUSEMOVE, 0, position);
  if (flags & MOUSEEVENTF_LEFTDOWN) PostMessageW(wnd, WM_LBUTTONDOWN, MK_LBUTTON, position);
  if (flags & MOUSEEVENTF_LEFTUP) PostMessageW(wnd, WM_LBUTTONUP, 0, position);
  m_pTerminal->PumpPending();
}

bool CDemoScriptRunner::RunStep(const DemoStep& step, std::wstring* error, bool* quit) {
  CDemoTerminal* t = m_pTerminal;
  switch (step.kind) {
    case DemoStepKind::kType:
      for (wchar_t c : plat::Utf8ToWideLenient(step.text)) {
        SHORT scan = VkKeyScanW(c);
        // Characters the layout has no key for arrive the way an input method delivers them.
        WPARAM key = (scan != -1 && LOBYTE(scan) != 0xFF) ? LOBYTE(scan) : VK_PROCESSKEY;
        PressKey(key, c);
        if (t->Closed()) return false;
      }
      return true;
    case DemoStepKind::kKey:
      PressKey(static_cast<WPARAM>(step.key), KeyCharacter(static_cast<WPARAM>(step.key)));
      return !t->Closed();
    case DemoStepKind::kClick:
    case DemoStepKind::kDoubleClick:
    case DemoStepKind::kMove: {
      POINT point;
      if (!OriginPoint(step.origin, &point, error)) return false;
      point.x += step.x;
      point.y += step.y;
      Mouse(point, 0);
      int clicks = step.kind == DemoStepKind::kClick ? 1 : step.kind == DemoStepKind::kMove ? 0 : 2;
      for (int i = 0; i < clicks; ++i) {
        Mouse(point, MOUSEEVENTF_LEFTDOWN);
        Mouse(point, MOUSEEVENTF_LEFTUP);
      }
      return !t->Closed();
    }
    case DemoStepKind::kWait:
      return t->PumpFor(static_cast<DWORD>(step.number));
    case DemoStepKind::kViewType:
      t->SetViewType(step.number);
      return true;
    case DemoStepKind::kSkin:
      if (t->ApplySkin(plat::Utf8ToWideLenient(step.text))) return true;
      *error = L"the skin " + plat::Utf8ToWideLenient(step.text) + L" could not be loaded";
      return false;
    case DemoStepKind::kShow:
      t->ShowAtView();
      return true;
    case DemoStepKind::kShowForWindow:
      t->ShowForWindow();
      return true;
    case DemoStepKind::kShowForContainer:
      t->ShowForContainer();
      return true;
    case DemoStepKind::kScreenshot: {
      // The windows paint, and the display receives what they painted, before it is read.
      if (!t->PumpFor(300)) return false;
      RECT area;
      if (!AreaRect(step.area, &area, error)) return false;
      std::wstring path = plat::Utf8ToWideLenient(step.text);
      if (!SaveScreenPng(area, path, error)) return false;
      // The panel is for what the terminal received; the saved file is the script's business.
      printf("screenshot %s\n", step.text.c_str());
      fflush(stdout);
      return true;
    }
    case DemoStepKind::kExpectReceived:
    case DemoStepKind::kExpectNotReceived: {
      if (!t->PumpPending()) return false;
      bool found = t->Received(plat::Utf8ToWideLenient(step.text));
      bool wanted = step.kind == DemoStepKind::kExpectReceived;
      if (found == wanted) return true;
      *error = (wanted ? L"no line contains \"" : L"a line contains \"") +
               plat::Utf8ToWideLenient(step.text) + L"\"";
      return false;
    }
    case DemoStepKind::kQuit:
      *quit = true;
      return true;
  }
  return true;
}
