#include "File.h"

CFile::CFile() : m_hFile(INVALID_HANDLE_VALUE) {}
CFile::~CFile() { Close(); }

BOOL CFile::Open(const wchar_t* path, UINT flags) {
  if (m_hFile != INVALID_HANDLE_VALUE || !path) return FALSE;
  bool write = (flags & modeWrite) != 0;
  DWORD access = write ? GENERIC_WRITE : GENERIC_READ;
  DWORD share = write ? 0 : FILE_SHARE_READ;
  DWORD disposition = (flags & modeCreate) ? CREATE_ALWAYS : OPEN_EXISTING;
  m_hFile =
      ::CreateFileW(path, access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
  return m_hFile != INVALID_HANDLE_VALUE;
}

UINT CFile::Read(void* buffer, UINT count) {
  DWORD read = 0;
  if (m_hFile == INVALID_HANDLE_VALUE || !::ReadFile(m_hFile, buffer, count, &read, nullptr))
    return 0;
  return read;
}

BOOL CFile::Write(const void* buffer, UINT count) {
  DWORD written = 0;
  if (m_hFile == INVALID_HANDLE_VALUE) return FALSE;
  return ::WriteFile(m_hFile, buffer, count, &written, nullptr) && written == count;
}

uint64_t CFile::GetLength() const {
  LARGE_INTEGER size = {};
  if (m_hFile == INVALID_HANDLE_VALUE || !::GetFileSizeEx(m_hFile, &size)) return 0;
  return static_cast<uint64_t>(size.QuadPart);
}

BOOL CFile::Seek(uint64_t offset) {
  LARGE_INTEGER position;
  position.QuadPart = static_cast<LONGLONG>(offset);
  return m_hFile != INVALID_HANDLE_VALUE &&
         ::SetFilePointerEx(m_hFile, position, nullptr, FILE_BEGIN);
}

BOOL CFile::SetLength(uint64_t length) {
  if (m_hFile == INVALID_HANDLE_VALUE) return FALSE;
  LARGE_INTEGER position;
  position.QuadPart = static_cast<LONGLONG>(length);
  return ::SetFilePointerEx(m_hFile, position, nullptr, FILE_BEGIN) && ::SetEndOfFile(m_hFile);
}

BOOL CFile::Flush() { return m_hFile != INVALID_HANDLE_VALUE && ::FlushFileBuffers(m_hFile); }

void CFile::Close() {
  if (m_hFile != INVALID_HANDLE_VALUE) ::CloseHandle(m_hFile);
  m_hFile = INVALID_HANDLE_VALUE;
}
