#include "App.h"

namespace {

HINSTANCE g_hComponentModule = nullptr;

}  // namespace

CHotKeyManagerFactoryApp theApp;

CHotKeyManagerFactoryApp::CHotKeyManagerFactoryApp() : m_pszAppName(nullptr) {}

CHotKeyManagerFactoryApp::~CHotKeyManagerFactoryApp() {}

BOOL CHotKeyManagerFactoryApp::InitInstance() {
  RegisterWindowPopup();
  return TRUE;
}

HINSTANCE ComponentModule() { return g_hComponentModule; }

// Runs after the runtime has constructed the globals (theApp among them).
extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID /*reserved*/) {
  if (reason == DLL_PROCESS_ATTACH) {
    g_hComponentModule = instance;
    // The component has no per-thread state: no attach/detach calls for new threads.
    DisableThreadLibraryCalls(instance);
    return theApp.InitInstance();
  }
  return TRUE;
}
