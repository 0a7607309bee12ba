// A palette for window tests: every key the pop-up reads answers a distinct colour, fonts come
// from one installed face at the asked dpi, and bitmaps are solid blocks of a known colour and
// 96-dpi size, so pixel reads tell which key painted where.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <utility>

#include "frame/Skin.h"
#include "wfc/Gdi.h"

class CTestPalette : public CSWPalette {
 public:
  CTestPalette();
  ~CTestPalette() override;

  // Colour for a key; unknown keys answer 0 (black), as a palette without the key would.
  COLORREF GetColor(const wchar_t* key) override;
  CFont* GetFont(const wchar_t* key, int dpi) override;
  CBitmap* GetBitmap(const wchar_t* key, int dpi, RES_BMP_INFO* info) override;

  void SetColor(const wchar_t* key, COLORREF color) { m_colors[key] = color; }
  // A bitmap key of that 96-dpi size, filled with color.
  void SetBitmap(const wchar_t* key, int width, int height, COLORREF color);
  void RemoveBitmap(const wchar_t* key) { m_bitmapShapes.erase(key); }
  // Font height in pixels at 96 dpi (scaled by the asked dpi).
  void SetFontHeight(int height) { m_nFontHeight = height; }
  int FontRequests() const { return m_nFontRequests; }

 private:
  struct BitmapShape {
    int width, height;
    COLORREF color;
  };
  std::map<std::wstring, COLORREF> m_colors;
  std::map<std::wstring, BitmapShape> m_bitmapShapes;
  std::map<std::pair<std::wstring, int>, std::unique_ptr<CFont>> m_fonts;
  std::map<std::wstring, std::unique_ptr<CBitmap>> m_bitmaps;
  int m_nFontHeight;
  int m_nFontRequests;
};
