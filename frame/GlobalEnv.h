// The terminal's global environment, as the component sees it.
#pragma once

#include <cstdint>

#include "Export.h"
#include "RefPtr.h"
#include "Unknown.h"

class CGlobalEnv : public CUnknown {
 public:
  // The one environment, or null before the host has set it up.
  TS_API static TRefPtr<CGlobalEnv> GetGlobalEnv();
  // Host side: installs the environment (taking a reference) or tears it down (null).
  TS_API static void SetGlobalEnv(CGlobalEnv* env);

  virtual IUnknown* GetPalette() = 0;  // the skin palette (CSWPalette), or null
  virtual IUnknown* GetDataMgr() = 0;  // the data centre (CDataMgr), or null
  virtual bool IsClosing() = 0;        // while true nothing is added or replaced
  virtual HWND GetCommandWnd() = 0;    // receives posted commands and securities
  virtual HWND GetMainFrameWnd() = 0;  // its framework object is the CViewManager

  // Registers an object for a message hand-over: the returned value goes into lParam, and the
  // receiver takes the object back with it.
  virtual uint32_t RegisterHandOver(IUnknown* object) = 0;
  // Looks up a named context value; *value receives a referenced object or null.
  virtual void GetContextValue(IUnknown** value, const wchar_t* name, const wchar_t* name2,
                               int reserved1, int reserved2, int reserved3) = 0;
};
