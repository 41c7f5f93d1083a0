// The window manager's host hooks of wince/host/windows.h, except pen input
// (capture.cpp): the clock and message loop, the screen window, read back of
// window pixels, and the reset between tests.
#include "wince/host/windows.h"

#include <cstdio>

#include "wince/host/dialogs.h"

#include <windows.h>

#include "wince/kernel/fault_points.h"
#include "wince/user/window_internal.h"

namespace wince::host {
namespace {

// Far more than any real burst of messages; reaching it means a loop that
// feeds itself.
constexpr int kPumpLimit = 100000;
constexpr char16_t kScreenClass[] = u"wince host screen";

}  // namespace

DWORD VirtualTime() { return static_cast<DWORD>(win::Now()); }

bool PumpMessages() {
  MSG msg;
  for (int i = 0; i < kPumpLimit; ++i) {
    if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) return true;
    if (msg.message == WM_QUIT) return false;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  std::fprintf(stderr,
               "wince: PumpMessages: still busy after %d messages (a WM_PAINT that is never "
               "validated, or a procedure that keeps posting); stopping\n",
               kPumpLimit);
  return true;
}

bool AdvanceClock(DWORD milliseconds) {
  uint64_t target = win::Now() + milliseconds;
  bool running = PumpMessages();
  for (;;) {
    uint64_t due = win::NextTimerDue(nullptr);
    if (due > target || due <= win::Now()) break;
    win::SetNow(due);
    running = PumpMessages() && running;
  }
  win::SetNow(target);
  return PumpMessages() && running;
}

void PassTime(DWORD milliseconds) { win::SetNow(win::Now() + milliseconds); }

void SetIdleHandler(std::function<bool()> handler) { win::IdleHandler() = std::move(handler); }

HWND CreateScreen(int width, int height) {
  faults::OwnCalls own;
  WNDCLASSW wc{};
  if (!GetClassInfoW(nullptr, kScreenClass, &wc)) {
    wc.lpfnWndProc = DefWindowProcW;
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = kScreenClass;
    RegisterClassW(&wc);
  }
  HWND screen = CreateWindowExW(0, kScreenClass, u"", WS_POPUP | WS_VISIBLE, 0, 0, width, height,
                                nullptr, nullptr, nullptr, nullptr);
  if (screen) win::SetScreenWindow(screen);
  return screen;
}

std::optional<SurfaceView> ViewOfWindow(HWND hwnd) {
  win::Window* w = win::Lookup(hwnd);
  if (!w) return std::nullopt;
  auto surface = win::SurfaceOf(*w);
  if (!surface) return std::nullopt;
  SurfaceView view;
  view.width = surface->width;
  view.height = surface->height;
  view.bitsPerPixel = surface->bitsPerPixel;
  view.pixels = std::shared_ptr<const COLORREF>(surface, surface->pixels.data());
  return view;
}

std::optional<RECT> ClientAreaOnSurface(HWND hwnd) {
  win::Window* w = win::Lookup(hwnd);
  if (!w) return std::nullopt;
  return win::SurfaceClip(*w);
}

COLORREF WindowPixel(HWND hwnd, int x, int y) {
  win::Window* w = win::Lookup(hwnd);
  if (!w) return CLR_INVALID;
  auto surface = win::SurfaceOf(*w);
  POINT o = win::SurfaceOrigin(*w);
  RECT clip = win::SurfaceClip(*w);
  POINT p{o.x + x, o.y + y};
  if (!surface || !PtInRect(&clip, p)) return CLR_INVALID;
  return surface->At(p.x, p.y);
}

bool SaveWindowPng(HWND hwnd, const std::filesystem::path& file) {
  auto view = ViewOfWindow(hwnd);
  auto part = ClientAreaOnSurface(hwnd);
  if (!view || !part) return false;
  return SavePng(*view, *part, file);
}

void ResetWindows() {
  win::IdleHandler() = nullptr;
  ClearUserActions();
  win::ResetWindowTree();
  win::ResetFocus();
  win::ResetQueue();
  win::ResetTimers();
  win::ResetCapture();
  win::ResetWindowClasses();
  win::SetNow(0);
}

}  // namespace wince::host
