// Palettes without a skins folder: the skins built into TerminalServices.dll, a skin file's text in
// memory, and a folder; every switch reaches the windows registered with the data centre.
#include <gtest/gtest.h>

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
  EXPECT_EQ(palette->GetBitmap(L"qx.logo", 96, nullptr), nullptr);  // no folder to read it from
  EXPECT_EQ(log.Count(L"[CSkinPalette::Load]"), 1);                 // the misspelt line
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
  EXPECT_FALSE(host.UseSkinFolder((ProgramFolder() + L"\\no-such-skin").c_str()));
}

}  // namespace
