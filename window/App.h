// The component's application object and its module handle.
#pragma once

#include "platform/WinTypes.h"

// The library's one application object, made when the library loads. The component has no
// application framework: this small class keeps the shape the terminal expects of it.
class CHotKeyManagerFactoryApp {
 public:
  CHotKeyManagerFactoryApp();
  virtual ~CHotKeyManagerFactoryApp();

  // Runs once when the library is attached to the process; FALSE refuses the load.
  virtual BOOL InitInstance();

  const wchar_t* m_pszAppName;  // null: the application has no name of its own
};

// The component's own module: the windows load their dialog template and resources from it.
HINSTANCE ComponentModule();

// Lets the manager create and drive the pop-up; done once when the library is loaded.
void RegisterWindowPopup();
