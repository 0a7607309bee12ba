// CFile: a binary file opened for reading or writing through its wide path.
#pragma once

#include <windows.h>

#include <cstdint>

#include "WfcExport.h"

class WFC_API CFile {
 public:
  enum OpenFlags : UINT {
    modeRead = 0x0000,
    modeWrite = 0x0001,
    modeCreate = 0x1000,  // create, or truncate an existing file
    typeBinary = 0x8000,
  };

  CFile();
  ~CFile();  // closes
  CFile(const CFile&) = delete;
  CFile& operator=(const CFile&) = delete;

  BOOL Open(const wchar_t* path, UINT flags);
  UINT Read(void* buffer, UINT count);         // bytes read
  BOOL Write(const void* buffer, UINT count);  // all of it, or FALSE
  uint64_t GetLength() const;
  // Moves to the byte `offset` from the start of the file.
  BOOL Seek(uint64_t offset);
  BOOL SetLength(uint64_t length);
  BOOL Flush();
  void Close();

  HANDLE m_hFile;
};
