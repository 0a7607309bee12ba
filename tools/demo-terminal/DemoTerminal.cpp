// The demo terminal's life: our own services set up, the default items registered with an
// identifying object each, the component loaded as a terminal loads it, the main frame shown; and
// all of it taken down again in the opposite order.
#include <cstdarg>
#include <cwchar>

#include "DemoItemTag.h"
#include "DemoTerminal.h"
#include "DemoWindows.h"
#include "platform/Utf8.h"
#include "services/LoggerHost.h"
#include "services/SecurityMaster.h"
#include "services/SkinPalette.h"
#include "services/TerminalEnv.h"
#include "tools/common/ItemsFile.h"

extern const unsigned char kEmbeddedItems[];
extern const size_t kEmbeddedItemsSize;

namespace {

typedef HRESULT (*GetClassObjectFn)(IUnknown** ppUnknown, const wchar_t* classId);

std::wstring ModuleFolder() {
  wchar_t path[MAX_PATH];
  DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path, length);
  size_t slash = folder.find_last_of(L"\\/");
  return slash == std::wstring::npos ? L"." : folder.substr(0, slash);
}

}  // namespace

std::wstring FormatText(const wchar_t* format, ...) {
  wchar_t buffer[1024];
  va_list args;
  va_start(args, format);
  vswprintf(buffer, sizeof(buffer) / sizeof(buffer[0]), format, args);
  va_end(args);
  return buffer;
}

CDemoTerminal::CDemoTerminal()
    : m_hComponent(nullptr),
      m_pManager(nullptr),
      m_pEnv(nullptr),
      m_pMaster(nullptr),
      m_pPalette(nullptr),
      m_pLogFile(nullptr),
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
  m_strExeDir = ModuleFolder();
  m_strSkinsFolder = options.skinsFolder.empty() ? m_strExeDir + L"\\skins" : options.skinsFolder;
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

  m_pEnv = new CTerminalEnv;
  m_pEnv->AddRef();
  m_pMaster = new CSecurityMaster;
  m_pMaster->AddRef();
  m_pEnv->SetDataMgr(m_pMaster);
  CSkinPalette* palette = new CSkinPalette;
  m_pPalette = palette;
  m_pPalette->AddRef();
  m_pEnv->SetPalette(m_pPalette);
  CGlobalEnv::SetGlobalEnv(m_pEnv);

  m_nViewType = options.viewType;
  ApplySkin(options.skin);
  if (!LoadItems(error) || !LoadComponent(error)) return false;

  m_pFrame.reset(new CDemoMainFrame(this));
  HDC screen = GetDC(nullptr);
  int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  SetDpi(dpi > 0 ? dpi : 96);
  if (!m_pFrame->CreateFrame(m_nDpi)) {
    *error = L"cannot create the main frame";
    return false;
  }
  m_pEnv->SetMainFrameWnd(m_pFrame->GetSafeHwnd());
  m_pEnv->SetCommandWnd(m_pFrame->m_command.GetSafeHwnd());
  m_pFrame->ShowWindow(SW_SHOW);
  m_pFrame->UpdateWindow();
  SetForegroundWindow(m_pFrame->GetSafeHwnd());
  m_pFrame->m_view.SetFocus();
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
  int securities = 0, commands = 0;
  for (KeyboardItemInfo& item : m_items) {
    // The item holds the one reference; the component's copies take their own.
    IUnknown* tag = new CDemoItemTag(item);
    tag->AddRef();
    item.m_pUnknown = tag;
    if (item.m_dwKind == KIND_COMMAND) {
      ++commands;
    } else if (item.m_dwKind != KIND_FORMER_NAME && item.m_dwKind != KIND_ALIAS) {
      ++securities;
      m_pMaster->AddSecurity(item.m_szCode, item.m_cMarket, item.m_szName, item.m_wType, false);
      m_securityNames[{item.m_szCode, item.m_cMarket}] = item.m_szName;
    }
  }
  AddLine(DemoLineKind::kInfo,
          FormatText(L"Security master: %d securities; %d commands.", securities, commands));
  return true;
}

// Only the exported entry is looked up, as a terminal that ships without the component's
// import library does.
bool CDemoTerminal::LoadComponent(std::wstring* error) {
  std::wstring path = m_strExeDir + L"\\HotKeyManagerFactory.dll";
  m_hComponent = LoadLibraryW(path.c_str());
  if (!m_hComponent) {
    *error = FormatText(L"cannot load %ls (error %lu)", path.c_str(), GetLastError());
    return false;
  }
  auto getClassObject = reinterpret_cast<GetClassObjectFn>(
      reinterpret_cast<void (*)()>(GetProcAddress(m_hComponent, "GetClassObject")));
  IUnknown* unknown = nullptr;
  if (!getClassObject || getClassObject(&unknown, HOTKEY_MANAGER_CLSID) != S_OK || !unknown) {
    *error = L"GetClassObject refused the smart keyboard's class identifier";
    return false;
  }
  m_pManager = static_cast<IHotKeyManager*>(unknown);
  if (!m_pManager->Initialize()) {
    *error = L"the smart keyboard did not initialize";
    return false;
  }
  DWORD started = GetTickCount();
  std::vector<int> categories;
  if (!m_pManager->AddKeyboardItems(m_items.data(), static_cast<int>(m_items.size()), &categories,
                                    FALSE)) {
    *error = L"the smart keyboard refused the default items";
    return false;
  }
  AddLine(DemoLineKind::kInfo,
          FormatText(L"Loaded HotKeyManagerFactory.dll and registered %zu items "
                     L"in bulk (%lu ms).",
                     m_items.size(), GetTickCount() - started));
  return true;
}

void CDemoTerminal::Stop() {
  if (!m_bStarted) return;
  m_bStarted = false;
  if (m_pManager) {
    m_pManager->Uninitialize();
    m_pManager->Release();
    m_pManager = nullptr;
  }
  m_items.clear();
  if (m_pFrame) {
    if (m_pFrame->GetSafeHwnd()) m_pFrame->DestroyWindow();
    m_pFrame.reset();
  }
  DeleteFonts();
  CGlobalEnv::SetGlobalEnv(nullptr);
  if (m_pEnv) {
    // Packages the component made live in its module: they go before the module does.
    m_pEnv->SetContextValue(L"CONTEXT_MINI_TRADE_VISIBLE_STATE", nullptr);
    m_pEnv->ReleaseHandOvers();
    m_pEnv->SetPalette(nullptr);
    m_pEnv->SetDataMgr(nullptr);
    m_pEnv->Release();
    m_pEnv = nullptr;
  }
  if (m_pPalette) m_pPalette->Release();
  m_pPalette = nullptr;
  if (m_pMaster) m_pMaster->Release();
  m_pMaster = nullptr;
  SetLogLineHook(nullptr, nullptr);
  SetStatisticsHook(nullptr, nullptr);
  SetStatisticsFile(nullptr);
  SetLogDirectory(nullptr);
  if (m_hComponent) FreeLibrary(m_hComponent);
  m_hComponent = nullptr;
  if (m_pLogFile) fclose(m_pLogFile);
  m_pLogFile = nullptr;
}
