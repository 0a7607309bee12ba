// What the trader does besides typing: the view type, opening the pop-up for the view, the
// receiver window or the element container, the mini trade panel, the terminal's keys and menu.
#include "DemoTerminal.h"
#include "DemoWindows.h"

void CDemoTerminal::SetViewType(int type) {
  m_nViewType = type;
  AddLine(DemoLineKind::kInfo,
          FormatText(L"view type %d: the pop-up opens at the %ls's bottom-right corner", type,
                     type >= 1 && type <= 4 ? L"command window" : L"view"));
  if (m_pFrame) {
    m_pFrame->UpdateMenuChecks();
    m_pFrame->RefreshAll();
  }
}

BOOL CDemoTerminal::ShowAtView() {
  BOOL result = Manager() ? Manager()->ShowSmartKeyboard(0, FALSE, 0, 0) : FALSE;
  AddLine(DemoLineKind::kAction,
          FormatText(L"ShowSmartKeyboard at the current view \x2192 %d", result));
  return result;
}

// The pop-up hangs below the receiver window, right edges aligned (placement 2: its top-right
// corner at the point).
BOOL CDemoTerminal::ShowForWindow() {
  if (!Manager() || !m_pFrame) return FALSE;
  RECT rect;
  GetWindowRect(m_pFrame->m_receiver.Wnd(), &rect);
  BOOL result = Manager()->ShowForWindow(m_pFrame->m_receiver.Wnd(), rect.right, rect.bottom, 2);
  AddLine(DemoLineKind::kAction,
          FormatText(L"ShowForWindow for the receiver window, placement 2 \x2192 %d", result));
  return result;
}

// The pop-up stands left of the element container, bottoms aligned (placement 3: its
// bottom-right corner at the point).
BOOL CDemoTerminal::ShowForContainer() {
  if (!Manager() || !m_pFrame) return FALSE;
  RECT rect;
  GetWindowRect(m_pFrame->m_containerWnd.Wnd(), &rect);
  BOOL result = Manager()->ShowForContainer(m_pFrame->m_element.get(), rect.left, rect.bottom, 3);
  AddLine(DemoLineKind::kAction,
          FormatText(L"ShowForContainer for element %u, placement 3 \x2192 %d",
                     CDemoMainFrame::kElementId, result));
  return result;
}

void CDemoTerminal::SetMiniTradeVisible(bool visible) {
  m_bMiniTrade = visible;
  if (m_pHost) m_pHost->SetMiniTradeVisible(visible);
  AddLine(DemoLineKind::kInfo, visible ? L"mini trade panel visible: ShowSmartKeyboard refuses"
                                       : L"mini trade panel hidden");
  if (m_pFrame) m_pFrame->UpdateMenuChecks();
}

bool CDemoTerminal::HandleAccelerator(WPARAM key) {
  switch (key) {
    case VK_F2:
      SetViewType((m_nViewType + 1) % 6);
      return true;
    case VK_F5:
      ShowForWindow();
      return true;
    case VK_F6:
      ShowForContainer();
      return true;
    case VK_F7:
      ShowAtView();
      return true;
    case VK_F9:
      ToggleSkin();
      return true;
    default:
      return false;
  }
}

void CDemoTerminal::OnMenuCommand(UINT id) {
  if (id >= ID_DEMO_VIEWTYPE_0 && id <= ID_DEMO_VIEWTYPE_0 + 5) {
    SetViewType(static_cast<int>(id - ID_DEMO_VIEWTYPE_0));
    return;
  }
  switch (id) {
    case ID_DEMO_VIEWTYPE_NEXT:
      HandleAccelerator(VK_F2);
      break;
    case ID_DEMO_SHOW_AT_VIEW:
      ShowAtView();
      break;
    case ID_DEMO_SHOW_FOR_WINDOW:
      ShowForWindow();
      break;
    case ID_DEMO_SHOW_FOR_CONTAINER:
      ShowForContainer();
      break;
    case ID_DEMO_MINI_TRADE:
      SetMiniTradeVisible(!m_bMiniTrade);
      break;
    case ID_DEMO_SKIN_LIGHT:
      ApplySkin(L"light");
      break;
    case ID_DEMO_SKIN_DARK:
      ApplySkin(L"dark");
      break;
    case ID_DEMO_SKIN_TOGGLE:
      ToggleSkin();
      break;
    case ID_DEMO_EXIT:
      if (m_pFrame) PostMessageW(m_pFrame->Wnd(), WM_CLOSE, 0, 0);
      break;
    default:
      break;
  }
}
