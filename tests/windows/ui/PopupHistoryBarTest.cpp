// The recent picks in the pop-up: the clear button above them empties the history for good (not
// back on the next opening, not in the file), it is lit and shows the hand only while the bar is
// there, and a row the shrinking list no longer shows loses its hover.
#include <gtest/gtest.h>

#include <string>

#include "support/PopupFixture.h"
#include "support/Pump.h"
#include "support/SuggestListHost.h"
#include "window/InputEdit.h"
#include "window/RecentHistory.h"

namespace {

const COLORREF kClearNormal = RGB(0, 0, 120), kClearLit = RGB(0, 0, 230);  // the test skin's
const COLORREF kRowBackground = RGB(250, 250, 240), kRowHover = RGB(200, 230, 120);

HCURSOR Hand() { return LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_HAND)); }

// What the system does when the pointer moves over a window: asks it for the cursor.
HCURSOR CursorOver(CWnd& wnd) {
  wnd.SendMessageW(WM_SETCURSOR, reinterpret_cast<WPARAM>(wnd.m_hWnd),
                   MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  return GetCursor();
}

COLORREF PixelAt(CWnd& wnd, int x, int y) {
  wnd.UpdateWindow();
  HDC dc = GetDC(wnd.m_hWnd);
  COLORREF color = GetPixel(dc, x, y);
  ReleaseDC(wnd.m_hWnd, dc);
  return color;
}

class PopupHistoryBarTest : public PopupTest {
 protected:
  void TearDown() override {
    PopupTest::TearDown();
    DeleteFileW(m_path.c_str());
  }

  // Two picks, newest 600036, recorded in the test's own history file.
  void PickTwo() {
    TypeForwarded(L"6");
    KeyIntoEdit(VK_ESCAPE);
    Peer().ListPeer().UseHistoryFile(m_path);
    for (const wchar_t* code : {L"600000", L"600036"}) {
      TypeForwarded(code);
      KeyIntoEdit(VK_RETURN);
    }
    ASSERT_TRUE(PumpUntil([&] { return FileRecords() == 2; }));
  }
  // Opened by the terminal with nothing typed: the recent picks, under their bar.
  void OpenEmpty() {
    ASSERT_TRUE(m_manager->ShowSmartKeyboard(0, FALSE, 0, 0));
    ASSERT_TRUE(PopupVisible());
  }
  POINT ClearCentre() const {
    const RECT& clear = Peer().ClearRect();
    return {(clear.left + clear.right) / 2, (clear.top + clear.bottom) / 2};
  }
  COLORREF ClearButtonPixel() {
    POINT at = ClearCentre();
    return PixelAt(*Dialog(), at.x, at.y);
  }
  // Records in the history file, as the next start would load them; -1 without a file.
  int FileRecords() const {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(m_path.c_str(), GetFileExInfoStandard, &data)) return -1;
    CRecentHistory loaded(m_path, &SystemHistoryFileIo());
    return loaded.Load() ? static_cast<int>(loaded.Items().size()) : -1;
  }

  const std::wstring m_path = TempHistoryPath();
};

TEST_F(PopupHistoryBarTest, TheClearButtonEmptiesTheHistoryForGood) {
  PickTwo();
  OpenEmpty();
  ASSERT_TRUE(Peer().HistoryBar());
  ASSERT_EQ(Peer().ListPeer().RowCount(), 2);

  POINT at = ClearCentre();
  Dialog()->SendMessageW(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
  Dialog()->SendMessageW(WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
  EXPECT_FALSE(Peer().HistoryBar());
  EXPECT_EQ(Peer().ListPeer().RowCount(), 0);

  // The next opening has nothing to show, and Enter picks nothing.
  Dialog()->SendMessageW(WM_SMARTKEYBOARD_HIDE, 0, 0);
  OpenEmpty();
  EXPECT_FALSE(Peer().HistoryBar());
  EXPECT_EQ(Peer().ListPeer().RowCount(), 0);
  KeyIntoEdit(VK_RETURN);
  PumpPending();
  EXPECT_EQ(CountOf(m_terminal->m_command, WM_RUN_COMMAND), 2);

  // The pop-up's end writes the emptied history: the next start finds none.
  m_manager->Uninitialize();
  EXPECT_EQ(FileRecords(), 0);
}

TEST_F(PopupHistoryBarTest, TheClearButtonIsLitWithTheHandOnlyWhileTheBarShows) {
  PickTwo();
  OpenEmpty();
  ASSERT_TRUE(Peer().HistoryBar());
  CSmartKeyboardDlg* dialog = Dialog();
  POINT at = ClearCentre();
  EXPECT_EQ(ClearButtonPixel(), kClearNormal);
  dialog->SendMessageW(WM_MOUSEMOVE, 0, MAKELPARAM(at.x, at.y));
  EXPECT_EQ(CursorOver(*dialog), Hand());
  EXPECT_EQ(ClearButtonPixel(), kClearLit);

  // Typing takes the bar away.
  TypeForwarded(L"6");
  ASSERT_FALSE(Peer().HistoryBar());
  // Where the dialog itself sees the pointer, nothing is lit without the bar.
  dialog->SendMessageW(WM_MOUSEMOVE, 0, MAKELPARAM(at.x, at.y));
  EXPECT_EQ(Peer().HoverButton(), 0);
  EXPECT_NE(CursorOver(*dialog), Hand());

  // Opened empty again, the button is there but not lit until the pointer comes back to it.
  KeyIntoEdit(VK_ESCAPE);
  OpenEmpty();
  ASSERT_TRUE(Peer().HistoryBar());
  EXPECT_EQ(Peer().HoverButton(), 0);
  EXPECT_EQ(ClearButtonPixel(), kClearNormal);
}

TEST(SuggestListHover, ARowTheShrinkingListNoLongerShowsLosesItsHover) {
  SuggestListHost host;
  CSuggestListWnd& list = *host.list;
  SuggestListTestPeer peer = host.Peer();
  host.ShowResults(30);
  ASSERT_EQ(peer.VisibleRows(), 12);
  const RECT last = peer.RowRect(11);
  list.SendMessageW(WM_MOUSEMOVE, 0, host.RowPoint(11));
  ASSERT_EQ(peer.Hover(), 11);
  ASSERT_EQ(PixelAt(list, 2, last.top + 2), kRowHover);

  // Two rows fewer: the hovered one is gone, and stays unlit when the room comes back.
  list.MoveWindow(RECT{0, 0, host.width, host.height - 2 * peer.RowHeight()}, TRUE);
  ASSERT_EQ(peer.VisibleRows(), 10);
  EXPECT_EQ(peer.Hover(), -1);
  list.MoveWindow(RECT{0, 0, host.width, host.height}, TRUE);
  EXPECT_EQ(PixelAt(list, 2, last.top + 2), kRowBackground);

  // A hovered row that still shows keeps its hover.
  list.SendMessageW(WM_MOUSEMOVE, 0, host.RowPoint(3));
  list.MoveWindow(RECT{0, 0, host.width, host.height - 2 * peer.RowHeight()}, TRUE);
  EXPECT_EQ(peer.Hover(), 3);
  EXPECT_EQ(PixelAt(list, 2, peer.RowRect(3).top + 2), kRowHover);
}

}  // namespace
