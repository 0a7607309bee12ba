// The host kit without picks: what it installs and takes down, the main frame the component finds
// behind the handle, and the clear answers to bad use.
#include <gtest/gtest.h>

#include "KitTerminal.h"
#include "frame/DataMgr.h"
#include "frame/Skin.h"
#include "services/TerminalEnv.h"
#include "wfc/Wnd.h"

namespace {

// The view manager the component finds behind the environment's main-frame handle.
CViewManager* FoundViewManager() {
  TRefPtr<CGlobalEnv> env = CGlobalEnv::GetGlobalEnv();
  return env ? dynamic_cast<CViewManager*>(CWnd::FromHandlePermanent(env->GetMainFrameWnd()))
             : nullptr;
}

HWND PlainWindow() {
  return CreateWindowExW(0, L"STATIC", L"plain", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                         GetModuleHandleW(nullptr), nullptr);
}

TEST(TerminalHostTest, InstallsTheServicesAndTakesThemDownAgain) {
  {
    CTerminalHost host;
    ASSERT_TRUE(host.IsReady());
    CGlobalEnv* env = CGlobalEnv::GetGlobalEnv().get();
    EXPECT_EQ(env, host.GetEnvironment());
    EXPECT_NE(dynamic_cast<CDataMgr*>(env->GetDataMgr()), nullptr);
    auto* palette = dynamic_cast<CSWPalette*>(env->GetPalette());
    ASSERT_NE(palette, nullptr);
    EXPECT_EQ(palette->GetColor(L"SuggestListWnd.CLR.BG"), RGB(255, 255, 255));  // light

    EXPECT_TRUE(host.AddSecurity(L"600000", 1, L"浦发银行", 0x0102));
    EXPECT_FALSE(host.AddSecurity(L"600000", 1, L"浦发银行", 0x0102));  // known already
    TRefPtr<CDataMgr> dataMgr(dynamic_cast<CDataMgr*>(env->GetDataMgr()));
    const STK_PER* record = dataMgr->GetOneStkInfo(L"600000", 1);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->m_wType, 0x0102);

    EXPECT_TRUE(host.SetFocusWorkspace(qxWorkspaceTradingFirst));
    EXPECT_EQ(CElementContainerWnd::m_seCurrentFocusWorkspace, 10);
    EXPECT_TRUE(host.SetMiniTradeVisible(true));
    IUnknown* value = nullptr;
    env->GetContextValue(&value, L"CONTEXT_MINI_TRADE_VISIBLE_STATE",
                         L"CONTEXT_MINI_TRADE_VISIBLE_STATE", 0, 0, 0);
    auto* visible = dynamic_cast<CPackager<bool>*>(value);
    ASSERT_NE(visible, nullptr);
    EXPECT_TRUE(visible->m_value);
    value->Release();
    EXPECT_TRUE(host.SetFocusWorkspace(qxWorkspaceNone));
  }
  EXPECT_FALSE(CGlobalEnv::GetGlobalEnv());
}

TEST(TerminalHostTest, TheComponentFindsViewsTypesAndContainersBehindTheMainFrameHandle) {
  CTerminalHost host;
  HWND first = PlainWindow(), second = PlainWindow(), element = PlainWindow();
  ASSERT_TRUE(host.SetView(first, 3));
  CViewManager* frame = FoundViewManager();
  ASSERT_NE(frame, nullptr);
  ASSERT_NE(frame->m_pFirstView, nullptr);
  EXPECT_EQ(frame->m_pFirstView->m_hWnd, first);
  EXPECT_EQ(frame->m_pSecondView, nullptr);
  EXPECT_EQ(frame->GetViewType(frame->m_pFirstView), 3);
  EXPECT_EQ(host.MainFrame().GetCurrentView(), first);

  ASSERT_TRUE(host.SetSecondView(second, 1));
  ASSERT_NE(frame->m_pSecondView, nullptr);
  EXPECT_EQ(frame->GetViewType(frame->m_pSecondView), 1);
  EXPECT_EQ(host.MainFrame().GetCurrentView(), second);

  {
    CHostElementContainer container(element, 7001);
    EXPECT_FALSE(frame->IsContainerWnd(element));
    ASSERT_TRUE(host.AddElementContainer(&container));
    EXPECT_TRUE(frame->IsContainerWnd(element));
    EXPECT_FALSE(frame->IsContainerWnd(first));
  }
  EXPECT_FALSE(frame->IsContainerWnd(element));  // gone with the container

  // A frame of the terminal's own class answers in its place.
  struct AllTypeTwo : CHostMainFrame {
    int GetViewType(HWND) override { return 2; }
  } own;
  own.SetView(first, 0);
  ASSERT_TRUE(host.UseMainFrame(&own));
  CViewManager* ownFound = FoundViewManager();
  ASSERT_NE(ownFound, nullptr);
  EXPECT_NE(ownFound, frame);
  EXPECT_EQ(ownFound->GetViewType(ownFound->m_pFirstView), 2);
  ASSERT_TRUE(host.UseMainFrame(nullptr));
  EXPECT_EQ(FoundViewManager(), frame);

  for (HWND wnd : {first, second, element}) DestroyWindow(wnd);
}

TEST(TerminalHostTest, AHostWithoutItsEnvironmentAnswersFalseAndSaysWhy) {
  LogLines log;
  CTerminalHost host;
  {
    CTerminalHost second;  // another environment is installed already
    EXPECT_FALSE(second.IsReady());
    EXPECT_EQ(second.GetEnvironment(), nullptr);
    EXPECT_FALSE(second.LoadComponent());
    EXPECT_EQ(log.Count(L"[CTerminalHost::LoadComponent]"), 1);
  }
  EXPECT_TRUE(host.IsReady());  // the second host left the first one's environment alone

  CGlobalEnv::SetGlobalEnv(nullptr);  // someone took it down
  EXPECT_FALSE(host.IsReady());
  EXPECT_FALSE(host.SetView(nullptr, 0));
  EXPECT_FALSE(host.AddSecurity(L"600000", 1, L"浦发银行", 0x0102));
  EXPECT_FALSE(host.UseBuiltInSkin(L"dark"));
  HostHandOver handOver;
  EXPECT_FALSE(host.TakeHandOver(WM_RUN_COMMAND, 61, 0, &handOver));
  EXPECT_EQ(log.Count(L"[CTerminalHost::SetView]"), 1);
  EXPECT_EQ(log.Count(L"[CTerminalHost::TakeHandOver]"), 1);
}

// An object whose class code lies outside every module, as a package's does once its DLL is
// freed: the host must neither call nor release it.
struct OrphanObject {
  struct Table {
    HRESULT(STDMETHODCALLTYPE* query)(OrphanObject*, REFIID, void**);
    ULONG(STDMETHODCALLTYPE* addRef)(OrphanObject*);
    ULONG(STDMETHODCALLTYPE* release)(OrphanObject*);
  };
  Table* table;
  int references = 0;
  bool released = false;

  static HRESULT STDMETHODCALLTYPE Query(OrphanObject*, REFIID, void**) { return E_FAIL; }
  static ULONG STDMETHODCALLTYPE AddRef(OrphanObject* self) { return ++self->references; }
  static ULONG STDMETHODCALLTYPE Release(OrphanObject* self) {
    self->released = true;
    return --self->references;
  }
};

TEST(TerminalHostTest, TeardownReleasesPendingHandOversButNeverCallsIntoAModuleThatIsGone) {
  LogLines log;
  auto* table = new OrphanObject::Table{&OrphanObject::Query, &OrphanObject::AddRef,
                                        &OrphanObject::Release};  // on the heap, in no module
  OrphanObject orphan{table};
  TRefPtr<CPackager<bool>> ordinary(new CPackager<bool>(true));
  {
    CTerminalHost host;
    auto* env = static_cast<CTerminalEnv*>(host.GetEnvironment());
    env->RegisterHandOver(reinterpret_cast<IUnknown*>(&orphan));
    env->RegisterHandOver(ordinary.get());
    EXPECT_EQ(host.PendingHandOverCount(), 2u);
    EXPECT_EQ(ordinary->RefCount(), 2);
  }
  EXPECT_EQ(ordinary->RefCount(), 1);  // released while its module was there
  EXPECT_FALSE(orphan.released);       // left alone, and said so
  EXPECT_EQ(log.Count(L"[CTerminalHost::ReleasePendingHandOvers]"), 1);
  delete table;
}

TEST(TerminalHostTest, TakingBackRefusesOtherMessagesAndLParamsThatCarryNoHandOver) {
  LogLines log;
  CTerminalHost host;
  auto* env = static_cast<CTerminalEnv*>(host.GetEnvironment());
  _STOCK_DEFINE stock = {1, "600000"};
  uint32_t value = env->RegisterHandOver(new CPackager<_STOCK_DEFINE>(stock));
  HostHandOver handOver;

  EXPECT_FALSE(host.TakeHandOver(0x601, 0, 5, &handOver));  // a notice, not a hand-over
  EXPECT_FALSE(host.TakeHandOver(WM_STOCK_SELECTED, 0, 987654, &handOver));
  EXPECT_FALSE(host.TakeHandOver(WM_STOCK_SELECTED, 0, -static_cast<LPARAM>(value), &handOver));
  // The value in the low 32 bits does not make a 64-bit LPARAM carry it.
  EXPECT_FALSE(host.TakeHandOver(WM_STOCK_SELECTED, 0,
                                 static_cast<LPARAM>(value) | (LPARAM(1) << 32), &handOver));
  EXPECT_EQ(log.Count(L"[CTerminalHost::TakeHandOver]"), 4);
  EXPECT_EQ(host.PendingHandOverCount(), 1u);

  ASSERT_TRUE(host.TakeHandOver(WM_STOCK_SELECTED, 0, value, &handOver));
  EXPECT_TRUE(handOver.hasItem);
  EXPECT_STREQ(handOver.item.code, L"600000");
  EXPECT_EQ(handOver.item.market, 1);
  EXPECT_FALSE(host.TakeHandOver(WM_STOCK_SELECTED, 0, value, &handOver));  // taken already

  // The package of another message is refused, and still released with the hand-over.
  TRefPtr<CPackager<bool>> other(new CPackager<bool>(true));
  value = env->RegisterHandOver(other.get());
  EXPECT_FALSE(host.TakeHandOver(WM_ELEMENT_EVENT, 0, value, &handOver));
  EXPECT_EQ(handOver.object, other.get());
  handOver.Reset();
  EXPECT_EQ(other->RefCount(), 1);

  // A 0x51C without an attached object is a pick all the same.
  ASSERT_TRUE(host.TakeHandOver(WM_RUN_COMMAND, 61, 0, &handOver));
  EXPECT_EQ(handOver.object, nullptr);
  EXPECT_FALSE(handOver.hasItem);
  EXPECT_EQ(handOver.item.extraInfo, 61);
}

}  // namespace
