// The demo terminal's script: what a headless session types, presses, clicks and checks.
//
// One step a line; blank lines and lines whose first non-blank character is '#' are ignored:
//
//   type TEXT                  key-down, character and key-up for each character of TEXT
//   key NAME                   a key: Enter, Escape, Tab, Backspace, Space, Up, Down, Left, Right,
//                              PageUp, PageDown, Home, End, Insert, Delete, F1..F12, A..Z, 0..9
//   click [ORIGIN] X Y         a left click; X Y on the screen, or from ORIGIN's top-left corner
//   doubleclick [ORIGIN] X Y   a left double-click
//   move [ORIGIN] X Y          the mouse pointer moves there (hover)
//                              ORIGIN: screen, frame, view, command, panel, receiver,
//                              container, popup
//   wait MS                    pumps messages for MS milliseconds (0 to 600000)
//   viewtype N                 the current view's type number (0 to 5)
//   skin NAME                  loads the skin folder NAME (light, dark)
//   show                       opens the pop-up at the current view (ShowSmartKeyboard)
//   show-for-window            opens the pop-up for the receiver window (ShowForWindow)
//   show-for-container         opens the pop-up for the element container (ShowForContainer)
//   screenshot FILE.png [AREA] saves the screen (AREA: screen, frame, popup) as a PNG
//   expect-received TEXT       fails (exit status 1) unless a panel line contains TEXT
//   expect-not-received TEXT   fails unless no panel line contains TEXT
//   quit                       ends the session
//
// Texts are UTF-8 and run to the end of the line, inner blanks included.
#pragma once

#include <string>
#include <vector>

enum class DemoStepKind {
  kType,
  kKey,
  kClick,
  kDoubleClick,
  kMove,
  kWait,
  kViewType,
  kSkin,
  kShow,
  kShowForWindow,
  kShowForContainer,
  kScreenshot,
  kExpectReceived,
  kExpectNotReceived,
  kQuit,
};

// Where click and move coordinates count from.
enum class DemoOrigin { kScreen, kFrame, kView, kCommand, kPanel, kReceiver, kContainer, kPopup };

// What a screenshot covers.
enum class DemoArea { kScreen, kFrame, kPopup };

struct DemoStep {
  DemoStepKind kind = DemoStepKind::kQuit;
  std::string text;  // type, skin, screenshot file, expected text
  int key = 0;       // virtual-key code of a key step
  DemoOrigin origin = DemoOrigin::kScreen;
  DemoArea area = DemoArea::kScreen;
  int x = 0;
  int y = 0;
  int number = 0;  // wait milliseconds, view type
  int line = 0;    // 1-based line of the script; 0 for a step from the command line
};

// Parses one step (no comment, no blank line); false with *error saying what is wrong.
bool ParseDemoStep(const std::string& line, DemoStep* step, std::string* error);

// Parses a whole script; every bad line adds "line N: message" to *errors and the result is
// false. The good steps are kept either way.
bool ParseDemoScript(const std::string& text, std::vector<DemoStep>* steps,
                     std::vector<std::string>* errors);

// The virtual-key code of a key name (case-insensitive), or 0 for an unknown name.
int DemoKeyCode(const std::string& name);
