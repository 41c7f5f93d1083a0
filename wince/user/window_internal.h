// The window manager's shared state: window classes, the window tree, the
// message queue, timers on the virtual clock, pen capture, painting, frames,
// focus and activation. Only the window_*.cpp, message_queue.cpp, timer.cpp,
// capture.cpp, paint.cpp, nonclient.cpp, focus.cpp and default_proc.cpp
// files change it; the dialog and control files read it.
//
// The model, as on a Windows CE device:
// - There is one thread, so one queue; SendMessageW calls the procedure.
// - A window's rectangle holds its frame and its client area. The frame
//   (nonclient.cpp) is a caption strip for WS_CAPTION and a one-pixel
//   border for WS_BORDER or WS_DLGFRAME; most windows have none, and then
//   the client area is the whole rectangle.
// - Each top-level window owns a 32-bit surface the size of its rectangle;
//   children draw into their top-level ancestor's surface, clipped to their
//   client area and to each ancestor's client area.
// - The update region is kept as a bounding rectangle (client coordinates)
//   plus the erase flag. A bounding rectangle may ask for a little more
//   painting than the platform would, never less.
// - A window object lives from CreateWindowExW until WM_NCDESTROY returns;
//   while it is being destroyed IsWindow still answers TRUE.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <windows.h>

#include "wince/gdi/internal.h"

namespace wince::win {

struct WindowClass {
  std::u16string name;
  ATOM atom = 0;
  UINT style = 0;
  WNDPROC proc = nullptr;
  int clsExtra = 0;
  int wndExtra = 0;
  HINSTANCE instance = nullptr;
  HICON icon = nullptr;
  HCURSOR cursor = nullptr;
  HBRUSH background = nullptr;
  LPCWSTR menuName = nullptr;  // kept as given, as GetClassInfoW hands it back
  int windows = 0;             // live windows of this class
  bool system = false;         // the host's own: the dialog class and the controls
};

// A display DC handed out for a window. A paint DC is also clipped to the
// update rectangle that BeginPaint took (client coordinates).
struct WindowDC {
  HDC hdc = nullptr;
  bool paint = false;
  RECT paintRect{0, 0, 0, 0};
};

struct Window {
  HWND handle = nullptr;
  std::shared_ptr<WindowClass> cls;
  WNDPROC proc = nullptr;
  HWND parent = nullptr;  // WS_CHILD windows only
  HWND owner = nullptr;   // top-level windows created with a parent
  std::vector<HWND> children;  // z-order, topmost first
  DWORD style = 0;
  DWORD exStyle = 0;
  RECT rect{0, 0, 0, 0};  // relative to the parent's client area, or the screen
  RECT frame{0, 0, 0, 0};  // the frame's width on each side (left, top, right, bottom)
  HINSTANCE instance = nullptr;
  LONG_PTR id = 0;  // the menu argument of a child
  LONG_PTR userData = 0;
  std::vector<BYTE> extra;
  std::u16string text;
  // Painting
  bool hasUpdate = false;
  RECT update{0, 0, 0, 0};  // client coordinates
  bool erase = false;
  std::vector<WindowDC> dcs;  // from GetDC and BeginPaint, not yet released
  std::shared_ptr<gdi::Surface> surface;  // top-level windows only
  bool frameDirty = false;  // the frame is drawn again at the next BeginPaint
  // Life cycle
  bool destroying = false;
  bool created = false;  // WM_CREATE has returned success
};

// ---- windows (window.cpp)
// The window of a handle; nullptr with ERROR_INVALID_WINDOW_HANDLE.
Window* WindowOf(HWND hwnd);
// The same without touching the last error.
Window* Lookup(HWND hwnd);
// Top-level windows in creation order.
const std::vector<HWND>& TopLevelWindows();
// Every live window handle, parents before children.
std::vector<HWND> AllWindows();
bool IsDescendant(HWND window, HWND ancestor);  // window == ancestor counts
// WS_VISIBLE on the window and every ancestor.
bool Visible(const Window& w);
// The whole window's size, and its client area's.
int Width(const Window& w);
int Height(const Window& w);
int ClientWidth(const Window& w);
int ClientHeight(const Window& w);
// The client origin of a window on its top-level surface, and its clip there
// (client area cut by every ancestor's client area; empty while hidden).
POINT SurfaceOrigin(const Window& w);
RECT SurfaceClip(const Window& w);
// The same for the whole window, frame included.
RECT WindowClipOnSurface(const Window& w);
// The client origin in screen coordinates.
POINT ScreenOrigin(const Window& w);
// The top-level window a window draws into.
Window* TopLevelOf(Window& w);
// The surface of the top-level ancestor; nullptr only for a window without one.
std::shared_ptr<gdi::Surface> SurfaceOf(Window& w);
// Whether a message for `window` passes a GetMessageW/PeekMessageW window
// filter: NULL takes everything, (HWND)-1 only thread messages, a window
// itself and its descendants.
bool MatchesFilter(HWND window, HWND filter);
// The window GetDC(NULL) draws into (the host's screen), or NULL.
HWND ScreenWindow();
void SetScreenWindow(HWND hwnd);
// Calls a window's procedure; 0 when the window is gone.
LRESULT Send(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// Erases every trace of the window manager (test hook).
void ResetWindowClasses();
void ResetWindowTree();

// ---- classes (window_class.cpp)
// Finds a class of the instance, then a global one, then one of the
// system's (registered on first use, control_classes.cpp).
std::shared_ptr<WindowClass> FindClassForWindow(LPCWSTR name, HINSTANCE instance);
// Registers the system's classes: the dialog class and the controls.
void RegisterSystemClasses();

// ---- frames (nonclient.cpp)
// The frame a style gives: its width on each side.
RECT FrameOf(DWORD style, DWORD exStyle);
// Draws the caption and border of a window into its surface (nothing for a
// window without a frame, or hidden).
void DrawFrame(Window& w);

// ---- focus and activation (focus.cpp)
// Forgets a window that is being destroyed as the focus or active window,
// without messages.
void ForgetFocusOf(HWND hwnd);
// Another application's window takes the activation: the active window gets
// WM_ACTIVATE(WA_INACTIVE, NULL) and the thread keeps no focus.
void ActivateOtherApplication();
// A window is enabled when it and every ancestor are.
bool Enabled(const Window& w);
void ResetFocus();

// ---- message queue (message_queue.cpp)
void PostInput(const MSG& msg);
// Called by GetMessageW when nothing is waiting; true when it supplied input.
std::function<bool()>& IdleHandler();
void PurgeWindowMessages(HWND hwnd);
void ResetQueue();

// ---- timers (timer.cpp)
// The virtual clock, in milliseconds since the host started (or was reset).
uint64_t Now();
void SetNow(uint64_t now);
// The earliest due time of the timers that pass the filter, or UINT64_MAX.
uint64_t NextTimerDue(HWND filter);
// A due timer that matches the filter; fills msg (hwnd, WM_TIMER, id, proc)
// and, when removing, restarts its period.
bool TakeDueTimer(HWND filter, bool remove, MSG& msg);
void KillWindowTimers(HWND hwnd);
void ResetTimers();

// ---- capture (capture.cpp)
HWND CaptureWindow();
// Drops the capture of a window that is going away, with WM_CAPTURECHANGED.
void ReleaseCaptureOf(HWND hwnd);
void ResetCapture();

// ---- painting (paint.cpp)
// Adds a client rectangle (nullptr: all of it) to the update region.
void Invalidate(Window& w, const RECT* rect, bool erase);
// Invalidates the window and every visible descendant with erase.
void InvalidateTree(Window& w);
// Clears the update region of the window and its descendants.
void ValidateTree(Window& w);
// The first visible window (matching the filter) whose update region is not
// empty, parents before children; nullptr when none.
HWND WindowToPaint(HWND filter);
// Moves the live DCs of a window and its descendants to their geometry.
void RefreshDCs(Window& w);
// Deletes the DCs a window still holds (it is being destroyed).
void DropDCs(Window& w);

}  // namespace wince::win
