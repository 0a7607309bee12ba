// The host's global environment: what the terminal sets up before it loads the component.
//
// A host creates one CTerminalEnv, fills it with the setters, and installs it with
// CGlobalEnv::SetGlobalEnv; SetGlobalEnv(nullptr) tears it down again. Tests may install any
// other CGlobalEnv subclass the same way.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

#include "frame/Export.h"
#include "frame/GlobalEnv.h"

class TS_API CTerminalEnv : public CGlobalEnv {
 public:
  CTerminalEnv();
  ~CTerminalEnv() override;
  CTerminalEnv(const CTerminalEnv&) = delete;
  CTerminalEnv& operator=(const CTerminalEnv&) = delete;

  // --- Host setters. The palette, data manager and context values are held with a reference;
  // null clears the slot. ---
  void SetPalette(IUnknown* palette);
  void SetDataMgr(IUnknown* dataMgr);
  void SetClosing(bool closing);
  void SetCommandWnd(HWND wnd);
  void SetMainFrameWnd(HWND wnd);
  void SetContextValue(const wchar_t* name, IUnknown* value);

  // --- Receiver side of the hand-over. ---
  // The object registered under value, with the registry's reference passed to the caller, who
  // releases it; the value is forgotten. Null for an unknown or already taken value.
  IUnknown* TakeHandOver(uint32_t value);
  // Objects registered and not yet taken back.
  size_t PendingHandOverCount();
  // Releases every object that was never taken back; also done on destruction.
  void ReleaseHandOvers();
  // Every object not yet taken back, each with the registry's reference passed to the caller; the
  // registry is left empty. For a host that decides itself how each one goes.
  std::vector<IUnknown*> TakeAllHandOvers();
  // Where the next value is counted from: a long-running terminal reaches the counter's wrap,
  // which a test must reach at once.
  void SetNextHandOver(uint32_t value);

  // --- CGlobalEnv. ---
  IUnknown* GetPalette() override;
  IUnknown* GetDataMgr() override;
  bool IsClosing() override;
  HWND GetCommandWnd() override;
  HWND GetMainFrameWnd() override;
  // Takes a reference on the object and returns a nonzero value for it; null gives 0.
  uint32_t RegisterHandOver(IUnknown* object) override;
  // Looks the value up by name (name2 when name is null); *value is AddRef'ed, or null.
  void GetContextValue(IUnknown** value, const wchar_t* name, const wchar_t* name2, int reserved1,
                       int reserved2, int reserved3) override;

 private:
  // Stores object in slot with a reference, releasing the previous one outside the lock.
  void Replace(IUnknown*& slot, IUnknown* object);

  std::mutex m_mutex;
  IUnknown* m_pPalette;
  IUnknown* m_pDataMgr;
  bool m_bClosing;
  HWND m_hCommandWnd;
  HWND m_hMainFrameWnd;
  uint32_t m_nNextHandOver;
  std::unordered_map<uint32_t, IUnknown*> m_handOvers;
  std::map<std::wstring, IUnknown*> m_contextValues;
};
