// A fresh directory below the system's temporary directory, removed with its contents.
#pragma once

#include <string>
#include <vector>

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& Path() const { return m_path; }
  std::wstring WidePath() const;
  // Path of a file inside the directory.
  std::string File(const std::string& name) const;
  std::wstring WideFile(const std::string& name) const;
  // Names of the entries in the directory, sorted.
  std::vector<std::string> Entries() const;

 private:
  std::string m_path;
};

// Whole contents of a file, empty if it cannot be read.
std::string ReadTextFile(const std::string& path);
void WriteTextFile(const std::string& path, const std::string& text);
// Splits text into lines, dropping the line breaks.
std::vector<std::string> SplitLines(const std::string& text);
