#include "ToolMain.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>

#include <cstdio>

#include "platform/Utf8.h"

int wmain(int argc, wchar_t** argv) {
  _setmode(_fileno(stdout), _O_BINARY);
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) args.push_back(plat::WideToUtf8(argv[i]));
  return RunTool(args);
}
#else
int main(int argc, char** argv) { return RunTool(std::vector<std::string>(argv + 1, argv + argc)); }
#endif
