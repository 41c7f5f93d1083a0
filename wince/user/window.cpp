// The window tree: CreateWindowExW, DestroyWindow, IsWindow, GetParent,
// Get/SetWindowLong, window text and SendMessageW.
//
// Creation sends WM_CREATE (a -1 answer destroys the window again and
// CreateWindowExW returns NULL), then WM_SIZE and WM_MOVE, then shows the
// window when WS_VISIBLE was asked for. Destruction destroys owned windows
// first, hides the window, drops the capture, sends WM_DESTROY to the window
// and then to its children, and WM_NCDESTROY to the children before the
// window itself.
#include <algorithm>
#include <map>
#include <memory>

#include <windows.h>

#include "wince/gdi/surface.h"
#include "wince/host/windows.h"
#include "wince/kernel/fault_points.h"
#include "wince/kernel/not_implemented.h"
#include "wince/user/window_internal.h"

namespace wince::win {
namespace {

// Handles stay small (they fit a DWORD) and are never reused, so a stale
// handle is never mistaken for a new window.
constexpr uintptr_t kFirstHandle = 0x20000;
constexpr uintptr_t kHandleStep = 4;
// What a top-level window gets for CW_USEDEFAULT without a screen.
constexpr int kDefaultWidth = 240;
constexpr int kDefaultHeight = 320;

struct Tree {
  std::map<HWND, std::unique_ptr<Window>> windows;
  std::vector<HWND> topLevel;
  uintptr_t next = kFirstHandle;
  HWND screen = nullptr;
};

Tree& State() {
  static Tree tree;
  return tree;
}

void CollectPreOrder(HWND hwnd, std::vector<HWND>& out) {
  Window* w = Lookup(hwnd);
  if (!w) return;
  out.push_back(hwnd);
  for (HWND child : w->children) CollectPreOrder(child, out);
}

void MarkDestroying(Window& w) {
  w.destroying = true;
  for (HWND child : w.children)
    if (Window* c = Lookup(child)) MarkDestroying(*c);
}

void SendDestroy(HWND hwnd) {
  Send(hwnd, WM_DESTROY, 0, 0);
  Window* w = Lookup(hwnd);
  if (!w) return;
  std::vector<HWND> children = w->children;
  for (HWND child : children) SendDestroy(child);
}

void Unlink(Window& w) {
  Tree& t = State();
  std::vector<HWND>* list = &t.topLevel;
  if (Window* p = w.parent ? Lookup(w.parent) : nullptr) list = &p->children;
  list->erase(std::remove(list->begin(), list->end(), w.handle), list->end());
  if (t.screen == w.handle) t.screen = nullptr;
}

void FreeTree(HWND hwnd) {
  Window* w = Lookup(hwnd);
  if (!w) return;
  std::vector<HWND> children = w->children;
  for (HWND child : children) FreeTree(child);
  Send(hwnd, WM_NCDESTROY, 0, 0);
  w = Lookup(hwnd);
  if (!w) return;
  KillWindowTimers(hwnd);
  PurgeWindowMessages(hwnd);
  DropDCs(*w);
  Unlink(*w);
  w->cls->windows--;
  State().windows.erase(hwnd);
}

int DefaultCoordinate(int value) { return value == CW_USEDEFAULT ? 0 : value; }

int DefaultSize(int value, bool child, int screenSize, int fallback) {
  if (value != CW_USEDEFAULT) return std::max(value, 0);
  if (child) return 0;
  return screenSize > 0 ? screenSize : fallback;
}

// Extra window bytes hold LONG and LONG_PTR values at any byte offset.
bool ExtraRange(const Window& w, int index, size_t width) {
  return index >= 0 && static_cast<size_t>(index) + width <= w.extra.size();
}

LONG_PTR ReadExtra(const Window& w, int index, size_t width) {
  uint64_t v = 0;
  for (size_t i = 0; i < width; ++i) v |= uint64_t{w.extra[index + i]} << (8 * i);
  if (width == 4) return static_cast<LONG>(static_cast<uint32_t>(v));
  return static_cast<LONG_PTR>(v);
}

void WriteExtra(Window& w, int index, size_t width, LONG_PTR value) {
  auto v = static_cast<uint64_t>(value);
  for (size_t i = 0; i < width; ++i) w.extra[index + i] = static_cast<BYTE>(v >> (8 * i));
}

// The value of a window field; false with ERROR_INVALID_INDEX when the index
// names none.
bool GetField(const Window& w, int index, size_t width, LONG_PTR& out) {
  switch (index) {
    case GWL_WNDPROC: out = reinterpret_cast<LONG_PTR>(w.proc); return true;
    case GWL_HINSTANCE: out = reinterpret_cast<LONG_PTR>(w.instance); return true;
    case GWL_HWNDPARENT:
      out = reinterpret_cast<LONG_PTR>(w.parent ? w.parent : w.owner);
      return true;
    case GWL_ID: out = w.id; return true;
    case GWL_STYLE: out = static_cast<LONG>(w.style); return true;
    case GWL_EXSTYLE: out = static_cast<LONG>(w.exStyle); return true;
    case GWL_USERDATA: out = w.userData; return true;
    default:
      if (!ExtraRange(w, index, width)) {
        SetLastError(ERROR_INVALID_INDEX);
        return false;
      }
      out = ReadExtra(w, index, width);
      return true;
  }
}

bool SetField(HWND hwnd, int index, size_t width, LONG_PTR value, LONG_PTR& previous) {
  Window* w = WindowOf(hwnd);
  if (!w || !GetField(*w, index, width, previous)) return false;
  switch (index) {
    case GWL_WNDPROC: w->proc = reinterpret_cast<WNDPROC>(value); return true;
    case GWL_ID: w->id = value; return true;
    case GWL_STYLE:
      // As on the platform, a style change sends nothing and repaints nothing;
      // only the DCs follow a change of WS_VISIBLE.
      w->style = static_cast<DWORD>(value);
      RefreshDCs(*w);
      return true;
    case GWL_EXSTYLE: w->exStyle = static_cast<DWORD>(value); return true;
    case GWL_USERDATA: w->userData = value; return true;
    case GWL_HINSTANCE:
    case GWL_HWNDPARENT:
      NotImplemented("SetWindowLongW", "GWL_HINSTANCE and GWL_HWNDPARENT cannot be changed");
      return false;
    default: WriteExtra(*w, index, width, value); return true;
  }
}

// A pointer-sized field read through the 32-bit call: on the device it fits;
// on a 64-bit host it may not, and a cut pointer would be worse than failing.
bool FitsLong(LONG_PTR value, const char* name) {
  if (value == static_cast<LONG>(value)) return true;
  NotImplemented(name, "a 64-bit pointer does not fit a LONG; use the LongPtr call");
  return false;
}

bool IsPointerField(int index) {
  return index == GWL_WNDPROC || index == GWL_HINSTANCE || index == GWL_HWNDPARENT;
}

}  // namespace

Window* Lookup(HWND hwnd) {
  auto& windows = State().windows;
  auto it = windows.find(hwnd);
  return it == windows.end() ? nullptr : it->second.get();
}

Window* WindowOf(HWND hwnd) {
  Window* w = Lookup(hwnd);
  if (!w) SetLastError(ERROR_INVALID_WINDOW_HANDLE);
  return w;
}

const std::vector<HWND>& TopLevelWindows() { return State().topLevel; }

std::vector<HWND> AllWindows() {
  std::vector<HWND> out;
  for (HWND top : State().topLevel) CollectPreOrder(top, out);
  return out;
}

bool IsDescendant(HWND window, HWND ancestor) {
  for (Window* w = Lookup(window); w; w = w->parent ? Lookup(w->parent) : nullptr) {
    if (w->handle == ancestor) return true;
  }
  return false;
}

bool MatchesFilter(HWND window, HWND filter) {
  if (!filter) return true;
  if (filter == reinterpret_cast<HWND>(-1)) return window == nullptr;
  return window && IsDescendant(window, filter);
}

bool Visible(const Window& w) {
  for (const Window* p = &w; p; p = p->parent ? Lookup(p->parent) : nullptr) {
    if (!(p->style & WS_VISIBLE)) return false;
  }
  return true;
}

int Width(const Window& w) { return w.rect.right - w.rect.left; }
int Height(const Window& w) { return w.rect.bottom - w.rect.top; }
int ClientWidth(const Window& w) {
  return std::max(0, Width(w) - static_cast<int>(w.frame.left + w.frame.right));
}
int ClientHeight(const Window& w) {
  return std::max(0, Height(w) - static_cast<int>(w.frame.top + w.frame.bottom));
}

POINT SurfaceOrigin(const Window& w) {
  POINT o{0, 0};
  if (Window* p = w.parent ? Lookup(w.parent) : nullptr) {
    o = SurfaceOrigin(*p);
    o.x += w.rect.left;
    o.y += w.rect.top;
  }
  return POINT{o.x + w.frame.left, o.y + w.frame.top};
}

namespace {

// A rectangle on the surface cut by the parent's client clip.
RECT ClipToParent(const Window& w, RECT r) {
  if (Window* p = w.parent ? Lookup(w.parent) : nullptr) {
    RECT pc = SurfaceClip(*p);
    if (!IntersectRect(&r, &r, &pc)) return RECT{0, 0, 0, 0};
  }
  return r;
}

}  // namespace

RECT SurfaceClip(const Window& w) {
  if (!Visible(w)) return RECT{0, 0, 0, 0};
  POINT o = SurfaceOrigin(w);
  return ClipToParent(w, RECT{o.x, o.y, o.x + ClientWidth(w), o.y + ClientHeight(w)});
}

RECT WindowClipOnSurface(const Window& w) {
  if (!Visible(w)) return RECT{0, 0, 0, 0};
  POINT o = SurfaceOrigin(w);
  o.x -= w.frame.left;
  o.y -= w.frame.top;
  return ClipToParent(w, RECT{o.x, o.y, o.x + Width(w), o.y + Height(w)});
}

POINT ScreenOrigin(const Window& w) {
  POINT o{w.rect.left, w.rect.top};
  if (Window* p = w.parent ? Lookup(w.parent) : nullptr) {
    POINT po = ScreenOrigin(*p);
    o.x += po.x;
    o.y += po.y;
  }
  return POINT{o.x + w.frame.left, o.y + w.frame.top};
}

Window* TopLevelOf(Window& w) {
  Window* p = &w;
  while (p->parent) {
    Window* up = Lookup(p->parent);
    if (!up) break;
    p = up;
  }
  return p;
}

std::shared_ptr<gdi::Surface> SurfaceOf(Window& w) { return TopLevelOf(w)->surface; }

HWND ScreenWindow() { return State().screen; }
void SetScreenWindow(HWND hwnd) { State().screen = hwnd; }

LRESULT Send(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* w = Lookup(hwnd);
  if (!w) return 0;
  WNDPROC proc = w->proc;
  if (!proc) return DefWindowProcW(hwnd, message, wParam, lParam);
  return proc(hwnd, message, wParam, lParam);
}

void ResetWindowTree() {
  std::vector<HWND> top = State().topLevel;
  for (auto it = top.rbegin(); it != top.rend(); ++it) DestroyWindow(*it);
  // Whatever a procedure kept alive by refusing to go is dropped silently.
  for (auto& [hwnd, w] : State().windows) DropDCs(*w);
  State().windows.clear();
  State().topLevel.clear();
  State().screen = nullptr;
}

}  // namespace wince::win

size_t wince::host::LiveWindows() { return wince::win::State().windows.size(); }

using namespace wince::win;

extern "C" HWND WINAPI CreateWindowExW(DWORD exStyle, LPCWSTR className, LPCWSTR windowName,
                                       DWORD style, int x, int y, int width, int height,
                                       HWND parentHandle, HMENU menu, HINSTANCE instance,
                                       LPVOID param) {
  if (wince::faults::ShouldFail(wince::host::Call::CreateWindowExW)) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  std::shared_ptr<WindowClass> cls = FindClassForWindow(className, instance);
  if (!cls) {
    SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
    return nullptr;
  }
  bool child = (style & WS_CHILD) != 0;
  Window* parent = nullptr;
  if (parentHandle) {
    parent = WindowOf(parentHandle);
    if (!parent) return nullptr;
  } else if (child) {
    SetLastError(ERROR_TLW_WITH_WSCHILD);
    return nullptr;
  }
  Window* screen = Lookup(ScreenWindow());
  int sw = screen ? Width(*screen) : 0;
  int sh = screen ? Height(*screen) : 0;

  auto w = std::make_unique<Window>();
  Tree& t = State();
  w->handle = reinterpret_cast<HWND>(t.next);
  w->cls = cls;
  w->proc = cls->proc;
  w->style = style & ~WS_VISIBLE;  // shown after WM_CREATE, as the platform does
  w->exStyle = exStyle;
  w->instance = instance;
  w->extra.assign(static_cast<size_t>(cls->wndExtra), 0);
  if (windowName && !IS_INTRESOURCE(windowName)) w->text = windowName;
  int left = DefaultCoordinate(x), top = DefaultCoordinate(y);
  int cx = DefaultSize(width, child, sw, kDefaultWidth);
  int cy = DefaultSize(height, child, sh, kDefaultHeight);
  w->rect = RECT{left, top, left + cx, top + cy};
  w->frame = FrameOf(style, exStyle);
  if (child) {
    w->parent = parentHandle;
    w->id = reinterpret_cast<LONG_PTR>(menu);
  } else {
    w->owner = parent ? TopLevelOf(*parent)->handle : nullptr;
    w->surface = wince::gdi::CreateScreenSurface(cx, cy, RGB(255, 255, 255));
    if (!w->surface) {
      SetLastError(ERROR_NOT_ENOUGH_MEMORY);
      return nullptr;
    }
  }
  HWND hwnd = w->handle;
  t.next += kHandleStep;
  cls->windows++;
  if (child) {
    parent->children.insert(parent->children.begin(), hwnd);  // new windows go on top
  } else {
    t.topLevel.push_back(hwnd);
  }
  t.windows.emplace(hwnd, std::move(w));

  CREATESTRUCTW cs{};
  cs.lpCreateParams = param;
  cs.hInstance = instance;
  cs.hMenu = menu;
  cs.hwndParent = parentHandle;
  cs.x = left;
  cs.y = top;
  cs.cx = cx;
  cs.cy = cy;
  cs.style = static_cast<LONG>(style);
  cs.lpszName = windowName;
  cs.lpszClass = className;
  cs.dwExStyle = exStyle;
  if (Send(hwnd, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
    if (Lookup(hwnd)) DestroyWindow(hwnd);
    return nullptr;
  }
  Window* made = Lookup(hwnd);
  if (!made) return nullptr;  // destroyed while handling WM_CREATE
  made->created = true;
  // WM_SIZE and WM_MOVE carry the client area's size and place.
  Send(hwnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(ClientWidth(*made), ClientHeight(*made)));
  if ((made = Lookup(hwnd))) {
    POINT at{left + made->frame.left, top + made->frame.top};
    Send(hwnd, WM_MOVE, 0, MAKELPARAM(at.x, at.y));
  }
  if ((style & WS_VISIBLE) && Lookup(hwnd)) ShowWindow(hwnd, SW_SHOW);
  return Lookup(hwnd) ? hwnd : nullptr;
}

extern "C" BOOL WINAPI DestroyWindow(HWND hwnd) {
  Window* w = WindowOf(hwnd);
  if (!w) return FALSE;
  if (w->destroying) return TRUE;  // already on its way (a procedure calling back)
  w->destroying = true;
  std::vector<HWND> owned;
  for (HWND top : State().topLevel)
    if (Window* o = Lookup(top); o && o->owner == hwnd) owned.push_back(top);
  for (HWND o : owned) DestroyWindow(o);

  if ((w = Lookup(hwnd)) && (w->style & WS_VISIBLE)) ShowWindow(hwnd, SW_HIDE);
  if (!(w = Lookup(hwnd))) return TRUE;
  MarkDestroying(*w);
  ReleaseCaptureOf(hwnd);
  ForgetFocusOf(hwnd);
  SendDestroy(hwnd);
  FreeTree(hwnd);
  return TRUE;
}

extern "C" BOOL WINAPI IsWindow(HWND hwnd) { return Lookup(hwnd) != nullptr; }

extern "C" HWND WINAPI GetParent(HWND hwnd) {
  Window* w = WindowOf(hwnd);
  if (!w) return nullptr;
  if (w->style & WS_CHILD) return w->parent;
  // A top-level popup answers its owner.
  return (w->style & WS_POPUP) ? w->owner : nullptr;
}

extern "C" LONG_PTR WINAPI GetWindowLongPtrW(HWND hwnd, int index) {
  Window* w = WindowOf(hwnd);
  LONG_PTR value = 0;
  if (!w || !GetField(*w, index, sizeof(LONG_PTR), value)) return 0;
  return value;
}

extern "C" LONG_PTR WINAPI SetWindowLongPtrW(HWND hwnd, int index, LONG_PTR value) {
  LONG_PTR previous = 0;
  if (!SetField(hwnd, index, sizeof(LONG_PTR), value, previous)) return 0;
  return previous;
}

extern "C" LONG WINAPI GetWindowLongW(HWND hwnd, int index) {
  Window* w = WindowOf(hwnd);
  LONG_PTR value = 0;
  if (!w || !GetField(*w, index, sizeof(LONG), value)) return 0;
  if (IsPointerField(index) && !FitsLong(value, "GetWindowLongW")) return 0;
  return static_cast<LONG>(value);
}

extern "C" LONG WINAPI SetWindowLongW(HWND hwnd, int index, LONG value) {
  Window* w = WindowOf(hwnd);
  if (!w) return 0;
  if (IsPointerField(index)) {
    LONG_PTR current = 0;
    GetField(*w, index, sizeof(LONG), current);
    if (!FitsLong(current, "SetWindowLongW")) return 0;
  }
  LONG_PTR previous = 0;
  if (!SetField(hwnd, index, sizeof(LONG), value, previous)) return 0;
  return static_cast<LONG>(previous);
}

extern "C" BOOL WINAPI SetWindowTextW(HWND hwnd, LPCWSTR text) {
  if (!WindowOf(hwnd)) return FALSE;
  return SendMessageW(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)) ? TRUE : FALSE;
}

extern "C" int WINAPI GetWindowTextW(HWND hwnd, LPWSTR buffer, int size) {
  if (!WindowOf(hwnd)) return 0;
  if (!buffer || size <= 0) return 0;
  return static_cast<int>(SendMessageW(hwnd, WM_GETTEXT, static_cast<WPARAM>(size),
                                       reinterpret_cast<LPARAM>(buffer)));
}

extern "C" int WINAPI GetWindowTextLengthW(HWND hwnd) {
  if (!WindowOf(hwnd)) return 0;
  return static_cast<int>(SendMessageW(hwnd, WM_GETTEXTLENGTH, 0, 0));
}

extern "C" LRESULT WINAPI SendMessageW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (hwnd == HWND_BROADCAST) {
    wince::NotImplemented("SendMessageW", "HWND_BROADCAST");
    return 0;
  }
  if (!WindowOf(hwnd)) return 0;
  return Send(hwnd, message, wParam, lParam);
}

extern "C" LRESULT WINAPI CallWindowProcW(WNDPROC proc, HWND hwnd, UINT message, WPARAM wParam,
                                          LPARAM lParam) {
  if (!proc) return 0;
  return proc(hwnd, message, wParam, lParam);
}
