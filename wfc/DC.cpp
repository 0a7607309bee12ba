#include "DC.h"

#include "Gdi.h"
#include "Wnd.h"

CDC::CDC() : m_hDC(nullptr), m_hAttribDC(nullptr), m_bPrinting(FALSE), m_bOwnsDC(FALSE) {}

CDC::~CDC() {
  if (m_bOwnsDC) DeleteDC();
}

BOOL CDC::CreateCompatibleDC(CDC* dc) {
  if (m_hDC) return FALSE;
  HDC created = ::CreateCompatibleDC(dc ? dc->m_hDC : nullptr);
  if (!created) return FALSE;
  m_hDC = m_hAttribDC = created;
  m_bOwnsDC = TRUE;
  return TRUE;
}

BOOL CDC::DeleteDC() {
  if (!m_hDC || !m_bOwnsDC) return FALSE;
  BOOL deleted = ::DeleteDC(m_hDC);
  m_hDC = m_hAttribDC = nullptr;
  m_bOwnsDC = FALSE;
  return deleted;
}

HGDIOBJ CDC::SelectObject(HGDIOBJ object) { return ::SelectObject(m_hDC, object); }
HGDIOBJ CDC::SelectObject(CFont* font) { return font ? SelectObject(font->m_hObject) : nullptr; }
HGDIOBJ CDC::SelectObject(CBitmap* bitmap) {
  return bitmap ? SelectObject(bitmap->m_hObject) : nullptr;
}
int CDC::SetBkMode(int mode) { return ::SetBkMode(m_hDC, mode); }
COLORREF CDC::SetTextColor(COLORREF color) { return ::SetTextColor(m_hDC, color); }
int CDC::SetROP2(int mode) { return ::SetROP2(m_hDC, mode); }
POINT CDC::SetWindowOrg(int x, int y) {
  POINT previous = {0, 0};
  ::SetWindowOrgEx(m_hDC, x, y, &previous);
  return previous;
}
int CDC::GetClipBox(RECT* rect) const { return ::GetClipBox(m_hDC, rect); }
int CDC::GetDeviceCaps(int index) const { return ::GetDeviceCaps(m_hAttribDC, index); }

BOOL CDC::BitBlt(int x, int y, int width, int height, CDC* source, int xSource, int ySource,
                 DWORD rop) {
  return ::BitBlt(m_hDC, x, y, width, height, source ? source->m_hDC : nullptr, xSource, ySource,
                  rop);
}

void CDC::FillSolidRect(const RECT* rect, COLORREF color) {
  COLORREF previous = ::SetBkColor(m_hDC, color);
  ::ExtTextOutW(m_hDC, 0, 0, ETO_OPAQUE, rect, nullptr, 0, nullptr);
  ::SetBkColor(m_hDC, previous);
}

BOOL CDC::TextOutW(int x, int y, const wchar_t* text, int length) {
  return ::TextOutW(m_hDC, x, y, text, length);
}

SIZE CDC::GetTextExtent(const wchar_t* text, int length) const {
  SIZE size = {0, 0};
  ::GetTextExtentPoint32W(m_hAttribDC, text, length, &size);
  return size;
}

int CDC::DrawTextW(const wchar_t* text, int length, RECT* rect, UINT format) {
  return ::DrawTextW(m_hDC, text, length, rect, format);
}

BOOL CDC::MoveTo(int x, int y) { return ::MoveToEx(m_hDC, x, y, nullptr); }
BOOL CDC::LineTo(int x, int y) { return ::LineTo(m_hDC, x, y); }

CPaintDC::CPaintDC(CWnd* wnd) : m_ps(), m_hWnd(wnd->m_hWnd) {
  m_hDC = m_hAttribDC = ::BeginPaint(m_hWnd, &m_ps);
}

CPaintDC::~CPaintDC() {
  ::EndPaint(m_hWnd, &m_ps);
  m_hDC = m_hAttribDC = nullptr;
}

CClientDC::CClientDC(CWnd* wnd) : m_hWnd(wnd ? wnd->m_hWnd : nullptr) {
  m_hDC = m_hAttribDC = ::GetDC(m_hWnd);
}

CClientDC::~CClientDC() {
  if (m_hDC) ::ReleaseDC(m_hWnd, m_hDC);
  m_hDC = m_hAttribDC = nullptr;
}
