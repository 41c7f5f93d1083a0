// Where windows are and whether they show: ShowWindow, IsWindowVisible,
// SetWindowPos, MoveWindow, GetClientRect, GetWindowRect, ClientToScreen,
// ScreenToClient, and GetWindow's walk of the z-order.
//
// Every change of place, size or visibility goes through SetWindowPos, which
// sends WM_WINDOWPOSCHANGING and WM_WINDOWPOSCHANGED (DefWindowProcW turns
// the latter into WM_MOVE and WM_SIZE). What the change uncovers is
// invalidated with erase: the window itself when it shows, moves or grows,
// and the part of the parent it left. A top-level window whose size changes
// gets a new surface holding what the old one had in common with it.
// SWP_FRAMECHANGED takes the frame from the window's styles again.
#include <algorithm>

#include <windows.h>

#include "wince/gdi/surface.h"
#include "wince/kernel/not_implemented.h"
#include "wince/user/window_internal.h"

namespace wince::win {
namespace {

void InvalidateParentArea(Window& w) {
  Window* p = w.parent ? Lookup(w.parent) : nullptr;
  if (p) Invalidate(*p, &w.rect, true);
}

void Reorder(Window& w, HWND after) {
  Window* p = w.parent ? Lookup(w.parent) : nullptr;
  if (!p) return;  // top-level windows have their own surfaces: no stacking
  auto& list = p->children;
  list.erase(std::remove(list.begin(), list.end(), w.handle), list.end());
  if (after == HWND_TOP || after == HWND_TOPMOST || after == HWND_NOTOPMOST) {
    list.insert(list.begin(), w.handle);
  } else if (after == HWND_BOTTOM) {
    list.push_back(w.handle);
  } else {
    auto it = std::find(list.begin(), list.end(), after);
    list.insert(it == list.end() ? list.begin() : it + 1, w.handle);
  }
}

void ResizeSurface(Window& w) {
  auto old = w.surface;
  auto fresh = gdi::CreateScreenSurface(Width(w), Height(w), RGB(255, 255, 255));
  if (!fresh) return;  // too large: keep drawing into the old one
  if (old) {
    int cw = std::min(old->width, fresh->width), ch = std::min(old->height, fresh->height);
    for (int y = 0; y < ch; ++y)
      std::copy_n(&old->At(0, y), cw, &fresh->At(0, y));
  }
  w.surface = fresh;
}

}  // namespace
}  // namespace wince::win

using namespace wince::win;

extern "C" BOOL WINAPI SetWindowPos(HWND hwnd, HWND after, int x, int y, int cx, int cy,
                                    UINT flags) {
  Window* w = WindowOf(hwnd);
  if (!w) return FALSE;
  WINDOWPOS wp{hwnd, after, x, y, cx, cy, flags};
  if (flags & SWP_NOMOVE) {
    wp.x = w->rect.left;
    wp.y = w->rect.top;
  }
  if (flags & SWP_NOSIZE) {
    wp.cx = Width(*w);
    wp.cy = Height(*w);
  }
  Send(hwnd, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&wp));
  if (!(w = Lookup(hwnd))) return FALSE;

  RECT target{wp.x, wp.y, wp.x + std::max(wp.cx, 0), wp.y + std::max(wp.cy, 0)};
  bool moved = target.left != w->rect.left || target.top != w->rect.top;
  bool sized = Width(*w) != target.right - target.left || Height(*w) != target.bottom - target.top;
  bool hide = (flags & SWP_HIDEWINDOW) && (w->style & WS_VISIBLE);
  bool show = (flags & SWP_SHOWWINDOW) && !(w->style & WS_VISIBLE);
  bool redraw = !(flags & SWP_NOREDRAW);
  bool wasVisible = Visible(*w);

  if (wasVisible && (hide || (redraw && (moved || sized)))) InvalidateParentArea(*w);
  if (hide) {
    ValidateTree(*w);
    w->style &= ~WS_VISIBLE;
  }
  w->rect = target;
  if (sized && !w->parent) ResizeSurface(*w);
  bool frameChanged = false;
  if (flags & SWP_FRAMECHANGED) {
    RECT frame = FrameOf(w->style, w->exStyle);
    frameChanged = !EqualRect(&frame, &w->frame);
    w->frame = frame;
  }
  if (!(flags & SWP_NOZORDER)) Reorder(*w, wp.hwndInsertAfter);
  if (show) w->style |= WS_VISIBLE;
  RefreshDCs(*w);
  // A top-level window that only moves keeps its pixels: they are its own.
  bool exposed = show || (redraw && (sized || frameChanged || (moved && w->parent)));
  if (exposed && Visible(*w)) InvalidateTree(*w);

  WINDOWPOS done = wp;
  done.x = w->rect.left;
  done.y = w->rect.top;
  done.cx = Width(*w);
  done.cy = Height(*w);
  if (!moved) done.flags |= SWP_NOMOVE;
  if (!sized) done.flags |= SWP_NOSIZE;
  Send(hwnd, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&done));
  return TRUE;
}

extern "C" BOOL WINAPI MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint) {
  UINT flags = SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0 : SWP_NOREDRAW);
  return SetWindowPos(hwnd, nullptr, x, y, width, height, flags);
}

// Returns whether the window was visible before. Showing a visible window or
// hiding a hidden one sends nothing.
extern "C" BOOL WINAPI ShowWindow(HWND hwnd, int command) {
  Window* w = WindowOf(hwnd);
  if (!w) return FALSE;
  BOOL wasVisible = (w->style & WS_VISIBLE) ? TRUE : FALSE;
  bool show;
  switch (command) {
    case SW_HIDE: show = false; break;
    case SW_SHOWNORMAL:
    case SW_SHOWNOACTIVATE:
    case SW_SHOW:
    case SW_SHOWNA:
    case SW_RESTORE: show = true; break;
    default:
      wince::NotImplemented("ShowWindow", "minimised and maximised windows");
      return wasVisible;
  }
  if (show == static_cast<bool>(wasVisible)) return wasVisible;
  Send(hwnd, WM_SHOWWINDOW, show ? TRUE : FALSE, 0);
  if (!Lookup(hwnd)) return wasVisible;
  UINT flags = SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE;
  SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, flags | (show ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
  return wasVisible;
}

extern "C" BOOL WINAPI IsWindowVisible(HWND hwnd) {
  Window* w = Lookup(hwnd);
  return w && Visible(*w) ? TRUE : FALSE;
}

extern "C" BOOL WINAPI GetClientRect(HWND hwnd, LPRECT rect) {
  Window* w = WindowOf(hwnd);
  if (!w) return FALSE;
  if (!rect) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  *rect = RECT{0, 0, ClientWidth(*w), ClientHeight(*w)};
  return TRUE;
}

extern "C" BOOL WINAPI GetWindowRect(HWND hwnd, LPRECT rect) {
  Window* w = WindowOf(hwnd);
  if (!w) return FALSE;
  if (!rect) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  POINT o = ScreenOrigin(*w);
  o.x -= w->frame.left;
  o.y -= w->frame.top;
  *rect = RECT{o.x, o.y, o.x + Width(*w), o.y + Height(*w)};
  return TRUE;
}

extern "C" BOOL WINAPI ClientToScreen(HWND hwnd, LPPOINT point) {
  Window* w = WindowOf(hwnd);
  if (!w || !point) return FALSE;
  POINT o = ScreenOrigin(*w);
  point->x += o.x;
  point->y += o.y;
  return TRUE;
}

extern "C" BOOL WINAPI ScreenToClient(HWND hwnd, LPPOINT point) {
  Window* w = WindowOf(hwnd);
  if (!w || !point) return FALSE;
  POINT o = ScreenOrigin(*w);
  point->x -= o.x;
  point->y -= o.y;
  return TRUE;
}

// Siblings in z-order, topmost first; top-level windows in creation order.
extern "C" HWND WINAPI GetWindow(HWND hwnd, UINT command) {
  Window* w = WindowOf(hwnd);
  if (!w) return nullptr;
  if (command == GW_OWNER) return w->parent ? nullptr : w->owner;
  if (command == GW_CHILD) return w->children.empty() ? nullptr : w->children.front();
  Window* p = w->parent ? Lookup(w->parent) : nullptr;
  const std::vector<HWND>& siblings = p ? p->children : TopLevelWindows();
  auto it = std::find(siblings.begin(), siblings.end(), hwnd);
  switch (command) {
    case GW_HWNDFIRST: return siblings.empty() ? nullptr : siblings.front();
    case GW_HWNDLAST: return siblings.empty() ? nullptr : siblings.back();
    case GW_HWNDNEXT:
      return it == siblings.end() || it + 1 == siblings.end() ? nullptr : *(it + 1);
    case GW_HWNDPREV: return it == siblings.begin() || it == siblings.end() ? nullptr : *(it - 1);
    default: SetLastError(ERROR_INVALID_PARAMETER); return nullptr;
  }
}
