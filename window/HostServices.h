// The terminal's palette and data centre as the windows reach them: each with a reference held,
// or null when the terminal has none (no environment, or no such service in it).
#pragma once

#include "frame/DataMgr.h"
#include "frame/GlobalEnv.h"
#include "frame/RefPtr.h"
#include "frame/Skin.h"

inline TRefPtr<CSWPalette> TerminalPalette() {
  TRefPtr<CGlobalEnv> env = CGlobalEnv::GetGlobalEnv();
  if (!env) return TRefPtr<CSWPalette>();
  return TRefPtr<CSWPalette>(dynamic_cast<CSWPalette*>(env->GetPalette()));
}

inline TRefPtr<CDataMgr> TerminalDataMgr() {
  TRefPtr<CGlobalEnv> env = CGlobalEnv::GetGlobalEnv();
  if (!env) return TRefPtr<CDataMgr>();
  return TRefPtr<CDataMgr>(dynamic_cast<CDataMgr*>(env->GetDataMgr()));
}
