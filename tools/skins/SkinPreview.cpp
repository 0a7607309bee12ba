// skin-preview: shows one skin the way the smart keyboard's pop-up uses it, for looking at the
// artwork and colours: caption with close buttons, input field, history bar with clear buttons,
// list rows (normal, selected, hovered), the scrollbar control, and the empty-state logo.
//
//   skin-preview.exe SKIN_FOLDER [X Y [SECONDS]]
//
// The window stays up for SECONDS (default 30), or until it is clicked.
#include <windows.h>

#include <cwchar>
#include <string>

#include "frame/RefPtr.h"
#include "frame/Scrollbar.h"
#include "frame/Skin.h"
#include "services/SkinPalette.h"
#include "services/TerminalEnv.h"
#include "wfc/DC.h"
#include "wfc/Gdi.h"
#include "wfc/Wnd.h"

namespace {

struct Row {
  const wchar_t* code;
  const wchar_t* name;
  const wchar_t* category;
};

const Row kRows[] = {
    {L"000001", L"平安银行", L"深A"},    {L"600000", L"浦发银行", L"沪A"},
    {L"601318", L"中国平安", L"沪A"},    {L"300750", L"宁德时代", L"创业板"},
    {L"510300", L"沪深300ETF", L"基金"},
};
const int kSelectedRow = 2;
const int kHoverRow = 3;

class CPreviewWnd : public CWnd {
 public:
  CPreviewWnd(CSkinPalette* palette, const std::wstring& title)
      : m_pPalette(palette), m_title(title), m_nDpi(96) {}

  BOOL Create(int x, int y) {
    RECT rect = {x, y, x + 310, y + 330};
    if (!CreateEx(WS_EX_TOPMOST, nullptr, m_title.c_str(), WS_POPUP | WS_VISIBLE, rect, nullptr, 0))
      return FALSE;
    m_nDpi = SWDPI::GetDPIofMonitorFromWindow(m_hWnd);
    const int width = SWDPI::Scale(m_nDpi, 300) + 2 * S(5);
    SetWindowPos(nullptr, 0, 0, width, S(330), SWP_NOMOVE | SWP_NOZORDER);
    RECT client;
    GetClientRect(&client);
    ListRect(client, &m_rcList);
    const int barWidth = SWDPI::Scale(m_nDpi, 9);
    RECT bar = {m_rcList.right - barWidth, m_rcList.top, m_rcList.right, m_rcList.bottom};
    m_bar.CreateScrollWnd(L"VScrollBar", WS_CHILD | WS_VISIBLE | 0x0100, bar, this,
                          QX_SCROLL_VERTICAL);
    m_bar.OnChangeScrollDpi(m_nDpi);
    m_bar.SetScrollBackgroundColor(0, L"SuggestListWnd.CLR.BG");
    m_bar.SetRowNumber(30);
    m_bar.SetPageSize(5);
    m_bar.SetThumbLength((bar.bottom - bar.top - 28) * 5 / 30);
    m_bar.UpdateThumbPosition(6);
    return TRUE;
  }

 protected:
  void OnPaint() {
    CPaintDC paint(this);
    RECT client;
    GetClientRect(&client);
    CDC memory;
    memory.CreateCompatibleDC(&paint);
    CBitmap bitmap;
    bitmap.CreateCompatibleBitmap(&paint, client.right, client.bottom);
    HGDIOBJ previous = memory.SelectObject(&bitmap);
    Draw(&memory, client);
    paint.BitBlt(0, 0, client.right, client.bottom, &memory, 0, 0, SRCCOPY);
    memory.SelectObject(previous);
  }
  BOOL OnEraseBkgnd(HDC) { return TRUE; }
  void OnLButtonDown(UINT, POINT) { PostQuitMessage(0); }
  DECLARE_MESSAGE_MAP()

 private:
  int S(int value) const { return SWDPI::Scale(m_nDpi, value); }
  COLORREF Color(const wchar_t* key) const { return m_pPalette->GetColor(key); }

  void ListRect(const RECT& client, RECT* list) const {
    *list = RECT{1, 1 + S(26) + S(18) + 2 * S(5) + S(30), client.right - 1,
                 1 + S(26) + S(18) + 2 * S(5) + S(30) + 5 * S(22)};
  }

  // Draws a bitmap key at its 96-dpi size scaled; returns the scaled width.
  int Bitmap(CLightCanvas& canvas, const wchar_t* key, int x, int y, int width = 0) {
    RES_BMP_INFO info;
    CBitmap* bitmap = m_pPalette->GetBitmap(key, m_nDpi, &info);
    if (!bitmap) return 0;
    const int w = width ? width : S(info.m_nWidth);
    canvas.DrawBitmap(x, y, w, S(info.m_nHeight), bitmap, 0, false);
    return w;
  }

  void Draw(CDC* dc, const RECT& client) {
    const COLORREF frame = Color(L"ComboBox.CLR.FrameNormal");
    const COLORREF background = Color(L"SuggestListWnd.CLR.BG");
    CLightCanvas canvas(dc, m_nDpi);
    canvas.DrawRect(&client, frame, frame);
    RECT inner = {1, 1, client.right - 1, client.bottom - 1};
    canvas.DrawRect(&inner, background, background);
    canvas.SetBkMode(TRANSPARENT);
    CFont* nameFont = m_pPalette->GetFont(L"SuggestListWnd.Name", m_nDpi);

    // Caption: title, close button (normal and hovered), rule underneath.
    RECT caption = {1, 1, client.right - 1, 1 + S(26)};
    const COLORREF captionColor = Color(L"SuggestListWnd.CLR.BGCaption");
    canvas.DrawRect(&caption, captionColor, captionColor);
    canvas.SetTextColor(Color(L"SuggestListWnd.CLR.TextCommon"));
    RECT title = {caption.left + 5, caption.top, caption.right, caption.bottom};
    canvas.DrawTextW(m_title.c_str(), &title, DT_LEFT | DT_VCENTER | DT_SINGLELINE, nameFont);
    const int closeTop = caption.top + (S(26) - S(16)) / 2;
    Bitmap(canvas, L"KeyboarCancle.normal", caption.right - S(26) - S(16), closeTop);
    Bitmap(canvas, L"KeyboarCancle.hover", caption.right - S(21), closeTop);
    canvas.DrawLine(caption.left, caption.bottom - 1, frame, 1, caption.right, caption.bottom - 1);

    // Input field: its bitmap stretched across, the typed text and the caret.
    const int border = S(5);
    RECT area = {1, caption.bottom + S(5), client.right - 1, client.bottom - 1};
    Bitmap(canvas, L"KeyboarInput.text", area.left + border, area.top,
           area.right - area.left - 2 * border);
    RECT edit = {area.left + 2 * border, area.top + 1, area.right - 4 * border,
                 area.top + S(18) + 1};
    canvas.SetTextColor(Color(L"InputEdit.CLR.Text"));
    canvas.DrawTextW(L"PAYH", &edit, DT_LEFT | DT_VCENTER | DT_SINGLELINE,
                     m_pPalette->GetFont(L"SuggestListWnd.Edit", m_nDpi));
    const int caretX = edit.left + S(40);
    canvas.DrawLine(caretX, edit.top + S(3), Color(L"InputEdit.CLR.CursorShow"), S(1), caretX,
                    edit.bottom - S(2));

    // History bar: label and the clear button (normal and hovered).
    RECT history = {area.left + 5, area.top + S(18) + S(5), area.right, 0};
    history.bottom = history.top + S(30);
    canvas.SetTextColor(Color(L"SuggestListWnd.CLR.TextTip"));
    canvas.DrawTextW(L"搜索记录：", &history, DT_LEFT | DT_VCENTER | DT_SINGLELINE, nameFont);
    const int clearTop = history.top + (S(30) - S(16)) / 2;
    Bitmap(canvas, L"KeyboarEmpty.normal", history.right - S(23) - S(24), clearTop);
    Bitmap(canvas, L"KeyboarEmpty.hover", history.right - S(23), clearTop);

    // List rows: code, name and category; one selected, one hovered.
    RECT list;
    ListRect(client, &list);
    list.right -= SWDPI::Scale(m_nDpi, 9);
    CFont* codeFont = m_pPalette->GetFont(L"SuggestListWnd.Code", m_nDpi);
    CFont* typeFont = m_pPalette->GetFont(L"SuggestListWnd.HighTypeName", m_nDpi);
    for (int i = 0; i < 5; ++i) {
      RECT row = {list.left, list.top + i * S(22), list.right, list.top + (i + 1) * S(22)};
      const bool selected = i == kSelectedRow;
      COLORREF rowColor = selected         ? Color(L"SuggestListWnd.CLR.BGSelected")
                          : i == kHoverRow ? Color(L"SuggestListWnd.CLR.BGMouse")
                                           : background;
      canvas.DrawRect(&row, rowColor, rowColor);
      const COLORREF text = selected ? Color(L"SuggestListWnd.CLR.BGSelectedText")
                                     : Color(L"SuggestListWnd.CLR.TextCommon");
      RECT code = {row.left + S(10), row.top, row.left + S(90), row.bottom};
      RECT name = {row.left + S(90), row.top, row.right - S(70), row.bottom};
      RECT type = {row.right - S(70), row.top, row.right - S(10), row.bottom};
      const UINT format = DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS;
      canvas.SetTextColor(text);
      canvas.DrawTextW(kRows[i].code, &code, DT_LEFT | format, codeFont);
      canvas.DrawTextW(kRows[i].name, &name, DT_LEFT | format, nameFont);
      canvas.SetTextColor(selected ? text : Color(L"SuggestListWnd.CLR.TextItemType"));
      canvas.DrawTextW(kRows[i].category, &type, DT_RIGHT | format, typeFont);
    }

    // The list's empty state below: the logo over the prompt.
    RES_BMP_INFO logo;
    if (m_pPalette->GetBitmap(L"qx.logo", m_nDpi, &logo)) {
      const int w = S(logo.m_nWidth), h = S(logo.m_nHeight);
      const int top = list.bottom + S(14);
      canvas.DrawBitmap((client.right - w) / 2, top, w, h, logo.m_pBitmap, 0, false);
      RECT prompt = {1, top + h + S(4), client.right - 1, top + h + S(26)};
      canvas.SetTextColor(Color(L"SuggestListWnd.CLR.TextCommon"));
      canvas.DrawTextW(L"请输入代码/名称/简拼", &prompt, DT_CENTER | DT_VCENTER | DT_SINGLELINE,
                       nameFont);
    }
  }

  CSkinPalette* m_pPalette;
  std::wstring m_title;
  int m_nDpi;
  RECT m_rcList = {};
  CQXScrollbarWnd m_bar;
};

BEGIN_MESSAGE_MAP(CPreviewWnd, CWnd)
ON_WM_PAINT()
ON_WM_ERASEBKGND()
ON_WM_LBUTTONDOWN()
END_MESSAGE_MAP()

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    fwprintf(stderr, L"usage: skin-preview SKIN_FOLDER [X Y [SECONDS]]\n");
    return 2;
  }
  const int x = argc > 3 ? _wtoi(argv[2]) : 40;
  const int y = argc > 3 ? _wtoi(argv[3]) : 40;
  const int seconds = argc > 4 ? _wtoi(argv[4]) : 30;

  TRefPtr<CSkinPalette> palette(new CSkinPalette);
  if (!palette->Load(argv[1])) {
    fwprintf(stderr, L"skin-preview: cannot load the skin in %ls\n", argv[1]);
    return 1;
  }
  TRefPtr<CTerminalEnv> env(new CTerminalEnv);
  env->SetPalette(palette.get());
  CGlobalEnv::SetGlobalEnv(env.get());

  std::wstring folder = argv[1];
  while (!folder.empty() && (folder.back() == L'\\' || folder.back() == L'/')) folder.pop_back();
  const std::wstring name = folder.substr(folder.find_last_of(L"\\/") + 1);
  int result = 1;
  {
    CPreviewWnd window(palette.get(), L"Quorvane键盘精灵 · " + name);
    if (window.Create(x, y)) {
      SetTimer(nullptr, 0, static_cast<UINT>(seconds) * 1000, nullptr);
      MSG message;
      while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (message.message == WM_TIMER && !message.hwnd) break;
        TranslateMessage(&message);
        DispatchMessageW(&message);
      }
      result = 0;
    }
  }
  CGlobalEnv::SetGlobalEnv(nullptr);
  return result;
}
