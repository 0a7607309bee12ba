// Receiving picks: what the command window, the receiver window and the element container are
// sent when the trader picks a row, taken back with the kit from each message as it came.
#include "DemoTerminal.h"
#include "DemoWindows.h"

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

// What the hand-over says; fills *opened with what the view shows for it.
std::wstring CDemoTerminal::Describe(const HostHandOver& handOver, bool* command,
                                     DemoOpened* opened) {
  *command = false;
  if (!handOver.object) return L"no object";
  // The kit's tag of a registered item, or the component's package of an item.
  if (!handOver.hasItem) return L"an object the terminal does not know";
  const HostPickedItem& item = handOver.item;
  const std::wstring code = item.code, name = item.name;
  *command = item.kind == KIND_COMMAND;
  opened->any = true;
  opened->command = *command;
  opened->code = code;
  if (*command) {
    opened->name = name;
    opened->detail = FormatText(L"command number %d", item.extraInfo);
    return FormatText(L"command %ls %ls", code.c_str(), name.c_str());
  }
  // A former name or alias opens the security it stands for.
  std::wstring current = SecurityName(code, item.market);
  opened->name = current.empty() ? name : current;
  opened->detail = MarketText(item.market);
  if (item.kind == KIND_FORMER_NAME || item.kind == KIND_ALIAS)
    opened->detail +=
        FormatText(L" \x00B7 picked by its %ls %ls", KindText(item.kind), name.c_str());
  return FormatText(L"%ls %ls %ls (market %u)", KindText(item.kind), code.c_str(), name.c_str(),
                    item.market);
}

void CDemoTerminal::OnPopupNotice(WPARAM wParam, LPARAM lParam) {
  AddLine(DemoLineKind::kReceived,
          FormatText(L"received 0x601 (%d, %d) at the command window: the pick ends a pop-up the "
                     L"terminal opened itself",
                     static_cast<int>(wParam), static_cast<int>(lParam)));
}

void CDemoTerminal::OnCommandWindowPick(WPARAM wParam, LPARAM lParam) {
  HostHandOver handOver;
  if (m_pHost) m_pHost->TakeHandOver(WM_DEMO_COMMAND, wParam, lParam, &handOver);
  bool command = false;
  DemoOpened opened;
  std::wstring what = Describe(handOver, &command, &opened);
  int extra = static_cast<int>(wParam);
  AddLine(DemoLineKind::kReceived,
          FormatText(L"received 0x51C (extra %d, hand-over %lld) at the command window: %ls", extra,
                     static_cast<long long>(lParam), what.c_str()));
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
  HostHandOver handOver;
  const bool taken = m_pHost && m_pHost->TakeHandOver(WM_DEMO_STOCK, wParam, lParam, &handOver);
  std::wstring line = FormatText(L"received 0x500 (%d, hand-over %lld) at the receiver window: ",
                                 static_cast<int>(wParam), static_cast<long long>(lParam));
  if (taken) {
    const std::wstring code = handOver.item.code;
    const unsigned market = handOver.item.market;
    std::wstring name = SecurityName(code, static_cast<unsigned char>(market));
    line += FormatText(L"_STOCK_DEFINE market %u code %ls", market, code.c_str());
    m_strReceiverLine = code + L"  " + name;
    AddLine(DemoLineKind::kReceived, line);
    AddLine(DemoLineKind::kAction,
            FormatText(L"the receiver window shows %ls %ls", code.c_str(), name.c_str()));
  } else {
    AddLine(DemoLineKind::kError,
            line + (handOver.object ? L"not a _STOCK_DEFINE package" : L"nothing"));
  }
  if (m_pFrame) m_pFrame->RefreshAll();
}

// Sent while the component's call runs: the package's parameter text lives only until it
// returns, so it is taken back here.
int CDemoTerminal::OnContainerEvent(uint32_t id, UINT message, WPARAM wParam, LPARAM lParam) {
  HostHandOver handOver;
  const bool taken = m_pHost && m_pHost->TakeHandOver(message, wParam, lParam, &handOver);
  std::wstring line =
      FormatText(L"received 0x%X (%d, hand-over %lld) at element container %u: ", message,
                 static_cast<int>(wParam), static_cast<long long>(lParam), id);
  int result = 0;
  if (taken) {
    line += FormatText(L"element %u %ls %ls %ls", handOver.elementId, handOver.eventName.c_str(),
                       handOver.eventArg.c_str(), handOver.params.c_str());
    AddLine(DemoLineKind::kReceived, line);
    const std::wstring code = handOver.item.code;
    std::wstring name = SecurityName(code, handOver.item.market);
    m_strContainerLine = code + L"  " + name;
    AddLine(DemoLineKind::kAction,
            FormatText(L"the element container shows %ls %ls", code.c_str(), name.c_str()));
    result = 1;
  } else {
    AddLine(DemoLineKind::kError,
            line + (handOver.object ? L"not an element event package" : L"nothing"));
  }
  if (m_pFrame) m_pFrame->RefreshAll();
  return result;
}
