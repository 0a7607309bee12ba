// The recent-search history: the securities the user picked from search results, most recent
// first, kept in a headerless file of 180-byte records. Portable: the file system is reached
// through HistoryFileIo, so the record format and the add rules are the same everywhere.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "frame/KeyboardItemInfo.h"

// Whole-file access for the history.
class HistoryFileIo {
 public:
  virtual ~HistoryFileIo() {}
  virtual bool Exists(const std::wstring& path) = 0;
  // The whole file; false when it cannot be opened or read completely.
  virtual bool ReadAll(const std::wstring& path, std::vector<unsigned char>& bytes) = 0;
  // Writes a temporary file in the same folder and moves it over the old file in one step, so a
  // failure at any point leaves the old file as it was. No bytes make an empty file.
  virtual bool WriteReplacing(const std::wstring& path,
                              const std::vector<unsigned char>& bytes) = 0;
  virtual bool Delete(const std::wstring& path) = 0;
};

// The operating system's files (one object for the process).
HistoryFileIo& SystemHistoryFileIo();

// "\Data\RecentKeyBoard_Stock.dat" below the folder of the process's executable.
std::wstring HistoryFilePath();

// One file record: UTF-16LE code (17 units), hot key (33), name (33), then the type word, extra
// information, kind and market, little-endian, and three bytes of padding.
const size_t HISTORY_RECORD_SIZE = 180;
const size_t MAX_HISTORY_ITEMS = 100;

// Decodes one record into a default-made item; false when its code, hot key or name is empty.
// A field without a terminator is read up to its width and cut to fit the item's field.
bool DecodeHistoryRecord(const unsigned char* record, KeyboardItemInfo& item);
// Encodes an item into 180 bytes; false (record unusable) when the code, hot key or name would be
// empty in the file.
bool EncodeHistoryRecord(const KeyboardItemInfo& item, unsigned char* record);

class CRecentHistory {
 public:
  // The io is not owned and must outlive the history.
  CRecentHistory(const std::wstring& path, HistoryFileIo* io);

  // Replaces the entries with the valid records of the file. A missing or empty file gives an
  // empty history and true; an unreadable file false; a file whose length is not a whole number
  // of records is deleted and gives false.
  bool Load();
  // Puts a copy of item (without its attached object) at the front, if the data centre knows the
  // security; drops the older entry of the same item and, beyond 100 entries, the oldest.
  // False when nothing was added.
  bool Add(const KeyboardItemInfo* item);
  // Rewrites the file with the valid entries (an empty file when there are none).
  bool Save();
  // Empties the history; the file is rewritten by the next Save.
  void Clear();

  // An Add or Clear whose Save has not succeeded yet.
  bool HasUnsavedChanges() const { return m_bUnsaved; }
  bool FileExists() const { return m_pIo->Exists(m_strPath); }
  const std::wstring& Path() const { return m_strPath; }

  // Index 0 is the most recent entry.
  std::vector<KeyboardItemInfo>& Items() { return m_items; }
  const std::vector<KeyboardItemInfo>& Items() const { return m_items; }

 private:
  std::wstring m_strPath;
  HistoryFileIo* m_pIo;
  std::vector<KeyboardItemInfo> m_items;
  bool m_bUnsaved;
};
