#include "TerminalFrame.h"

#include "wfc/ModuleState.h"
#include "wfc/Wnd.h"

CViewManager* TerminalViewManager(CGlobalEnv* env) {
  if (!env) return nullptr;
  CModuleStateScope appState(WfcGetAppModule());
  HWND mainFrame = env->GetMainFrameWnd();
  if (!mainFrame) return nullptr;
  return dynamic_cast<CViewManager*>(CWnd::FromHandlePermanent(mainFrame));
}

CWnd* CurrentView(CViewManager* frame) {
  if (!frame) return nullptr;
  return frame->m_pSecondView ? frame->m_pSecondView : frame->m_pFirstView;
}
