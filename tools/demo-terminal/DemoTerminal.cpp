#include "DemoTerminal.h"

#include <cwchar>

#include "DemoItemTag.h"
#include "DemoWindows.h"
#include "frame/Skin.h"
#include "frame/Unknown.h"
#include "services/LoggerHost.h"
#include "services/SecurityMaster.h"
#include "services/TerminalEnv.h"
#include "tools/common/ItemsFile.h"
#include "tools/common/Utf8.h"

#if __has_include("services/SkinPalette.h")
#include "services/SkinPalette.h"
#define DEMO_HAS_SKIN_PALETTE 1
#endif

extern const unsigned char kEmbeddedItems[];
extern const size_t kEmbeddedItemsSize;

namespace {

typedef HRESULT (*GetClassObjectFn)(IUnknown** ppUnknown, const wchar_t* classId);

const DemoTheme kLightTheme = {RGB(236, 239, 243), RGB(255, 255, 255), RGB(31, 35, 40),
                               RGB(107, 114, 128), RGB(26, 95, 180),   RGB(208, 212, 218),
                               RGB(250, 251, 252), RGB(244, 246, 249), RGB(226, 230, 236),
                               RGB(22, 128, 60),   RGB(200, 30, 45)};
const DemoTheme kDarkTheme = {RGB(24, 26, 30),    RGB(30, 33, 38),   RGB(230, 232, 235),
                              RGB(150, 156, 164), RGB(92, 168, 255), RGB(58, 63, 71),
                              RGB(20, 22, 26),    RGB(36, 40, 46),   RGB(36, 40, 46),
                              RGB(87, 200, 120),  RGB(255, 107, 107)};

std::wstring Format(const wchar_t* format, ...) {
  wchar_t buffer[1024];
  va_list args;
  va_start(args, format);
  vswprintf(buffer, sizeof(buffer) / sizeof(buffer[0]), format, args);
  va_end(args);
  return buffer;
}

std::wstring ModuleFolder() {
  wchar_t path[MAX_PATH];
  DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path, length);
  size_t slash = folder.find_last_of(L"\\/");
  return slash == std::wstring::npos ? L"." : folder.substr(0, slash);
}

std::wstring MarketText(unsigned market) {
  switch (market) {
    case 0:
      return L"Shenzhen (market 0)";
    case 1:
      return L"Shanghai (market 1)";
    case 2:
      return L"Beijing / NEEQ (market 2)";
    default:
      return L"market " + std::to_wstring(market);
  }
}

const wchar_t* KindText(DWORD kind) {
  switch (kind) {
    case KIND_COMMAND:
      return L"command";
    case KIND_FORMER_NAME:
      return L"former name";
    case KIND_ALIAS:
      return L"alias";
    default:
      return L"security";
  }
}

const wchar_t* MessageName(UINT message) {
  switch (message) {
    case WM_KEYDOWN:
      return L"WM_KEYDOWN";
    case WM_KEYUP:
      return L"WM_KEYUP";
    case WM_CHAR:
      return L"WM_CHAR";
    case WM_IME_COMPOSITION:
      return L"WM_IME_COMPOSITION";
    case WM_LBUTTONDOWN:
      return L"WM_LBUTTONDOWN";
    case WM_LBUTTONUP:
      return L"WM_LBUTTONUP";
    case WM_LBUTTONDBLCLK:
      return L"WM_LBUTTONDBLCLK";
    case WM_RBUTTONDOWN:
      return L"WM_RBUTTONDOWN";
    case WM_RBUTTONUP:
      return L"WM_RBUTTONUP";
    default:
      return L"mouse button";
  }
}

// The keyboard, character and mouse-button messages a terminal hands to slot 9 from its loop;
// the input-method result is sent, not posted, and is passed on by the window procedures.
bool IsForwardedFromLoop(UINT message) {
  return message == WM_KEYDOWN || message == WM_KEYUP || message == WM_CHAR ||
         (message >= WM_LBUTTONDOWN && message <= WM_MBUTTONDBLCLK);
}

}  // namespace

CDemoTerminal::CDemoTerminal()
    : m_hComponent(nullptr),
      m_pManager(nullptr),
      m_pEnv(nullptr),
      m_pMaster(nullptr),
      m_pPalette(nullptr),
      m_pLogFile(nullptr),
      m_theme(kLightTheme),
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
#ifdef DEMO_HAS_SKIN_PALETTE
  CSkinPalette* palette = new CSkinPalette;
  m_pPalette = palette;
  m_pPalette->AddRef();
  m_pEnv->SetPalette(m_pPalette);
#endif
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
    *error = Format(L"built-in items, line %d: %ls", parseError.line,
                    Utf8ToWide(parseError.message).c_str());
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
          Format(L"Security master: %d securities; %d commands.", securities, commands));
  return true;
}

// Only the exported entry is looked up, as a terminal that ships without the component's
// import library does.
bool CDemoTerminal::LoadComponent(std::wstring* error) {
  std::wstring path = m_strExeDir + L"\\HotKeyManagerFactory.dll";
  m_hComponent = LoadLibraryW(path.c_str());
  if (!m_hComponent) {
    *error = Format(L"cannot load %ls (error %lu)", path.c_str(), GetLastError());
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
  AddLine(DemoLineKind::kInfo, Format(L"Loaded HotKeyManagerFactory.dll and registered %zu items "
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

// --- Messages. ---

bool CDemoTerminal::IsFrameWindow(HWND wnd) const {
  return wnd && m_pFrame && m_pFrame->GetSafeHwnd() &&
         GetAncestor(wnd, GA_ROOT) == m_pFrame->GetSafeHwnd();
}

void CDemoTerminal::AddSyntheticKeyDown(HWND wnd, WPARAM key, LPARAM lParam) {
  MSG msg = {};
  msg.hwnd = wnd;
  msg.message = WM_KEYDOWN;
  msg.wParam = key;
  msg.lParam = lParam;
  m_syntheticKeyDowns.push_back(msg);
}

void CDemoTerminal::Dispatch(MSG& msg) {
  if (IsFrameWindow(msg.hwnd)) {
    if (msg.message == WM_KEYDOWN && HandleAccelerator(msg.wParam)) return;
    if (IsForwardedFromLoop(msg.message))
      ForwardToSmartKeyboard(msg.message, msg.wParam, msg.lParam);
  }
  bool translate = true;
  if (msg.message == WM_KEYDOWN) {
    for (auto it = m_syntheticKeyDowns.begin(); it != m_syntheticKeyDowns.end(); ++it) {
      if (it->hwnd == msg.hwnd && it->wParam == msg.wParam && it->lParam == msg.lParam) {
        m_syntheticKeyDowns.erase(it);
        translate = false;  // its character was posted with it
        break;
      }
    }
  }
  if (translate) TranslateMessage(&msg);
  DispatchMessageW(&msg);
}

bool CDemoTerminal::PumpPending() {
  MSG msg;
  while (!m_bQuit && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      m_bQuit = true;
      break;
    }
    Dispatch(msg);
  }
  return !m_bQuit;
}

bool CDemoTerminal::PumpFor(DWORD milliseconds) {
  DWORD started = GetTickCount();
  for (;;) {
    if (!PumpPending()) return false;
    DWORD elapsed = GetTickCount() - started;
    if (elapsed >= milliseconds) return true;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, milliseconds - elapsed, QS_ALLINPUT);
  }
}

int CDemoTerminal::RunLoop() {
  MSG msg;
  while (!m_bQuit) {
    BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got <= 0) {
      m_bQuit = true;
      break;
    }
    Dispatch(msg);
  }
  return 0;
}

BOOL CDemoTerminal::ForwardToSmartKeyboard(UINT message, WPARAM wParam, LPARAM lParam) {
  if (!m_pManager) return FALSE;
  BOOL result = m_pManager->ProcessKeyboardMessage(message, wParam, lParam);
  ++m_nForwarded;
  m_nLastForwarded = message;
  m_nLastResult = result;
  if (m_pFrame && m_pFrame->GetSafeHwnd()) {
    RECT client;
    m_pFrame->GetClientRect(&client);
    client.top = client.bottom - Scale(26);
    m_pFrame->InvalidateRect(&client, FALSE);
  }
  return result;
}

std::wstring CDemoTerminal::ForwardSummary() const {
  if (m_nForwarded == 0) return L"slot 9: nothing forwarded yet";
  return Format(L"slot 9: %d forwarded, last %ls \x2192 %d", m_nForwarded,
                MessageName(m_nLastForwarded), m_nLastResult);
}

// --- Receiving picks. ---

std::wstring CDemoTerminal::SecurityName(const std::wstring& code, unsigned char market) const {
  auto it = m_securityNames.find({code, market});
  return it == m_securityNames.end() ? std::wstring() : it->second;
}

// What the handed-over object says; fills *opened with what the view shows for it.
std::wstring CDemoTerminal::Describe(IUnknown* object, bool* command, DemoOpened* opened) {
  *command = false;
  if (!object) return L"no object";
  std::wstring code, name;
  DWORD kind = 0xFFFFFFFF;
  unsigned char market = 0xFF;
  int extra = KeyboardItemInfo::INVALID_EXTRA_INFO_VALUE;
  if (auto* tag = dynamic_cast<CDemoItemTag*>(object)) {
    code = tag->m_strCode;
    name = tag->m_strName;
    kind = tag->m_dwKind;
    market = tag->m_cMarket;
    extra = tag->m_nExtraInfo;
  } else if (auto* package = dynamic_cast<CPackager<KeyboardItemInfo>*>(object)) {
    code = package->m_value.m_szCode;
    name = package->m_value.m_szName;
    kind = package->m_value.m_dwKind;
    market = package->m_value.m_cMarket;
    extra = package->m_value.m_nExtraInfo;
  } else {
    return L"an object the terminal does not know";
  }
  *command = kind == KIND_COMMAND;
  opened->any = true;
  opened->command = *command;
  opened->code = code;
  if (*command) {
    opened->name = name;
    opened->detail = Format(L"command number %d", extra);
    return Format(L"command %ls %ls", code.c_str(), name.c_str());
  }
  // A former name or alias opens the security it stands for.
  std::wstring current = SecurityName(code, market);
  opened->name = current.empty() ? name : current;
  opened->detail = MarketText(market);
  if (kind == KIND_FORMER_NAME || kind == KIND_ALIAS)
    opened->detail += Format(L" \x00B7 picked by its %ls %ls", KindText(kind), name.c_str());
  return Format(L"%ls %ls %ls (market %u)", KindText(kind), code.c_str(), name.c_str(), market);
}

void CDemoTerminal::OnCommandWindowMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DEMO_POPUP_NOTICE) {
    AddLine(DemoLineKind::kReceived,
            Format(L"received 0x601 (%d, %d) at the command window: the pick ends a pop-up the "
                   L"terminal opened itself",
                   static_cast<int>(wParam), static_cast<int>(lParam)));
    return;
  }
  uint32_t value = static_cast<uint32_t>(lParam);
  IUnknown* object = value ? m_pEnv->TakeHandOver(value) : nullptr;
  bool command = false;
  DemoOpened opened;
  std::wstring what = Describe(object, &command, &opened);
  if (object) object->Release();
  int extra = static_cast<int>(wParam);
  AddLine(DemoLineKind::kReceived,
          Format(L"received 0x51C (extra %d, hand-over %u) at the command window: %ls", extra,
                 value, what.c_str()));
  m_strCommandLine = Format(L"0x51C  extra %d  \x2192  %ls", extra, what.c_str());
  if (opened.any) {
    m_opened = opened;
    if (command)
      AddLine(DemoLineKind::kAction,
              Format(L"runs command %d: %ls %ls", extra, opened.code.c_str(), opened.name.c_str()));
    else
      AddLine(DemoLineKind::kAction,
              Format(L"the view opens %ls %ls", opened.code.c_str(), opened.name.c_str()));
  } else if (extra != KeyboardItemInfo::INVALID_EXTRA_INFO_VALUE) {
    m_opened = DemoOpened();
    m_opened.any = m_opened.command = true;
    m_opened.code = std::to_wstring(extra);
    m_opened.detail = L"command number";
    AddLine(DemoLineKind::kAction, Format(L"runs command %d", extra));
  }
  if (m_pFrame) m_pFrame->RefreshAll();
}

void CDemoTerminal::OnReceiverWindowMessage(WPARAM wParam, LPARAM lParam) {
  uint32_t value = static_cast<uint32_t>(lParam);
  IUnknown* object = value ? m_pEnv->TakeHandOver(value) : nullptr;
  std::wstring line = Format(L"received 0x500 (%d, hand-over %u) at the receiver window: ",
                             static_cast<int>(wParam), value);
  if (auto* package = dynamic_cast<CPackager<_STOCK_DEFINE>*>(object)) {
    char code[17] = {};
    memcpy(code, package->m_value.m_szCode, 16);
    std::wstring wide = Utf8ToWide(code);
    unsigned market = package->m_value.m_cMarket;
    std::wstring name = SecurityName(wide, static_cast<unsigned char>(market));
    line += Format(L"_STOCK_DEFINE market %u code %ls", market, wide.c_str());
    m_strReceiverLine = wide + L"  " + name;
    AddLine(DemoLineKind::kReceived, line);
    AddLine(DemoLineKind::kAction,
            Format(L"the receiver window shows %ls %ls", wide.c_str(), name.c_str()));
  } else {
    AddLine(DemoLineKind::kError, line + (object ? L"not a _STOCK_DEFINE package" : L"nothing"));
  }
  if (object) object->Release();
  if (m_pFrame) m_pFrame->RefreshAll();
}

int CDemoTerminal::OnContainerEvent(uint32_t id, UINT message, WPARAM wParam, LPARAM lParam) {
  uint32_t value = static_cast<uint32_t>(lParam);
  IUnknown* object = value ? m_pEnv->TakeHandOver(value) : nullptr;
  std::wstring line = Format(L"received 0x%X (%d, hand-over %u) at element container %u: ", message,
                             static_cast<int>(wParam), value, id);
  int result = 0;
  // The parameter text lives only while this call runs.
  if (auto* package = dynamic_cast<CPackager<_ELEMENT_EVENT_INFO>*>(object)) {
    const _ELEMENT_EVENT_INFO& info = package->m_value;
    std::wstring params = info.m_pszParams ? info.m_pszParams : L"";
    line += Format(L"element %u %ls %ls %ls", info.m_dwElementId,
                   info.m_pszEventName ? info.m_pszEventName : L"",
                   info.m_pszEventArg ? info.m_pszEventArg : L"", params.c_str());
    AddLine(DemoLineKind::kReceived, line);
    std::wstring code;
    size_t begin = params.find(L"<code>"), end = params.find(L"</code>");
    if (begin != std::wstring::npos && end != std::wstring::npos && end > begin)
      code = params.substr(begin + 6, end - begin - 6);
    unsigned market = 0;
    size_t marketAt = params.find(L"<market>");
    if (marketAt != std::wstring::npos)
      market = wcstoul(params.c_str() + marketAt + 8, nullptr, 10);
    std::wstring name = SecurityName(code, static_cast<unsigned char>(market));
    m_strContainerLine = code + L"  " + name;
    AddLine(DemoLineKind::kAction,
            Format(L"the element container shows %ls %ls", code.c_str(), name.c_str()));
    result = 1;
  } else {
    AddLine(DemoLineKind::kError, line + (object ? L"not an element event package" : L"nothing"));
  }
  if (object) object->Release();
  if (m_pFrame) m_pFrame->RefreshAll();
  return result;
}

// --- What the trader does. ---

void CDemoTerminal::SetViewType(int type) {
  m_nViewType = type;
  AddLine(DemoLineKind::kInfo,
          Format(L"view type %d: the pop-up opens at the %ls's bottom-right corner", type,
                 type >= 1 && type <= 4 ? L"command window" : L"view"));
  if (m_pFrame) {
    m_pFrame->UpdateMenuChecks();
    m_pFrame->RefreshAll();
  }
}

bool CDemoTerminal::ApplySkin(const std::wstring& name) {
  bool light = name != L"dark";
  std::wstring folder = m_strSkinsFolder + L"\\" + name;
  bool loaded = false;
#ifdef DEMO_HAS_SKIN_PALETTE
  DWORD attributes = GetFileAttributesW(folder.c_str());
  if (m_pPalette && attributes != INVALID_FILE_ATTRIBUTES &&
      (attributes & FILE_ATTRIBUTE_DIRECTORY))
    if (auto* palette = dynamic_cast<CSkinPalette*>(m_pPalette))
      loaded = palette->Load(folder.c_str());
#endif
  m_strSkin = name;
  m_theme = light ? kLightTheme : kDarkTheme;
  if (loaded) {
    int windows = m_pMaster ? m_pMaster->BroadcastPaletteChanged() : 0;
    AddLine(DemoLineKind::kAction,
            Format(L"skin %ls loaded; skin change broadcast to %d windows", name.c_str(), windows));
  } else {
    AddLine(DemoLineKind::kError,
            Format(L"skin %ls: no palette from %ls", name.c_str(), folder.c_str()));
  }
  if (m_pFrame) {
    m_pFrame->UpdateMenuChecks();
    m_pFrame->RefreshAll();
  }
  return loaded;
}

void CDemoTerminal::ToggleSkin() { ApplySkin(m_strSkin == L"dark" ? L"light" : L"dark"); }

BOOL CDemoTerminal::ShowAtView() {
  BOOL result = m_pManager ? m_pManager->ShowSmartKeyboard(0, FALSE, 0, 0) : FALSE;
  AddLine(DemoLineKind::kAction,
          Format(L"ShowSmartKeyboard at the current view \x2192 %d", result));
  return result;
}

// The pop-up hangs below the receiver window, right edges aligned (placement 2: its top-right
// corner at the point).
BOOL CDemoTerminal::ShowForWindow() {
  if (!m_pManager || !m_pFrame) return FALSE;
  RECT rect;
  m_pFrame->m_receiver.GetWindowRect(&rect);
  BOOL result =
      m_pManager->ShowForWindow(m_pFrame->m_receiver.GetSafeHwnd(), rect.right, rect.bottom, 2);
  AddLine(DemoLineKind::kAction,
          Format(L"ShowForWindow for the receiver window, placement 2 \x2192 %d", result));
  return result;
}

// The pop-up stands left of the element container, bottoms aligned (placement 3: its
// bottom-right corner at the point).
BOOL CDemoTerminal::ShowForContainer() {
  if (!m_pManager || !m_pFrame) return FALSE;
  RECT rect;
  m_pFrame->m_containerWnd.GetWindowRect(&rect);
  BOOL result = m_pManager->ShowForContainer(&m_pFrame->m_element, rect.left, rect.bottom, 3);
  AddLine(DemoLineKind::kAction, Format(L"ShowForContainer for element %u, placement 3 \x2192 %d",
                                        CDemoElement::kId, result));
  return result;
}

void CDemoTerminal::SetMiniTradeVisible(bool visible) {
  m_bMiniTrade = visible;
  IUnknown* value = new CPackager<bool>(visible);
  value->AddRef();
  m_pEnv->SetContextValue(L"CONTEXT_MINI_TRADE_VISIBLE_STATE", value);
  value->Release();
  AddLine(DemoLineKind::kInfo, visible ? L"mini trade panel visible: ShowSmartKeyboard refuses"
                                       : L"mini trade panel hidden");
  if (m_pFrame) m_pFrame->UpdateMenuChecks();
}

bool CDemoTerminal::HandleAccelerator(WPARAM key) {
  switch (key) {
    case VK_F2:
      SetViewType((m_nViewType + 1) % 6);
      return true;
    case VK_F5:
      ShowForWindow();
      return true;
    case VK_F6:
      ShowForContainer();
      return true;
    case VK_F7:
      ShowAtView();
      return true;
    case VK_F9:
      ToggleSkin();
      return true;
    default:
      return false;
  }
}

void CDemoTerminal::OnMenuCommand(UINT id) {
  if (id >= ID_DEMO_VIEWTYPE_0 && id <= ID_DEMO_VIEWTYPE_0 + 5) {
    SetViewType(static_cast<int>(id - ID_DEMO_VIEWTYPE_0));
    return;
  }
  switch (id) {
    case ID_DEMO_VIEWTYPE_NEXT:
      HandleAccelerator(VK_F2);
      break;
    case ID_DEMO_SHOW_AT_VIEW:
      ShowAtView();
      break;
    case ID_DEMO_SHOW_FOR_WINDOW:
      ShowForWindow();
      break;
    case ID_DEMO_SHOW_FOR_CONTAINER:
      ShowForContainer();
      break;
    case ID_DEMO_MINI_TRADE:
      SetMiniTradeVisible(!m_bMiniTrade);
      break;
    case ID_DEMO_SKIN_LIGHT:
      ApplySkin(L"light");
      break;
    case ID_DEMO_SKIN_DARK:
      ApplySkin(L"dark");
      break;
    case ID_DEMO_SKIN_TOGGLE:
      ToggleSkin();
      break;
    case ID_DEMO_EXIT:
      if (m_pFrame) m_pFrame->PostMessageW(WM_CLOSE);
      break;
    default:
      break;
  }
}

// --- Lines. ---

void CDemoTerminal::AddLine(DemoLineKind kind, const std::wstring& text) {
  {
    std::lock_guard<std::mutex> lock(m_linesLock);
    m_lines.push_back({kind, text});
    if (m_pLogFile) {
      std::string utf8 = WideToUtf8(text) + "\n";
      fwrite(utf8.data(), 1, utf8.size(), m_pLogFile);
      fflush(m_pLogFile);
    }
  }
  if (m_pFrame && m_pFrame->m_panel.GetSafeHwnd())
    ::PostMessageW(m_pFrame->m_panel.GetSafeHwnd(), WM_DEMO_LINES_CHANGED, 0, 0);
}

std::vector<DemoLine> CDemoTerminal::Lines() {
  std::lock_guard<std::mutex> lock(m_linesLock);
  return m_lines;
}

bool CDemoTerminal::Received(const std::wstring& text) {
  std::lock_guard<std::mutex> lock(m_linesLock);
  for (const DemoLine& line : m_lines)
    if (line.text.find(text) != std::wstring::npos) return true;
  return false;
}

void CDemoTerminal::OnLogLine(void* context, const wchar_t* loggerName, int level,
                              const wchar_t* text) {
  static_cast<CDemoTerminal*>(context)->AddLine(
      DemoLineKind::kInfo,
      Format(L"logger %ls (%d): %ls", loggerName ? loggerName : L"", level, text ? text : L""));
}

void CDemoTerminal::OnStatistics(void* context, StatisticsKind kind, int type,
                                 const wchar_t* text) {
  static_cast<CDemoTerminal*>(context)->AddLine(
      DemoLineKind::kInfo,
      Format(L"statistics %ls %d: %ls",
             kind == STATISTICS_DATA_TYPE ? L"RecStatisticsDataType" : L"RecStatisticsDataFuncType",
             type, text ? text : L""));
}

// --- Windows. ---

HWND CDemoTerminal::PopupWindow() const {
  struct Search {
    HWND frame;
    HWND found;
  } search = {m_pFrame ? m_pFrame->GetSafeHwnd() : nullptr, nullptr};
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND wnd, LPARAM param) -> BOOL {
        auto* s = reinterpret_cast<Search*>(param);
        if (wnd == s->frame || !IsWindowVisible(wnd)) return TRUE;
        s->found = wnd;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

void CDemoTerminal::SetDpi(int dpi) {
  m_nDpi = dpi;
  CreateFonts();
}

void CDemoTerminal::CreateFonts() {
  DeleteFonts();
  struct FontStyle {
    int size;
    int weight;
  } styles[kFontCount] = {{44, FW_BOLD},   {28, FW_NORMAL}, {20, FW_NORMAL},
                          {15, FW_NORMAL}, {13, FW_NORMAL}, {15, FW_BOLD}};
  for (int i = 0; i < kFontCount; ++i)
    m_fonts[i] = CreateFontW(-Scale(styles[i].size), 0, 0, 0, styles[i].weight, FALSE, FALSE, FALSE,
                             DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                             CLEARTYPE_QUALITY, DEFAULT_PITCH, L"Microsoft YaHei");
}

void CDemoTerminal::DeleteFonts() {
  for (HFONT& font : m_fonts) {
    if (font) DeleteObject(font);
    font = nullptr;
  }
}
