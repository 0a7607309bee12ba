// The skin description file, "skin.txt" in a skin's folder: what the palette answers for each
// key. Portable: parsing needs no window system.
//
// UTF-8 text (an optional byte-order mark is skipped), one entry a line. Blank lines and lines
// whose first non-blank character is '#' are ignored. Entries:
//
//   color  KEY = #RRGGBB
//   font   KEY = SIZE WEIGHT FACE[, FACE...]
//   bitmap KEY = FILE [WIDTH HEIGHT]
//
// - KEY: any run of non-blank characters, such as "SuggestListWnd.CLR.BG".
// - SIZE: character height in pixels at 96 dpi (1 to 200); WEIGHT: 1 to 1000 (400 normal,
//   700 bold); FACEs: tried in order, the first installed one wins, else the last is used;
//   a face has at most 31 characters.
// - FILE: a .bmp file below the skin folder ('/' or '\' separated, no "..", not absolute);
//   WIDTH HEIGHT: its size in 96-dpi units (1 to 4096); without them the image's own size.
//
// A line that breaks these rules, or repeats a key of its kind, is reported with its number and
// skipped; the first entry of a key wins.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace ts {

struct SkinFont {
  int size = 0;    // pixels at 96 dpi
  int weight = 0;  // 1 to 1000
  std::vector<std::wstring> faces;
};

struct SkinBitmap {
  std::wstring file;  // relative to the skin folder, separators as written
  int width = 0;      // 96-dpi units; 0 and 0: the image's own size
  int height = 0;
};

struct SkinIssue {
  int line = 0;  // 1-based
  std::wstring message;
};

struct SkinFile {
  std::map<std::wstring, uint32_t> colors;  // COLORREF layout: 0x00BBGGRR
  std::map<std::wstring, SkinFont> fonts;
  std::map<std::wstring, SkinBitmap> bitmaps;
  std::vector<SkinIssue> issues;
};

// Parses the text of a skin file; every bad line lands in issues, the rest is kept.
SkinFile ParseSkinText(const std::string& utf8);

}  // namespace ts
