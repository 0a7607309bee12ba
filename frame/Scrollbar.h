// The terminal's scrollbar control; it reports user scrolling through a delegate.
#pragma once

#include "Export.h"
#include "platform/WinTypes.h"

class CWnd;

enum QX_SCROLL_MODE { QX_SCROLL_VERTICAL = 0, QX_SCROLL_HORIZONTAL = 1 };

class TS_API CQXScrollbarWnd {
 public:
  CQXScrollbarWnd();
  virtual ~CQXScrollbarWnd();
  BOOL CreateScrollWnd(const wchar_t* name, DWORD style, const RECT& rect, CWnd* parent,
                       QX_SCROLL_MODE mode);
  int GetScrollWndWidthOrHeight();
  void OnChangeScrollDpi(int dpi);
  void SetPageSize(int size);
  void SetRowNumber(int rows);
  void SetThumbLength(int length);
  void UpdateThumbPosition(int position);
  void SetScrollBackgroundColor(COLORREF color, const wchar_t* key);
  void ReleaseDelegate();
};
