// The suggestion list with real windows and real messages: keys, mouse, wheel, the auto-scroll
// timer, the scrollbar through its delegate, activation through the table's hand-over, and when
// the recent picks are shown and recorded.
#include <gtest/gtest.h>

#include "frame/Scrollbar.h"
#include "frame/Unknown.h"
#include "support/Pump.h"
#include "support/SuggestListHost.h"

namespace {

void Key(CSuggestListWnd& list, WPARAM key) { list.SendMessageW(WM_KEYDOWN, key, 1); }

bool BarShown(const SuggestListTestPeer& list) {
  return list.ScrollBar() && list.ScrollBar()->m_hWnd &&
         (GetWindowLongW(list.ScrollBar()->m_hWnd, GWL_STYLE) & WS_VISIBLE) != 0;
}

TEST(SuggestList, LayoutDpiPaletteAndDestruction) {
  SuggestListHost host(320, 264);
  CSuggestListWnd& list = *host.list;
  SuggestListTestPeer peer = host.Peer();
  EXPECT_EQ(GetClassLongW(list.m_hWnd, GCL_STYLE) & CS_DBLCLKS, static_cast<ULONG_PTR>(CS_DBLCLKS));
  EXPECT_EQ(peer.RowHeight(), 22);
  EXPECT_EQ(peer.VisibleRows(), 12);
  ASSERT_NE(peer.ScrollBar(), nullptr);
  int strip = peer.ScrollBar()->GetScrollWndWidthOrHeight();
  EXPECT_EQ(peer.ListRect().right, 320 - strip);

  // The bar only while the items do not fit.
  host.ShowResults(12);
  EXPECT_FALSE(BarShown(peer));
  host.ShowResults(30);
  EXPECT_TRUE(BarShown(peer));
  RECT bar;
  GetWindowRect(peer.ScrollBar()->m_hWnd, &bar);
  EXPECT_EQ(bar.right - bar.left, strip);

  // A larger dpi: taller rows, fonts asked for at that dpi, the selected item kept on screen.
  Key(list, VK_NEXT);
  for (int i = 0; i < 10; ++i) Key(list, VK_DOWN);
  ASSERT_EQ(peer.Selected(), 10);
  RECT suggested = {0, 0, 480, 396};
  list.SendMessageW(WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
  EXPECT_EQ(peer.RowHeight(), 33);
  EXPECT_EQ(peer.VisibleRows(), 8);
  EXPECT_EQ(peer.Top(), 15);
  EXPECT_EQ(peer.Selected(), 7);
  EXPECT_EQ(peer.NameFont(), host.env.palette()->GetFont(L"SuggestListWnd.Name", 144));

  // The skin-changed broadcast reaches the list through the data centre.
  host.env.palette()->SetColor(L"SuggestListWnd.CLR.BG", RGB(1, 2, 3));
  EXPECT_GE(host.env.securities()->BroadcastPaletteChanged(), 1);
  EXPECT_EQ(peer.Background(), RGB(1, 2, 3));

  // Destroying the list writes the history file (empty: nothing was picked) and unregisters it.
  EXPECT_EQ(host.HistoryFileSize(), -1);
  list.DestroyWindow();
  EXPECT_EQ(host.HistoryFileSize(), 0);
  EXPECT_EQ(host.env.securities()->BroadcastWindowCount(), 0u);
}

TEST(SuggestList, KeysWheelScrollbarAndEscape) {
  SuggestListHost host;
  CSuggestListWnd& list = *host.list;
  SuggestListTestPeer peer = host.Peer();
  struct Step {
    WPARAM key;
    int top, selected;
  };
  const std::pair<int, std::vector<Step>> cases[] = {
      {30, {{VK_NEXT, 12, 0}, {VK_NEXT, 24, 0}, {VK_NEXT, 24, 5}, {VK_HOME, 0, 0}}},
      {30, {{VK_END, 24, 5}, {VK_DOWN, 24, 5}, {VK_PRIOR, 12, 5}, {VK_HOME, 0, 0}, {VK_UP, 0, 0}}},
      {24, {{VK_END, 23, 0}, {VK_UP, 22, 0}, {VK_DOWN, 22, 1}, {VK_DOWN, 22, 1}}},
      {30, {{VK_DOWN, 0, 1}, {'A', 0, 1}, {VK_LEFT, 0, 1}}},
      {0, {{VK_NEXT, 0, 0}, {VK_END, 0, 0}, {VK_DOWN, 0, 0}}},
  };
  for (const auto& c : cases) {
    host.ShowResults(c.first);
    for (const Step& step : c.second) {
      Key(list, step.key);
      EXPECT_EQ(peer.Top(), step.top) << c.first << " items, key " << step.key;
      EXPECT_EQ(peer.Selected(), step.selected) << c.first << " items, key " << step.key;
    }
  }

  // One row per wheel message whatever its delta, as Up and Down do.
  host.ShowResults(30);
  list.SendMessageW(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-360)), 0);
  EXPECT_EQ(peer.Selected(), 1);
  list.SendMessageW(WM_MOUSEWHEEL, MAKEWPARAM(0, 120), 0);
  EXPECT_EQ(peer.Selected(), 0);

  // The scrollbar reports through its delegate.
  CQXScrollbarWnd* bar = peer.ScrollBar();
  ASSERT_NE(bar, nullptr);
  auto& events = bar->m_delegateScrollEvent;
  EXPECT_EQ(events.Invoke(bar, 0, 3, 1), 1);  // a page towards the end
  EXPECT_EQ(peer.Top(), 12);
  EXPECT_EQ(events.Invoke(bar, 0, 4, 90), 1);  // the thumb beyond the end
  EXPECT_EQ(peer.Top(), 29);
  // Other groups and other bars are not the list's business.
  EXPECT_EQ(events.Invoke(bar, 1, 2, 1), 0);
  CQXScrollbarWnd other;
  EXPECT_EQ(events.Invoke(&other, 0, 2, 1), 0);
  EXPECT_EQ(peer.Top(), 29);

  // A real click on the bar's lower arrow moves the selection one row.
  host.ShowResults(30);
  RECT client;
  GetClientRect(bar->m_hWnd, &client);
  LPARAM arrow = MAKELPARAM(client.right / 2, client.bottom - 2);
  bar->SendMessageW(WM_LBUTTONDOWN, MK_LBUTTON, arrow);
  bar->SendMessageW(WM_LBUTTONUP, 0, arrow);
  EXPECT_EQ(peer.Selected(), 1);
  EXPECT_EQ(peer.Top(), 0);

  // Escape and WM_CLOSE hide the list; neither destroys it.
  Key(list, VK_ESCAPE);
  EXPECT_FALSE(list.IsWindowVisible());
  list.ShowWindow(SW_SHOW);
  list.SendMessageW(WM_CLOSE, 0, 0);
  EXPECT_TRUE(IsWindow(list.m_hWnd));
  EXPECT_FALSE(list.IsWindowVisible());
}

// The dialog has the list search: the typed text as the search text, full-width capitals from
// an input method as their ASCII letters and every other character as it is.
TEST(SuggestList, SearchesTheTableForTheTypedTextAndShowsTheResultsFromTheTop) {
  SuggestListHost host;
  CSuggestListWnd& list = *host.list;
  SuggestListTestPeer peer = host.Peer();
  for (int i = 0; i < 20; ++i) {
    KeyboardItemInfo item = host.Result(i);
    ASSERT_TRUE(host.table.AddOneItem(&item, true, false));
  }
  list.ShowSearchResults(L"ZQ");
  ASSERT_EQ(peer.RowCount(), 20);
  Key(list, VK_NEXT);
  ASSERT_EQ(peer.Top(), 12);

  list.ShowSearchResults(
      L"\xFF3A\xFF31"
      L"07");  // ＺＱ07
  ASSERT_EQ(peer.Results().size(), 1u);
  EXPECT_STREQ(peer.Results()[0].m_szCode, L"600007");
  EXPECT_EQ(peer.RowCount(), 1);
  EXPECT_EQ(peer.Top(), 0);
  EXPECT_EQ(peer.Selected(), 0);
  Key(list, VK_RETURN);
  ASSERT_TRUE(PumpUntil([&] { return CountOf(host.commandWnd, WM_RUN_COMMAND) == 1; }));
  EXPECT_EQ(LastOf(host.commandWnd, WM_RUN_COMMAND)->wParam, 1007u);

  // Full-width digits fold as the capitals do; other full-width signs stay what they are.
  list.ShowSearchResults(L"ZQ\xFF10\xFF17");  // ZQ０７
  ASSERT_EQ(peer.Results().size(), 1u);
  EXPECT_STREQ(peer.Results()[0].m_szCode, L"600007");
  list.ShowSearchResults(L"ZQ\xFF0D");  // ZQ－
  EXPECT_TRUE(peer.Results().empty());
  EXPECT_EQ(peer.RowCount(), 0);
  EXPECT_FALSE(list.ShowHistoryIfIdle());  // the field holds text
}

TEST(SuggestList, MouseSelectsDragsHoversAndAutoScrolls) {
  SuggestListHost host;
  CSuggestListWnd& list = *host.list;
  SuggestListTestPeer peer = host.Peer();
  host.ShowResults(5);

  // Below the last item a press does nothing.
  list.SendMessageW(WM_LBUTTONDOWN, MK_LBUTTON, host.RowPoint(7));
  EXPECT_EQ(peer.Selected(), 0);
  EXPECT_NE(GetCapture(), list.m_hWnd);

  list.SendMessageW(WM_LBUTTONDOWN, MK_LBUTTON, host.RowPoint(3));
  EXPECT_EQ(peer.Selected(), 3);
  EXPECT_EQ(GetCapture(), list.m_hWnd);
  // Dragging over the rows moves the selection with the pointer, never past the last item.
  list.SendMessageW(WM_MOUSEMOVE, MK_LBUTTON, host.RowPoint(1));
  EXPECT_EQ(peer.Selected(), 1);
  list.SendMessageW(WM_MOUSEMOVE, MK_LBUTTON, host.RowPoint(9));
  EXPECT_EQ(peer.Selected(), 2);
  list.SendMessageW(WM_LBUTTONUP, 0, host.RowPoint(2));
  EXPECT_FALSE(peer.ButtonDown());
  EXPECT_NE(GetCapture(), list.m_hWnd);

  // Hover follows the pointer over items and stays put over the empty area below them.
  list.SendMessageW(WM_MOUSEMOVE, 0, host.RowPoint(3));
  list.SendMessageW(WM_MOUSEMOVE, 0, host.RowPoint(8));
  EXPECT_EQ(peer.Hover(), 3);
  list.SendMessageW(WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(peer.Hover(), -1);

  // Losing the capture to another window ends the drag.
  list.SendMessageW(WM_LBUTTONDOWN, MK_LBUTTON, host.RowPoint(0));
  ASSERT_TRUE(peer.ButtonDown());
  SetCapture(host.parent.m_hWnd);
  EXPECT_FALSE(peer.ButtonDown());
  ReleaseCapture();

  // Holding the button outside the list scrolls one row per timer tick.
  host.ShowResults(30);
  list.SendMessageW(WM_LBUTTONDOWN, MK_LBUTTON, host.RowPoint(10));
  ASSERT_TRUE(peer.ButtonDown());
  SetCursorPos(SuggestListHost::kLeft + 40, SuggestListHost::kTop + host.height + 40);
  ASSERT_TRUE(PumpUntil([&] { return peer.Top() >= 4; }));
  list.SendMessageW(WM_LBUTTONUP, 0, 0);
  int top = peer.Top();
  // Ticks stop with the button: nothing scrolls while waiting for a posted marker.
  list.PostMessageW(WM_NULL, 0, 0);
  PumpUntil([] { return false; }, 5);
  EXPECT_EQ(peer.Top(), top);

  // Above the list the ticks run back to the first item.
  list.SendMessageW(WM_LBUTTONDOWN, MK_LBUTTON, host.RowPoint(0));
  SetCursorPos(SuggestListHost::kLeft + 40, SuggestListHost::kTop - 40);
  ASSERT_TRUE(PumpUntil([&] { return peer.Top() == 0 && peer.Selected() == 0; }));
  list.SendMessageW(WM_LBUTTONUP, 0, 0);
}

TEST(SuggestList, DoubleClickAndEnterActivateNotifyAndRecordThePick) {
  SuggestListHost host;
  CSuggestListWnd& list = *host.list;
  SuggestListTestPeer peer = host.Peer();
  host.ShowResults(5);
  list.SendMessageW(WM_LBUTTONDBLCLK, MK_LBUTTON, host.RowPoint(7));  // below the items
  EXPECT_TRUE(host.parent.activations.empty());

  list.SendMessageW(WM_LBUTTONDBLCLK, MK_LBUTTON, host.RowPoint(2));
  EXPECT_EQ(peer.Selected(), 2);
  ASSERT_EQ(host.parent.activations.size(), 1u);
  EXPECT_EQ(host.parent.activations[0], list.m_hWnd);
  // The hand-over posts the item's extra information to the command window.
  ASSERT_TRUE(PumpUntil([&] { return CountOf(host.commandWnd, WM_RUN_COMMAND) == 1; }));
  EXPECT_EQ(LastOf(host.commandWnd, WM_RUN_COMMAND)->wParam, 1002u);
  // The pick goes to the front of the history, and the posted save writes its one record.
  ASSERT_EQ(peer.History().Items().size(), 1u);
  EXPECT_STREQ(peer.History().Items()[0].m_szCode, L"600002");
  ASSERT_TRUE(PumpUntil([&] { return host.HistoryFileSize() == 180; }));
  EXPECT_FALSE(peer.History().HasUnsavedChanges());

  // Enter activates the selection only while the list can be seen, parents included.
  Key(list, VK_DOWN);
  host.parent.ShowWindow(SW_HIDE);
  Key(list, VK_RETURN);
  PumpPending();
  EXPECT_EQ(CountOf(host.commandWnd, WM_RUN_COMMAND), 1);
  host.parent.ShowWindow(SW_SHOW);
  Key(list, VK_RETURN);
  ASSERT_TRUE(PumpUntil([&] { return CountOf(host.commandWnd, WM_RUN_COMMAND) == 2; }));
  EXPECT_EQ(LastOf(host.commandWnd, WM_RUN_COMMAND)->wParam, 1003u);
  EXPECT_STREQ(peer.History().Items()[0].m_szCode, L"600003");
}

TEST(SuggestList, HistoryIsShownAndRecordedOnlyWithoutATarget) {
  SuggestListHost host;
  CSuggestListWnd& list = *host.list;
  SuggestListTestPeer peer = host.Peer();
  std::vector<KeyboardItemInfo>& history = peer.History().Items();
  EXPECT_FALSE(list.ShowHistoryIfIdle());  // nothing picked yet
  for (int i = 0; i < 3; ++i) {
    KeyboardItemInfo item = host.Result(10 + i);
    ASSERT_TRUE(list.AddToHistory(&item));
  }
  host.ShowResults(5);
  EXPECT_FALSE(list.ShowHistoryIfIdle());  // the field holds text
  Key(list, VK_DOWN);
  Key(list, VK_DOWN);
  ASSERT_EQ(peer.Selected(), 2);
  list.ClearResults();
  EXPECT_TRUE(list.ShowHistoryIfIdle());
  EXPECT_EQ(peer.RowCount(), 3);
  EXPECT_EQ(peer.Selected(), 0);

  // A history row goes out as a package carrying a plain copy; picking it again does not nest.
  Key(list, VK_DOWN);
  for (int pick = 1; pick <= 2; ++pick) {
    Key(list, VK_RETURN);
    ASSERT_TRUE(PumpUntil([&] { return CountOf(host.commandWnd, WM_RUN_COMMAND) == pick; }));
    const ReceivedMessage* sent = LastOf(host.commandWnd, WM_RUN_COMMAND);
    IUnknown* object = host.env.env()->TakeHandOver(static_cast<uint32_t>(sent->lParam));
    auto* package = dynamic_cast<CPackager<KeyboardItemInfo>*>(object);
    ASSERT_NE(package, nullptr);
    EXPECT_STREQ(package->m_value.m_szCode, L"600011");
    EXPECT_EQ(package->m_value.m_pUnknown, nullptr) << pick;
    object->Release();
  }
  // Picking from the history neither reorders it nor saves it.
  EXPECT_STREQ(history[0].m_szCode, L"600012");
  EXPECT_NE(history[1].m_pUnknown, nullptr);

  // With a receiver waiting for a security the history is never shown, not even with the field
  // empty, and picks are not kept.
  host.table.m_hTargetWnd = host.commandWnd.m_hWnd;
  list.ClearResults();
  EXPECT_FALSE(list.ShowHistoryIfIdle());
  EXPECT_EQ(peer.RowCount(), 0);
  host.ShowResults(5);
  Key(list, VK_DOWN);
  Key(list, VK_RETURN);
  ASSERT_TRUE(PumpUntil([&] { return CountOf(host.commandWnd, WM_STOCK_SELECTED) == 1; }));
  EXPECT_EQ(history.size(), 3u);
  EXPECT_STREQ(history[0].m_szCode, L"600012");
  host.table.m_hTargetWnd = nullptr;
}

}  // namespace
