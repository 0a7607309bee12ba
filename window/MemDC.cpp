#include "MemDC.h"

CMemDC::CMemDC(CDC* target)
    : m_hOldBitmap(nullptr),
      m_pTarget(target),
      m_pBuffer(nullptr),
      m_rect(),
      m_bMemDC(!target->IsPrinting()) {
  BeginOwnBitmap();
}

CMemDC::CMemDC(CDC* target, CBackBuffer* buffer, SIZE client)
    : m_hOldBitmap(nullptr),
      m_pTarget(target),
      m_pBuffer(nullptr),
      m_rect(),
      m_bMemDC(!target->IsPrinting()) {
  if (m_bMemDC && buffer) {
    target->GetClipBox(&m_rect);
    // The buffer covers the client area and whatever the clip box reaches beyond it.
    int width = client.cx > m_rect.right ? client.cx : m_rect.right;
    int height = client.cy > m_rect.bottom ? client.cy : m_rect.bottom;
    CDC* surface = m_rect.left >= 0 && m_rect.top >= 0 && m_rect.right > m_rect.left &&
                           m_rect.bottom > m_rect.top
                       ? buffer->Begin(target, width, height, m_rect)
                       : nullptr;
    if (surface) {
      m_pBuffer = buffer;
      m_hDC = m_hAttribDC = surface->m_hDC;
      return;
    }
  }
  // Printing, an empty clip box or one outside the client area, or no surface.
  BeginOwnBitmap();
}

void CMemDC::BeginOwnBitmap() {
  CDC* target = m_pTarget;
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
  if (m_bMemDC)
    m_pTarget->BitBlt(m_rect.left, m_rect.top, m_rect.right - m_rect.left,
                      m_rect.bottom - m_rect.top, this, m_rect.left, m_rect.top, SRCCOPY);
  if (m_pBuffer) {
    m_pBuffer->End();
    // The context is the buffer's.
    m_hDC = m_hAttribDC = nullptr;
  } else if (m_bMemDC) {
    SelectObject(m_hOldBitmap);
  } else {
    // The handles are the target's: nothing of ours to release.
    m_hDC = m_hAttribDC = nullptr;
  }
}
