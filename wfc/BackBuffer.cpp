#include "BackBuffer.h"

CBackBuffer::CBackBuffer() : m_hOldBitmap(nullptr), m_nWidth(0), m_nHeight(0), m_nSaved(0) {}

CBackBuffer::~CBackBuffer() { Free(); }

CDC* CBackBuffer::Begin(CDC* target, int width, int height, const RECT& box) {
  if (width <= 0 || height <= 0) return nullptr;
  if (width > m_nWidth || height > m_nHeight) {
    // Grown to the largest size asked for, so that a window that shrinks and grows again does
    // not make its surface again.
    if (m_nWidth > width) width = m_nWidth;
    if (m_nHeight > height) height = m_nHeight;
    Free();
    if (!m_dc.CreateCompatibleDC(target)) return nullptr;
    if (!m_bitmap.CreateCompatibleBitmap(target, width, height)) {
      m_dc.DeleteDC();
      return nullptr;
    }
    m_hOldBitmap = m_dc.SelectObject(&m_bitmap);
    m_nWidth = width;
    m_nHeight = height;
  }
  m_nSaved = SaveDC(m_dc.m_hDC);
  PatBlt(m_dc.m_hDC, box.left, box.top, box.right - box.left, box.bottom - box.top, BLACKNESS);
  return &m_dc;
}

void CBackBuffer::End() {
  if (m_nSaved) RestoreDC(m_dc.m_hDC, m_nSaved);
  m_nSaved = 0;
}

void CBackBuffer::Free() {
  if (m_dc.m_hDC && m_hOldBitmap) m_dc.SelectObject(m_hOldBitmap);
  m_hOldBitmap = nullptr;
  m_dc.DeleteDC();
  m_bitmap.DeleteObject();
  m_nWidth = m_nHeight = 0;
  m_nSaved = 0;
}
