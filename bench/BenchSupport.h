// What the store benchmarks share: the host's environment, a manager reached as the terminal
// reaches it, synthetic markets as keyboard item records, and a main that keeps the table's
// announcements out of the report.
#pragma once

#include <vector>

#include "frame/HotKeyManager.h"
#include "frame/KeyboardItemInfo.h"
#include "frame/RefPtr.h"
#include "table/MappingTable.h"

class CTerminalEnv;
class CSecurityMaster;

namespace bench {

// The host's environment, with a data centre, installed for the whole run.
class BenchHost {
 public:
  BenchHost();
  ~BenchHost();
  BenchHost(const BenchHost&) = delete;
  BenchHost& operator=(const BenchHost&) = delete;

 private:
  TRefPtr<CTerminalEnv> m_env;
  TRefPtr<CSecurityMaster> m_master;
};

// One manager from GetClassObject, uninitialised and released at the end of its scope.
class Manager {
 public:
  Manager();
  ~Manager();
  Manager(const Manager&) = delete;
  Manager& operator=(const Manager&) = delete;
  IHotKeyManager* operator->() const { return m_pManager; }
  explicit operator bool() const { return m_pManager != nullptr; }
  KeyboardInputMappingTable* Table() const {
    return static_cast<CHotKeyManager*>(m_pManager)->MappingTable();
  }

 private:
  IHotKeyManager* m_pManager = nullptr;
};

// The synthetic market of that many items as records, generated once per size.
const std::vector<KeyboardItemInfo>& Market(int count);

// Runs the registered benchmarks with the host installed; standard output (where the table
// announces every clearing) goes to /dev/null and the report to the original standard output.
int RunBenchmarks(int argc, char** argv);

}  // namespace bench
