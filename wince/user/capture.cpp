// Pen capture and pen input: SetCapture, ReleaseCapture, GetCapture, and the
// host hooks PenDown, PenMove and PenUp that stand in for the touch screen.
//
// The window that loses the capture gets WM_CAPTURECHANGED with the new
// capture window (or NULL) in lParam, even when it captures again itself.
// Pen input goes to the capture window when there is one, else to the
// deepest visible window under the pen, in client coordinates of the window
// it reaches; outside a captured window they are negative and arrive as
// large unsigned 16-bit values, as the platform packs them. A disabled
// window (one in a disabled parent too) takes nothing: the input is eaten,
// as under a modal dialog. The host sends no non-client messages, so a tap
// on a caption or border fails loudly and is dropped.
#include <cstdio>
#include <cstdlib>

#include <windows.h>

#include "wince/host/windows.h"
#include "wince/kernel/not_implemented.h"
#include "wince/user/window_internal.h"

namespace wince::win {
namespace {

// The platform's double-click defaults: 500 ms and a 4-pixel box.
constexpr uint64_t kDoubleClickTime = 500;
constexpr LONG kDoubleClickHalfBox = 2;

struct Pen {
  HWND capture = nullptr;
  bool down = false;
  // The last pen-down, for CS_DBLCLKS windows.
  HWND lastDownWindow = nullptr;
  uint64_t lastDownTime = 0;
  POINT lastDownPoint{0, 0};
};

Pen& State() {
  static Pen pen;
  return pen;
}

// Whether the window's rectangle (frame included) holds a screen point.
bool Contains(const Window& w, POINT screen) {
  POINT o = ScreenOrigin(w);
  o.x -= w.frame.left;
  o.y -= w.frame.top;
  return screen.x >= o.x && screen.x < o.x + Width(w) && screen.y >= o.y &&
         screen.y < o.y + Height(w);
}

bool InClientArea(const Window& w, POINT screen) {
  POINT o = ScreenOrigin(w);
  return screen.x >= o.x && screen.x < o.x + ClientWidth(w) && screen.y >= o.y &&
         screen.y < o.y + ClientHeight(w);
}

HWND HitTest(HWND hwnd, POINT screen) {
  Window* w = Lookup(hwnd);
  if (!w) return nullptr;
  for (HWND child : w->children) {  // topmost first
    Window* c = Lookup(child);
    if (c && (c->style & WS_VISIBLE) && Contains(*c, screen)) return HitTest(child, screen);
  }
  return hwnd;
}

bool IsDoubleClick(const Window& target, POINT screen, uint64_t now) {
  const Pen& p = State();
  return (target.cls->style & CS_DBLCLKS) && p.lastDownWindow == target.handle &&
         now - p.lastDownTime <= kDoubleClickTime &&
         std::labs(screen.x - p.lastDownPoint.x) <= kDoubleClickHalfBox &&
         std::labs(screen.y - p.lastDownPoint.y) <= kDoubleClickHalfBox;
}

bool PostPen(HWND hwnd, int x, int y, UINT message) {
  Window* w = Lookup(hwnd);
  if (!w) {
    std::fprintf(stderr, "wince: pen input for a window that does not exist\n");
    return false;
  }
  POINT o = ScreenOrigin(*w);
  POINT screen{o.x + x, o.y + y};
  Pen& p = State();
  bool captured = Lookup(p.capture) != nullptr;
  HWND target = captured ? p.capture : HitTest(hwnd, screen);
  Window* t = Lookup(target);
  if (!captured && !Enabled(*t)) return true;  // a disabled window takes no input
  if (!captured && !InClientArea(*t, screen)) {
    if (message == WM_LBUTTONDOWN)
      NotImplemented("pen input", "taps on a caption or border (non-client messages)");
    return true;
  }
  POINT to = ScreenOrigin(*t);
  uint64_t now = Now();
  if (message == WM_LBUTTONDOWN) {
    if (IsDoubleClick(*t, screen, now)) {
      message = WM_LBUTTONDBLCLK;
      p.lastDownWindow = nullptr;
    } else {
      p.lastDownWindow = target;
      p.lastDownTime = now;
      p.lastDownPoint = screen;
    }
    p.down = true;
  } else if (message == WM_LBUTTONUP) {
    p.down = false;
  }
  MSG m{};
  m.hwnd = target;
  m.message = message;
  m.wParam = p.down ? MK_LBUTTON : 0;
  m.lParam = MAKELPARAM(screen.x - to.x, screen.y - to.y);
  m.time = static_cast<DWORD>(now);
  m.pt = screen;
  PostInput(m);
  return true;
}

}  // namespace

HWND CaptureWindow() { return State().capture; }

void ReleaseCaptureOf(HWND hwnd) {
  if (State().capture && IsDescendant(State().capture, hwnd)) ReleaseCapture();
}

void ResetCapture() { State() = Pen{}; }

}  // namespace wince::win

namespace wince::host {

bool PenDown(HWND hwnd, int x, int y) { return win::PostPen(hwnd, x, y, WM_LBUTTONDOWN); }
bool PenMove(HWND hwnd, int x, int y) { return win::PostPen(hwnd, x, y, WM_MOUSEMOVE); }
bool PenUp(HWND hwnd, int x, int y) { return win::PostPen(hwnd, x, y, WM_LBUTTONUP); }

}  // namespace wince::host

using namespace wince::win;

extern "C" HWND WINAPI SetCapture(HWND hwnd) {
  if (hwnd && !WindowOf(hwnd)) return nullptr;
  HWND previous = State().capture;
  State().capture = hwnd;
  if (previous && Lookup(previous))
    Send(previous, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(hwnd));
  return previous;
}

// Succeeds whether or not a window had the capture.
extern "C" BOOL WINAPI ReleaseCapture(void) {
  HWND previous = State().capture;
  State().capture = nullptr;
  if (previous && Lookup(previous)) Send(previous, WM_CAPTURECHANGED, 0, 0);
  return TRUE;
}

extern "C" HWND WINAPI GetCapture(void) { return State().capture; }
