// Shared pieces of the store tests: a terminal environment with a data centre, a manager reached
// through GetClassObject, item builders, a generator of realistic item sets, and a checker of
// the store's invariants.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "frame/IHotKeyManager.h"
#include "frame/RefPtr.h"
#include "support/EnvScope.h"
#include "table/MappingTable.h"

class CSecurityMaster;

namespace store_test {

// The global environment (closing flag clear) with a security master as its data centre, for
// the life of the scope.
class TableHost {
 public:
  TableHost();
  ~TableHost();
  TableHost(const TableHost&) = delete;
  TableHost& operator=(const TableHost&) = delete;

  CTerminalEnv* Env() const { return m_env.get(); }

 private:
  EnvScope m_env;
  TRefPtr<CSecurityMaster> m_master;
};

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
  // The manager's table, or null without one.
  KeyboardInputMappingTable* Table() const;

 private:
  IHotKeyManager* m_pManager;
};

// --- Item builders. ---
KeyboardItemInfo Item(const wchar_t* code, const wchar_t* hotKey, const wchar_t* name,
                      unsigned short type, DWORD kind, unsigned char market = 0xFF, int extra = -1,
                      IUnknown* unknown = nullptr);
// An ordinary security (kind 0).
KeyboardItemInfo Stock(const wchar_t* code, const wchar_t* hotKey, const wchar_t* name,
                       unsigned short type = 0x0102, unsigned char market = 1);
KeyboardItemInfo Cmd(const wchar_t* code, const wchar_t* hotKey, const wchar_t* name,
                     unsigned short type);

// Deterministic items with unique identities: securities of eight categories (with some
// aliases and former names) and commands of every command group. Keys hold no spaces and no
// full-width characters, so the key order is a strict weak order over them. Securities come
// from ids [firstId, firstId + securities), commands likewise; the ids decide the codes.
std::vector<KeyboardItemInfo> MarketSecurities(int count, int firstId = 0);
std::vector<KeyboardItemInfo> MarketCommands(int count, int firstId = 0);

// --- Reading the store. ---
int CategoryOfRecord(const KeyboardItemInfo& record);
// Positions that hold a record (handed out and not released).
int LiveCount(const KeyboardInputMappingTable& table);
// Item positions, in list order, of the index list (group, category).
std::vector<int> ListPositions(const KeyboardInputMappingTable& table, int group, int category);
// Key texts, in list order, of the index list (group, category).
std::vector<std::wstring> ListKeys(const KeyboardInputMappingTable& table, int group, int category);
// Position of the stored record with exactly this identity, or -1.
int FindStored(const KeyboardInputMappingTable& table, const KeyboardItemInfo& identity);

// Every invariant of the store between operations; empty when all hold, otherwise the first
// violations, one a line. checkOrder: every list in ascending key order (valid when the keys
// hold no spaces and no full-width letters and no bulk add left a category unsorted).
std::string StoreViolations(const KeyboardInputMappingTable& table, bool checkOrder = true);

}  // namespace store_test
