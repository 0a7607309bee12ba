// Items files read from disk: opened once, read by each parser from the start, a block at a
// time. Apart from ItemsFile.cpp so that a program that parses only text it holds (the demo
// terminal's built-in items) needs nothing of the file system.
#include <cstdio>

#include "tools/common/ItemsFile.h"
#include "tools/common/TextFile.h"

ItemsSource::~ItemsSource() {
  if (m_pFile) fclose(m_pFile);
}

bool ItemsSource::Open(const std::string& path, ItemsFileError* error) {
  error->line = 0;
  bool regular = false;
  FILE* file = OpenTextFile(path, FileKinds::kFilesAndPipes, &regular, &error->message);
  if (!file) return false;
  m_path = path;
  if (regular) {
    m_pFile = file;
    return true;
  }
  bool read = ReadRest(file, path, &m_text, &error->message);
  fclose(file);
  m_pText = m_text.data();
  m_nSize = m_text.size();
  return read;
}

bool LoadItemsFile(const std::string& path, std::vector<KeyboardItemInfo>* items,
                   ItemsFileError* error) {
  ItemsSource source;
  if (!source.Open(path, error)) return false;
  ItemsParser parser(source);
  KeyboardItemInfo item;
  while (parser.Next(&item)) items->push_back(item);
  if (parser.Failed()) *error = parser.Error();
  return !parser.Failed();
}
