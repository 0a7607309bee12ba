// The demo terminal's script: what a headless session types, presses, clicks and checks. One
// step a line; blank lines and lines whose first non-blank character is '#' are ignored. The
// steps are listed in kDemoStepHelp, which `demo-terminal --help` prints.
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

// The steps, one a line, as --help lists them.
extern const char kDemoStepHelp[];

// Parses one step (no comment, no blank line); false with *error saying what is wrong.
bool ParseDemoStep(const std::string& line, DemoStep* step, std::string* error);

// Parses a whole script; every bad line adds "line N: message" to *errors and the result is
// false. The good steps are kept either way.
bool ParseDemoScript(const std::string& text, std::vector<DemoStep>* steps,
                     std::vector<std::string>* errors);

// The virtual-key code of a key name (case-insensitive), or 0 for an unknown name.
int DemoKeyCode(const std::string& name);
