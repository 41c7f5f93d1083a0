// Pen capture and pen input: WM_CAPTURECHANGED to the window that loses the
// capture, pen messages routed to the window under the pen or to the capture
// window, their coordinates and key flags, and double-clicks by class style.
#include <gtest/gtest.h>

#include <windows.h>
#include <windowsx.h>

#include "wince/host/windows.h"
#include "window_test_support.h"

namespace {

using namespace window_test;

struct Pen {
  HWND hwnd;
  UINT message;
  WPARAM keys;
  int x, y;
  bool operator==(const Pen&) const = default;
};

class WindowCaptureTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    Custom() = [this](HWND h, UINT m, WPARAM w, LPARAM l, LRESULT&) {
      if (m >= WM_MOUSEFIRST && m <= WM_MOUSELAST)
        pen_.push_back({h, m, w, GET_X_LPARAM(l), GET_Y_LPARAM(l)});
      if (m == WM_CAPTURECHANGED) changes_.push_back({h, reinterpret_cast<HWND>(l)});
      return false;
    };
  }
  std::vector<Pen> pen_;
  std::vector<std::pair<HWND, HWND>> changes_;  // (loser, new capture)
};

TEST_F(WindowCaptureTest, LoserIsToldWhoTookTheCapture) {
  HWND a = Child(screen_, 0, 0, 10, 10);
  HWND b = Child(screen_, 20, 0, 10, 10);
  SetLastError(0xdeadbeef);
  EXPECT_EQ(SetCapture(a), nullptr);
  EXPECT_EQ(GetLastError(), 0xdeadbeefu);
  EXPECT_TRUE(changes_.empty());
  EXPECT_EQ(GetCapture(), a);
  EXPECT_EQ(SetCapture(b), a);
  EXPECT_EQ(SetCapture(b), b);  // taking it again still notifies the holder
  EXPECT_TRUE(ReleaseCapture());
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_TRUE(ReleaseCapture());  // nobody holds it: still succeeds, nobody told
  EXPECT_EQ(changes_, (std::vector<std::pair<HWND, HWND>>{{a, b}, {b, b}, {b, nullptr}}));

  SetLastError(0xdeadbeef);
  EXPECT_EQ(SetCapture(reinterpret_cast<HWND>(uintptr_t{0x66})), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(WindowCaptureTest, PenGoesToTheTopmostVisibleWindowUnderIt) {
  HWND panel = Child(screen_, 0, 175, 240, 80);
  HWND lower = Child(panel, 10, 10, 50, 50);
  HWND upper = Child(panel, 30, 30, 50, 50);  // created later: on top
  HWND hidden = Child(panel, 0, 0, 240, 80, WS_CHILD);
  (void)hidden;
  wince::host::PumpMessages();
  ASSERT_TRUE(wince::host::PenDown(screen_, 35, 175 + 35));
  ASSERT_TRUE(wince::host::PenMove(panel, 15, 15));
  ASSERT_TRUE(wince::host::PenUp(panel, 100, 70));
  wince::host::PumpMessages();
  EXPECT_EQ(pen_, (std::vector<Pen>{{upper, WM_LBUTTONDOWN, MK_LBUTTON, 5, 5},
                                    {lower, WM_MOUSEMOVE, MK_LBUTTON, 5, 5},
                                    {panel, WM_LBUTTONUP, 0, 100, 70}}));
  (void)lower;
}

TEST_F(WindowCaptureTest, CaptureWindowGetsThePenEvenOutsideItself) {
  HWND panel = Child(screen_, 0, 175, 240, 80);
  HWND other = Child(screen_, 0, 0, 240, 100);
  wince::host::PumpMessages();
  wince::host::PenDown(panel, 5, 5);
  wince::host::PumpMessages();
  SetCapture(panel);
  wince::host::PenMove(other, 3, 20);  // above the panel
  wince::host::PenUp(other, 250, 200);
  wince::host::PumpMessages();
  ASSERT_EQ(pen_.size(), 3u);
  EXPECT_EQ(pen_[1], (Pen{panel, WM_MOUSEMOVE, MK_LBUTTON, 3, 20 - 175}));
  EXPECT_EQ(pen_[2], (Pen{panel, WM_LBUTTONUP, 0, 250, 200 - 175}));
  // Unsigned, the negative y is a large 16-bit value.
  MSG msg;
  wince::host::PenMove(other, 3, 20);
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(HIWORD(msg.lParam), 65536 - 155);
  EXPECT_EQ(msg.pt.y, 20);  // screen coordinates
  ReleaseCapture();
  wince::host::PenMove(other, 3, 20);
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.hwnd, other);
}

TEST_F(WindowCaptureTest, DoubleClicksOnlyForClassesThatAskForThem) {
  HWND plain = Child(screen_, 0, 0, 50, 50);
  WNDCLASSW wc{};
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = RecordingProc;
  wc.hInstance = Instance();
  wc.lpszClassName = u"double";
  ASSERT_NE(RegisterClassW(&wc), 0);
  HWND dbl = CreateWindowExW(0, u"double", u"", WS_CHILD | WS_VISIBLE, 100, 0, 50, 50, screen_,
                             nullptr, Instance(), nullptr);
  auto tap = [](HWND h, int x) {
    wince::host::PenDown(h, x, 5);
    wince::host::PenUp(h, x, 5);
    wince::host::AdvanceClock(100);
  };
  tap(plain, 5);
  tap(plain, 5);
  tap(dbl, 5);
  tap(dbl, 6);  // within the box and the time
  tap(dbl, 6);  // a third tap starts over
  wince::host::AdvanceClock(600);
  tap(dbl, 6);  // too late after the last
  std::vector<UINT> plainDowns, dblDowns;
  for (const Pen& p : pen_) {
    if (p.message == WM_LBUTTONUP) continue;
    (p.hwnd == plain ? plainDowns : dblDowns).push_back(p.message);
  }
  EXPECT_EQ(plainDowns, (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONDOWN}));
  EXPECT_EQ(dblDowns, (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONDBLCLK, WM_LBUTTONDOWN,
                                         WM_LBUTTONDOWN}));
}

TEST_F(WindowCaptureTest, PenForAWindowThatIsGoneIsRefused) {
  HWND w = Child(screen_, 0, 0, 10, 10);
  DestroyWindow(w);
  EXPECT_FALSE(wince::host::PenDown(w, 1, 1));
  MSG msg;
  EXPECT_FALSE(PeekMessageW(&msg, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE));
}

}  // namespace
