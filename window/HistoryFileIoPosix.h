// The history's files on POSIX systems: UTF-8 paths, std::FILE, and rename for the one-step
// replacement.
#pragma once

#include <string>
#include <vector>

#include "RecentHistory.h"

class CHistoryFileIoPosix : public HistoryFileIo {
 public:
  bool Exists(const std::wstring& path) override;
  bool Length(const std::wstring& path, uint64_t& length) override;
  bool ReadAt(const std::wstring& path, uint64_t offset, size_t count,
              std::vector<unsigned char>& bytes) override;
  bool WriteReplacing(const std::wstring& path, const std::vector<unsigned char>& bytes) override;
  bool MoveReplacing(const std::wstring& from, const std::wstring& to) override;

 protected:
  // Writes the whole temporary file and flushes it to the disk; a false answer (a full disk, an
  // interrupted write) leaves the old file untouched.
  virtual bool WriteTemporary(const std::string& path, const std::vector<unsigned char>& bytes);
};
