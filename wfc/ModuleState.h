// Which module the framework takes resources from. A component switches to its own module while
// it creates its windows and back to the application's while it looks at the terminal's objects.
#pragma once

#include <windows.h>

#include "WfcExport.h"

class WFC_API CModuleStateScope {
 public:
  explicit CModuleStateScope(HINSTANCE resources);
  ~CModuleStateScope();
  CModuleStateScope(const CModuleStateScope&) = delete;
  CModuleStateScope& operator=(const CModuleStateScope&) = delete;

 private:
  HINSTANCE m_hPrevious;
};

// The module resources come from now: the application's executable unless a scope says otherwise.
WFC_API HINSTANCE WfcGetResourceHandle();
// The application's own module (the terminal's executable).
WFC_API HINSTANCE WfcGetAppModule();
