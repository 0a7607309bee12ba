// Taking back what a pick handed over, from the message as the terminal received it.
#include <cwchar>
#include <string>

#include "GlobalEnvAccess.h"
#include "HostLog.h"
#include "TerminalEnv.h"
#include "TerminalHost.h"

namespace {

const wchar_t kTag[] = L"[CTerminalHost::TakeHandOver]";

void CopyItem(const KeyboardItemInfo& item, HostPickedItem* picked) {
  CopyKeyField(picked->code, item.m_szCode);
  CopyKeyField(picked->hotKey, item.m_szHotKey);
  CopyKeyField(picked->name, item.m_szName);
  picked->type = item.m_wType;
  picked->extraInfo = item.m_nExtraInfo;
  picked->kind = item.m_dwKind;
  picked->market = item.m_cMarket;
}

// The security's code and market, with its name from the data centre when it knows the security.
void CopySecurity(const std::wstring& code, unsigned char market, HostPickedItem* picked) {
  CopyKeyField(picked->code, code.c_str());
  picked->market = market;
  TRefPtr<CDataMgr> dataMgr = ts::QueryDataMgr(CGlobalEnv::GetGlobalEnv().get());
  const STK_PER* record = dataMgr ? dataMgr->GetOneStkInfo(code, market) : nullptr;
  wchar_t* name = nullptr;
  if (record && CDataComFun::GB2312ToUnicode(record->m_szName, name)) {
    CopyKeyField(picked->name, name);
    delete[] name;
  }
}

// The code of a _STOCK_DEFINE: ASCII bytes, terminated within its 16.
std::wstring CodeOf(const _STOCK_DEFINE& stock) {
  std::wstring code;
  for (size_t i = 0; i < sizeof(stock.m_szCode) && stock.m_szCode[i]; ++i)
    code += static_cast<wchar_t>(static_cast<unsigned char>(stock.m_szCode[i]));
  return code;
}

// The text between <tag> and </tag> in the parameter text; empty when it is not there.
std::wstring Field(const std::wstring& params, const std::wstring& tag) {
  const std::wstring open = L"<" + tag + L">", close = L"</" + tag + L">";
  size_t begin = params.find(open);
  if (begin == std::wstring::npos) return std::wstring();
  begin += open.size();
  size_t end = params.find(close, begin);
  return end == std::wstring::npos ? std::wstring() : params.substr(begin, end - begin);
}

std::wstring Hex(UINT message) {
  wchar_t text[16];
  swprintf(text, 16, L"0x%X", message);
  return text;
}

}  // namespace

CHostItemTag::CHostItemTag(const KeyboardItemInfo& item) { CopyItem(item, &m_item); }

bool CTerminalHost::TakeHandOver(UINT message, WPARAM wParam, LPARAM lParam,
                                 HostHandOver* handOver) {
  if (!handOver) return false;
  handOver->Reset();
  auto* env = static_cast<CTerminalEnv*>(GetEnvironment());
  if (!env) {
    ts::WriteLog(kTag, L"the host's environment is not the installed one; nothing was taken");
    return false;
  }
  if (message != WM_RUN_COMMAND && message != WM_STOCK_SELECTED && message != WM_ELEMENT_EVENT) {
    ts::WriteLog(kTag, L"message " + Hex(message) + L" carries no hand-over");
    return false;
  }
  handOver->message = message;
  handOver->wParam = wParam;
  handOver->lParam = lParam;
  if (message == WM_RUN_COMMAND) {
    handOver->item.extraInfo = static_cast<int>(wParam);
    if (lParam == 0) return true;  // an item without an attached object
  }
  // Hand-over values are 32-bit and never 0: anything else is no value, not one to cut down.
  IUnknown* object = lParam > 0 && static_cast<unsigned long long>(lParam) <= 0xFFFFFFFFull
                         ? env->TakeHandOver(static_cast<uint32_t>(lParam))
                         : nullptr;
  if (!object) {
    ts::WriteLog(kTag, L"no hand-over is waiting under lParam " + std::to_wstring(lParam) +
                           L" of message " + Hex(message) +
                           L" (not a hand-over value, or taken back already)");
    return false;
  }
  handOver->object = object;

  if (message == WM_RUN_COMMAND) {
    if (auto* tag = dynamic_cast<CHostItemTag*>(object)) {
      handOver->item = tag->m_item;
      handOver->hasItem = true;
    } else if (auto* package = dynamic_cast<CPackager<KeyboardItemInfo>*>(object)) {
      CopyItem(package->m_value, &handOver->item);
      handOver->hasItem = true;
    }
    return true;  // otherwise an object of the terminal's own
  }
  if (message == WM_STOCK_SELECTED) {
    auto* package = dynamic_cast<CPackager<_STOCK_DEFINE>*>(object);
    if (!package) {
      ts::WriteLog(kTag, L"0x500 handed over something other than a _STOCK_DEFINE package");
      return false;
    }
    CopySecurity(CodeOf(package->m_value), package->m_value.m_cMarket, &handOver->item);
    handOver->hasItem = true;
    return true;
  }
  auto* package = dynamic_cast<CPackager<_ELEMENT_EVENT_INFO>*>(object);
  if (!package) {
    ts::WriteLog(kTag, L"0x503 handed over something other than an element event package");
    return false;
  }
  const _ELEMENT_EVENT_INFO& event = package->m_value;
  handOver->elementId = event.m_dwElementId;
  handOver->eventName = event.m_pszEventName ? event.m_pszEventName : L"";
  handOver->eventArg = event.m_pszEventArg ? event.m_pszEventArg : L"";
  handOver->params = event.m_pszParams ? event.m_pszParams : L"";
  const std::wstring code = Field(handOver->params, L"code");
  const std::wstring market = Field(handOver->params, L"market");
  if (!code.empty() && !market.empty()) {
    CopySecurity(code, static_cast<unsigned char>(wcstoul(market.c_str(), nullptr, 10)),
                 &handOver->item);
    handOver->hasItem = true;
  }
  return true;
}
