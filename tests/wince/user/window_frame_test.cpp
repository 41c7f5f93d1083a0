// Window frames: the border and caption each style gives, the client area
// inside them as every geometry call reports it, the frame as drawn (the
// caption in the activation's colours, a new title shown at once), and pen
// taps on a frame.
#include <gtest/gtest.h>

#include <string>

#include <windows.h>

#include "wince/host/surface.h"
#include "window_test_support.h"

namespace {

using namespace window_test;

class WindowFrameTest : public WindowTest {};

TEST_F(WindowFrameTest, TheFrameSurroundsTheClientArea) {
  struct Case {
    DWORD style;
    RECT frame;  // left, top, right, bottom
  };
  const int caption = GetSystemMetrics(SM_CYCAPTION);
  EXPECT_EQ(caption, 18);
  EXPECT_EQ(GetSystemMetrics(SM_CXBORDER), 1);
  const Case cases[] = {
      {WS_POPUP, {0, 0, 0, 0}},
      {WS_POPUP | WS_BORDER, {1, 1, 1, 1}},
      {WS_POPUP | WS_DLGFRAME, {1, 1, 1, 1}},
      {WS_POPUP | WS_CAPTION, {1, 1 + caption, 1, 1}},
      {WS_CHILD | WS_BORDER, {1, 1, 1, 1}},
  };
  for (const Case& c : cases) {
    LPARAM size = 0, move = 0;
    Custom() = [&](HWND, UINT m, WPARAM, LPARAM l, LRESULT&) {
      if (m == WM_SIZE) size = l;
      if (m == WM_MOVE) move = l;
      return false;
    };
    HWND w = CreateWindowExW(0, kClass, u"", c.style, 10, 20, 100, 80,
                             (c.style & WS_CHILD) ? screen_ : nullptr, nullptr, Instance(), nullptr);
    ASSERT_NE(w, nullptr);
    int cw = 100 - c.frame.left - c.frame.right, ch = 80 - c.frame.top - c.frame.bottom;
    RECT r;
    GetClientRect(w, &r);
    EXPECT_EQ(r.right, cw) << c.style;
    EXPECT_EQ(r.bottom, ch) << c.style;
    GetWindowRect(w, &r);
    EXPECT_EQ(r.left, 10);
    EXPECT_EQ(r.bottom, 100);
    POINT origin{0, 0};
    ClientToScreen(w, &origin);
    EXPECT_EQ(origin.x, 10 + c.frame.left) << c.style;
    EXPECT_EQ(origin.y, 20 + c.frame.top) << c.style;
    EXPECT_EQ(size, MAKELPARAM(cw, ch)) << c.style;  // the client area's size and place
    EXPECT_EQ(move, MAKELPARAM(origin.x, origin.y)) << c.style;
    RECT adjusted{0, 0, cw, ch};
    EXPECT_TRUE(AdjustWindowRectEx(&adjusted, c.style, FALSE, 0));
    EXPECT_EQ(adjusted.right - adjusted.left, 100) << c.style;
    EXPECT_EQ(adjusted.bottom - adjusted.top, 80) << c.style;
    DestroyWindow(w);
  }
}

// Pixels of a colour in the caption strip of a window.
int CaptionPixels(HWND w, COLORREF colour) {
  auto view = wince::host::ViewOfWindow(w);
  int count = 0;
  for (int y = 1; y < 1 + GetSystemMetrics(SM_CYCAPTION); ++y)
    for (int x = 1; x < view->width - 1; ++x) count += view->At(x, y) == colour;
  return count;
}

TEST_F(WindowFrameTest, TheCaptionShowsTheTitleInTheActivationsColours) {
  HWND w = CreateWindowExW(0, kClass, u"Title", WS_POPUP | WS_CAPTION | WS_VISIBLE, 20, 20, 120,
                           60, nullptr, nullptr, Instance(), nullptr);
  wince::host::PumpMessages();
  auto view = wince::host::ViewOfWindow(w);
  EXPECT_EQ(view->At(119, 59), GetSysColor(COLOR_WINDOWFRAME));
  EXPECT_EQ(view->At(2, 2), GetSysColor(COLOR_INACTIVECAPTION));
  EXPECT_GT(CaptionPixels(w, GetSysColor(COLOR_INACTIVECAPTIONTEXT)), 20);
  SetActiveWindow(w);
  EXPECT_EQ(view->At(2, 2), GetSysColor(COLOR_ACTIVECAPTION));
  int title = CaptionPixels(w, GetSysColor(COLOR_CAPTIONTEXT));
  SetWindowTextW(w, u"A much longer title");
  EXPECT_GT(CaptionPixels(w, GetSysColor(COLOR_CAPTIONTEXT)), title);  // at once
}

TEST_F(WindowFrameTest, TapsOnAFrameFailLoudlyAndReachNoWindow) {
  HWND w = CreateWindowExW(0, kClass, u"T", WS_POPUP | WS_CAPTION | WS_VISIBLE, 0, 0, 100, 60,
                           nullptr, nullptr, Instance(), nullptr);
  wince::host::PumpMessages();
  Log().clear();
  ::testing::internal::CaptureStderr();
  wince::host::PenDown(w, 10, -5);  // on the caption
  wince::host::PenUp(w, 10, -5);
  EXPECT_NE(::testing::internal::GetCapturedStderr().find("caption"), std::string::npos);
  wince::host::PenDown(w, 10, 5);
  wince::host::PumpMessages();
  EXPECT_SEQUENCE(Messages({WM_LBUTTONDOWN, WM_LBUTTONUP}),
                  (std::vector<Message>{{w, WM_LBUTTONDOWN, MK_LBUTTON}}));
}

}  // namespace
