#include "Gdi.h"

#include "DC.h"

CFont::CFont() : m_hObject(nullptr) {}
CFont::~CFont() { DeleteObject(); }

BOOL CFont::CreateFontIndirectW(const LOGFONTW* font) {
  if (m_hObject || !font) return FALSE;
  m_hObject = ::CreateFontIndirectW(font);
  return m_hObject != nullptr;
}

BOOL CFont::DeleteObject() {
  if (!m_hObject) return FALSE;
  BOOL deleted = ::DeleteObject(m_hObject);
  m_hObject = nullptr;
  return deleted;
}

CBitmap::CBitmap() : m_hObject(nullptr) {}
CBitmap::~CBitmap() { DeleteObject(); }

BOOL CBitmap::CreateCompatibleBitmap(CDC* dc, int width, int height) {
  if (m_hObject || !dc) return FALSE;
  m_hObject = ::CreateCompatibleBitmap(dc->m_hDC, width, height);
  return m_hObject != nullptr;
}

BOOL CBitmap::LoadFromFile(const wchar_t* path) {
  if (m_hObject || !path) return FALSE;
  m_hObject = static_cast<HBITMAP>(
      ::LoadImageW(nullptr, path, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
  return m_hObject != nullptr;
}

BOOL CBitmap::Attach(HBITMAP bitmap) {
  if (m_hObject || !bitmap) return FALSE;
  m_hObject = bitmap;
  return TRUE;
}

BOOL CBitmap::DeleteObject() {
  if (!m_hObject) return FALSE;
  BOOL deleted = ::DeleteObject(m_hObject);
  m_hObject = nullptr;
  return deleted;
}

SIZE CBitmap::GetSize() const {
  SIZE size = {0, 0};
  BITMAP info = {};
  if (m_hObject && ::GetObjectW(m_hObject, sizeof(info), &info)) {
    size.cx = info.bmWidth;
    size.cy = info.bmHeight < 0 ? -info.bmHeight : info.bmHeight;
  }
  return size;
}
