// The hand-over of a chosen item with real windows: the command window and a receiver window
// read the posted messages back. The container path has no window and is tested natively.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "frame/FrameLib.h"
#include "frame/RefPtr.h"
#include "services/SecurityMaster.h"
#include "services/TerminalEnv.h"
#include "table/MappingTable.h"

namespace {

class HiddenWindow {
 public:
  HiddenWindow()
      : m_wnd(CreateWindowExW(0, L"STATIC", L"receiver", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                              GetModuleHandleW(nullptr), nullptr)) {}
  ~HiddenWindow() { DestroyWindow(m_wnd); }
  HWND get() const { return m_wnd; }
  // Every message of the queue for this window in posting order, as "message wParam"; the
  // lParam of the last one in *lParam.
  std::vector<std::string> Drain(LPARAM* lParam = nullptr) const {
    std::vector<std::string> messages;
    MSG msg;
    while (PeekMessageW(&msg, m_wnd, 0x400, 0x7FFF, PM_REMOVE)) {
      messages.push_back(std::to_string(msg.message) + " " + std::to_string(msg.wParam));
      if (lParam) *lParam = msg.lParam;
    }
    return messages;
  }

 private:
  HWND m_wnd;
};

class HandOverWin32Test : public ::testing::Test {
 protected:
  void SetUp() override {
    m_master->AddSecurity(L"600000", 1, L"浦发银行");
    m_env->SetDataMgr(m_master.get());
    m_env->SetCommandWnd(m_command.get());
    CGlobalEnv::SetGlobalEnv(m_env.get());
  }
  void TearDown() override { CGlobalEnv::SetGlobalEnv(nullptr); }
  // The object handed over under the value, with the registry's reference.
  TRefPtr<IUnknown> Take(LPARAM value) {
    return TRefPtr<IUnknown>::Adopt(m_env->TakeHandOver(static_cast<uint32_t>(value)));
  }

  HiddenWindow m_command;
  TRefPtr<CTerminalEnv> m_env{new CTerminalEnv};
  TRefPtr<CSecurityMaster> m_master{new CSecurityMaster};
  KeyboardInputMappingTable m_table;
};

KeyboardItemInfo Command(const wchar_t* code, int extra) {
  return KeyboardItemInfo(code, L"ZXG", L"自选股", 0x6400, extra, nullptr, KIND_COMMAND,
                          KEYBOARD_SELECT_WHOLE);
}

TEST_F(HandOverWin32Test, CommandGoesToTheCommandWindowWithPopupNoticeOnlyInOpenModeOne) {
  KeyboardItemInfo item = Command(L"61", 61);
  LPARAM lParam = -1;
  EXPECT_TRUE(m_table.Activate(&item, L"61"));
  EXPECT_EQ(m_command.Drain(&lParam), std::vector<std::string>{"1308 61"});  // 0x51C
  EXPECT_EQ(lParam, 0);
  m_table.m_nOpenMode = 1;
  EXPECT_TRUE(m_table.Activate(&item, nullptr));
  EXPECT_EQ(m_command.Drain(&lParam), (std::vector<std::string>{"1308 61", "1537 0"}));  // 0x601
  EXPECT_EQ(lParam, 5);
}

TEST_F(HandOverWin32Test, CommandSeventyThreeCarriesAPackageOfItselfAndReusesIt) {
  KeyboardItemInfo item = Command(L"ZXG", 73);
  IUnknown* package = nullptr;
  for (int round = 0; round < 2; ++round) {
    ASSERT_TRUE(m_table.Activate(&item, L"ZXG"));
    if (round == 0) package = item.m_pUnknown;
    EXPECT_EQ(item.m_pUnknown, package);
    LPARAM lParam = 0;
    EXPECT_EQ(m_command.Drain(&lParam), std::vector<std::string>{"1308 73"});
    TRefPtr<IUnknown> object = Take(lParam);
    auto* carried = dynamic_cast<CPackager<KeyboardItemInfo>*>(object.get());
    ASSERT_TRUE(carried && carried == package);
    EXPECT_STREQ(carried->m_value.m_szCode, L"ZXG");
  }
}

TEST_F(HandOverWin32Test, SecurityPostedToTheReceiverWindowOnlyWhenKnown) {
  HiddenWindow receiver;
  m_table.m_hTargetWnd = receiver.get();
  KeyboardItemInfo item(L"600000", L"PFYH", L"浦发银行", 0x0102, -1, nullptr, 0,
                        KEYBOARD_SELECT_BEGIN);
  item.m_cMarket = 1;
  LPARAM lParam = 0;
  EXPECT_TRUE(m_table.Activate(&item, L"600"));
  EXPECT_EQ(receiver.Drain(&lParam), std::vector<std::string>{"1280 0"});  // 0x500
  TRefPtr<IUnknown> object = Take(lParam);
  auto* stock = dynamic_cast<CPackager<_STOCK_DEFINE>*>(object.get());
  ASSERT_NE(stock, nullptr);
  EXPECT_EQ(stock->m_value.m_cMarket, 1);
  EXPECT_STREQ(stock->m_value.m_szCode, "600000");
  EXPECT_TRUE(m_command.Drain().empty());
  CopyKeyField(item.m_szCode, L"688999");  // unknown to the data centre
  EXPECT_FALSE(m_table.Activate(&item, L"688"));
  EXPECT_TRUE(receiver.Drain().empty());
}

}  // namespace
