// The terminal's skin palette: colours, fonts and bitmaps by key, read from a skin folder (its
// "skin.txt", see SkinFile.h, and the bitmaps it names), from the text of such a file in memory,
// or from one of the skins built into TerminalServices.dll ("light" and "dark", made from
// data/skins when the DLL is built), so that a host works without a skins folder.
//
// A host creates one, loads a skin and installs it with CTerminalEnv::SetPalette. Loading again
// switches the skin at run time; the host then calls CSecurityMaster::BroadcastPaletteChanged so
// that the windows fetch their colours, fonts and bitmaps again. Fonts and bitmaps handed out
// before a switch stay valid until the palette is destroyed, because windows keep the pointers
// until they reload.
//
// The pop-up is never drawn with unset colours: a palette starts with the built-in light skin,
// and the light skin gives every key that a loaded skin lacks (one log line names the skin and
// the keys) and the bitmap of every file it names but cannot give. A skin folder that is missing,
// or whose skin file cannot be read or is not UTF-8 text, gives the light skin for all of it (one
// log line says which and why). Keys that neither skin has answer colour 0, a null font and a
// null bitmap, each logged once per key under "[CSkinPalette::...]".
#pragma once

#include <cstddef>
#include <string>

#include "frame/Export.h"
#include "frame/Skin.h"

class TS_API CSkinPalette : public CSWPalette {
 public:
  CSkinPalette();
  ~CSkinPalette() override;
  CSkinPalette(const CSkinPalette&) = delete;
  CSkinPalette& operator=(const CSkinPalette&) = delete;

  // Reads skinFolder\skin.txt. Bad lines are logged and skipped, and the skin still loads. False
  // when the folder is missing, or its skin file cannot be read or is not UTF-8: the palette then
  // holds the built-in light skin. False for a null or empty folder, and the current skin stays.
  bool Load(const wchar_t* skinFolder);
  // The skin of a skin file's text (UTF-8, length bytes); the bitmap files it names are read below
  // bitmapFolder (without one, the light skin's bitmaps stand in where it has them). False when
  // the text is not UTF-8 (the light skin is loaded), and for a null text (the current skin
  // stays).
  bool LoadText(const char* utf8, size_t length, const wchar_t* bitmapFolder);
  // A skin built into TerminalServices.dll by name ("light", "dark"). False (the current skin
  // stays) for any other name.
  bool LoadBuiltIn(const wchar_t* name);
  // The folder of the current skin's bitmaps; empty before the first successful load, for a
  // built-in skin and for a text without a folder.
  const wchar_t* GetFolder();
  // Lines of the last loaded skin file that were skipped.
  int GetIssueCount();

  COLORREF GetColor(const wchar_t* key) override;
  // Created for (key, dpi) on first use with the first installed face of the entry.
  CFont* GetFont(const wchar_t* key, int dpi) override;
  // Loaded on first use; one bitmap per key whatever the dpi (callers scale it when drawing).
  CBitmap* GetBitmap(const wchar_t* key, int dpi, RES_BMP_INFO* info) override;

 private:
  // The built-in light skin for all of it; a non-empty reason is logged with it.
  void UseFallback(const std::wstring& reason);
  void Apply(const std::string& text, const std::wstring& source, const std::wstring& folder,
             HMODULE resourceModule, const std::wstring& resourcePrefix);

  struct Impl;
  Impl* m_pImpl;
};
