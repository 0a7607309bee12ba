// The one environment object that the host installs and every module reads.
#include <mutex>

#include "frame/GlobalEnv.h"

namespace {

std::mutex& EnvMutex() {
  static std::mutex mutex;
  return mutex;
}

CGlobalEnv* g_pGlobalEnv = nullptr;

}  // namespace

TRefPtr<CGlobalEnv> CGlobalEnv::GetGlobalEnv() {
  std::lock_guard<std::mutex> lock(EnvMutex());
  return TRefPtr<CGlobalEnv>(g_pGlobalEnv);
}

void CGlobalEnv::SetGlobalEnv(CGlobalEnv* env) {
  if (env) env->AddRef();
  CGlobalEnv* old;
  {
    std::lock_guard<std::mutex> lock(EnvMutex());
    old = g_pGlobalEnv;
    g_pGlobalEnv = env;
  }
  // The last reference may destroy the old environment, which releases what it holds.
  if (old) old->Release();
}
