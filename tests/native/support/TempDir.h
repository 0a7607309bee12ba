// A fresh directory below the system's temporary directory, removed with its contents, and the
// file helpers of the tests that use one.
#pragma once

#include <string>
#include <vector>

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  // Path of the directory, or of a file inside it; test paths are ASCII, so the wide forms are
  // the same text widened.
  std::string File(const std::string& name = "") const {
    return name.empty() ? m_path : m_path + "/" + name;
  }
  std::wstring WideFile(const std::string& name = "") const;
  std::vector<std::string> Entries() const;  // sorted

 private:
  std::string m_path;
};

void WriteTextFile(const std::string& path, const std::string& text);
// The lines of a file, without their line breaks; none if it cannot be read.
std::vector<std::string> ReadLines(const std::string& path);
