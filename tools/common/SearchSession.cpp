#include "SearchSession.h"

#include <fcntl.h>

#include <cstdio>
#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

#include "frame/HotKeyManager.h"
#include "platform/Utf8.h"
#include "services/SecurityMaster.h"
#include "services/TerminalEnv.h"
#include "table/MappingTable.h"

SearchSession::SearchSession()
    : m_pEnv(new CTerminalEnv), m_pMaster(new CSecurityMaster), m_pManager(nullptr) {
  m_pEnv->AddRef();
  m_pMaster->AddRef();
  m_pEnv->SetDataMgr(m_pMaster);
  CGlobalEnv::SetGlobalEnv(m_pEnv);
}

namespace {

#ifdef _WIN32
const char kNullDevice[] = "NUL";
#else
const char kNullDevice[] = "/dev/null";
#endif

// Standard output goes to the null device for the life of the object, and comes back after.
class SilencedStdout {
 public:
  SilencedStdout() : m_fd(fileno(stdout)), m_saved(-1) {
    fflush(stdout);
    int null = open(kNullDevice, O_WRONLY);
    if (null < 0) return;
    m_saved = dup(m_fd);
    if (m_saved >= 0) dup2(null, m_fd);
    close(null);
  }
  ~SilencedStdout() {
    fflush(stdout);
    if (m_saved < 0) return;
    dup2(m_saved, m_fd);
    close(m_saved);
  }
  SilencedStdout(const SilencedStdout&) = delete;
  SilencedStdout& operator=(const SilencedStdout&) = delete;

 private:
  int m_fd, m_saved;
};

}  // namespace

SearchSession::~SearchSession() {
  if (m_pManager) {
    // The table announces its clearing on standard output; the results are complete by now
    // and must stay the whole of it.
    SilencedStdout silenced;
    m_pManager->Uninitialize();
    m_pManager->Release();
  }
  CGlobalEnv::SetGlobalEnv(nullptr);
  m_pEnv->SetDataMgr(nullptr);
  m_pMaster->Release();
  m_pEnv->Release();
}

// The tools link the component statically, so the manager behind the interface is ours.
KeyboardInputMappingTable* SearchSession::Table() const {
  auto* manager = static_cast<CHotKeyManager*>(m_pManager);
  return manager ? manager->MappingTable() : nullptr;
}

void SearchSession::SetOpenMode(int mode) {
  if (KeyboardInputMappingTable* table = Table()) table->m_nOpenMode = mode;
}

std::string FormatTypeWord(unsigned short type) {
  char text[8];
  snprintf(text, sizeof(text), "0x%04X", static_cast<unsigned>(type));
  return text;
}

std::string FormatResultLine(const KeyboardItemInfo& item) {
  std::string line = std::to_string(static_cast<int>(item.m_eSelectType));
  line += '\t';
  line += std::to_string(static_cast<unsigned long>(item.m_dwKind));
  line += '\t';
  line += FormatTypeWord(item.m_wType);
  line += '\t';
  line += std::to_string(static_cast<unsigned>(item.m_cMarket));
  line += '\t';
  line += std::to_string(item.m_nExtraInfo);
  line += '\t';
  line += plat::WideToUtf8(item.m_szCode);
  line += '\t';
  line += plat::WideToUtf8(item.m_szHotKey);
  line += '\t';
  line += plat::WideToUtf8(item.m_szName);
  return line;
}
