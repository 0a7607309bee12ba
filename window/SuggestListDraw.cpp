// How the suggestion list looks: three columns per row (code, name, category) in the skin's
// fonts and colours, the characters that matched the typed text lit, the hover mark over the
// selection mark, and a logo with a prompt when there is nothing to list. Composed off-screen and
// copied to the window once per paint.
#include <windows.h>

#include <cstdint>

#include "HostServices.h"
#include "SuggestListWnd.h"
#include "frame/GlobalEnv.h"
#include "frame/RefPtr.h"
#include "frame/Scrollbar.h"
#include "table/MatchedCharacters.h"
#include "table/RowTexts.h"
#include "window/MemDC.h"

namespace {

const UINT ROW_TEXT_FORMAT = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;
const UINT EMPTY_TEXT_FORMAT = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
// Design widths at 96 dpi; the gap before the category stays unscaled.
const int COLUMN_INDENT = 5;
const int CODE_COLUMN_WIDTH = 90;
const int NAME_COLUMN_WIDTH = 150;
const int CATEGORY_GAP = 10;
// The logo sits this far (plus a row) above the middle of the list.
const int LOGO_LIFT = 15;

RECT Span(const RECT& row, int left, int right) {
  RECT r = row;
  r.left = left;
  r.right = right;
  return r;
}

bool IsLit(uint64_t lit, int i) { return i < 64 && ((lit >> i) & 1) != 0; }

// Draws text in rect as a plain DrawTextW does, with the characters whose bits are set in lit in
// litColor. The whole text is drawn once in each colour, clipped to the characters of that colour,
// so that every glyph stands exactly where the plain draw puts it.
void DrawLitText(CDC& dc, CLightCanvas& canvas, const CString& text, RECT rect, CFont* font,
                 COLORREF color, COLORREF litColor, uint64_t lit) {
  canvas.SetTextColor(color);
  const int length = text.GetLength();
  if (!lit || !litColor || length == 0) {
    canvas.DrawTextW(text, &rect, ROW_TEXT_FORMAT, font);
    return;
  }
  // Where each character begins, from one measurement of the text; the first run reaches left
  // past the column for an overhang.
  const int count = length < 64 ? length : 64;
  int ends[64];
  SIZE size;
  HGDIOBJ previous = font ? dc.SelectObject(font) : nullptr;
  bool measured = GetTextExtentExPointW(dc.m_hDC, text, count, 0, nullptr, ends, &size) != FALSE;
  if (previous) dc.SelectObject(previous);
  if (!measured) {
    canvas.DrawTextW(text, &rect, ROW_TEXT_FORMAT, font);
    return;
  }
  int begins[65];
  begins[0] = rect.left - (rect.bottom - rect.top);
  for (int i = 1; i <= count; ++i) begins[i] = rect.left + ends[i - 1];
  for (bool litPass : {false, true}) {
    const int saved = SaveDC(dc.m_hDC);
    for (int i = 0; i < count;) {
      int end = i + 1;
      while (end < count && IsLit(lit, end) == IsLit(lit, i)) ++end;
      const int right = end == count ? rect.right : begins[end];
      if (IsLit(lit, i) != litPass)
        ExcludeClipRect(dc.m_hDC, begins[i], rect.top, right, rect.bottom);
      i = end;
    }
    canvas.SetTextColor(litPass ? litColor : color);
    canvas.DrawTextW(text, &rect, ROW_TEXT_FORMAT, font);
    RestoreDC(dc.m_hDC, saved);
  }
}

}  // namespace

bool CSuggestListWnd::LoadPalette() {
  TRefPtr<CSWPalette> palette = TerminalPalette();
  if (!palette) return false;
  m_pNameFont = palette->GetFont(L"SuggestListWnd.Name", m_nDpi);
  m_pCodeFont = palette->GetFont(L"SuggestListWnd.Code", m_nDpi);
  m_pCategoryFont = palette->GetFont(L"SuggestListWnd.HighTypeName", m_nDpi);
  m_clrBG = palette->GetColor(L"SuggestListWnd.CLR.BG");
  m_clrBGSelected = palette->GetColor(L"SuggestListWnd.CLR.BGSelected");
  m_clrBGMouse = palette->GetColor(L"SuggestListWnd.CLR.BGMouse");
  m_clrSelectedText = palette->GetColor(L"SuggestListWnd.CLR.BGSelectedText");
  m_clrTextCommon = palette->GetColor(L"SuggestListWnd.CLR.TextCommon");
  m_clrTextCategory = palette->GetColor(L"SuggestListWnd.CLR.TextItemType");
  m_clrHighlight = palette->GetColor(L"SuggestListWnd.CLR.Highlight");
  m_clrHighlightSelected = palette->GetColor(L"SuggestListWnd.CLR.HighlightSelected");
  palette->GetBitmap(L"qx.logo", m_nDpi, &m_logo);
  if (m_pScrollBar) m_pScrollBar->SetScrollBackgroundColor(0, L"SuggestListWnd.CLR.BG");
  return true;
}

bool CSuggestListWnd::GetRowTexts(CString& category, CString& code, CString& name, int index,
                                  const std::vector<KeyboardItemInfo>& items) {
  std::wstring categoryText, codeText, nameText;
  if (!::GetRowTexts(m_pMappingTable, categoryText, codeText, nameText, index, items)) return false;
  category = categoryText.c_str();
  code = codeText.c_str();
  name = nameText.c_str();
  return true;
}

void CSuggestListWnd::DrawEmptyState(CLightCanvas& canvas, RECT middleRow, bool hasInput) {
  RECT client;
  GetClientRect(&client);
  int width = client.right - client.left;
  int height = client.bottom - client.top;
  RECT r = middleRow;
  int rowHeight = r.bottom - r.top;
  if (m_logo.m_pBitmap) {
    int w = SWDPI::Scale(m_nDpi, m_logo.m_nWidth);
    int g = SWDPI::Scale(m_nDpi, m_logo.m_nHeight);
    int x = (width - w) / 2;
    int y = (height - g) / 2 - rowHeight - LOGO_LIFT;
    canvas.DrawBitmap(x, y, w, g, m_logo.m_pBitmap, 0, false);
    r.top = y + g;
    r.bottom = r.top + rowHeight + LOGO_LIFT;
  }
  canvas.SetTextColor(m_clrTextCommon);
  canvas.DrawTextW(hasInput ? L"未找到匹配结果" : L"请输入代码/名称/简拼", &r, EMPTY_TEXT_FORMAT,
                   m_pNameFont);
}

void CSuggestListWnd::OnPaint() {
  CPaintDC paint(this);
  {
    RECT client;
    GetClientRect(&client);
    CMemDC dc(&paint, &m_backBuffer, SIZE{client.right, client.bottom});
    dc.SetBkMode(TRANSPARENT);
    CLightCanvas canvas(&dc, m_nDpi);
    canvas.SetBkMode(TRANSPARENT);

    const std::vector<KeyboardItemInfo>& items = ShownItems();
    int codeWidth = SWDPI::Scale(m_nDpi, CODE_COLUMN_WIDTH);
    int nameWidth = SWDPI::Scale(m_nDpi, NAME_COLUMN_WIDTH);
    int rows = m_nVisibleRows < SUGGEST_MAX_ROWS ? m_nVisibleRows : SUGGEST_MAX_ROWS;
    for (int s = 0; s < rows; ++s) {
      const RECT& row = m_rcRows[s];
      // Rows outside the paint would not reach the window: a moved selection repaints two.
      RECT painted;
      if (!IntersectRect(&painted, &row, &paint.m_ps.rcPaint)) continue;
      int n = m_nTop + s;
      // The hover mark wins over the selection mark.
      COLORREF background = s == m_nHover      ? m_clrBGMouse
                            : s == m_nSelected ? m_clrBGSelected
                                               : m_clrBG;
      canvas.DrawRect(&row, background, background);
      if (n >= m_nRowCount) {
        canvas.DrawRect(&row, m_clrBG, m_clrBG);
        continue;
      }
      int codeLeft = row.left + COLUMN_INDENT;
      RECT codeRect = Span(row, codeLeft, codeLeft + codeWidth);
      RECT nameRect = Span(row, codeLeft + codeWidth, codeLeft + codeWidth + nameWidth);
      RECT categoryRect = Span(row, codeLeft + codeWidth + nameWidth + CATEGORY_GAP, row.right);

      CString category, code, name;
      GetRowTexts(category, code, name, n, items);
      bool selected = s == m_nSelected;
      canvas.SetTextColor(selected ? m_clrSelectedText : m_clrTextCategory);
      canvas.DrawTextW(category, &categoryRect, ROW_TEXT_FORMAT, m_pCategoryFont);
      COLORREF text = selected ? m_clrSelectedText : m_clrTextCommon;
      COLORREF litText = selected ? m_clrHighlightSelected : m_clrHighlight;
      // Only search results say how they matched; the recent picks were not typed for.
      MatchedCharacters lit;
      if (m_bHasInput && litText && n < static_cast<int>(items.size()))
        lit = FindMatchedCharacters(m_szSearchText, items[static_cast<size_t>(n)]);
      DrawLitText(dc, canvas, code, codeRect, m_pCodeFont, text, litText, lit.code);
      DrawLitText(dc, canvas, name, nameRect, m_pNameFont, text, litText, lit.name);
    }
    if (m_nRowCount <= 0 && m_nVisibleRows <= SUGGEST_MAX_ROWS)
      DrawEmptyState(canvas, m_rcRows[m_nVisibleRows / 2], m_bHasInput != FALSE);
  }
}
