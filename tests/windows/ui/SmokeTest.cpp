#include <gtest/gtest.h>

#include "wfc/Wnd.h"

// A framework window is found from its handle, in this module and through the one map.
TEST(WindowFramework, CreatedWindowIsFoundFromItsHandle) {
  CWnd wnd;
  RECT rect = {0, 0, 100, 50};
  ASSERT_TRUE(wnd.CreateEx(0, nullptr, L"t", WS_POPUP, rect, nullptr, 0));
  EXPECT_EQ(CWnd::FromHandlePermanent(wnd.m_hWnd), &wnd);
  HWND handle = wnd.m_hWnd;
  wnd.DestroyWindow();
  EXPECT_EQ(CWnd::FromHandlePermanent(handle), nullptr);
  EXPECT_EQ(wnd.m_hWnd, nullptr);
}
