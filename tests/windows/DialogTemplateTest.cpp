// The smart keyboard's dialog template and the version record in the component's resources.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "ComponentDll.h"

namespace {

const WORD kDialogId = 11000;
const LPCWSTR kDialogType = MAKEINTRESOURCEW(5);  // RT_DIALOG

// The fixed head of an extended dialog template (DLGTEMPLATEEX), up to its variable part.
#pragma pack(push, 1)
struct DialogTemplateExHead {
  WORD dlgVer;
  WORD signature;
  DWORD helpID;
  DWORD exStyle;
  DWORD style;
  WORD cDlgItems;
  short x;
  short y;
  short cx;
  short cy;
};
#pragma pack(pop)

struct ParsedTemplate {
  DialogTemplateExHead head;
  std::vector<WORD> menu;  // ordinal form or string, as stored
  std::vector<WORD> windowClass;
  std::wstring title;
  WORD pointSize = 0;
  WORD weight = 0;
  BYTE italic = 0;
  BYTE charset = 0;
  std::wstring typeface;
};

// Reads a zero-terminated string of 16-bit units, or the 0xFFFF-ordinal form, at *at.
std::vector<WORD> ReadSzOrOrd(const WORD*& at) {
  std::vector<WORD> units;
  if (*at == 0xFFFF) {
    units.assign(at, at + 2);
    at += 2;
    return units;
  }
  while (*at) units.push_back(*at++);
  ++at;
  return units;
}

std::wstring ReadString(const WORD*& at) {
  std::vector<WORD> units = ReadSzOrOrd(at);
  return std::wstring(units.begin(), units.end());
}

ParsedTemplate Parse(const void* data) {
  ParsedTemplate parsed;
  memcpy(&parsed.head, data, sizeof(parsed.head));
  const WORD* at =
      reinterpret_cast<const WORD*>(static_cast<const BYTE*>(data) + sizeof(DialogTemplateExHead));
  parsed.menu = ReadSzOrOrd(at);
  parsed.windowClass = ReadSzOrOrd(at);
  parsed.title = ReadString(at);
  if (parsed.head.style & DS_SETFONT) {
    parsed.pointSize = *at++;
    parsed.weight = *at++;
    const BYTE* bytes = reinterpret_cast<const BYTE*>(at);
    parsed.italic = bytes[0];
    parsed.charset = bytes[1];
    at++;
    parsed.typeface = ReadString(at);
  }
  return parsed;
}

INT_PTR CALLBACK RecordingDialogProc(HWND dialog, UINT message, WPARAM, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    *reinterpret_cast<HWND*>(lParam) = dialog;
    return TRUE;
  }
  return FALSE;
}

}  // namespace

TEST(DialogTemplate, Template11000IsTheBorderlessTopMostPopUpWithoutControls) {
  ComponentDll dll;
  ASSERT_NE(dll.module(), nullptr);
  HRSRC resource = FindResourceW(dll.module(), MAKEINTRESOURCEW(kDialogId), kDialogType);
  ASSERT_NE(resource, nullptr);
  HGLOBAL loaded = LoadResource(dll.module(), resource);
  ASSERT_NE(loaded, nullptr);
  const void* data = LockResource(loaded);
  ASSERT_NE(data, nullptr);
  ASSERT_GE(SizeofResource(dll.module(), resource), sizeof(DialogTemplateExHead));

  ParsedTemplate parsed = Parse(data);
  EXPECT_EQ(parsed.head.dlgVer, 1);
  EXPECT_EQ(parsed.head.signature, 0xFFFF);
  EXPECT_EQ(parsed.head.style,
            static_cast<DWORD>(WS_POPUP | WS_SYSMENU | DS_SETFONT | DS_FIXEDSYS));
  EXPECT_EQ(parsed.head.exStyle, static_cast<DWORD>(WS_EX_TOPMOST));
  EXPECT_EQ(parsed.head.cDlgItems, 0);
  EXPECT_EQ(parsed.head.x, 0);
  EXPECT_EQ(parsed.head.y, 0);
  EXPECT_EQ(parsed.head.cx, 179);
  EXPECT_EQ(parsed.head.cy, 203);
  EXPECT_EQ(parsed.menu, std::vector<WORD>());
  EXPECT_EQ(parsed.windowClass, std::vector<WORD>());
  EXPECT_EQ(parsed.title, L"");
  EXPECT_EQ(parsed.pointSize, 8);
  EXPECT_EQ(parsed.weight, 400);
  EXPECT_EQ(parsed.italic, 0);
  EXPECT_EQ(parsed.typeface, L"MS Shell Dlg");
}

TEST(DialogTemplate, CreatesAModelessHiddenDialogUnderTheDesktop) {
  ComponentDll dll;
  ASSERT_NE(dll.module(), nullptr);
  HRSRC resource = FindResourceW(dll.module(), MAKEINTRESOURCEW(kDialogId), kDialogType);
  ASSERT_NE(resource, nullptr);
  auto dialogTemplate =
      static_cast<LPCDLGTEMPLATEW>(LockResource(LoadResource(dll.module(), resource)));
  ASSERT_NE(dialogTemplate, nullptr);

  HWND initialised = nullptr;
  HWND dialog =
      CreateDialogIndirectParamW(dll.module(), dialogTemplate, GetDesktopWindow(),
                                 RecordingDialogProc, reinterpret_cast<LPARAM>(&initialised));
  ASSERT_NE(dialog, nullptr) << "CreateDialogIndirectParamW failed: " << GetLastError();
  EXPECT_EQ(initialised, dialog);
  EXPECT_FALSE(IsWindowVisible(dialog));
  // A top-level pop-up: the desktop is its parent window and nothing owns it.
  EXPECT_EQ(GetAncestor(dialog, GA_PARENT), GetDesktopWindow());
  EXPECT_EQ(GetWindow(dialog, GW_OWNER), nullptr);
  LONG_PTR style = GetWindowLongPtrW(dialog, GWL_STYLE);
  LONG_PTR exStyle = GetWindowLongPtrW(dialog, GWL_EXSTYLE);
  EXPECT_TRUE(style & WS_POPUP);
  EXPECT_FALSE(style & WS_CHILD);
  EXPECT_FALSE(style & WS_CAPTION);
  EXPECT_TRUE(exStyle & WS_EX_TOPMOST);
  EXPECT_EQ(GetWindow(dialog, GW_CHILD), nullptr);

  // The client area is 179 x 203 dialog units of the template's font.
  RECT expected = {0, 0, 179, 203};
  ASSERT_TRUE(MapDialogRect(dialog, &expected));
  RECT client;
  ASSERT_TRUE(GetClientRect(dialog, &client));
  EXPECT_EQ(client.right - client.left, expected.right - expected.left);
  EXPECT_EQ(client.bottom - client.top, expected.bottom - expected.top);

  EXPECT_TRUE(DestroyWindow(dialog));
  EXPECT_FALSE(IsWindow(dialog));
}

TEST(DialogTemplate, VersionRecordDescribesTheDll) {
  ComponentDll dll;
  ASSERT_NE(dll.module(), nullptr);
  DWORD handle = 0;
  DWORD size = GetFileVersionInfoSizeW(dll.path().c_str(), &handle);
  ASSERT_GT(size, 0u);
  std::vector<BYTE> block(size);
  ASSERT_TRUE(GetFileVersionInfoW(dll.path().c_str(), 0, size, block.data()));

  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT fixedSize = 0;
  ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &fixedSize));
  ASSERT_GE(fixedSize, sizeof(VS_FIXEDFILEINFO));
  EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
  EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_DLL));

  wchar_t* name = nullptr;
  UINT nameLength = 0;
  ASSERT_TRUE(VerQueryValueW(block.data(), L"\\StringFileInfo\\080404b0\\OriginalFilename",
                             reinterpret_cast<void**>(&name), &nameLength));
  EXPECT_EQ(std::wstring(name), L"HotKeyManagerFactory.dll");
}
