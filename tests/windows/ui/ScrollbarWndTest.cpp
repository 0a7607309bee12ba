// The scrollbar control driven by real mouse messages: arrows and page areas report one step and
// repeat while held, the thumb reports new top rows while dragged, the delegate reaches a member
// function bound the way the suggestion list binds it, and the bar paints in the skin's colours.
#include <gtest/gtest.h>

#include <array>
#include <utility>
#include <vector>

#include "frame/RefPtr.h"
#include "frame/Scrollbar.h"
#include "services/SkinPalette.h"
#include "services/TerminalEnv.h"
#include "support/Pump.h"
#include "support/SkinSupport.h"

namespace {

typedef std::array<int, 3> Call;  // group, event, detail

// The owner's side: records every call and answers like the list does.
struct ScrollRecorder {
  CQXScrollbarWnd* m_pExpectedBar = nullptr;
  std::vector<Call> m_calls;

  int OnScrollEvent(CQXScrollbarWnd* bar, int group, int event, int detail) {
    EXPECT_EQ(bar, m_pExpectedBar);
    m_calls.push_back({group, event, detail});
    return 1;
  }
  std::vector<Call> Take() { return std::exchange(m_calls, {}); }
};

// At 96 dpi: 9 × 228 pixels, arrows of 14, track 200; 100 rows, 10 visible, thumb 20 pixels
// (the list's (height − 28) × rows ÷ count) at top row 20: offset 40, so y 54 to 73.
const int kHeight = 228;

class ScrollbarWndTest : public testing::Test {
 protected:
  void SetUp() override {
    m_env = TRefPtr<CTerminalEnv>(new CTerminalEnv);
    m_palette = TRefPtr<CSkinPalette>(new CSkinPalette);
    ASSERT_TRUE(m_palette->Load(ShippedSkin(L"light").c_str()));
    m_env->SetPalette(m_palette.get());
    CGlobalEnv::SetGlobalEnv(m_env.get());

    RECT frame = {40, 40, 240, 300};
    ASSERT_TRUE(m_parent.CreateEx(0, nullptr, L"parent", WS_POPUP | WS_VISIBLE, frame, nullptr, 0));
    RECT rect = {0, 0, 9, kHeight};
    ASSERT_TRUE(m_bar.CreateScrollWnd(L"VScrollBar", WS_CHILD | WS_VISIBLE | 0x0100, rect,
                                      &m_parent, QX_SCROLL_VERTICAL));
    m_bar.OnChangeScrollDpi(96);
    m_bar.SetRowNumber(100);
    m_bar.SetPageSize(10);
    m_bar.SetThumbLength((kHeight - 28) * 10 / 100);
    m_bar.UpdateThumbPosition(20);

    // Bound as the list binds itself: a not-owned binding, a one-callback delegate assigned.
    m_recorder.m_pExpectedBar = &m_bar;
    QXDelegate::delegate<int(CQXScrollbarWnd*, int, int, int)> local;
    local.Add(QXDelegate::MakeMemberCallback(&m_recorder, &ScrollRecorder::OnScrollEvent, 2));
    m_bar.m_delegateScrollEvent = local;
  }
  void TearDown() override {
    m_bar.DestroyWindow();
    m_parent.DestroyWindow();
    CGlobalEnv::SetGlobalEnv(nullptr);
  }

  void Send(UINT message, int x, int y) {
    m_bar.SendMessageW(message, message == WM_MOUSEMOVE ? 0 : MK_LBUTTON, MAKELPARAM(x, y));
  }
  void Click(int x, int y) { Send(WM_LBUTTONDOWN, x, y), Send(WM_LBUTTONUP, x, y); }
  void Tick() { m_bar.SendMessageW(WM_TIMER, CQXScrollbarWnd::TIMER_REPEAT, 0); }
  COLORREF Pixel(int x, int y) {
    m_bar.Invalidate(FALSE);
    m_bar.UpdateWindow();
    return WindowPixel(m_bar.m_hWnd, x, y);
  }

  TRefPtr<CTerminalEnv> m_env;
  TRefPtr<CSkinPalette> m_palette;
  CWnd m_parent;
  CQXScrollbarWnd m_bar;
  ScrollRecorder m_recorder;
};

TEST_F(ScrollbarWndTest, ArrowsAndPageAreasReportOneStepPerClick) {
  struct Case {
    int y;
    Call call;
  };
  const Case kCases[] = {{0, {0, 2, 0}},  {13, {0, 2, 0}},  {14, {0, 2, 1}},  {53, {0, 2, 1}},
                         {74, {0, 3, 1}}, {213, {0, 3, 1}}, {214, {0, 3, 0}}, {227, {0, 3, 0}}};
  for (const Case& c : kCases) {
    Click(4, c.y);
    EXPECT_EQ(m_recorder.Take(), std::vector<Call>{c.call}) << c.y;
  }
  // The thumb itself and points off the bar report nothing on a click.
  Click(4, 60);
  Click(20, 5);
  EXPECT_TRUE(m_recorder.Take().empty());
  EXPECT_EQ(GetCapture(), nullptr);  // every press ended with its release
}

TEST_F(ScrollbarWndTest, HeldButtonsRepeatOverTheirPartOnly) {
  // An arrow repeats while held over it, pauses while the pointer is off it.
  Send(WM_LBUTTONDOWN, 4, 220);
  EXPECT_EQ(GetCapture(), m_bar.m_hWnd);
  Tick();
  Tick();
  Send(WM_MOUSEMOVE, 4, 150);
  Tick();
  Send(WM_MOUSEMOVE, 4, 221);
  Tick();
  Send(WM_LBUTTONUP, 4, 221);
  Tick();  // released: no more steps
  EXPECT_EQ(m_recorder.Take(), std::vector<Call>(4, Call{0, 3, 0}));
  EXPECT_EQ(GetCapture(), nullptr);

  // A page area repeats until the thumb, moved by the owner, reaches the pointer.
  Send(WM_LBUTTONDOWN, 4, 80);  // below the thumb (54..73)
  Tick();
  m_bar.UpdateThumbPosition(23);  // the owner paged: thumb at 60..79
  Tick();
  m_bar.UpdateThumbPosition(25);  // thumb at 64..83, under the pointer
  Tick();
  Send(WM_LBUTTONUP, 4, 80);
  EXPECT_EQ(m_recorder.Take(), std::vector<Call>(3, Call{0, 3, 1}));

  // Losing the capture ends the press just like a release.
  Send(WM_LBUTTONDOWN, 4, 5);
  ReleaseCapture();
  Tick();
  EXPECT_EQ(m_recorder.Take(), (std::vector<Call>{Call{0, 2, 0}}));
}

TEST_F(ScrollbarWndTest, DraggingTheThumbReportsEachNewTopRow) {
  Send(WM_LBUTTONDOWN, 4, 60);  // 6 pixels into the thumb at offset 40
  Send(WM_MOUSEMOVE, 4, 61);    // offset 41: top round(20.5) = 21
  Send(WM_MOUSEMOVE, 4, 91);    // offset 71: top 36 (35.5 rounds up)
  Send(WM_MOUSEMOVE, 20, 92);   // off to the side: still dragging, offset 72, top 36
  Send(WM_MOUSEMOVE, 4, 500);   // past the end: the last top row
  Send(WM_MOUSEMOVE, 4, -100);  // above the start: row 0
  Send(WM_LBUTTONUP, 4, -100);
  const std::vector<Call> expected = {{0, 4, 21}, {0, 4, 36}, {0, 4, 90}, {0, 4, 0}};
  EXPECT_EQ(m_recorder.Take(), expected);
  Send(WM_MOUSEMOVE, 4, 120);  // after the release a move is only a hover
  EXPECT_TRUE(m_recorder.Take().empty());

  // After ReleaseDelegate nothing is called, whatever the user does.
  m_bar.ReleaseDelegate();
  Click(4, 5);
  Send(WM_LBUTTONDOWN, 4, 60);
  Send(WM_MOUSEMOVE, 4, 120);
  Send(WM_LBUTTONUP, 4, 120);
  EXPECT_TRUE(m_recorder.Take().empty());
}

TEST_F(ScrollbarWndTest, PaintsInTheSkinColoursAndScalesWithTheDpi) {
  ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(m_bar.m_hWnd) != FALSE; }));
  auto color = [&](const wchar_t* key) { return m_palette->GetColor(key); };
  struct Probe {
    int x, y;
    const wchar_t* key;
  };
  // Arrow glyphs: 4 rows high, centred in the 14-pixel buttons, tips at rows 5 and 222, bases
  // 7 pixels wide.
  const Probe kProbes[] = {
      {0, 0, L"ScrollBar.CLR.BG"},      {4, 5, L"ScrollBar.CLR.Arrow"},
      {3, 5, L"ScrollBar.CLR.BG"},      {1, 8, L"ScrollBar.CLR.Arrow"},
      {4, 4, L"ScrollBar.CLR.BG"},      {4, 9, L"ScrollBar.CLR.BG"},
      {4, 222, L"ScrollBar.CLR.Arrow"}, {4, 223, L"ScrollBar.CLR.BG"},
      {0, 30, L"ScrollBar.CLR.Track"},  {1, 63, L"ScrollBar.CLR.Thumb"},
      {0, 63, L"ScrollBar.CLR.Track"},  {1, 54, L"ScrollBar.CLR.Track"},  // cut corner
      {4, 54, L"ScrollBar.CLR.Thumb"},  {4, 74, L"ScrollBar.CLR.Track"}};
  for (const Probe& probe : kProbes)
    EXPECT_EQ(Pixel(probe.x, probe.y), color(probe.key)) << probe.x << "," << probe.y;

  // Hovering the thumb lights it; the list's background key replaces the bar's own.
  Send(WM_MOUSEMOVE, 4, 63);
  EXPECT_EQ(Pixel(4, 63), color(L"ScrollBar.CLR.ThumbHover"));
  m_bar.SetScrollBackgroundColor(0, L"InputEdit.CLR.BG");
  EXPECT_EQ(Pixel(0, 0), color(L"InputEdit.CLR.BG"));
  m_bar.SetScrollBackgroundColor(RGB(1, 2, 3), L"");
  EXPECT_EQ(Pixel(0, 0), RGB(1, 2, 3));

  // A skin switch shows at the next paint: the colours are looked up when painting.
  m_bar.SetScrollBackgroundColor(0, L"SuggestListWnd.CLR.BG");
  ASSERT_TRUE(m_palette->Load(ShippedSkin(L"dark").c_str()));
  EXPECT_EQ(Pixel(4, 30), color(L"ScrollBar.CLR.Track"));
  EXPECT_NE(color(L"ScrollBar.CLR.Track"), RGB(0xF2, 0xF4, 0xF7));  // really the dark one

  // 9 pixels across at 96 dpi, 14 at 144; the arrows grow too (21 pixels, tip at row 7).
  EXPECT_EQ(m_bar.GetScrollWndWidthOrHeight(), 9);
  m_bar.OnChangeScrollDpi(144);
  EXPECT_EQ(m_bar.GetScrollWndWidthOrHeight(), 14);
  m_bar.MoveWindow(RECT{0, 0, 14, kHeight});
  EXPECT_EQ(Pixel(7, 6), color(L"SuggestListWnd.CLR.BG"));
  EXPECT_EQ(Pixel(7, 7), color(L"ScrollBar.CLR.Arrow"));
  Click(7, 20);  // inside the larger arrow button
  EXPECT_EQ(m_recorder.Take(), (std::vector<Call>{Call{0, 2, 0}}));
}

}  // namespace
