// The terminal's services as a window test needs them: an environment with the test palette and
// a data centre, installed for the life of the scope.
#pragma once

#include "TestPalette.h"
#include "frame/RefPtr.h"
#include "services/SecurityMaster.h"
#include "services/TerminalEnv.h"

class UiEnv {
 public:
  UiEnv();
  ~UiEnv();
  UiEnv(const UiEnv&) = delete;
  UiEnv& operator=(const UiEnv&) = delete;

  CTerminalEnv* env() const { return m_env.get(); }
  CTestPalette* palette() const { return m_palette.get(); }
  CSecurityMaster* securities() const { return m_securities.get(); }

 private:
  TRefPtr<CTerminalEnv> m_env;
  TRefPtr<CTestPalette> m_palette;
  TRefPtr<CSecurityMaster> m_securities;
};
