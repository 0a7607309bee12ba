// CDialog: a modeless dialog made from a template in the current resource module.
#pragma once

#include "Wnd.h"

class WFC_API CDialog : public CWnd {
 public:
  explicit CDialog(UINT templateId, CWnd* parent = nullptr);
  ~CDialog() override;

  // Creates the window, hidden unless the template says otherwise; parent null takes the one
  // given to the constructor.
  BOOL Create(UINT templateId, CWnd* parent = nullptr);
  BOOL CreateWithParent(UINT templateId, HWND parent);

  UINT m_nIDTemplate;

 protected:
  static const WFC_MSGMAP* GetThisMessageMap();
  const WFC_MSGMAP* GetMessageMap() const override;

  CWnd* m_pParentWnd;
};
