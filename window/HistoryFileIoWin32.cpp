// The history's files on Windows: CFile for reading and writing, and MoveFileExW to put the new
// file in place of the old one in one step.
#include <windows.h>

#include <shlwapi.h>

#include <climits>

#include "RecentHistory.h"
#include "wfc/File.h"

namespace {

class CHistoryFileIoWin32 : public HistoryFileIo {
 public:
  bool Exists(const std::wstring& path) override { return PathFileExistsW(path.c_str()) != FALSE; }

  // A folder is no history file.
  bool Length(const std::wstring& path, uint64_t& length) override {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
      return false;
    length = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    return true;
  }

  bool ReadAt(const std::wstring& path, uint64_t offset, size_t count,
              std::vector<unsigned char>& bytes) override {
    bytes.clear();
    if (count > UINT_MAX) return false;
    CFile file;
    if (!file.Open(path.c_str(), CFile::modeRead | CFile::typeBinary)) return false;
    if (!file.Seek(offset)) return false;
    bytes.resize(count);
    bytes.resize(file.Read(bytes.data(), static_cast<UINT>(count)));
    return true;
  }

  bool WriteReplacing(const std::wstring& path, const std::vector<unsigned char>& bytes) override {
    std::wstring temporary = path + L".tmp";
    bool ok = WriteTemporary(temporary, bytes) &&
              MoveFileExW(temporary.c_str(), path.c_str(),
                          MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
    if (!ok) DeleteFileW(temporary.c_str());
    return ok;
  }

  bool MoveReplacing(const std::wstring& from, const std::wstring& to) override {
    return MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING) != FALSE;
  }

 private:
  static bool WriteTemporary(const std::wstring& path, const std::vector<unsigned char>& bytes) {
    if (bytes.size() > UINT_MAX) return false;
    CFile file;
    if (!file.Open(path.c_str(), CFile::modeCreate | CFile::modeWrite | CFile::typeBinary))
      return false;
    bool ok = bytes.empty() || file.Write(bytes.data(), static_cast<UINT>(bytes.size()));
    // On the disk before the move, so the new name never points at missing data.
    ok = file.Flush() && ok;
    file.Close();
    return ok;
  }
};

}  // namespace

HistoryFileIo& SystemHistoryFileIo() {
  static CHistoryFileIoWin32 io;
  return io;
}
