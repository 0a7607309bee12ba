#include <gtest/gtest.h>
#include <windows.h>

#include <imm.h>  // after windows.h, which it needs

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "frame/Skin.h"
#include "support/Pump.h"
#include "support/SkinSupport.h"
#include "support/UiEnv.h"
#include "window/InputEdit.h"

namespace {

const UINT kEditId = 1001;
const COLORREF kParentColor = RGB(30, 160, 160);
const COLORREF kBG = RGB(255, 240, 245);    // "InputEdit.CLR.BG" of the test palette
const COLORREF kText = RGB(128, 0, 0);      // "InputEdit.CLR.Text"
const COLORREF kCaret = RGB(0, 0, 255);     // "InputEdit.CLR.CursorShow"
const COLORREF kCaretOnBG = kBG ^ kCaret;   // the caret is XOR-drawn over the background
const UINT WM_RUN_IN_HANDLER = WM_APP + 1;  // runs the parent's hook inside a posted message

// One WM_NOTIFY as the parent saw it.
struct Note {
  UINT code;
  std::wstring text;  // the edit's text while the parent was being told
  const void* data;
  InputEditKeyInfo key;
  InputEditWheelInfo wheel;
};

// The dialog's stand-in: records the edit's notifications, in order, and paints itself in
// one colour over the edit's area (no WS_CLIPCHILDREN), so an edit that paints nothing shows it.
class CTestParent : public CWnd {
 public:
  std::vector<Note> notes;
  CInputEdit* edit = nullptr;
  void (*hook)(CInputEdit*) = nullptr;

  std::vector<UINT> Codes() const {
    std::vector<UINT> codes;
    for (const Note& note : notes) codes.push_back(note.code);
    return codes;
  }

 protected:
  void OnNote(NMHDR* header, LRESULT* result) {
    const InputEditNotify* record = InputEditNotify::From(header);
    EXPECT_EQ(record->hdr.hwndFrom, edit->m_hWnd);
    Note note = {record->hdr.code, edit->GetText(), record->data, {}, {}};
    if (note.code == IEN_TEXTCHANGED) {
      EXPECT_EQ(record->data, edit->GetText());
    }
    if (note.code == IEN_KEYDOWN) note.key = *static_cast<const InputEditKeyInfo*>(record->data);
    if (note.code == IEN_MOUSEWHEEL)
      note.wheel = *static_cast<const InputEditWheelInfo*>(record->data);
    notes.push_back(note);
    *result = 0;
  }
  void OnPaint() {
    PAINTSTRUCT paint;
    HBRUSH brush = CreateSolidBrush(kParentColor);
    FillRect(BeginPaint(m_hWnd, &paint), &paint.rcPaint, brush);
    DeleteObject(brush);
    EndPaint(m_hWnd, &paint);
  }
  void OnRunInHandler() {
    if (hook) hook(edit);
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTestParent, CWnd)
ON_WM_PAINT()
ON_MESSAGE_VOID(WM_RUN_IN_HANDLER, OnRunInHandler)
ON_NOTIFY(IEN_TEXTCHANGED, kEditId, OnNote)
ON_NOTIFY(IEN_KEYDOWN, kEditId, OnNote)
ON_NOTIFY(IEN_MOUSEWHEEL, kEditId, OnNote)
ON_NOTIFY(IEN_KILLFOCUS, kEditId, OnNote)
END_MESSAGE_MAP()

double NowMs() {
  LARGE_INTEGER counter, frequency;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&counter);
  return counter.QuadPart * 1000.0 / frequency.QuadPart;
}

class InputEditTest : public testing::Test {
 protected:
  static const int kWidth = 200;
  static const int kHeight = 30;

  // withEnv false: no terminal services at all (no palette, no data centre).
  void Create(bool withEnv = true, bool parentVisible = true) {
    if (withEnv) env.reset(new UiEnv);
    RECT parentRect = {40, 40, 40 + 300, 40 + 80};
    ASSERT_TRUE(parent.CreateEx(0, nullptr, L"parent", WS_POPUP | (parentVisible ? WS_VISIBLE : 0),
                                parentRect, nullptr, 0));
    parent.edit = &edit;
    RECT rect = {10, 10, 10 + kWidth, 10 + kHeight};
    ASSERT_TRUE(
        edit.CreateEx(0, nullptr, L"输入框", WS_CHILD | WS_VISIBLE, rect, &parent, kEditId));
    if (parentVisible) SetForegroundWindow(parent.m_hWnd);
    PumpPending();
  }
  void TearDown() override {
    if (edit.m_hWnd) edit.DestroyWindow();
    if (parent.m_hWnd) parent.DestroyWindow();
  }

  // Posts every character as its own WM_CHAR, each in a later millisecond than the message
  // handled before it, so that each carries a message time of its own.
  void Type(const wchar_t* text) {
    for (const wchar_t* p = text; *p; ++p) {
      DWORD last = static_cast<DWORD>(GetMessageTime());
      PumpUntil([&] { return static_cast<LONG>(GetTickCount() - last) > 0; });
      PostMessageW(edit.m_hWnd, WM_CHAR, *p, 1);
      PumpPending();
    }
  }
  LRESULT Key(WPARAM key, LPARAM lParam = 1) {
    return SendMessageW(edit.m_hWnd, WM_KEYDOWN, key, lParam);
  }
  void Repaint() {
    parent.UpdateWindow();
    edit.Invalidate(TRUE);
    edit.UpdateWindow();
  }
  // Where the caret stands behind text drawn with the palette's font at dpi.
  int CaretX(int dpi, const wchar_t* text) {
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, *env->palette()->GetFont(L"SuggestListWnd.Edit", dpi));
    SIZE size = {0, 0};
    GetTextExtentPoint32W(dc, text, static_cast<int>(wcslen(text)), &size);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return size.cx + 2;
  }
  COLORREF Pixel(int x, int y) { return WindowPixel(edit.m_hWnd, x, y); }
  // Commits text through the edit's real input context, as an input method does when the user
  // picks a candidate.
  void CommitIme(const wchar_t* text) {
    HIMC context = ImmGetContext(edit.m_hWnd);
    ASSERT_NE(context, nullptr);
    ImmSetCompositionStringW(context, SCS_SETSTR, const_cast<wchar_t*>(text),
                             static_cast<DWORD>(wcslen(text) * sizeof(wchar_t)), nullptr, 0);
    ImmNotifyIME(context, NI_COMPOSITIONSTR, CPS_COMPLETE, 0);
    ImmReleaseContext(edit.m_hWnd, context);
  }

  std::unique_ptr<UiEnv> env;
  CTestParent parent;
  CInputEdit edit;
};

TEST_F(InputEditTest, TypedCharactersAreFilteredUpperCasedLimitedAndInsertedAtTheCaret) {
  Create();
  // Refused: punctuation, space, control characters, anything beyond ASCII.
  Type(L"., \t\xE9\x4E2D");
  EXPECT_STREQ(edit.GetText(), L"");
  EXPECT_TRUE(parent.notes.empty());
  // Accepted, upper-cased, at the caret, up to 13 characters, each told as a text change.
  Type(L"*+/_zQ0");
  Key(VK_LEFT);
  Type(L"-abcdef");
  EXPECT_STREQ(edit.GetText(), L"*+/_ZQ-ABCDE0");
  EXPECT_EQ(edit.GetCaret(), 12);
  EXPECT_EQ(parent.Codes(), std::vector<UINT>(13, IEN_TEXTCHANGED));
  EXPECT_EQ(parent.notes.back().text, L"*+/_ZQ-ABCDE0");
  EXPECT_EQ(GetFocus(), edit.m_hWnd);
}

// An input method in full-width mode sends its digits and letters as full-width characters: they
// are typed as their ASCII forms. Other full-width signs stay refused.
TEST_F(InputEditTest, FullWidthDigitsAndLettersAreTypedAsTheirAsciiForms) {
  Create();
  Type(L"６ｐ＊Ｆ．０");
  EXPECT_STREQ(edit.GetText(), L"6PF0");
  EXPECT_EQ(parent.Codes(), std::vector<UINT>(4, IEN_TEXTCHANGED));
}

// The terminal forwards a character and the same message may reach the edit again: a second
// character carrying the message time of the last accepted one is dropped.
TEST_F(InputEditTest, CharacterWithTheMessageTimeOfTheLastAcceptedOneIsDropped) {
  Create();
  parent.hook = [](CInputEdit* edit) {
    SendMessageW(edit->m_hWnd, WM_CHAR, L'x', 1);
    SendMessageW(edit->m_hWnd, WM_CHAR, L'y', 1);  // same message time: dropped
    edit->InsertChar(L'z');                        // likewise
  };
  Type(L"1");
  DWORD last = static_cast<DWORD>(GetMessageTime());
  PumpUntil([&] { return static_cast<LONG>(GetTickCount() - last) > 0; });
  parent.PostMessageW(WM_RUN_IN_HANDLER);
  PumpPending();
  EXPECT_STREQ(edit.GetText(), L"1X");
  EXPECT_EQ(parent.notes.size(), 2u);
}

TEST_F(InputEditTest, InputMethodResultsAreInsertedWholeOrRefusedWhole) {
  Create();
  Type(L"123456789");
  parent.notes.clear();

  // The result arrives once as a result string and once more as WM_CHAR echoes; a character
  // typed right after it is dropped too, though it differs from the result.
  CommitIme(L"ab");
  double committed = NowMs();
  edit.PostMessageW(WM_CHAR, L'q', 1);
  PumpPending();
  ASSERT_LT(NowMs() - committed, 100.0) << "too slow to check the 100 ms rule";
  EXPECT_STREQ(edit.GetText(), L"123456789AB");
  EXPECT_EQ(parent.Codes(), std::vector<UINT>{IEN_TEXTCHANGED});

  CommitIme(L"xyz");  // 11 + 3 > 13
  PumpPending();
  EXPECT_STREQ(edit.GetText(), L"123456789AB");

  Key(VK_HOME);
  CommitIme(L"cd");  // inserted at the caret: exactly 13
  committed = NowMs();
  PumpPending();
  EXPECT_STREQ(edit.GetText(), L"CD123456789AB");
  EXPECT_EQ(edit.GetCaret(), 2);

  // Once the 100 ms have passed, typing works again.
  Key(VK_BACK);
  PumpUntil([&] { return NowMs() - committed > 110.0; });
  Type(L"e");
  EXPECT_STREQ(edit.GetText(), L"CE123456789AB");
}

TEST_F(InputEditTest, KeyTable) {
  Create();
  struct Case {
    const wchar_t* typed;  // then the caret moves left this many times:
    int left;
    WPARAM key;
    const wchar_t* text;  // afterwards
    int caret;
    std::vector<UINT> codes;
  } cases[] = {
      {L"", 0, VK_HOME, L"", 0, {}},
      {L"", 0, VK_UP, L"", 0, {IEN_KEYDOWN}},
      {L"", 0, VK_DOWN, L"", 0, {IEN_KEYDOWN}},
      {L"", 0, VK_NEXT, L"", 0, {IEN_KEYDOWN}},
      {L"12", 2, VK_BACK, L"12", 0, {}},
      {L"12", 0, VK_DELETE, L"12", 2, {}},
      {L"123", 1, VK_BACK, L"13", 1, {IEN_TEXTCHANGED}},
      {L"123", 2, VK_DELETE, L"13", 1, {IEN_TEXTCHANGED}},
      {L"12", 0, VK_HOME, L"12", 0, {IEN_KEYDOWN}},
      {L"12", 2, VK_END, L"12", 2, {IEN_KEYDOWN}},
      {L"12", 2, VK_LEFT, L"12", 0, {}},
      {L"12", 1, VK_RIGHT, L"12", 2, {}},
      {L"12", 0, VK_RIGHT, L"12", 2, {}},
      {L"12", 0, VK_RETURN, L"", 0, {IEN_KEYDOWN, IEN_TEXTCHANGED}},
      {L"12", 1, VK_ESCAPE, L"", 0, {IEN_KEYDOWN, IEN_TEXTCHANGED}},
      {L"12", 0, VK_PROCESSKEY, L"12", 2, {}},
  };
  for (const Case& c : cases) {
    edit.ClearText();
    Type(c.typed);
    for (int i = 0; i < c.left; ++i) Key(VK_LEFT);
    parent.notes.clear();
    Key(c.key, static_cast<LPARAM>(MAKELONG(0xFFFF, 0x8148)));
    SCOPED_TRACE(testing::Message()
                 << "typed " << testing::PrintToString(std::wstring(c.typed)) << ", key " << c.key);
    EXPECT_EQ(edit.GetText(), std::wstring(c.text));
    EXPECT_EQ(edit.GetCaret(), c.caret);
    EXPECT_EQ(parent.Codes(), c.codes);
    if (!c.codes.empty() && c.codes[0] == IEN_KEYDOWN) {
      EXPECT_EQ(parent.notes[0].key.m_nVirtKey, c.key);
      EXPECT_EQ(parent.notes[0].key.m_nRepCnt, -1);  // halves of lParam, sign-extended
      EXPECT_EQ(parent.notes[0].key.m_nFlags, static_cast<int16_t>(0x8148));
      EXPECT_EQ(parent.notes[0].text, std::wstring(c.typed));  // told before anything changes
    }
    if (c.codes.size() == 2) {
      EXPECT_EQ(parent.notes[1].text, L"");
    }
  }

  parent.notes.clear();
  WPARAM wheel = MAKEWPARAM(MK_CONTROL, static_cast<WORD>(-120));
  EXPECT_EQ(SendMessageW(edit.m_hWnd, WM_MOUSEWHEEL, wheel, MAKELPARAM(-5, 300)), 0);
  ASSERT_EQ(parent.Codes(), std::vector<UINT>{IEN_MOUSEWHEEL});
  const InputEditWheelInfo& info = parent.notes[0].wheel;
  EXPECT_EQ(std::vector<int>({static_cast<int>(info.m_nFlags), info.m_nDelta, info.m_nReserved,
                              info.m_nX, info.m_nY}),
            std::vector<int>({MK_CONTROL, -120, 0, -5, 300}));
}

// A change made while the pop-up is hidden leaves the focus where it is; losing the focus tells
// the parent who gains it, then empties the field.
TEST_F(InputEditTest, FocusFollowsVisibilityAndItsLossClearsTheText) {
  Create(true, false);
  CWnd other;
  ASSERT_TRUE(other.CreateEx(0, nullptr, L"other", WS_POPUP | WS_VISIBLE, RECT{400, 40, 500, 80},
                             nullptr, 0));
  other.SetFocus();
  Type(L"1");
  EXPECT_STREQ(edit.GetText(), L"1");
  EXPECT_EQ(GetFocus(), other.m_hWnd);

  parent.ShowWindow(SW_SHOW);
  Type(L"2");
  EXPECT_EQ(GetFocus(), edit.m_hWnd);
  parent.notes.clear();

  other.SetFocus();
  ASSERT_EQ(parent.Codes(), std::vector<UINT>{IEN_KILLFOCUS});
  EXPECT_EQ(parent.notes[0].data, other.m_hWnd);
  EXPECT_EQ(parent.notes[0].text, L"12");
  EXPECT_STREQ(edit.GetText(), L"");
  EXPECT_EQ(edit.GetCaret(), 0);
  other.DestroyWindow();
}

TEST_F(InputEditTest, PaintsBackgroundTextAndBlinkingCaret) {
  Create();
  // The blink timer runs; stopping it keeps the caret phase on for the pixel reads.
  ASSERT_TRUE(KillTimer(edit.m_hWnd, CInputEdit::CARET_TIMER_ID));
  Type(L"88");
  Repaint();
  int x = CaretX(96, L"88"), y = kHeight / 2;
  EXPECT_EQ(Pixel(kWidth - 3, y), kBG);
  EXPECT_EQ(Pixel(x + 1, y), kCaretOnBG);
  EXPECT_EQ(Pixel(x + 2, y), kBG);
  EXPECT_EQ(Pixel(x, 0), kBG);  // inset by the line width
  int ink = 0;
  for (int px = 2; px < x - 1; ++px)
    for (int py = 0; py < kHeight; ++py) ink += Pixel(px, py) == kText;
  EXPECT_GT(ink, 5);

  // The timer's XOR erases the caret and draws it again.
  SendMessageW(edit.m_hWnd, WM_TIMER, CInputEdit::CARET_TIMER_ID, 0);
  EXPECT_EQ(Pixel(x, y), kBG);
  SendMessageW(edit.m_hWnd, WM_TIMER, CInputEdit::CARET_TIMER_ID, 0);

  // A DPI change refetches the font: the caret stands behind the text measured with the
  // 144-dpi font, two lines of the scaled width.
  Type(L"88");
  RECT suggested = {0, 0, 0, 0};
  EXPECT_EQ(SendMessageW(edit.m_hWnd, WM_DPICHANGED, MAKEWPARAM(144, 144),
                         reinterpret_cast<LPARAM>(&suggested)),
            1);
  int x96 = CaretX(96, L"8888"), x144 = CaretX(144, L"8888"), line = SWDPI::Scale(144, 1);
  ASSERT_GT(x144, x96 + 4);
  Repaint();
  int caretPixels = 0;
  for (int px = x144 - line; px <= x144 + 2 * line; ++px) caretPixels += Pixel(px, y) == kCaretOnBG;
  EXPECT_EQ(caretPixels, 2 * line);
  EXPECT_NE(Pixel(x96, y), kCaretOnBG);

  // A skin change reaches the edit through the data centre's broadcast.
  const COLORREF newBG = RGB(10, 200, 30);
  env->palette()->SetColor(L"InputEdit.CLR.BG", newBG);
  size_t registered = env->securities()->BroadcastWindowCount();
  EXPECT_GE(env->securities()->BroadcastPaletteChanged(), 1);
  edit.UpdateWindow();
  EXPECT_EQ(Pixel(kWidth - 3, y), newBG);
  edit.DestroyWindow();
  EXPECT_EQ(env->securities()->BroadcastWindowCount(), registered - 1);
}

TEST_F(InputEditTest, PaintsNothingWithoutAPalette) {
  Create(false);
  Type(L"88");
  EXPECT_STREQ(edit.GetText(), L"88");  // typing works regardless
  Repaint();
  SendMessageW(edit.m_hWnd, WM_TIMER, CInputEdit::CARET_TIMER_ID, 0);
  for (int px = 0; px < 40; px += 3) EXPECT_EQ(Pixel(px, kHeight / 2), kParentColor);
}

}  // namespace
