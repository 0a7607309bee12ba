// What the demo's windows draw with: filled boxes, one-line texts and the title of a pane.
#pragma once

#include <windows.h>

#include <string>

class CDemoTerminal;

const UINT kDemoTextFlags = DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX;

void Fill(HDC dc, const RECT& rect, COLORREF color);
// A filled rectangle with a one-pixel border.
void Box(HDC dc, const RECT& rect, COLORREF fill, COLORREF border);
void Text(HDC dc, const std::wstring& text, RECT rect, HFONT font, COLORREF color,
          UINT flags = kDemoTextFlags);
int TextWidth(HDC dc, const std::wstring& text, HFONT font);
RECT Rect(int left, int top, int right, int bottom);
// Title and subtitle at the top of a pane; returns the pane's content top.
int PaneHeader(HDC dc, CDemoTerminal* t, const RECT& client, const std::wstring& title,
               const std::wstring& subtitle);
