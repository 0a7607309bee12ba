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
    "usage: demo-terminal [--script FILE] [--step STEP]... [--log FILE] [--skin NAME]\n"
    "                     [--skins DIR] [--view-type N] [--keep-open]\n"
    "\n"
    "A terminal window around HotKeyManagerFactory.dll. Type anywhere in it to open the smart\n"
    "keyboard. With --script or --step it runs the steps (one a line in FILE, see\n"
    "tools/demo-terminal/DemoScript.h) and exits with 0, or 1 when a step fails; --keep-open\n"
    "stays interactive afterwards. --log writes every panel line to FILE (UTF-8).\n";

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

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
  int argc = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  std::vector<std::wstring> args(argv + 1, argv + argc);
  LocalFree(argv);

  CommandLine line;
  ReadCommandLine(args, &line);
  if (line.help) {
    Print(stdout, kUsage);
    return 0;
  }
  if (!line.errors.empty()) {
    for (const std::string& e : line.errors) Print(stderr, "demo-terminal: " + e + "\n");
    Print(stderr, kUsage);
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
