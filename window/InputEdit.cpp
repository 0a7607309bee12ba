#include "InputEdit.h"
#include "HostServices.h"

#include <imm.h>

#include <cstring>
#include <new>

#include "frame/DataMgr.h"
#include "frame/GlobalEnv.h"
#include "frame/RefPtr.h"
#include "frame/Skin.h"
#include "wfc/DC.h"
#include "wfc/Gdi.h"

namespace {

// An input-method result comes back once more as WM_CHAR messages from default processing;
// characters within this many milliseconds after a result are those echoes.
const double kImeEchoWindowMs = 100.0;

// Shared by every edit of the process (user-interface thread only).
double g_dLastImeResultMs = 0.0;
DWORD g_dwLastCharTime = 0;

double NowMs() {
  LARGE_INTEGER counter, frequency;
  if (!QueryPerformanceFrequency(&frequency) || frequency.QuadPart == 0 ||
      !QueryPerformanceCounter(&counter))
    return 0.0;
  return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

// Digits, ASCII letters and the operators that occur in commands.
bool IsAcceptedChar(wchar_t ch) {
  if ((ch >= L'0' && ch <= L'9') || (ch >= L'A' && ch <= L'Z') || (ch >= L'a' && ch <= L'z'))
    return true;
  return ch == L'*' || ch == L'+' || ch == L'-' || ch == L'/' || ch == L'_';
}

}  // namespace

BEGIN_MESSAGE_MAP(CInputEdit, CWnd)
ON_MESSAGE(WM_CREATE, OnCreate)
ON_MESSAGE(WM_DESTROY, OnDestroy)
ON_MESSAGE(WM_SIZE, OnSize)
ON_MESSAGE(WM_PAINT, OnPaint)
ON_MESSAGE(WM_TIMER, OnTimer)
ON_MESSAGE(WM_KEYDOWN, OnKeyDown)
ON_MESSAGE(WM_MOUSEWHEEL, OnMouseWheel)
ON_MESSAGE(WM_KILLFOCUS, OnKillFocus)
ON_MESSAGE(WM_SETCURSOR, OnSetCursor)
ON_MESSAGE(WM_CHAR, OnChar)
ON_MESSAGE(WM_DATACENTER_BROADCAST, OnDataCenterBroadcast)
END_MESSAGE_MAP()

CInputEdit::CInputEdit()
    : m_szText(),
      m_nCaret(0),
      m_bCaretPhase(true),
      m_pFont(nullptr),
      m_clrCaret(0),
      m_clrBG(0),
      m_clrText(0),
      m_nLineWidth(1),
      m_nDpi(96) {}

int CInputEdit::TextLength() const { return static_cast<int>(wcslen(m_szText)); }

void CInputEdit::ClearText() {
  m_nCaret = 0;
  memset(m_szText, 0, sizeof(m_szText));
  if (m_hWnd) Invalidate(TRUE);
}

bool CInputEdit::LoadPalette() {
  TRefPtr<CSWPalette> palette = TerminalPalette();
  if (!palette) return false;
  m_clrCaret = palette->GetColor(L"InputEdit.CLR.CursorShow");
  m_clrBG = palette->GetColor(L"InputEdit.CLR.BG");
  m_clrText = palette->GetColor(L"InputEdit.CLR.Text");
  m_pFont = palette->GetFont(L"SuggestListWnd.Edit", m_nDpi);
  return true;
}

void CInputEdit::Notify(UINT code, void* data) {
  InputEditNotify record;
  record.data = data;
  NotifyParent(code, &record.hdr);
}

void CInputEdit::NotifyTextChanged() { Notify(IEN_TEXTCHANGED, m_szText); }

void CInputEdit::NotifyKey(WPARAM key, LPARAM lParam) {
  InputEditKeyInfo info;
  info.m_nVirtKey = static_cast<uint32_t>(key);
  info.m_nRepCnt = static_cast<int16_t>(LOWORD(lParam));
  info.m_nFlags = static_cast<int16_t>(HIWORD(lParam));
  Notify(IEN_KEYDOWN, &info);
}

// A key forwarded while the pop-up is hidden must not pull the focus into a hidden field.
void CInputEdit::FocusIfVisible() {
  if (m_hWnd && IsWindowVisible()) SetFocus();
}

void CInputEdit::InsertChar(wchar_t ch) {
  if (NowMs() - g_dLastImeResultMs <= kImeEchoWindowMs) return;
  // The same character can reach the edit twice (forwarded by the terminal and typed here).
  DWORD time = static_cast<DWORD>(GetMessageTime());
  if (time == g_dwLastCharTime) return;
  g_dwLastCharTime = time;
  int length = TextLength();
  if (length >= MAX_TEXT_LENGTH) return;

  wchar_t tail[32];
  wcscpy(tail, m_szText + m_nCaret);
  m_szText[m_nCaret++] = ch;
  wcscpy(m_szText + m_nCaret, tail);
  CharUpperW(m_szText);
  if (m_hWnd) Invalidate(TRUE);
  NotifyTextChanged();
  FocusIfVisible();
}

LRESULT CInputEdit::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_IME_COMPOSITION) return OnImeComposition(wParam, lParam);
  if (message == WM_DPICHANGED) return OnDpiChanged(wParam, lParam);
  return CWnd::WindowProc(message, wParam, lParam);
}

LRESULT CInputEdit::OnImeComposition(WPARAM wParam, LPARAM lParam) {
  if (!(lParam & GCS_RESULTSTR)) return CWnd::WindowProc(WM_IME_COMPOSITION, wParam, lParam);
  // Before anything else: the result's echoed characters must be dropped even when the result
  // itself is refused.
  g_dLastImeResultMs = NowMs();

  HWND focus = ::GetFocus();
  if (!focus || !::IsWindow(focus)) return 1;
  HIMC context = ImmGetContext(focus);
  if (!context) return 1;
  LONG bytes = ImmGetCompositionStringW(context, GCS_RESULTSTR, nullptr, 0);
  if (bytes <= 0) {
    ImmReleaseContext(focus, context);
    return 1;
  }
  size_t count = static_cast<size_t>(bytes) / sizeof(wchar_t);
  wchar_t* result = new (std::nothrow) wchar_t[count + 1]();
  if (!result) {
    ImmReleaseContext(focus, context);
    return 1;
  }
  ImmGetCompositionStringW(context, GCS_RESULTSTR, result, static_cast<DWORD>(count * 2));
  ImmReleaseContext(focus, context);

  int resultLength = static_cast<int>(wcslen(result));
  if (TextLength() + resultLength > MAX_TEXT_LENGTH) {
    delete[] result;  // refused whole: half a name would match nothing sensible
    return 1;
  }
  wchar_t tail[32];
  wcscpy(tail, m_szText + m_nCaret);
  memcpy(m_szText + m_nCaret, result, resultLength * sizeof(wchar_t));
  delete[] result;
  m_nCaret += resultLength;
  wcscpy(m_szText + m_nCaret, tail);

  Invalidate(TRUE);
  CharUpperW(m_szText);
  NotifyTextChanged();
  FocusIfVisible();
  // Default processing sends the result's characters once more as WM_CHAR; the echo window
  // above drops them.
  return CWnd::WindowProc(WM_IME_COMPOSITION, wParam, lParam);
}

LRESULT CInputEdit::OnDpiChanged(WPARAM wParam, LPARAM /*lParam*/) {
  int dpi = LOWORD(wParam);
  if (dpi != m_nDpi) {
    m_nDpi = dpi;
    m_nLineWidth = SWDPI::Scale(dpi, 1);
    if (LoadPalette()) Invalidate(TRUE);
  }
  return 1;
}

LRESULT CInputEdit::OnCreate(WPARAM /*wParam*/, LPARAM /*lParam*/) {
  if (Default() == -1) return -1;
  m_nDpi = SWDPI::GetDPIofMonitorFromWindow(m_hWnd);
  m_nLineWidth = SWDPI::Scale(m_nDpi, 1);
  if (TRefPtr<CDataMgr> dataMgr = TerminalDataMgr()) dataMgr->RegistRecvBroadcastMsgWnd(m_hWnd);
  LoadPalette();
  SetTimer(CARET_TIMER_ID, CARET_BLINK_MS);
  return 0;
}

LRESULT CInputEdit::OnDestroy(WPARAM /*wParam*/, LPARAM /*lParam*/) {
  KillTimer(CARET_TIMER_ID);
  if (TRefPtr<CDataMgr> dataMgr = TerminalDataMgr()) dataMgr->UnregistRecvBroadcastMsgWnd(m_hWnd);
  return Default();
}

LRESULT CInputEdit::OnSize(WPARAM /*wParam*/, LPARAM /*lParam*/) {
  LRESULT result = Default();
  Invalidate(TRUE);
  return result;
}

void CInputEdit::DrawCaret(CDC* dc, const RECT& client) {
  SIZE extent = dc->GetTextExtent(m_szText, m_nCaret);
  int x = extent.cx + 2;
  HPEN pen = CreatePen(PS_SOLID, m_nLineWidth, m_clrCaret);
  HGDIOBJ oldPen = dc->SelectObject(pen);
  dc->SetROP2(R2_XORPEN);
  // Two lines side by side: one pixel wide at 96 dpi would be too thin to see.
  for (int line = 0; line < 2; ++line) {
    dc->MoveTo(x + line * m_nLineWidth, client.top + m_nLineWidth);
    dc->LineTo(x + line * m_nLineWidth, client.bottom - m_nLineWidth);
  }
  dc->SetROP2(R2_COPYPEN);
  dc->SelectObject(oldPen);
  DeleteObject(pen);
}

LRESULT CInputEdit::OnPaint(WPARAM /*wParam*/, LPARAM /*lParam*/) {
  CPaintDC paintDC(this);
  if (!m_pFont) return 0;
  RECT client;
  GetClientRect(&client);
  int width = client.right - client.left;
  int height = client.bottom - client.top;

  CDC memDC;
  CBitmap bitmap;
  if (!memDC.CreateCompatibleDC(&paintDC) ||
      !bitmap.CreateCompatibleBitmap(&paintDC, width, height))
    return 0;
  HGDIOBJ oldBitmap = memDC.SelectObject(&bitmap);
  memDC.FillSolidRect(&client, m_clrBG);
  HGDIOBJ oldFont = memDC.SelectObject(m_pFont);
  memDC.SetTextColor(m_clrText);
  memDC.SetBkMode(TRANSPARENT);  // the glyph cells keep the field's background
  memDC.TextOutW(2, 0, m_szText, TextLength());
  if (m_bCaretPhase) DrawCaret(&memDC, client);
  paintDC.BitBlt(0, 0, width, height, &memDC, 0, 0, SRCCOPY);
  memDC.SelectObject(oldFont);
  memDC.SelectObject(oldBitmap);
  return 0;
}

LRESULT CInputEdit::OnTimer(WPARAM wParam, LPARAM /*lParam*/) {
  if (wParam != CARET_TIMER_ID) return Default();
  if (!m_pFont || !m_hWnd) return 0;
  RECT client;
  GetClientRect(&client);
  CClientDC dc(this);
  HGDIOBJ oldFont = dc.SelectObject(m_pFont);
  // XOR: the same lines draw the caret when it is off and erase it when it is on.
  DrawCaret(&dc, client);
  dc.SelectObject(oldFont);
  m_bCaretPhase = !m_bCaretPhase;
  return 0;
}

LRESULT CInputEdit::OnKeyDown(WPARAM wParam, LPARAM lParam) {
  if (wParam < VK_BACK || wParam > VK_PROCESSKEY) return Default();
  int length = TextLength();
  switch (wParam) {
    case VK_BACK:
      if (length > 0 && m_nCaret >= 1) {
        memmove(m_szText + m_nCaret - 1, m_szText + m_nCaret,
                (length - m_nCaret + 1) * sizeof(wchar_t));
        --m_nCaret;
        Invalidate(TRUE);
        NotifyTextChanged();
      }
      break;
    case VK_RETURN:
    case VK_ESCAPE:
      // The parent acts on the key (picks the row, hides) while the text is still there.
      NotifyKey(wParam, lParam);
      ClearText();
      NotifyTextChanged();
      FocusIfVisible();
      break;
    case VK_PRIOR:
    case VK_NEXT:
    case VK_UP:
    case VK_DOWN:
      NotifyKey(wParam, lParam);
      break;
    case VK_END:
      if (length > 0) {
        m_nCaret = length;
        Invalidate(TRUE);
        NotifyKey(wParam, lParam);
      }
      break;
    case VK_HOME:
      if (length > 0) {
        m_nCaret = 0;
        Invalidate(TRUE);
        NotifyKey(wParam, lParam);
      }
      break;
    case VK_LEFT:
      if (length > 0) {
        if (m_nCaret != 0) --m_nCaret;
        Invalidate(TRUE);
      }
      break;
    case VK_RIGHT:
      if (length > 0) {
        if (m_nCaret != length) ++m_nCaret;
        Invalidate(TRUE);
      }
      break;
    case VK_DELETE:
      if (length > 0 && m_nCaret < length) {
        memmove(m_szText + m_nCaret, m_szText + m_nCaret + 1,
                (length - m_nCaret) * sizeof(wchar_t));
        Invalidate(TRUE);
        NotifyTextChanged();
      }
      break;
    case VK_PROCESSKEY:
      // The input method owns this key; its result arrives as WM_IME_COMPOSITION.
      return 0;
    default:
      break;
  }
  return Default();
}

LRESULT CInputEdit::OnMouseWheel(WPARAM wParam, LPARAM lParam) {
  InputEditWheelInfo info;
  info.m_nFlags = GET_KEYSTATE_WPARAM(wParam);
  info.m_nDelta = GET_WHEEL_DELTA_WPARAM(wParam);
  info.m_nReserved = 0;
  info.m_nX = static_cast<int16_t>(LOWORD(lParam));
  info.m_nY = static_cast<int16_t>(HIWORD(lParam));
  Notify(IEN_MOUSEWHEEL, &info);
  return 0;
}

LRESULT CInputEdit::OnKillFocus(WPARAM wParam, LPARAM /*lParam*/) {
  Default();
  // The parent tells a move inside the pop-up from one outside by the window gaining the focus.
  Notify(IEN_KILLFOCUS, reinterpret_cast<void*>(wParam));
  ClearText();
  return 0;
}

LRESULT CInputEdit::OnSetCursor(WPARAM /*wParam*/, LPARAM /*lParam*/) {
  ::SetCursor(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_IBEAM)));
  return TRUE;
}

LRESULT CInputEdit::OnChar(WPARAM wParam, LPARAM /*lParam*/) {
  if (wParam > 255) return Default();
  wchar_t ch = static_cast<wchar_t>(wParam);
  if (!IsAcceptedChar(ch)) return Default();
  InsertChar(ch);
  return 0;
}

LRESULT CInputEdit::OnDataCenterBroadcast(WPARAM wParam, LPARAM /*lParam*/) {
  if (wParam == BROADCAST_PALETTE_CHANGED && LoadPalette()) Invalidate(TRUE);
  return 0;
}
