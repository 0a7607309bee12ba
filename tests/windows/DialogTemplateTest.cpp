// The smart keyboard's dialog template in the component's resources, and the version records of
// both DLLs.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ComponentDll.h"

namespace {

// The fixed head of an extended dialog template (DLGTEMPLATEEX), up to its variable part.
#pragma pack(push, 1)
struct DialogTemplateExHead {
  WORD dlgVer, signature;
  DWORD helpID, exStyle, style;
  WORD cDlgItems;
  short x, y, cx, cy;
};
#pragma pack(pop)

INT_PTR CALLBACK RecordingDialogProc(HWND dialog, UINT message, WPARAM, LPARAM lParam) {
  if (message != WM_INITDIALOG) return FALSE;
  *reinterpret_cast<HWND*>(lParam) = dialog;
  return TRUE;
}

TEST(DialogTemplate, Template11000IsTheBorderlessTopMostPopUpWithoutControls) {
  ComponentDll dll;
  HRSRC resource = FindResourceW(dll.module(), MAKEINTRESOURCEW(11000), MAKEINTRESOURCEW(5));
  ASSERT_NE(resource, nullptr);
  ASSERT_GE(SizeofResource(dll.module(), resource), sizeof(DialogTemplateExHead) + 38);
  const auto* head =
      static_cast<const DialogTemplateExHead*>(LockResource(LoadResource(dll.module(), resource)));
  EXPECT_TRUE(head->dlgVer == 1 && head->signature == 0xFFFF && head->cDlgItems == 0 &&
              head->exStyle == WS_EX_TOPMOST && head->x == 0 && head->y == 0 && head->cx == 179 &&
              head->cy == 203);
  EXPECT_EQ(head->style, static_cast<DWORD>(WS_POPUP | WS_SYSMENU | DS_SETFONT | DS_FIXEDSYS));
  // No menu, the default class, no title; then the font: 8 points, weight 400, not italic.
  const WORD* at = reinterpret_cast<const WORD*>(head + 1);
  EXPECT_EQ(std::vector<WORD>(at, at + 5), (std::vector<WORD>{0, 0, 0, 8, 400}));
  EXPECT_EQ(at[5] & 0xFF, 0);
  EXPECT_EQ(std::wstring(at + 6, at + 19), std::wstring(L"MS Shell Dlg", 13));

  // Created from it: a hidden top-level pop-up with no owner, sized in the template's units.
  HWND initialised = nullptr;
  HWND dialog = CreateDialogIndirectParamW(dll.module(), reinterpret_cast<LPCDLGTEMPLATEW>(head),
                                           GetDesktopWindow(), RecordingDialogProc,
                                           reinterpret_cast<LPARAM>(&initialised));
  ASSERT_NE(dialog, nullptr) << "CreateDialogIndirectParamW failed: " << GetLastError();
  EXPECT_EQ(initialised, dialog);
  EXPECT_FALSE(IsWindowVisible(dialog));
  EXPECT_EQ(GetAncestor(dialog, GA_PARENT), GetDesktopWindow());
  EXPECT_EQ(GetWindow(dialog, GW_OWNER), nullptr);
  const LONG_PTR style = GetWindowLongPtrW(dialog, GWL_STYLE);
  EXPECT_TRUE((style & WS_POPUP) && !(style & WS_CHILD) && !(style & WS_CAPTION));
  EXPECT_TRUE(GetWindowLongPtrW(dialog, GWL_EXSTYLE) & WS_EX_TOPMOST);
  RECT expected = {0, 0, 179, 203}, client;
  ASSERT_TRUE(MapDialogRect(dialog, &expected) && GetClientRect(dialog, &client));
  EXPECT_EQ(client.right - client.left, expected.right - expected.left);
  EXPECT_EQ(client.bottom - client.top, expected.bottom - expected.top);
  EXPECT_TRUE(DestroyWindow(dialog));
}

// Both DLLs carry the project's version (CMake's project(... VERSION)) and their file names.
TEST(DialogTemplate, VersionRecordsGiveTheProjectVersion) {
  ComponentDll dll;
  const std::wstring folder = dll.path().substr(0, dll.path().find_last_of(L"\\/") + 1);
  for (const wchar_t* file : {L"HotKeyManagerFactory.dll", L"TerminalServices.dll"}) {
    const std::wstring path = folder + file;
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &handle);
    std::vector<BYTE> block(size);
    ASSERT_TRUE(size > 0 && GetFileVersionInfoW(path.c_str(), 0, size, block.data())) << size;
    VS_FIXEDFILEINFO* fixed = nullptr;
    wchar_t* text = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_TRUE(fixed->dwSignature == 0xFEEF04BDu && fixed->dwFileType == VFT_DLL);
    EXPECT_EQ(fixed->dwFileVersionMS,
              static_cast<DWORD>(MAKELONG(HKM_VERSION_MINOR, HKM_VERSION_MAJOR)));
    EXPECT_EQ(fixed->dwFileVersionLS, static_cast<DWORD>(MAKELONG(0, HKM_VERSION_PATCH)));
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\StringFileInfo\\080404b0\\OriginalFilename",
                               reinterpret_cast<void**>(&text), &length));
    EXPECT_STREQ(text, file);
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\StringFileInfo\\080404b0\\FileVersion",
                               reinterpret_cast<void**>(&text), &length));
    EXPECT_STREQ(text, HKM_VERSION_TEXT);
  }
}

}  // namespace
