// The terminal's skin services on real GDI: the shipped skins answer every key the pop-up reads,
// a damaged skin loads with fallbacks and log lines, a skin switch keeps old objects alive, the
// canvas puts its pixels where asked and restores the device context, the DPI lookup never
// answers 0, and the skin-changed broadcast reaches a registered window.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "frame/RefPtr.h"
#include "frame/Skin.h"
#include "services/SecurityMaster.h"
#include "services/SkinPalette.h"
#include "services/TerminalEnv.h"
#include "support/SkinSupport.h"
#include "wfc/DC.h"
#include "wfc/Gdi.h"
#include "wfc/Wnd.h"

namespace {

// Separated by spaces.
const wchar_t kColorKeys[] =
    L"SuggestListWnd.CLR.BG SuggestListWnd.CLR.BGSelected SuggestListWnd.CLR.BGMouse "
    L"SuggestListWnd.CLR.BGSelectedText SuggestListWnd.CLR.TextCommon "
    L"SuggestListWnd.CLR.TextItemType SuggestListWnd.CLR.TextTip SuggestListWnd.CLR.BGCaption "
    L"SuggestListWnd.CLR.Highlight SuggestListWnd.CLR.HighlightSelected "
    L"ComboBox.CLR.FrameNormal InputEdit.CLR.CursorShow InputEdit.CLR.BG InputEdit.CLR.Text "
    L"ScrollBar.CLR.BG ScrollBar.CLR.Track ScrollBar.CLR.Thumb ScrollBar.CLR.ThumbHover "
    L"ScrollBar.CLR.Arrow";

struct FontKey {
  const wchar_t* key;
  int size;  // pixels at 96 dpi
};
const FontKey kFontKeys[] = {{L"SuggestListWnd.Name", 14},
                             {L"SuggestListWnd.Code", 14},
                             {L"SuggestListWnd.HighTypeName", 12},
                             {L"SuggestListWnd.Edit", 14}};

struct BitmapKey {
  const wchar_t* key;
  int width, height;
};
const BitmapKey kBitmapKeys[] = {{L"qx.logo", 96, 48},
                                 {L"KeyboarCancle.hover", 16, 16},
                                 {L"KeyboarCancle.normal", 16, 16},
                                 {L"KeyboarEmpty.hover", 16, 16},
                                 {L"KeyboarEmpty.normal", 16, 16},
                                 {L"KeyboarInput.text", 270, 20}};

LOGFONTW FontInfo(CFont* font) {
  LOGFONTW info = {};
  if (font) GetObjectW(font->m_hObject, sizeof(info), &info);
  return info;
}

TEST(SkinPalette, ShippedSkinsAnswerEveryKeyThePopUpReads) {
  COLORREF lightBackground = 0;
  CFont* lightFont = nullptr;
  CBitmap* lightLogo = nullptr;
  TRefPtr<CSkinPalette> palette(new CSkinPalette);  // switched from light to dark
  for (const wchar_t* name : {L"light", L"dark"}) {
    SCOPED_TRACE(testing::Message() << (name[0] == L'l' ? "light" : "dark"));
    LogCapture log;
    ASSERT_TRUE(palette->Load(ShippedSkin(name).c_str()));
    EXPECT_EQ(palette->GetIssueCount(), 0);

    std::wistringstream colorKeys(kColorKeys);
    int colorCount = 0;
    for (std::wstring key; colorKeys >> key; ++colorCount) palette->GetColor(key.c_str());
    EXPECT_EQ(colorCount, 19);
    for (const FontKey& entry : kFontKeys) {
      for (int dpi : {96, 144}) {
        CFont* font = palette->GetFont(entry.key, dpi);
        ASSERT_NE(font, nullptr);
        EXPECT_EQ(palette->GetFont(entry.key, dpi), font);  // created once per (key, dpi)
        const LOGFONTW info = FontInfo(font);
        EXPECT_EQ(info.lfHeight, -SWDPI::Scale(dpi, entry.size));
        EXPECT_EQ(info.lfWeight, 400);
      }
    }
    for (const BitmapKey& entry : kBitmapKeys) {
      RES_BMP_INFO info;
      CBitmap* bitmap = palette->GetBitmap(entry.key, 96, &info);
      ASSERT_NE(bitmap, nullptr) << entry.key;
      EXPECT_EQ(info.m_pBitmap, bitmap);
      EXPECT_EQ(info.m_bFlag, 1);
      EXPECT_EQ(info.m_nWidth, entry.width);
      EXPECT_EQ(info.m_nHeight, entry.height);
      EXPECT_EQ(info.m_dScale, 1.0);
      const SIZE size = bitmap->GetSize();  // the artwork is drawn at its 96-dpi size
      EXPECT_EQ(size.cx, entry.width);
      EXPECT_EQ(size.cy, entry.height);
    }
    // Nothing was missing, so nothing was logged.
    EXPECT_EQ(log.Lines().size(), 0u) << (log.Lines().empty() ? L"" : log.Lines()[0]).size();

    // The skins differ where they should: light is light, dark is dark.
    const COLORREF background = palette->GetColor(L"SuggestListWnd.CLR.BG");
    const int brightness = GetRValue(background) + GetGValue(background) + GetBValue(background);
    if (name[0] == L'l') {
      EXPECT_GT(brightness, 3 * 200);
      lightBackground = background;
      lightFont = palette->GetFont(L"SuggestListWnd.Name", 96);
      lightLogo = palette->GetBitmap(L"qx.logo", 96, nullptr);
    } else {
      EXPECT_LT(brightness, 3 * 60);
      EXPECT_NE(background, lightBackground);
      // New objects for the new skin, while a window that has not reloaded yet still draws
      // with valid GDI objects.
      EXPECT_NE(palette->GetFont(L"SuggestListWnd.Name", 96), lightFont);
      EXPECT_NE(palette->GetBitmap(L"qx.logo", 96, nullptr), lightLogo);
      LOGFONTW font = {};
      EXPECT_EQ(GetObjectW(lightFont->m_hObject, sizeof(font), &font),
                static_cast<int>(sizeof(font)));
      EXPECT_EQ(lightLogo->GetSize().cx, 96);
    }
    EXPECT_NE(palette->GetColor(L"SuggestListWnd.CLR.TextCommon"), background);
  }
}

TEST(SkinPalette, DamagedSkinLoadsWithFallbacksAndLogsEachProblemOnce) {
  ScratchFolder folder;
  ASSERT_FALSE(folder.Path().empty());
  ASSERT_TRUE(folder.CopyFrom(ShippedSkin(L"light") + L"\\logo.bmp", L"logo.bmp"));
  ASSERT_TRUE(folder.Write(L"broken.bmp", "this is not a bitmap"));
  ASSERT_TRUE(folder.Write(L"skin.txt",
                           "color Good.CLR.BG = #102030\n"
                           "color Bad.CLR.BG = #12345\n"
                           "font Fallback = 14 700 No Such Face 123, WenQuanYi Micro Hei\n"
                           "font Unknown = 13 400 No Such Face 123, Nor This One 456\n"
                           "bitmap qx.logo = logo.bmp 96 48\n"
                           "bitmap Missing.file = missing.bmp 16 16\n"
                           "bitmap Broken.file = broken.bmp\n"
                           "bitmap KeyboarCancle.normal = gone.bmp\n"));
  LogCapture log;
  TRefPtr<CSkinPalette> palette(new CSkinPalette);
  ASSERT_TRUE(palette->Load(folder.Path().c_str()));
  EXPECT_EQ(palette->GetIssueCount(), 1);
  EXPECT_EQ(log.Count({L"[CSkinPalette::Load]", L"line 2", L"#RRGGBB"}), 1u);
  // One line names the skin and every key of the light skin it lacks (29 keys, logo and close
  // button given), and the light skin answers for them.
  EXPECT_EQ(log.Count({L"[CSkinPalette::Load]", folder.File(L"skin.txt"), L"lacks 27 keys",
                       L"color SuggestListWnd.CLR.BG, ", L"font SuggestListWnd.Edit",
                       L"bitmap KeyboarInput.text"}),
            1u);
  EXPECT_EQ(log.Count({L"lacks"}), 1u);
  EXPECT_EQ(palette->GetColor(L"SuggestListWnd.CLR.BG"), RGB(0xFF, 0xFF, 0xFF));
  EXPECT_EQ(palette->GetColor(L"SuggestListWnd.CLR.BGSelected"), RGB(0x2F, 0x6F, 0xD6));
  EXPECT_NE(palette->GetFont(L"SuggestListWnd.Name", 96), nullptr);
  RES_BMP_INFO info;
  EXPECT_NE(palette->GetBitmap(L"KeyboarInput.text", 96, &info), nullptr);
  EXPECT_EQ(info.m_nWidth, 270);

  EXPECT_EQ(palette->GetColor(L"Good.CLR.BG"), RGB(0x10, 0x20, 0x30));
  EXPECT_EQ(palette->GetColor(L"Bad.CLR.BG"), 0u);
  EXPECT_EQ(palette->GetColor(L"Bad.CLR.BG"), 0u);
  EXPECT_EQ(log.Count({L"[CSkinPalette::GetColor]", L"Bad.CLR.BG"}), 1u);  // once per key

  // The first installed face of the list wins; with none installed the last one is asked for.
  EXPECT_STREQ(FontInfo(palette->GetFont(L"Fallback", 96)).lfFaceName, L"WenQuanYi Micro Hei");
  EXPECT_EQ(FontInfo(palette->GetFont(L"Fallback", 96)).lfWeight, 700);
  EXPECT_STREQ(FontInfo(palette->GetFont(L"Unknown", 96)).lfFaceName, L"Nor This One 456");
  EXPECT_EQ(palette->GetFont(L"No.Such.Font", 96), nullptr);
  EXPECT_EQ(palette->GetFont(nullptr, 96), nullptr);

  EXPECT_NE(palette->GetBitmap(L"qx.logo", 96, &info), nullptr);
  for (const wchar_t* key : {L"Missing.file", L"Broken.file", L"No.Such.Bitmap"}) {
    info.m_nWidth = 7;
    EXPECT_EQ(palette->GetBitmap(key, 96, &info), nullptr) << key;
    EXPECT_EQ(palette->GetBitmap(key, 144, &info), nullptr) << key;
    EXPECT_EQ(info.m_pBitmap, nullptr);
    EXPECT_EQ(info.m_nWidth, 0);
    EXPECT_EQ(info.m_nHeight, 0);
    EXPECT_EQ(info.m_bFlag, 0);
  }
  EXPECT_EQ(log.Count({L"[CSkinPalette::GetBitmap]", L"missing.bmp", L"Missing.file"}), 1u);
  EXPECT_EQ(log.Count({L"[CSkinPalette::GetBitmap]", L"broken.bmp", L"Broken.file"}), 1u);
  EXPECT_EQ(log.Count({L"[CSkinPalette::GetBitmap]", L"No.Such.Bitmap"}), 1u);
  // A file the skin names but cannot give, for a key the light skin has: the light skin's bitmap.
  EXPECT_NE(palette->GetBitmap(L"KeyboarCancle.normal", 96, &info), nullptr);
  EXPECT_EQ(info.m_nWidth, 16);
  EXPECT_EQ(log.Count({L"[CSkinPalette::GetBitmap]", L"gone.bmp", L"light skin"}), 1u);

  // A skin that is missing, unreadable or not UTF-8 gives the light skin for all of it, with one
  // line saying so; a later load of a good skin takes over again.
  ScratchFolder empty;
  const struct {
    std::wstring folder;
    const wchar_t* reason;
  } unusable[] = {{folder.File(L"nowhere"), L"is missing"},
                  {folder.File(L"logo.bmp"), L"is missing"},  // a file, not a folder
                  {empty.Path(), L"cannot read the skin file"}};
  for (const auto& skin : unusable) {
    ASSERT_TRUE(palette->Load(folder.Path().c_str()));
    log.Clear();
    EXPECT_FALSE(palette->Load(skin.folder.c_str()));
    EXPECT_EQ(log.Count({L"[CSkinPalette::Load]", skin.folder, skin.reason,
                         L"the built-in light skin stands in for all of it"}),
              1u);
    EXPECT_EQ(log.Lines().size(), 1u);
    EXPECT_EQ(palette->GetColor(L"SuggestListWnd.CLR.BG"), RGB(0xFF, 0xFF, 0xFF));
    EXPECT_EQ(palette->GetColor(L"Good.CLR.BG"), 0u);
  }
  ScratchFolder latin1;
  ASSERT_TRUE(latin1.Write(L"skin.txt", "color SuggestListWnd.CLR.BG = #102030\n# caf\xE9\n"));
  ASSERT_TRUE(palette->Load(folder.Path().c_str()));
  log.Clear();
  EXPECT_FALSE(palette->Load(latin1.Path().c_str()));
  EXPECT_EQ(log.Count({L"[CSkinPalette::Load]", latin1.File(L"skin.txt"), L"not UTF-8",
                       L"stands in for all of it"}),
            1u);
  EXPECT_EQ(palette->GetColor(L"SuggestListWnd.CLR.BG"), RGB(0xFF, 0xFF, 0xFF));
  EXPECT_NE(palette->GetBitmap(L"KeyboarCancle.normal", 96, &info), nullptr);

  // A null folder is no skin: refused, and the loaded one stays.
  ASSERT_TRUE(palette->Load(folder.Path().c_str()));
  EXPECT_FALSE(palette->Load(nullptr));
  EXPECT_EQ(palette->GetColor(L"Good.CLR.BG"), RGB(0x10, 0x20, 0x30));
}

TEST(SkinPalette, StartsWithTheLightSkin) {
  LogCapture log;
  TRefPtr<CSkinPalette> palette(new CSkinPalette);
  EXPECT_EQ(palette->GetColor(L"SuggestListWnd.CLR.BG"), RGB(0xFF, 0xFF, 0xFF));
  EXPECT_EQ(palette->GetColor(L"InputEdit.CLR.Text"), RGB(0x1F, 0x23, 0x29));
  EXPECT_NE(palette->GetBitmap(L"qx.logo", 96, nullptr), nullptr);
  EXPECT_TRUE(log.Lines().empty());
}

// A memory DC over a white 24-bit bitmap, for pixel checks of the canvas.
class CanvasSurface {
 public:
  CanvasSurface(int width, int height) {
    HDC screen = GetDC(nullptr);
    m_dc.CreateCompatibleDC(nullptr);
    m_bitmap = CreateCompatibleBitmap(screen, width, height);
    ReleaseDC(nullptr, screen);
    m_previous = SelectObject(m_dc.m_hDC, m_bitmap);
    RECT all = {0, 0, width, height};
    FillRect(m_dc.m_hDC, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  }
  ~CanvasSurface() {
    SelectObject(m_dc.m_hDC, m_previous);
    DeleteObject(m_bitmap);
  }
  CDC* dc() { return &m_dc; }
  COLORREF At(int x, int y) { return GetPixel(m_dc.m_hDC, x, y); }

 private:
  CDC m_dc;
  HBITMAP m_bitmap;
  HGDIOBJ m_previous;
};

TEST(LightCanvas, PutsRectsLinesAndBitmapsWhereAskedAndRestoresTheDC) {
  CanvasSurface surface(120, 80);
  HDC dc = surface.dc()->m_hDC;
  const HGDIOBJ pen = GetCurrentObject(dc, OBJ_PEN);
  const HGDIOBJ brush = GetCurrentObject(dc, OBJ_BRUSH);
  const HGDIOBJ font = GetCurrentObject(dc, OBJ_FONT);
  const HGDIOBJ bitmap = GetCurrentObject(dc, OBJ_BITMAP);
  const COLORREF kRed = RGB(220, 0, 0), kBlue = RGB(0, 0, 200), kGreen = RGB(0, 160, 0);
  const COLORREF kWhite = RGB(255, 255, 255);
  {
    CLightCanvas canvas(surface.dc(), 96);
    RECT framed = {10, 10, 30, 20};
    canvas.DrawRect(&framed, kRed, kBlue);
    RECT plain = {40, 10, 50, 20};
    canvas.DrawRect(&plain, kGreen, kGreen);
    canvas.DrawLine(5, 40, kGreen, 3, 45, 40);
    canvas.DrawLine(60, 5, kBlue, 1, 60, 25);

    // A 4 × 2 bitmap of 32-bit pixels (0x00RRGGBB), red on the left half and blue on the
    // right, stretched to 40 × 20.
    const DWORD kPixels[] = {0xDC0000, 0xDC0000, 0xC8, 0xC8, 0xDC0000, 0xDC0000, 0xC8, 0xC8};
    CBitmap small;
    ASSERT_TRUE(small.Attach(CreateBitmap(4, 2, 1, 32, kPixels)));
    canvas.DrawBitmap(70, 50, 40, 20, &small, 0, false);
    canvas.DrawBitmap(0, 60, 40, 20, nullptr, 0, false);  // nothing
  }
  struct Probe {
    int x, y;
    COLORREF expected;
  };
  const Probe kProbes[] = {{10, 10, kBlue},  {29, 19, kBlue},  {11, 11, kRed},   {30, 20, kWhite},
                           {49, 19, kGreen}, {5, 39, kGreen},  {44, 40, kGreen}, {25, 43, kWhite},
                           {46, 40, kWhite}, {60, 24, kBlue},  {61, 15, kWhite}, {72, 52, kRed},
                           {108, 68, kBlue}, {69, 60, kWhite}, {20, 70, kWhite}};
  for (const Probe& probe : kProbes)
    EXPECT_EQ(surface.At(probe.x, probe.y), probe.expected) << probe.x << "," << probe.y;
  EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), pen);
  EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), brush);
  EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), font);
  EXPECT_EQ(GetCurrentObject(dc, OBJ_BITMAP), bitmap);
}

TEST(LightCanvas, ChineseTextWithASkinFontInksItsRectangleOnly) {
  TRefPtr<CSkinPalette> palette(new CSkinPalette);
  ASSERT_TRUE(palette->Load(ShippedSkin(L"light").c_str()));
  const int kWidth = 220, kHeight = 60;
  CanvasSurface surface(kWidth, kHeight);
  HDC dc = surface.dc()->m_hDC;
  const COLORREF kInk = RGB(200, 0, 0);
  for (int dpi : {96, 144}) {
    RECT white = {0, 0, kWidth, kHeight};
    FillRect(dc, &white, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    CFont* font = palette->GetFont(L"SuggestListWnd.Name", dpi);
    ASSERT_NE(font, nullptr);
    const HGDIOBJ before = GetCurrentObject(dc, OBJ_FONT);
    RECT text = {20, 10, 200, 40};
    {
      CLightCanvas canvas(surface.dc(), dpi);
      canvas.SetBkMode(TRANSPARENT);
      canvas.SetTextColor(kInk);
      canvas.DrawTextW(L"键盘精灵 平安银行", &text, DT_LEFT | DT_VCENTER | DT_SINGLELINE, font);
    }
    EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), before);
    // Eight CJK glyphs: solid strokes give many pixels of the exact text colour, none outside.
    int inside = 0, outside = 0;
    RECT ink = {kWidth, kHeight, 0, 0};
    for (int y = 0; y < kHeight; ++y) {
      for (int x = 0; x < kWidth; ++x) {
        if (surface.At(x, y) != kInk) continue;
        ++*(PtInRect(&text, POINT{x, y}) ? &inside : &outside);
        ink = RECT{std::min<LONG>(ink.left, x), std::min<LONG>(ink.top, y),
                   std::max<LONG>(ink.right, x + 1), std::max<LONG>(ink.bottom, y + 1)};
      }
    }
    EXPECT_GT(inside, 8 * 10) << dpi;
    EXPECT_EQ(outside, 0) << dpi;
    // Drawn with the skin's font at this dpi: eight glyphs of one em and a space ink nearly
    // eight and a half ems (less the side bearings), on one line, vertically centred.
    const int em = SWDPI::Scale(dpi, 14);
    EXPECT_GT(ink.right - ink.left, 7 * em) << dpi;
    EXPECT_LE(ink.right - ink.left, 9 * em) << dpi;
    EXPECT_LE(ink.bottom - ink.top, em + 2) << dpi;
    EXPECT_LE(std::abs((ink.top - text.top) - (text.bottom - ink.bottom)), 3 + em / 4) << dpi;
  }
}

TEST(SWDPI, MonitorDpiIsNeverZero) {
  HDC screen = GetDC(nullptr);
  const int screenDpi = GetDeviceCaps(screen, LOGPIXELSX);
  ReleaseDC(nullptr, screen);
  EXPECT_EQ(SWDPI::GetDPIofMonitorFromWindow(nullptr), screenDpi > 0 ? screenDpi : 96);
  EXPECT_GT(SWDPI::GetDPIofMonitorFromWindow(reinterpret_cast<HWND>(0x7fff1234)), 0);

  CWnd wnd;
  RECT rect = {0, 0, 50, 50};
  ASSERT_TRUE(wnd.CreateEx(0, nullptr, L"dpi", WS_POPUP, rect, nullptr, 0));
  const int dpi = SWDPI::GetDPIofMonitorFromWindow(wnd.m_hWnd);
  EXPECT_GT(dpi, 0);
  typedef UINT(WINAPI * GetDpiForWindowFn)(HWND);
  auto forWindow = reinterpret_cast<GetDpiForWindowFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
  const int reported = forWindow ? static_cast<int>(forWindow(wnd.m_hWnd)) : 0;
  EXPECT_EQ(dpi, reported > 0 ? reported : screenDpi);
  wnd.DestroyWindow();
  EXPECT_GT(SWDPI::GetDPIofMonitorFromWindow(wnd.m_hWnd), 0);  // null again after destruction
}

// A window that reloads its colour from the environment's palette when told the skin changed.
class CSkinListener : public CWnd {
 public:
  std::vector<WPARAM> m_broadcasts;
  COLORREF m_clrBG = 0;

  void LoadPalette() {
    TRefPtr<CGlobalEnv> env = CGlobalEnv::GetGlobalEnv();
    CSWPalette* palette = env ? dynamic_cast<CSWPalette*>(env->GetPalette()) : nullptr;
    if (palette) m_clrBG = palette->GetColor(L"SuggestListWnd.CLR.BG");
  }

 protected:
  LRESULT OnBroadcast(WPARAM wParam, LPARAM) {
    m_broadcasts.push_back(wParam);
    if (wParam == BROADCAST_PALETTE_CHANGED) LoadPalette();
    return 0;
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CSkinListener, CWnd)
ON_MESSAGE(WM_DATACENTER_BROADCAST, OnBroadcast)
END_MESSAGE_MAP()

TEST(SkinSwitch, BroadcastReachesRegisteredWindowsWhichReloadTheNewSkin) {
  TRefPtr<CTerminalEnv> env(new CTerminalEnv);
  TRefPtr<CSecurityMaster> master(new CSecurityMaster);
  TRefPtr<CSkinPalette> light(new CSkinPalette), dark(new CSkinPalette);
  ASSERT_TRUE(light->Load(ShippedSkin(L"light").c_str()));
  ASSERT_TRUE(dark->Load(ShippedSkin(L"dark").c_str()));
  env->SetPalette(light.get());
  env->SetDataMgr(master.get());
  CGlobalEnv::SetGlobalEnv(env.get());

  CSkinListener registered, unregistered, destroyed;
  RECT rect = {0, 0, 20, 20};
  ASSERT_TRUE(registered.CreateEx(0, nullptr, L"r", WS_POPUP, rect, nullptr, 0));
  ASSERT_TRUE(unregistered.CreateEx(0, nullptr, L"u", WS_POPUP, rect, nullptr, 0));
  ASSERT_TRUE(destroyed.CreateEx(0, nullptr, L"d", WS_POPUP, rect, nullptr, 0));
  registered.LoadPalette();
  EXPECT_EQ(registered.m_clrBG, light->GetColor(L"SuggestListWnd.CLR.BG"));
  master->RegistRecvBroadcastMsgWnd(registered.m_hWnd);
  master->RegistRecvBroadcastMsgWnd(destroyed.m_hWnd);
  destroyed.DestroyWindow();

  // The host switches by installing the other palette (or reloading this one), then broadcasts.
  env->SetPalette(dark.get());
  EXPECT_EQ(master->BroadcastPaletteChanged(), 1);
  EXPECT_EQ(registered.m_broadcasts, std::vector<WPARAM>{BROADCAST_PALETTE_CHANGED});
  EXPECT_EQ(registered.m_clrBG, dark->GetColor(L"SuggestListWnd.CLR.BG"));
  EXPECT_TRUE(unregistered.m_broadcasts.empty());

  ASSERT_TRUE(dark->Load(ShippedSkin(L"light").c_str()));  // reloading in place works the same
  EXPECT_EQ(master->BroadcastPaletteChanged(), 1);
  EXPECT_EQ(registered.m_clrBG, light->GetColor(L"SuggestListWnd.CLR.BG"));

  master->UnregistRecvBroadcastMsgWnd(registered.m_hWnd);
  EXPECT_EQ(master->BroadcastPaletteChanged(), 0);
  EXPECT_EQ(registered.m_broadcasts.size(), 2u);
  CGlobalEnv::SetGlobalEnv(nullptr);
}

}  // namespace
