// What the skin and scrollbar tests share: where the shipped skins are, a scratch folder for
// hand-made skins, the log lines the services write, and pixel reads of a window.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// bin\skins\<name>, copied there by the build beside the test program.
std::wstring ShippedSkin(const wchar_t* name);

// A fresh folder below the temporary directory, removed with its files.
class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::wstring& Path() const { return m_path; }
  std::wstring File(const wchar_t* name) const { return m_path + L"\\" + name; }
  bool Write(const wchar_t* name, const std::string& bytes);
  bool CopyFrom(const std::wstring& source, const wchar_t* name);

 private:
  std::wstring m_path;
  std::vector<std::wstring> m_files;
};

// Every line the default loggers pass, for the life of the scope.
class LogCapture {
 public:
  LogCapture();
  ~LogCapture();
  LogCapture(const LogCapture&) = delete;
  LogCapture& operator=(const LogCapture&) = delete;

  // Lines containing every one of the parts.
  size_t Count(const std::vector<std::wstring>& parts) const;
  const std::vector<std::wstring>& Lines() const { return m_lines; }
  void Clear() { m_lines.clear(); }

 private:
  static void Hook(void* context, const wchar_t* name, int level, const wchar_t* text);
  std::vector<std::wstring> m_lines;
};

// The colour at (x, y) of what the window painted last.
COLORREF WindowPixel(HWND wnd, int x, int y);
