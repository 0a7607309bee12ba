// The smart keyboard pop-up: a borderless top-most dialog with a caption, the input edit, an
// optional recent-search bar and the suggestion list. It runs the search on every change of the
// typed text, places itself next to the terminal's view or at a given point, and gives the focus
// back when it hides.
#pragma once

#include "frame/Messages.h"
#include "frame/Skin.h"
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
  BOOL LayoutList(BOOL historyBar);
  void CalcLayout();
  BOOL LoadPalette();
  void RepositionForDpi(RECT* suggested);
  void DrawInputArea(CLightCanvas* canvas);

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

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override;

  LRESULT OnCreate(WPARAM wParam, LPARAM lParam);
  LRESULT OnDestroy(WPARAM wParam, LPARAM lParam);
  LRESULT OnSize(WPARAM wParam, LPARAM lParam);
  LRESULT OnEraseBkgnd(WPARAM wParam, LPARAM lParam);
  LRESULT OnPaint(WPARAM wParam, LPARAM lParam);
  LRESULT OnKeyDown(WPARAM wParam, LPARAM lParam);
  LRESULT OnChar(WPARAM wParam, LPARAM lParam);
  LRESULT OnMouseMove(WPARAM wParam, LPARAM lParam);
  LRESULT OnSetCursor(WPARAM wParam, LPARAM lParam);
  LRESULT OnLButtonDown(WPARAM wParam, LPARAM lParam);
  LRESULT OnClose(WPARAM wParam, LPARAM lParam);
  LRESULT OnSmartKeyboardHide(WPARAM wParam, LPARAM lParam);
  LRESULT OnDataCenterBroadcast(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

 private:
  void OnTextChanged(const wchar_t* text);
  BOOL Hide(bool returnFocus);
  void ForwardToEdit(UINT message, WPARAM wParam, LPARAM lParam);
  void ApplyDpi(int dpi, const RECT* suggested);
  bool IsInsidePopup(HWND wnd) const;
  struct DialogMetrics Metrics() const;
  KeyboardInputMappingTable* MappingTable() const;
};
