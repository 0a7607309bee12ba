// What the pop-up's dialog decides between one opening and the next: a receiver gets securities
// only; after a pop-up for a receiver or at a point closes, the next one opened by typing lists
// everything again and its picks are plain ones; the wheel over the edit moves the list's
// selection the way it turned; a pop-up opened by a show call gives the focus back to the window
// that had it; and the receiver named last while the pop-up is open gets the pick.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "frame/Messages.h"
#include "support/PopupFixture.h"
#include "support/Pump.h"
#include "support/SuggestListHost.h"
#include "window/InputEdit.h"

namespace {

KeyboardItemInfo Command(const wchar_t* code, const wchar_t* hotKey, const wchar_t* name,
                         unsigned short type, int extra) {
  return KeyboardItemInfo(code, hotKey, name, type, extra, nullptr, KIND_COMMAND,
                          KEYBOARD_SELECT_NONE);
}

bool Lists(const std::vector<std::wstring>& codes, const wchar_t* code) {
  return std::find(codes.begin(), codes.end(), code) != codes.end();
}

// "M" finds one security (民生银行, MSYH), an indicator command (MACD) and a trade command (买入,
// hot key MR).
class PopupDialogTest : public PopupTest {
 protected:
  void SetUp() override {
    PopupTest::SetUp();
    if (HasFatalFailure()) return;
    m_terminal->m_env.securities()->AddSecurity(L"600016", 1, L"民生银行");
    std::vector<KeyboardItemInfo> items = {
        PopupSecurity(L"600016", L"MSYH", L"民生银行", 0x0102, 1, 1004),
        Command(L"MACD", L"MACD", L"指数平滑", 0x6500, 3002),
        Command(L"JYMR", L"MR", L"买入", 0x6700, 3001),
    };
    ASSERT_TRUE(m_manager->AddKeyboardItems(items.data(), int(items.size()), nullptr, FALSE));
    RECT rect = {0, 0, 10, 10};
    ASSERT_TRUE(m_receiver.CreateEx(0, nullptr, L"receiver", WS_POPUP, rect, nullptr, 0));
  }
  void TearDown() override {
    m_receiver.DestroyWindow();
    PopupTest::TearDown();
  }

  int Commands(UINT message) const { return CountOf(m_terminal->m_command, message); }
  // Moves the selection to the listed row with this code with Down, then Enter: keys typed into
  // the edit, which hands them to the list.
  void Pick(const wchar_t* code) {
    const std::vector<std::wstring> codes = ListedCodes();
    auto row = std::find(codes.begin(), codes.end(), code);
    ASSERT_NE(row, codes.end()) << "not listed";
    for (auto it = codes.begin(); it != row; ++it) KeyIntoEdit(VK_DOWN);
    KeyIntoEdit(VK_RETURN);
    PumpPending();
  }

  CRecordingWnd m_receiver;
};

TEST_F(PopupDialogTest, AReceiverGetsSecuritiesOnlyAndTheNextTypedPopupListsEverythingAgain) {
  TypeForwarded(L"M");
  const std::vector<std::wstring> typed = ListedCodes();
  EXPECT_TRUE(Lists(typed, L"600016"));
  EXPECT_TRUE(Lists(typed, L"MACD"));
  EXPECT_TRUE(Lists(typed, L"JYMR"));
  KeyIntoEdit(VK_ESCAPE);

  // For a receiver window: no command of any kind.
  ASSERT_TRUE(m_manager->ShowForWindow(m_receiver.m_hWnd, 600, 500, 0));
  TypeForwarded(L"M");
  EXPECT_EQ(ListedCodes(), std::vector<std::wstring>{L"600016"});
  KeyIntoEdit(VK_ESCAPE);

  // Opened by typing after it: open mode 0, everything listed, a pick is a plain command.
  TypeForwarded(L"M");
  EXPECT_EQ(ListedCodes(), typed);
  Pick(L"JYMR");
  ASSERT_TRUE(PumpUntil([&] { return Commands(WM_RUN_COMMAND) == 1; }));
  EXPECT_EQ(LastOf(m_terminal->m_command, WM_RUN_COMMAND)->wParam, 3001u);
  EXPECT_EQ(Commands(WM_COMMAND_FROM_POPUP), 0);

  // At a point the terminal gives: no trade commands, and the pick is followed by 0x601.
  ASSERT_TRUE(m_manager->ShowSmartKeyboard(0, TRUE, 600, 500));
  TypeForwarded(L"M");
  EXPECT_TRUE(Lists(ListedCodes(), L"MACD"));
  EXPECT_FALSE(Lists(ListedCodes(), L"JYMR"));
  Pick(L"MACD");
  ASSERT_TRUE(PumpUntil([&] { return Commands(WM_COMMAND_FROM_POPUP) == 1; }));
  EXPECT_EQ(LastOf(m_terminal->m_command, WM_RUN_COMMAND)->wParam, 3002u);
  EXPECT_FALSE(PopupVisible());

  // And typed again: the trade command is back and no 0x601 follows.
  TypeForwarded(L"M");
  EXPECT_EQ(ListedCodes(), typed);
  Pick(L"MACD");
  ASSERT_TRUE(PumpUntil([&] { return Commands(WM_RUN_COMMAND) == 3; }));
  EXPECT_EQ(Commands(WM_COMMAND_FROM_POPUP), 1);
}

TEST_F(PopupDialogTest, TheWheelOverTheEditMovesTheSelectionTheWayItTurns) {
  TypeForwarded(L"6011");
  ASSERT_TRUE(PopupVisible());
  SuggestListTestPeer list = Peer().ListPeer();
  ASSERT_EQ(list.RowCount(), 30);
  ASSERT_EQ(list.Selected(), 0);
  CInputEdit& edit = Peer().Edit();
  const LPARAM at = MAKELPARAM(PopupRect().left + 40, PopupRect().top + 40);
  // Towards the trader: down the list; away: up.
  edit.SendMessageW(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), at);
  edit.SendMessageW(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), at);
  EXPECT_EQ(list.Selected(), 2);
  edit.SendMessageW(WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), at);
  EXPECT_EQ(list.Selected(), 1);
  // Enter picks the row the wheel chose.
  const int extra = list.Results()[1].m_nExtraInfo;
  KeyIntoEdit(VK_RETURN);
  ASSERT_TRUE(PumpUntil([&] { return Commands(WM_RUN_COMMAND) == 1; }));
  EXPECT_EQ(LastOf(m_terminal->m_command, WM_RUN_COMMAND)->wParam, static_cast<WPARAM>(extra));
}

TEST_F(PopupDialogTest, APopupOpenedByAShowCallGivesTheFocusBackToTheWindowThatHadIt) {
  // Another window of the terminal asks for it: Escape returns there.
  m_terminal->m_otherView.SetFocus();
  ASSERT_EQ(GetFocus(), m_terminal->m_otherView.m_hWnd);
  ASSERT_TRUE(m_manager->ShowSmartKeyboard(0, FALSE, 0, 0));
  ASSERT_TRUE(PopupVisible());
  EXPECT_EQ(GetFocus(), Peer().Edit().m_hWnd);
  KeyIntoEdit(VK_ESCAPE);
  EXPECT_FALSE(PopupVisible());
  EXPECT_EQ(GetFocus(), m_terminal->m_otherView.m_hWnd);

  // Opened for a receiver from the view, closed with the close button: back to the view.
  m_terminal->m_view.SetFocus();
  ASSERT_TRUE(m_manager->ShowForWindow(m_receiver.m_hWnd, 600, 500, 0));
  ASSERT_TRUE(PopupVisible());
  RECT close = Peer().CloseRect();
  Dialog()->SendMessageW(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(close.left + 2, close.top + 2));
  ASSERT_TRUE(PumpUntil([&] { return !PopupVisible(); }));
  EXPECT_EQ(GetFocus(), m_terminal->m_view.m_hWnd);
}

TEST_F(PopupDialogTest, TheReceiverNamedLastWhileThePopupIsOpenGetsThePick) {
  RecordingContainer container;
  ASSERT_TRUE(m_manager->ShowForContainer(&container, 300, 300, 0));
  ASSERT_TRUE(PopupVisible());
  // The terminal switches to a window while the pop-up stays open.
  ASSERT_TRUE(m_manager->ShowForWindow(m_receiver.m_hWnd, 600, 500, 0));
  TypeForwarded(L"600000");
  KeyIntoEdit(VK_RETURN);
  ASSERT_TRUE(PumpUntil([&] { return m_receiver.Find(WM_STOCK_SELECTED) != nullptr; }));
  EXPECT_TRUE(container.m_calls.empty());
  EXPECT_EQ(Commands(WM_RUN_COMMAND), 0);
}

}  // namespace
