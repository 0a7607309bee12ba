// The recent-search history: the securities the user picked from search results, most recent
// first, kept in a headerless file of 180-byte records. Portable: the file system is reached
// through HistoryFileIo, so the record format and the add rules are the same everywhere.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "frame/KeyboardItemInfo.h"

// File access for the history.
class HistoryFileIo {
 public:
  virtual ~HistoryFileIo() {}
  virtual bool Exists(const std::wstring& path) = 0;
  // The file's length in bytes; false when it cannot be opened.
  virtual bool Length(const std::wstring& path, uint64_t& length) = 0;
  // Up to count bytes from offset (fewer only at the end of the file); false when it cannot be
  // opened or read.
  virtual bool ReadAt(const std::wstring& path, uint64_t offset, size_t count,
                      std::vector<unsigned char>& bytes) = 0;
  // Writes a temporary file in the same folder and moves it over the old file in one step, so a
  // failure at any point leaves the old file as it was. No bytes make an empty file.
  virtual bool WriteReplacing(const std::wstring& path,
                              const std::vector<unsigned char>& bytes) = 0;
  // Gives the file the name `to`, replacing any file of that name.
  virtual bool MoveReplacing(const std::wstring& from, const std::wstring& to) = 0;
};

// The operating system's files (one object for the process).
HistoryFileIo& SystemHistoryFileIo();

// "\Data\RecentKeyBoard_Stock.dat" below the folder of the process's executable.
std::wstring HistoryFilePath();

// One file record: UTF-16LE code (17 units), hot key (33), name (33), then the type word, extra
// information, kind and market, little-endian, and three bytes of padding.
const size_t HISTORY_RECORD_SIZE = 180;
const size_t MAX_HISTORY_ITEMS = 100;

// Where a damaged history file is kept: the history's path with this ending.
const wchar_t* const DAMAGED_HISTORY_SUFFIX = L".damaged";

// Decodes one record into a default-made item; false, with the item unspecified, when the record
// is not valid: its code, hot key and name must each be non-empty, end with a terminator inside
// their field, be well-formed UTF-16 (no unpaired surrogate) and hold no control character.
bool DecodeHistoryRecord(const unsigned char* record, KeyboardItemInfo& item);
// Encodes an item into 180 bytes; false (record unusable) when the code, hot key or name would be
// empty in the file.
bool EncodeHistoryRecord(const KeyboardItemInfo& item, unsigned char* record);

class CRecentHistory {
 public:
  // The io is not owned and must outlive the history.
  CRecentHistory(const std::wstring& path, HistoryFileIo* io);

  // Replaces the entries with the first 100 valid records of the file, each item once (the first
  // copy of a duplicate stays); the rest of the file is not read. A missing or empty file gives
  // an empty history and true; an unreadable file false. A file whose length is not a whole
  // number of records gives false: it is moved aside to the path + DAMAGED_HISTORY_SUFFIX
  // (replacing an older one there), and the logger says so.
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
  bool Contains(const KeyboardItemInfo& item) const;
  void SetAsideDamagedFile(uint64_t length);

  std::wstring m_strPath;
  HistoryFileIo* m_pIo;
  std::vector<KeyboardItemInfo> m_items;
  bool m_bUnsaved;
};
