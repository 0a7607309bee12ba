// Double buffering: a paint reaches the window in one copy of its clip box, so a partial paint
// changes only that part; a printing target is drawn on directly.
#include <gtest/gtest.h>

#include "support/Pump.h"
#include "wfc/Wnd.h"
#include "window/MemDC.h"

namespace {

class CPaintedWnd : public CWnd {
 public:
  COLORREF m_clrFill = RGB(0, 0, 255);
  bool m_bFill = true;
  CBackBuffer* m_pBuffer = nullptr;  // paints through a kept surface when set
  COLORREF m_clrTextFound = 0;       // the text colour a paint found on its context
  int m_nBkModeFound = 0;

 protected:
  void OnPaint() {
    CPaintDC paint(this);
    RECT client;
    GetClientRect(&client);
    CMemDC dc(&paint, m_pBuffer, SIZE{client.right, client.bottom});
    m_clrTextFound = GetTextColor(dc.m_hDC);
    m_nBkModeFound = GetBkMode(dc.m_hDC);
    if (m_bFill) dc.FillSolidRect(&client, m_clrFill);
    dc.SetTextColor(RGB(1, 2, 3));
    dc.SetBkMode(TRANSPARENT);
  }
  BOOL OnEraseBkgnd(HDC) { return TRUE; }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CPaintedWnd, CWnd)
ON_WM_PAINT()
ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

}  // namespace

TEST(MemDC, APartialPaintChangesOnlyItsClipBox) {
  CPaintedWnd wnd;
  RECT rect = {100, 100, 300, 200};
  ASSERT_TRUE(wnd.CreateEx(0, nullptr, L"memdc", WS_POPUP | WS_VISIBLE, rect, nullptr, 0));
  wnd.UpdateWindow();
  HDC dc = GetDC(wnd.m_hWnd);
  EXPECT_EQ(GetPixel(dc, 150, 50), RGB(0, 0, 255));

  wnd.m_clrFill = RGB(255, 0, 0);
  RECT part = {20, 10, 60, 40};
  wnd.InvalidateRect(&part, FALSE);
  wnd.UpdateWindow();
  EXPECT_EQ(GetPixel(dc, 30, 20), RGB(255, 0, 0));
  EXPECT_EQ(GetPixel(dc, 59, 39), RGB(255, 0, 0));
  EXPECT_EQ(GetPixel(dc, 60, 20), RGB(0, 0, 255));   // right of the clip box
  EXPECT_EQ(GetPixel(dc, 150, 50), RGB(0, 0, 255));  // elsewhere
  ReleaseDC(wnd.m_hWnd, dc);
  wnd.DestroyWindow();
}

// A kept surface gives a paint what a new bitmap and context would: black where it draws
// nothing, the default drawing state, and only the clip box copied.
TEST(MemDC, AKeptSurfaceStartsEachPaintAsANewOneWould) {
  CBackBuffer buffer;
  CPaintedWnd wnd;
  wnd.m_pBuffer = &buffer;
  RECT rect = {100, 100, 300, 200};
  ASSERT_TRUE(wnd.CreateEx(0, nullptr, L"memdc", WS_POPUP | WS_VISIBLE, rect, nullptr, 0));
  wnd.UpdateWindow();
  HDC dc = GetDC(wnd.m_hWnd);
  EXPECT_EQ(GetPixel(dc, 150, 50), RGB(0, 0, 255));

  wnd.m_bFill = false;
  RECT part = {20, 10, 60, 40};
  wnd.InvalidateRect(&part, FALSE);
  wnd.UpdateWindow();
  EXPECT_EQ(GetPixel(dc, 30, 20), RGB(0, 0, 0));    // not the last paint's blue
  EXPECT_EQ(GetPixel(dc, 60, 20), RGB(0, 0, 255));  // outside the clip box
  EXPECT_EQ(wnd.m_clrTextFound, RGB(0, 0, 0));      // the last paint's colour was put back
  EXPECT_EQ(wnd.m_nBkModeFound, OPAQUE);
  ReleaseDC(wnd.m_hWnd, dc);
  wnd.DestroyWindow();
}

TEST(MemDC, APrintingTargetIsDrawnOnDirectly) {
  CClientDC screen(nullptr);
  CDC target;
  ASSERT_TRUE(target.CreateCompatibleDC(&screen));
  CBitmap bitmap;
  ASSERT_TRUE(bitmap.CreateCompatibleBitmap(&screen, 40, 40));
  target.SelectObject(&bitmap);
  RECT all = {0, 0, 40, 40};
  target.FillSolidRect(&all, RGB(0, 0, 0));
  target.m_bPrinting = TRUE;
  {
    CMemDC dc(&target);
    EXPECT_EQ(dc.m_hDC, target.m_hDC);
    RECT spot = {5, 5, 10, 10};
    dc.FillSolidRect(&spot, RGB(0, 255, 0));
    // Already on the target before the helper goes away.
    EXPECT_EQ(GetPixel(target.m_hDC, 6, 6), RGB(0, 255, 0));
  }
  // The target's handle survives the helper.
  EXPECT_EQ(GetPixel(target.m_hDC, 6, 6), RGB(0, 255, 0));
}
