#include "InputEdit.h"
#include "HostServices.h"

#include <imm.h>

#include <cstring>
#include <new>

#include "frame/DataMgr.h"
#include "frame/GlobalEnv.h"
#include "frame/RefPtr.h"
#include "frame/Skin.h"
#include "table/TypedText.h"
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

// An input method in full-width mode types full-width digits and letters: they are typed as their
// ASCII forms (small letters become capitals here as everywhere in the field).
wchar_t AsciiForm(UINT ch) {
  if (ch >= 0xFF41 && ch <= 0xFF5A) ch -= 0x20;
  return FoldTypedCharacter(static_cast<wchar_t>(ch));
}

// Digits, ASCII letters and the operators that occur in commands.
bool IsAcceptedChar(wchar_t ch) {
  if ((ch >= L'0' && ch <= L'9') || (ch >= L'A' && ch <= L'Z') || (ch >= L'a' && ch <= L'z'))
    return true;
  return ch == L'*' || ch == L'+' || ch == L'-' || ch == L'/' || ch == L'_';
}

}  // namespace

BEGIN_MESSAGE_MAP(CInputEdit, CWnd)
ON_WM_CREATE()
ON_WM_DESTROY()
ON_WM_SIZE()
ON_WM_PAINT()
// Borderless: nothing outside the client area to paint (see the list).
ON_WM_NCPAINT()
ON_WM_TIMER()
ON_WM_KEYDOWN()
ON_WM_MOUSEWHEEL()
ON_WM_KILLFOCUS()
ON_WM_SETCURSOR()
ON_WM_CHAR()
ON_MESSAGE(WM_DATACENTER_BROADCAST, OnDataCenterBroadcast)
ON_WM_IME_COMPOSITION()
ON_WM_DPICHANGED()
ON_WM_GETOBJECT()
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

void CInputEdit::NotifyTextChanged() {
  AnnounceValueChange();
  Notify(IEN_TEXTCHANGED, m_szText);
}

void CInputEdit::NotifyKey(UINT key, UINT repeat, UINT flags) {
  InputEditKeyInfo info;
  info.m_nVirtKey = key;
  // Both words go out sign-extended, as the parent has always read them.
  info.m_nRepCnt = static_cast<int16_t>(repeat);
  info.m_nFlags = static_cast<int16_t>(flags);
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

LRESULT CInputEdit::OnImeComposition(WCHAR, UINT changeFlags) {
  if (!(changeFlags & GCS_RESULTSTR)) return Default();
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
  return Default();
}

// Answers 1, changed or not.
LRESULT CInputEdit::OnDpiChanged(UINT newDpi, const RECT*) {
  int dpi = static_cast<int>(newDpi);
  if (dpi != m_nDpi) {
    m_nDpi = dpi;
    m_nLineWidth = SWDPI::Scale(dpi, 1);
    if (LoadPalette()) Invalidate(TRUE);
  }
  return 1;
}

int CInputEdit::OnCreate(LPCREATESTRUCTW) {
  if (Default() == -1) return -1;
  m_nDpi = SWDPI::GetDPIofMonitorFromWindow(m_hWnd);
  m_nLineWidth = SWDPI::Scale(m_nDpi, 1);
  if (TRefPtr<CDataMgr> dataMgr = TerminalDataMgr()) dataMgr->RegistRecvBroadcastMsgWnd(m_hWnd);
  LoadPalette();
  SetTimer(CARET_TIMER_ID, CARET_BLINK_MS);
  return 0;
}

void CInputEdit::OnDestroy() {
  m_accessible.Disconnect();
  KillTimer(CARET_TIMER_ID);
  if (TRefPtr<CDataMgr> dataMgr = TerminalDataMgr()) dataMgr->UnregistRecvBroadcastMsgWnd(m_hWnd);
  Default();
  m_backBuffer.Free();
}

void CInputEdit::OnSize(UINT, int, int) {
  Default();
  Invalidate(TRUE);
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

void CInputEdit::OnPaint() {
  CPaintDC paintDC(this);
  if (!m_pFont) return;
  RECT client;
  GetClientRect(&client);
  int width = client.right - client.left;
  int height = client.bottom - client.top;

  // Composed on the field's back buffer, whose drawing state End puts back.
  CDC* memDC = m_backBuffer.Begin(&paintDC, width, height, client);
  if (!memDC) return;
  memDC->FillSolidRect(&client, m_clrBG);
  memDC->SelectObject(m_pFont);
  memDC->SetTextColor(m_clrText);
  memDC->SetBkMode(TRANSPARENT);  // the glyph cells keep the field's background
  memDC->TextOutW(2, 0, m_szText, TextLength());
  if (m_bCaretPhase) DrawCaret(memDC, client);
  paintDC.BitBlt(0, 0, width, height, memDC, 0, 0, SRCCOPY);
  m_backBuffer.End();
}

void CInputEdit::OnTimer(UINT_PTR id) {
  if (id != CARET_TIMER_ID) {
    Default();
    return;
  }
  if (!m_pFont || !m_hWnd) return;
  RECT client;
  GetClientRect(&client);
  CClientDC dc(this);
  HGDIOBJ oldFont = dc.SelectObject(m_pFont);
  // XOR: the same lines draw the caret when it is off and erase it when it is on.
  DrawCaret(&dc, client);
  dc.SelectObject(oldFont);
  m_bCaretPhase = !m_bCaretPhase;
}

void CInputEdit::OnKeyDown(UINT key, UINT repeat, UINT flags) {
  if (key < VK_BACK || key > VK_PROCESSKEY) {
    Default();
    return;
  }
  int length = TextLength();
  switch (key) {
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
      NotifyKey(key, repeat, flags);
      ClearText();
      NotifyTextChanged();
      FocusIfVisible();
      break;
    case VK_PRIOR:
    case VK_NEXT:
    case VK_UP:
    case VK_DOWN:
      NotifyKey(key, repeat, flags);
      break;
    case VK_END:
      if (length > 0) {
        m_nCaret = length;
        Invalidate(TRUE);
        NotifyKey(key, repeat, flags);
      }
      break;
    case VK_HOME:
      if (length > 0) {
        m_nCaret = 0;
        Invalidate(TRUE);
        NotifyKey(key, repeat, flags);
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
      return;
    default:
      break;
  }
  Default();
}

// Answers 0: the wheel is the parent's business.
BOOL CInputEdit::OnMouseWheel(UINT flags, short delta, POINT screenPoint) {
  InputEditWheelInfo info;
  info.m_nFlags = flags;
  info.m_nDelta = delta;
  info.m_nReserved = 0;
  info.m_nX = screenPoint.x;
  info.m_nY = screenPoint.y;
  Notify(IEN_MOUSEWHEEL, &info);
  return FALSE;
}

void CInputEdit::OnKillFocus(HWND gaining) {
  Default();
  // The parent tells a move inside the pop-up from one outside by the window gaining the focus.
  Notify(IEN_KILLFOCUS, gaining);
  ClearText();
}

BOOL CInputEdit::OnSetCursor(HWND, UINT, UINT) {
  ::SetCursor(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_IBEAM)));
  return TRUE;
}

void CInputEdit::OnChar(UINT ch, UINT, UINT) {
  wchar_t typed = AsciiForm(ch);
  if (typed > 255 || !IsAcceptedChar(typed)) {
    Default();
    return;
  }
  InsertChar(typed);
}

LRESULT CInputEdit::OnDataCenterBroadcast(WPARAM code, LPARAM) {
  if (code == BROADCAST_PALETTE_CHANGED && LoadPalette()) Invalidate(TRUE);
  return 0;
}
