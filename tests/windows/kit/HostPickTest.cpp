// Picks through the real component, loaded by the host kit as a terminal loads it: typed keys go
// through slot 9, Enter hands the pick over, and the host takes it back from the message as it
// arrived.
#include <gtest/gtest.h>

#include <vector>

#include "KitTerminal.h"

namespace {

std::vector<KeyboardItemInfo> Items() {
  std::vector<KeyboardItemInfo> items = {
      {L"600000", L"PFYH", L"浦发银行", 0x0102, -1, nullptr, 0xFFFFFFFF, KEYBOARD_SELECT_NONE},
      {L"600036", L"ZSYH", L"招商银行", 0x0102, -1, nullptr, 0xFFFFFFFF, KEYBOARD_SELECT_NONE},
      {L"600900", L"CJDL", L"长江电力", 0x0102, -1, nullptr, 0xFFFFFFFF, KEYBOARD_SELECT_NONE},
      {L"61", L"61", L"沪A涨幅排名", 0x6400, 1161, nullptr, KIND_COMMAND, KEYBOARD_SELECT_NONE},
  };
  for (KeyboardItemInfo& item : items)
    if (item.m_dwKind != KIND_COMMAND) item.m_cMarket = 1;
  return items;
}

class HostPickTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_host.LoadComponent());
    m_items = Items();
    int count = static_cast<int>(m_items.size());
    EXPECT_EQ(m_host.AddSecuritiesOf(m_items.data(), count), 3);
    EXPECT_EQ(m_host.TagItems(m_items.data(), count), 4);
    std::vector<int> allCategories;
    ASSERT_TRUE(m_host.Manager()->AddKeyboardItems(m_items.data(), count, &allCategories, FALSE));
    m_terminal.reset(new KitTerminal(m_host));
  }
  void TearDown() override { m_terminal.reset(); }

  // Types the text, presses Enter and waits for the message at the window.
  const KitMessage* Pick(const wchar_t* text, HWND wnd, UINT message) {
    m_terminal->Type(text);
    m_terminal->Press(VK_RETURN);
    m_terminal->PumpUntil([&] { return m_terminal->Find(wnd, message) != nullptr; });
    return m_terminal->Find(wnd, message);
  }

  CTerminalHost m_host;
  std::vector<KeyboardItemInfo> m_items;
  std::unique_ptr<KitTerminal> m_terminal;
};

TEST_F(HostPickTest, EachReceiverTakesBackWhatWasPicked) {
  // The ordinary case: the command window gets 0x51C with the item's tag.
  const KitMessage* command = Pick(L"600", m_terminal->m_command, WM_RUN_COMMAND);
  ASSERT_NE(command, nullptr);
  HostHandOver handOver;
  ASSERT_TRUE(m_host.TakeHandOver(command->message, command->wParam, command->lParam, &handOver));
  EXPECT_NE(dynamic_cast<CHostItemTag*>(handOver.object), nullptr);
  ASSERT_TRUE(handOver.hasItem);
  EXPECT_STREQ(handOver.item.code, L"600000");
  EXPECT_STREQ(handOver.item.name, L"浦发银行");
  EXPECT_EQ(handOver.item.market, 1);
  EXPECT_EQ(handOver.item.kind, 0xFFFFFFFFu);
  EXPECT_EQ(m_host.PendingHandOverCount(), 0u);

  // A window that asked for a security gets 0x500; the name comes from the data centre.
  RECT rect;
  GetWindowRect(m_terminal->m_receiver, &rect);
  ASSERT_TRUE(m_host.Manager()->ShowForWindow(m_terminal->m_receiver, rect.right, rect.bottom,
                                              PLACEMENT_TOP_RIGHT));
  const KitMessage* stock = Pick(L"600036", m_terminal->m_receiver, WM_STOCK_SELECTED);
  ASSERT_NE(stock, nullptr);
  ASSERT_TRUE(m_host.TakeHandOver(stock->message, stock->wParam, stock->lParam, &handOver));
  EXPECT_STREQ(handOver.item.code, L"600036");
  EXPECT_STREQ(handOver.item.name, L"招商银行");
  EXPECT_EQ(handOver.item.market, 1);

  // An element container gets 0x503 synchronously, and takes it back while the send runs.
  CHostElementContainer element(m_terminal->m_container, 7001);
  ASSERT_TRUE(m_host.AddElementContainer(&element));
  HostHandOver event;
  bool taken = false;
  m_terminal->m_onMessage = [&](const KitMessage& message) -> LRESULT {
    if (message.message != WM_ELEMENT_EVENT) return 0;
    taken = m_host.TakeHandOver(message.message, message.wParam, message.lParam, &event);
    return 1;
  };
  ASSERT_TRUE(m_host.Manager()->ShowForContainer(&element, 300, 300, PLACEMENT_BOTTOM_RIGHT));
  ASSERT_NE(Pick(L"600900", m_terminal->m_container, WM_ELEMENT_EVENT), nullptr);
  ASSERT_TRUE(taken);
  EXPECT_EQ(event.elementId, 7001u);
  EXPECT_EQ(event.eventName, L"SetParam");
  EXPECT_EQ(event.eventArg, L"Type=Both");
  EXPECT_EQ(event.params, L"<params><code>600900</code><market>1</market></params>");
  EXPECT_STREQ(event.item.code, L"600900");
  EXPECT_STREQ(event.item.name, L"长江电力");
  EXPECT_EQ(m_terminal->Find(m_terminal->m_command, WM_STOCK_SELECTED), nullptr);
}

TEST_F(HostPickTest, AContainerThatGoesClosesThePopupOpenedForIt) {
  auto element = std::make_unique<CHostElementContainer>(m_terminal->m_container, 7002);
  ASSERT_TRUE(m_host.AddElementContainer(element.get()));
  ASSERT_TRUE(m_host.Manager()->ShowForContainer(element.get(), 300, 300, PLACEMENT_TOP_LEFT));
  ASSERT_TRUE(m_terminal->PumpUntil([&] { return m_terminal->Popup() != nullptr; }));
  element.reset();
  EXPECT_EQ(m_terminal->Popup(), nullptr);

  // The next pick goes to the command window, not to the container that went.
  ASSERT_NE(Pick(L"61", m_terminal->m_command, WM_RUN_COMMAND), nullptr);
  EXPECT_EQ(m_terminal->Find(m_terminal->m_container, WM_ELEMENT_EVENT), nullptr);
}

TEST_F(HostPickTest, TheMiniTradePanelAndFullPinyinAliasesReachTheComponent) {
  ASSERT_TRUE(m_host.SetMiniTradeVisible(true));
  EXPECT_FALSE(m_host.Manager()->ShowSmartKeyboard(0, FALSE, 0, 0));
  ASSERT_TRUE(m_host.SetMiniTradeVisible(false));
  EXPECT_TRUE(m_host.Manager()->ShowSmartKeyboard(0, FALSE, 0, 0));

  // 长江电力 reads CHANG or ZHANG: two aliases; the other securities one each; commands none.
  EXPECT_EQ(m_host.AddFullPinyinAliases(m_items.data(), static_cast<int>(m_items.size())), 4);
  std::vector<KeyboardItemInfo> results;
  ASSERT_TRUE(m_host.Manager()->SearchKeyboardItems(L"ZHANGJIANG", &results, false));
  ASSERT_EQ(results.size(), 1u);
  EXPECT_STREQ(results[0].m_szCode, L"600900");
  EXPECT_EQ(results[0].m_dwKind, KIND_ALIAS);
  // The alias hands over what its security does.
  EXPECT_EQ(results[0].m_pUnknown, m_items[2].m_pUnknown);
}

TEST_F(HostPickTest, UnloadingReleasesThePackagesTheComponentMadeBeforeItsDllGoes) {
  ASSERT_TRUE(m_host.Manager()->ShowForWindow(m_terminal->m_receiver, 600, 300, 0));
  ASSERT_NE(Pick(L"600000", m_terminal->m_receiver, WM_STOCK_SELECTED), nullptr);
  EXPECT_EQ(m_host.PendingHandOverCount(), 1u);  // never taken back
  m_terminal.reset();
  m_host.UnloadComponent();
  EXPECT_EQ(m_host.Manager(), nullptr);
  EXPECT_EQ(m_host.PendingHandOverCount(), 0u);
  EXPECT_EQ(GetModuleHandleW(L"HotKeyManagerFactory.dll"), nullptr);
  m_host.UnloadComponent();  // twice is harmless
}

}  // namespace
