// Handing the chosen item over: the statistics recorded for every choice, the frame element
// receiver, what goes nowhere, and the mini trade panel check. Without a window system no handle
// is a window; the window receivers are tested on Windows.
#include <gtest/gtest.h>

#include "frame/FrameLib.h"
#include "frame/MiniTradePanel.h"
#include "services/SecurityMaster.h"
#include "services/StatisticsHost.h"
#include "services/TerminalEnv.h"
#include "support/TableFixture.h"

namespace {

// A frame element that reads the event package while the send is in progress, as the terminal
// does: the parameter text lives only that long.
class RecordingContainer : public CElementContainer {
 public:
  explicit RecordingContainer(CTerminalEnv* env) : m_pEnv(env) {}
  uint32_t GetID() override { return 4711; }
  int SendMessageW(uint32_t id, UINT message, WPARAM wParam, LPARAM lParam) override {
    std::wstring event =
        std::to_wstring(id) + L" " + std::to_wstring(message) + L" " + std::to_wstring(wParam);
    IUnknown* object = m_pEnv->TakeHandOver(static_cast<uint32_t>(lParam));
    if (auto* package = dynamic_cast<CPackager<_ELEMENT_EVENT_INFO>*>(object)) {
      const _ELEMENT_EVENT_INFO& info = package->m_value;
      event += L" " + std::to_wstring(info.m_dwElementId) + L" " + info.m_pszEventName + L" " +
               info.m_pszEventArg + L" " + info.m_pszParams;
    }
    if (object) object->Release();
    events.push_back(event);
    return 1;
  }
  std::vector<std::wstring> events;

 private:
  CTerminalEnv* m_pEnv;
};

class ActivateTest : public ::testing::Test {
 protected:
  void SetUp() override {
    host.Master()->AddSecurity(L"600000", 1, L"浦发银行");
    SetStatisticsHook(
        [](void* context, StatisticsKind kind, int type, const wchar_t* text) {
          static_cast<std::vector<std::wstring>*>(context)->push_back(
              std::to_wstring(kind) + L" " + std::to_wstring(type) + L" " + text);
        },
        &calls);
  }
  void TearDown() override { SetStatisticsHook(nullptr, nullptr); }
  // The two statistics of one choice: the item's text, then the text with what was typed.
  static std::vector<std::wstring> Statistics(const std::wstring& text, const wchar_t* typed) {
    return {L"0 12 " + text, L"1 11 " + text + L":" + typed};
  }

  TableHost host;
  CTerminalEnv* env = host.Env();
  std::vector<std::wstring> calls;
  KeyboardInputMappingTable table;
  RecordingContainer container{env};
  KeyboardItemInfo item = Security(L"600000", L"PFYH", L"浦发银行");
};

const wchar_t kPfyhText[] = L"快捷键：600000，PFYH，浦发银行";

TEST_F(ActivateTest, ContainerReceivesTheSecurityAsAnElementEvent) {
  table.m_pTargetContainer = &container;
  table.m_hTargetWnd = reinterpret_cast<HWND>(0x1234);  // the container takes precedence
  EXPECT_TRUE(table.Activate(&item, L"600"));
  const std::wstring event =
      L"4711 1283 0 4711 SetParam Type=Both <params><code>600000</code><market>1</market></params>";
  EXPECT_EQ(container.events, std::vector<std::wstring>{event});  // message 0x503
  EXPECT_EQ(env->PendingHandOverCount(), 0u);
  EXPECT_EQ(calls, Statistics(kPfyhText, L"600"));

  // A null typed text records nothing and hands over the same way.
  calls.clear();
  EXPECT_TRUE(table.Activate(&item, nullptr));
  EXPECT_TRUE(calls.empty());
  EXPECT_EQ(container.events, (std::vector<std::wstring>{event, event}));
  // No item: nothing; no environment: counted, nothing sent.
  EXPECT_TRUE(table.Activate(nullptr, L"600"));
  EXPECT_TRUE(calls.empty());
  CGlobalEnv::SetGlobalEnv(nullptr);
  EXPECT_TRUE(table.Activate(&item, L"600"));
  EXPECT_EQ(calls, Statistics(kPfyhText, L"600"));
  EXPECT_EQ(container.events.size(), 2u);
}

// Unknown securities are counted but not handed over, nor is anything without a data centre; a
// command window that is no window gets nothing, not even the package of the item carrying
// itself (extra info 73).
TEST_F(ActivateTest, NothingIsHandedOverToNoReceiver) {
  table.m_pTargetContainer = &container;
  item.m_cMarket = 0;  // another market
  EXPECT_FALSE(table.Activate(&item, L"PF"));
  EXPECT_EQ(calls, Statistics(kPfyhText, L"PF"));
  env->SetDataMgr(nullptr);
  item.m_cMarket = 1;
  EXPECT_FALSE(table.Activate(&item, L"PF"));
  table.m_pTargetContainer = nullptr;
  env->SetCommandWnd(reinterpret_cast<HWND>(0x5678));
  KeyboardItemInfo carrier = Command(L"73", L"", L"自身", type_word::FUNCTION_CMD, 73);
  EXPECT_TRUE(table.Activate(&carrier, L"73"));
  EXPECT_EQ(calls.back(), L"1 11 快捷键：73，，自身:73");
  EXPECT_EQ(carrier.m_pUnknown, nullptr);
  EXPECT_TRUE(container.events.empty() && env->PendingHandOverCount() == 0);
}

TEST_F(ActivateTest, MiniTradeVisibleOnlyForATrueBooleanPackage) {
  TRefPtr<CPackager<bool>> visible(new CPackager<bool>(true)), hidden(new CPackager<bool>(false));
  TRefPtr<CPackager<int>> other(new CPackager<int>(1));
  std::vector<bool> answers = {IsMiniTradeVisible()};  // missing
  for (IUnknown* value :
       std::vector<IUnknown*>{visible.get(), hidden.get(), other.get(), visible.get()}) {
    env->SetContextValue(L"CONTEXT_MINI_TRADE_VISIBLE_STATE", value);
    answers.push_back(IsMiniTradeVisible());
  }
  EXPECT_EQ(answers, (std::vector<bool>{false, true, false, false, true}));
  // Ours and the environment's: the answers' references were given back.
  EXPECT_TRUE(visible->RefCount() == 2 && other->RefCount() == 1);
  CGlobalEnv::SetGlobalEnv(nullptr);
  EXPECT_FALSE(IsMiniTradeVisible());
}

}  // namespace
