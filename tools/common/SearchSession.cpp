#include "SearchSession.h"

#include <cstdio>

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

SearchSession::~SearchSession() {
  if (m_pManager) {
    // The table announces its clearing on standard output; the results are complete by now
    // and must stay the whole of it.
    fflush(stdout);
#ifdef _WIN32
    if (!freopen("NUL", "w", stdout)) fclose(stdout);
#else
    if (!freopen("/dev/null", "w", stdout)) fclose(stdout);
#endif
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
