// demo-terminal: a terminal of our own around the smart keyboard component, for people to try it
// and for headless scripted sessions under Xvfb.
#include <windows.h>

#include <objbase.h>

#include <cstdio>
#include <string>
#include <vector>

#include "DemoScript.h"
#include "DemoTerminal.h"
#include "ScriptRunner.h"
#include "platform/Utf8.h"

namespace {

const char kUsage[] =
    "usage: demo-terminal [--skin NAME] [--skins DIR] [--view-type N] [--no-full-pinyin]\n"
    "                     [--script FILE] [--step STEP]... [--keep-open] [--log FILE]\n"
    "\n"
    "A terminal window around HotKeyManagerFactory.dll. Type anywhere in it to open the smart\n"
    "keyboard: a code, pinyin initials or full pinyin, a name or a command number; pick with\n"
    "Enter. F2 cycles the view type, F5 and F6 open the pop-up for the receiver window and the\n"
    "element container, F7 at the view, F9 switches between the light and the dark skin.\n"
    "\n"
    "  --skin NAME       the skin to start with (default light): the folder NAME of the skins\n"
    "                    folder, or the built-in light or dark skin. A skin that names neither\n"
    "                    ends the program with status 2.\n"
    "  --skins DIR       the skins folder (default: skins beside the program; when that is\n"
    "                    missing, the skins built into TerminalServices.dll)\n"
    "  --view-type N     the current view's type, 0 to 5 (1 to 4: the pop-up opens at the\n"
    "                    command window's corner, else at the view's)\n"
    "  --no-full-pinyin  no full-pinyin alias items (PUFA as well as PFYH finds a security\n"
    "                    by default)\n"
    "  --script FILE     runs the steps of FILE (one a line) and exits with 0, or 1 when a\n"
    "                    step fails\n"
    "  --step STEP       runs one step (repeatable; after those of --script)\n"
    "  --keep-open       stays open after the steps, for the trader to go on\n"
    "  --log FILE        writes every line of the panel to FILE (UTF-8)\n"
    "  --help            this text\n"
    "\n"
    "Steps (tools/demo-terminal/scripts/ has examples):\n";

void Print(FILE* stream, const std::string& text) {
  fputs(text.c_str(), stream);
  fflush(stream);
}

// Per-monitor awareness where the system has it, else system awareness; looked up at run time
// so the program starts on systems without the newer calls.
void DeclareDpiAware() {
  HMODULE user32 = GetModuleHandleW(L"user32.dll");
  typedef BOOL(WINAPI * SetContextFn)(HANDLE);
  auto setContext = reinterpret_cast<SetContextFn>(
      reinterpret_cast<void (*)()>(GetProcAddress(user32, "SetProcessDpiAwarenessContext")));
  if (setContext && (setContext(reinterpret_cast<HANDLE>(-4)) ||  // per monitor, version 2
                     setContext(reinterpret_cast<HANDLE>(-3))))   // per monitor
    return;
  typedef BOOL(WINAPI * SetAwareFn)();
  auto setAware = reinterpret_cast<SetAwareFn>(
      reinterpret_cast<void (*)()>(GetProcAddress(user32, "SetProcessDPIAware")));
  if (setAware) setAware();
}

bool ReadFile(const std::wstring& path, std::string* text) {
  FILE* file = _wfopen(path.c_str(), L"rb");
  if (!file) return false;
  char buffer[4096];
  size_t got;
  while ((got = fread(buffer, 1, sizeof(buffer), file)) > 0) text->append(buffer, got);
  fclose(file);
  return true;
}

// What the command line asks for; help stops the reading at once.
struct CommandLine {
  DemoOptions options;
  std::vector<DemoStep> steps;
  bool scripted = false;
  bool keepOpen = false;
  bool help = false;
  std::vector<std::string> errors;
};

void ReadCommandLine(const std::vector<std::wstring>& args, CommandLine* line) {
  for (size_t i = 0; i < args.size(); ++i) {
    const std::wstring& arg = args[i];
    bool hasValue = i + 1 < args.size();
    if (arg == L"--help" || arg == L"-h") {
      line->help = true;
      return;
    } else if (arg == L"--keep-open") {
      line->keepOpen = true;
    } else if (arg == L"--no-full-pinyin") {
      line->options.fullPinyin = false;
    } else if (arg == L"--script" && hasValue) {
      std::string text;
      std::wstring path = args[++i];
      line->scripted = true;
      if (!ReadFile(path, &text)) {
        line->errors.push_back("cannot read the script " + plat::WideToUtf8(path));
        continue;
      }
      std::vector<std::string> scriptErrors;
      ParseDemoScript(text, &line->steps, &scriptErrors);
      for (const std::string& e : scriptErrors)
        line->errors.push_back(plat::WideToUtf8(path) + ": " + e);
    } else if (arg == L"--step" && hasValue) {
      DemoStep step;
      std::string error;
      line->scripted = true;
      std::string text = plat::WideToUtf8(args[++i]);
      if (ParseDemoStep(text, &step, &error))
        line->steps.push_back(step);
      else
        line->errors.push_back("--step \"" + text + "\": " + error);
    } else if (arg == L"--log" && hasValue) {
      line->options.logFile = args[++i];
    } else if (arg == L"--skin" && hasValue) {
      line->options.skin = args[++i];
    } else if (arg == L"--skins" && hasValue) {
      line->options.skinsFolder = args[++i];
    } else if (arg == L"--view-type" && hasValue) {
      line->options.viewType = _wtoi(args[++i].c_str());
      if (line->options.viewType < 0 || line->options.viewType > 5)
        line->errors.push_back("--view-type takes 0 to 5");
    } else {
      line->errors.push_back("unknown argument " + plat::WideToUtf8(arg));
    }
  }
}

// The user-interface thread's COM apartment, which any terminal has: screen readers reach the
// pop-up's accessible objects through it.
class ComApartment {
 public:
  ComApartment() : m_bEntered(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
  ~ComApartment() {
    if (m_bEntered) CoUninitialize();
  }
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;

 private:
  bool m_bEntered;
};

// The skin to start with names a skin, and --skins a folder: a mistyped name is reported, not
// drawn in another skin.
bool CheckSkin(const DemoOptions& options, std::string* error) {
  const std::wstring folder = SkinsFolderOf(options);
  if (!options.skinsFolder.empty()) {
    const DWORD attributes = GetFileAttributesW(folder.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
      *error = "--skins " + plat::WideToUtf8(folder) + " is not a folder";
      return false;
    }
  }
  if (FindDemoSkin(folder, options.skin).found) return true;
  *error = "--skin " + plat::WideToUtf8(options.skin) + " names no skin: there is no folder " +
           plat::WideToUtf8(folder + L"\\" + options.skin) + ", and the built-in skins are " +
           plat::WideToUtf8(BuiltInSkinNames());
  return false;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
  int argc = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  std::vector<std::wstring> args(argv + 1, argv + argc);
  LocalFree(argv);

  CommandLine line;
  ReadCommandLine(args, &line);
  if (line.help) {
    Print(stdout, std::string(kUsage) + kDemoStepHelp);
    return 0;
  }
  if (!line.errors.empty()) {
    for (const std::string& e : line.errors) Print(stderr, "demo-terminal: " + e + "\n");
    Print(stderr, std::string(kUsage) + kDemoStepHelp);
    return 2;
  }
  std::string skinError;
  if (!CheckSkin(line.options, &skinError)) {
    Print(stderr, "demo-terminal: " + skinError + "\n");
    return 2;
  }

  DeclareDpiAware();
  ComApartment apartment;
  CDemoTerminal terminal;
  std::wstring error;
  if (!terminal.Start(line.options, &error)) {
    Print(stderr, "demo-terminal: " + plat::WideToUtf8(error) + "\n");
    if (!line.scripted) MessageBoxW(nullptr, error.c_str(), L"Demo terminal", MB_OK | MB_ICONERROR);
    return 2;
  }
  int status = 0;
  if (line.scripted) {
    bool quit = false;
    CDemoScriptRunner runner(&terminal);
    status = runner.Run(line.steps, &quit);
    if (line.keepOpen && !quit && !terminal.Closed()) terminal.RunLoop();
  } else {
    terminal.RunLoop();
  }
  terminal.Stop();
  return status;
}
