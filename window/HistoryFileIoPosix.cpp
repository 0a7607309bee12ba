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

// A folder or a device is no history file.
bool CHistoryFileIoPosix::Length(const std::wstring& path, uint64_t& length) {
  struct stat info;
  if (stat(plat::Utf8Path(path.c_str()).c_str(), &info) != 0 || !S_ISREG(info.st_mode))
    return false;
  length = static_cast<uint64_t>(info.st_size);
  return true;
}

bool CHistoryFileIoPosix::ReadAt(const std::wstring& path, uint64_t offset, size_t count,
                                 std::vector<unsigned char>& bytes) {
  bytes.clear();
  std::FILE* file = std::fopen(plat::Utf8Path(path.c_str()).c_str(), "rb");
  if (!file) return false;
  bool ok = fseeko(file, static_cast<off_t>(offset), SEEK_SET) == 0;
  if (ok) {
    bytes.resize(count);
    bytes.resize(std::fread(bytes.data(), 1, count, file));
    ok = !std::ferror(file);
  }
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

bool CHistoryFileIoPosix::MoveReplacing(const std::wstring& from, const std::wstring& to) {
  return std::rename(plat::Utf8Path(from.c_str()).c_str(), plat::Utf8Path(to.c_str()).c_str()) == 0;
}
