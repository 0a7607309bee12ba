#include "Dialog.h"

#include "ModuleState.h"

namespace {

// The dialog manager's own procedure: everything goes through the framework's window procedure
// first, so this only declines the initial focus (a pop-up must not take it when created).
INT_PTR CALLBACK WfcDlgProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

}  // namespace

CDialog::CDialog(UINT templateId, CWnd* parent) : m_nIDTemplate(templateId), m_pParentWnd(parent) {}

CDialog::~CDialog() {}

BOOL CDialog::Create(UINT templateId, CWnd* parent) {
  if (!parent) parent = m_pParentWnd;
  return CreateWithParent(templateId, parent ? parent->m_hWnd : nullptr);
}

BOOL CDialog::CreateWithParent(UINT templateId, HWND parent) {
  if (m_hWnd) return FALSE;
  m_nIDTemplate = templateId;
  HWND wnd;
  {
    CWndCreateScope scope(this);
    wnd = CreateDialogParamW(WfcGetResourceHandle(), MAKEINTRESOURCEW(templateId), parent,
                             WfcDlgProc, 0);
  }
  if (!wnd) {
    if (m_hWnd) DetachHandle();
    return FALSE;
  }
  return TRUE;
}

const WFC_MSGMAP* CDialog::GetThisMessageMap() {
  static const WFC_MSGMAP_ENTRY entries[] = {{0, 0, 0, nullptr}};
  static const WFC_MSGMAP map = {&CWnd::GetThisMessageMap, entries};
  return &map;
}

const WFC_MSGMAP* CDialog::GetMessageMap() const { return GetThisMessageMap(); }
