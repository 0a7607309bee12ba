#include "SkinSupport.h"

#include <cstdio>

#include "services/LoggerHost.h"

std::wstring ShippedSkin(const wchar_t* name) {
  wchar_t path[MAX_PATH];
  DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path, length);
  folder.resize(folder.find_last_of(L'\\'));
  return folder + L"\\skins\\" + name;
}

ScratchFolder::ScratchFolder() {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  static int counter = 0;
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::wstring candidate = std::wstring(temp) + L"skin-test-" +
                             std::to_wstring(GetCurrentProcessId()) + L"-" +
                             std::to_wstring(++counter);
    if (CreateDirectoryW(candidate.c_str(), nullptr)) {
      m_path = candidate;
      return;
    }
  }
}

ScratchFolder::~ScratchFolder() {
  for (const std::wstring& file : m_files) DeleteFileW(file.c_str());
  if (!m_path.empty()) RemoveDirectoryW(m_path.c_str());
}

bool ScratchFolder::Write(const wchar_t* name, const std::string& bytes) {
  const std::wstring path = File(name);
  FILE* file = _wfopen(path.c_str(), L"wb");
  if (!file) return false;
  m_files.push_back(path);
  const bool written = fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return fclose(file) == 0 && written;
}

bool ScratchFolder::CopyFrom(const std::wstring& source, const wchar_t* name) {
  const std::wstring path = File(name);
  if (!CopyFileW(source.c_str(), path.c_str(), FALSE)) return false;
  m_files.push_back(path);
  return true;
}

LogCapture::LogCapture() { SetLogLineHook(&LogCapture::Hook, this); }

LogCapture::~LogCapture() { SetLogLineHook(nullptr, nullptr); }

void LogCapture::Hook(void* context, const wchar_t*, int, const wchar_t* text) {
  static_cast<LogCapture*>(context)->m_lines.push_back(text);
}

size_t LogCapture::Count(const std::vector<std::wstring>& parts) const {
  size_t count = 0;
  for (const std::wstring& line : m_lines) {
    bool all = true;
    for (const std::wstring& part : parts) all = all && line.find(part) != std::wstring::npos;
    if (all) ++count;
  }
  return count;
}

COLORREF WindowPixel(HWND wnd, int x, int y) {
  HDC dc = GetDC(wnd);
  COLORREF color = GetPixel(dc, x, y);
  ReleaseDC(wnd, dc);
  return color;
}
