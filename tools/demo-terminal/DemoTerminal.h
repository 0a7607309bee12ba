// The demo terminal: the host kit's services and component (CTerminalHost), the default items
// registered with the kit's item tag each (and their full-pinyin aliases), and the main frame
// whose keyboard and mouse messages go through the component's slot 9. It is built from the
// installed kit alone (<HotKeyManager/...>), as a terminal developer's program is. Its parts live
// in files by purpose: DemoTerminal.cpp (start and stop), DemoMessageLoop.cpp, DemoPicks.cpp
// (what the receivers are sent), DemoActions.cpp (what the trader does), DemoSkin.cpp (skins and
// fonts), DemoLines.cpp (the panel's lines); the windows are in DemoWindows.h.
#pragma once

#include <windows.h>

#include <HotKeyManager/TerminalHost.h>
#include <cstdint>
#include <cstdio>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

class CDemoMainFrame;

// Colours of the demo's own windows; each skin has its set.
struct DemoTheme {
  COLORREF frameBg, viewBg, text, muted, accent, border, panelBg, commandBg, statusBg, action,
      error;
};

enum class DemoLineKind { kReceived, kAction, kInfo, kError };

struct DemoLine {
  DemoLineKind kind;
  std::wstring text;
};

// What the current view shows: the security or command opened last.
struct DemoOpened {
  bool any = false;
  bool command = false;
  std::wstring code;
  std::wstring name;
  std::wstring detail;
};

struct DemoOptions {
  std::wstring skin = L"light";
  std::wstring skinsFolder;  // empty: "skins" beside the program
  std::wstring logFile;      // every panel line, UTF-8
  int viewType = 0;
  bool fullPinyin = true;  // full-pinyin alias items for the securities
};

// Where a skin comes from: a folder of the skins folder or, for a name it has no folder of (or
// when there is no skins folder), a skin built into TerminalServices.dll.
struct DemoSkinSource {
  bool found = false;
  bool builtIn = false;
  std::wstring folder;  // the skin's folder, when it is not built in
};
DemoSkinSource FindDemoSkin(const std::wstring& skinsFolder, const std::wstring& name);
// The names of the skins built into TerminalServices.dll, for messages.
const wchar_t* BuiltInSkinNames();

// The folder of the program, without a trailing separator.
std::wstring ProgramFolder();
// The skins folder the options name: --skins, else "skins" beside the program.
std::wstring SkinsFolderOf(const DemoOptions& options);

class CDemoTerminal {
 public:
  CDemoTerminal();
  ~CDemoTerminal();
  CDemoTerminal(const CDemoTerminal&) = delete;
  CDemoTerminal& operator=(const CDemoTerminal&) = delete;

  // Services, component, items and main frame; false with *error when the terminal cannot run.
  bool Start(const DemoOptions& options, std::wstring* error);
  // Shuts the component down and tears the services down; also done by the destructor.
  void Stop();

  // --- The message loop. ---
  // Forwards a message of the main frame's windows to slot 9, handles the terminal's own keys,
  // then translates and dispatches it.
  void Dispatch(MSG& msg);
  // Handles every queued message; false once the frame has closed (WM_QUIT).
  bool PumpPending();
  // Handles messages for that long; false once the frame has closed.
  bool PumpFor(DWORD milliseconds);
  bool Closed() const { return m_bQuit; }
  int RunLoop();
  // Key-downs that the script posted together with their character: they are not translated
  // into a second character.
  void AddSyntheticKeyDown(HWND wnd, WPARAM key, LPARAM lParam);

  // --- What the terminal receives. ---
  void OnCommandWindowPick(WPARAM extra, LPARAM handOver);                        // 0x51C
  void OnPopupNotice(WPARAM wParam, LPARAM lParam);                               // 0x601
  void OnReceiverWindowMessage(WPARAM wParam, LPARAM lParam);                     // 0x500
  int OnContainerEvent(uint32_t id, UINT message, WPARAM wParam, LPARAM lParam);  // 0x503
  // Sent by the component's windows (IME composition) through the frame's window procedures.
  BOOL ForwardToSmartKeyboard(UINT message, WPARAM wParam, LPARAM lParam);

  // --- What the trader does. ---
  void SetViewType(int type);
  bool ApplySkin(const std::wstring& name);
  void ToggleSkin();
  BOOL ShowAtView();
  BOOL ShowForWindow();
  BOOL ShowForContainer();
  void SetMiniTradeVisible(bool visible);
  // F2, F5, F6, F7, F9; true when the key was the terminal's own.
  bool HandleAccelerator(WPARAM key);
  void OnMenuCommand(UINT id);

  // --- State the windows draw. ---
  void AddLine(DemoLineKind kind, const std::wstring& text);
  std::vector<DemoLine> Lines();
  bool Received(const std::wstring& text);
  const DemoTheme& Theme() const { return m_theme; }
  // The demo's own colours for a skin name: "dark" has the dark set, every other the light one.
  static const DemoTheme& ThemeOf(const std::wstring& skin);
  const std::wstring& SkinName() const { return m_strSkin; }
  int ViewType() const { return m_nViewType; }
  const DemoOpened& Opened() const { return m_opened; }
  const std::wstring& CommandLine() const { return m_strCommandLine; }
  const std::wstring& ReceiverLine() const { return m_strReceiverLine; }
  const std::wstring& ContainerLine() const { return m_strContainerLine; }
  std::wstring ForwardSummary() const;
  bool MiniTradeVisible() const { return m_bMiniTrade; }
  CDemoMainFrame* Frame() const { return m_pFrame.get(); }
  HWND PopupWindow() const;
  // Scale a 96-dpi size to the frame's dpi.
  int Scale(int value) const { return MulDiv(value, m_nDpi, 96); }
  int Dpi() const { return m_nDpi; }
  void SetDpi(int dpi);
  HFONT Font(int role) const { return m_fonts[role]; }
  enum FontRole {
    kFontBig,
    kFontName,
    kFontMedium,
    kFontNormal,
    kFontSmall,
    kFontBold,
    kFontCount
  };

 private:
  bool LoadComponent(const DemoOptions& options, std::wstring* error);
  bool LoadItems(std::wstring* error);
  void CreateFonts();
  void DeleteFonts();
  bool IsFrameWindow(HWND wnd) const;
  IHotKeyManager* Manager() const { return m_pHost ? m_pHost->Manager() : nullptr; }
  std::wstring Describe(const HostHandOver& handOver, bool* command, DemoOpened* opened);
  std::wstring SecurityName(const std::wstring& code, unsigned char market) const;
  static void OnLogLine(void* context, const wchar_t* loggerName, int level, const wchar_t* text);
  static void OnStatistics(void* context, StatisticsKind kind, int type, const wchar_t* text);

  std::wstring m_strExeDir;
  std::wstring m_strSkinsFolder;
  // The services and the component; it takes both down in order when it goes.
  std::unique_ptr<CTerminalHost> m_pHost;
  std::unique_ptr<CDemoMainFrame> m_pFrame;
  std::vector<KeyboardItemInfo> m_items;
  std::map<std::pair<std::wstring, unsigned char>, std::wstring> m_securityNames;

  std::mutex m_linesLock;  // the logger and statistics hooks may write from other threads
  std::vector<DemoLine> m_lines;
  FILE* m_pLogFile;

  DemoTheme m_theme;
  std::wstring m_strSkin;
  int m_nViewType;
  int m_nDpi;
  HFONT m_fonts[kFontCount];
  DemoOpened m_opened;
  std::wstring m_strCommandLine;
  std::wstring m_strReceiverLine;
  std::wstring m_strContainerLine;
  bool m_bMiniTrade;
  bool m_bQuit;
  bool m_bStarted;
  int m_nForwarded;
  UINT m_nLastForwarded;
  BOOL m_nLastResult;
  std::vector<MSG> m_syntheticKeyDowns;
};

// printf into a wide string of at most 1023 characters.
std::wstring FormatText(const wchar_t* format, ...);

// Menu commands of the main frame.
enum DemoMenuId : UINT {
  ID_DEMO_VIEWTYPE_0 = 100,  // 100 to 105
  ID_DEMO_VIEWTYPE_NEXT = 110,
  ID_DEMO_SHOW_AT_VIEW = 120,
  ID_DEMO_SHOW_FOR_WINDOW = 121,
  ID_DEMO_SHOW_FOR_CONTAINER = 122,
  ID_DEMO_MINI_TRADE = 123,
  ID_DEMO_SKIN_LIGHT = 130,
  ID_DEMO_SKIN_DARK = 131,
  ID_DEMO_SKIN_TOGGLE = 132,
  ID_DEMO_EXIT = 140,
};

// The terminal's own messages: received picks, and a repaint after a line was added.
const UINT WM_DEMO_STOCK = 0x500;          // a security for a receiver window
const UINT WM_DEMO_ELEMENT_EVENT = 0x503;  // an event for an element container
const UINT WM_DEMO_COMMAND = 0x51C;        // a command or security for the command window
const UINT WM_DEMO_POPUP_NOTICE = 0x601;   // the pick came from a pop-up opened in open mode 1
const UINT WM_DEMO_LINES_CHANGED = WM_APP + 1;
