// Runs a demo script against the live terminal: input as the trader would give it, screenshots,
// and checks of what the terminal received.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "DemoScript.h"

class CDemoTerminal;

class CDemoScriptRunner {
 public:
  explicit CDemoScriptRunner(CDemoTerminal* terminal) : m_pTerminal(terminal) {}

  // Runs the steps in order and stops at the first one that fails. Returns 0 when every step
  // ran and every expectation held, 1 otherwise; *quit is set by a quit step or a closed frame.
  int Run(const std::vector<DemoStep>& steps, bool* quit);

 private:
  bool RunStep(const DemoStep& step, std::wstring* error, bool* quit);
  // Where a key goes: the window with the keyboard focus, else the current view.
  HWND KeyTarget() const;
  void PressKey(WPARAM key, wchar_t character);
  bool OriginPoint(DemoOrigin origin, POINT* point, std::wstring* error) const;
  bool AreaRect(DemoArea area, RECT* rect, std::wstring* error) const;
  // A mouse event at a screen point; real input first, window messages when it is refused.
  void Mouse(POINT point, DWORD flags);

  CDemoTerminal* m_pTerminal;
};
