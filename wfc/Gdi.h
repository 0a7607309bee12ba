// GDI objects owned by framework objects: the handle is deleted with the object.
#pragma once

#include <windows.h>

#include "WfcExport.h"

class CDC;

class WFC_API CFont {
 public:
  CFont();
  ~CFont();
  CFont(const CFont&) = delete;
  CFont& operator=(const CFont&) = delete;

  BOOL CreateFontIndirectW(const LOGFONTW* font);
  BOOL DeleteObject();
  operator HFONT() const { return m_hObject; }

  HFONT m_hObject;
};

class WFC_API CBitmap {
 public:
  CBitmap();
  ~CBitmap();
  CBitmap(const CBitmap&) = delete;
  CBitmap& operator=(const CBitmap&) = delete;

  BOOL CreateCompatibleBitmap(CDC* dc, int width, int height);
  // A 24- or 32-bit .bmp file, as a device-independent section.
  BOOL LoadFromFile(const wchar_t* path);
  BOOL Attach(HBITMAP bitmap);
  BOOL DeleteObject();
  // Width and height in pixels; (0, 0) without a bitmap.
  SIZE GetSize() const;
  operator HBITMAP() const { return m_hObject; }

  HBITMAP m_hObject;
};
