// Painting: the update region, WM_PAINT from UpdateWindow and from the
// queue, BeginPaint's WM_ERASEBKGND with the class brush, and window DCs
// drawing into the top-level surface, clipped to the client area.
#include <gtest/gtest.h>

#include <windows.h>

#include "wince/host/surface.h"
#include "wince/host/windows.h"
#include "window_test_support.h"

namespace {

using namespace window_test;
using wince::host::WindowPixel;

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kRed = RGB(255, 0, 0);

class WindowPaintTest : public WindowTest {};

TEST_F(WindowPaintTest, InvalidateOnlyAccumulatesAndUpdateWindowPaintsOnce) {
  HWND w = Child(screen_, 10, 10, 50, 40);
  ASSERT_NE(w, nullptr);
  ASSERT_TRUE(UpdateWindow(w));  // the paint owed since it was shown
  Log().clear();

  RECT a{5, 5, 10, 10}, b{20, 2, 30, 8};
  SetLastError(0xdeadbeef);
  EXPECT_TRUE(InvalidateRect(w, &a, FALSE));
  EXPECT_TRUE(InvalidateRect(w, &b, FALSE));
  EXPECT_EQ(GetLastError(), 0xdeadbeefu);
  EXPECT_TRUE(Log().empty()) << "InvalidateRect must not paint";

  RECT update;
  EXPECT_TRUE(GetUpdateRect(w, &update, FALSE));
  EXPECT_EQ(update.left, 5);  // the bounding rectangle of both
  EXPECT_EQ(update.top, 2);
  EXPECT_EQ(update.right, 30);
  EXPECT_EQ(update.bottom, 10);

  EXPECT_TRUE(UpdateWindow(w));
  EXPECT_SEQUENCE(Messages(), (std::vector<Message>{{w, WM_PAINT, 0}}));
  EXPECT_FALSE(GetUpdateRect(w, &update, FALSE));
  Log().clear();
  EXPECT_TRUE(UpdateWindow(w));  // nothing left to paint
  EXPECT_TRUE(Log().empty());
  wince::host::PumpMessages();
  EXPECT_TRUE(Log().empty());
}

TEST_F(WindowPaintTest, InvalidateClipsToClientAreaAndRejectsBadHandles) {
  HWND w = Child(screen_, 0, 0, 20, 20);
  UpdateWindow(w);
  RECT outside{30, 30, 40, 40};
  EXPECT_TRUE(InvalidateRect(w, &outside, TRUE));
  EXPECT_FALSE(GetUpdateRect(w, nullptr, FALSE));
  RECT partly{-5, 15, 5, 50};
  InvalidateRect(w, &partly, FALSE);
  RECT update;
  GetUpdateRect(w, &update, FALSE);
  EXPECT_EQ(update.left, 0);
  EXPECT_EQ(update.top, 15);
  EXPECT_EQ(update.right, 5);
  EXPECT_EQ(update.bottom, 20);

  HWND stale = reinterpret_cast<HWND>(uintptr_t{0x1234});
  SetLastError(0xdeadbeef);
  EXPECT_FALSE(InvalidateRect(stale, nullptr, TRUE));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
  SetLastError(0xdeadbeef);
  EXPECT_FALSE(UpdateWindow(stale));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
  SetLastError(0xdeadbeef);
  EXPECT_EQ(GetDC(stale), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
}

TEST_F(WindowPaintTest, ValidateRectRemovesWholeBandsOnly) {
  HWND w = Child(screen_, 0, 0, 20, 20);
  UpdateWindow(w);
  RECT all{0, 0, 20, 20}, top{0, 0, 20, 5}, middle{5, 5, 10, 10};
  InvalidateRect(w, &all, FALSE);
  EXPECT_TRUE(ValidateRect(w, &top));
  RECT update;
  ASSERT_TRUE(GetUpdateRect(w, &update, FALSE));
  EXPECT_EQ(update.top, 5);
  EXPECT_EQ(update.bottom, 20);
  EXPECT_TRUE(ValidateRect(w, &middle));  // a hole: still to paint, never less
  ASSERT_TRUE(GetUpdateRect(w, &update, FALSE));
  EXPECT_EQ(update.top, 5);
  EXPECT_TRUE(ValidateRect(w, nullptr));
  EXPECT_FALSE(GetUpdateRect(w, &update, FALSE));
  Log().clear();
  wince::host::PumpMessages();
  EXPECT_TRUE(Messages({WM_PAINT}).empty());
}

TEST_F(WindowPaintTest, BeginPaintErasesWithTheClassBrushAndValidates) {
  HWND w = Child(screen_, 10, 20, 30, 15);
  ASSERT_NE(w, nullptr);
  // Created visible: the whole client area waits, with erase.
  EXPECT_EQ(WindowPixel(w, 0, 0), kWhite);
  Log().clear();
  PAINTSTRUCT ps;
  SetLastError(0xdeadbeef);
  HDC dc = BeginPaint(w, &ps);
  ASSERT_NE(dc, nullptr);
  EXPECT_EQ(ps.hdc, dc);
  EXPECT_FALSE(ps.fErase);  // DefWindowProcW erased and answered 1
  EXPECT_EQ(ps.rcPaint.left, 0);
  EXPECT_EQ(ps.rcPaint.top, 0);
  EXPECT_EQ(ps.rcPaint.right, 30);
  EXPECT_EQ(ps.rcPaint.bottom, 15);
  EXPECT_SEQUENCE(Messages(), (std::vector<Message>{{w, WM_ERASEBKGND, (WPARAM)dc}}));
  EXPECT_FALSE(GetUpdateRect(w, nullptr, FALSE));
  EXPECT_TRUE(EndPaint(w, &ps));

  // The brush covers the client area exactly, in the parent's pixels.
  auto view = wince::host::ViewOfWindow(w);
  ASSERT_TRUE(view);
  EXPECT_EQ(view->At(10, 20), kBackground);
  EXPECT_EQ(view->At(39, 34), kBackground);
  EXPECT_EQ(view->At(9, 20), kWhite);
  EXPECT_EQ(view->At(40, 34), kWhite);
  EXPECT_EQ(view->At(10, 35), kWhite);

  // Without erase asked, BeginPaint sends no WM_ERASEBKGND.
  InvalidateRect(w, nullptr, FALSE);
  Log().clear();
  dc = BeginPaint(w, &ps);
  EXPECT_TRUE(Messages({WM_ERASEBKGND}).empty());
  EXPECT_FALSE(ps.fErase);
  EndPaint(w, &ps);
}

TEST_F(WindowPaintTest, FEraseIsSetWhenNobodyErased) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = RecordingProc;
  wc.hInstance = Instance();
  wc.lpszClassName = u"no brush";
  ASSERT_NE(RegisterClassW(&wc), 0);
  HWND w = CreateWindowExW(0, u"no brush", u"", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, screen_,
                           nullptr, Instance(), nullptr);
  PAINTSTRUCT ps;
  BeginPaint(w, &ps);
  EXPECT_TRUE(ps.fErase);
  EXPECT_EQ(WindowPixel(w, 0, 0), kWhite);  // nothing was drawn
  EndPaint(w, &ps);
}

TEST_F(WindowPaintTest, PaintDcIsClippedToTheUpdateRectangle) {
  HWND w = Child(screen_, 0, 0, 20, 20);
  UpdateWindow(w);
  RECT part{5, 5, 10, 10};
  InvalidateRect(w, &part, FALSE);
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(w, &ps);
  HBRUSH red = CreateSolidBrush(kRed);
  RECT all{0, 0, 20, 20};
  FillRect(dc, &all, red);
  EndPaint(w, &ps);
  DeleteObject(red);
  EXPECT_EQ(WindowPixel(w, 5, 5), kRed);
  EXPECT_EQ(WindowPixel(w, 9, 9), kRed);
  EXPECT_EQ(WindowPixel(w, 10, 9), kBackground);
  EXPECT_EQ(WindowPixel(w, 4, 5), kBackground);
}

TEST_F(WindowPaintTest, GetDcDrawsIntoTheParentSurfaceClippedToTheChild) {
  HWND outer = Child(screen_, 20, 30, 100, 60);
  HWND inner = Child(outer, 40, 10, 100, 20);  // sticks out of its parent on the right
  ASSERT_NE(inner, nullptr);
  wince::host::PumpMessages();

  SetLastError(0xdeadbeef);
  HDC dc = GetDC(inner);
  ASSERT_NE(dc, nullptr);
  EXPECT_EQ(GetLastError(), 0xdeadbeefu);
  HBRUSH red = CreateSolidBrush(kRed);
  RECT big{-10, -10, 200, 200};
  FillRect(dc, &big, red);
  EXPECT_EQ(ReleaseDC(inner, dc), 1);
  DeleteObject(red);

  auto view = wince::host::ViewOfWindow(inner);
  ASSERT_TRUE(view);
  // inner's client area on the screen: x 60..160, y 40..60, cut by outer at x 120.
  EXPECT_EQ(view->At(60, 40), kRed);
  EXPECT_EQ(view->At(119, 59), kRed);
  EXPECT_EQ(view->At(59, 40), kBackground);   // outer, left of inner
  EXPECT_EQ(view->At(60, 39), kBackground);   // outer, above inner
  EXPECT_EQ(view->At(60, 60), kBackground);   // outer, below inner
  EXPECT_EQ(view->At(120, 40), kWhite);       // the screen, right of outer
  EXPECT_EQ(WindowPixel(inner, 0, 0), kRed);
  EXPECT_EQ(WindowPixel(inner, 60, 0), CLR_INVALID);  // clipped away
  auto area = wince::host::ClientAreaOnSurface(inner);
  ASSERT_TRUE(area);
  EXPECT_EQ(area->left, 60);
  EXPECT_EQ(area->right, 120);

  // GetDC ignores the update region and ReleaseDC only takes its own DCs.
  EXPECT_EQ(ReleaseDC(inner, dc), 0);
}

TEST_F(WindowPaintTest, HiddenWindowDrawsNothingAndGetsNoPaint) {
  HWND w = Child(screen_, 0, 0, 20, 20, WS_CHILD);
  wince::host::PumpMessages();
  EXPECT_TRUE(Messages({WM_PAINT}).empty());
  HDC dc = GetDC(w);
  ASSERT_NE(dc, nullptr);
  HBRUSH red = CreateSolidBrush(kRed);
  RECT all{0, 0, 20, 20};
  FillRect(dc, &all, red);
  EXPECT_EQ(wince::host::ViewOfWindow(w)->At(0, 0), kWhite);
  InvalidateRect(w, nullptr, TRUE);
  EXPECT_FALSE(GetUpdateRect(w, nullptr, FALSE));

  // Shown, it is invalidated with erase, and the DC it holds now draws.
  EXPECT_FALSE(ShowWindow(w, SW_SHOWNOACTIVATE));
  EXPECT_TRUE(GetUpdateRect(w, nullptr, FALSE));
  FillRect(dc, &all, red);
  EXPECT_EQ(WindowPixel(w, 0, 0), kRed);
  ReleaseDC(w, dc);
  DeleteObject(red);
  wince::host::PumpMessages();
  EXPECT_EQ(WindowPixel(w, 0, 0), kBackground);  // erased by its WM_PAINT
}

TEST_F(WindowPaintTest, QueuePaintsParentsBeforeChildrenAndOnlyWhenIdle) {
  HWND parent = Child(screen_, 0, 0, 100, 100);
  HWND child = Child(parent, 10, 10, 20, 20);
  PostMessageW(child, WM_USER, 7, 0);
  Log().clear();
  wince::host::PumpMessages();
  EXPECT_SEQUENCE(Messages({WM_USER, WM_PAINT}),
                  (std::vector<Message>{{child, WM_USER, 7}, {parent, WM_PAINT, 0},
                                        {child, WM_PAINT, 0}}));
}

TEST_F(WindowPaintTest, UnvalidatedPaintKeepsComing) {
  // A procedure that never validates gets WM_PAINT again at every look.
  HWND w = Child(screen_, 0, 0, 10, 10);
  Custom() = [](HWND, UINT m, WPARAM, LPARAM, LRESULT& r) {
    r = 0;
    return m == WM_PAINT;
  };
  MSG msg;
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_PAINT));
  DispatchMessageW(&msg);
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_PAINT));
  EXPECT_EQ(msg.hwnd, w);
  ValidateRect(w, nullptr);
  EXPECT_FALSE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(WindowPaintTest, MovingAChildRedrawsItAndTheAreaItLeft) {
  HWND parent = Child(screen_, 0, 0, 100, 100);
  HWND child = Child(parent, 10, 10, 20, 20);
  wince::host::PumpMessages();
  HDC dc = GetDC(child);
  HBRUSH red = CreateSolidBrush(kRed);
  RECT all{0, 0, 20, 20};
  FillRect(dc, &all, red);
  EXPECT_TRUE(MoveWindow(child, 50, 50, 20, 20, TRUE));
  FillRect(dc, &all, red);  // the DC followed the window
  ReleaseDC(child, dc);
  DeleteObject(red);
  auto view = wince::host::ViewOfWindow(parent);
  EXPECT_EQ(view->At(50, 50), kRed);
  EXPECT_EQ(view->At(10, 10), kRed);  // stale until the parent repaints
  wince::host::PumpMessages();
  EXPECT_EQ(view->At(10, 10), kBackground);
  EXPECT_EQ(view->At(50, 50), kBackground);
}

TEST_F(WindowPaintTest, ScreenDcAndSavedPng) {
  HDC dc = GetDC(nullptr);
  ASSERT_NE(dc, nullptr);
  EXPECT_EQ(SetPixel(dc, 3, 4, kRed), kRed);
  EXPECT_EQ(ReleaseDC(nullptr, dc), 1);
  EXPECT_EQ(WindowPixel(screen_, 3, 4), kRed);
  auto file = std::filesystem::temp_directory_path() / "wince_window_paint_test.png";
  EXPECT_TRUE(wince::host::SaveWindowPng(screen_, file));
  EXPECT_GT(std::filesystem::file_size(file), 0u);
  std::filesystem::remove(file);
}

TEST_F(WindowPaintTest, DestroyingAWindowFreesItsDcs) {
  size_t before = wince::host::LiveGdiObjects();
  HWND w = Child(screen_, 0, 0, 10, 10);
  GetDC(w);
  GetDC(w);
  EXPECT_EQ(wince::host::LiveGdiObjects(), before + 2);
  DestroyWindow(w);
  EXPECT_EQ(wince::host::LiveGdiObjects(), before);
}

}  // namespace
