// The list as screen readers see it: a list with one item per shown row, named as the row reads
// ("code name category"), the selected row selected and focused (the keyboard stays in the edit,
// so the list speaks for the row the trader moves through), rows scrolled away offscreen, and a
// description that says how many matches there are. The events tell screen readers when the rows
// or the selection change.
#include <algorithm>
#include <cwchar>
#include <new>
#include <string>

#include "AccessibleBase.h"
#include "SuggestListWnd.h"

class CSuggestListWnd::CAccessible : public CAccessibleBase {
 public:
  explicit CAccessible(CSuggestListWnd& list) : CAccessibleBase(list.m_hWnd), m_list(list) {}

 protected:
  long ChildCount() override {
    long shown = static_cast<long>(m_list.ShownItems().size());
    return std::max(0L, std::min(static_cast<long>(m_list.m_nRowCount), shown));
  }

  bool Text(TextKind kind, long child, std::wstring* text) override {
    if (child != CHILDID_SELF) return kind == TextKind::Name && RowName(child - 1, text);
    switch (kind) {
      case TextKind::Name:
        *text = m_list.m_bHasInput ? L"搜索结果" : L"搜索记录";
        return true;
      case TextKind::Description:
        *text = CountText();
        return true;
      default:
        return false;
    }
  }

  long Role(long child) override {
    return child == CHILDID_SELF ? ROLE_SYSTEM_LIST : ROLE_SYSTEM_LISTITEM;
  }

  long State(long child) override {
    if (child == CHILDID_SELF) return STATE_SYSTEM_READONLY;
    long index = child - 1;
    long state = STATE_SYSTEM_SELECTABLE | STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_READONLY;
    if (index == SelectedIndex()) state |= STATE_SYSTEM_SELECTED | STATE_SYSTEM_FOCUSED;
    if (index == m_list.m_nTop + m_list.m_nHover && m_list.m_nHover >= 0)
      state |= STATE_SYSTEM_HOTTRACKED;
    long slot = index - m_list.m_nTop;
    if (slot < 0 || slot >= m_list.m_nVisibleRows) state |= STATE_SYSTEM_OFFSCREEN;
    return state;
  }

  // A row on screen has its slot's place; a row scrolled away lies where it would be, above or
  // below the list, as the rows' height steps it.
  bool ChildRect(long child, RECT* screen) override {
    if (child == CHILDID_SELF) return CAccessibleBase::ChildRect(child, screen);
    long slot = child - 1 - m_list.m_nTop;
    RECT row;
    if (slot >= 0 && slot < m_list.m_nVisibleRows && slot < SUGGEST_MAX_ROWS) {
      row = m_list.m_rcRows[slot];
    } else {
      row = m_list.m_rcRows[0];
      int height = row.bottom - row.top;
      ::OffsetRect(&row, 0, static_cast<int>(slot) * height);
    }
    // Rows run under the scrollbar strip; the row's text ends where the strip begins.
    if (m_list.m_rcList.right > row.left) row.right = std::min(row.right, m_list.m_rcList.right);
    ::MapWindowPoints(Window(), nullptr, reinterpret_cast<POINT*>(&row), 2);
    *screen = row;
    return true;
  }

  long ChildAt(POINT client) override {
    int slot = 0, edge = 0;
    if (!m_list.HitTest(client.x, client.y, slot, edge) || edge != 0) return CHILDID_SELF;
    long index = m_list.m_nTop + slot;
    return index < ChildCount() ? index + 1 : CHILDID_SELF;
  }

  long FocusedChild() override { return SelectedChild(); }

  long SelectedChild() override {
    long index = SelectedIndex();
    return index >= 0 ? index + 1 : -1;
  }

 private:
  long SelectedIndex() {
    long index = m_list.m_nTop + m_list.m_nSelected;
    return index >= 0 && index < ChildCount() ? index : -1;
  }

  bool RowName(long index, std::wstring* text) {
    CString category, code, name;
    if (!m_list.GetRowTexts(category, code, name, static_cast<int>(index), m_list.ShownItems()))
      return false;
    *text = std::wstring(static_cast<const wchar_t*>(code)) + L" " +
            static_cast<const wchar_t*>(name) + L" " + static_cast<const wchar_t*>(category);
    return true;
  }

  std::wstring CountText() {
    long count = ChildCount();
    if (count == 0) return m_list.m_bHasInput ? L"未找到匹配结果" : L"请输入代码/名称/简拼";
    wchar_t text[32];
    swprintf(text, 32, m_list.m_bHasInput ? L"共%ld个匹配结果" : L"共%ld条搜索记录", count);
    return text;
  }

  // Reached only while the window is there, which the list outlives.
  CSuggestListWnd& m_list;
};

LRESULT CSuggestListWnd::OnGetObject(DWORD flags, LONG objectId) {
  auto make = [this]() -> CAccessibleBase* { return new (std::nothrow) CAccessible(*this); };
  if (LRESULT answer = m_accessible.Answer(flags, objectId, make)) return answer;
  return Default();
}

// New rows under the same numbers: the count and the children change, and the selected row is
// announced again even where its number stays, with its new name.
void CSuggestListWnd::AnnounceItems() {
  if (!m_hWnd) return;
  ::NotifyWinEvent(EVENT_OBJECT_REORDER, m_hWnd, OBJID_CLIENT, CHILDID_SELF);
  ::NotifyWinEvent(EVENT_OBJECT_DESCRIPTIONCHANGE, m_hWnd, OBJID_CLIENT, CHILDID_SELF);
  // The list names itself after what it shows: the results of a search or the recent picks.
  if (m_bHasInput != m_bAnnouncedInput) {
    m_bAnnouncedInput = m_bHasInput;
    ::NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, m_hWnd, OBJID_CLIENT, CHILDID_SELF);
  }
  m_nAnnouncedItem = -1;
  AnnounceSelection();
  if (m_nAnnouncedItem >= 0)
    ::NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, m_hWnd, OBJID_CLIENT, m_nAnnouncedItem + 1);
}

// Keys, the mouse and the scrollbar move the selection by slot, by scrolling or both; only a
// different selected item is news.
void CSuggestListWnd::AnnounceSelection() {
  if (!m_hWnd) return;
  int item = m_nTop + m_nSelected;
  if (m_nRowCount <= 0 || item < 0 || item >= m_nRowCount) item = -1;
  if (item == m_nAnnouncedItem) return;
  m_nAnnouncedItem = item;
  if (item < 0) return;
  ::NotifyWinEvent(EVENT_OBJECT_SELECTION, m_hWnd, OBJID_CLIENT, item + 1);
  ::NotifyWinEvent(EVENT_OBJECT_FOCUS, m_hWnd, OBJID_CLIENT, item + 1);
}
