// Every tool's entry: its arguments as UTF-8 (wide on Windows, converted), standard output in
// binary mode so that lines end in LF on every platform.
#pragma once

#include <string>
#include <vector>

int RunTool(const std::vector<std::string>& args);
