// An off-screen surface kept from one paint of a window to the next: a memory context with a
// bitmap compatible with the window, made again only when a paint needs more room. Making a
// context and a bitmap for every paint costs more than the drawing itself on some systems.
#pragma once

#include <windows.h>

#include "DC.h"
#include "Gdi.h"
#include "WfcExport.h"

class WFC_API CBackBuffer {
 public:
  CBackBuffer();
  ~CBackBuffer();
  CBackBuffer(const CBackBuffer&) = delete;
  CBackBuffer& operator=(const CBackBuffer&) = delete;

  // The context to compose width × height pixels on (from 0, 0), compatible with target; its
  // drawing state is saved and `box` is cleared to black, as a new bitmap starts. Null when no
  // surface can be made. Each Begin is followed by one End.
  CDC* Begin(CDC* target, int width, int height, const RECT& box);
  // Puts the drawing state back as Begin found it.
  void End();
  // Frees the surface (the window is gone); the next Begin makes a new one.
  void Free();

 private:
  CDC m_dc;
  CBitmap m_bitmap;
  HGDIOBJ m_hOldBitmap;
  int m_nWidth;
  int m_nHeight;
  int m_nSaved;
};
