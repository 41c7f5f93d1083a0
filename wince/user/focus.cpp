// Focus, activation and enabling: SetFocus, GetFocus, SetActiveWindow,
// GetActiveWindow, SetForegroundWindow, GetForegroundWindow, EnableWindow,
// IsWindowEnabled and IsChild.
//
// One thread, so one active (top-level) window and one focus window, which
// lies inside the active one. The transitions, each naming who makes it:
//   focus A -> B     [SetFocus]  WM_KILLFOCUS(B) to A, then WM_SETFOCUS(A) to
//                    B; B's top-level window is activated first when it is
//                    not the active one (even while hidden, as the platform
//                    does)
//   active A -> B    [SetActiveWindow, SetForegroundWindow]
//                    WM_ACTIVATE(WA_INACTIVE, B) to A, then
//                    WM_ACTIVATE(WA_ACTIVE, A) to B, whose DefWindowProcW
//                    takes the focus; a focus left inside A is killed
//   active A -> none [ActivateOtherApplication] another program's window
//                    took over: WM_ACTIVATE(WA_INACTIVE, NULL) to A, then
//                    WM_KILLFOCUS to the focus window
//   enabled -> disabled [EnableWindow(FALSE)] the focus leaves the window
//                    (WM_KILLFOCUS), the capture is released, WM_ENABLE(FALSE)
// A window that is destroyed is simply forgotten as focus or active window.
// The host has no non-client messages, so WM_NCACTIVATE is not sent; a
// caption is drawn again in its active or inactive colour instead.
#include <windows.h>

#include "wince/user/window_internal.h"

namespace wince::win {
namespace {

struct Focus {
  HWND focus = nullptr;
  HWND active = nullptr;
};

Focus& State() {
  static Focus focus;
  return focus;
}

void RedrawCaption(HWND hwnd) {
  if (Window* w = Lookup(hwnd); w && (w->style & WS_CAPTION) == WS_CAPTION) DrawFrame(*w);
}

// Moves the focus without activating anything.
void MoveFocus(HWND to) {
  HWND from = State().focus;
  if (from == to) return;
  State().focus = to;
  if (from && Lookup(from)) Send(from, WM_KILLFOCUS, reinterpret_cast<WPARAM>(to), 0);
  // The focus may have moved again meanwhile; only the window that holds it
  // is told.
  if (to && State().focus == to && Lookup(to))
    Send(to, WM_SETFOCUS, reinterpret_cast<WPARAM>(from), 0);
}

bool Activate(HWND to) {
  Focus& s = State();
  HWND from = s.active;
  if (from == to) return true;
  s.active = to;
  if (from && Lookup(from)) {
    Send(from, WM_ACTIVATE, WA_INACTIVE, reinterpret_cast<LPARAM>(to));
    RedrawCaption(from);
  }
  if (to && s.active == to && Lookup(to)) {
    RedrawCaption(to);
    Send(to, WM_ACTIVATE, WA_ACTIVE, reinterpret_cast<LPARAM>(from));
  }
  // A focus left behind in the window that lost the activation goes.
  if (s.focus && (!s.active || !IsDescendant(s.focus, s.active))) MoveFocus(nullptr);
  return true;
}

HWND TopLevelHandle(HWND hwnd) {
  Window* w = Lookup(hwnd);
  return w ? TopLevelOf(*w)->handle : nullptr;
}

}  // namespace

bool Enabled(const Window& w) {
  for (const Window* p = &w; p; p = p->parent ? Lookup(p->parent) : nullptr) {
    if (p->style & WS_DISABLED) return false;
  }
  return true;
}

void ForgetFocusOf(HWND hwnd) {
  Focus& s = State();
  if (s.focus && IsDescendant(s.focus, hwnd)) s.focus = nullptr;
  if (s.active == hwnd) s.active = nullptr;
}

void ActivateOtherApplication() {
  Focus& s = State();
  HWND from = s.active;
  if (!from) return;
  s.active = nullptr;
  if (Lookup(from)) {
    Send(from, WM_ACTIVATE, WA_INACTIVE, 0);
    RedrawCaption(from);
  }
  if (!s.active) MoveFocus(nullptr);
}

void ResetFocus() { State() = Focus{}; }

}  // namespace wince::win

using namespace wince::win;

// The previous focus window; NULL (the focus unchanged) for a window that is
// disabled, or inside a disabled window.
extern "C" HWND WINAPI SetFocus(HWND hwnd) {
  HWND previous = State().focus;
  if (!hwnd) {
    MoveFocus(nullptr);
    return previous;
  }
  Window* w = WindowOf(hwnd);
  if (!w || !Enabled(*w)) return nullptr;
  HWND top = TopLevelOf(*w)->handle;
  if (State().active != top) {
    Activate(top);
    // Activation may have destroyed the window or given the focus elsewhere.
    if (!Lookup(hwnd) || State().active != top) return nullptr;
  }
  MoveFocus(hwnd);
  return previous;
}

extern "C" HWND WINAPI GetFocus(void) { return State().focus; }

// The previously active window. A child window is refused (NULL).
extern "C" HWND WINAPI SetActiveWindow(HWND hwnd) {
  HWND previous = State().active;
  if (!hwnd) {
    ActivateOtherApplication();
    return previous;
  }
  Window* w = WindowOf(hwnd);
  if (!w || (w->style & WS_CHILD) || !Enabled(*w)) return nullptr;
  Activate(hwnd);
  return previous;
}

extern "C" HWND WINAPI GetActiveWindow(void) { return State().active; }

extern "C" BOOL WINAPI SetForegroundWindow(HWND hwnd) {
  HWND top = TopLevelHandle(hwnd);
  if (!top) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  Window* w = Lookup(top);
  if (!Enabled(*w)) return FALSE;
  Activate(top);
  return TRUE;
}

extern "C" HWND WINAPI GetForegroundWindow(void) { return State().active; }

// Nonzero when the window was disabled before the call.
extern "C" BOOL WINAPI EnableWindow(HWND hwnd, BOOL enable) {
  Window* w = WindowOf(hwnd);
  if (!w) return FALSE;
  BOOL wasDisabled = (w->style & WS_DISABLED) ? TRUE : FALSE;
  if (enable && wasDisabled) {
    w->style &= ~WS_DISABLED;
    Send(hwnd, WM_ENABLE, TRUE, 0);
  } else if (!enable && !wasDisabled) {
    w->style |= WS_DISABLED;
    if (State().focus && IsDescendant(State().focus, hwnd)) MoveFocus(nullptr);
    if (CaptureWindow() && IsDescendant(CaptureWindow(), hwnd)) ReleaseCapture();
    Send(hwnd, WM_ENABLE, FALSE, 0);
  }
  return wasDisabled;
}

extern "C" BOOL WINAPI IsWindowEnabled(HWND hwnd) {
  Window* w = WindowOf(hwnd);
  return w && !(w->style & WS_DISABLED) ? TRUE : FALSE;
}

extern "C" BOOL WINAPI IsChild(HWND parent, HWND hwnd) {
  Window* w = Lookup(hwnd);
  if (!w || hwnd == parent || !(w->style & WS_CHILD)) return FALSE;
  return IsDescendant(hwnd, parent) ? TRUE : FALSE;
}
