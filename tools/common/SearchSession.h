// A terminal of the tools' own: environment, data centre and one component manager reached
// through GetClassObject, loaded from an items file.
#pragma once

#include <string>
#include <vector>

#include "frame/IHotKeyManager.h"

class CTerminalEnv;
class CSecurityMaster;
class KeyboardInputMappingTable;

struct LoadOptions {
  bool bulk = true;
  bool skipDuplicateCheck = false;
};

class SearchSession {
 public:
  SearchSession();
  ~SearchSession();
  SearchSession(const SearchSession&) = delete;
  SearchSession& operator=(const SearchSession&) = delete;

  // Registers every security of the items with the data centre (first registration wins) and
  // loads them into a fresh table; false with a message when the component refuses.
  bool Load(std::vector<KeyboardItemInfo>& items, const LoadOptions& options, std::string* error);
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
