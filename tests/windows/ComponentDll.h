// Loads the component DLL from beside the test program for the length of a scope.
#pragma once

#include <string>

#include "platform/WinTypes.h"

class ComponentDll {
 public:
  ComponentDll();
  ~ComponentDll();
  ComponentDll(const ComponentDll&) = delete;
  ComponentDll& operator=(const ComponentDll&) = delete;

  HMODULE module() const { return m_module; }
  const std::wstring& path() const { return m_path; }
  // The export of that name as a function of type Fn, or null.
  template <class Fn>
  Fn Export(const char* name) const {
    // Through the generic function pointer type, which converts to any other without warning.
    return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(ExportAddress(name)));
  }
  FARPROC ExportAddress(const char* name) const;

 private:
  std::wstring m_path;
  HMODULE m_module;
};

typedef HRESULT (*GetClassObjectFn)(IUnknown** ppUnknown, const wchar_t* classId);
typedef int (*PlainExportFn)();
