// The smart keyboard pop-up: a borderless top-most dialog with a caption, the input edit, an
// optional recent-search bar and the suggestion list. It runs the search on every change of the
// typed text, places itself next to the terminal's view or at a given point, and gives the focus
// back when it hides.
#pragma once

#include "frame/Messages.h"
#include "frame/Skin.h"
#include "wfc/BackBuffer.h"
#include "wfc/Dialog.h"
#include "wfc/String.h"

class CInputEdit;
class CSuggestListWnd;
class KeyboardInputMappingTable;

const UINT IDD_SMART_KEYBOARD = 11000;
const UINT IDC_SUGGEST_LIST = 1000;
const UINT IDC_INPUT_EDIT = 1001;

class CSmartKeyboardDlg : public CDialog {
 public:
  explicit CSmartKeyboardDlg(KeyboardInputMappingTable* table);
  ~CSmartKeyboardDlg() override;

  // Shows the pop-up (at the point, or at its default place) or hides it; 0 when the default
  // place cannot be found.
  BOOL ActivateOnExactPos(BOOL show, BOOL exactPos, int x, int y);
  // The window that gets the focus back when the pop-up hides.
  void SetPreviousFocus(HWND wnd) { m_hPrevFocus = wnd; }

 protected:
  int OnCreate(LPCREATESTRUCTW create);
  void OnDestroy();
  void OnSize(UINT type, int cx, int cy);
  BOOL OnEraseBkgnd(HDC dc);
  void OnNcPaint();
  BOOL OnNcActivate(BOOL active);
  void OnPaint();
  void OnKeyDown(UINT key, UINT repeat, UINT flags);
  void OnChar(UINT ch, UINT repeat, UINT flags);
  void OnMouseMove(UINT flags, POINT point);
  BOOL OnSetCursor(HWND wnd, UINT hitTest, UINT mouseMessage);
  void OnLButtonDown(UINT flags, POINT point);
  void OnClose();
  void OnSmartKeyboardHide();
  LRESULT OnDataCenterBroadcast(WPARAM code, LPARAM);
  LRESULT OnImeComposition(WCHAR lastChange, UINT changeFlags);
  LRESULT OnDpiChanged(UINT dpi, const RECT* suggested);
  // What the edit and the list report.
  void OnEditTextChanged(NMHDR* header, LRESULT* result);
  void OnEditKeyDown(NMHDR* header, LRESULT* result);
  void OnEditMouseWheel(NMHDR* header, LRESULT* result);
  void OnEditKillFocus(NMHDR* header, LRESULT* result);
  void OnListActivated(NMHDR* header, LRESULT* result);
  DECLARE_MESSAGE_MAP()

 private:
  // The tests read the layout and reach the children through it.
  friend class SmartKeyboardDlgTestPeer;

  BOOL LayoutList(BOOL historyBar);
  void CalcLayout();
  BOOL LoadPalette();
  void RepositionForDpi(RECT* suggested);
  void DrawInputArea(CLightCanvas* canvas);
  void OnTextChanged(const wchar_t* text);
  BOOL Hide(bool returnFocus);
  // Hands a key or character that reached the dialog to the edit, noting where the focus was.
  void ForwardToEdit(UINT message, UINT key, UINT repeat, UINT flags);
  void ApplyDpi(int dpi, const RECT* suggested);
  // The corner the pop-up opens against when the terminal gives no point: the command window's,
  // 5 pixels in, for view types 1 to 4, else the current view's; false without a view.
  bool DefaultAnchor(POINT* anchor) const;
  bool IsInsidePopup(HWND wnd) const;
  struct DialogMetrics Metrics() const;
  KeyboardInputMappingTable* MappingTable() const;

  CSuggestListWnd* m_pSuggestList;
  CInputEdit* m_pInputEdit;
  wchar_t m_szInputText[32];
  HWND m_hPrevFocus;
  CString m_strCaption;
  CString m_strHistoryLabel;
  CFont* m_pFont;
  COLORREF m_clrBG, m_clrCaptionBG, m_clrFrame, m_clrText, m_clrTip;
  RES_BMP_INFO m_bmpInputText, m_bmpCloseHover, m_bmpCloseNormal, m_bmpClearHover, m_bmpClearNormal;
  RECT m_rcClient, m_rcCaption, m_rcInputArea, m_rcClose, m_rcClear;
  BOOL m_bOverButton;
  BOOL m_bHistoryBar;
  int m_nHoverButton;
  int m_nDpi;
  BOOL m_bExactPos;
  int m_nBorder;
  int m_nEditHeight;
  POINT m_ptAnchor;
  CBackBuffer m_backBuffer;
};
