// One note of the services to the terminal's logger, under the tag of the function that writes
// it ("[CSkinPalette::Load]", "[CTerminalHost::TakeHandOver]").
#pragma once

#include <string>

namespace ts {

// Fetches the logger named by the tag and writes "<tag> <text>" at level 10000.
void WriteLog(const wchar_t* tag, const std::wstring& text);

}  // namespace ts
