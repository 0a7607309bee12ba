// The window framework: handles find their objects, message maps dispatch only what a class
// lists (its own entries before its base's), a handler's Default() is the window's own procedure,
// WindowProc sees every message ahead of the map (the recording windows of the tests watch
// messages that way), and a dialog comes from a template of the current resource module.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "wfc/Dialog.h"
#include "wfc/ModuleState.h"
#include "wfc/Wnd.h"

namespace {

const UINT WM_BASE_ONLY = WM_USER + 1;
const UINT WM_BOTH = WM_USER + 2;
const UINT WM_UNLISTED = WM_USER + 3;
const UINT WM_AHEAD = WM_USER + 4;

class CBaseWnd : public CWnd {
 protected:
  LRESULT OnBaseOnly(WPARAM, LPARAM) { return 11; }
  LRESULT OnBoth(WPARAM, LPARAM) { return 12; }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CBaseWnd, CWnd)
ON_MESSAGE(WM_BASE_ONLY, OnBaseOnly)
ON_MESSAGE(WM_BOTH, OnBoth)
END_MESSAGE_MAP()

class CDerivedWnd : public CBaseWnd {
 public:
  int m_nCreates = 0;
  std::wstring m_chars;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_AHEAD) return 40;
    return CBaseWnd::WindowProc(message, wParam, lParam);
  }
  LRESULT OnBoth(WPARAM, LPARAM) { return 22; }
  // The map sees the window's first messages: creation hands the handle over before them.
  int OnCreate(LPCREATESTRUCTW) {
    ++m_nCreates;
    return static_cast<int>(Default());
  }
  // Seen here, then handled by the window's own procedure with the same parameters.
  void OnChar(UINT ch, UINT, UINT) {
    m_chars += static_cast<wchar_t>(ch);
    Default();
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CDerivedWnd, CBaseWnd)
ON_WM_CREATE()
ON_MESSAGE(WM_BOTH, OnBoth)
ON_WM_CHAR()
END_MESSAGE_MAP()

}  // namespace

TEST(WindowFramework, MessageMapsHandleTheirOwnMessagesAndLeaveTheRestToTheDefault) {
  CDerivedWnd wnd;
  RECT rect = {0, 0, 100, 50};
  ASSERT_TRUE(wnd.CreateEx(0, nullptr, L"abc", WS_POPUP, rect, nullptr, 0));
  EXPECT_EQ(wnd.m_nCreates, 1);
  EXPECT_EQ(CWnd::FromHandlePermanent(wnd.m_hWnd), &wnd);
  EXPECT_EQ(wnd.SendMessageW(WM_BASE_ONLY), 11);
  EXPECT_EQ(wnd.SendMessageW(WM_BOTH), 22);
  EXPECT_EQ(wnd.SendMessageW(WM_UNLISTED), 0);
  EXPECT_EQ(wnd.SendMessageW(WM_AHEAD), 40);
  EXPECT_EQ(wnd.SendMessageW(WM_GETTEXTLENGTH), 3);

  HWND handle = wnd.m_hWnd;
  wnd.DestroyWindow();
  EXPECT_EQ(CWnd::FromHandlePermanent(handle), nullptr);
  EXPECT_EQ(wnd.m_hWnd, nullptr);
}

// The benchmark's split of a keystroke relies on the probe bracketing exactly the handled
// messages, with the handler's result unchanged.
std::vector<std::pair<UINT, bool>> s_probed;
void ProbeEnter(HWND, UINT message) { s_probed.push_back({message, true}); }
void ProbeLeave(HWND, UINT message) { s_probed.push_back({message, false}); }

TEST(WindowFramework, TheHandlerProbeBracketsHandledMessagesOnly) {
  CDerivedWnd wnd;
  RECT rect = {0, 0, 100, 50};
  ASSERT_TRUE(wnd.CreateEx(0, nullptr, L"abc", WS_POPUP, rect, nullptr, 0));
  s_probed.clear();
  WfcSetHandlerProbe(ProbeEnter, ProbeLeave);
  EXPECT_EQ(wnd.SendMessageW(WM_BOTH), 22);
  EXPECT_EQ(wnd.SendMessageW(WM_UNLISTED), 0);
  EXPECT_EQ(wnd.SendMessageW(WM_AHEAD), 40);
  WfcSetHandlerProbe(nullptr, nullptr);
  EXPECT_EQ(wnd.SendMessageW(WM_BASE_ONLY), 11);
  const std::vector<std::pair<UINT, bool>> expected = {{WM_BOTH, true}, {WM_BOTH, false}};
  EXPECT_EQ(s_probed, expected);
  wnd.DestroyWindow();
}

TEST(WindowFramework, AWindowMadeElsewhereCanBeTakenOverAndADialogComesFromItsModule) {
  HWND raw = CreateWindowExW(0, L"EDIT", L"ab", WS_POPUP, 0, 0, 100, 20, nullptr, nullptr, nullptr,
                             nullptr);
  ASSERT_NE(raw, nullptr);
  CDerivedWnd taken;
  ASSERT_TRUE(taken.SubclassWindow(raw));
  EXPECT_EQ(SendMessageW(raw, WM_BOTH, 0, 0), 22);
  // The handler sees the character, and Default() lets the edit control insert it.
  SendMessageW(raw, WM_CHAR, L'c', 1);
  EXPECT_EQ(taken.m_chars, L"c");
  EXPECT_EQ(GetWindowTextLengthW(raw), 3);
  CDerivedWnd second;
  EXPECT_FALSE(second.SubclassWindow(raw));  // one object per handle
  DestroyWindow(raw);
  EXPECT_EQ(taken.m_hWnd, nullptr);

  // Template 11000 lives in this program's resources; a module without it yields no dialog.
  CDialog dialog(11000);
  {
    CModuleStateScope resources(GetModuleHandleW(L"kernel32.dll"));
    EXPECT_FALSE(dialog.Create(11000));
  }
  ASSERT_TRUE(dialog.Create(11000));
  EXPECT_FALSE(IsWindowVisible(dialog.m_hWnd));
  EXPECT_EQ(CWnd::FromHandlePermanent(dialog.m_hWnd), &dialog);
  dialog.DestroyWindow();
}

namespace {

// Records what each typed handler was given.
class CCrackedWnd : public CWnd {
 public:
  UINT m_nKey = 0, m_nRepeat = 0, m_nKeyFlags = 0;
  UINT m_nMouseFlags = 0;
  POINT m_ptMouse = {};
  short m_nWheelDelta = 0;
  UINT m_nDpi = 0;
  RECT m_rcSuggested = {};
  int m_nWidth = 0, m_nHeight = 0;
  std::vector<UINT> m_notified;

 protected:
  void OnKeyDown(UINT key, UINT repeat, UINT flags) {
    m_nKey = key;
    m_nRepeat = repeat;
    m_nKeyFlags = flags;
  }
  void OnLButtonDown(UINT flags, POINT point) {
    m_nMouseFlags = flags;
    m_ptMouse = point;
  }
  BOOL OnMouseWheel(UINT, short delta, POINT) {
    m_nWheelDelta = delta;
    return TRUE;
  }
  LRESULT OnDpiChanged(UINT dpi, const RECT* suggested) {
    m_nDpi = dpi;
    if (suggested) m_rcSuggested = *suggested;
    return 1;
  }
  void OnSize(UINT, int cx, int cy) {
    m_nWidth = cx;
    m_nHeight = cy;
  }
  void OnFirstCode(NMHDR* header, LRESULT* result) {
    m_notified.push_back(header->code);
    *result = 31;
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CCrackedWnd, CWnd)
ON_WM_KEYDOWN()
ON_WM_LBUTTONDOWN()
ON_WM_MOUSEWHEEL()
ON_WM_DPICHANGED()
ON_WM_SIZE()
ON_NOTIFY(0x7401, 9, OnFirstCode)
END_MESSAGE_MAP()

}  // namespace

TEST(WindowFramework, TypedHandlersGetTheMessagesOwnParameters) {
  CCrackedWnd wnd;
  RECT rect = {0, 0, 100, 50};
  ASSERT_TRUE(wnd.CreateEx(0, nullptr, L"", WS_POPUP, rect, nullptr, 0));

  wnd.SendMessageW(WM_KEYDOWN, VK_NEXT, MAKELPARAM(3, 0x0151));
  EXPECT_EQ(wnd.m_nKey, static_cast<UINT>(VK_NEXT));
  EXPECT_EQ(wnd.m_nRepeat, 3u);
  EXPECT_EQ(wnd.m_nKeyFlags, 0x0151u);

  // Left of and above the window while the mouse is captured: the coordinates are negative.
  wnd.SendMessageW(WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, MAKELPARAM(-5, -7));
  EXPECT_EQ(wnd.m_nMouseFlags, static_cast<UINT>(MK_LBUTTON | MK_SHIFT));
  EXPECT_EQ(wnd.m_ptMouse.x, -5);
  EXPECT_EQ(wnd.m_ptMouse.y, -7);

  wnd.SendMessageW(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
  EXPECT_EQ(wnd.m_nWheelDelta, -WHEEL_DELTA);

  RECT suggested = {10, 20, 330, 260};
  EXPECT_EQ(
      wnd.SendMessageW(WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested)),
      1);  // the handler's answer
  EXPECT_EQ(wnd.m_nDpi, 144u);
  EXPECT_TRUE(EqualRect(&wnd.m_rcSuggested, &suggested));

  wnd.SendMessageW(WM_SIZE, SIZE_RESTORED, MAKELPARAM(640, 480));
  EXPECT_EQ(wnd.m_nWidth, 640);
  EXPECT_EQ(wnd.m_nHeight, 480);

  // A notification entry takes its code from its child only; the others get the default answer.
  NMHDR fromOther = {wnd.m_hWnd, 8, 0x7401};
  NMHDR otherCode = {wnd.m_hWnd, 9, 0x7402};
  NMHDR match = {wnd.m_hWnd, 9, 0x7401};
  EXPECT_EQ(wnd.SendMessageW(WM_NOTIFY, 8, reinterpret_cast<LPARAM>(&fromOther)), 0);
  EXPECT_EQ(wnd.SendMessageW(WM_NOTIFY, 9, reinterpret_cast<LPARAM>(&otherCode)), 0);
  EXPECT_EQ(wnd.SendMessageW(WM_NOTIFY, 9, reinterpret_cast<LPARAM>(&match)), 31);
  EXPECT_EQ(wnd.m_notified, std::vector<UINT>{0x7401});
  wnd.DestroyWindow();
}

namespace {

// Its character handler asks its own window a question first (a message no map lists), then has
// the character inserted.
class CNestingWnd : public CWnd {
 public:
  LRESULT m_nNestedAnswer = -1;
  int m_nDepth = 0;

 protected:
  void OnChar(UINT ch, UINT, UINT) {
    m_nNestedAnswer = SendMessageW(WM_GETTEXTLENGTH);
    // One level deeper: a character handled inside a character handler.
    if (ch == L'x' && m_nDepth++ == 0) SendMessageW(WM_CHAR, L'y', 1);
    Default();
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CNestingWnd, CWnd)
ON_WM_CHAR()
END_MESSAGE_MAP()

}  // namespace

TEST(WindowFramework, DefaultAfterANestedMessageProcessesTheOuterOne) {
  HWND raw = CreateWindowExW(0, L"EDIT", L"ab", WS_POPUP, 0, 0, 200, 20, nullptr, nullptr, nullptr,
                             nullptr);
  ASSERT_NE(raw, nullptr);
  CNestingWnd wnd;
  ASSERT_TRUE(wnd.SubclassWindow(raw));
  SendMessageW(raw, EM_SETSEL, 2, 2);
  // The handler's own question is answered, and Default() then inserts its character.
  SendMessageW(raw, WM_CHAR, L'c', 1);
  EXPECT_EQ(wnd.m_nNestedAnswer, 2);
  wchar_t text[16] = {};
  GetWindowTextW(raw, text, 16);
  EXPECT_STREQ(text, L"abc");
  // Two levels: the inner character goes in first, then the outer one.
  SendMessageW(raw, WM_CHAR, L'x', 1);
  GetWindowTextW(raw, text, 16);
  EXPECT_STREQ(text, L"abcyx");
  DestroyWindow(raw);
}
