// The hand-over of a chosen item with real windows: the command window and a receiver window
// read the posted messages back; a recording container takes the synchronous event.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "frame/RefPtr.h"
#include "frame/FrameLib.h"
#include "services/SecurityMaster.h"
#include "services/TerminalEnv.h"
#include "table/MappingTable.h"

namespace {

class HiddenWindow {
 public:
  HiddenWindow()
      : m_wnd(CreateWindowExW(0, L"STATIC", L"receiver", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                              GetModuleHandleW(nullptr), nullptr)) {}
  ~HiddenWindow() {
    if (m_wnd) DestroyWindow(m_wnd);
  }
  HWND get() const { return m_wnd; }

  // Every message of the queue for this window, in posting order.
  std::vector<MSG> Drain() const {
    std::vector<MSG> messages;
    MSG msg;
    while (PeekMessageW(&msg, m_wnd, 0x400, 0x7FFF, PM_REMOVE)) messages.push_back(msg);
    return messages;
  }

 private:
  HWND m_wnd;
};

class RecordingContainer : public CElementContainer {
 public:
  uint32_t GetID() override { return 4242; }
  int SendMessageW(uint32_t id, UINT message, WPARAM wParam, LPARAM lParam) override {
    ids.push_back(id);
    messages.push_back(message);
    wParams.push_back(wParam);
    // The parameter text lives only until the send returns: take it now.
    IUnknown* object = env->TakeHandOver(static_cast<uint32_t>(lParam));
    auto* event = dynamic_cast<CPackager<_ELEMENT_EVENT_INFO>*>(object);
    if (event) {
      elementIds.push_back(event->m_value.m_dwElementId);
      texts.push_back(std::wstring(event->m_value.m_pszEventName) + L"|" +
                      event->m_value.m_pszEventArg + L"|" + event->m_value.m_pszParams);
    }
    if (object) object->Release();
    return 1;
  }
  CTerminalEnv* env = nullptr;
  std::vector<uint32_t> ids, elementIds;
  std::vector<UINT> messages;
  std::vector<WPARAM> wParams;
  std::vector<std::wstring> texts;
};

class HandOverWin32Test : public ::testing::Test {
 protected:
  void SetUp() override {
    m_env = TRefPtr<CTerminalEnv>(new CTerminalEnv);
    m_master = TRefPtr<CSecurityMaster>(new CSecurityMaster);
    m_master->AddSecurity(L"600000", 1, L"浦发银行");
    m_env->SetDataMgr(m_master.get());
    m_env->SetCommandWnd(m_command.get());
    CGlobalEnv::SetGlobalEnv(m_env.get());
  }
  void TearDown() override { CGlobalEnv::SetGlobalEnv(nullptr); }

  HiddenWindow m_command;
  TRefPtr<CTerminalEnv> m_env;
  TRefPtr<CSecurityMaster> m_master;
  KeyboardInputMappingTable m_table;
};

KeyboardItemInfo Command(const wchar_t* code, int extra) {
  return KeyboardItemInfo(code, L"ZXG", L"自选股", 0x6400, extra, nullptr, KIND_COMMAND,
                          KEYBOARD_SELECT_WHOLE);
}

}  // namespace

TEST_F(HandOverWin32Test, CommandGoesToTheCommandWindowWithPopupNoticeOnlyInOpenModeOne) {
  ASSERT_TRUE(m_command.get());
  KeyboardItemInfo item = Command(L"61", 61);
  EXPECT_TRUE(m_table.Activate(&item, L"61"));
  std::vector<MSG> posted = m_command.Drain();
  ASSERT_EQ(posted.size(), 1u);
  EXPECT_EQ(posted[0].message, 0x51Cu);
  EXPECT_EQ(posted[0].wParam, 61u);
  EXPECT_EQ(posted[0].lParam, 0);

  m_table.m_nOpenMode = 1;
  EXPECT_TRUE(m_table.Activate(&item, nullptr));
  posted = m_command.Drain();
  ASSERT_EQ(posted.size(), 2u);
  EXPECT_EQ(posted[0].message, 0x51Cu);
  EXPECT_EQ(posted[1].message, 0x601u);
  EXPECT_EQ(posted[1].wParam, 0u);
  EXPECT_EQ(posted[1].lParam, 5);
}

TEST_F(HandOverWin32Test, CommandSeventyThreeCarriesAPackageOfItselfAndReusesIt) {
  KeyboardItemInfo item = Command(L"ZXG", 73);
  ASSERT_TRUE(m_table.Activate(&item, L"ZXG"));
  ASSERT_NE(item.m_pUnknown, nullptr);
  IUnknown* package = item.m_pUnknown;
  std::vector<MSG> posted = m_command.Drain();
  ASSERT_EQ(posted.size(), 1u);
  EXPECT_EQ(posted[0].wParam, 73u);
  IUnknown* handed = m_env->TakeHandOver(static_cast<uint32_t>(posted[0].lParam));
  ASSERT_EQ(handed, package);
  auto* carried = dynamic_cast<CPackager<KeyboardItemInfo>*>(handed);
  ASSERT_NE(carried, nullptr);
  EXPECT_STREQ(carried->m_value.m_szCode, L"ZXG");
  handed->Release();

  ASSERT_TRUE(m_table.Activate(&item, L"ZXG"));
  EXPECT_EQ(item.m_pUnknown, package);
  posted = m_command.Drain();
  ASSERT_EQ(posted.size(), 1u);
  handed = m_env->TakeHandOver(static_cast<uint32_t>(posted[0].lParam));
  EXPECT_EQ(handed, package);
  if (handed) handed->Release();
}

TEST_F(HandOverWin32Test, SecurityPostedToTheReceiverWindowOnlyWhenKnown) {
  HiddenWindow receiver;
  m_table.m_hTargetWnd = receiver.get();
  KeyboardItemInfo known(L"600000", L"PFYH", L"浦发银行", 0x0102, -1, nullptr, 0,
                         KEYBOARD_SELECT_BEGIN);
  known.m_cMarket = 1;
  EXPECT_TRUE(m_table.Activate(&known, L"600"));
  std::vector<MSG> posted = receiver.Drain();
  ASSERT_EQ(posted.size(), 1u);
  EXPECT_EQ(posted[0].message, 0x500u);
  EXPECT_EQ(posted[0].wParam, 0u);
  IUnknown* handed = m_env->TakeHandOver(static_cast<uint32_t>(posted[0].lParam));
  auto* stock = dynamic_cast<CPackager<_STOCK_DEFINE>*>(handed);
  ASSERT_NE(stock, nullptr);
  EXPECT_EQ(stock->m_value.m_cMarket, 1);
  EXPECT_STREQ(stock->m_value.m_szCode, "600000");
  handed->Release();
  EXPECT_TRUE(m_command.Drain().empty());

  KeyboardItemInfo unknown(L"688999", L"XX", L"未知", 0x0117, -1, nullptr, 0,
                           KEYBOARD_SELECT_BEGIN);
  unknown.m_cMarket = 1;
  EXPECT_FALSE(m_table.Activate(&unknown, L"688"));
  EXPECT_TRUE(receiver.Drain().empty());
}

TEST_F(HandOverWin32Test, ContainerTakesPrecedenceAndGetsTheEventSynchronously) {
  HiddenWindow receiver;
  RecordingContainer container;
  container.env = m_env.get();
  m_table.m_pTargetContainer = &container;
  m_table.m_hTargetWnd = receiver.get();
  KeyboardItemInfo known(L"600000", L"PFYH", L"浦发银行", 0x0102, -1, nullptr, 0,
                         KEYBOARD_SELECT_BEGIN);
  known.m_cMarket = 1;
  EXPECT_TRUE(m_table.Activate(&known, L"PFYH"));
  ASSERT_EQ(container.messages.size(), 1u);
  EXPECT_EQ(container.ids[0], 4242u);
  EXPECT_EQ(container.messages[0], 0x503u);
  EXPECT_EQ(container.wParams[0], 0u);
  ASSERT_EQ(container.texts.size(), 1u);
  EXPECT_EQ(container.elementIds[0], 4242u);
  EXPECT_EQ(container.texts[0],
            L"SetParam|Type=Both|<params><code>600000</code><market>1</market></params>");
  EXPECT_TRUE(receiver.Drain().empty());
  EXPECT_TRUE(m_command.Drain().empty());
  m_table.m_pTargetContainer = nullptr;
  m_table.m_hTargetWnd = nullptr;
}

TEST_F(HandOverWin32Test, CommandWindowGoneSendsNothing) {
  HiddenWindow gone;
  HWND stale = gone.get();
  DestroyWindow(stale);
  m_env->SetCommandWnd(stale);
  KeyboardItemInfo item = Command(L"61", 61);
  EXPECT_TRUE(m_table.Activate(&item, nullptr));
  EXPECT_TRUE(m_command.Drain().empty());
}
