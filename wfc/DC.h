// Device contexts: CDC wraps a handle; CPaintDC brackets WM_PAINT, CClientDC a window's client
// area.
#pragma once

#include <windows.h>

#include "WfcExport.h"

class CWnd;
class CFont;
class CBitmap;

class WFC_API CDC {
 public:
  CDC();
  virtual ~CDC();  // deletes a context made by CreateCompatibleDC
  CDC(const CDC&) = delete;
  CDC& operator=(const CDC&) = delete;

  HDC m_hDC;        // where drawing goes
  HDC m_hAttribDC;  // what attribute queries read
  BOOL m_bPrinting;

  operator HDC() const { return m_hDC; }
  HDC GetSafeHdc() const { return m_hDC; }
  BOOL IsPrinting() const { return m_bPrinting; }

  BOOL CreateCompatibleDC(CDC* dc);
  BOOL DeleteDC();

  HGDIOBJ SelectObject(HGDIOBJ object);
  HGDIOBJ SelectObject(CFont* font);
  HGDIOBJ SelectObject(CBitmap* bitmap);
  int SetBkMode(int mode);
  COLORREF SetTextColor(COLORREF color);
  int SetROP2(int mode);
  POINT SetWindowOrg(int x, int y);
  int GetClipBox(RECT* rect) const;
  int GetDeviceCaps(int index) const;

  BOOL BitBlt(int x, int y, int width, int height, CDC* source, int xSource, int ySource,
              DWORD rop);
  void FillSolidRect(const RECT* rect, COLORREF color);
  BOOL TextOutW(int x, int y, const wchar_t* text, int length);
  SIZE GetTextExtent(const wchar_t* text, int length) const;
  int DrawTextW(const wchar_t* text, int length, RECT* rect, UINT format);
  BOOL MoveTo(int x, int y);
  BOOL LineTo(int x, int y);

 protected:
  BOOL m_bOwnsDC;
};

class WFC_API CPaintDC : public CDC {
 public:
  explicit CPaintDC(CWnd* wnd);
  ~CPaintDC() override;
  PAINTSTRUCT m_ps;

 private:
  HWND m_hWnd;
};

class WFC_API CClientDC : public CDC {
 public:
  explicit CClientDC(CWnd* wnd);
  ~CClientDC() override;

 private:
  HWND m_hWnd;
};
