// How the terminal looks: the skins (the kit's palette and the demo's own colours) and the fonts
// at the frame's dpi.
#include "DemoTerminal.h"
#include "DemoWindows.h"

namespace {

const DemoTheme kLightTheme = {RGB(236, 239, 243), RGB(255, 255, 255), RGB(31, 35, 40),
                               RGB(107, 114, 128), RGB(26, 95, 180),   RGB(208, 212, 218),
                               RGB(250, 251, 252), RGB(244, 246, 249), RGB(226, 230, 236),
                               RGB(22, 128, 60),   RGB(200, 30, 45)};
const DemoTheme kDarkTheme = {RGB(24, 26, 30),    RGB(30, 33, 38),   RGB(230, 232, 235),
                              RGB(150, 156, 164), RGB(92, 168, 255), RGB(58, 63, 71),
                              RGB(20, 22, 26),    RGB(36, 40, 46),   RGB(36, 40, 46),
                              RGB(87, 200, 120),  RGB(255, 107, 107)};

}  // namespace

const DemoTheme& CDemoTerminal::ThemeOf(const std::wstring& skin) {
  return skin == L"dark" ? kDarkTheme : kLightTheme;
}

const wchar_t* BuiltInSkinNames() { return L"light and dark"; }

std::wstring SkinsFolderOf(const DemoOptions& options) {
  return options.skinsFolder.empty() ? ProgramFolder() + L"\\skins" : options.skinsFolder;
}

DemoSkinSource FindDemoSkin(const std::wstring& skinsFolder, const std::wstring& name) {
  DemoSkinSource source;
  const std::wstring folder = skinsFolder + L"\\" + name;
  const DWORD attributes = GetFileAttributesW(folder.c_str());
  if (!name.empty() && attributes != INVALID_FILE_ATTRIBUTES &&
      (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    source.found = true;
    source.folder = folder;
  } else if (name == L"light" || name == L"dark") {
    source.found = source.builtIn = true;
  }
  return source;
}

bool CDemoTerminal::ApplySkin(const std::wstring& name) {
  const DemoSkinSource source = FindDemoSkin(m_strSkinsFolder, name);
  if (!source.found) {
    AddLine(DemoLineKind::kError,
            FormatText(L"skin %ls: no folder %ls\\%ls, and the built-in skins are %ls",
                       name.c_str(), m_strSkinsFolder.c_str(), name.c_str(), BuiltInSkinNames()));
    return false;
  }
  // A skin folder that cannot be read leaves the built-in light skin, and the log says why.
  const bool loaded = source.builtIn ? m_pHost->UseBuiltInSkin(name.c_str())
                                     : m_pHost->UseSkinFolder(source.folder.c_str());
  m_strSkin = name;
  m_theme = ThemeOf(name);
  if (loaded) {
    AddLine(DemoLineKind::kAction,
            FormatText(L"skin %ls loaded%ls; skin change broadcast to %zu windows", name.c_str(),
                       source.builtIn ? L" (built into TerminalServices.dll)" : L"",
                       m_pHost->SkinWindowCount()));
  } else {
    AddLine(DemoLineKind::kError,
            FormatText(L"skin %ls: no palette from %ls; the built-in light skin stands in",
                       name.c_str(), source.folder.c_str()));
  }
  if (m_pFrame) {
    m_pFrame->UpdateMenuChecks();
    m_pFrame->RefreshAll();
  }
  return loaded;
}

void CDemoTerminal::ToggleSkin() { ApplySkin(m_strSkin == L"dark" ? L"light" : L"dark"); }

void CDemoTerminal::SetDpi(int dpi) {
  m_nDpi = dpi;
  CreateFonts();
}

void CDemoTerminal::CreateFonts() {
  DeleteFonts();
  struct FontStyle {
    int size;
    int weight;
  } styles[kFontCount] = {{44, FW_BOLD},   {28, FW_NORMAL}, {20, FW_NORMAL},
                          {15, FW_NORMAL}, {13, FW_NORMAL}, {15, FW_BOLD}};
  for (int i = 0; i < kFontCount; ++i)
    m_fonts[i] = CreateFontW(-Scale(styles[i].size), 0, 0, 0, styles[i].weight, FALSE, FALSE, FALSE,
                             DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                             CLEARTYPE_QUALITY, DEFAULT_PITCH, L"Microsoft YaHei");
}

void CDemoTerminal::DeleteFonts() {
  for (HFONT& font : m_fonts) {
    if (font) DeleteObject(font);
    font = nullptr;
  }
}
