// Installs a fresh CTerminalEnv as the global environment for the life of a test and tears it
// down afterwards, so no test sees another's environment.
#pragma once

#include "frame/RefPtr.h"
#include "services/TerminalEnv.h"

class EnvScope {
 public:
  EnvScope() : m_env(new CTerminalEnv) { CGlobalEnv::SetGlobalEnv(m_env.get()); }
  ~EnvScope() { CGlobalEnv::SetGlobalEnv(nullptr); }
  EnvScope(const EnvScope&) = delete;
  EnvScope& operator=(const EnvScope&) = delete;

  CTerminalEnv* operator->() const { return m_env.get(); }
  CTerminalEnv* get() const { return m_env.get(); }

 private:
  TRefPtr<CTerminalEnv> m_env;
};
