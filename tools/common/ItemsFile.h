// The items file of the tools: UTF-8, one item a line, seven tab-separated columns
// code, hotkey, name, type, extra, kind, market; empty lines and '#' lines are ignored, a
// byte-order mark at the start is skipped and lines may end in CR LF.
//
// A line is refused, with its number and the reason, when the record could not hold it as
// written: a column too many or too few; a number that is not plain decimal (an optional '-')
// or 0x hex, or lies outside its column's range; text that is not UTF-8, holds a control
// character (U+0000-U+001F, U+007F-U+009F) or is longer than its field (code 16, hot key and
// name 32 wide characters; UTF-16 units where wchar_t has 16 bits).
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "frame/KeyboardItemInfo.h"

struct ItemsFileError {
  int line = 0;  // 1-based; 0 when the file could not be read
  std::string message;
};

// What a first look at an item line tells, before the line is read whole.
struct ItemGlance {
  DWORD kind = 0;
  unsigned char market = 0;
  std::string code;  // as written, not yet checked
};

// Where items come from: text in memory, or an items file read a block at a time as it is
// parsed, as often as it is parsed, so that a tool holds no copy of a large file. Its file side
// and LoadItemsFile are in ItemsSource.cpp.
class ItemsSource {
 public:
  ItemsSource() = default;
  // Text that the caller keeps alive.
  ItemsSource(const char* text, size_t size) : m_pText(text), m_nSize(size) {}
  ~ItemsSource();
  ItemsSource(const ItemsSource&) = delete;
  ItemsSource& operator=(const ItemsSource&) = delete;

  // Opens an items file (TextFile.h): a folder or a device is refused, and a pipe, which cannot
  // be read twice, is read whole now. False with error->line 0 and the reason.
  bool Open(const std::string& path, ItemsFileError* error);

 private:
  friend class ItemsParser;
  const char* m_pText = nullptr;
  size_t m_nSize = 0;
  FILE* m_pFile = nullptr;  // a regular file, read by each parser from its start
  std::string m_path;
  std::string m_text;  // a pipe's
};

// Reads the items one at a time, straight into the caller's record: a tool loads hundreds of
// thousands of items into the component without a list of them.
class ItemsParser {
 public:
  // Text that the caller keeps alive.
  ItemsParser(const char* text, size_t size);
  // The source from its start; one parser of a source at a time.
  explicit ItemsParser(ItemsSource& source);

  // Fills *item with the next item and returns true; false at the end of the text or at a
  // refused line, which Failed() then tells.
  bool Next(KeyboardItemInfo* item);
  // The same for a glance at the next item: its columns counted, its kind and market read.
  bool Glance(ItemGlance* glance);
  bool Failed() const { return m_bFailed; }
  const ItemsFileError& Error() const { return m_error; }

 private:
  static const int kColumnCount = 7;
  struct Columns {
    const char* begin[kColumnCount];
    const char* end[kColumnCount];
  };

  bool Refuse(const std::string& message);
  // The next line that is neither empty nor a comment, without its line end.
  bool NextLine(const char** begin, const char** end);
  // Reads more of the file behind the unread rest of the buffer; false at its end or on an
  // error, which it reports.
  bool Refill();
  bool SplitColumns(const char* begin, const char* end, Columns* columns);
  // The numbers of type, extra, kind and market (0 to 3), from `first` on.
  bool ParseNumbers(const Columns& columns, int first, int64_t values[4]);
  // The next item line's columns and its numbers from `firstNumber` on.
  bool NextColumns(Columns* columns, int firstNumber, int64_t values[4]);

  const char* m_pNext;
  const char* m_pEnd;
  ItemsSource* m_pSource = nullptr;  // with a file to read
  bool m_bAtStart = true;            // no byte read yet: a byte-order mark may come
  std::string m_buffer;
  int m_nLine = 0;
  bool m_bFailed = false;
  ItemsFileError m_error;
  // One field, raw and decoded, reused from line to line.
  std::string m_field;
  std::wstring m_wide;
};

// Parses the text of an items file; false with *error filled at the first bad line.
bool ParseItems(const std::string& text, std::vector<KeyboardItemInfo>* items,
                ItemsFileError* error);
bool LoadItemsFile(const std::string& path, std::vector<KeyboardItemInfo>* items,
                   ItemsFileError* error);
