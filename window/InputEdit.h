// CInputEdit: the one-line field at the top of the smart keyboard pop-up. Not the system's edit
// control: it keeps its own text and caret, draws both itself, accepts only what can occur in a
// security code, a pinyin abbreviation or a command, folds everything to upper case and takes
// finished input-method results. Every change, every key meant for the suggestion list, every
// wheel turn and the loss of focus goes to the parent as WM_NOTIFY; the edit never searches.
#pragma once

#include <windows.h>

#include <cstdint>

#include "wfc/BackBuffer.h"
#include "wfc/Wnd.h"
#include "window/AccessibleLink.h"

class CDC;
class CFont;

// WM_NOTIFY codes of the edit; the record's data points to the payload named for each.
const UINT IEN_TEXTCHANGED = 0x7400;  // data: the edit's text buffer (const wchar_t*)
const UINT IEN_KEYDOWN = 0x0100;      // data: InputEditKeyInfo
const UINT IEN_MOUSEWHEEL = 0x020A;   // data: InputEditWheelInfo
const UINT IEN_KILLFOCUS = 0x0008;    // data: the window that gains the focus (HWND), maybe null

// Built on the stack for one synchronous send: read it during the notification only.
struct InputEditNotify {
  NMHDR hdr;
  void* data;

  // The record that a notification header of the edit begins.
  static const InputEditNotify* From(const NMHDR* header) {
    return reinterpret_cast<const InputEditNotify*>(header);
  }
};

struct InputEditKeyInfo {
  uint32_t m_nVirtKey;  // the key message's wParam
  int32_t m_nRepCnt;    // low word of its lParam, sign-extended
  int32_t m_nFlags;     // high word of its lParam, sign-extended
};
static_assert(sizeof(InputEditKeyInfo) == 12, "three 32-bit fields");

struct InputEditWheelInfo {
  uint32_t m_nFlags;    // key state: low word of the wheel message's wParam
  int16_t m_nDelta;     // high word of wParam; negative when turned towards the user
  int16_t m_nReserved;  // always 0
  int32_t m_nX;         // screen point of the wheel message, sign-extended
  int32_t m_nY;
};
static_assert(sizeof(InputEditWheelInfo) == 16, "packed as 32+16+16+32+32 bits");

class CInputEdit : public CWnd {
 public:
  // Longest text the edit holds, in characters.
  static const int MAX_TEXT_LENGTH = 13;
  // The caret blinks with this timer.
  static const UINT_PTR CARET_TIMER_ID = 100;
  static const UINT CARET_BLINK_MS = 600;

  CInputEdit();

  // Empties the text and puts the caret at 0; notifies nobody.
  void ClearText();
  // Fetches colours and the font from the palette at the current dpi; false without a palette.
  bool LoadPalette();
  // One accepted character: the time rules and the length limit apply, then it is inserted at
  // the caret and the parent is told.
  void InsertChar(wchar_t ch);
  const wchar_t* GetText() const { return m_szText; }
  int GetCaret() const { return m_nCaret; }

 protected:
  int OnCreate(LPCREATESTRUCTW create);
  void OnDestroy();
  void OnSize(UINT type, int cx, int cy);
  void OnPaint();
  void OnNcPaint() {}
  void OnTimer(UINT_PTR id);
  void OnKeyDown(UINT key, UINT repeat, UINT flags);
  BOOL OnMouseWheel(UINT flags, short delta, POINT screenPoint);
  void OnKillFocus(HWND gaining);
  BOOL OnSetCursor(HWND wnd, UINT hitTest, UINT mouseMessage);
  void OnChar(UINT ch, UINT repeat, UINT flags);
  LRESULT OnImeComposition(WCHAR lastChange, UINT changeFlags);
  LRESULT OnDpiChanged(UINT dpi, const RECT* suggested);
  LRESULT OnDataCenterBroadcast(WPARAM code, LPARAM);
  // Screen readers' way in (InputEditAccessible.cpp).
  LRESULT OnGetObject(DWORD flags, LONG objectId);

  DECLARE_MESSAGE_MAP()

 private:
  int TextLength() const;
  // Sends one WM_NOTIFY to the parent; silently nothing without one.
  void Notify(UINT code, void* data);
  void NotifyTextChanged();
  // Tells screen readers that the typed text changed.
  void AnnounceValueChange();
  void NotifyKey(UINT key, UINT repeat, UINT flags);
  void FocusIfVisible();
  // The two XOR lines of the caret on dc, whose font is already selected.
  void DrawCaret(CDC* dc, const RECT& client);

  wchar_t m_szText[32];
  int32_t m_nCaret;
  bool m_bCaretPhase;
  CFont* m_pFont;  // owned by the palette
  COLORREF m_clrCaret;
  COLORREF m_clrBG;
  COLORREF m_clrText;
  int32_t m_nLineWidth;
  int32_t m_nDpi;
  CBackBuffer m_backBuffer;
  class CAccessible;
  CAccessibleLink m_accessible;
};
