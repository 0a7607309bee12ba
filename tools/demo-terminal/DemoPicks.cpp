// Receiving picks: what the command window, the receiver window and the element container are
// sent when the trader picks a row, told apart by the object handed over with it.
#include <cstring>

#include "DemoItemTag.h"
#include "DemoTerminal.h"
#include "DemoWindows.h"
#include "frame/Unknown.h"
#include "platform/Utf8.h"
#include "services/TerminalEnv.h"

namespace {

std::wstring MarketText(unsigned market) {
  switch (market) {
    case 0:
      return L"Shenzhen (market 0)";
    case 1:
      return L"Shanghai (market 1)";
    case 2:
      return L"Beijing / NEEQ (market 2)";
    default:
      return L"market " + std::to_wstring(market);
  }
}

const wchar_t* KindText(DWORD kind) {
  switch (kind) {
    case KIND_COMMAND:
      return L"command";
    case KIND_FORMER_NAME:
      return L"former name";
    case KIND_ALIAS:
      return L"alias";
    default:
      return L"security";
  }
}

}  // namespace

std::wstring CDemoTerminal::SecurityName(const std::wstring& code, unsigned char market) const {
  auto it = m_securityNames.find({code, market});
  return it == m_securityNames.end() ? std::wstring() : it->second;
}

// What the handed-over object says; fills *opened with what the view shows for it.
std::wstring CDemoTerminal::Describe(IUnknown* object, bool* command, DemoOpened* opened) {
  *command = false;
  if (!object) return L"no object";
  std::wstring code, name;
  DWORD kind = 0xFFFFFFFF;
  unsigned char market = 0xFF;
  int extra = KeyboardItemInfo::INVALID_EXTRA_INFO_VALUE;
  if (auto* tag = dynamic_cast<CDemoItemTag*>(object)) {
    code = tag->m_strCode;
    name = tag->m_strName;
    kind = tag->m_dwKind;
    market = tag->m_cMarket;
    extra = tag->m_nExtraInfo;
  } else if (auto* package = dynamic_cast<CPackager<KeyboardItemInfo>*>(object)) {
    code = package->m_value.m_szCode;
    name = package->m_value.m_szName;
    kind = package->m_value.m_dwKind;
    market = package->m_value.m_cMarket;
    extra = package->m_value.m_nExtraInfo;
  } else {
    return L"an object the terminal does not know";
  }
  *command = kind == KIND_COMMAND;
  opened->any = true;
  opened->command = *command;
  opened->code = code;
  if (*command) {
    opened->name = name;
    opened->detail = FormatText(L"command number %d", extra);
    return FormatText(L"command %ls %ls", code.c_str(), name.c_str());
  }
  // A former name or alias opens the security it stands for.
  std::wstring current = SecurityName(code, market);
  opened->name = current.empty() ? name : current;
  opened->detail = MarketText(market);
  if (kind == KIND_FORMER_NAME || kind == KIND_ALIAS)
    opened->detail += FormatText(L" \x00B7 picked by its %ls %ls", KindText(kind), name.c_str());
  return FormatText(L"%ls %ls %ls (market %u)", KindText(kind), code.c_str(), name.c_str(), market);
}

void CDemoTerminal::OnPopupNotice(WPARAM wParam, LPARAM lParam) {
  AddLine(DemoLineKind::kReceived,
          FormatText(L"received 0x601 (%d, %d) at the command window: the pick ends a pop-up the "
                     L"terminal opened itself",
                     static_cast<int>(wParam), static_cast<int>(lParam)));
}

void CDemoTerminal::OnCommandWindowPick(WPARAM wParam, LPARAM lParam) {
  uint32_t value = static_cast<uint32_t>(lParam);
  IUnknown* object = value ? m_pEnv->TakeHandOver(value) : nullptr;
  bool command = false;
  DemoOpened opened;
  std::wstring what = Describe(object, &command, &opened);
  if (object) object->Release();
  int extra = static_cast<int>(wParam);
  AddLine(DemoLineKind::kReceived,
          FormatText(L"received 0x51C (extra %d, hand-over %u) at the command window: %ls", extra,
                     value, what.c_str()));
  m_strCommandLine = FormatText(L"0x51C  extra %d  \x2192  %ls", extra, what.c_str());
  if (opened.any) {
    m_opened = opened;
    if (command)
      AddLine(DemoLineKind::kAction, FormatText(L"runs command %d: %ls %ls", extra,
                                                opened.code.c_str(), opened.name.c_str()));
    else
      AddLine(DemoLineKind::kAction,
              FormatText(L"the view opens %ls %ls", opened.code.c_str(), opened.name.c_str()));
  } else if (extra != KeyboardItemInfo::INVALID_EXTRA_INFO_VALUE) {
    m_opened = DemoOpened();
    m_opened.any = m_opened.command = true;
    m_opened.code = std::to_wstring(extra);
    m_opened.detail = L"command number";
    AddLine(DemoLineKind::kAction, FormatText(L"runs command %d", extra));
  }
  if (m_pFrame) m_pFrame->RefreshAll();
}

void CDemoTerminal::OnReceiverWindowMessage(WPARAM wParam, LPARAM lParam) {
  uint32_t value = static_cast<uint32_t>(lParam);
  IUnknown* object = value ? m_pEnv->TakeHandOver(value) : nullptr;
  std::wstring line = FormatText(L"received 0x500 (%d, hand-over %u) at the receiver window: ",
                                 static_cast<int>(wParam), value);
  if (auto* package = dynamic_cast<CPackager<_STOCK_DEFINE>*>(object)) {
    char code[17] = {};
    memcpy(code, package->m_value.m_szCode, 16);
    std::wstring wide = plat::Utf8ToWideLenient(code);
    unsigned market = package->m_value.m_cMarket;
    std::wstring name = SecurityName(wide, static_cast<unsigned char>(market));
    line += FormatText(L"_STOCK_DEFINE market %u code %ls", market, wide.c_str());
    m_strReceiverLine = wide + L"  " + name;
    AddLine(DemoLineKind::kReceived, line);
    AddLine(DemoLineKind::kAction,
            FormatText(L"the receiver window shows %ls %ls", wide.c_str(), name.c_str()));
  } else {
    AddLine(DemoLineKind::kError, line + (object ? L"not a _STOCK_DEFINE package" : L"nothing"));
  }
  if (object) object->Release();
  if (m_pFrame) m_pFrame->RefreshAll();
}

int CDemoTerminal::OnContainerEvent(uint32_t id, UINT message, WPARAM wParam, LPARAM lParam) {
  uint32_t value = static_cast<uint32_t>(lParam);
  IUnknown* object = value ? m_pEnv->TakeHandOver(value) : nullptr;
  std::wstring line = FormatText(L"received 0x%X (%d, hand-over %u) at element container %u: ",
                                 message, static_cast<int>(wParam), value, id);
  int result = 0;
  // The parameter text lives only while this call runs.
  if (auto* package = dynamic_cast<CPackager<_ELEMENT_EVENT_INFO>*>(object)) {
    const _ELEMENT_EVENT_INFO& info = package->m_value;
    std::wstring params = info.m_pszParams ? info.m_pszParams : L"";
    line += FormatText(L"element %u %ls %ls %ls", info.m_dwElementId,
                       info.m_pszEventName ? info.m_pszEventName : L"",
                       info.m_pszEventArg ? info.m_pszEventArg : L"", params.c_str());
    AddLine(DemoLineKind::kReceived, line);
    std::wstring code;
    size_t begin = params.find(L"<code>"), end = params.find(L"</code>");
    if (begin != std::wstring::npos && end != std::wstring::npos && end > begin)
      code = params.substr(begin + 6, end - begin - 6);
    unsigned market = 0;
    size_t marketAt = params.find(L"<market>");
    if (marketAt != std::wstring::npos)
      market = wcstoul(params.c_str() + marketAt + 8, nullptr, 10);
    std::wstring name = SecurityName(code, static_cast<unsigned char>(market));
    m_strContainerLine = code + L"  " + name;
    AddLine(DemoLineKind::kAction,
            FormatText(L"the element container shows %ls %ls", code.c_str(), name.c_str()));
    result = 1;
  } else {
    AddLine(DemoLineKind::kError, line + (object ? L"not an element event package" : L"nothing"));
  }
  if (object) object->Release();
  if (m_pFrame) m_pFrame->RefreshAll();
  return result;
}
