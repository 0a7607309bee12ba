#include "ComponentDll.h"

// The DLL beside the program.
ComponentDll::ComponentDll() {
  wchar_t path[MAX_PATH];
  m_path.assign(path, GetModuleFileNameW(nullptr, path, MAX_PATH));
  m_path = m_path.substr(0, m_path.find_last_of(L"\\/")) + L"\\HotKeyManagerFactory.dll";
  m_module = LoadLibraryW(m_path.c_str());
}

ComponentDll::~ComponentDll() {
  if (m_module) FreeLibrary(m_module);
}

FARPROC ComponentDll::ExportAddress(const char* name) const {
  return m_module ? GetProcAddress(m_module, name) : nullptr;
}
