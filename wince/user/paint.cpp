// Painting: InvalidateRect, ValidateRect, GetUpdateRect, UpdateWindow,
// BeginPaint, EndPaint, GetDC and ReleaseDC.
//
// The update region is a bounding rectangle in client coordinates plus the
// erase flag; only visible windows collect one (a window that shows is
// invalidated whole anyway). InvalidateRect only accumulates; WM_PAINT comes
// from the queue when nothing else waits, or at once from UpdateWindow.
// BeginPaint draws the window's frame when it was exposed, validates, sends
// WM_ERASEBKGND when erasing was asked and hands out a DC clipped to the
// update rectangle. GetDC hands out a DC onto the whole client area. Both
// draw into the top-level window's surface at the window's client origin,
// clipped to the client area and to every ancestor's; a hidden window's DC
// draws nothing, as on the device.
#include <algorithm>

#include <windows.h>

#include "wince/gdi/surface.h"
#include "wince/kernel/not_implemented.h"
#include "wince/user/window_internal.h"

namespace wince::win {
namespace {

RECT PaintClip(const Window& w, const WindowDC& dc) {
  RECT clip = SurfaceClip(w);
  if (!dc.paint) return clip;
  POINT o = SurfaceOrigin(w);
  RECT part = dc.paintRect;
  OffsetRect(&part, o.x, o.y);
  if (!IntersectRect(&clip, &clip, &part)) return RECT{0, 0, 0, 0};
  return clip;
}

HDC MakeDC(Window& w, bool paint, RECT paintRect) {
  auto surface = SurfaceOf(w);
  WindowDC entry{nullptr, paint, paintRect};
  HDC hdc = gdi::CreateSurfaceDC(surface, SurfaceOrigin(w), PaintClip(w, entry));
  if (!hdc) return nullptr;
  entry.hdc = hdc;
  w.dcs.push_back(entry);
  return hdc;
}

bool Forget(Window& w, HDC hdc, bool paint) {
  auto it = std::find_if(w.dcs.begin(), w.dcs.end(),
                         [&](const WindowDC& d) { return d.hdc == hdc && d.paint == paint; });
  if (it == w.dcs.end()) return false;
  w.dcs.erase(it);
  DeleteDC(hdc);
  return true;
}

void Clear(Window& w) {
  w.hasUpdate = false;
  w.update = RECT{0, 0, 0, 0};
  w.erase = false;
}

// Takes `cut` out of the bounding rectangle where the rest stays a
// rectangle: when it covers it, or a whole band along one edge.
void Subtract(Window& w, const RECT& cut) {
  RECT& u = w.update;
  bool spansX = cut.left <= u.left && cut.right >= u.right;
  bool spansY = cut.top <= u.top && cut.bottom >= u.bottom;
  if (spansX && spansY) {
    Clear(w);
  } else if (spansX && cut.top <= u.top && cut.bottom > u.top) {
    u.top = cut.bottom;
  } else if (spansX && cut.bottom >= u.bottom && cut.top < u.bottom) {
    u.bottom = cut.top;
  } else if (spansY && cut.left <= u.left && cut.right > u.left) {
    u.left = cut.right;
  } else if (spansY && cut.right >= u.right && cut.left < u.right) {
    u.right = cut.left;
  }
}

void PaintTree(HWND hwnd) {
  Window* w = Lookup(hwnd);
  if (!w) return;
  if (Visible(*w) && w->hasUpdate) Send(hwnd, WM_PAINT, 0, 0);
  if (!(w = Lookup(hwnd))) return;
  std::vector<HWND> children = w->children;
  // Bottom of the stacking order first, so upper siblings paint over lower.
  for (auto it = children.rbegin(); it != children.rend(); ++it) PaintTree(*it);
}

HWND FirstToPaint(HWND hwnd, HWND filter) {
  Window* w = Lookup(hwnd);
  if (!w || !Visible(*w)) return nullptr;
  if (w->hasUpdate && MatchesFilter(hwnd, filter)) return hwnd;
  for (auto it = w->children.rbegin(); it != w->children.rend(); ++it)
    if (HWND found = FirstToPaint(*it, filter)) return found;
  return nullptr;
}

}  // namespace

void Invalidate(Window& w, const RECT* rect, bool erase) {
  if (!Visible(w)) return;
  RECT client{0, 0, ClientWidth(w), ClientHeight(w)};
  RECT r = client;
  if (rect && !IntersectRect(&r, rect, &client)) return;
  if (IsRectEmpty(&r)) return;
  if (w.hasUpdate) {
    UnionRect(&w.update, &w.update, &r);
  } else {
    w.update = r;
    w.hasUpdate = true;
  }
  w.erase = w.erase || erase;
}

void InvalidateTree(Window& w) {
  Invalidate(w, nullptr, true);
  if (Visible(w)) w.frameDirty = true;
  for (HWND child : w.children)
    if (Window* c = Lookup(child)) InvalidateTree(*c);
}

void ValidateTree(Window& w) {
  Clear(w);
  for (HWND child : w.children)
    if (Window* c = Lookup(child)) ValidateTree(*c);
}

HWND WindowToPaint(HWND filter) {
  for (HWND top : TopLevelWindows())
    if (HWND found = FirstToPaint(top, filter)) return found;
  return nullptr;
}

void RefreshDCs(Window& w) {
  for (const WindowDC& dc : w.dcs) gdi::SetSurfaceDCGeometry(dc.hdc, SurfaceOrigin(w), PaintClip(w, dc));
  for (HWND child : w.children)
    if (Window* c = Lookup(child)) RefreshDCs(*c);
}

void DropDCs(Window& w) {
  for (const WindowDC& dc : w.dcs) DeleteDC(dc.hdc);
  w.dcs.clear();
}

}  // namespace wince::win

using namespace wince::win;

extern "C" BOOL WINAPI InvalidateRect(HWND hwnd, CONST RECT* rect, BOOL erase) {
  if (!hwnd) {
    // The whole screen: every window, whatever the rectangle says.
    for (HWND h : AllWindows())
      if (Window* w = Lookup(h)) Invalidate(*w, nullptr, erase != FALSE);
    return TRUE;
  }
  Window* w = WindowOf(hwnd);
  if (!w) return FALSE;
  Invalidate(*w, rect, erase != FALSE);
  return TRUE;
}

extern "C" BOOL WINAPI ValidateRect(HWND hwnd, CONST RECT* rect) {
  if (!hwnd) {
    // The platform documents this as invalidating and redrawing every window.
    InvalidateRect(nullptr, nullptr, TRUE);
    std::vector<HWND> top = TopLevelWindows();
    for (HWND h : top) UpdateWindow(h);
    return TRUE;
  }
  Window* w = WindowOf(hwnd);
  if (!w) return FALSE;
  if (!w->hasUpdate) return TRUE;
  if (!rect) {
    Clear(*w);
  } else {
    Subtract(*w, *rect);
  }
  return TRUE;
}

extern "C" BOOL WINAPI GetUpdateRect(HWND hwnd, LPRECT rect, BOOL erase) {
  Window* w = WindowOf(hwnd);
  if (!w) return FALSE;
  if (rect) *rect = w->hasUpdate ? w->update : RECT{0, 0, 0, 0};
  if (!w->hasUpdate) return FALSE;
  if (erase && w->erase) {
    w->erase = false;
    HDC hdc = MakeDC(*w, true, w->update);
    if (hdc) {
      Send(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(hdc), 0);
      if ((w = Lookup(hwnd))) Forget(*w, hdc, true);
    }
  }
  return TRUE;
}

// Sends WM_PAINT at once to the window and to those of its descendants
// whose update region is not empty; a procedure that does not validate is
// not asked again here.
extern "C" BOOL WINAPI UpdateWindow(HWND hwnd) {
  if (!WindowOf(hwnd)) return FALSE;
  PaintTree(hwnd);
  return TRUE;
}

extern "C" HDC WINAPI BeginPaint(HWND hwnd, LPPAINTSTRUCT ps) {
  Window* w = WindowOf(hwnd);
  if (!w) return nullptr;
  if (!ps) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  // The frame comes first, as WM_NCPAINT does on the platform.
  if (w->frameDirty) {
    w->frameDirty = false;
    DrawFrame(*w);
  }
  RECT paint = w->hasUpdate ? w->update : RECT{0, 0, 0, 0};
  bool erase = w->hasUpdate && w->erase;
  Clear(*w);
  HDC hdc = MakeDC(*w, true, paint);
  if (!hdc) return nullptr;
  BOOL fErase = FALSE;
  if (erase) fErase = Send(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(hdc), 0) ? FALSE : TRUE;
  *ps = PAINTSTRUCT{};
  ps->hdc = hdc;
  ps->fErase = fErase;
  ps->rcPaint = paint;
  return hdc;
}

// Always succeeds, as on the platform.
extern "C" BOOL WINAPI EndPaint(HWND hwnd, CONST PAINTSTRUCT* ps) {
  if (!ps || !ps->hdc) return TRUE;
  if (Window* w = Lookup(hwnd); w && Forget(*w, ps->hdc, true)) return TRUE;
  for (HWND h : AllWindows())
    if (Window* w = Lookup(h); w && Forget(*w, ps->hdc, true)) break;
  return TRUE;
}

extern "C" HDC WINAPI GetDC(HWND hwnd) {
  if (!hwnd) {
    hwnd = ScreenWindow();
    if (!hwnd) {
      wince::NotImplemented("GetDC", "the screen DC needs a screen window (wince::host::CreateScreen)");
      return nullptr;
    }
  }
  Window* w = WindowOf(hwnd);
  if (!w) return nullptr;
  return MakeDC(*w, false, RECT{0, 0, 0, 0});
}

// 1 when the DC was one that GetDC handed out, else 0.
extern "C" int WINAPI ReleaseDC(HWND hwnd, HDC hdc) {
  if (!hdc) return 0;
  if (Window* w = Lookup(hwnd ? hwnd : ScreenWindow()); w && Forget(*w, hdc, false)) return 1;
  for (HWND h : AllWindows())
    if (Window* w = Lookup(h); w && Forget(*w, hdc, false)) return 1;
  return 0;
}
