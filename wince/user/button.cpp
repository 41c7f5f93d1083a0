// The BUTTON class: push buttons, default push buttons, check boxes (plain,
// automatic and three-state) and group boxes. Radio and owner-drawn buttons
// fail loudly at creation.
//
// A tap is the platform's: WM_LBUTTONDOWN captures the pen, takes the focus
// and shows the button pushed; moving off the button while the pen is down
// lets it up again; WM_LBUTTONUP over the button ends the tap, and then an
// automatic check box toggles before the parent hears BN_CLICKED
// (WM_COMMAND(MAKEWPARAM(id, BN_CLICKED), button)). Losing the capture
// cancels the tap. BM_SETCHECK never notifies; a two-state box takes any
// value above BST_CHECKED as checked.
//
// Painting: push buttons on the face colour with raised 3D edges (sunken
// while pushed, the text one pixel down and right), a default push button
// inside a one-pixel frame; check boxes ask the parent with
// WM_CTLCOLORSTATIC, push buttons with WM_CTLCOLORBTN (whose answer a push
// button does not use, as on the platform). Text of a disabled button is
// grey.
#include <windows.h>

#include "wince/kernel/not_implemented.h"
#include "wince/user/controls.h"

namespace wince::win {
namespace {

constexpr int kBoxSize = 13;  // the check box's square
constexpr int kBoxGap = 4;    // between the square and the text

struct ButtonState {
  HFONT font = nullptr;
  UINT check = BST_UNCHECKED;
  bool pushed = false;
  bool tracking = false;  // the pen went down on the button and is not up yet
};

PerWindow<ButtonState>& States() {
  static PerWindow<ButtonState> states;
  return states;
}

DWORD TypeOf(HWND hwnd) { return static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE)) & BS_TYPEMASK; }

bool IsCheckBox(DWORD type) {
  return type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_3STATE ||
         type == BS_AUTO3STATE;
}

bool IsPushButton(DWORD type) { return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON; }

UINT MaxCheck(DWORD type) {
  if (type == BS_3STATE || type == BS_AUTO3STATE) return BST_INDETERMINATE;
  return IsCheckBox(type) ? BST_CHECKED : BST_UNCHECKED;
}

void DrawCheckMark(HDC hdc, const RECT& box, COLORREF colour) {
  // A tick two pixels wide: down from the left, then up to the right.
  HPEN pen = CreatePen(PS_SOLID, 1, colour);
  HGDIOBJ old = SelectObject(hdc, pen);
  for (int dy = 0; dy < 2; ++dy) {
    POINT tick[] = {{box.left + 3, box.top + 5 + dy},
                    {box.left + 5, box.top + 7 + dy},
                    {box.left + 10, box.top + 2 + dy}};
    Polyline(hdc, tick, 3);
    SetPixel(hdc, tick[2].x, tick[2].y, colour);
  }
  SelectObject(hdc, old);
  DeleteObject(pen);
}

void PaintPushButton(HWND hwnd, HDC hdc, const ButtonState& s, RECT client, DWORD style) {
  ControlBrush(hwnd, hdc, WM_CTLCOLORBTN);
  FillRect(hdc, &client, GetSysColorBrush(COLOR_BTNFACE));
  RECT edge = client;
  if ((style & BS_TYPEMASK) == BS_DEFPUSHBUTTON) {
    FrameRectWith(hdc, edge);
    InflateRect(&edge, -1, -1);
  }
  DrawEdge3D(hdc, edge, s.pushed);
  RECT text = client;
  if (s.pushed) OffsetRect(&text, 1, 1);
  SetBkMode(hdc, TRANSPARENT);
  SetTextColor(hdc, GetSysColor((style & WS_DISABLED) ? COLOR_GRAYTEXT : COLOR_BTNTEXT));
  std::u16string label = WindowText(hwnd);
  DrawTextW(hdc, label.c_str(), -1, &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

void PaintCheckBox(HWND hwnd, HDC hdc, const ButtonState& s, RECT client, DWORD style) {
  FillRect(hdc, &client, ControlBrush(hwnd, hdc, WM_CTLCOLORSTATIC));
  bool leftText = (style & BS_LEFTTEXT) != 0;
  int top = (client.bottom - client.top - kBoxSize) / 2;
  RECT box{client.left, top, client.left + kBoxSize, top + kBoxSize};
  if (leftText) OffsetRect(&box, client.right - kBoxSize - box.left, 0);
  FillRect(hdc, &box, GetSysColorBrush(s.pushed || s.check == BST_INDETERMINATE ? COLOR_BTNFACE
                                                                                : COLOR_WINDOW));
  FrameRectWith(hdc, box);
  bool disabled = (style & WS_DISABLED) != 0;
  if (s.check != BST_UNCHECKED)
    DrawCheckMark(hdc, box, GetSysColor(disabled || s.check == BST_INDETERMINATE ? COLOR_GRAYTEXT
                                                                                : COLOR_WINDOWTEXT));
  RECT text = client;
  if (leftText) {
    text.right = box.left - kBoxGap;
  } else {
    text.left = box.right + kBoxGap;
  }
  if (disabled) SetTextColor(hdc, GetSysColor(COLOR_GRAYTEXT));
  std::u16string label = WindowText(hwnd);
  DrawTextW(hdc, label.c_str(), -1, &text, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
}

void PaintGroupBox(HWND hwnd, HDC hdc, RECT client) {
  FillRect(hdc, &client, ControlBrush(hwnd, hdc, WM_CTLCOLORSTATIC));
  TEXTMETRICW tm{};
  GetTextMetricsW(hdc, &tm);
  RECT frame = client;
  frame.top += tm.tmHeight / 2;
  FrameRectWith(hdc, frame);
  std::u16string label = WindowText(hwnd);
  RECT text{client.left + 6, client.top, client.right - 6, client.top + tm.tmHeight};
  DrawTextW(hdc, label.c_str(), -1, &text, DT_LEFT | DT_SINGLELINE);
}

void Paint(HWND hwnd) {
  PAINTSTRUCT ps;
  HDC hdc = BeginPaint(hwnd, &ps);
  if (!hdc) return;
  ButtonState& s = States().Get(hwnd);
  SelectControlFont(hdc, s.font);
  RECT client;
  GetClientRect(hwnd, &client);
  auto style = static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE));
  DWORD type = style & BS_TYPEMASK;
  if (IsPushButton(type)) {
    PaintPushButton(hwnd, hdc, s, client, style);
  } else if (IsCheckBox(type)) {
    PaintCheckBox(hwnd, hdc, s, client, style);
  } else {
    PaintGroupBox(hwnd, hdc, client);
  }
  EndPaint(hwnd, &ps);
}

void SetPushed(HWND hwnd, bool pushed) {
  ButtonState& s = States().Get(hwnd);
  if (s.pushed == pushed) return;
  s.pushed = pushed;
  InvalidateRect(hwnd, nullptr, TRUE);
}

void PenUp(HWND hwnd, LPARAM lParam) {
  ButtonState& s = States().Get(hwnd);
  if (!s.tracking) return;
  s.tracking = false;
  bool wasPushed = s.pushed;
  SetPushed(hwnd, false);
  RECT client;
  GetClientRect(hwnd, &client);
  POINT pt{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  if (!wasPushed || !PtInRect(&client, pt)) {
    ReleaseCapture();
    return;
  }
  DWORD type = TypeOf(hwnd);
  if (type == BS_AUTOCHECKBOX) {
    SendMessageW(hwnd, BM_SETCHECK, s.check == BST_UNCHECKED ? BST_CHECKED : BST_UNCHECKED, 0);
  } else if (type == BS_AUTO3STATE) {
    SendMessageW(hwnd, BM_SETCHECK, (s.check + 1) % 3, 0);
  }
  ReleaseCapture();
  NotifyParent(hwnd, BN_CLICKED);
}

LRESULT DialogCode(DWORD type) {
  if (type == BS_DEFPUSHBUTTON) return DLGC_BUTTON | DLGC_DEFPUSHBUTTON;
  if (type == BS_PUSHBUTTON) return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
  if (type == BS_GROUPBOX) return DLGC_STATIC;
  return DLGC_BUTTON;
}

}  // namespace

LRESULT CALLBACK ButtonProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE: {
      DWORD type = TypeOf(hwnd);
      if (!IsPushButton(type) && !IsCheckBox(type) && type != BS_GROUPBOX) {
        NotImplemented("BUTTON", "radio, owner-drawn and user buttons");
        return -1;
      }
      States().Get(hwnd);
      return 0;
    }
    case WM_SETFONT:
      States().Get(hwnd).font = reinterpret_cast<HFONT>(wParam);
      if (LOWORD(lParam)) InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(States().Get(hwnd).font);
    case WM_GETDLGCODE: return DialogCode(TypeOf(hwnd));
    case BM_GETCHECK: return IsCheckBox(TypeOf(hwnd)) ? States().Get(hwnd).check : 0;
    case BM_SETCHECK: {
      DWORD type = TypeOf(hwnd);
      if (!IsCheckBox(type)) return 0;
      UINT check = static_cast<UINT>(wParam) > MaxCheck(type) ? MaxCheck(type)
                                                                : static_cast<UINT>(wParam);
      ButtonState& s = States().Get(hwnd);
      if (s.check != check) {
        s.check = check;
        InvalidateRect(hwnd, nullptr, TRUE);
      }
      return 0;
    }
    case BM_GETSTATE: {
      ButtonState& s = States().Get(hwnd);
      return s.check | (s.pushed ? BST_PUSHED : 0) | (GetFocus() == hwnd ? BST_FOCUS : 0);
    }
    case BM_SETSTATE: SetPushed(hwnd, wParam != 0); return 0;
    case BM_SETSTYLE: {
      auto style = static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE));
      style = (style & ~BS_TYPEMASK) | (static_cast<DWORD>(wParam) & BS_TYPEMASK);
      SetWindowLongW(hwnd, GWL_STYLE, static_cast<LONG>(style));
      if (LOWORD(lParam)) InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    }
    case BM_CLICK:
      SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, 0);
      SendMessageW(hwnd, WM_LBUTTONUP, 0, 0);
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (TypeOf(hwnd) == BS_GROUPBOX) return 0;
      SetCapture(hwnd);
      SetFocus(hwnd);
      States().Get(hwnd).tracking = true;
      SetPushed(hwnd, true);
      return 0;
    case WM_MOUSEMOVE:
      if (States().Get(hwnd).tracking && GetCapture() == hwnd) {
        RECT client;
        GetClientRect(hwnd, &client);
        POINT pt{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        SetPushed(hwnd, PtInRect(&client, pt) != FALSE);
      }
      return 0;
    case WM_LBUTTONUP: PenUp(hwnd, lParam); return 0;
    case WM_CAPTURECHANGED:
      if (States().Get(hwnd).tracking) {
        States().Get(hwnd).tracking = false;
        SetPushed(hwnd, false);
      }
      return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      if (GetWindowLongW(hwnd, GWL_STYLE) & BS_NOTIFY)
        NotifyParent(hwnd, message == WM_SETFOCUS ? BN_SETFOCUS : BN_KILLFOCUS);
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
