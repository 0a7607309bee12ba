// File access of the services library: wide paths on every platform, UTF-8 contents.
#pragma once

#include <cstdio>
#include <string>

namespace ts {

// Opens a file by a wide path (_wfopen on Windows, the UTF-8 path elsewhere).
FILE* OpenPath(const std::wstring& path, const char* mode);
// Reads a whole file; false if it cannot be opened or read.
bool ReadWholeFile(const std::wstring& path, std::string& out);
// Appends one UTF-8 line (a newline is added); false if the file cannot be written.
bool AppendLine(const std::wstring& path, const std::string& line);
// directory + separator + name (no separator added after a trailing one).
std::wstring JoinPath(const std::wstring& directory, const std::wstring& name);
// Local time as "YYYY-MM-DD HH:MM:SS.mmm".
std::string Timestamp();

}  // namespace ts
