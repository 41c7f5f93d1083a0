// Test and tool hooks of the host's window manager: the virtual clock, pen
// input as the touch screen delivers it, running the message loop, a screen
// window to put windows on, and read back of what windows drew.
//
// Time only passes through AdvanceClock (or a GetMessageW that has nothing
// else to do but wait for a timer), so a test decides exactly when each
// WM_TIMER comes.
#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>

#include <windows.h>

#include "wince/host/surface.h"

namespace wince::host {

// ---- the clock and the message loop
// Milliseconds since the host started (GetTickCount's value).
DWORD VirtualTime();
// Lets `milliseconds` pass, running the message loop at each moment a timer
// falls due and at the end, so every WM_TIMER arrives at its virtual time.
// False when the loop retrieved WM_QUIT on the way.
bool AdvanceClock(DWORD milliseconds);
// Lets time pass while the thread is busy: nothing is dispatched, timers
// just fall due (one WM_TIMER at most waits per timer, however long).
void PassTime(DWORD milliseconds);
// Retrieves and dispatches everything waiting now (posted, pen, paint and
// due timer messages) without letting time pass. False when it retrieved
// WM_QUIT (and stopped there). A loop that never runs dry (a WM_PAINT that
// never validates, a procedure that keeps posting) is cut off with a line
// on stderr.
bool PumpMessages();
// Called by GetMessageW when nothing waits, before the clock moves on to the
// next timer: a driver (a script, a modal dialog's user) supplies input here
// and returns true, or returns false to let time pass. Empty to clear.
void SetIdleHandler(std::function<bool()> handler);

// ---- pen input
// The pen touches, moves or lifts at (x, y) in the client coordinates of
// `hwnd`. The message goes to the capture window if there is one, else to the
// deepest visible child of `hwnd` under the pen (or `hwnd` itself), queued as
// input with that window's client coordinates: WM_LBUTTONDOWN and
// WM_MOUSEMOVE carry MK_LBUTTON while the pen is down, WM_LBUTTONUP does not.
// False (and a line on stderr) when `hwnd` is not a window.
bool PenDown(HWND hwnd, int x, int y);
bool PenMove(HWND hwnd, int x, int y);
bool PenUp(HWND hwnd, int x, int y);

// ---- the screen and read back
// A visible top-level window of the given size at (0, 0), white, standing in
// for the device's screen: the parent for windows under test and what
// GetDC(NULL) draws into. A later call makes a new screen.
HWND CreateScreen(int width, int height);
// The surface a window draws into (its top-level window's), whole.
std::optional<SurfaceView> ViewOfWindow(HWND hwnd);
// Where the visible part of a window's client area lies on that surface;
// empty when the window is hidden, nullopt when it is not a window.
std::optional<RECT> ClientAreaOnSurface(HWND hwnd);
// A pixel of a window's client area, in client coordinates; CLR_INVALID
// outside its visible part.
COLORREF WindowPixel(HWND hwnd, int x, int y);
// Saves the visible part of a window's client area as PNG.
bool SaveWindowPng(HWND hwnd, const std::filesystem::path& file);

// ---- leak checks
// Windows alive, the screen included (a window being destroyed counts until
// WM_NCDESTROY has returned).
size_t LiveWindows();
// Classes registered with RegisterClassW and not unregistered; the host's
// own dialog and control classes are not counted.
size_t RegisteredClasses();

// Destroys every window, forgets classes, timers, queued messages, capture
// and the idle handler, and sets the clock back to 0: a clean platform for
// the next test.
void ResetWindows();

}  // namespace wince::host
