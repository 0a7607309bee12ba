// The edit as screen readers see it: an editable text named after the pop-up it belongs to (its
// parent's window text, the caption), whose value is the typed text; and the value-change event
// they follow while the trader types.
#include <new>
#include <string>

#include "AccessibleBase.h"
#include "InputEdit.h"

class CInputEdit::CAccessible : public CAccessibleBase {
 public:
  explicit CAccessible(CInputEdit& edit) : CAccessibleBase(edit.m_hWnd), m_edit(edit) {}

 protected:
  long ChildCount() override { return 0; }

  bool Text(TextKind kind, long, std::wstring* text) override {
    switch (kind) {
      case TextKind::Name: {
        HWND parent = ::GetParent(Window());
        wchar_t caption[64] = {};
        if (!parent || ::GetWindowTextW(parent, caption, 64) <= 0) return false;
        *text = caption;
        return true;
      }
      case TextKind::Value:
        *text = m_edit.GetText();
        return true;
      case TextKind::Description:
        // What the list prompts for while nothing is typed.
        *text = L"请输入代码/名称/简拼";
        return true;
      default:
        return false;
    }
  }

  long Role(long) override { return ROLE_SYSTEM_TEXT; }

  long State(long) override {
    long state = STATE_SYSTEM_FOCUSABLE;
    if (::GetFocus() == Window()) state |= STATE_SYSTEM_FOCUSED;
    return state;
  }

  long FocusedChild() override { return ::GetFocus() == Window() ? CHILDID_SELF : -1; }

 private:
  // Reached only while the window is there, which the edit outlives.
  CInputEdit& m_edit;
};

LRESULT CInputEdit::OnGetObject(DWORD flags, LONG objectId) {
  auto make = [this]() -> CAccessibleBase* { return new (std::nothrow) CAccessible(*this); };
  if (LRESULT answer = m_accessible.Answer(flags, objectId, make)) return answer;
  return Default();
}

void CInputEdit::AnnounceValueChange() {
  if (m_hWnd) ::NotifyWinEvent(EVENT_OBJECT_VALUECHANGE, m_hWnd, OBJID_CLIENT, CHILDID_SELF);
}
