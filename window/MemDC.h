// Double buffering for one WM_PAINT: drawing goes to an off-screen bitmap the size of the paint's
// clip box and reaches the window in one copy when the helper is destroyed. With a window's back
// buffer, drawing goes to that buffer instead (in the window's client coordinates) and the clip
// box is copied from it: the same pixels without a bitmap made for every paint.
#pragma once

#include "wfc/BackBuffer.h"
#include "wfc/DC.h"
#include "wfc/Gdi.h"

class CMemDC : public CDC {
 public:
  explicit CMemDC(CDC* target);
  // client: the window's client size, which the buffer covers.
  CMemDC(CDC* target, CBackBuffer* buffer, SIZE client);
  ~CMemDC() override;
  CMemDC(const CMemDC&) = delete;
  CMemDC& operator=(const CMemDC&) = delete;

 private:
  // Drawing to a bitmap of the clip box's size, or straight to a printing target.
  void BeginOwnBitmap();

  CBitmap m_bitmap;
  HGDIOBJ m_hOldBitmap;
  CDC* m_pTarget;
  CBackBuffer* m_pBuffer;  // set while drawing goes to a window's back buffer
  RECT m_rect;
  BOOL m_bMemDC;  // FALSE while printing: drawing then goes straight to the target
};
