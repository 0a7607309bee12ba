// Shared pieces of the store and matcher tests: item builders, a terminal environment with a data
// centre, a manager reached through GetClassObject, generated item sets, and a checker of the
// store's invariants.
#pragma once

#include <string>
#include <vector>

#include "frame/IHotKeyManager.h"
#include "frame/RefPtr.h"
#include "EnvScope.h"
#include "table/MappingTable.h"

class CSecurityMaster;

// Type words as the terminal registers them, with their categories.
namespace type_word {
const unsigned short SH_A = 0x0102, SZ_A = 0x0006, SZ_A_GEM = 0x0050, STAR = 0x0117;  // 11 12 14 15
const unsigned short SH_B = 0x0103, HK_MAIN = 0x7403, HK_OTHER = 0x0300;              // 17 21 22
const unsigned short SH_INDEX = 0x0101, INDEX = 0x0200, SH_FUND = 0x0109;             // 35 37 39
const unsigned short SZ_FUND = 0x000A, SH_BOND = 0x0104, SZ_BOND = 0x0008;            // 40 41 42
const unsigned short FUTURE = 0x0797, DELISTED = 0x0112, UNKNOWN = 0xFFFF;            // 44 64 66
// Commands: 功能 (numeric) 5, 指标 6, 板块 71, 交易 0..4 by sub-group.
const unsigned short FUNCTION_CMD = 0x6400, INDICATOR_CMD = 0x6500, BLOCK_CMD = 0x6600;
const unsigned short TRADE_CMD = 0x6700;
}  // namespace type_word

KeyboardItemInfo Item(const wchar_t* code, const wchar_t* hotKey, const wchar_t* name,
                      unsigned short type, DWORD kind, unsigned char market = 0xFF, int extra = -1,
                      IUnknown* unknown = nullptr);
inline KeyboardItemInfo Security(const wchar_t* code, const wchar_t* hotKey, const wchar_t* name,
                                 unsigned short type = type_word::SH_A, unsigned char market = 1,
                                 DWORD kind = 0) {
  return Item(code, hotKey, name, type, kind, market);
}
inline KeyboardItemInfo Command(const wchar_t* code, const wchar_t* hotKey, const wchar_t* name,
                                unsigned short type, int extra = -1) {
  return Item(code, hotKey, name, type, KIND_COMMAND, 0xFF, extra);
}
inline KeyboardItemInfo Alias(const wchar_t* code, const wchar_t* hotKey, const wchar_t* name,
                              unsigned short type, unsigned char market) {
  return Security(code, hotKey, name, type, market, KIND_ALIAS);
}
inline KeyboardItemInfo FormerName(const wchar_t* code, const wchar_t* hotKey, const wchar_t* name,
                                   unsigned short type, unsigned char market) {
  return Security(code, hotKey, name, type, market, KIND_FORMER_NAME);
}

// The global environment (closing flag clear), with a security master as its data centre unless
// asked not to.
class TableHost {
 public:
  explicit TableHost(bool withDataCentre = true);
  ~TableHost();
  CTerminalEnv* Env() const { return m_env.get(); }
  CSecurityMaster* Master() const { return m_master.get(); }

 private:
  EnvScope m_env;
  TRefPtr<CSecurityMaster> m_master;
};

namespace store_test {
using ::TableHost;
}

// One manager from GetClassObject, initialised unless asked not to; uninitialised and released
// at the end of the scope.
class ManagerScope {
 public:
  explicit ManagerScope(bool initialize = true);
  ~ManagerScope();
  ManagerScope(const ManagerScope&) = delete;
  ManagerScope& operator=(const ManagerScope&) = delete;

  IHotKeyManager* operator->() const { return m_pManager; }
  IHotKeyManager* get() const { return m_pManager; }
  KeyboardInputMappingTable* Table() const;  // null without one

 private:
  IHotKeyManager* m_pManager;
};

// Deterministic items with unique identities: securities of eight categories (with some
// aliases and former names) and commands of every command group. Keys hold no spaces and no
// full-width characters, so the key order is a strict weak order over them. Ids in
// [firstId, firstId + count) decide the codes.
std::vector<KeyboardItemInfo> MarketSecurities(int count, int firstId = 0);
std::vector<KeyboardItemInfo> MarketCommands(int count, int firstId = 0);

// Adds the items one at a time with sorted insert, or in one bulk add sorting every list; both
// with the duplicate check on. False when the table refused one.
bool AddEach(KeyboardInputMappingTable& table, const std::vector<KeyboardItemInfo>& items);
bool AddAll(KeyboardInputMappingTable& table, const std::vector<KeyboardItemInfo>& items);

int CategoryOfRecord(const KeyboardItemInfo& record);
// Positions that hold a record (handed out and not released).
int LiveCount(const KeyboardInputMappingTable& table);
// Item positions, or key texts, in list order of the index list (group, category).
std::vector<int> ListPositions(const KeyboardInputMappingTable& table, int group, int category);
std::vector<std::wstring> ListKeys(const KeyboardInputMappingTable& table, int group, int category);
// Position of the stored record with exactly this identity, or -1; and its removal.
int FindStored(const KeyboardInputMappingTable& table, const KeyboardItemInfo& identity);
int RemoveStored(KeyboardInputMappingTable& table, const KeyboardItemInfo& identity);

// Every invariant of the store between operations; empty when all hold, otherwise the first
// violations, one a line. checkOrder: every list in ascending key order (valid when the keys
// hold no spaces and no full-width letters and no bulk add left a category unsorted).
std::string StoreViolations(const KeyboardInputMappingTable& table, bool checkOrder = true);
