// Handing the chosen item over: the statistics recorded for every choice, the frame element and
// window receivers, the command window, and the mini trade panel check. Without a window system
// no handle is a window, so posted messages are seen only through the hand-over registry.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "frame/FrameLib.h"
#include "frame/RefPtr.h"
#include "services/SecurityMaster.h"
#include "services/StatisticsHost.h"
#include "services/TerminalEnv.h"
#include "support/SearchFixture.h"
#include "table/MappingTable.h"

using namespace type_word;

namespace {

// Remembers every value it hands out, so a test can take the packages back.
class RecordingEnv : public CTerminalEnv {
 public:
  uint32_t RegisterHandOver(IUnknown* object) override {
    uint32_t value = CTerminalEnv::RegisterHandOver(object);
    values.push_back(value);
    return value;
  }
  std::vector<uint32_t> values;
};

struct ReceivedEvent {
  uint32_t id;
  UINT message;
  WPARAM wParam;
  uint32_t elementId;
  std::wstring eventName, eventArg, params;
};

// A frame element that reads the event package while the send is in progress, as the terminal
// does: the parameter text lives only that long.
class RecordingContainer : public CElementContainer {
 public:
  explicit RecordingContainer(CTerminalEnv* env) : m_pEnv(env) {}
  uint32_t GetID() override { return 4711; }
  int SendMessageW(uint32_t id, UINT message, WPARAM wParam, LPARAM lParam) override {
    ReceivedEvent event = {id, message, wParam, 0, L"", L"", L""};
    IUnknown* object = m_pEnv->TakeHandOver(static_cast<uint32_t>(lParam));
    if (auto* package = dynamic_cast<CPackager<_ELEMENT_EVENT_INFO>*>(object)) {
      event.elementId = package->m_value.m_dwElementId;
      event.eventName = package->m_value.m_pszEventName;
      event.eventArg = package->m_value.m_pszEventArg;
      event.params = package->m_value.m_pszParams;
    }
    if (object) object->Release();
    events.push_back(event);
    return 1;
  }
  std::vector<ReceivedEvent> events;

 private:
  CTerminalEnv* m_pEnv;
};

struct StatisticsCall {
  StatisticsKind kind;
  int type;
  std::wstring text;
};

void RecordCall(void* context, StatisticsKind kind, int type, const wchar_t* text) {
  static_cast<std::vector<StatisticsCall>*>(context)->push_back({kind, type, text ? text : L""});
}

const wchar_t kPfyhText[] = L"快捷键：600000，PFYH，浦发银行";

class ActivateTest : public ::testing::Test {
 protected:
  void SetUp() override {
    env = TRefPtr<RecordingEnv>(new RecordingEnv);
    master = TRefPtr<CSecurityMaster>(new CSecurityMaster);
    master->AddSecurity(L"600000", 1, L"浦发银行");
    env->SetDataMgr(master.get());
    CGlobalEnv::SetGlobalEnv(env.get());
    SetStatisticsHook(RecordCall, &calls);
  }
  void TearDown() override {
    SetStatisticsHook(nullptr, nullptr);
    CGlobalEnv::SetGlobalEnv(nullptr);
    env->SetDataMgr(nullptr);
  }

  void ExpectStatistics(const std::wstring& text, const wchar_t* typed) {
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].kind, STATISTICS_DATA_TYPE);
    EXPECT_EQ(calls[0].type, 12);
    EXPECT_EQ(calls[0].text, text);
    EXPECT_EQ(calls[1].kind, STATISTICS_DATA_FUNC_TYPE);
    EXPECT_EQ(calls[1].type, 11);
    EXPECT_EQ(calls[1].text, text + L":" + typed);
  }

  TRefPtr<RecordingEnv> env;
  TRefPtr<CSecurityMaster> master;
  std::vector<StatisticsCall> calls;
  KeyboardInputMappingTable table;
};

TEST_F(ActivateTest, ContainerReceivesTheSecurityAsAnElementEvent) {
  RecordingContainer container(env.get());
  table.m_pTargetContainer = &container;
  table.m_hTargetWnd = reinterpret_cast<HWND>(0x1234);  // the container takes precedence
  KeyboardItemInfo item = Security(L"600000", L"PFYH", L"浦发银行", SH_A, 1);
  EXPECT_TRUE(table.Activate(&item, L"600"));

  ASSERT_EQ(container.events.size(), 1u);
  const ReceivedEvent& event = container.events[0];
  EXPECT_EQ(event.id, 4711u);
  EXPECT_EQ(event.message, 0x503u);
  EXPECT_EQ(event.wParam, 0u);
  EXPECT_EQ(event.elementId, 4711u);
  EXPECT_EQ(event.eventName, L"SetParam");
  EXPECT_EQ(event.eventArg, L"Type=Both");
  EXPECT_EQ(event.params, L"<params><code>600000</code><market>1</market></params>");
  EXPECT_EQ(env->values.size(), 1u);
  EXPECT_EQ(env->PendingHandOverCount(), 0u);
  ExpectStatistics(kPfyhText, L"600");

  // A null typed text records nothing and hands over the same way.
  calls.clear();
  EXPECT_TRUE(table.Activate(&item, nullptr));
  EXPECT_TRUE(calls.empty());
  ASSERT_EQ(container.events.size(), 2u);
  EXPECT_EQ(container.events[1].params, container.events[0].params);
}

TEST_F(ActivateTest, UnknownSecuritiesAreNotHandedOverButCounted) {
  RecordingContainer container(env.get());
  table.m_pTargetContainer = &container;
  KeyboardItemInfo item = Security(L"600000", L"PFYH", L"浦发银行", SH_A, 0);  // other market
  EXPECT_FALSE(table.Activate(&item, L"PF"));
  EXPECT_TRUE(container.events.empty());
  EXPECT_TRUE(env->values.empty());
  ExpectStatistics(kPfyhText, L"PF");

  // The same for a window receiver, and for any receiver without a data centre.
  calls.clear();
  table.m_pTargetContainer = nullptr;
  table.m_hTargetWnd = reinterpret_cast<HWND>(0x1234);
  EXPECT_FALSE(table.Activate(&item, L"PF"));
  env->SetDataMgr(nullptr);
  item.m_cMarket = 1;
  EXPECT_FALSE(table.Activate(&item, L"PF"));
  table.m_hTargetWnd = nullptr;
  table.m_pTargetContainer = &container;
  EXPECT_FALSE(table.Activate(&item, L"PF"));
  EXPECT_TRUE(container.events.empty());
  EXPECT_TRUE(env->values.empty());
  EXPECT_EQ(calls.size(), 6u);
}

TEST_F(ActivateTest, WindowReceiverGetsThePackagedSecurity) {
  table.m_hTargetWnd = reinterpret_cast<HWND>(0x1234);
  KeyboardItemInfo item = Security(L"600000", L"PFYH", L"浦发银行", SH_A, 1);
  EXPECT_TRUE(table.Activate(&item, L"PFYH"));
  ExpectStatistics(kPfyhText, L"PFYH");

  ASSERT_EQ(env->values.size(), 1u);
  TRefPtr<IUnknown> object = TRefPtr<IUnknown>::Adopt(env->TakeHandOver(env->values[0]));
  auto* package = dynamic_cast<CPackager<_STOCK_DEFINE>*>(object.get());
  ASSERT_NE(package, nullptr);
  EXPECT_EQ(package->m_value.m_cMarket, 1);
  EXPECT_STREQ(package->m_value.m_szCode, "600000");
}

TEST_F(ActivateTest, CommandWindowThatIsNoWindowGetsNothing) {
  env->SetCommandWnd(reinterpret_cast<HWND>(0x5678));
  table.m_nOpenMode = 1;
  KeyboardItemInfo command = Command(L"61", L"", L"行情", FUNCTION_CMD, 61);
  EXPECT_TRUE(table.Activate(&command, L"61"));
  ExpectStatistics(L"快捷键：61，，行情", L"61");
  // The item carrying itself is packaged only for a live command window.
  KeyboardItemInfo carrier = Command(L"73", L"", L"自身", FUNCTION_CMD, 73);
  EXPECT_TRUE(table.Activate(&carrier, L"73"));
  EXPECT_EQ(carrier.m_pUnknown, nullptr);
  EXPECT_TRUE(env->values.empty());
}

TEST_F(ActivateTest, NoItemOrNoEnvironment) {
  RecordingContainer container(env.get());
  table.m_pTargetContainer = &container;
  EXPECT_TRUE(table.Activate(nullptr, L"600"));
  EXPECT_TRUE(calls.empty());

  // Without an environment the choice is counted and nothing is sent.
  CGlobalEnv::SetGlobalEnv(nullptr);
  KeyboardItemInfo item = Security(L"600000", L"PFYH", L"浦发银行", SH_A, 1);
  EXPECT_TRUE(table.Activate(&item, L"600"));
  ExpectStatistics(kPfyhText, L"600");
  EXPECT_TRUE(container.events.empty());
}

TEST_F(ActivateTest, MiniTradeVisibleOnlyForATrueBooleanPackage) {
  const wchar_t* name = L"CONTEXT_MINI_TRADE_VISIBLE_STATE";
  EXPECT_FALSE(IsMiniTradeVisible());  // missing

  TRefPtr<CPackager<bool>> visible(new CPackager<bool>(true));
  env->SetContextValue(name, visible.get());
  EXPECT_TRUE(IsMiniTradeVisible());
  EXPECT_EQ(visible->RefCount(), 2);  // ours and the environment's: the answer's was given back

  env->SetContextValue(name, TRefPtr<CPackager<bool>>(new CPackager<bool>(false)).get());
  EXPECT_FALSE(IsMiniTradeVisible());
  EXPECT_EQ(visible->RefCount(), 1);

  TRefPtr<CPackager<int>> other(new CPackager<int>(1));
  env->SetContextValue(name, other.get());
  EXPECT_FALSE(IsMiniTradeVisible());
  EXPECT_EQ(other->RefCount(), 2);

  env->SetContextValue(name, visible.get());
  CGlobalEnv::SetGlobalEnv(nullptr);
  EXPECT_FALSE(IsMiniTradeVisible());
}

}  // namespace
