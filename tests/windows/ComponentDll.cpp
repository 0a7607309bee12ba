#include "ComponentDll.h"

std::wstring ProgramDirectory() {
  wchar_t path[MAX_PATH];
  DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring directory(path, length);
  return directory.substr(0, directory.find_last_of(L"\\/"));
}

ComponentDll::ComponentDll()
    : m_path(ProgramDirectory() + L"\\HotKeyManagerFactory.dll"),
      m_module(LoadLibraryW(m_path.c_str())) {}

ComponentDll::~ComponentDll() {
  if (m_module) FreeLibrary(m_module);
}

FARPROC ComponentDll::ExportAddress(const char* name) const {
  return m_module ? GetProcAddress(m_module, name) : nullptr;
}
