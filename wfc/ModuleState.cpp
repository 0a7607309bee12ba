#include "ModuleState.h"

namespace {

thread_local HINSTANCE t_hResources = nullptr;

}  // namespace

CModuleStateScope::CModuleStateScope(HINSTANCE resources) : m_hPrevious(t_hResources) {
  t_hResources = resources;
}

CModuleStateScope::~CModuleStateScope() { t_hResources = m_hPrevious; }

HINSTANCE WfcGetResourceHandle() { return t_hResources ? t_hResources : WfcGetAppModule(); }

HINSTANCE WfcGetAppModule() { return GetModuleHandleW(nullptr); }
