// A terminal of the tools' own: environment, data centre and one component manager reached
// through GetClassObject, loaded from an items file.
#pragma once

#include <string>
#include <vector>

#include "frame/IHotKeyManager.h"
#include "tools/common/ItemsFile.h"

class CTerminalEnv;
class CSecurityMaster;
class KeyboardInputMappingTable;

struct LoadOptions {
  bool bulk = true;  // one bulk add; false: one single add per item
  bool skipDuplicateCheck = false;
  bool fullPinyin = true;  // the full-pinyin alias items of every security (FullPinyinAliases.h)
};

struct LoadCounts {
  size_t items = 0;    // read from the file
  size_t aliases = 0;  // full-pinyin alias items made beside them
  // Wall time of each step in seconds: the first reading of the file; growing the store; the
  // second reading with every record stored; the sort of the index lists.
  double surveySeconds = 0, growSeconds = 0, storeSeconds = 0, sortSeconds = 0;
};

class SearchSession {
 public:
  SearchSession();
  // Shuts the component down with standard output silenced, so that the table's word on its
  // clearing never joins a tool's results.
  ~SearchSession();
  SearchSession(const SearchSession&) = delete;
  SearchSession& operator=(const SearchSession&) = delete;

  // Loads the items of an items file (ItemsFile.h) into a fresh table, with the full-pinyin
  // aliases the options ask for, and registers with the data centre the securities that aliases
  // name (first registration wins). Reads the source twice. False with *error: the refused line,
  // or line 0 and a message when the file cannot be read or the component refuses.
  bool Load(ItemsSource& source, const LoadOptions& options, LoadCounts* counts,
            ItemsFileError* error);
  void SetOpenMode(int mode);

  IHotKeyManager* Manager() const { return m_pManager; }
  // The manager's table, or null before Load.
  KeyboardInputMappingTable* Table() const;

 private:
  CTerminalEnv* m_pEnv;
  CSecurityMaster* m_pMaster;
  IHotKeyManager* m_pManager;
};

// "0x" and four upper-case hex digits.
std::string FormatTypeWord(unsigned short type);
// One contract result line: select, kind, type, market, extra, code, hotkey, name.
std::string FormatResultLine(const KeyboardItemInfo& item);
