// The host kit: what a terminal sets up around the smart keyboard, in one object. Installed as
// <HotKeyManager/TerminalHost.h>; exported by TerminalServices.dll (CMake target
// HotKeyManager::TerminalServices). Windows only.
//
// A terminal that embeds HotKeyManagerFactory.dll gives it a global environment with a data
// centre and a skin palette, tells it the command window, the main frame's views and the element
// containers, takes back what each pick hands over, and takes everything down in an order that
// keeps the component's objects callable until they are released. CTerminalHost does that:
//
//   CTerminalHost host;                    // environment, data centre, the built-in light skin
//   host.LoadComponent();                  // HotKeyManagerFactory.dll beside TerminalServices.dll
//   host.SetCommandWindow(commandWnd);     // 0x51C and 0x601 arrive there
//   host.SetView(viewWnd, 0);              // the pop-up opens at the view's corner
//   host.AddSecuritiesOf(items, count);    // the data centre knows the securities
//   host.TagItems(items, count);           // a pick tells what was picked
//   host.Manager()->AddKeyboardItems(items, count, &allCategories, FALSE);
//   ... the message loop passes keys and mouse buttons of the terminal's windows to
//       host.Manager()->ProcessKeyboardMessage(message, wParam, lParam) ...
//   ... on 0x51C, 0x500 or 0x503: HostHandOver pick; host.TakeHandOver(message, wParam, lParam,
//       &pick) ...
//   // ~CTerminalHost: the component shut down, its packages released while it is loaded, the
//   // environment taken down, the DLL freed.
//
// Run-time types across modules. The component finds the terminal's objects by their run-time
// type: the main frame's view manager behind the environment's main-frame handle (through the
// window framework's handle map and a dynamic_cast to CViewManager), the palette and the data
// centre behind the environment's pointers; the terminal finds the packages it receives the same
// way. A look-alike class of the terminal's own is not found. The classes here come from
// TerminalServices.dll, built with the window framework (WindowFramework.dll) and the compiler
// family of the component; a terminal uses them, or derives from them, and needs neither the
// window framework's headers nor windows of its kind: everything takes plain window handles.
//
// Threads: use the host, its main frame and its containers on the terminal's user-interface
// thread, the one that forwards the messages and owns the windows. The data-centre calls
// (AddSecurity, AddSecuritiesOf, LoadSecurities) may come from any thread.
//
// The services' log lines and usage statistics, which the component writes as it works, reach
// the terminal through services/LoggerHost.h (a log folder, a hook per line) and
// services/StatisticsHost.h (a file, a hook per record), included here.
//
// Bad use gets an answer, not a crash: a call on a host whose environment is not the installed
// one, an LPARAM that carries no hand-over, or a teardown in another order returns false (or
// leaves a package unreleased rather than call into an unloaded DLL) and writes a line to the
// logger under the call's tag, such as "[CTerminalHost::TakeHandOver]".
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "frame/Export.h"
#include "frame/GlobalEnv.h"
#include "frame/HotKeyManagerApi.h"
#include "services/LoggerHost.h"
#include "services/Pinyin.h"
#include "services/PinyinAliases.h"
#include "services/StatisticsHost.h"

class CTerminalHost;

// A frame element of the terminal that asks for a security: ShowForContainer(&element, x, y,
// placement) opens the pop-up for it, and the pick reaches it synchronously as 0x503 through
// SendMessageW, whose default sends the message on to the element's window, so that a plain
// window procedure receives 0x503 with the hand-over value in lParam (take it back there: the
// package's parameter text lives only while the send runs). Register it with
// CTerminalHost::AddElementContainer so that the pop-up does not give the focus back to its
// window; it unregisters itself when it goes, and a pop-up opened for it closes.
class TS_API CHostElementContainer : public CElementContainer {
 public:
  CHostElementContainer(HWND wnd, uint32_t id);
  ~CHostElementContainer() override;
  CHostElementContainer(const CHostElementContainer&) = delete;
  CHostElementContainer& operator=(const CHostElementContainer&) = delete;

  HWND GetWnd() const { return m_hWnd; }
  uint32_t GetID() override;
  // The pick for this element: ::SendMessageW to its window; the window's answer, 0 without one.
  int SendMessageW(uint32_t id, UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  friend class CTerminalHost;
  HWND m_hWnd;
  uint32_t m_nId;
  CTerminalHost* m_pHost;  // while registered
};

// The terminal's main frame as the component sees it: a view manager with two views, each with
// a view type (the current view is the second when there is one, else the first; types 1 to 4
// open the pop-up at the command window's bottom-right corner, others at the current view's),
// and the windows that are element containers. The component looks it up behind the
// environment's main-frame handle; that handle is a hidden window this object makes for the
// purpose, so none of the terminal's windows is subclassed. Derive from it to answer from the
// terminal's own state; the defaults answer from what was set.
class TS_API CHostMainFrame {
 public:
  CHostMainFrame();
  virtual ~CHostMainFrame();
  CHostMainFrame(const CHostMainFrame&) = delete;
  CHostMainFrame& operator=(const CHostMainFrame&) = delete;

  // The handle the environment holds as the main frame; null when its window could not be made
  // (logged).
  HWND GetLookupWnd() const;
  // The first and second view with their types; a null view clears it.
  void SetView(HWND view, int viewType);
  void SetSecondView(HWND view, int viewType);
  // The second view when there is one, else the first; null when neither is set.
  HWND GetCurrentView() const;
  void AddContainerWnd(HWND wnd);
  void RemoveContainerWnd(HWND wnd);

  // The view type the pop-up places itself by: the type set with the view, 0 for other windows.
  virtual int GetViewType(HWND view);
  // Whether the window is an element container: the pop-up does not give the focus back to one.
  virtual bool IsContainerWnd(HWND wnd);

 private:
  struct Impl;
  Impl* m_pImpl;
};

// What a pick was: a plain copy of an item's identity, without its attached object.
struct HostPickedItem {
  wchar_t code[sizeof(KeyboardItemInfo::m_szCode) / sizeof(wchar_t)] = {};
  wchar_t hotKey[sizeof(KeyboardItemInfo::m_szHotKey) / sizeof(wchar_t)] = {};
  wchar_t name[sizeof(KeyboardItemInfo::m_szName) / sizeof(wchar_t)] = {};
  unsigned short type = 0xFFFF;
  int extraInfo = -1;
  DWORD kind = 0xFFFFFFFF;
  unsigned char market = 0xFF;
};

// The object the kit attaches to an item (CTerminalHost::TagItems): a pick of the item hands it
// back with 0x51C, and TakeHandOver reads what was picked from it.
class TS_API CHostItemTag : public CUnknown {
 public:
  explicit CHostItemTag(const KeyboardItemInfo& item);
  HostPickedItem m_item;
};

// What one message of a pick handed over, taken back by CTerminalHost::TakeHandOver.
struct HostHandOver {
  HostHandOver() = default;
  ~HostHandOver() { Reset(); }
  HostHandOver(const HostHandOver&) = delete;
  HostHandOver& operator=(const HostHandOver&) = delete;
  // Releases the object and empties every field.
  void Reset() {
    if (object) object->Release();
    object = nullptr;
    message = 0;
    wParam = 0;
    lParam = 0;
    hasItem = false;
    item = HostPickedItem();
    elementId = 0;
    eventName.clear();
    eventArg.clear();
    params.clear();
  }

  UINT message = 0;  // WM_RUN_COMMAND (0x51C), WM_STOCK_SELECTED (0x500), WM_ELEMENT_EVENT (0x503)
  WPARAM wParam = 0;
  LPARAM lParam = 0;
  // The object handed over, with one reference that Reset and the destructor release; null for a
  // 0x51C whose item had no object. The terminal casts it to its own classes or to a package.
  // A package belongs to HotKeyManagerFactory.dll: release it while the DLL is loaded.
  IUnknown* object = nullptr;
  // What was picked, when the message tells: 0x51C from a CHostItemTag or a
  // CPackager<KeyboardItemInfo>; 0x500 and 0x503 the code and market of the security, with its
  // name from the data centre. Otherwise false, and item holds no more than 0x51C's wParam as its
  // extra information.
  bool hasItem = false;
  HostPickedItem item;
  // 0x503: the element event (its identifier, event name, argument and parameter text).
  uint32_t elementId = 0;
  std::wstring eventName;
  std::wstring eventArg;
  std::wstring params;
};

class TS_API CTerminalHost {
 public:
  // Installs a new environment with a data centre and the built-in light skin. When another
  // environment is installed already, this host stays not ready (logged) and leaves it alone.
  CTerminalHost();
  // UnloadComponent, then the packages still pending, the context values, the environment (if
  // it is still this host's), the palette and the data centre, in that order.
  ~CTerminalHost();
  CTerminalHost(const CTerminalHost&) = delete;
  CTerminalHost& operator=(const CTerminalHost&) = delete;

  // True while this host's environment is the installed one.
  bool IsReady() const;
  // The environment (a CTerminalEnv), for what the host does not cover; null when not ready.
  CGlobalEnv* GetEnvironment() const;

  // --- The component. ---
  // Loads dllPath (null: HotKeyManagerFactory.dll beside TerminalServices.dll), takes a manager
  // from GetClassObject and initializes it. False, logged, when the host is not ready, a
  // component is loaded already, or any step fails.
  bool LoadComponent(const wchar_t* dllPath = nullptr);
  // The manager of LoadComponent; null before and after.
  IHotKeyManager* Manager() const;
  // Uninitialize and Release of the manager, the packages it made that were never taken back,
  // then FreeLibrary. Safe to call twice.
  void UnloadComponent();

  // --- What the component must know of the terminal. False when not ready. ---
  // The window that receives 0x51C and 0x601; its bottom-right corner places the pop-up for
  // views of types 1 to 4.
  bool SetCommandWindow(HWND wnd);
  // The main frame the environment points at: the host's own, or one set with UseMainFrame.
  CHostMainFrame& MainFrame();
  // A main frame of the terminal's own (derived); null goes back to the host's. The terminal
  // keeps it alive while it is in use.
  bool UseMainFrame(CHostMainFrame* frame);
  bool SetView(HWND view, int viewType);
  bool SetSecondView(HWND view, int viewType);
  // Registers an element container (its window counts as one); false when it is registered with
  // another host.
  bool AddElementContainer(CHostElementContainer* container);
  // Unregisters it; a pop-up that is open closes, so that no pick reaches a container that goes.
  bool RemoveElementContainer(CHostElementContainer* container);
  // The workspace that has the focus; typing in a trading workspace (qxWorkspaceTradingFirst to
  // qxWorkspaceTradingLast) while the mini-trade panel shows keeps the pop-up open.
  bool SetFocusWorkspace(qxWorkspaceDefine workspace);
  // Whether the mini-trade panel shows: while it does, ShowSmartKeyboard opens nothing.
  bool SetMiniTradeVisible(bool visible);

  // --- The data centre: 0x500 and 0x503 hand over only securities it knows. ---
  bool AddSecurity(const wchar_t* code, unsigned char market, const wchar_t* name,
                   unsigned short type, bool depositaryReceipt = false);
  // Every security among the items (kinds other than former name, command and alias) with its
  // code, market, name and type; returns how many were new.
  int AddSecuritiesOf(const KeyboardItemInfo* items, int count);
  // A security master file (services/SecurityMaster.h gives the format); the securities added, or
  // -1 when it cannot be read.
  int LoadSecurities(const wchar_t* path);

  // --- Skins. Each switch broadcasts the change, so that open windows take the new colours. ---
  // The host starts with the built-in light skin, and the light skin gives whatever a skin lacks
  // (services/SkinPalette.h): the pop-up is never drawn with unset colours.
  // "light" or "dark", built into TerminalServices.dll; false for another name (the skin stays).
  bool UseBuiltInSkin(const wchar_t* name);
  // A skin folder with its "skin.txt". False when the folder is missing, or its file cannot be
  // read or is not UTF-8: the built-in light skin is then used, and a log line says why.
  bool UseSkinFolder(const wchar_t* folder);
  // The text of a skin file; the bitmaps it names are read below bitmapFolder (without one, the
  // light skin's). False, with the light skin, for a text that is not UTF-8.
  bool UseSkinText(const char* utf8, size_t length, const wchar_t* bitmapFolder);
  // The windows registered for the data centre's broadcasts, which each switch reaches.
  size_t SkinWindowCount() const;

  // --- Items. ---
  // Attaches a CHostItemTag to every item without an attached object; returns how many.
  int TagItems(KeyboardItemInfo* items, int count);
  // Registers full-pinyin alias items for the securities among the items (services/
  // PinyinAliases.h); they show for securities the data centre knows. Returns the aliases
  // registered, or -1 without a manager or when it refused them.
  int AddFullPinyinAliases(const KeyboardItemInfo* items, int count) {
    return ::AddFullPinyinAliases(Manager(), items, count > 0 ? static_cast<size_t>(count) : 0);
  }

  // --- Taking back a hand-over. ---
  // From the message as the terminal received it (0x51C, 0x500 or 0x503, LPARAM as it came):
  // *handOver gets the object and what was picked. False, logged, for another message, an LPARAM
  // that carries no hand-over (never narrowed to find one), or an object that is not the
  // message's package; a 0x51C with lParam 0 is true with no object.
  bool TakeHandOver(UINT message, WPARAM wParam, LPARAM lParam, HostHandOver* handOver);
  // Hand-overs registered and not taken back yet.
  size_t PendingHandOverCount() const;

 private:
  struct Impl;
  Impl* m_pImpl;
};
