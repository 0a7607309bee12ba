// The module of the terminal services, TerminalServices.dll: where its resources are, and the
// folder it was loaded from, where the component DLL is installed beside it. Windows only.
#pragma once

#include <windows.h>

#include <string>

namespace ts {

HMODULE ServicesModule();
// The folder of ServicesModule(), without a trailing separator.
std::wstring ServicesFolder();

}  // namespace ts
