// The light drawing canvas and the monitor DPI lookup (Windows).
#include <windows.h>

#include "frame/Skin.h"
#include "wfc/DC.h"
#include "wfc/Gdi.h"

namespace {

typedef UINT(WINAPI* GetDpiForWindowFn)(HWND);

// GetDpiForWindow exists from Windows 10 1607 on; older systems and Wine builds lack it.
GetDpiForWindowFn DpiForWindowFunction() {
  static GetDpiForWindowFn function = [] {
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    return user32 ? reinterpret_cast<GetDpiForWindowFn>(
                        reinterpret_cast<void*>(GetProcAddress(user32, "GetDpiForWindow")))
                  : nullptr;
  }();
  return function;
}

int LogPixelsOf(HWND wnd) {
  HDC dc = GetDC(wnd);
  if (!dc) return 0;
  int dpi = GetDeviceCaps(dc, LOGPIXELSX);
  ReleaseDC(wnd, dc);
  return dpi;
}

}  // namespace

namespace SWDPI {

int GetDPIofMonitorFromWindow(HWND wnd) {
  if (!wnd || !IsWindow(wnd)) wnd = nullptr;
  int dpi = 0;
  if (wnd) {
    // A process that has not declared DPI awareness gets 0 here: fall back to the device.
    if (GetDpiForWindowFn function = DpiForWindowFunction()) dpi = static_cast<int>(function(wnd));
  }
  if (dpi <= 0) dpi = LogPixelsOf(wnd);
  return dpi > 0 ? dpi : 96;
}

}  // namespace SWDPI

CLightCanvas::CLightCanvas(CDC* dc, int dpi) : m_pDC(dc), m_nDpi(dpi > 0 ? dpi : 96) {}

CLightCanvas::~CLightCanvas() {}

void CLightCanvas::SetBkMode(int mode) {
  if (m_pDC) ::SetBkMode(m_pDC->m_hDC, mode);
}

void CLightCanvas::SetTextColor(COLORREF color) {
  if (m_pDC) ::SetTextColor(m_pDC->m_hDC, color);
}

void CLightCanvas::DrawRect(const RECT* rect, COLORREF fill, COLORREF frame) {
  if (!m_pDC || !rect || rect->right <= rect->left || rect->bottom <= rect->top) return;
  HBRUSH fillBrush = CreateSolidBrush(fill);
  FillRect(m_pDC->m_hDC, rect, fillBrush);
  DeleteObject(fillBrush);
  if (frame != fill) {
    HBRUSH frameBrush = CreateSolidBrush(frame);
    FrameRect(m_pDC->m_hDC, rect, frameBrush);
    DeleteObject(frameBrush);
  }
}

void CLightCanvas::DrawTextW(const wchar_t* text, RECT* rect, UINT format, CFont* font) {
  if (!m_pDC || !text || !rect) return;
  HDC dc = m_pDC->m_hDC;
  HGDIOBJ previous = (font && font->m_hObject) ? ::SelectObject(dc, font->m_hObject) : nullptr;
  ::DrawTextW(dc, text, -1, rect, format);
  if (previous) ::SelectObject(dc, previous);
}

void CLightCanvas::DrawLine(int x1, int y1, COLORREF color, int width, int x2, int y2) {
  if (!m_pDC) return;
  HDC dc = m_pDC->m_hDC;
  if (width < 1) width = 1;
  HPEN pen;
  if (width == 1) {
    pen = CreatePen(PS_SOLID, 1, color);
  } else {
    // Flat ends: a wide line covers exactly its length, as a caret or a rule should.
    LOGBRUSH brush = {BS_SOLID, color, 0};
    pen = ExtCreatePen(PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_FLAT | PS_JOIN_MITER,
                       static_cast<DWORD>(width), &brush, 0, nullptr);
  }
  if (!pen) return;
  HGDIOBJ previousPen = ::SelectObject(dc, pen);
  POINT previousPos;
  MoveToEx(dc, x1, y1, &previousPos);
  LineTo(dc, x2, y2);
  MoveToEx(dc, previousPos.x, previousPos.y, nullptr);
  ::SelectObject(dc, previousPen);
  DeleteObject(pen);
}

void CLightCanvas::DrawBitmap(int x, int y, int width, int height, CBitmap* bitmap,
                              int /*reserved*/, bool /*stretch*/) {
  if (!m_pDC || !bitmap || !bitmap->m_hObject || width <= 0 || height <= 0) return;
  const SIZE size = bitmap->GetSize();
  if (size.cx <= 0 || size.cy <= 0) return;
  HDC dc = m_pDC->m_hDC;
  HDC source = CreateCompatibleDC(dc);
  if (!source) return;
  HGDIOBJ previousBitmap = ::SelectObject(source, bitmap->m_hObject);
  if (size.cx == width && size.cy == height) {
    BitBlt(dc, x, y, width, height, source, 0, 0, SRCCOPY);
  } else {
    // HALFTONE averages the source pixels, so scaled artwork stays smooth.
    const int previousMode = SetStretchBltMode(dc, HALFTONE);
    POINT previousOrigin;
    SetBrushOrgEx(dc, 0, 0, &previousOrigin);
    StretchBlt(dc, x, y, width, height, source, 0, 0, size.cx, size.cy, SRCCOPY);
    SetBrushOrgEx(dc, previousOrigin.x, previousOrigin.y, nullptr);
    SetStretchBltMode(dc, previousMode);
  }
  ::SelectObject(source, previousBitmap);
  DeleteDC(source);
}
