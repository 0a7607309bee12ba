// Double buffering for one WM_PAINT: drawing goes to an off-screen bitmap the size of the paint's
// clip box and reaches the window in one copy when the helper is destroyed.
#pragma once

#include "wfc/DC.h"
#include "wfc/Gdi.h"

class CMemDC : public CDC {
 public:
  explicit CMemDC(CDC* target);
  ~CMemDC() override;
  CMemDC(const CMemDC&) = delete;
  CMemDC& operator=(const CMemDC&) = delete;

 private:
  CBitmap m_bitmap;
  HGDIOBJ m_hOldBitmap;
  CDC* m_pTarget;
  RECT m_rect;
  BOOL m_bMemDC;  // FALSE while printing: drawing then goes straight to the target
};
