// The pop-up end to end inside a test terminal: forwarded keys open it at its default place, the
// list holds what the search finds, Enter hands the pick to the terminal and hides the pop-up
// with the focus back on the view; the show operations place it for a receiver and deliver the
// pick there; every way of hiding resets it.
#include <gtest/gtest.h>
#include <windows.h>

#include <imm.h>  // after windows.h, which it needs

#include <vector>

#include "frame/IHotKeyManager.h"
#include "frame/SmartKeyboardPopup.h"
#include "support/PopupFixture.h"
#include "support/Pump.h"
#include "table/MappingTable.h"
#include "window/InputEdit.h"
#include "window/SmartKeyboardDlg.h"
#include "window/SuggestListWnd.h"

TEST_F(PopupTest, TypingOpensAtTheViewAndEnterHandsThePickToTheCommandWindow) {
  TypeForwarded(L"6000");
  ASSERT_TRUE(PopupVisible());
  RECT view = m_terminal->ViewRect();
  RECT popup = PopupRect();
  EXPECT_EQ(popup.right, view.right);
  EXPECT_EQ(popup.bottom, view.bottom);
  EXPECT_STREQ(Peer().Edit().GetText(), L"6000");
  EXPECT_EQ(ListedCodes(), SearchedCodes(L"6000"));
  ASSERT_FALSE(ListedCodes().empty());
  EXPECT_EQ(ListedCodes()[0], L"600000");
  EXPECT_EQ(GetFocus(), Peer().Edit().m_hWnd);

  KeyIntoEdit(VK_RETURN);
  ASSERT_TRUE(PumpUntil([&] { return m_terminal->m_command.Find(WM_RUN_COMMAND) != nullptr; }));
  EXPECT_EQ(m_terminal->m_command.Find(WM_RUN_COMMAND)->wParam, 1001u);
  EXPECT_EQ(m_terminal->m_command.Find(WM_COMMAND_FROM_POPUP), nullptr);  // open mode 0
  EXPECT_FALSE(PopupVisible());
  EXPECT_EQ(GetFocus(), m_terminal->m_view.m_hWnd);
  EXPECT_STREQ(Peer().Edit().GetText(), L"");
  const std::vector<KeyboardItemInfo>& history = Peer().ListPeer().History().Items();
  ASSERT_FALSE(history.empty());
  EXPECT_STREQ(history[0].m_szCode, L"600000");
}

TEST_F(PopupTest, CommandWindowCornerForViewTypesOneToFourAndTheTopClamp) {
  m_terminal->m_frame.m_nViewType = 2;
  TypeForwarded(L"6");
  ASSERT_TRUE(PopupVisible());
  RECT command = m_terminal->CommandRect();
  RECT popup = PopupRect();
  EXPECT_EQ(popup.right, command.right - 5);
  EXPECT_EQ(popup.bottom, command.bottom - 5);
  Dialog()->SendMessageW(WM_SMARTKEYBOARD_HIDE, 0, 0);
  EXPECT_FALSE(PopupVisible());

  // A point near the top: the pop-up would start above the screen and moves down to 0.
  ASSERT_TRUE(m_manager->ShowSmartKeyboard(0, TRUE, 400, 100));
  popup = PopupRect();
  EXPECT_EQ(popup.top, 0);
  EXPECT_EQ(popup.right, 400);
}

TEST_F(PopupTest, ReceiversArePlacedByPlacementAndGetThePick) {
  struct Case {
    int placement;
    bool leftAtX, topAtY;
  } cases[] = {
      {0, true, true}, {1, true, false}, {2, false, true}, {3, false, false}, {-1, false, false}};
  for (const Case& c : cases) {
    ASSERT_TRUE(m_manager->ShowForWindow(m_terminal->m_otherView.m_hWnd, 600, 500, c.placement));
    RECT popup = PopupRect();
    EXPECT_EQ(c.leftAtX ? popup.left : popup.right, 600) << c.placement;
    EXPECT_EQ(c.topAtY ? popup.top : popup.bottom, 500) << c.placement;
    Dialog()->SendMessageW(WM_SMARTKEYBOARD_HIDE, 0, 0);
    ASSERT_FALSE(PopupVisible());
  }

  // A window receiver gets the security posted; a container gets the element event.
  CRecordingWnd receiver;
  RECT rect = {0, 0, 10, 10};
  ASSERT_TRUE(receiver.CreateEx(0, nullptr, L"receiver", WS_POPUP, rect, nullptr, 0));
  ASSERT_TRUE(m_manager->ShowForWindow(receiver.m_hWnd, 600, 500, 0));
  CSmartKeyboardDlg* dialog = Dialog();
  TypeForwarded(L"000001");
  KeyIntoEdit(VK_RETURN);
  ASSERT_TRUE(PumpUntil([&] { return receiver.Find(WM_STOCK_SELECTED) != nullptr; }));
  EXPECT_EQ(m_terminal->m_command.Find(WM_RUN_COMMAND), nullptr);
  EXPECT_EQ(SmartKeyboardDlgTestPeer(*dialog).List().MappingTable()->m_hTargetWnd,
            nullptr);  // reset on hide
  receiver.DestroyWindow();

  RecordingContainer container;
  ASSERT_TRUE(m_manager->ShowForContainer(&container, 300, 300, 0));
  EXPECT_TRUE(PopupVisible());
  EXPECT_EQ(Peer().List().MappingTable()->m_pTargetContainer, &container);
  Dialog()->SendMessageW(WM_SMARTKEYBOARD_HIDE, 0, 0);
  EXPECT_EQ(Peer().List().MappingTable()->m_pTargetContainer, nullptr);
}

TEST_F(PopupTest, EscapeCloseButtonAndClicksHideAndTheListComesBack) {
  TypeForwarded(L"600");
  ASSERT_TRUE(PopupVisible());
  KeyIntoEdit(VK_ESCAPE);
  EXPECT_FALSE(PopupVisible());
  EXPECT_EQ(GetFocus(), m_terminal->m_view.m_hWnd);

  // Escape hid the list too; opening again shows it, and Enter picks.
  TypeForwarded(L"600036");
  ASSERT_TRUE(PopupVisible());
  EXPECT_TRUE(Peer().List().IsWindowVisible());
  KeyIntoEdit(VK_RETURN);
  ASSERT_TRUE(PumpUntil([&] { return m_terminal->m_command.Find(WM_RUN_COMMAND) != nullptr; }));
  EXPECT_EQ(m_terminal->m_command.Find(WM_RUN_COMMAND)->wParam, 1002u);

  // The close button: a real click on it.
  TypeForwarded(L"6");
  ASSERT_TRUE(PopupVisible());
  CSmartKeyboardDlg* dialog = Dialog();
  RECT close = Peer().CloseRect();
  LPARAM at = MAKELPARAM(close.left + 2, close.top + 2);
  dialog->SendMessageW(WM_MOUSEMOVE, 0, at);
  EXPECT_EQ(Peer().HoverButton(), 1);
  dialog->SendMessageW(WM_LBUTTONDOWN, MK_LBUTTON, at);
  ASSERT_TRUE(PumpUntil([&] { return !PopupVisible(); }));
  EXPECT_EQ(GetFocus(), m_terminal->m_view.m_hWnd);
  EXPECT_STREQ(Peer().Edit().GetText(), L"");

  // A click elsewhere in the terminal, forwarded as the terminal does.
  TypeForwarded(L"6");
  ASSERT_TRUE(PopupVisible());
  EXPECT_TRUE(m_manager->ProcessKeyboardMessage(WM_LBUTTONDOWN, MK_LBUTTON, 0));
  EXPECT_FALSE(PopupVisible());
}

TEST_F(PopupTest, RoutingForwardsOnlyWhatBelongsToTheKeyboard) {
  // A character after its key-up is not forwarded; nor is a second one without a new key-down.
  CWnd& view = m_terminal->m_view;
  DWORD start = GetTickCount();
  while (GetTickCount() == start) SwitchToThread();
  view.PostMessageW(WM_KEYDOWN, '6', 1);
  view.PostMessageW(WM_KEYUP, '6', 0xC0000001);
  view.PostMessageW(WM_CHAR, L'6', 1);
  PumpPending();
  EXPECT_FALSE(PopupVisible());
  view.PostMessageW(WM_KEYDOWN, '6', 1);
  view.PostMessageW(WM_CHAR, L'6', 1);
  view.PostMessageW(WM_CHAR, L'7', 1);
  PumpPending();
  ASSERT_TRUE(PopupVisible());
  EXPECT_STREQ(Peer().Edit().GetText(), L"6");
  Dialog()->SendMessageW(WM_SMARTKEYBOARD_HIDE, 0, 0);

  // The mini-trade panel keeps slot 11 shut and leaves the dialog as it was.
  TRefPtr<CPackager<bool>> visible(new CPackager<bool>(true));
  m_terminal->m_env.env()->SetContextValue(L"CONTEXT_MINI_TRADE_VISIBLE_STATE", visible.get());
  EXPECT_FALSE(m_manager->ShowSmartKeyboard(0, FALSE, 0, 0));
  EXPECT_FALSE(PopupVisible());
  m_terminal->m_env.env()->SetContextValue(L"CONTEXT_MINI_TRADE_VISIBLE_STATE", nullptr);

  // A dialog destroyed from outside is replaced on next use.
  HWND old = Dialog()->m_hWnd;
  DestroyWindow(old);
  EXPECT_EQ(Dialog(), nullptr);
  TypeForwarded(L"6");
  ASSERT_TRUE(PopupVisible());
  EXPECT_NE(Dialog()->m_hWnd, old);
}

// An input method in full-width mode: each key comes as VK_PROCESSKEY, and its character as a
// full-width WM_CHAR, as WM_IME_CHAR (whose default processing posts the same character as
// WM_CHAR after it), or as an input-method result (echoed by both).
TEST_F(PopupTest, FullWidthTypingOpensThePopUpAndSearchesAsAscii) {
  CWnd& view = m_terminal->m_view;
  auto nextTick = [] {
    DWORD start = GetTickCount();
    while (GetTickCount() == start) SwitchToThread();
  };
  auto type = [&](const wchar_t* text, UINT characterMessage) {
    for (const wchar_t* c = text; *c; ++c) {
      nextTick();
      view.PostMessageW(WM_KEYDOWN, VK_PROCESSKEY, 1);
      view.PostMessageW(characterMessage, *c, 1);
      view.PostMessageW(WM_KEYUP, VK_PROCESSKEY, 0xC0000001);
      PumpPending();
    }
  };
  type(L"６００", WM_CHAR);
  ASSERT_TRUE(PopupVisible());
  EXPECT_STREQ(Peer().Edit().GetText(), L"600");
  EXPECT_EQ(ListedCodes(), SearchedCodes(L"600"));
  KeyIntoEdit(VK_ESCAPE);
  ASSERT_FALSE(PopupVisible());

  type(L"ｐＦ", WM_IME_CHAR);
  ASSERT_TRUE(PopupVisible());
  EXPECT_STREQ(Peer().Edit().GetText(), L"PF");
  ASSERT_FALSE(ListedCodes().empty());
  EXPECT_EQ(ListedCodes()[0], L"600000");
  KeyIntoEdit(VK_ESCAPE);
  ASSERT_FALSE(PopupVisible());
  ASSERT_EQ(GetFocus(), view.m_hWnd);

  // The result is inserted as committed and searched as ASCII; its echoes are not typed again.
  nextTick();
  view.PostMessageW(WM_KEYDOWN, VK_PROCESSKEY, 1);
  PumpPending();
  HIMC context = ImmGetContext(view.m_hWnd);
  ASSERT_NE(context, nullptr);
  const wchar_t result[] = L"６０００３６";
  ImmSetCompositionStringW(context, SCS_SETSTR, const_cast<wchar_t*>(result), sizeof(result) - 2,
                           nullptr, 0);
  ImmNotifyIME(context, NI_COMPOSITIONSTR, CPS_COMPLETE, 0);
  ImmReleaseContext(view.m_hWnd, context);
  PumpPending();
  ASSERT_TRUE(PopupVisible());
  EXPECT_STREQ(Peer().Edit().GetText(), result);
  EXPECT_EQ(ListedCodes(), SearchedCodes(L"600036"));
  ASSERT_FALSE(ListedCodes().empty());
  EXPECT_EQ(ListedCodes()[0], L"600036");
}

TEST(PopupRouting, CompositionWithoutResultAndMissingTableCreateNothing) {
  TestTerminal terminal;
  IUnknown* unknown = nullptr;
  ASSERT_EQ(GetClassObject(&unknown, HOTKEY_MANAGER_CLSID), S_OK);
  IHotKeyManager* manager = static_cast<IHotKeyManager*>(unknown);
  EXPECT_FALSE(manager->ProcessKeyboardMessage(WM_KEYDOWN, '6', 1));  // no table yet
  EXPECT_EQ(FindWindowW(L"#32770", nullptr), nullptr);
  ASSERT_TRUE(manager->Initialize());
  EXPECT_TRUE(manager->ProcessKeyboardMessage(WM_IME_COMPOSITION, 0, GCS_COMPSTR));
  EXPECT_EQ(FindWindowW(L"#32770", nullptr), nullptr);
  EXPECT_TRUE(manager->ProcessKeyboardMessage(WM_LBUTTONDOWN, MK_LBUTTON, 0));
  HWND first = FindWindowW(L"#32770", nullptr);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(GetFocus(), terminal.m_view.m_hWnd);  // creation left the focus where it was
  // A second Initialize gets rid of the dialog before it replaces the table.
  ASSERT_TRUE(manager->Initialize());
  EXPECT_FALSE(IsWindow(first));
  manager->Uninitialize();
  manager->Release();
}

TEST_F(PopupTest, FocusMovingOutsideHidesWithoutPullingItBack) {
  TypeForwarded(L"6");
  ASSERT_TRUE(PopupVisible());
  m_terminal->m_otherView.SetFocus();
  PumpPending();
  EXPECT_FALSE(PopupVisible());
  EXPECT_EQ(GetFocus(), m_terminal->m_otherView.m_hWnd);

  // An element container that had the focus does not get it back.
  m_terminal->m_frame.m_hContainerWnd = m_terminal->m_otherView.m_hWnd;
  TypeForwarded(L"6");
  ASSERT_TRUE(PopupVisible());
  Dialog()->SendMessageW(WM_SMARTKEYBOARD_HIDE, 0, 0);
  EXPECT_NE(GetFocus(), m_terminal->m_otherView.m_hWnd);
}

TEST_F(PopupTest, DpiChangeScalesCaptionRowsAndWindow) {
  TypeForwarded(L"6");
  ASSERT_TRUE(PopupVisible());
  CSmartKeyboardDlg* dialog = Dialog();
  SmartKeyboardDlgTestPeer peer = Peer();
  RECT before = PopupRect();
  EXPECT_EQ(peer.CaptionRect().bottom - peer.CaptionRect().top, 26);
  EXPECT_EQ(peer.ListPeer().RowHeight(), 22);
  RECT suggested = {before.left, before.top, before.left + (before.right - before.left) * 3 / 2,
                    before.top + (before.bottom - before.top) * 3 / 2};
  EXPECT_EQ(dialog->SendMessageW(WM_DPICHANGED, MAKEWPARAM(144, 144),
                                 reinterpret_cast<LPARAM>(&suggested)),
            1);
  EXPECT_EQ(peer.Dpi(), 144);
  EXPECT_EQ(peer.CaptionRect().bottom - peer.CaptionRect().top, 39);
  EXPECT_EQ(peer.ListPeer().RowHeight(), 33);
  RECT after = PopupRect();
  EXPECT_EQ(after.right, before.right);  // the anchored corner stays
  EXPECT_EQ(after.bottom, before.bottom);
  EXPECT_EQ(after.right - after.left, suggested.right - suggested.left);
  // The same dpi again changes nothing and still answers 1.
  EXPECT_EQ(dialog->SendMessageW(WM_DPICHANGED, MAKEWPARAM(144, 144),
                                 reinterpret_cast<LPARAM>(&suggested)),
            1);
}

TEST_F(PopupTest, PaintsFrameCaptionAndInputAreaInThePaletteColours) {
  TypeForwarded(L"6");
  ASSERT_TRUE(PopupVisible());
  CSmartKeyboardDlg* dialog = Dialog();
  dialog->Invalidate(FALSE);
  dialog->UpdateWindow();
  HDC dc = GetDC(dialog->m_hWnd);
  CTestPalette* palette = m_terminal->m_env.palette();
  EXPECT_EQ(GetPixel(dc, 0, 100), palette->GetColor(L"ComboBox.CLR.FrameNormal"));
  EXPECT_EQ(GetPixel(dc, 3, 10), palette->GetColor(L"SuggestListWnd.CLR.BGCaption"));
  // The close button's normal bitmap, then its hover bitmap under the mouse.
  RECT close = Peer().CloseRect();
  EXPECT_EQ(GetPixel(dc, close.left + 3, close.top + 3), RGB(120, 0, 0));
  dialog->SendMessageW(WM_MOUSEMOVE, 0, MAKELPARAM(close.left + 3, close.top + 3));
  dialog->UpdateWindow();
  EXPECT_EQ(GetPixel(dc, close.left + 3, close.top + 3), RGB(230, 0, 0));
  // The input field's bitmap behind the edit, inset by the border.
  RECT area = Peer().InputAreaRect();
  EXPECT_EQ(GetPixel(dc, area.left + Peer().Border() + 1, area.top + 19), RGB(235, 235, 235));
  ReleaseDC(dialog->m_hWnd, dc);
}
