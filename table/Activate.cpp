// Handing the chosen item to whoever opened the pop-up: a frame element, a window, or the
// terminal's command window.
#include <cstdio>
#include <cstring>
#include <new>
#include <string>

#include "frame/DataMgr.h"
#include "frame/FrameLib.h"
#include "frame/GlobalEnv.h"
#include "frame/Messages.h"
#include "frame/Statistics.h"
#include "platform/Platform.h"
#include "table/MappingTable.h"

namespace {

void RecordStatistics(const KeyboardItemInfo& item, const wchar_t* typedText) {
  std::wstring text = L"快捷键：";
  text += item.m_szCode;
  text += L"，";
  text += item.m_szHotKey;
  text += L"，";
  text += item.m_szName;
  RecStatisticsDataType(12, text.c_str());
  text += L":";
  text += typedText;
  RecStatisticsDataFuncType(11, text.c_str());
}

// Only securities the data centre knows can go to a container or a window.
const STK_PER* FindSecurity(CGlobalEnv* env, const KeyboardItemInfo& item,
                            TRefPtr<CDataMgr>& holder) {
  CDataMgr* dataMgr = dynamic_cast<CDataMgr*>(env->GetDataMgr());
  if (!dataMgr) return nullptr;
  holder = TRefPtr<CDataMgr>(dataMgr);
  return dataMgr->GetOneStkInfo(item.m_szCode, item.m_cMarket);
}

}  // namespace

bool KeyboardInputMappingTable::Activate(KeyboardItemInfo* item, const wchar_t* typedText) {
  if (!item) return true;
  if (typedText) RecordStatistics(*item, typedText);
  TRefPtr<CGlobalEnv> env = CGlobalEnv::GetGlobalEnv();
  if (!env) return true;

  if (m_pTargetContainer) {
    TRefPtr<CDataMgr> dataMgr;
    if (!FindSecurity(env.get(), *item, dataMgr)) return false;
    wchar_t params[128];
    swprintf(params, 128, L"<params><code>%ls</code><market>%d</market></params>", item->m_szCode,
             static_cast<int>(item->m_cMarket));
    _ELEMENT_EVENT_INFO info = {};
    info.m_dwElementId = m_pTargetContainer->GetID();
    info.m_pszEventName = L"SetParam";
    info.m_pszEventArg = L"Type=Both";
    info.m_pszParams = params;
    // The send is synchronous, so the parameter text may live on this stack.
    auto* package = new (std::nothrow) CPackager<_ELEMENT_EVENT_INFO>(info);
    uint32_t value = package ? env->RegisterHandOver(package) : 0;
    m_pTargetContainer->SendMessageW(m_pTargetContainer->GetID(), WM_ELEMENT_EVENT, 0,
                                     static_cast<LPARAM>(value));
    return true;
  }

  if (m_hTargetWnd) {
    TRefPtr<CDataMgr> dataMgr;
    const STK_PER* security = FindSecurity(env.get(), *item, dataMgr);
    if (!security) return false;
    _STOCK_DEFINE stock = {};
    stock.m_cMarket = security->m_cMarket;
    memcpy(stock.m_szCode, security->m_szCode, sizeof(stock.m_szCode));
    stock.m_szCode[sizeof(stock.m_szCode) - 1] = 0;
    auto* package = new (std::nothrow) CPackager<_STOCK_DEFINE>(stock);
    uint32_t value = package ? env->RegisterHandOver(package) : 0;
    plat::PostWindowMessage(m_hTargetWnd, WM_STOCK_SELECTED, 0, static_cast<LPARAM>(value));
    return true;
  }

  HWND commandWnd = env->GetCommandWnd();
  if (!plat::IsWindowHandle(commandWnd)) return true;
  if (item->m_nExtraInfo == KeyboardItemInfo::EXTRA_INFO_CARRIES_ITEM && !item->m_pUnknown) {
    // The command carries the item itself; the item keeps the package for later hand-overs.
    auto* package = new (std::nothrow) CPackager<KeyboardItemInfo>(*item);
    if (package) {
      package->AddRef();
      item->m_pUnknown = package;
    }
  }
  uint32_t value = item->m_pUnknown ? env->RegisterHandOver(item->m_pUnknown) : 0;
  plat::PostWindowMessage(commandWnd, WM_RUN_COMMAND, static_cast<WPARAM>(item->m_nExtraInfo),
                          static_cast<LPARAM>(value));
  if (m_nOpenMode == OPEN_MODE_EXACT_POSITION)
    plat::PostWindowMessage(commandWnd, WM_COMMAND_FROM_POPUP, 0, COMMAND_FROM_POPUP_PARAM);
  return true;
}
