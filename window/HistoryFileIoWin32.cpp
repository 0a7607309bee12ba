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

  bool ReadAll(const std::wstring& path, std::vector<unsigned char>& bytes) override {
    bytes.clear();
    CFile file;
    if (!file.Open(path.c_str(), CFile::modeRead | CFile::typeBinary)) return false;
    uint64_t length = file.GetLength();
    if (length > UINT_MAX) return false;
    bytes.resize(static_cast<size_t>(length));
    // A short read counts as a damaged file.
    return bytes.empty() ||
           file.Read(bytes.data(), static_cast<UINT>(bytes.size())) == bytes.size();
  }

  bool WriteReplacing(const std::wstring& path, const std::vector<unsigned char>& bytes) override {
    std::wstring temporary = path + L".tmp";
    bool ok = WriteTemporary(temporary, bytes) &&
              MoveFileExW(temporary.c_str(), path.c_str(),
                          MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
    if (!ok) DeleteFileW(temporary.c_str());
    return ok;
  }

  bool Delete(const std::wstring& path) override { return DeleteFileW(path.c_str()) != FALSE; }

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
