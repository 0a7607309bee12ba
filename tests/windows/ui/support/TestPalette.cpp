#include "TestPalette.h"

namespace {

struct KeyColor {
  const wchar_t* key;
  COLORREF color;
};

// Distinct, easily told apart colours (no two share a channel pattern).
const KeyColor kColors[] = {
    {L"SuggestListWnd.CLR.BG", RGB(250, 250, 240)},
    {L"SuggestListWnd.CLR.BGSelected", RGB(40, 90, 200)},
    {L"SuggestListWnd.CLR.BGMouse", RGB(200, 230, 120)},
    {L"SuggestListWnd.CLR.BGSelectedText", RGB(255, 255, 0)},
    {L"SuggestListWnd.CLR.TextCommon", RGB(20, 20, 20)},
    {L"SuggestListWnd.CLR.TextItemType", RGB(160, 30, 160)},
    {L"SuggestListWnd.CLR.TextTip", RGB(120, 60, 10)},
    {L"SuggestListWnd.CLR.BGCaption", RGB(210, 220, 235)},
    {L"ComboBox.CLR.FrameNormal", RGB(0, 128, 128)},
    {L"InputEdit.CLR.CursorShow", RGB(0, 0, 255)},
    {L"InputEdit.CLR.BG", RGB(255, 240, 245)},
    {L"InputEdit.CLR.Text", RGB(128, 0, 0)},
};

}  // namespace

CTestPalette::CTestPalette() : m_nFontHeight(14), m_nFontRequests(0) {
  for (const KeyColor& entry : kColors) m_colors[entry.key] = entry.color;
  SetBitmap(L"qx.logo", 80, 40, RGB(0, 160, 0));
  SetBitmap(L"KeyboarCancle.hover", 16, 16, RGB(230, 0, 0));
  SetBitmap(L"KeyboarCancle.normal", 16, 16, RGB(120, 0, 0));
  SetBitmap(L"KeyboarEmpty.hover", 16, 16, RGB(0, 0, 230));
  SetBitmap(L"KeyboarEmpty.normal", 16, 16, RGB(0, 0, 120));
  SetBitmap(L"KeyboarInput.text", 270, 20, RGB(235, 235, 235));
}

CTestPalette::~CTestPalette() {}

COLORREF CTestPalette::GetColor(const wchar_t* key) {
  auto it = key ? m_colors.find(key) : m_colors.end();
  return it == m_colors.end() ? 0 : it->second;
}

CFont* CTestPalette::GetFont(const wchar_t* key, int dpi) {
  if (!key) return nullptr;
  ++m_nFontRequests;
  auto& slot = m_fonts[{key, dpi}];
  if (!slot) {
    LOGFONTW font = {};
    font.lfHeight = -MulDiv(m_nFontHeight, dpi, 96);
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = DEFAULT_CHARSET;
    lstrcpynW(font.lfFaceName, L"WenQuanYi Micro Hei", LF_FACESIZE);
    slot.reset(new CFont);
    slot->CreateFontIndirectW(&font);
  }
  return slot.get();
}

void CTestPalette::SetBitmap(const wchar_t* key, int width, int height, COLORREF color) {
  m_bitmapShapes[key] = BitmapShape{width, height, color};
  m_bitmaps.erase(key);
}

CBitmap* CTestPalette::GetBitmap(const wchar_t* key, int /*dpi*/, RES_BMP_INFO* info) {
  auto shape = key ? m_bitmapShapes.find(key) : m_bitmapShapes.end();
  if (shape == m_bitmapShapes.end()) {
    if (info) *info = RES_BMP_INFO();
    return nullptr;
  }
  auto& slot = m_bitmaps[key];
  if (!slot) {
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, shape->second.width, shape->second.height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    RECT all = {0, 0, shape->second.width, shape->second.height};
    HBRUSH brush = CreateSolidBrush(shape->second.color);
    FillRect(memory, &all, brush);
    DeleteObject(brush);
    SelectObject(memory, old);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    slot.reset(new CBitmap);
    slot->Attach(bitmap);
  }
  if (info) {
    info->m_bFlag = 1;
    info->m_pBitmap = slot.get();
    info->m_nWidth = shape->second.width;
    info->m_nHeight = shape->second.height;
    info->m_dScale = 1.0;
  }
  return slot.get();
}
