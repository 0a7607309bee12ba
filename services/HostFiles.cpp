#include "HostFiles.h"

#include <chrono>
#include <cstring>
#include <ctime>

#include "platform/Utf8.h"

namespace ts {

FILE* OpenPath(const std::wstring& path, const char* mode) {
  if (path.empty()) return nullptr;
#ifdef _WIN32
  std::wstring wideMode(mode, mode + strlen(mode));
  return _wfopen(path.c_str(), wideMode.c_str());
#else
  return fopen(plat::WideToUtf8(path).c_str(), mode);
#endif
}

bool ReadWholeFile(const std::wstring& path, std::string& out) {
  out.clear();
  FILE* file = OpenPath(path, "rb");
  if (!file) return false;
  char buffer[4096];
  size_t count;
  while ((count = fread(buffer, 1, sizeof(buffer), file)) > 0) out.append(buffer, count);
  const bool ok = ferror(file) == 0;
  fclose(file);
  return ok;
}

bool AppendLine(const std::wstring& path, const std::string& line) {
  FILE* file = OpenPath(path, "ab");
  if (!file) return false;
  bool ok = fwrite(line.data(), 1, line.size(), file) == line.size() && fputc('\n', file) != EOF;
  ok = fclose(file) == 0 && ok;
  return ok;
}

std::wstring JoinPath(const std::wstring& directory, const std::wstring& name) {
  if (directory.empty()) return name;
  const wchar_t last = directory.back();
  if (last == L'/' || last == L'\\') return directory + name;
#ifdef _WIN32
  return directory + L"\\" + name;
#else
  return directory + L"/" + name;
#endif
}

std::string Timestamp() {
  const auto now = std::chrono::system_clock::now();
  const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
  const long long millis =
      std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &seconds);
#else
  localtime_r(&seconds, &local);
#endif
  char buffer[32];
  const size_t length = strftime(buffer, sizeof(buffer), "%Y-%m-%d %H:%M:%S", &local);
  snprintf(buffer + length, sizeof(buffer) - length, ".%03lld", millis);
  return buffer;
}

}  // namespace ts
