// The STATIC class: text (SS_LEFT, SS_CENTER, SS_RIGHT, SS_LEFTNOWORDWRAP),
// icons (SS_ICON) and plain rectangles and frames. Bitmaps fail loudly at
// creation.
//
// Text is drawn with DrawTextW on the brush and colours the parent gives
// for WM_CTLCOLORSTATIC; it wraps at words except with SS_LEFTNOWORDWRAP,
// and "&" marks a mnemonic unless SS_NOPREFIX. An icon static takes its
// icon from its title: a dialog template gives it as an ordinal (the
// resource id), loaded from the instance the control was created with;
// STM_SETICON replaces it (the previous one is returned, not destroyed).
// Unless SS_CENTERIMAGE, the control takes the icon's size, as the platform
// does; with it the icon is centred. With SS_NOTIFY a tap sends STN_CLICKED.
#include <windows.h>

#include "wince/kernel/not_implemented.h"
#include "wince/user/controls.h"

namespace wince::win {
namespace {

struct StaticState {
  HFONT font = nullptr;
  HICON icon = nullptr;
};

PerWindow<StaticState>& States() {
  static PerWindow<StaticState> states;
  return states;
}

DWORD StyleOf(HWND hwnd) { return static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE)); }
DWORD TypeOf(HWND hwnd) { return StyleOf(hwnd) & SS_TYPEMASK; }

HICON SetIcon(HWND hwnd, HICON icon) {
  StaticState& s = States().Get(hwnd);
  HICON previous = s.icon;
  s.icon = icon;
  SIZE size{};
  if (IconSize(icon, &size) && !(StyleOf(hwnd) & SS_CENTERIMAGE)) {
    SetWindowPos(hwnd, nullptr, 0, 0, size.cx, size.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  InvalidateRect(hwnd, nullptr, TRUE);
  return previous;
}

UINT TextFormat(DWORD style) {
  UINT format = DT_WORDBREAK;
  switch (style & SS_TYPEMASK) {
    case SS_CENTER: format |= DT_CENTER; break;
    case SS_RIGHT: format |= DT_RIGHT; break;
    case SS_LEFTNOWORDWRAP: format = DT_LEFT; break;
    default: break;
  }
  if (style & SS_NOPREFIX) format |= DT_NOPREFIX;
  return format;
}

void PaintShape(HDC hdc, RECT client, DWORD type) {
  int colour = COLOR_WINDOWFRAME;
  if (type == SS_GRAYRECT || type == SS_GRAYFRAME) colour = COLOR_BTNSHADOW;
  if (type == SS_WHITERECT || type == SS_WHITEFRAME) colour = COLOR_WINDOW;
  HBRUSH brush = GetSysColorBrush(colour);
  if (type <= SS_WHITERECT) {
    FillRect(hdc, &client, brush);
    return;
  }
  RECT edges[] = {{client.left, client.top, client.right, client.top + 1},
                  {client.left, client.bottom - 1, client.right, client.bottom},
                  {client.left, client.top, client.left + 1, client.bottom},
                  {client.right - 1, client.top, client.right, client.bottom}};
  for (const RECT& e : edges) FillRect(hdc, &e, brush);
}

void Paint(HWND hwnd) {
  PAINTSTRUCT ps;
  HDC hdc = BeginPaint(hwnd, &ps);
  if (!hdc) return;
  StaticState& s = States().Get(hwnd);
  RECT client;
  GetClientRect(hwnd, &client);
  DWORD style = StyleOf(hwnd);
  DWORD type = style & SS_TYPEMASK;
  if (type >= SS_BLACKRECT && type <= SS_WHITEFRAME) {
    PaintShape(hdc, client, type);
  } else {
    FillRect(hdc, &client, ControlBrush(hwnd, hdc, WM_CTLCOLORSTATIC));
    if (type == SS_ICON) {
      SIZE size{};
      if (IconSize(s.icon, &size)) {
        int x = (style & SS_CENTERIMAGE) ? (client.right - size.cx) / 2 : 0;
        int y = (style & SS_CENTERIMAGE) ? (client.bottom - size.cy) / 2 : 0;
        DrawIconEx(hdc, x, y, s.icon, 0, 0, 0, nullptr, DI_NORMAL);
      }
    } else {
      if (style & WS_DISABLED) SetTextColor(hdc, GetSysColor(COLOR_GRAYTEXT));
      SelectControlFont(hdc, s.font);
      std::u16string text = WindowText(hwnd);
      DrawTextW(hdc, text.c_str(), -1, &client, TextFormat(style));
    }
  }
  EndPaint(hwnd, &ps);
}

LRESULT Create(HWND hwnd, const CREATESTRUCTW* cs) {
  DWORD type = TypeOf(hwnd);
  bool known = type <= SS_WHITEFRAME || type == SS_LEFTNOWORDWRAP;
  if (!known) {
    NotImplemented("STATIC", "bitmaps, owner-drawn and etched statics");
    return -1;
  }
  States().Get(hwnd);
  if (type == SS_ICON && cs && cs->lpszName && (IS_INTRESOURCE(cs->lpszName) || cs->lpszName[0])) {
    // A missing icon leaves an empty control, as on the platform.
    HICON icon = LoadIconW(cs->hInstance, cs->lpszName);
    if (icon) SetIcon(hwnd, icon);
  }
  return 0;
}

}  // namespace

LRESULT CALLBACK StaticProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE: return Create(hwnd, reinterpret_cast<const CREATESTRUCTW*>(lParam));
    case WM_SETFONT:
      States().Get(hwnd).font = reinterpret_cast<HFONT>(wParam);
      if (LOWORD(lParam)) InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(States().Get(hwnd).font);
    case WM_GETDLGCODE: return DLGC_STATIC;
    case STM_SETICON:
      if (TypeOf(hwnd) != SS_ICON) return 0;
      return reinterpret_cast<LRESULT>(SetIcon(hwnd, reinterpret_cast<HICON>(wParam)));
    case STM_GETICON: return reinterpret_cast<LRESULT>(States().Get(hwnd).icon);
    case STM_SETIMAGE:
      if (wParam != IMAGE_ICON) {
        NotImplemented("STM_SETIMAGE", "bitmaps");
        return 0;
      }
      return SendMessageW(hwnd, STM_SETICON, static_cast<WPARAM>(lParam), 0);
    case STM_GETIMAGE:
      return wParam == IMAGE_ICON ? reinterpret_cast<LRESULT>(States().Get(hwnd).icon) : 0;
    case WM_LBUTTONDOWN:
      if (StyleOf(hwnd) & SS_NOTIFY) NotifyParent(hwnd, STN_CLICKED);
      return 0;
    case WM_ENABLE: InvalidateRect(hwnd, nullptr, TRUE); return 0;
    case WM_SETTEXT:
      DefWindowProcW(hwnd, message, wParam, lParam);
      InvalidateRect(hwnd, nullptr, TRUE);
      return TRUE;
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: Paint(hwnd); return 0;
    case WM_NCDESTROY: States().Erase(hwnd); return 0;
    default: return DefWindowProcW(hwnd, message, wParam, lParam);
  }
}

}  // namespace wince::win
