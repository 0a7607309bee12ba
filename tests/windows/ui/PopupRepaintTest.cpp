// The pop-up paints only what a keystroke changed: unchanged windows and the scrollbar's strip
// are left alone, and the off-screen surfaces are kept between paints. What is on the screen
// after each keystroke must still be exactly what a full repaint of the pop-up shows.
#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "support/PopupFixture.h"
#include "support/Pump.h"
#include "support/TestPalette.h"
#include "window/InputEdit.h"
#include "window/SuggestListWnd.h"

namespace {

// The pop-up's pixels as they are on the screen now, children included.
std::vector<unsigned> Screen(HWND popup) {
  RECT client;
  GetClientRect(popup, &client);
  BITMAPINFO info = {};
  info.bmiHeader = {
      sizeof(BITMAPINFOHEADER), client.right, -client.bottom, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HDC window = GetDC(popup), memory = CreateCompatibleDC(window);
  HBITMAP section = CreateDIBSection(window, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, section);
  BitBlt(memory, 0, 0, client.right, client.bottom, window, 0, 0, SRCCOPY);
  GdiFlush();
  std::vector<unsigned> pixels(static_cast<const unsigned*>(bits),
                               static_cast<const unsigned*>(bits) + client.right * client.bottom);
  DeleteObject(SelectObject(memory, old));
  DeleteDC(memory);
  ReleaseDC(popup, window);
  return pixels;
}

}  // namespace

class PopupRepaintTest : public PopupTest {
 protected:
  void SetUp() override {
    PopupTest::SetUp();
    // A thumb that stands out from its track, so that a stale one shows.
    CTestPalette* palette = m_terminal->m_env.palette();
    palette->SetColor(L"ScrollBar.CLR.Track", RGB(200, 200, 200));
    palette->SetColor(L"ScrollBar.CLR.Thumb", RGB(90, 90, 90));
    palette->SetColor(L"ScrollBar.CLR.ThumbHover", RGB(60, 60, 60));
    palette->SetColor(L"ScrollBar.CLR.Arrow", RGB(30, 30, 30));
  }
  // The pixels the pending paints leave, against those of a repaint of everything.
  void ExpectSameAsFullRepaint(const char* step) {
    SCOPED_TRACE(step);
    HWND popup = Dialog()->m_hWnd;
    ASSERT_TRUE(IsWindowVisible(popup));
    RedrawWindow(popup, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    std::vector<unsigned> painted = Screen(popup);
    RedrawWindow(popup, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    std::vector<unsigned> repainted = Screen(popup);
    ASSERT_EQ(painted.size(), repainted.size());
    size_t differing = 0;
    for (size_t i = 0; i < painted.size(); ++i) differing += painted[i] != repainted[i] ? 1 : 0;
    EXPECT_EQ(differing, 0u);
  }
  bool ScrollBarShown() {
    HWND bar = GetWindow(Peer().List().m_hWnd, GW_CHILD);
    return bar && (GetWindowLongW(bar, GWL_STYLE) & WS_VISIBLE) != 0;
  }
};

TEST_F(PopupRepaintTest, EveryKeystrokeLeavesWhatAFullRepaintShows) {
  TypeForwarded(L"6");
  ExpectSameAsFullRepaint("opened by 6");
  ASSERT_TRUE(ScrollBarShown());
  const size_t manyResults = ListedCodes().size();
  // Narrowing keeps the scrollbar where it is while its thumb grows with fewer results.
  TypeForwarded(L"01");
  ExpectSameAsFullRepaint("601");
  ASSERT_TRUE(ScrollBarShown());
  ASSERT_NE(ListedCodes().size(), manyResults);
  TypeForwarded(L"10");
  ExpectSameAsFullRepaint("60110: the scrollbar hides");
  EXPECT_FALSE(ScrollBarShown());
  KeyIntoEdit(VK_BACK);
  ExpectSameAsFullRepaint("backspace: the scrollbar shows again");
  EXPECT_TRUE(ScrollBarShown());
  KeyIntoEdit(VK_DOWN);
  ExpectSameAsFullRepaint("down");
  KeyIntoEdit(VK_NEXT);
  ExpectSameAsFullRepaint("page down");
  KeyIntoEdit(VK_UP);
  ExpectSameAsFullRepaint("up");
  // Down past the last row scrolls by one row; up past the first scrolls back.
  for (int i = 0; i < 14; ++i) {
    KeyIntoEdit(VK_DOWN);
    ExpectSameAsFullRepaint("down, row by row");
  }
  for (int i = 0; i < 14; ++i) {
    KeyIntoEdit(VK_UP);
    ExpectSameAsFullRepaint("up, row by row");
  }

  // A hover row, and typing under it.
  CSuggestListWnd& list = Peer().List();
  RECT row = Peer().ListPeer().RowRect(3);
  list.SendMessageW(WM_MOUSEMOVE, 0, MAKELPARAM(row.left + 20, row.top + 2));
  ExpectSameAsFullRepaint("hover");
  TypeForwarded(L"5");
  ExpectSameAsFullRepaint("typed under the hover");
  KeyIntoEdit(VK_LEFT);
  ExpectSameAsFullRepaint("caret left");
}

TEST_F(PopupRepaintTest, APopUpOpenedAgainShowsItsNewContent) {
  TypeForwarded(L"6011");
  ExpectSameAsFullRepaint("first opening");
  KeyIntoEdit(VK_ESCAPE);
  ASSERT_FALSE(PopupVisible());
  // Fewer results than rows: the kept surfaces must not show the last opening's rows.
  TypeForwarded(L"601105");
  ASSERT_TRUE(PopupVisible());
  ExpectSameAsFullRepaint("opened again");
  EXPECT_FALSE(ScrollBarShown());
}

// The pop-up's windows answer the frame's paint and activation themselves, drawing nothing:
// right only while none of them has anything outside its client area, and while the answer
// still lets the activation move on.
TEST_F(PopupRepaintTest, ThePopupsWindowsHaveNoFrameAndLetTheActivationGo) {
  TypeForwarded(L"6");
  ASSERT_TRUE(PopupVisible());
  const HWND popup = Dialog()->m_hWnd;
  for (HWND window : {popup, Peer().Edit().m_hWnd, Peer().List().m_hWnd}) {
    RECT outer, client;
    GetWindowRect(window, &outer);
    GetClientRect(window, &client);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
    EXPECT_TRUE(EqualRect(&outer, &client)) << "window " << GetDlgCtrlID(window);
  }
  EXPECT_EQ(GetActiveWindow(), popup);
  EXPECT_NE(SendMessageW(popup, WM_NCACTIVATE, FALSE, 0), 0);
  EXPECT_NE(SendMessageW(popup, WM_NCACTIVATE, TRUE, 0), 0);
  ExpectSameAsFullRepaint("after the frame's activation messages");
  // Going back to the terminal still takes the activation from the pop-up.
  KeyIntoEdit(VK_ESCAPE);
  EXPECT_FALSE(PopupVisible());
  EXPECT_NE(GetActiveWindow(), popup);
}

// A selection or hover that moves within the page repaints its rows beside the scrollbar, and
// never the scrollbar, whose window the rows' invalidation would otherwise reach.
TEST_F(PopupRepaintTest, RowsThatChangeWithinThePageLeaveTheScrollbarValid) {
  TypeForwarded(L"6");
  ASSERT_TRUE(ScrollBarShown());
  CSuggestListWnd& list = Peer().List();
  const HWND bar = GetWindow(list.m_hWnd, GW_CHILD);
  RedrawWindow(Dialog()->m_hWnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  list.SendMessageW(WM_KEYDOWN, VK_DOWN, 1);
  EXPECT_TRUE(GetUpdateRect(list.m_hWnd, nullptr, FALSE));
  EXPECT_FALSE(GetUpdateRect(bar, nullptr, FALSE));
  ExpectSameAsFullRepaint("down within the page");
  RECT row = Peer().ListPeer().RowRect(4);
  list.SendMessageW(WM_MOUSEMOVE, 0, MAKELPARAM(row.left + 20, row.top + 2));
  EXPECT_TRUE(GetUpdateRect(list.m_hWnd, nullptr, FALSE));
  EXPECT_FALSE(GetUpdateRect(bar, nullptr, FALSE));
  ExpectSameAsFullRepaint("hover within the page");
}
