// Palettes without a skins folder: the skins built into TerminalServices.dll, a skin file's text in
// memory, and a folder; every switch reaches the windows registered with the data centre.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "KitTerminal.h"
#include "frame/DataMgr.h"
#include "frame/Skin.h"
#include "services/SkinPalette.h"
#include "wfc/Gdi.h"

namespace {

CSWPalette* Palette(CTerminalHost& host) {
  return dynamic_cast<CSWPalette*>(host.GetEnvironment()->GetPalette());
}

std::wstring ProgramFolder() {
  wchar_t path[MAX_PATH];
  std::wstring folder(path, GetModuleFileNameW(nullptr, path, MAX_PATH));
  return folder.substr(0, folder.find_last_of(L"\\/"));
}

// Counts the skin-changed broadcasts a window receives.
struct BroadcastCounter {
  BroadcastCounter() {
    wnd = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                          GetModuleHandleW(nullptr), nullptr);
    SetWindowLongPtrW(wnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    previous = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&BroadcastCounter::Proc)));
  }
  ~BroadcastCounter() { DestroyWindow(wnd); }
  static LRESULT CALLBACK Proc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<BroadcastCounter*>(GetWindowLongPtrW(wnd, GWLP_USERDATA));
    if (message == WM_DATACENTER_BROADCAST && wParam == BROADCAST_PALETTE_CHANGED) ++self->count;
    return CallWindowProcW(self->previous, wnd, message, wParam, lParam);
  }
  HWND wnd;
  WNDPROC previous;
  int count = 0;
};

TEST(HostSkinTest, BuiltInSkinsCarryTheirColoursAndBitmaps) {
  LogLines log;
  CTerminalHost host;
  CSWPalette* palette = Palette(host);
  BroadcastCounter counter;
  TRefPtr<CDataMgr> dataMgr(dynamic_cast<CDataMgr*>(host.GetEnvironment()->GetDataMgr()));
  dataMgr->RegistRecvBroadcastMsgWnd(counter.wnd);

  RES_BMP_INFO info;
  CBitmap* logo = palette->GetBitmap(L"qx.logo", 96, &info);
  ASSERT_NE(logo, nullptr);
  EXPECT_EQ(info.m_nWidth, 96);  // as skin.txt gives it
  EXPECT_EQ(info.m_nHeight, 48);
  EXPECT_GT(logo->GetSize().cx, 0);
  ASSERT_NE(palette->GetFont(L"SuggestListWnd.Name", 96), nullptr);

  ASSERT_TRUE(host.UseBuiltInSkin(L"dark"));
  EXPECT_EQ(palette->GetColor(L"SuggestListWnd.CLR.BG"), RGB(0x1E, 0x20, 0x24));
  EXPECT_NE(palette->GetBitmap(L"KeyboarInput.text", 96, &info), nullptr);
  EXPECT_EQ(counter.count, 1);

  // Names that are no built-in skin leave the skin as it is.
  EXPECT_FALSE(host.UseBuiltInSkin(L"blue"));
  EXPECT_FALSE(host.UseBuiltInSkin(L"../light"));
  EXPECT_FALSE(host.UseBuiltInSkin(nullptr));
  EXPECT_EQ(palette->GetColor(L"SuggestListWnd.CLR.BG"), RGB(0x1E, 0x20, 0x24));
  EXPECT_EQ(counter.count, 1);
  EXPECT_EQ(log.Count(L"[CSkinPalette::LoadBuiltIn]"), 3);
  dataMgr->UnregistRecvBroadcastMsgWnd(counter.wnd);
}

TEST(HostSkinTest, SkinTextInMemoryTakesItsBitmapsFromAFolderOrGoesWithout) {
  LogLines log;
  CTerminalHost host;
  CSWPalette* palette = Palette(host);
  const std::string text =
      "color SuggestListWnd.CLR.BG = #102030\n"
      "bitmap qx.logo = logo.bmp\n"
      "colour misspelt = #000000\n";
  ASSERT_TRUE(host.UseSkinText(text.data(), text.size(), nullptr));
  EXPECT_EQ(palette->GetColor(L"SuggestListWnd.CLR.BG"), RGB(0x10, 0x20, 0x30));
  EXPECT_EQ(palette->GetColor(L"InputEdit.CLR.Text"), RGB(0x1F, 0x23, 0x29));  // the light skin's
  // No folder to read the logo from: the light skin's logo, and a line that says so.
  EXPECT_NE(palette->GetBitmap(L"qx.logo", 96, nullptr), nullptr);
  EXPECT_EQ(log.Count(L"[CSkinPalette::Load]"), 2);  // the misspelt line, the keys it lacks
  EXPECT_EQ(log.Count(L"[CSkinPalette::GetBitmap]"), 1);

  // The same text with the light skin's folder (copied beside the programs) draws its logo.
  const std::wstring light = ProgramFolder() + L"\\skins\\light";
  ASSERT_TRUE(host.UseSkinText(text.data(), text.size(), light.c_str()));
  RES_BMP_INFO info;
  EXPECT_NE(palette->GetBitmap(L"qx.logo", 96, &info), nullptr);
  EXPECT_FALSE(host.UseSkinText(nullptr, 0, nullptr));

  const std::wstring dark = ProgramFolder() + L"\\skins\\dark";
  ASSERT_TRUE(host.UseSkinFolder(dark.c_str()));
  EXPECT_EQ(palette->GetColor(L"SuggestListWnd.CLR.BG"), RGB(0x1E, 0x20, 0x24));
  // A skin folder that is missing gives the light skin, which the windows hear of.
  log.m_lines.clear();
  EXPECT_FALSE(host.UseSkinFolder((ProgramFolder() + L"\\no-such-skin").c_str()));
  EXPECT_EQ(palette->GetColor(L"SuggestListWnd.CLR.BG"), RGB(0xFF, 0xFF, 0xFF));
  EXPECT_EQ(log.Count(L"[CSkinPalette::Load]"), 1);
}

// A skin folder of a test, removed with its file.
class SkinFolder {
 public:
  explicit SkinFolder(const std::string& skinText) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    m_path = std::wstring(temp) + L"kit-skin-" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(m_path.c_str(), nullptr);
    FILE* file = _wfopen((m_path + L"\\skin.txt").c_str(), L"wb");
    if (file) {
      fwrite(skinText.data(), 1, skinText.size(), file);
      fclose(file);
    }
  }
  ~SkinFolder() {
    DeleteFileW((m_path + L"\\skin.txt").c_str());
    RemoveDirectoryW(m_path.c_str());
  }
  const std::wstring& Path() const { return m_path; }

 private:
  std::wstring m_path;
};

// The colour at (x, y) of a window's client area; negative coordinates count from the right and
// bottom edges.
COLORREF Pixel(HWND wnd, int x, int y) {
  RECT client;
  GetClientRect(wnd, &client);
  HDC dc = GetDC(wnd);
  const COLORREF color = GetPixel(dc, x < 0 ? client.right + x : x, y < 0 ? client.bottom + y : y);
  ReleaseDC(wnd, dc);
  return color;
}

// The pop-up's frame, caption, input field and list, read from its pixels, are drawn in the skin's
// colours where it has them and in the light skin's everywhere else: never unset (black).
TEST(HostSkinTest, APopupWithAMissingOrIncompleteSkinDrawsInTheLightSkinsColours) {
  LogLines log;
  CTerminalHost host;
  ASSERT_TRUE(host.LoadComponent());
  KeyboardItemInfo item(L"600000", L"PFYH", L"浦发银行", 0x0102, -1, nullptr, 0xFFFFFFFF,
                        KEYBOARD_SELECT_NONE);
  item.m_cMarket = 1;
  host.AddSecuritiesOf(&item, 1);
  ASSERT_TRUE(host.Manager()->AddOneKeyboardItem(&item));
  KitTerminal terminal(host);
  TRefPtr<CSkinPalette> light(new CSkinPalette);
  auto lightColor = [&](const wchar_t* key) { return light->GetColor(key); };

  SkinFolder incomplete("color SuggestListWnd.CLR.BG = #102030\n");
  const struct {
    std::wstring folder;
    bool loads;
    COLORREF listBackground;
    const wchar_t* logged;
  } skins[] = {
      {ProgramFolder() + L"\\no-such-skin", false, lightColor(L"SuggestListWnd.CLR.BG"),
       L"no-such-skin is missing"},
      {incomplete.Path(), true, RGB(0x10, 0x20, 0x30), L"lacks 28 keys"},
  };
  for (const auto& skin : skins) {
    SCOPED_TRACE(testing::Message() << skin.logged);
    log.m_lines.clear();
    EXPECT_EQ(host.UseSkinFolder(skin.folder.c_str()), skin.loads);
    EXPECT_EQ(log.m_lines.size(), 1u);
    EXPECT_EQ(log.Count(L"[CSkinPalette::Load]"), 1);
    EXPECT_TRUE(!log.m_lines.empty() && log.m_lines[0].find(skin.logged) != std::wstring::npos);

    terminal.Type(L"600000");
    ASSERT_TRUE(terminal.PumpUntil([&] { return terminal.Popup() != nullptr; }));
    const HWND popup = terminal.Popup();
    RedrawWindow(popup, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    const HWND list = GetDlgItem(popup, 1000), edit = GetDlgItem(popup, 1001);
    ASSERT_NE(list, nullptr);
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(Pixel(popup, 0, 100), lightColor(L"ComboBox.CLR.FrameNormal"));
    EXPECT_EQ(Pixel(popup, 3, 10), lightColor(L"SuggestListWnd.CLR.BGCaption"));
    EXPECT_EQ(Pixel(edit, -3, 3), lightColor(L"InputEdit.CLR.BG"));
    // The one result is at the top; the empty rows below show the list's background.
    EXPECT_EQ(Pixel(list, 4, -4), skin.listBackground);
    terminal.Press(VK_ESCAPE);
    ASSERT_TRUE(terminal.PumpUntil([&] { return terminal.Popup() == nullptr; }));
  }
}

}  // namespace
