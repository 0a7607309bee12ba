// Typed access to the services that the environment holds as IUnknown pointers.
#pragma once

#include "frame/DataMgr.h"
#include "frame/GlobalEnv.h"
#include "frame/RefPtr.h"

namespace ts {

// The environment's data centre with a reference held, or null when there is none.
inline TRefPtr<CDataMgr> QueryDataMgr(CGlobalEnv* env) {
  if (!env) return TRefPtr<CDataMgr>();
  return TRefPtr<CDataMgr>(dynamic_cast<CDataMgr*>(env->GetDataMgr()));
}

}  // namespace ts
