// The terminal's skin and drawing library: palette, canvas and DPI scaling.
#pragma once

#include "Export.h"
#include "Unknown.h"

class CFont;
class CBitmap;
class CDC;

struct RES_BMP_INFO {
  unsigned char m_bFlag = 0;
  CBitmap* m_pBitmap = nullptr;  // owned by the palette
  int m_nWidth = 0;              // at 96 DPI
  int m_nHeight = 0;
  double m_dScale = 1.0;
};

class CSWPalette : public CUnknown {
 public:
  virtual COLORREF GetColor(const wchar_t* key) = 0;
  virtual CFont* GetFont(const wchar_t* key, int dpi) = 0;  // owned by the palette
  virtual CBitmap* GetBitmap(const wchar_t* key, int dpi, RES_BMP_INFO* info) = 0;
};

class TS_API CLightCanvas {
 public:
  CLightCanvas(CDC* dc, int dpi);
  ~CLightCanvas();
  void SetBkMode(int mode);
  void SetTextColor(COLORREF color);
  void DrawRect(const RECT* rect, COLORREF fill, COLORREF frame);
  void DrawTextW(const wchar_t* text, RECT* rect, UINT format, CFont* font);
  void DrawLine(int x1, int y1, COLORREF color, int width, int x2, int y2);
  void DrawBitmap(int x, int y, int width, int height, CBitmap* bitmap, int reserved, bool stretch);

 private:
  CDC* m_pDC;
  int m_nDpi;
};

namespace SWDPI {
TS_API int Scale(int dpi, int value);
TS_API int GetDPIofMonitorFromWindow(HWND wnd);
}  // namespace SWDPI
