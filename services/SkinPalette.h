// The terminal's skin palette: colours, fonts and bitmaps by key, read from a skin folder (its
// "skin.txt", see SkinFile.h, and the bitmaps it names).
//
// A host creates one, loads a skin and installs it with CTerminalEnv::SetPalette. Loading again
// switches the skin at run time; the host then calls CSecurityMaster::BroadcastPaletteChanged so
// that the windows fetch their colours, fonts and bitmaps again. Fonts and bitmaps handed out
// before a switch stay valid until the palette is destroyed, because windows keep the pointers
// until they reload.
//
// Unknown keys answer colour 0, a null font and a null bitmap, each logged once per key under
// "[CSkinPalette::...]"; so are bitmap files that cannot be read.
#pragma once

#include "frame/Export.h"
#include "frame/Skin.h"

class TS_API CSkinPalette : public CSWPalette {
 public:
  CSkinPalette();
  ~CSkinPalette() override;
  CSkinPalette(const CSkinPalette&) = delete;
  CSkinPalette& operator=(const CSkinPalette&) = delete;

  // Reads skinFolder\skin.txt. False (the current skin stays) when the file cannot be read;
  // bad lines are logged and skipped, and the skin still loads.
  bool Load(const wchar_t* skinFolder);
  // The folder of the current skin; empty before the first successful Load.
  const wchar_t* GetFolder();
  // Lines of the last loaded skin file that were skipped.
  int GetIssueCount();

  COLORREF GetColor(const wchar_t* key) override;
  // Created for (key, dpi) on first use with the first installed face of the entry.
  CFont* GetFont(const wchar_t* key, int dpi) override;
  // Loaded on first use; one bitmap per key whatever the dpi (callers scale it when drawing).
  CBitmap* GetBitmap(const wchar_t* key, int dpi, RES_BMP_INFO* info) override;

 private:
  struct Impl;
  Impl* m_pImpl;
};
