// The system's window classes (the dialog class and the controls), the
// helpers every control's painting and notifying shares, and the plain
// controls: edit controls, list boxes and scroll bars, which a template may
// name and which show themselves, but whose own messages (EM_*, LB_*,
// SBM_*) fail loudly.
#include <windows.h>

#include "wince/kernel/fault_points.h"
#include "wince/kernel/not_implemented.h"
#include "wince/user/controls.h"
#include "wince/user/window_internal.h"

namespace wince::win {
namespace {

struct PlainState {
  HFONT font = nullptr;
};

PerWindow<PlainState>& Plain() {
  static PerWindow<PlainState> states;
  return states;
}

bool IsClass(HWND hwnd, const char16_t* name) {
  Window* w = Lookup(hwnd);
  return w && lstrcmpiW(w->cls->name.c_str(), name) == 0;
}

// The message ranges of the plain controls' own messages.
bool OwnMessage(HWND hwnd, UINT message) {
  if (IsClass(hwnd, kEditClass)) return message >= 0x00B0 && message <= 0x00DA;
  if (IsClass(hwnd, kListBoxClass)) return message >= 0x0180 && message <= 0x01B0;
  return message >= 0x00E0 && message <= 0x00EA;  // scroll bars
}

void PaintPlain(HWND hwnd) {
  PAINTSTRUCT ps;
  HDC hdc = BeginPaint(hwnd, &ps);
  if (!hdc) return;
  RECT client;
  GetClientRect(hwnd, &client);
  bool scrollBar = IsClass(hwnd, kScrollBarClass);
  UINT message = scrollBar ? WM_CTLCOLORSCROLLBAR
                           : (IsClass(hwnd, kEditClass) ? WM_CTLCOLOREDIT : WM_CTLCOLORLISTBOX);
  FillRect(hdc, &client, ControlBrush(hwnd, hdc, message));
  if (IsClass(hwnd, kEditClass)) {
    PlainState* s = Plain().Find(hwnd);
    SelectControlFont(hdc, s ? s->font : nullptr);
    std::u16string text = WindowText(hwnd);
    RECT r = client;
    InflateRect(&r, -1, -1);
    DrawTextW(hdc, text.c_str(), -1, &r, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX);
  }
  EndPaint(hwnd, &ps);
}

WNDCLASSW ClassOf(const char16_t* name, WNDPROC proc, int extra = 0) {
  WNDCLASSW wc{};
  wc.style = CS_GLOBALCLASS | CS_PARENTDC;
  wc.lpfnWndProc = proc;
  wc.cbWndExtra = extra;
  wc.lpszClassName = name;
  return wc;
}

}  // namespace

void RegisterSystemClasses() {
  wince::faults::OwnCalls own;
  WNDCLASSW dialog = ClassOf(kDialogClass, DefDlgProcW, DLGWINDOWEXTRA);
  dialog.style = CS_GLOBALCLASS;
  RegisterClassW(&dialog);
  for (const WNDCLASSW& wc : {ClassOf(kButtonClass, ButtonProc), ClassOf(kStaticClass, StaticProc),
                              ClassOf(kComboBoxClass, ComboBoxProc),
                              ClassOf(kEditClass, PlainControlProc),
                              ClassOf(kListBoxClass, PlainControlProc),
                              ClassOf(kScrollBarClass, PlainControlProc)})
    RegisterClassW(&wc);
}

void NotifyParent(HWND control, WORD code) {
  HWND parent = GetParent(control);
  if (!parent) return;
  WPARAM wParam = MAKEWPARAM(GetDlgCtrlID(control), code);
  SendMessageW(parent, WM_COMMAND, wParam, reinterpret_cast<LPARAM>(control));
}

HBRUSH ControlBrush(HWND control, HDC hdc, UINT message) {
  HWND parent = GetParent(control);
  auto brush = reinterpret_cast<HBRUSH>(
      parent ? SendMessageW(parent, message, reinterpret_cast<WPARAM>(hdc),
                            reinterpret_cast<LPARAM>(control))
             : 0);
  if (!brush) {
    brush = reinterpret_cast<HBRUSH>(DefWindowProcW(
        control, message, reinterpret_cast<WPARAM>(hdc), reinterpret_cast<LPARAM>(control)));
  }
  return brush;
}

void SelectControlFont(HDC hdc, HFONT font) {
  SelectObject(hdc, font ? static_cast<HGDIOBJ>(font) : GetStockObject(SYSTEM_FONT));
}

int FontHeight(HFONT font) {
  HDC hdc = CreateCompatibleDC(nullptr);
  if (!hdc) return 0;
  SelectControlFont(hdc, font);
  TEXTMETRICW tm{};
  GetTextMetricsW(hdc, &tm);
  DeleteDC(hdc);
  return tm.tmHeight;
}

std::u16string WindowText(HWND hwnd) {
  Window* w = Lookup(hwnd);
  return w ? w->text : std::u16string();
}

void FrameRectWith(HDC hdc, RECT r) {
  HBRUSH frame = GetSysColorBrush(COLOR_WINDOWFRAME);
  RECT edges[] = {{r.left, r.top, r.right, r.top + 1},
                  {r.left, r.bottom - 1, r.right, r.bottom},
                  {r.left, r.top, r.left + 1, r.bottom},
                  {r.right - 1, r.top, r.right, r.bottom}};
  for (const RECT& e : edges) FillRect(hdc, &e, frame);
}

void DrawEdge3D(HDC hdc, RECT r, bool sunken) {
  HBRUSH light = GetSysColorBrush(sunken ? COLOR_BTNSHADOW : COLOR_BTNHIGHLIGHT);
  HBRUSH dark = GetSysColorBrush(sunken ? COLOR_BTNHIGHLIGHT : COLOR_3DDKSHADOW);
  RECT top{r.left, r.top, r.right - 1, r.top + 1};
  RECT left{r.left, r.top, r.left + 1, r.bottom - 1};
  RECT bottom{r.left, r.bottom - 1, r.right, r.bottom};
  RECT right{r.right - 1, r.top, r.right, r.bottom};
  FillRect(hdc, &top, light);
  FillRect(hdc, &left, light);
  FillRect(hdc, &bottom, dark);
  FillRect(hdc, &right, dark);
}

LRESULT CALLBACK PlainControlProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (OwnMessage(hwnd, message)) {
    NotImplemented("edit control, list box and scroll bar messages", "only their windows exist");
    return -1;
  }
  switch (message) {
    case WM_SETFONT:
      Plain().Get(hwnd).font = reinterpret_cast<HFONT>(wParam);
      if (LOWORD(lParam)) InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    case WM_GETFONT: {
      PlainState* s = Plain().Find(hwnd);
      return reinterpret_cast<LRESULT>(s ? s->font : nullptr);
    }
    case WM_GETDLGCODE:
      return IsClass(hwnd, kEditClass) ? DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS
                                       : DLGC_WANTARROWS;
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: PaintPlain(hwnd); return 0;
    case WM_SETTEXT:
      DefWindowProcW(hwnd, message, wParam, lParam);
      InvalidateRect(hwnd, nullptr, TRUE);
      return TRUE;
    case WM_NCDESTROY: Plain().Erase(hwnd); return 0;
    default: return DefWindowProcW(hwnd, message, wParam, lParam);
  }
}

}  // namespace wince::win
