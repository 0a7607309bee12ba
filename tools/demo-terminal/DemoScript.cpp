#include "DemoScript.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <sstream>

const char kDemoStepHelp[] =
    "  type TEXT                  key-down, character and key-up for each character of TEXT\n"
    "  key NAME                   a key: Enter, Escape, Tab, Backspace, Space, Up, Down, Left,\n"
    "                             Right, PageUp, PageDown, Home, End, Insert, Delete, F1..F12,\n"
    "                             A..Z, 0..9\n"
    "  click [ORIGIN] X Y         a left click; X Y on the screen, or from ORIGIN's top-left\n"
    "                             corner\n"
    "  doubleclick [ORIGIN] X Y   a left double-click\n"
    "  move [ORIGIN] X Y          the mouse pointer moves there (hover)\n"
    "                             ORIGIN: screen, frame, view, command, panel, receiver,\n"
    "                             container, popup\n"
    "  wait MS                    pumps messages for MS milliseconds (0 to 600000)\n"
    "  viewtype N                 the current view's type number (0 to 5)\n"
    "  skin NAME                  loads the skin NAME (a folder of the skins folder, or the\n"
    "                             built-in light or dark)\n"
    "  show                       opens the pop-up at the current view (ShowSmartKeyboard)\n"
    "  show-for-window            opens the pop-up for the receiver window (ShowForWindow)\n"
    "  show-for-container         opens the pop-up for the element container (ShowForContainer)\n"
    "  screenshot FILE.png [AREA] saves the screen (AREA: screen, frame, popup) as a PNG\n"
    "  expect-received TEXT       fails (exit status 1) unless a panel line contains TEXT\n"
    "  expect-not-received TEXT   fails unless no panel line contains TEXT\n"
    "  quit                       ends the session\n"
    "Texts are UTF-8 and run to the end of the line, inner blanks included.\n";

namespace {

struct NamedKey {
  const char* name;
  int code;
};

// Virtual-key codes of the keys a script can name.
const NamedKey kNamedKeys[] = {
    {"enter", 0x0D},     {"return", 0x0D}, {"escape", 0x1B}, {"esc", 0x1B},    {"tab", 0x09},
    {"backspace", 0x08}, {"space", 0x20},  {"pageup", 0x21}, {"pgup", 0x21},   {"pagedown", 0x22},
    {"pgdn", 0x22},      {"end", 0x23},    {"home", 0x24},   {"left", 0x25},   {"up", 0x26},
    {"right", 0x27},     {"down", 0x28},   {"insert", 0x2D}, {"delete", 0x2E}, {"del", 0x2E},
};

const char kBlanks[] = " \t\r\n";

std::string Lower(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}

std::string Trim(const std::string& text) {
  size_t first = text.find_first_not_of(kBlanks);
  if (first == std::string::npos) return std::string();
  size_t last = text.find_last_not_of(kBlanks);
  return text.substr(first, last - first + 1);
}

std::vector<std::string> Words(const std::string& text) {
  std::vector<std::string> words;
  std::istringstream in(text);
  std::string word;
  while (in >> word) words.push_back(word);
  return words;
}

// A whole decimal integer, optionally negative, that fits an int.
bool ParseInt(const std::string& text, int* value) {
  if (text.empty()) return false;
  size_t start = text[0] == '-' ? 1 : 0;
  if (start == text.size()) return false;
  for (size_t i = start; i < text.size(); ++i)
    if (text[i] < '0' || text[i] > '9') return false;
  errno = 0;
  long long parsed = std::strtoll(text.c_str(), nullptr, 10);
  if (errno != 0 || parsed < -2147483647LL - 1 || parsed > 2147483647LL) return false;
  *value = static_cast<int>(parsed);
  return true;
}

bool ParseOrigin(const std::string& word, DemoOrigin* origin) {
  static const struct {
    const char* name;
    DemoOrigin origin;
  } kOrigins[] = {{"screen", DemoOrigin::kScreen},       {"frame", DemoOrigin::kFrame},
                  {"view", DemoOrigin::kView},           {"command", DemoOrigin::kCommand},
                  {"panel", DemoOrigin::kPanel},         {"receiver", DemoOrigin::kReceiver},
                  {"container", DemoOrigin::kContainer}, {"popup", DemoOrigin::kPopup}};
  for (const auto& entry : kOrigins)
    if (word == entry.name) {
      *origin = entry.origin;
      return true;
    }
  return false;
}

bool ParseArea(const std::string& word, DemoArea* area) {
  if (word == "screen")
    *area = DemoArea::kScreen;
  else if (word == "frame")
    *area = DemoArea::kFrame;
  else if (word == "popup")
    *area = DemoArea::kPopup;
  else
    return false;
  return true;
}

// A skin is a folder name: letters, digits, '-' and '_' only, so it never leaves the skins
// folder.
bool IsSkinName(const std::string& name) {
  if (name.empty()) return false;
  for (char c : name)
    if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
          c == '_'))
      return false;
  return true;
}

bool EndsWithPng(const std::string& file) {
  return file.size() > 4 && Lower(file.substr(file.size() - 4)) == ".png";
}

bool Fail(std::string* error, const std::string& message) {
  if (error) *error = message;
  return false;
}

// click, doubleclick and move: [ORIGIN] X Y.
bool ParsePoint(const std::string& keyword, const std::vector<std::string>& args, DemoStep* step,
                std::string* error) {
  size_t first = 0;
  step->origin = DemoOrigin::kScreen;
  if (args.size() == 3) {
    if (!ParseOrigin(args[0], &step->origin))
      return Fail(error, keyword + ": unknown origin '" + args[0] +
                             "' (screen, frame, view, command, panel, receiver, container, popup)");
    first = 1;
  } else if (args.size() != 2) {
    return Fail(error, keyword + " takes [ORIGIN] X Y");
  }
  if (!ParseInt(args[first], &step->x) || !ParseInt(args[first + 1], &step->y))
    return Fail(error, keyword + ": X and Y must be whole numbers");
  return true;
}

}  // namespace

int DemoKeyCode(const std::string& name) {
  std::string lower = Lower(name);
  for (const NamedKey& key : kNamedKeys)
    if (lower == key.name) return key.code;
  if (lower.size() >= 2 && lower[0] == 'f') {
    int number = 0;
    if (ParseInt(lower.substr(1), &number) && number >= 1 && number <= 12) return 0x70 + number - 1;
  }
  if (lower.size() == 1) {
    char c = lower[0];
    if (c >= 'a' && c <= 'z') return c - 'a' + 'A';
    if (c >= '0' && c <= '9') return c;
  }
  return 0;
}

bool ParseDemoStep(const std::string& line, DemoStep* step, std::string* error) {
  std::string trimmed = Trim(line);
  size_t split = trimmed.find_first_of(kBlanks);
  std::string keyword = trimmed.substr(0, split);
  std::string rest = split == std::string::npos ? std::string() : Trim(trimmed.substr(split));
  std::vector<std::string> args = Words(rest);
  DemoStep parsed;

  if (keyword.empty()) return Fail(error, "empty step");
  if (keyword == "type" || keyword == "expect-received" || keyword == "expect-not-received") {
    if (rest.empty()) return Fail(error, keyword + " needs a text");
    parsed.kind = keyword == "type"              ? DemoStepKind::kType
                  : keyword == "expect-received" ? DemoStepKind::kExpectReceived
                                                 : DemoStepKind::kExpectNotReceived;
    parsed.text = rest;
  } else if (keyword == "key") {
    if (args.size() != 1) return Fail(error, "key takes one key name");
    parsed.kind = DemoStepKind::kKey;
    parsed.key = DemoKeyCode(args[0]);
    if (parsed.key == 0) return Fail(error, "unknown key '" + args[0] + "'");
    parsed.text = args[0];
  } else if (keyword == "click" || keyword == "doubleclick" || keyword == "move") {
    parsed.kind = keyword == "click"         ? DemoStepKind::kClick
                  : keyword == "doubleclick" ? DemoStepKind::kDoubleClick
                                             : DemoStepKind::kMove;
    if (!ParsePoint(keyword, args, &parsed, error)) return false;
  } else if (keyword == "wait") {
    parsed.kind = DemoStepKind::kWait;
    if (args.size() != 1 || !ParseInt(args[0], &parsed.number) || parsed.number < 0 ||
        parsed.number > 600000)
      return Fail(error, "wait takes milliseconds from 0 to 600000");
  } else if (keyword == "viewtype") {
    parsed.kind = DemoStepKind::kViewType;
    if (args.size() != 1 || !ParseInt(args[0], &parsed.number) || parsed.number < 0 ||
        parsed.number > 5)
      return Fail(error, "viewtype takes a type number from 0 to 5");
  } else if (keyword == "skin") {
    parsed.kind = DemoStepKind::kSkin;
    if (args.size() != 1 || !IsSkinName(args[0]))
      return Fail(error, "skin takes one skin folder name such as light or dark");
    parsed.text = args[0];
  } else if (keyword == "show" || keyword == "show-for-window" || keyword == "show-for-container" ||
             keyword == "quit") {
    if (!args.empty()) return Fail(error, keyword + " takes no arguments");
    parsed.kind = keyword == "show"              ? DemoStepKind::kShow
                  : keyword == "show-for-window" ? DemoStepKind::kShowForWindow
                  : keyword == "quit"            ? DemoStepKind::kQuit
                                                 : DemoStepKind::kShowForContainer;
  } else if (keyword == "screenshot") {
    parsed.kind = DemoStepKind::kScreenshot;
    if (args.empty() || args.size() > 2) return Fail(error, "screenshot takes FILE.png [AREA]");
    if (!EndsWithPng(args[0])) return Fail(error, "screenshot file must end with .png");
    parsed.text = args[0];
    if (args.size() == 2 && !ParseArea(args[1], &parsed.area))
      return Fail(error, "screenshot: unknown area '" + args[1] + "' (screen, frame, popup)");
  } else {
    return Fail(error, "unknown step '" + keyword + "'");
  }
  *step = parsed;
  return true;
}

bool ParseDemoScript(const std::string& text, std::vector<DemoStep>* steps,
                     std::vector<std::string>* errors) {
  std::istringstream in(text);
  std::string line;
  int number = 0;
  bool ok = true;
  while (std::getline(in, line)) {
    ++number;
    // A byte-order mark at the start of the file belongs to no step.
    if (number == 1 && line.compare(0, 3, "\xEF\xBB\xBF") == 0) line.erase(0, 3);
    std::string trimmed = Trim(line);
    if (trimmed.empty() || trimmed[0] == '#') continue;
    DemoStep step;
    std::string error;
    if (ParseDemoStep(trimmed, &step, &error)) {
      step.line = number;
      steps->push_back(step);
    } else {
      ok = false;
      if (errors) errors->push_back("line " + std::to_string(number) + ": " + error);
    }
  }
  return ok;
}
