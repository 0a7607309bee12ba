#include "HostModule.h"

namespace ts {

HMODULE ServicesModule() {
  HMODULE module = nullptr;
  GetModuleHandleExW(
      GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
      reinterpret_cast<LPCWSTR>(&ServicesModule), &module);
  return module;
}

std::wstring ServicesFolder() {
  wchar_t path[MAX_PATH];
  DWORD length = GetModuleFileNameW(ServicesModule(), path, MAX_PATH);
  std::wstring folder(path, length < MAX_PATH ? length : 0);
  size_t slash = folder.find_last_of(L"\\/");
  return slash == std::wstring::npos ? L"." : folder.substr(0, slash);
}

}  // namespace ts
