// The demo terminal's life: the host kit sets up the services, the default items are registered
// with the kit's tag each (and their full-pinyin aliases), the component is loaded as a terminal
// loads it and the main frame is shown; the kit takes all of it down again in order.
#include <cstdarg>
#include <cwchar>

#include "DemoTerminal.h"
#include "DemoWindows.h"
#include "platform/Utf8.h"
#include "tools/common/ItemsFile.h"

extern const unsigned char kEmbeddedItems[];
extern const size_t kEmbeddedItemsSize;

std::wstring ProgramFolder() {
  wchar_t path[MAX_PATH];
  DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path, length);
  size_t slash = folder.find_last_of(L"\\/");
  return slash == std::wstring::npos ? L"." : folder.substr(0, slash);
}

std::wstring FormatText(const wchar_t* format, ...) {
  wchar_t buffer[1024];
  va_list args;
  va_start(args, format);
  vswprintf(buffer, sizeof(buffer) / sizeof(buffer[0]), format, args);
  va_end(args);
  return buffer;
}

CDemoTerminal::CDemoTerminal()
    : m_pLogFile(nullptr),
      m_theme(ThemeOf(L"light")),
      m_nViewType(0),
      m_nDpi(96),
      m_fonts(),
      m_bMiniTrade(false),
      m_bQuit(false),
      m_bStarted(false),
      m_nForwarded(0),
      m_nLastForwarded(0),
      m_nLastResult(0) {}

CDemoTerminal::~CDemoTerminal() { Stop(); }

bool CDemoTerminal::Start(const DemoOptions& options, std::wstring* error) {
  m_bStarted = true;
  m_strExeDir = ProgramFolder();
  m_strSkinsFolder = SkinsFolderOf(options);
  if (!options.logFile.empty()) {
    m_pLogFile = _wfopen(options.logFile.c_str(), L"wb");
    if (!m_pLogFile) {
      *error = L"cannot write the log file " + options.logFile;
      return false;
    }
  }

  // A terminal's program folder has its Data folder, where the smart keyboard keeps the recent
  // picks.
  CreateDirectoryW((m_strExeDir + L"\\Data").c_str(), nullptr);
  // The services write beside the program, where a terminal keeps its own files.
  std::wstring logs = m_strExeDir + L"\\demo-terminal-logs";
  CreateDirectoryW(logs.c_str(), nullptr);
  SetLogDirectory(logs.c_str());
  SetStatisticsFile((logs + L"\\statistics.txt").c_str());
  SetLogLineHook(&CDemoTerminal::OnLogLine, this);
  SetStatisticsHook(&CDemoTerminal::OnStatistics, this);

  m_pHost.reset(new CTerminalHost);
  if (!m_pHost->IsReady()) {
    *error = L"the terminal services could not be set up (another environment is installed)";
    return false;
  }
  m_nViewType = options.viewType;
  ApplySkin(options.skin);
  if (!LoadItems(error) || !LoadComponent(options, error)) return false;

  m_pFrame.reset(new CDemoMainFrame(this));
  HDC screen = GetDC(nullptr);
  int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  SetDpi(dpi > 0 ? dpi : 96);
  if (!m_pFrame->CreateFrame(m_nDpi)) {
    *error = L"cannot create the main frame";
    return false;
  }
  // What the component must know of the terminal: its main frame with the current view, the
  // command window and the element container.
  m_pHost->UseMainFrame(m_pFrame.get());
  m_pHost->SetView(m_pFrame->m_view.Wnd(), 0);
  m_pHost->SetCommandWindow(m_pFrame->m_command.Wnd());
  m_pHost->AddElementContainer(m_pFrame->m_element.get());
  ShowWindow(m_pFrame->Wnd(), SW_SHOW);
  UpdateWindow(m_pFrame->Wnd());
  SetForegroundWindow(m_pFrame->Wnd());
  SetFocus(m_pFrame->m_view.Wnd());
  AddLine(DemoLineKind::kInfo,
          L"Type anywhere in the terminal: a code, pinyin initials, a name or a command number.");
  return true;
}

bool CDemoTerminal::LoadItems(std::wstring* error) {
  ItemsFileError parseError;
  std::string text(reinterpret_cast<const char*>(kEmbeddedItems), kEmbeddedItemsSize);
  if (!ParseItems(text, &m_items, &parseError)) {
    *error = FormatText(L"built-in items, line %d: %ls", parseError.line,
                        plat::Utf8ToWideLenient(parseError.message).c_str());
    return false;
  }
  const int count = static_cast<int>(m_items.size());
  // Each item carries the kit's tag, which a pick hands back; the data centre knows the
  // securities, which the receivers are handed.
  m_pHost->TagItems(m_items.data(), count);
  m_pHost->AddSecuritiesOf(m_items.data(), count);
  int securities = 0, commands = 0;
  for (const KeyboardItemInfo& item : m_items) {
    if (item.m_dwKind == KIND_COMMAND) {
      ++commands;
    } else if (item.m_dwKind != KIND_FORMER_NAME && item.m_dwKind != KIND_ALIAS) {
      ++securities;
      m_securityNames[{item.m_szCode, item.m_cMarket}] = item.m_szName;
    }
  }
  AddLine(DemoLineKind::kInfo,
          FormatText(L"Security master: %d securities; %d commands.", securities, commands));
  return true;
}

// The component beside the program, loaded with LoadLibraryW and GetProcAddress, as a terminal
// that ships it does.
bool CDemoTerminal::LoadComponent(const DemoOptions& options, std::wstring* error) {
  std::wstring path = m_strExeDir + L"\\HotKeyManagerFactory.dll";
  if (!m_pHost->LoadComponent(path.c_str())) {
    *error = L"cannot load the smart keyboard from " + path + L" (the log says why)";
    return false;
  }
  DWORD started = GetTickCount();
  std::vector<int> categories;
  if (!Manager()->AddKeyboardItems(m_items.data(), static_cast<int>(m_items.size()), &categories,
                                   FALSE)) {
    *error = L"the smart keyboard refused the default items";
    return false;
  }
  std::wstring loaded = FormatText(
      L"Loaded HotKeyManagerFactory.dll and registered %zu items "
      L"in bulk (%lu ms)",
      m_items.size(), GetTickCount() - started);
  if (options.fullPinyin) {
    int aliases = m_pHost->AddFullPinyinAliases(m_items.data(), static_cast<int>(m_items.size()));
    if (aliases < 0) {
      *error = L"the smart keyboard refused the full-pinyin aliases";
      return false;
    }
    loaded += FormatText(L", and %d full-pinyin aliases", aliases);
  }
  AddLine(DemoLineKind::kInfo, loaded + L".");
  return true;
}

void CDemoTerminal::Stop() {
  if (!m_bStarted) return;
  m_bStarted = false;
  // The component first, while the frame it may still show a pop-up over is there; the items'
  // tags are released with the items.
  if (m_pHost) m_pHost->UnloadComponent();
  m_items.clear();
  if (m_pFrame) {
    if (m_pHost) m_pHost->UseMainFrame(nullptr);
    m_pFrame.reset();
  }
  DeleteFonts();
  m_pHost.reset();
  SetLogLineHook(nullptr, nullptr);
  SetStatisticsHook(nullptr, nullptr);
  SetStatisticsFile(nullptr);
  SetLogDirectory(nullptr);
  if (m_pLogFile) fclose(m_pLogFile);
  m_pLogFile = nullptr;
}
