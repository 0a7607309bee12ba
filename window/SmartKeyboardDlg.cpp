// The pop-up's life and shape: creation and destruction with both children, the skin's
// palette, the layout of caption, edit, history bar and list, DPI changes, and where the pop-up
// shows itself and how it hides. What reaches it from the trader is in SmartKeyboardDlgInput.cpp,
// its painting in SmartKeyboardDlgDraw.cpp.
#include "SmartKeyboardDlg.h"
#include "HostServices.h"

#include "App.h"
#include "DialogLayout.h"
#include "InputEdit.h"
#include "SuggestListWnd.h"
#include "TerminalFrame.h"
#include "frame/DataMgr.h"
#include "frame/GlobalEnv.h"
#include "frame/Logger.h"
#include "table/MappingTable.h"
#include "wfc/ModuleState.h"

BEGIN_MESSAGE_MAP(CSmartKeyboardDlg, CDialog)
ON_WM_CREATE()
ON_WM_DESTROY()
ON_WM_SIZE()
ON_WM_ERASEBKGND()
ON_WM_NCPAINT()
ON_WM_NCACTIVATE()
ON_WM_PAINT()
ON_WM_KEYDOWN()
ON_WM_CHAR()
ON_WM_MOUSEMOVE()
ON_WM_SETCURSOR()
ON_WM_LBUTTONDOWN()
ON_WM_CLOSE()
ON_MESSAGE_VOID(WM_SMARTKEYBOARD_HIDE, OnSmartKeyboardHide)
ON_MESSAGE(WM_DATACENTER_BROADCAST, OnDataCenterBroadcast)
ON_WM_IME_COMPOSITION()
ON_WM_DPICHANGED()
ON_NOTIFY(IEN_TEXTCHANGED, IDC_INPUT_EDIT, OnEditTextChanged)
ON_NOTIFY(IEN_KEYDOWN, IDC_INPUT_EDIT, OnEditKeyDown)
ON_NOTIFY(IEN_MOUSEWHEEL, IDC_INPUT_EDIT, OnEditMouseWheel)
ON_NOTIFY(IEN_KILLFOCUS, IDC_INPUT_EDIT, OnEditKillFocus)
ON_NOTIFY(SLN_ACTIVATED, IDC_SUGGEST_LIST, OnListActivated)
END_MESSAGE_MAP()

CSmartKeyboardDlg::CSmartKeyboardDlg(KeyboardInputMappingTable* table)
    : CDialog(IDD_SMART_KEYBOARD, nullptr),
      m_pSuggestList(new CSuggestListWnd(table)),
      m_pInputEdit(new CInputEdit),
      m_szInputText(),
      m_hPrevFocus(nullptr),
      m_strCaption(L"Quorvane键盘精灵"),
      m_strHistoryLabel(L"搜索记录："),
      m_pFont(nullptr),
      m_clrBG(0),
      m_clrCaptionBG(0),
      m_clrFrame(0),
      m_clrText(0),
      m_clrTip(0),
      m_rcClient(),
      m_rcCaption(),
      m_rcInputArea(),
      m_rcClose(),
      m_rcClear(),
      m_bOverButton(FALSE),
      m_bHistoryBar(FALSE),
      m_nHoverButton(0),
      m_nDpi(96),
      m_bExactPos(FALSE),
      m_nBorder(5),
      m_nEditHeight(18),
      m_ptAnchor() {}

CSmartKeyboardDlg::~CSmartKeyboardDlg() {
  delete m_pInputEdit;
  delete m_pSuggestList;
}

KeyboardInputMappingTable* CSmartKeyboardDlg::MappingTable() const {
  return m_pSuggestList ? m_pSuggestList->MappingTable() : nullptr;
}

DialogMetrics CSmartKeyboardDlg::Metrics() const {
  DialogMetrics m;
  m.margin5 = SWDPI::Scale(m_nDpi, 5);
  m.caption26 = SWDPI::Scale(m_nDpi, 26);
  m.bar30 = SWDPI::Scale(m_nDpi, 30);
  m.inset7 = SWDPI::Scale(m_nDpi, 7);
  m.editHeight = m_nEditHeight;
  m.border = m_nBorder;
  return m;
}

bool CSmartKeyboardDlg::IsInsidePopup(HWND wnd) const {
  return wnd && (wnd == m_hWnd || ::IsChild(m_hWnd, wnd));
}

// --- Creation and destruction. ---

int CSmartKeyboardDlg::OnCreate(LPCREATESTRUCTW) {
  CModuleStateScope componentState(ComponentModule());
  if (Default() == -1) return -1;
  m_nDpi = SWDPI::GetDPIofMonitorFromWindow(m_hWnd);
  if (TRefPtr<CDataMgr> dataMgr = TerminalDataMgr()) dataMgr->RegistRecvBroadcastMsgWnd(m_hWnd);
  // A tool window: no task-bar button for the pop-up.
  ModifyStyleEx(WS_EX_APPWINDOW, WS_EX_TOOLWINDOW);
  // The caption is painted by the dialog itself; as the window text it names the pop-up and its
  // edit for screen readers.
  ::SetWindowTextW(m_hWnd, m_strCaption);
  LoadPalette();
  if (m_bmpInputText.m_pBitmap) {
    int width = SWDPI::Scale(m_nDpi, m_bmpInputText.m_nWidth + 30) + 2 * m_nBorder;
    SetWindowPos(nullptr, 0, 0, width, SWDPI::Scale(m_nDpi, 350),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  }
  RECT client;
  GetClientRect(&client);
  BOOL editCreated = m_pInputEdit->CreateEx(0, nullptr, L"输入框", WS_CHILD | WS_VISIBLE,
                                            EditRectFor(client, Metrics()), this, IDC_INPUT_EDIT);
  BOOL listCreated = LayoutList(TRUE);
  return editCreated && listCreated ? 0 : -1;
}

void CSmartKeyboardDlg::OnDestroy() {
  CModuleStateScope componentState(ComponentModule());
  if (TRefPtr<CDataMgr> dataMgr = TerminalDataMgr()) dataMgr->UnregistRecvBroadcastMsgWnd(m_hWnd);
  Default();
  if (m_pInputEdit && ::IsWindow(m_pInputEdit->m_hWnd)) m_pInputEdit->DestroyWindow();
  if (m_pSuggestList && ::IsWindow(m_pSuggestList->m_hWnd)) m_pSuggestList->DestroyWindow();
  m_backBuffer.Free();
}

// --- Palette and layout. ---

BOOL CSmartKeyboardDlg::LoadPalette() {
  TRefPtr<CSWPalette> palette = TerminalPalette();
  if (!palette) return FALSE;
  m_pFont = palette->GetFont(L"SuggestListWnd.Name", m_nDpi);
  m_clrBG = palette->GetColor(L"SuggestListWnd.CLR.BG");
  m_clrFrame = palette->GetColor(L"ComboBox.CLR.FrameNormal");
  m_clrText = palette->GetColor(L"SuggestListWnd.CLR.TextCommon");
  m_clrTip = palette->GetColor(L"SuggestListWnd.CLR.TextTip");
  m_clrCaptionBG = palette->GetColor(L"SuggestListWnd.CLR.BGCaption");
  palette->GetBitmap(L"KeyboarCancle.hover", m_nDpi, &m_bmpCloseHover);
  palette->GetBitmap(L"KeyboarCancle.normal", m_nDpi, &m_bmpCloseNormal);
  palette->GetBitmap(L"KeyboarEmpty.hover", m_nDpi, &m_bmpClearHover);
  palette->GetBitmap(L"KeyboarEmpty.normal", m_nDpi, &m_bmpClearNormal);
  palette->GetBitmap(L"KeyboarInput.text", m_nDpi, &m_bmpInputText);
  m_nBorder = SWDPI::Scale(m_nDpi, 5);
  m_nEditHeight = SWDPI::Scale(m_nDpi, 18);
  return TRUE;
}

LRESULT CSmartKeyboardDlg::OnDataCenterBroadcast(WPARAM code, LPARAM) {
  if (code == BROADCAST_PALETTE_CHANGED && LoadPalette()) Invalidate(TRUE);
  return 0;
}

void CSmartKeyboardDlg::CalcLayout() {
  GetClientRect(&m_rcClient);
  if (RectIsEmpty(m_rcClient)) return;
  DialogRects rects = CalcDialogRects(m_rcClient, Metrics());
  m_rcCaption = rects.caption;
  m_rcClose = rects.close;
  m_rcInputArea = rects.inputArea;
  m_rcClear = rects.clear;
}

BOOL CSmartKeyboardDlg::LayoutList(BOOL historyBar) {
  historyBar = historyBar ? TRUE : FALSE;
  if (historyBar == m_bHistoryBar) return TRUE;
  m_bHistoryBar = historyBar;
  RECT client;
  GetClientRect(&client);
  RECT rect = ListRectFor(client, Metrics(), historyBar != FALSE);
  // The bar's label and button are the dialog's own painting.
  InvalidateRect(&m_rcInputArea, FALSE);
  if (::IsWindow(m_pSuggestList->m_hWnd)) {
    m_pSuggestList->MoveWindow(rect, TRUE);
    return TRUE;
  }
  BOOL created = m_pSuggestList->CreateEx(0, nullptr, L"显示框", WS_CHILD | WS_VISIBLE, rect, this,
                                          IDC_SUGGEST_LIST);
  if (created && !m_pSuggestList->ShowHistoryIfIdle()) LayoutList(FALSE);
  return created;
}

void CSmartKeyboardDlg::OnSize(UINT, int, int) {
  Default();
  CalcLayout();
}

// --- DPI. ---

// Answers 1, changed or not.
LRESULT CSmartKeyboardDlg::OnDpiChanged(UINT dpi, const RECT* suggested) {
  Default();
  if (suggested) ApplyDpi(static_cast<int>(dpi), suggested);
  return 1;
}

// The children hear of the new dpi even when the palette cannot be reloaded: their sizes scale
// with it all the same.
void CSmartKeyboardDlg::ApplyDpi(int dpi, const RECT* suggested) {
  if (dpi == m_nDpi) return;
  m_nDpi = dpi;
  if (LoadPalette()) {
    RECT copy = *suggested;
    RepositionForDpi(&copy);
  }
  WPARAM wParam = MAKEWPARAM(dpi, dpi);
  LPARAM lParam = reinterpret_cast<LPARAM>(suggested);
  if (m_pSuggestList && ::IsWindow(m_pSuggestList->m_hWnd))
    m_pSuggestList->SendMessageW(WM_DPICHANGED, wParam, lParam);
  if (m_pInputEdit && ::IsWindow(m_pInputEdit->m_hWnd))
    m_pInputEdit->SendMessageW(WM_DPICHANGED, wParam, lParam);
}

void CSmartKeyboardDlg::RepositionForDpi(RECT* suggested) {
  if (!suggested || !::IsWindow(m_pSuggestList->m_hWnd) || !::IsWindow(m_pInputEdit->m_hWnd))
    return;
  KeyboardInputMappingTable* table = MappingTable();
  bool exactWithReceiver =
      m_bExactPos && table && (table->m_pTargetContainer || table->m_hTargetWnd);
  RECT rect = AnchorRect(*suggested, m_ptAnchor, exactWithReceiver,
                         table ? table->m_nPlacement : PLACEMENT_NONE);
  SetWindowPos(nullptr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
  RECT client;
  GetClientRect(&client);
  m_pInputEdit->MoveWindow(EditRectFor(client, Metrics()), TRUE);
  m_pSuggestList->MoveWindow(ListRectFor(client, Metrics(), m_bHistoryBar != FALSE), TRUE);
  CalcLayout();
  Invalidate(FALSE);
}

// --- Showing and hiding. ---

BOOL CSmartKeyboardDlg::ActivateOnExactPos(BOOL show, BOOL exactPos, int x, int y) {
  if (!show) return Hide(true);
  if (IsWindowVisible() || !m_pSuggestList) return TRUE;
  LayoutList(m_pSuggestList->ShowHistoryIfIdle());
  RECT window;
  GetWindowRect(&window);
  int width = window.right - window.left;
  int height = window.bottom - window.top;
  m_bExactPos = exactPos;
  KeyboardInputMappingTable* table = MappingTable();
  RECT rect;
  if (exactPos) {
    m_ptAnchor.x = x;
    m_ptAnchor.y = y;
    bool hasReceiver = table && (table->m_pTargetContainer || table->m_hTargetWnd);
    rect = PlaceAtPoint(x, y, width, height, hasReceiver,
                        table ? table->m_nPlacement : PLACEMENT_NONE);
  } else {
    POINT anchor;
    if (!DefaultAnchor(&anchor)) return FALSE;
    m_ptAnchor = anchor;
    rect = PlaceAtPoint(anchor.x, anchor.y, width, height, false, PLACEMENT_NONE);
  }
  ClampToTop(rect);
  // Placing a window costs even when it stays where it was.
  if (!EqualRect(&rect, &window)) MoveWindow(rect, TRUE);
  // A pop-up made on one monitor opens at the scale of the monitor it now stands on.
  int dpi = SWDPI::GetDPIofMonitorFromWindow(m_hWnd);
  if (dpi != m_nDpi && m_nDpi > 0) {
    RECT suggested = {rect.left, rect.top, rect.left + MulDiv(width, dpi, m_nDpi),
                      rect.top + MulDiv(height, dpi, m_nDpi)};
    ApplyDpi(dpi, &suggested);
  }
  // Escape hides the list on its own; a pop-up opened again shows it again.
  if (::IsWindow(m_pSuggestList->m_hWnd) &&
      !(::GetWindowLongW(m_pSuggestList->m_hWnd, GWL_STYLE) & WS_VISIBLE))
    m_pSuggestList->ShowWindow(SW_SHOW);
  ShowWindow(SW_SHOW);
  ::SetForegroundWindow(m_hWnd);
  LightLogger::CLogger::GetLogger(L"SetForegroundWindow", LIGHT_LOG_FILE_DEFAULT)
      ->WriteLogLine(L"CSmartKeyboardDlg::ActivateOnExactPos", 20000);
  if (m_pInputEdit && ::IsWindow(m_pInputEdit->m_hWnd) && ::GetFocus() != m_pInputEdit->m_hWnd)
    m_pInputEdit->SetFocus();
  return TRUE;
}

bool CSmartKeyboardDlg::DefaultAnchor(POINT* anchor) const {
  TRefPtr<CGlobalEnv> env = CGlobalEnv::GetGlobalEnv();
  if (!env) return false;
  CViewManager* frame = TerminalViewManager(env.get());
  CWnd* view = CurrentView(frame);
  if (!view) return false;
  RECT corner;
  int type = frame->GetViewType(view);
  if (type >= 1 && type <= 4) {
    ::GetWindowRect(env->GetCommandWnd(), &corner);
    anchor->x = corner.right - 5;
    anchor->y = corner.bottom - 5;
  } else {
    ::GetWindowRect(view->m_hWnd, &corner);
    anchor->x = corner.right;
    anchor->y = corner.bottom;
  }
  return true;
}

BOOL CSmartKeyboardDlg::Hide(bool returnFocus) {
  if (!IsWindowVisible()) return TRUE;
  KeyboardInputMappingTable* table = MappingTable();
  if (table) {
    table->m_hTargetWnd = nullptr;
    table->m_pTargetContainer = nullptr;
    table->m_nPlacement = PLACEMENT_NONE;
    table->m_nOpenMode = OPEN_MODE_TYPED;
  }
  ShowWindow(SW_HIDE);
  if (returnFocus) {
    TRefPtr<CGlobalEnv> env = CGlobalEnv::GetGlobalEnv();
    CViewManager* frame = TerminalViewManager(env.get());
    if (frame) {
      CModuleStateScope appState(WfcGetAppModule());
      BOOL container = frame->IsContainerWnd(m_hPrevFocus);
      if (m_pInputEdit && m_hPrevFocus && m_hPrevFocus == m_pInputEdit->m_hWnd) {
        CWnd* view = CurrentView(frame);
        if (view && ::IsWindow(view->m_hWnd)) view->SetFocus();
      } else if (::IsWindow(m_hPrevFocus) && !container) {
        ::SetFocus(m_hPrevFocus);
      }
    }
  }
  if (m_pSuggestList) m_pSuggestList->ClearResults();
  if (m_pInputEdit) m_pInputEdit->ClearText();
  return TRUE;
}

void CSmartKeyboardDlg::OnSmartKeyboardHide() { ActivateOnExactPos(FALSE, FALSE, 0, 0); }

// The close button and every other way of closing hide the pop-up like any other hiding:
// receivers, focus and text are reset.
void CSmartKeyboardDlg::OnClose() { ActivateOnExactPos(FALSE, FALSE, 0, 0); }
