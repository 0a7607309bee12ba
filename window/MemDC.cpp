#include "MemDC.h"

CMemDC::CMemDC(CDC* target)
    : m_hOldBitmap(nullptr), m_pTarget(target), m_rect(), m_bMemDC(!target->IsPrinting()) {
  if (m_bMemDC) {
    target->GetClipBox(&m_rect);
    CreateCompatibleDC(target);
    m_bitmap.CreateCompatibleBitmap(target, m_rect.right - m_rect.left, m_rect.bottom - m_rect.top);
    m_hOldBitmap = SelectObject(&m_bitmap);
    // Callers draw in the target's coordinates.
    SetWindowOrg(m_rect.left, m_rect.top);
  } else {
    m_bPrinting = target->m_bPrinting;
    m_hDC = target->m_hDC;
    m_hAttribDC = target->m_hAttribDC;
  }
}

CMemDC::~CMemDC() {
  if (m_bMemDC) {
    m_pTarget->BitBlt(m_rect.left, m_rect.top, m_rect.right - m_rect.left,
                      m_rect.bottom - m_rect.top, this, m_rect.left, m_rect.top, SRCCOPY);
    SelectObject(m_hOldBitmap);
  } else {
    // The handles are the target's: nothing of ours to release.
    m_hDC = m_hAttribDC = nullptr;
  }
}
