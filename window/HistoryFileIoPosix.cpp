#include "HistoryFileIoPosix.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>

#include "platform/Platform.h"

HistoryFileIo& SystemHistoryFileIo() {
  static CHistoryFileIoPosix io;
  return io;
}

bool CHistoryFileIoPosix::Exists(const std::wstring& path) {
  struct stat info;
  return stat(plat::Utf8Path(path.c_str()).c_str(), &info) == 0;
}

bool CHistoryFileIoPosix::ReadAll(const std::wstring& path, std::vector<unsigned char>& bytes) {
  bytes.clear();
  std::FILE* file = std::fopen(plat::Utf8Path(path.c_str()).c_str(), "rb");
  if (!file) return false;
  unsigned char buffer[16384];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof(buffer), file)) > 0)
    bytes.insert(bytes.end(), buffer, buffer + n);
  bool ok = !std::ferror(file);
  std::fclose(file);
  return ok;
}

bool CHistoryFileIoPosix::WriteTemporary(const std::string& path,
                                         const std::vector<unsigned char>& bytes) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  bool ok = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  ok = std::fflush(file) == 0 && ok;
  // On the disk before the rename, so the new name never points at missing data.
  ok = fsync(fileno(file)) == 0 && ok;
  ok = std::fclose(file) == 0 && ok;
  return ok;
}

bool CHistoryFileIoPosix::WriteReplacing(const std::wstring& path,
                                         const std::vector<unsigned char>& bytes) {
  std::string target = plat::Utf8Path(path.c_str());
  std::string temporary = target + ".tmp";
  if (!WriteTemporary(temporary, bytes) || std::rename(temporary.c_str(), target.c_str()) != 0) {
    std::remove(temporary.c_str());
    return false;
  }
  return true;
}

bool CHistoryFileIoPosix::Delete(const std::wstring& path) {
  return unlink(plat::Utf8Path(path.c_str()).c_str()) == 0;
}
