// The terminal's scrollbar control: a custom-drawn child window with arrow buttons at both ends,
// page areas and a draggable thumb, in the skin's colours. It reports user scrolling through a
// delegate; the owner keeps the position and answers with UpdateThumbPosition. Windows only.
//
// Events, through m_delegateScrollEvent.Invoke(bar, 0, event, detail):
//   2 towards the start, 3 towards the end: detail 0 for an arrow (one row), 1 for a page area;
//     repeated while the button is held over the same part;
//   4 the thumb was dragged: detail is the new top row.
#pragma once

#include "Export.h"
#include "platform/WinTypes.h"
#include "wfc/BackBuffer.h"
#include "wfc/Wnd.h"
#include "window/QXDelegate.h"

enum QX_SCROLL_MODE { QX_SCROLL_VERTICAL = 0, QX_SCROLL_HORIZONTAL = 1 };

class TS_API CQXScrollbarWnd : public CWnd {
 public:
  enum {
    SCROLL_EVENT_TOWARDS_START = 2,
    SCROLL_EVENT_TOWARDS_END = 3,
    SCROLL_EVENT_THUMB = 4,
  };
  enum { SCROLL_DETAIL_ROW = 0, SCROLL_DETAIL_PAGE = 1 };
  enum { TIMER_REPEAT = 1 };

  CQXScrollbarWnd();
  ~CQXScrollbarWnd() override;

  // Creates the window as a child of parent (WS_CHILD is added) at the DPI of parent's monitor.
  BOOL CreateScrollWnd(const wchar_t* name, DWORD style, const RECT& rect, CWnd* parent,
                       QX_SCROLL_MODE mode);
  // Thickness across the axis: 9 pixels at 96 dpi, scaled.
  int GetScrollWndWidthOrHeight();
  void OnChangeScrollDpi(int dpi);
  void SetPageSize(int size);
  void SetRowNumber(int rows);
  // Thumb length in pixels, set by the owner; 0 makes it proportional to page ÷ rows.
  void SetThumbLength(int length);
  // The top row the owner shows; the thumb is placed for it.
  void UpdateThumbPosition(int position);
  // Background of the bar: with a non-empty key the palette's colour of that key (looked up at
  // every paint, so skin changes show), else color.
  void SetScrollBackgroundColor(COLORREF color, const wchar_t* key);
  // Drops every callback: nothing is called after this.
  void ReleaseDelegate();

  QXDelegate::delegate<int(CQXScrollbarWnd*, int, int, int)> m_delegateScrollEvent;

 protected:
  void OnPaint();
  BOOL OnEraseBkgnd(HDC dc);
  void OnLButtonDown(UINT flags, POINT point);
  // A second click in quick succession is one more press.
  void OnLButtonDblClk(UINT flags, POINT point);
  void OnLButtonUp(UINT flags, POINT point);
  void OnMouseMove(UINT flags, POINT point);
  void OnMouseLeave();
  void OnTimer(UINT_PTR id);
  void OnCaptureChanged(HWND gaining);
  DECLARE_MESSAGE_MAP()

 private:
  int PartAt(POINT point) const;
  int AxisPosition(POINT point) const;
  int ThumbOffset() const;
  void Fire(int part);
  void EndPress();
  void Paint(HDC dc, const RECT& client);
  void SetAndRepaint(int* field, int value);

  QX_SCROLL_MODE m_eMode;
  int m_nDpi;
  int m_nRows;
  int m_nPage;
  int m_nThumbLength;
  int m_nTopRow;
  COLORREF m_clrBackground;
  wchar_t m_szBackgroundKey[96];  // empty: m_clrBackground; both unset: "ScrollBar.CLR.BG"
  bool m_bBackgroundSet;
  int m_nPressedPart;  // the part held down, 0 when none
  int m_nHoverPart;
  bool m_bDragging;
  int m_nDragGrab;         // pointer offset from the thumb's start when the drag began
  int m_nDragOffset;       // thumb offset during the drag
  int m_nLastReportedTop;  // top row of the last drag event
  bool m_bRepeating;       // the repeat timer runs at its fast period
  bool m_bTrackingLeave;   // WM_MOUSELEAVE is requested
  POINT m_ptLastPoint;     // last pointer position seen, client coordinates
  CBackBuffer m_backBuffer;
};
