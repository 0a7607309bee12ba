// A mapping table filled with hand-made items inside a terminal whose data centre knows every
// security among them, and a compact text form of search results for order comparisons.
#pragma once

#include <string>
#include <vector>

#include "TableFixture.h"

// "code select", prefixed "C:" for a command, "A:" for an alias and "F:" for a former name.
typedef std::vector<std::wstring> RowList;
RowList Rows(const std::vector<KeyboardItemInfo>& results);

class SearchBed : public TableHost {
 public:
  using TableHost::TableHost;
  // Registers the securities among the items with the data centre (first one wins), then adds
  // them one at a time or in one bulk add (see AddEach and AddAll).
  bool LoadSingle(const std::vector<KeyboardItemInfo>& items) { return Load(items, false); }
  bool LoadBulk(const std::vector<KeyboardItemInfo>& items) { return Load(items, true); }

  std::vector<KeyboardItemInfo> Search(const wchar_t* text, bool excludeCommands = false);
  std::vector<KeyboardItemInfo> SearchIn(const wchar_t* text, const std::vector<int>& filter);
  RowList Find(const wchar_t* text) { return Rows(Search(text)); }
  KeyboardInputMappingTable& Table() { return m_table; }

 private:
  bool Load(const std::vector<KeyboardItemInfo>& items, bool bulk);
  KeyboardInputMappingTable m_table;
};
