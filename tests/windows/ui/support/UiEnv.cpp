#include "UiEnv.h"

UiEnv::UiEnv()
    : m_env(new CTerminalEnv), m_palette(new CTestPalette), m_securities(new CSecurityMaster) {
  m_env->SetPalette(m_palette.get());
  m_env->SetDataMgr(m_securities.get());
  CGlobalEnv::SetGlobalEnv(m_env.get());
}

UiEnv::~UiEnv() { CGlobalEnv::SetGlobalEnv(nullptr); }
