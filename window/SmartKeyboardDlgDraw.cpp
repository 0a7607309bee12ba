// How the pop-up looks: a one-pixel frame, the caption with its title and close button, the
// input field's bitmap behind the edit, and the history bar with its label and clear button,
// composed off-screen and copied to the window once per paint.
#include "SmartKeyboardDlg.h"

#include "DialogLayout.h"
#include "HostServices.h"
#include "MemDC.h"
#include "table/MappingTable.h"

namespace {

const int kCaptionTextInset = 5;

bool HasBitmap(const RES_BMP_INFO& info) { return info.m_pBitmap != nullptr; }

RECT Shrink(const RECT& r, int by) {
  RECT s = {r.left + by, r.top + by, r.right - by, r.bottom - by};
  return s;
}

}  // namespace

BOOL CSmartKeyboardDlg::OnEraseBkgnd(HDC) { return TRUE; }

// The pop-up has no frame, caption or scrollbar: its window is all client area, which OnPaint
// draws whole, frame line included. The default processing of the frame's paint and of its
// activation would fetch a window device context only to draw nothing, on every opening.
void CSmartKeyboardDlg::OnNcPaint() {}

// The activation itself (focus kept and given back) is WM_ACTIVATE's, left to the default
// processing; answering TRUE lets the pop-up lose the activation as before.
BOOL CSmartKeyboardDlg::OnNcActivate(BOOL) { return TRUE; }

void CSmartKeyboardDlg::OnPaint() {
  CPaintDC paint(this);
  if (RectIsEmpty(m_rcClient)) return;
  CMemDC dc(&paint, &m_backBuffer, SIZE{m_rcClient.right, m_rcClient.bottom});
  dc.FillSolidRect(&m_rcClient, m_clrFrame);
  RECT inner = Shrink(m_rcClient, 1);
  dc.FillSolidRect(&inner, m_clrBG);
  CLightCanvas canvas(&dc, m_nDpi);
  canvas.SetBkMode(TRANSPARENT);
  if (!RectIsEmpty(m_rcCaption)) {
    canvas.DrawRect(&m_rcCaption, m_clrCaptionBG, m_clrCaptionBG);
    canvas.SetTextColor(m_clrText);
    RECT text = m_rcCaption;
    text.left += kCaptionTextInset;
    canvas.DrawTextW(m_strCaption, &text, DT_VCENTER | DT_SINGLELINE, m_pFont);
    canvas.DrawLine(m_rcCaption.left, m_rcCaption.bottom - 1, m_clrFrame, 1, m_rcCaption.right,
                    m_rcCaption.bottom - 1);
    if (HasBitmap(m_bmpCloseHover) && HasBitmap(m_bmpCloseNormal)) {
      const RES_BMP_INFO& close = m_nHoverButton == 1 ? m_bmpCloseHover : m_bmpCloseNormal;
      canvas.DrawBitmap(m_rcClose.left, m_rcClose.top,
                        SWDPI::Scale(m_nDpi, m_bmpCloseHover.m_nWidth),
                        SWDPI::Scale(m_nDpi, m_bmpCloseHover.m_nHeight), close.m_pBitmap, 0, false);
    }
  }
  DrawInputArea(&canvas);
}

void CSmartKeyboardDlg::DrawInputArea(CLightCanvas* canvas) {
  if (RectIsEmpty(m_rcInputArea)) return;
  const RECT& area = m_rcInputArea;
  if (HasBitmap(m_bmpInputText))
    canvas->DrawBitmap(area.left + m_nBorder, area.top, area.right - area.left - 2 * m_nBorder,
                       SWDPI::Scale(m_nDpi, m_bmpInputText.m_nHeight), m_bmpInputText.m_pBitmap, 0,
                       false);
  KeyboardInputMappingTable* table = MappingTable();
  if (!m_bHistoryBar || !table || table->m_pTargetContainer || table->m_hTargetWnd) return;
  canvas->SetTextColor(m_clrTip);
  int top = area.top + m_nEditHeight + SWDPI::Scale(m_nDpi, 5);
  RECT label = {area.left + 5, top, area.right, top + SWDPI::Scale(m_nDpi, 30)};
  canvas->DrawTextW(m_strHistoryLabel, &label, DT_VCENTER | DT_SINGLELINE, m_pFont);
  if (HasBitmap(m_bmpClearHover) && HasBitmap(m_bmpClearNormal)) {
    const RES_BMP_INFO& clear = m_nHoverButton == 2 ? m_bmpClearHover : m_bmpClearNormal;
    canvas->DrawBitmap(m_rcClear.left, m_rcClear.top,
                       SWDPI::Scale(m_nDpi, m_bmpClearHover.m_nWidth),
                       SWDPI::Scale(m_nDpi, m_bmpClearHover.m_nHeight), clear.m_pBitmap, 0, false);
  }
}
