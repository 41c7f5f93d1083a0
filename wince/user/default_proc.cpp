// DefWindowProcW: what a window does with a message its procedure leaves
// to the system.
//
// Erasing fills the client area with the class brush; WM_CLOSE destroys the
// window; a position change becomes WM_MOVE and WM_SIZE (of the client
// area); text is kept in the window, and a caption shows a new title at
// once; a window that is activated takes the focus; the WM_CTLCOLOR*
// questions of controls are answered with the system colours (edit and list
// boxes on the window colour, everything else on the face colour, static
// controls in Windows CE's own static colours).
#include <algorithm>

#include <windows.h>

#include "wince/user/window_internal.h"

namespace wince::win {
namespace {

LRESULT ControlColour(HDC hdc, UINT message) {
  int text = COLOR_WINDOWTEXT;
  int back = COLOR_3DFACE;
  if (message == WM_CTLCOLOREDIT || message == WM_CTLCOLORLISTBOX) back = COLOR_WINDOW;
  if (message == WM_CTLCOLORSTATIC) {
    text = COLOR_STATICTEXT;
    back = COLOR_STATIC;
  }
  SetTextColor(hdc, GetSysColor(text));
  SetBkColor(hdc, GetSysColor(back));
  return reinterpret_cast<LRESULT>(GetSysColorBrush(back));
}

}  // namespace
}  // namespace wince::win

using namespace wince::win;

extern "C" LRESULT WINAPI DefWindowProcW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* w = Lookup(hwnd);
  if (!w) return 0;
  switch (message) {
    case WM_ERASEBKGND: {
      HBRUSH brush = w->cls->background;
      if (!brush) return 0;
      RECT client{0, 0, ClientWidth(*w), ClientHeight(*w)};
      FillRect(reinterpret_cast<HDC>(wParam), &client, brush);
      return 1;
    }
    case WM_PAINT: {
      PAINTSTRUCT ps;
      BeginPaint(hwnd, &ps);
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_CLOSE: DestroyWindow(hwnd); return 0;
    case WM_WINDOWPOSCHANGED: {
      auto* wp = reinterpret_cast<const WINDOWPOS*>(lParam);
      if (!wp) return 0;
      if (!(wp->flags & SWP_NOMOVE)) {
        Send(hwnd, WM_MOVE, 0,
             MAKELPARAM(w->rect.left + w->frame.left, w->rect.top + w->frame.top));
      }
      if ((w = Lookup(hwnd)) && !(wp->flags & SWP_NOSIZE))
        Send(hwnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(ClientWidth(*w), ClientHeight(*w)));
      return 0;
    }
    case WM_SETTEXT:
      w->text = lParam ? std::u16string(reinterpret_cast<LPCWSTR>(lParam)) : std::u16string();
      if ((w->style & WS_CAPTION) == WS_CAPTION) DrawFrame(*w);
      return TRUE;
    case WM_GETTEXT: {
      auto* buffer = reinterpret_cast<LPWSTR>(lParam);
      if (!buffer || wParam == 0) return 0;
      size_t n = std::min(w->text.size(), static_cast<size_t>(wParam) - 1);
      std::copy_n(w->text.begin(), n, buffer);
      buffer[n] = 0;
      return static_cast<LRESULT>(n);
    }
    case WM_GETTEXTLENGTH: return static_cast<LRESULT>(w->text.size());
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE) SetFocus(hwnd);
      return 0;
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
      return ControlColour(reinterpret_cast<HDC>(wParam), message);
    default: return 0;
  }
}
