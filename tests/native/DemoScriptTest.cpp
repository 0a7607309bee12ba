// The demo terminal's script: each step's arguments, the lines it refuses, and the line numbers
// a whole script reports.
#include <gtest/gtest.h>

#include "tools/demo-terminal/DemoScript.h"

namespace {

TEST(DemoScriptTest, GoodStepsCarryTheirArguments) {
  struct Case {
    const char* line;
    DemoStepKind kind;
    std::string text;
    int key, x, y, number;
    DemoOrigin origin;
    DemoArea area;
  };
  const DemoOrigin S = DemoOrigin::kScreen;
  const DemoArea A = DemoArea::kScreen;
  const Case cases[] = {
      {"type 600000", DemoStepKind::kType, "600000", 0, 0, 0, 0, S, A},
      {"  type  浦发 银行  \r", DemoStepKind::kType, "浦发 银行", 0, 0, 0, 0, S, A},
      {"key Enter", DemoStepKind::kKey, "Enter", 0x0D, 0, 0, 0, S, A},
      {"key PageDown", DemoStepKind::kKey, "PageDown", 0x22, 0, 0, 0, S, A},
      {"key f12", DemoStepKind::kKey, "f12", 0x7B, 0, 0, 0, S, A},
      {"key q", DemoStepKind::kKey, "q", 'Q', 0, 0, 0, S, A},
      {"click 10 -20", DemoStepKind::kClick, "", 0, 10, -20, 0, S, A},
      {"doubleclick popup 30 90", DemoStepKind::kDoubleClick, "", 0, 30, 90, 0, DemoOrigin::kPopup,
       A},
      {"move view 5 6", DemoStepKind::kMove, "", 0, 5, 6, 0, DemoOrigin::kView, A},
      {"wait 250", DemoStepKind::kWait, "", 0, 0, 0, 250, S, A},
      {"viewtype 3", DemoStepKind::kViewType, "", 0, 0, 0, 3, S, A},
      {"skin dark", DemoStepKind::kSkin, "dark", 0, 0, 0, 0, S, A},
      {"show", DemoStepKind::kShow, "", 0, 0, 0, 0, S, A},
      {"show-for-window", DemoStepKind::kShowForWindow, "", 0, 0, 0, 0, S, A},
      {"show-for-container", DemoStepKind::kShowForContainer, "", 0, 0, 0, 0, S, A},
      {"quit", DemoStepKind::kQuit, "", 0, 0, 0, 0, S, A},
      {"expect-not-received 0x500", DemoStepKind::kExpectNotReceived, "0x500", 0, 0, 0, 0, S, A},
      {"screenshot out/a.PNG", DemoStepKind::kScreenshot, "out/a.PNG", 0, 0, 0, 0, S, A},
      {"screenshot b.png frame", DemoStepKind::kScreenshot, "b.png", 0, 0, 0, 0, S,
       DemoArea::kFrame},
      {"expect-received 0x51C 600000", DemoStepKind::kExpectReceived, "0x51C 600000", 0, 0, 0, 0, S,
       A},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    DemoStep step;
    std::string error;
    ASSERT_TRUE(ParseDemoStep(c.line, &step, &error)) << error;
    EXPECT_EQ(step.kind, c.kind);
    EXPECT_EQ(step.text, c.text);
    EXPECT_EQ(step.key, c.key);
    EXPECT_EQ(step.x, c.x);
    EXPECT_EQ(step.y, c.y);
    EXPECT_EQ(step.number, c.number);
    EXPECT_EQ(step.origin, c.origin);
    EXPECT_EQ(step.area, c.area);
  }
}

TEST(DemoScriptTest, BadStepsAreRefusedWithAReason) {
  struct Case {
    const char* line;
    const char* reason;  // part of the error message
  };
  const Case cases[] = {
      {"", "empty"},
      {"press Enter", "unknown step 'press'"},
      {"Type 6", "unknown step 'Type'"},
      {"type", "needs a text"},
      {"key", "one key name"},
      {"key Enter Escape", "one key name"},
      {"key F13", "unknown key 'F13'"},
      {"click 10", "[ORIGIN] X Y"},
      {"click window 1 2", "unknown origin 'window'"},
      {"move 1.5 2", "whole numbers"},
      {"click 99999999999 2", "whole numbers"},
      {"wait -1", "0 to 600000"},
      {"wait 600001", "0 to 600000"},
      {"viewtype 6", "0 to 5"},
      {"skin ../light", "skin folder"},
      {"show now", "no arguments"},
      {"screenshot shot.bmp", "end with .png"},
      {"screenshot .png", "end with .png"},
      {"screenshot a.png window", "unknown area 'window'"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    DemoStep step;
    step.kind = DemoStepKind::kWait;
    std::string error;
    EXPECT_FALSE(ParseDemoStep(c.line, &step, &error));
    EXPECT_NE(error.find(c.reason), std::string::npos) << error;
    EXPECT_EQ(step.kind, DemoStepKind::kWait);  // a refused line leaves the step alone
  }
}

TEST(DemoScriptTest, ScriptSkipsCommentsAndReportsBadLinesByNumber) {
  const std::string script =
      "\xEF\xBB\xBF# pick the first match\n"
      "\n"
      "type 600\r\n"
      "   # indented comment\n"
      "key Down\n"
      "jump 3\n"
      "wait x\n"
      "key Enter\n"
      "expect-received 600004";  // no newline at the end
  std::vector<DemoStep> steps;
  std::vector<std::string> errors;
  EXPECT_FALSE(ParseDemoScript(script, &steps, &errors));
  ASSERT_EQ(errors.size(), 2u);
  EXPECT_EQ(errors[0], "line 6: unknown step 'jump'");
  EXPECT_EQ(errors[1].rfind("line 7: wait", 0), 0u) << errors[1];
  ASSERT_EQ(steps.size(), 4u);
  EXPECT_EQ(steps[0].line, 3);
  EXPECT_EQ(steps[1].key, 0x28);
  EXPECT_EQ(steps[2].line, 8);
  EXPECT_EQ(steps[3].text, "600004");

  steps.clear();
  errors.clear();
  EXPECT_TRUE(ParseDemoScript("# only a comment\n\n", &steps, &errors));
  EXPECT_TRUE(steps.empty());
  EXPECT_TRUE(errors.empty());
}

}  // namespace
