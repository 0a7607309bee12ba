// The pop-up as a screen reader sees it: the edit's and the list's accessible objects fetched the
// way a client fetches them (AccessibleObjectFromWindow), the events a WinEvent hook receives while
// the trader types and moves through the rows, and objects held past their windows' end.
#include <gtest/gtest.h>
#include <windows.h>

#include <oleacc.h>

#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "frame/IHotKeyManager.h"
#include "frame/SmartKeyboardPopup.h"
#include "support/Pump.h"
#include "support/SuggestListHost.h"
#include "support/TestTerminal.h"
#include "support/WindowPeers.h"
#include "table/MappingTable.h"
#include "window/InputEdit.h"
#include "window/SmartKeyboardDlg.h"
#include "window/SuggestListWnd.h"

namespace {

struct WinEvent {
  DWORD event;
  HWND wnd;
  LONG object;
  LONG child;
  bool operator==(const WinEvent& other) const {
    return event == other.event && wnd == other.wnd && object == other.object &&
           child == other.child;
  }
};

std::vector<WinEvent>* g_events = nullptr;

void CALLBACK RecordWinEvent(HWINEVENTHOOK, DWORD event, HWND wnd, LONG object, LONG child, DWORD,
                             DWORD) {
  if (g_events) g_events->push_back(WinEvent{event, wnd, object, child});
}

// Object events of this process, as a screen reader's hook receives them.
class WinEventRecorder {
 public:
  WinEventRecorder() {
    g_events = &m_events;
    m_hook = SetWinEventHook(EVENT_OBJECT_CREATE, EVENT_OBJECT_END, nullptr, RecordWinEvent,
                             GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
  }
  ~WinEventRecorder() {
    if (m_hook) UnhookWinEvent(m_hook);
    g_events = nullptr;
  }
  bool Installed() const { return m_hook != nullptr; }
  // Out-of-context events arrive through the message queue.
  bool WaitFor(DWORD event, HWND wnd, LONG child) {
    return PumpUntil([&] { return Seen(event, wnd, child) > 0; });
  }
  int Seen(DWORD event, HWND wnd, LONG child) const {
    int count = 0;
    for (const WinEvent& e : m_events)
      if (e == WinEvent{event, wnd, OBJID_CLIENT, child}) ++count;
    return count;
  }
  void Clear() { m_events.clear(); }

 private:
  std::vector<WinEvent> m_events;
  HWINEVENTHOOK m_hook = nullptr;
};

struct ReleaseAccessible {
  void operator()(IAccessible* object) const { object->Release(); }
};
typedef std::unique_ptr<IAccessible, ReleaseAccessible> AccessiblePtr;

AccessiblePtr ClientObject(HWND wnd) {
  IAccessible* object = nullptr;
  HRESULT hr = AccessibleObjectFromWindow(wnd, static_cast<DWORD>(OBJID_CLIENT),
                                          __uuidof(IAccessible), reinterpret_cast<void**>(&object));
  return AccessiblePtr(SUCCEEDED(hr) ? object : nullptr);
}

VARIANT Child(long id) {
  VARIANT child;
  child.vt = VT_I4;
  child.lVal = id;
  return child;
}

typedef HRESULT (STDMETHODCALLTYPE IAccessible::*TextGetter)(VARIANT, BSTR*);

// The text, or "<none>" when the object has none or the call failed.
std::wstring Text(IAccessible* object, TextGetter getter, long child) {
  BSTR text = nullptr;
  HRESULT hr = (object->*getter)(Child(child), &text);
  std::wstring result = hr == S_OK && text ? std::wstring(text, SysStringLen(text)) : L"<none>";
  SysFreeString(text);
  return result;
}

std::wstring Name(IAccessible* object, long child = CHILDID_SELF) {
  return Text(object, &IAccessible::get_accName, child);
}

std::wstring Value(IAccessible* object) {
  return Text(object, &IAccessible::get_accValue, CHILDID_SELF);
}

std::wstring Description(IAccessible* object) {
  return Text(object, &IAccessible::get_accDescription, CHILDID_SELF);
}

long Role(IAccessible* object, long child = CHILDID_SELF) {
  VARIANT role;
  VariantInit(&role);
  return SUCCEEDED(object->get_accRole(Child(child), &role)) && role.vt == VT_I4 ? role.lVal : -1;
}

long State(IAccessible* object, long child = CHILDID_SELF) {
  VARIANT state;
  VariantInit(&state);
  return SUCCEEDED(object->get_accState(Child(child), &state)) && state.vt == VT_I4 ? state.lVal
                                                                                    : -1;
}

long ChildCount(IAccessible* object) {
  long count = -1;
  return SUCCEEDED(object->get_accChildCount(&count)) ? count : -1;
}

const long kSelectedAndFocused = STATE_SYSTEM_SELECTED | STATE_SYSTEM_FOCUSED;

KeyboardItemInfo Security(const wchar_t* code, const wchar_t* hotKey, const wchar_t* name,
                          unsigned short type, unsigned char market, int extra) {
  KeyboardItemInfo item(code, hotKey, name, type, extra, nullptr, 0, KEYBOARD_SELECT_NONE);
  item.m_cMarket = market;
  return item;
}

class AccessibilityTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // A screen reader's objects reach the pop-up through COM, as in any terminal that uses it.
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    m_terminal.reset(new TestTerminal);
    CSecurityMaster* securities = m_terminal->m_env.securities();
    securities->AddSecurity(L"600000", 1, L"浦发银行");
    securities->AddSecurity(L"600036", 1, L"招商银行");
    IUnknown* unknown = nullptr;
    ASSERT_EQ(GetClassObject(&unknown, HOTKEY_MANAGER_CLSID), S_OK);
    m_manager = static_cast<IHotKeyManager*>(unknown);
    m_terminal->m_view.m_pManager = m_manager;
    ASSERT_TRUE(m_manager->Initialize());
    std::vector<KeyboardItemInfo> items = {
        Security(L"600000", L"PFYH", L"浦发银行", 0x0102, 1, 1001),
        Security(L"600036", L"ZSYH", L"招商银行", 0x0102, 1, 1002),
    };
    for (int i = 0; i < 30; ++i) {
      wchar_t code[8];
      swprintf(code, 8, L"6011%02d", i);
      items.push_back(Security(code, L"SYNT", L"合成", 0x0102, 1, 2000 + i));
    }
    ASSERT_TRUE(
        m_manager->AddKeyboardItems(items.data(), static_cast<int>(items.size()), nullptr, FALSE));
  }
  void TearDown() override {
    if (m_manager) {
      m_manager->Uninitialize();
      m_manager->Release();
    }
    m_terminal.reset();
    CoUninitialize();
  }

  CSmartKeyboardDlg* Dialog() const {
    HWND wnd = FindWindowW(L"#32770", nullptr);
    return static_cast<CSmartKeyboardDlg*>(CWnd::FromHandlePermanent(wnd));
  }
  SmartKeyboardDlgTestPeer Peer() const { return SmartKeyboardDlgTestPeer(*Dialog()); }
  HWND EditWnd() const { return Peer().Edit().m_hWnd; }
  HWND ListWnd() const { return Peer().List().m_hWnd; }
  void KeyIntoEdit(UINT vk) {
    Peer().Edit().SendMessageW(WM_KEYDOWN, vk, 1);
    PumpPending();
  }

  std::unique_ptr<TestTerminal> m_terminal;
  IHotKeyManager* m_manager = nullptr;
};

}  // namespace

TEST_F(AccessibilityTest, AfterTypingTheEditAndTheListReadAsThePopupShowsThem) {
  WinEventRecorder events;
  ASSERT_TRUE(events.Installed());
  m_terminal->Type(L"6000");
  ASSERT_NE(Dialog(), nullptr);
  ASSERT_TRUE(Dialog()->IsWindowVisible());

  AccessiblePtr edit = ClientObject(EditWnd());
  ASSERT_NE(edit, nullptr);
  EXPECT_EQ(Role(edit.get()), ROLE_SYSTEM_TEXT);
  EXPECT_EQ(Name(edit.get()), L"Quorvane键盘精灵");
  EXPECT_EQ(Value(edit.get()), L"6000");
  EXPECT_EQ(State(edit.get()) & (STATE_SYSTEM_FOCUSED | STATE_SYSTEM_INVISIBLE),
            STATE_SYSTEM_FOCUSED);
  EXPECT_EQ(ChildCount(edit.get()), 0);

  AccessiblePtr list = ClientObject(ListWnd());
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(Role(list.get()), ROLE_SYSTEM_LIST);
  ASSERT_EQ(ChildCount(list.get()), 2);
  EXPECT_EQ(Description(list.get()), L"共2个匹配结果");
  EXPECT_EQ(Role(list.get(), 1), ROLE_SYSTEM_LISTITEM);
  EXPECT_EQ(Name(list.get(), 1), L"600000 浦发银行 沪A");
  EXPECT_EQ(Name(list.get(), 2), L"600036 招商银行 沪A");
  EXPECT_EQ(State(list.get(), 1) & (kSelectedAndFocused | STATE_SYSTEM_OFFSCREEN),
            kSelectedAndFocused);
  EXPECT_EQ(State(list.get(), 2) & (kSelectedAndFocused | STATE_SYSTEM_OFFSCREEN), 0);
  VARIANT beyond = Child(3);
  BSTR text = nullptr;
  EXPECT_EQ(list->get_accName(beyond, &text), E_INVALIDARG);

  // The edit took the keyboard when the pop-up opened; the system announces that for it.
  EXPECT_TRUE(events.WaitFor(EVENT_OBJECT_FOCUS, EditWnd(), CHILDID_SELF));

  // Every keystroke changed the edit's value; the last search's row was announced as selected
  // and focused, and as renamed under its number.
  EXPECT_TRUE(events.WaitFor(EVENT_OBJECT_VALUECHANGE, EditWnd(), CHILDID_SELF));
  EXPECT_EQ(events.Seen(EVENT_OBJECT_VALUECHANGE, EditWnd(), CHILDID_SELF), 4);
  EXPECT_TRUE(events.WaitFor(EVENT_OBJECT_SELECTION, ListWnd(), 1));
  EXPECT_GE(events.Seen(EVENT_OBJECT_FOCUS, ListWnd(), 1), 1);
  EXPECT_GE(events.Seen(EVENT_OBJECT_REORDER, ListWnd(), CHILDID_SELF), 1);
  EXPECT_GE(events.Seen(EVENT_OBJECT_NAMECHANGE, ListWnd(), 1), 1);

  // Text that matches nothing: no rows, and the list says so.
  events.Clear();
  m_terminal->Type(L"9");
  EXPECT_EQ(Value(edit.get()), L"60009");
  EXPECT_EQ(ChildCount(list.get()), 0);
  EXPECT_EQ(Description(list.get()), L"未找到匹配结果");
  EXPECT_TRUE(events.WaitFor(EVENT_OBJECT_DESCRIPTIONCHANGE, ListWnd(), CHILDID_SELF));
  EXPECT_EQ(events.Seen(EVENT_OBJECT_SELECTION, ListWnd(), 1), 0);
}

TEST_F(AccessibilityTest, SelectionAndScrollingMoveTheStatesAndAnnounceTheNewRow) {
  m_terminal->Type(L"60");
  ASSERT_NE(Dialog(), nullptr);
  AccessiblePtr list = ClientObject(ListWnd());
  ASSERT_NE(list, nullptr);
  SuggestListTestPeer peer = Peer().ListPeer();
  const long count = static_cast<long>(peer.Results().size());
  const long rows = peer.VisibleRows();
  ASSERT_EQ(count, 32);
  ASSERT_LT(rows, count);
  EXPECT_EQ(ChildCount(list.get()), count);
  EXPECT_EQ(Description(list.get()), L"共32个匹配结果");
  EXPECT_EQ(Name(list.get(), 2), L"600036 招商银行 沪A");
  // Rows past the last visible slot are scrolled away.
  EXPECT_EQ(State(list.get(), rows) & STATE_SYSTEM_OFFSCREEN, 0);
  EXPECT_NE(State(list.get(), rows + 1) & STATE_SYSTEM_OFFSCREEN, 0);

  WinEventRecorder events;
  KeyIntoEdit(VK_DOWN);
  EXPECT_EQ(State(list.get(), 1) & kSelectedAndFocused, 0);
  EXPECT_EQ(State(list.get(), 2) & kSelectedAndFocused, kSelectedAndFocused);
  VARIANT selection;
  VariantInit(&selection);
  ASSERT_EQ(list->get_accSelection(&selection), S_OK);
  EXPECT_EQ(selection.vt, VT_I4);
  EXPECT_EQ(selection.lVal, 2);
  EXPECT_TRUE(events.WaitFor(EVENT_OBJECT_SELECTION, ListWnd(), 2));
  EXPECT_EQ(events.Seen(EVENT_OBJECT_FOCUS, ListWnd(), 2), 1);

  // End scrolls to the last page: the last row is selected, the first ones are scrolled away.
  events.Clear();
  KeyIntoEdit(VK_END);
  ASSERT_GT(peer.Top(), 0);
  EXPECT_EQ(State(list.get(), count) & kSelectedAndFocused, kSelectedAndFocused);
  EXPECT_EQ(State(list.get(), count) & STATE_SYSTEM_OFFSCREEN, 0);
  EXPECT_NE(State(list.get(), 1) & STATE_SYSTEM_OFFSCREEN, 0);
  EXPECT_TRUE(events.WaitFor(EVENT_OBJECT_SELECTION, ListWnd(), count));

  // Where the rows are: the selected one lies in its slot on the screen, and a hit test there
  // finds it.
  long left = 0, top = 0, width = 0, height = 0;
  ASSERT_EQ(list->accLocation(&left, &top, &width, &height, Child(count)), S_OK);
  RECT slot = peer.RowRect(static_cast<int>(count - 1 - peer.Top()));
  MapWindowPoints(ListWnd(), nullptr, reinterpret_cast<POINT*>(&slot), 2);
  EXPECT_EQ(top, slot.top);
  EXPECT_EQ(height, slot.bottom - slot.top);
  VARIANT hit;
  VariantInit(&hit);
  ASSERT_EQ(list->accHitTest(left + 2, top + height / 2, &hit), S_OK);
  EXPECT_EQ(hit.vt, VT_I4);
  EXPECT_EQ(hit.lVal, count);

  // Moving within the same item announces nothing new.
  events.Clear();
  KeyIntoEdit(VK_END);
  PumpPending();
  EXPECT_EQ(events.Seen(EVENT_OBJECT_SELECTION, ListWnd(), count), 0);
}

TEST_F(AccessibilityTest, WithTheFieldEmptiedTheListReadsAsThePromptOrTheRecentPicks) {
  m_terminal->Type(L"6");
  ASSERT_NE(Dialog(), nullptr);
  // A history of the test's own, empty: other tests' picks stay in theirs.
  const std::wstring historyPath = TempHistoryPath();
  Peer().ListPeer().UseHistoryFile(historyPath);
  AccessiblePtr list = ClientObject(ListWnd());
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(Name(list.get()), L"搜索结果");

  // Nothing picked yet: an empty list that prompts for input.
  WinEventRecorder events;
  KeyIntoEdit(VK_BACK);
  ASSERT_STREQ(Peer().Edit().GetText(), L"");
  EXPECT_EQ(ChildCount(list.get()), 0);
  EXPECT_EQ(Name(list.get()), L"搜索记录");
  EXPECT_EQ(Description(list.get()), L"请输入代码/名称/简拼");
  EXPECT_TRUE(events.WaitFor(EVENT_OBJECT_NAMECHANGE, ListWnd(), CHILDID_SELF));

  // A pick, and the emptied field of the next search lists it as the recent search it is.
  m_terminal->Type(L"600036");
  KeyIntoEdit(VK_RETURN);
  ASSERT_TRUE(PumpUntil([&] { return !Peer().ListPeer().History().Items().empty(); }));
  m_terminal->Type(L"6");
  ASSERT_TRUE(Dialog()->IsWindowVisible());
  EXPECT_EQ(Name(list.get()), L"搜索结果");
  events.Clear();
  KeyIntoEdit(VK_BACK);
  ASSERT_EQ(ChildCount(list.get()), 1);
  EXPECT_EQ(Name(list.get()), L"搜索记录");
  EXPECT_EQ(Description(list.get()), L"共1条搜索记录");
  EXPECT_EQ(Name(list.get(), 1), L"600036 招商银行 沪A");
  EXPECT_EQ(State(list.get(), 1) & kSelectedAndFocused, kSelectedAndFocused);
  EXPECT_TRUE(events.WaitFor(EVENT_OBJECT_SELECTION, ListWnd(), 1));
  EXPECT_EQ(events.Seen(EVENT_OBJECT_NAMECHANGE, ListWnd(), CHILDID_SELF), 1);
  DeleteFileW(historyPath.c_str());
}

TEST_F(AccessibilityTest, ObjectsHeldPastTheirWindowsAnswerNotConnected) {
  m_terminal->Type(L"6");
  ASSERT_NE(Dialog(), nullptr);
  AccessiblePtr edit = ClientObject(EditWnd());
  AccessiblePtr list = ClientObject(ListWnd());
  ASSERT_NE(edit, nullptr);
  ASSERT_NE(list, nullptr);
  // A second client gets the same live object.
  AccessiblePtr again = ClientObject(ListWnd());
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(Role(again.get()), ROLE_SYSTEM_LIST);

  // A client that calls from another thread is refused rather than racing the window's thread.
  long count = -1;
  HRESULT elsewhere = S_OK;
  std::thread other([&] { elsewhere = list->get_accChildCount(&count); });
  other.join();
  EXPECT_EQ(elsewhere, RPC_E_WRONG_THREAD);
  EXPECT_EQ(count, 0);

  DestroyWindow(Dialog()->m_hWnd);
  EXPECT_EQ(list->get_accChildCount(&count), CO_E_OBJNOTCONNECTED);
  BSTR text = nullptr;
  EXPECT_EQ(edit->get_accValue(Child(CHILDID_SELF), &text), CO_E_OBJNOTCONNECTED);
  EXPECT_EQ(text, nullptr);
  VARIANT role;
  VariantInit(&role);
  EXPECT_EQ(list->get_accRole(Child(1), &role), CO_E_OBJNOTCONNECTED);
  EXPECT_EQ(role.vt, VT_EMPTY);

  // The pop-up made anew answers with objects of its own; the old ones stay dead, even once the
  // manager has deleted the windows' objects.
  m_terminal->Type(L"6");
  ASSERT_NE(Dialog(), nullptr);
  AccessiblePtr fresh = ClientObject(ListWnd());
  ASSERT_NE(fresh, nullptr);
  EXPECT_GT(ChildCount(fresh.get()), 0);
  m_manager->Uninitialize();
  EXPECT_EQ(fresh->get_accChildCount(&count), CO_E_OBJNOTCONNECTED);
  EXPECT_EQ(list->get_accChildCount(&count), CO_E_OBJNOTCONNECTED);
}
