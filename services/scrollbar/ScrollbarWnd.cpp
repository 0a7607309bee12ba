// The scrollbar control (Windows).
#include <windows.h>

#include <algorithm>

#include "ScrollbarGeometry.h"
#include "frame/GlobalEnv.h"
#include "frame/Scrollbar.h"
#include "frame/Skin.h"
#include "wfc/DC.h"
#include "wfc/Gdi.h"

namespace {

const int kThickness = 9;       // across the axis at 96 dpi
const int kArrowLength = 14;    // each arrow button along the axis at 96 dpi
const int kMinThumb = 10;       // at 96 dpi
const UINT kFirstRepeat = 350;  // ms before a held button starts repeating
const UINT kRepeat = 50;        // ms between repeats

// Colours when there is no palette: a quiet grey bar.
const COLORREF kDefaultBackground = RGB(240, 240, 240);
const COLORREF kDefaultTrack = RGB(232, 232, 232);
const COLORREF kDefaultThumb = RGB(192, 192, 192);
const COLORREF kDefaultThumbHover = RGB(160, 160, 160);
const COLORREF kDefaultArrow = RGB(128, 128, 128);

struct Colors {
  COLORREF background, track, thumb, thumbHover, arrow;
};

void Fill(HDC dc, int left, int top, int right, int bottom, COLORREF color) {
  if (right <= left || bottom <= top) return;
  RECT rect = {left, top, right, bottom};
  HBRUSH brush = CreateSolidBrush(color);
  FillRect(dc, &rect, brush);
  DeleteObject(brush);
}

}  // namespace

BEGIN_MESSAGE_MAP(CQXScrollbarWnd, CWnd)
ON_WM_PAINT()
ON_WM_ERASEBKGND()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONDBLCLK()
ON_WM_LBUTTONUP()
ON_WM_MOUSEMOVE()
ON_WM_MOUSELEAVE()
ON_WM_TIMER()
ON_WM_CAPTURECHANGED()
END_MESSAGE_MAP()

CQXScrollbarWnd::CQXScrollbarWnd()
    : m_eMode(QX_SCROLL_VERTICAL),
      m_nDpi(96),
      m_nRows(0),
      m_nPage(0),
      m_nThumbLength(0),
      m_nTopRow(0),
      m_clrBackground(0),
      m_szBackgroundKey{},
      m_bBackgroundSet(false),
      m_nPressedPart(ts::SCROLL_PART_NONE),
      m_nHoverPart(ts::SCROLL_PART_NONE),
      m_bDragging(false),
      m_nDragGrab(0),
      m_nDragOffset(0),
      m_nLastReportedTop(0),
      m_bRepeating(false),
      m_bTrackingLeave(false),
      m_ptLastPoint() {}

CQXScrollbarWnd::~CQXScrollbarWnd() { ReleaseDelegate(); }

BOOL CQXScrollbarWnd::CreateScrollWnd(const wchar_t* name, DWORD style, const RECT& rect,
                                      CWnd* parent, QX_SCROLL_MODE mode) {
  m_eMode = mode;
  m_nDpi = SWDPI::GetDPIofMonitorFromWindow(parent ? parent->GetSafeHwnd() : nullptr);
  if (parent) style |= WS_CHILD;
  return CreateEx(0, nullptr, name, style, rect, parent, 0);
}

int CQXScrollbarWnd::GetScrollWndWidthOrHeight() { return SWDPI::Scale(m_nDpi, kThickness); }

void CQXScrollbarWnd::OnChangeScrollDpi(int dpi) {
  if (dpi <= 0 || dpi == m_nDpi) return;
  m_nDpi = dpi;
  if (m_hWnd) Invalidate(FALSE);
}

// The owner sets the numbers again on every change of its content: the bar is painted again only
// when one of them changes.
void CQXScrollbarWnd::SetAndRepaint(int* field, int value) {
  if (*field == value) return;
  *field = value;
  if (m_hWnd) Invalidate(FALSE);
}

void CQXScrollbarWnd::SetPageSize(int size) { SetAndRepaint(&m_nPage, std::max(0, size)); }

void CQXScrollbarWnd::SetRowNumber(int rows) { SetAndRepaint(&m_nRows, std::max(0, rows)); }

void CQXScrollbarWnd::SetThumbLength(int length) {
  SetAndRepaint(&m_nThumbLength, std::max(0, length));
}

void CQXScrollbarWnd::UpdateThumbPosition(int position) {
  SetAndRepaint(&m_nTopRow, std::max(0, position));
}

void CQXScrollbarWnd::SetScrollBackgroundColor(COLORREF color, const wchar_t* key) {
  m_clrBackground = color;
  m_szBackgroundKey[0] = 0;
  if (key) lstrcpynW(m_szBackgroundKey, key, ARRAYSIZE(m_szBackgroundKey));
  m_bBackgroundSet = true;
  if (m_hWnd) Invalidate(FALSE);
}

void CQXScrollbarWnd::ReleaseDelegate() { m_delegateScrollEvent.Clear(); }

// The geometry of the bar as it is now: rows, page and thumb as the owner set them, the length
// of the client area along the axis, sizes at the bar's dpi.
static ts::ScrollbarGeometry GeometryOf(HWND wnd, QX_SCROLL_MODE mode, int dpi, int rows, int page,
                                        int thumbLength) {
  RECT client = {0, 0, 0, 0};
  if (wnd) GetClientRect(wnd, &client);
  ts::ScrollbarGeometry geometry;
  geometry.length = mode == QX_SCROLL_HORIZONTAL ? client.right : client.bottom;
  geometry.arrow = SWDPI::Scale(dpi, kArrowLength);
  geometry.minThumb = SWDPI::Scale(dpi, kMinThumb);
  geometry.thumbLength = thumbLength;
  geometry.rows = rows;
  geometry.page = page;
  return geometry;
}

int CQXScrollbarWnd::AxisPosition(POINT point) const {
  return m_eMode == QX_SCROLL_HORIZONTAL ? point.x : point.y;
}

int CQXScrollbarWnd::ThumbOffset() const {
  if (m_bDragging) return m_nDragOffset;
  return GeometryOf(m_hWnd, m_eMode, m_nDpi, m_nRows, m_nPage, m_nThumbLength)
      .ThumbOffsetForTop(m_nTopRow);
}

int CQXScrollbarWnd::PartAt(POINT point) const {
  RECT client;
  ::GetClientRect(m_hWnd, &client);
  const int across = m_eMode == QX_SCROLL_HORIZONTAL ? point.y : point.x;
  const int thickness = m_eMode == QX_SCROLL_HORIZONTAL ? client.bottom : client.right;
  if (across < 0 || across >= thickness) return ts::SCROLL_PART_NONE;
  return GeometryOf(m_hWnd, m_eMode, m_nDpi, m_nRows, m_nPage, m_nThumbLength)
      .HitTest(AxisPosition(point), ThumbOffset());
}

void CQXScrollbarWnd::Fire(int part) {
  int event = 0;
  int detail = 0;
  switch (part) {
    case ts::SCROLL_PART_ARROW_START:
      event = SCROLL_EVENT_TOWARDS_START;
      detail = SCROLL_DETAIL_ROW;
      break;
    case ts::SCROLL_PART_PAGE_START:
      event = SCROLL_EVENT_TOWARDS_START;
      detail = SCROLL_DETAIL_PAGE;
      break;
    case ts::SCROLL_PART_PAGE_END:
      event = SCROLL_EVENT_TOWARDS_END;
      detail = SCROLL_DETAIL_PAGE;
      break;
    case ts::SCROLL_PART_ARROW_END:
      event = SCROLL_EVENT_TOWARDS_END;
      detail = SCROLL_DETAIL_ROW;
      break;
    default:
      return;
  }
  m_delegateScrollEvent.Invoke(this, 0, event, detail);
}

void CQXScrollbarWnd::OnLButtonDown(UINT, POINT point) {
  m_ptLastPoint = point;
  const int part = PartAt(point);
  if (part == ts::SCROLL_PART_NONE) return;
  SetCapture(m_hWnd);
  m_nPressedPart = part;
  if (part == ts::SCROLL_PART_THUMB) {
    const ts::ScrollbarGeometry geometry =
        GeometryOf(m_hWnd, m_eMode, m_nDpi, m_nRows, m_nPage, m_nThumbLength);
    m_nDragOffset = geometry.ThumbOffsetForTop(m_nTopRow);
    m_nDragGrab = AxisPosition(point) - geometry.TrackStart() - m_nDragOffset;
    m_nLastReportedTop = geometry.TopForThumbOffset(m_nDragOffset);
    m_bDragging = true;
  } else {
    // One step now, then more while the button stays down over the same part.
    m_bRepeating = false;
    SetTimer(TIMER_REPEAT, kFirstRepeat);
    Fire(part);
  }
  if (m_hWnd) Invalidate(FALSE);
}

void CQXScrollbarWnd::OnLButtonDblClk(UINT flags, POINT point) { OnLButtonDown(flags, point); }

void CQXScrollbarWnd::OnLButtonUp(UINT, POINT point) {
  m_ptLastPoint = point;
  if (GetCapture() == m_hWnd) ReleaseCapture();  // WM_CAPTURECHANGED ends the press
  EndPress();
}

void CQXScrollbarWnd::EndPress() {
  if (m_nPressedPart == ts::SCROLL_PART_NONE) return;
  m_nPressedPart = ts::SCROLL_PART_NONE;
  m_bDragging = false;  // the thumb snaps to the owner's top row
  m_bRepeating = false;
  KillTimer(TIMER_REPEAT);
  Invalidate(FALSE);
}

void CQXScrollbarWnd::OnCaptureChanged(HWND) { EndPress(); }

void CQXScrollbarWnd::OnMouseMove(UINT, POINT point) {
  m_ptLastPoint = point;
  if (!m_bTrackingLeave) {
    TRACKMOUSEEVENT track = {sizeof(track), TME_LEAVE, m_hWnd, 0};
    m_bTrackingLeave = TrackMouseEvent(&track) != FALSE;
  }
  if (m_bDragging) {
    const ts::ScrollbarGeometry geometry =
        GeometryOf(m_hWnd, m_eMode, m_nDpi, m_nRows, m_nPage, m_nThumbLength);
    const int offset = geometry.DragOffset(AxisPosition(point), m_nDragGrab);
    if (offset != m_nDragOffset) {
      m_nDragOffset = offset;
      Invalidate(FALSE);
    }
    const int top = geometry.TopForThumbOffset(offset);
    if (top != m_nLastReportedTop) {
      m_nLastReportedTop = top;
      m_delegateScrollEvent.Invoke(this, 0, SCROLL_EVENT_THUMB, top);
    }
    return;
  }
  const int part = PartAt(point);
  if (part != m_nHoverPart) {
    m_nHoverPart = part;
    Invalidate(FALSE);
  }
}

void CQXScrollbarWnd::OnMouseLeave() {
  m_bTrackingLeave = false;
  if (m_nHoverPart != ts::SCROLL_PART_NONE) {
    m_nHoverPart = ts::SCROLL_PART_NONE;
    Invalidate(FALSE);
  }
}

void CQXScrollbarWnd::OnTimer(UINT_PTR id) {
  if (id != TIMER_REPEAT) {
    Default();
    return;
  }
  if (m_nPressedPart == ts::SCROLL_PART_NONE || m_bDragging) {
    KillTimer(TIMER_REPEAT);
    return;
  }
  if (!m_bRepeating) {
    m_bRepeating = true;
    SetTimer(TIMER_REPEAT, kRepeat);
  }
  // Paging stops once the thumb has reached the pointer; an arrow pauses while the pointer is
  // off it.
  if (PartAt(m_ptLastPoint) == m_nPressedPart) Fire(m_nPressedPart);
}

BOOL CQXScrollbarWnd::OnEraseBkgnd(HDC) { return TRUE; }

void CQXScrollbarWnd::OnPaint() {
  CPaintDC paint(this);
  RECT client;
  GetClientRect(&client);
  if (client.right <= 0 || client.bottom <= 0) return;
  // Drawn off screen and copied in one go: no flicker while the thumb is dragged. The surface
  // is kept for the next paint.
  CDC* memory = m_backBuffer.Begin(&paint, client.right, client.bottom, client);
  if (!memory) {
    Paint(paint.m_hDC, client);
    return;
  }
  Paint(memory->m_hDC, client);
  BitBlt(paint.m_hDC, 0, 0, client.right, client.bottom, memory->m_hDC, 0, 0, SRCCOPY);
  m_backBuffer.End();
}

void CQXScrollbarWnd::Paint(HDC dc, const RECT& client) {
  Colors colors = {kDefaultBackground, kDefaultTrack, kDefaultThumb, kDefaultThumbHover,
                   kDefaultArrow};
  if (m_bBackgroundSet && !m_szBackgroundKey[0]) colors.background = m_clrBackground;
  TRefPtr<CGlobalEnv> env = CGlobalEnv::GetGlobalEnv();
  CSWPalette* palette = env ? dynamic_cast<CSWPalette*>(env->GetPalette()) : nullptr;
  if (palette) {
    palette->AddRef();
    if (!m_bBackgroundSet)
      colors.background = palette->GetColor(L"ScrollBar.CLR.BG");
    else if (m_szBackgroundKey[0])
      colors.background = palette->GetColor(m_szBackgroundKey);
    colors.track = palette->GetColor(L"ScrollBar.CLR.Track");
    colors.thumb = palette->GetColor(L"ScrollBar.CLR.Thumb");
    colors.thumbHover = palette->GetColor(L"ScrollBar.CLR.ThumbHover");
    colors.arrow = palette->GetColor(L"ScrollBar.CLR.Arrow");
    palette->Release();
  }

  const bool horizontal = m_eMode == QX_SCROLL_HORIZONTAL;
  const int thickness = horizontal ? client.bottom : client.right;
  const ts::ScrollbarGeometry geometry =
      GeometryOf(m_hWnd, m_eMode, m_nDpi, m_nRows, m_nPage, m_nThumbLength);
  // Draws a band [start, end) along the axis and [crossStart, crossEnd) across it.
  auto band = [&](int start, int end, int crossStart, int crossEnd, COLORREF color) {
    if (horizontal)
      Fill(dc, start, crossStart, end, crossEnd, color);
    else
      Fill(dc, crossStart, start, crossEnd, end, color);
  };

  Fill(dc, 0, 0, client.right, client.bottom, colors.background);
  const int trackStart = geometry.TrackStart();
  const int trackEnd = trackStart + geometry.TrackLength();
  band(trackStart, trackEnd, 0, thickness, colors.track);

  if (geometry.HasThumb()) {
    const int inset = thickness >= 5 ? SWDPI::Scale(m_nDpi, 1) : 0;
    const int start = trackStart + ThumbOffset();
    const int end = start + geometry.ThumbLength();
    const bool hot = m_bDragging || m_nHoverPart == ts::SCROLL_PART_THUMB;
    const COLORREF color = hot ? colors.thumbHover : colors.thumb;
    // Corners cut by a step: a softly rounded thumb that stays crisp at any scale.
    const int step = std::max(1, SWDPI::Scale(m_nDpi, 1));
    if (end - start > 2 * step && thickness - 2 * inset > 2 * step) {
      band(start, end, inset + step, thickness - inset - step, color);
      band(start + step, end - step, inset, thickness - inset, color);
    } else {
      band(start, end, inset, thickness - inset, color);
    }
  }

  // Arrow glyphs: small filled triangles centred in their buttons, pointing away from the track.
  const int arrowLength = geometry.ArrowLength();
  if (arrowLength <= 0) return;
  const int height = std::max(1, std::min(SWDPI::Scale(m_nDpi, 4), (thickness + 1) / 2));
  for (int end = 0; end < 2; ++end) {
    const int part = end == 0 ? ts::SCROLL_PART_ARROW_START : ts::SCROLL_PART_ARROW_END;
    const bool hot =
        m_nPressedPart == part || (m_nPressedPart == ts::SCROLL_PART_NONE && m_nHoverPart == part);
    const COLORREF color = hot ? colors.thumbHover : colors.arrow;
    const int buttonStart = end == 0 ? 0 : geometry.length - arrowLength;
    const int tipStart = buttonStart + (arrowLength - height) / 2;
    const int centre = thickness / 2;
    for (int row = 0; row < height; ++row) {
      // Row 0 is the tip: one pixel (two on an even thickness), widening by one on each side.
      const int along = end == 0 ? tipStart + row : tipStart + height - 1 - row;
      const int halfWidth = row;
      const int crossStart = centre - halfWidth - ((thickness % 2 == 0) ? 1 : 0);
      const int crossEnd = centre + halfWidth + 1;
      band(along, along + 1, std::max(0, crossStart), std::min(thickness, crossEnd), color);
    }
  }
}
