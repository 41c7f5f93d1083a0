// Making a dialog from a template: DialogBoxIndirectParamW, DialogBoxParamW,
// GetDialogBaseUnits, MapDialogRect, and the creation every dialog goes
// through.
//
// Creation, in the platform's order:
// 1. the font: with DS_SETFONT, the template's face at its point size
//    (-MulDiv(points, LOGPIXELSY, 72) pixels; the host has one family), and
//    the base units from it; otherwise the system font's;
// 2. a modal dialog disables its owner's top-level window;
// 3. the dialog window, hidden, of the template's class (the dialog class
//    unless it names one), its client area the template's size in dialog
//    units (x * baseX / 4, y * baseY / 8), placed in the owner's client
//    coordinates, or centred on the screen with DS_CENTER, and kept on the
//    screen;
// 4. WM_SETFONT to the dialog;
// 5. each control in template order, a child with its id, then WM_SETFONT to
//    it; a default push button makes its id the dialog's default result;
// 6. WM_INITDIALOG(the first tab stop, lParam); TRUE gives that control the
//    focus (which activates the dialog, as a focus does);
// 7. a template with WS_VISIBLE shows the dialog and activates it, unless
//    EndDialog was called meanwhile: such a dialog is never shown.
// A control that cannot be made fails the dialog (-1, the creation's error)
// unless DS_NOFAILCREATE.
//
// DialogBoxIndirectParamW gets no size with its template: it reads what the
// template describes, as the platform does, but never more than 64 KiB.
// DialogBoxParamW knows its resource's size and reads nothing past it.
#include <algorithm>

#include <windows.h>

#include "wince/kernel/fault_points.h"
#include "wince/kernel/not_implemented.h"
#include "wince/user/controls.h"
#include "wince/user/dialog_internal.h"
#include "wince/user/window_internal.h"

namespace wince::win {
namespace {

constexpr size_t kTemplateLimit = 64 * 1024;
constexpr char16_t kAlphabet[] = u"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";

// A point size of 0x7FFF asks for the message font, which on the host is
// the system font's size.
constexpr WORD kMessageFont = 0x7FFF;
constexpr int kSystemFontPoints = 8;

HFONT TemplateFont(const DialogTemplate& t) {
  LOGFONTW lf{};
  int points = t.pointSize == kMessageFont ? kSystemFontPoints : t.pointSize;
  lf.lfHeight = -MulDivRound(points, 96, 72);
  lf.lfWeight = FW_DONTCARE;
  lf.lfCharSet = DEFAULT_CHARSET;
  size_t n = std::min<size_t>(t.faceName.size(), LF_FACESIZE - 1);
  std::copy_n(t.faceName.begin(), n, lf.lfFaceName);
  return CreateFontIndirectW(&lf);
}

POINT Placement(const DialogTemplate& t, HWND owner, SIZE size, SIZE base, RECT frame) {
  if (t.x == static_cast<short>(0x8000)) return POINT{CW_USEDEFAULT, CW_USEDEFAULT};
  int screenWidth = GetSystemMetrics(SM_CXSCREEN), screenHeight = GetSystemMetrics(SM_CYSCREEN);
  POINT pos{-frame.left, -frame.top};
  if (t.style & DS_CENTER) {
    pos = POINT{(screenWidth - size.cx) / 2, (screenHeight - size.cy) / 2};
  } else {
    pos.x += MulDivRound(t.x, base.cx, 4);
    pos.y += MulDivRound(t.y, base.cy, 8);
    if (owner && !(t.style & (WS_CHILD | DS_ABSALIGN))) ClientToScreen(owner, &pos);
  }
  if (!(t.style & WS_CHILD)) {
    // Kept on the screen, as the platform keeps a dialog on its monitor.
    int dx = pos.x + size.cx + GetSystemMetrics(SM_CXDLGFRAME) - screenWidth;
    int dy = pos.y + size.cy + GetSystemMetrics(SM_CYDLGFRAME) - screenHeight;
    if (dx > 0) pos.x -= dx;
    if (dy > 0) pos.y -= dy;
    pos.x = std::max<LONG>(pos.x, 0);
    pos.y = std::max<LONG>(pos.y, 0);
  }
  return pos;
}

HWND DisableOwner(HWND owner) {
  while (owner && (GetWindowLongW(owner, GWL_STYLE) & (WS_POPUP | WS_CHILD)) == WS_CHILD) {
    HWND parent = GetParent(owner);
    if (!parent) break;
    owner = parent;
  }
  if (!owner || !IsWindowEnabled(owner)) return nullptr;
  EnableWindow(owner, FALSE);
  return owner;
}

bool CreateControls(HWND dialog, HINSTANCE instance, const DialogTemplate& t, DialogInfo& info) {
  HWND defaultButton = nullptr;
  for (const DialogItem& item : t.items) {
    DWORD style = (item.style & ~WS_POPUP) | WS_CHILD;
    LPCWSTR title = item.titleIsOrdinal ? MAKEINTRESOURCEW(item.titleOrdinal) : item.title.c_str();
    HWND control;
    {
      wince::faults::OwnCalls own;  // part of the caller's one dialog call
      control = CreateWindowExW(
          item.exStyle | WS_EX_NOPARENTNOTIFY, item.className.c_str(), title, style,
          MulDivRound(item.x, info.baseX, 4), MulDivRound(item.y, info.baseY, 8),
          MulDivRound(item.cx, info.baseX, 4), MulDivRound(item.cy, info.baseY, 8), dialog,
          reinterpret_cast<HMENU>(static_cast<uintptr_t>(item.id)), instance,
          const_cast<BYTE*>(item.creationData));
    }
    if (!IsWindow(dialog)) return false;
    if (!control) {
      if (t.style & DS_NOFAILCREATE) continue;
      return false;
    }
    DialogInfo* current = DialogOf(dialog);
    if (!current) return false;
    if (current->font) SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(current->font), 0);
    if (SendMessageW(control, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON) {
      // A later default push button takes the role from an earlier one.
      if (defaultButton) SendMessageW(defaultButton, BM_SETSTYLE, BS_PUSHBUTTON, FALSE);
      defaultButton = control;
      if ((current = DialogOf(dialog))) current->result = item.id;
    }
  }
  return true;
}

void InitDialog(HWND dialog, const DialogTemplate& t, DLGPROC proc, LPARAM param) {
  if (!proc) return;
  HWND focus = FirstControl(dialog, true);
  if (!focus) focus = FirstControl(dialog, false);
  LRESULT wantsFocus = SendMessageW(dialog, WM_INITDIALOG, reinterpret_cast<WPARAM>(focus), param);
  if (!wantsFocus || !IsWindow(dialog) || ((t.style & DS_CONTROL) && !(t.style & WS_VISIBLE)))
    return;
  // WM_INITDIALOG may have changed the controls: look again.
  focus = FirstControl(dialog, true);
  if (!focus) focus = FirstControl(dialog, false);
  if (focus) {
    SetFocus(focus);
  } else if (!(t.style & WS_CHILD)) {
    SetFocus(dialog);
  }
}

HWND Fail(HWND dialog, HWND disabledOwner) {
  DWORD error = GetLastError();
  if (IsWindow(dialog)) DestroyWindow(dialog);
  if (disabledOwner && IsWindow(disabledOwner)) EnableWindow(disabledOwner, TRUE);
  SetLastError(error);
  return nullptr;
}

INT_PTR RunTemplate(HINSTANCE instance, std::span<const uint8_t> bytes, HWND owner, DLGPROC proc,
                    LPARAM param, const char* caller) {
  DialogTemplate t;
  TemplateFault fault;
  if (!ParseDialogTemplate(bytes, t, fault)) {
    if (fault.unsupported) {
      NotImplemented(caller, fault.reason.c_str());
    } else {
      SetLastError(ERROR_INVALID_DATA);
    }
    return -1;
  }
  HWND disabledOwner = nullptr;
  HWND dialog = CreateDialogFromTemplate(instance, t, owner, proc, param, true, &disabledOwner);
  if (!dialog) return -1;
  return RunModalLoop(dialog, disabledOwner);
}

}  // namespace

int MulDivRound(int a, int b, int c) {
  if (c == 0) return -1;
  int64_t product = int64_t{a} * b;
  if (c < 0) {
    product = -product;
    c = -c;
  }
  int64_t half = c / 2;
  return static_cast<int>(product >= 0 ? (product + half) / c : (product - half) / c);
}

SIZE BaseUnitsOf(HFONT font) {
  HDC hdc = CreateCompatibleDC(nullptr);
  if (!hdc) return SIZE{0, 0};
  SelectControlFont(hdc, font);
  TEXTMETRICW tm{};
  SIZE extent{};
  GetTextMetricsW(hdc, &tm);
  GetTextExtentPoint32W(hdc, kAlphabet, 52, &extent);
  DeleteDC(hdc);
  return SIZE{(extent.cx / 26 + 1) / 2, tm.tmHeight};
}

void ShowDialog(HWND dialog) {
  ShowWindow(dialog, SW_SHOWNORMAL);
  if (IsWindow(dialog)) SetForegroundWindow(dialog);
}

HWND CreateDialogFromTemplate(HINSTANCE instance, const DialogTemplate& t, HWND owner,
                              DLGPROC proc, LPARAM param, bool modal, HWND* disabledOwner) {
  *disabledOwner = nullptr;
  if (owner && !IsWindow(owner)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  HFONT font = t.hasFont ? TemplateFont(t) : nullptr;
  SIZE base = BaseUnitsOf(font);
  DWORD style = t.style, exStyle = t.exStyle;
  if (style & DS_CONTROL) style &= ~(WS_CAPTION | WS_SYSMENU);
  if (style & DS_MODALFRAME) exStyle |= WS_EX_DLGMODALFRAME;
  RECT rect{0, 0, MulDivRound(t.cx, base.cx, 4), MulDivRound(t.cy, base.cy, 8)};
  AdjustWindowRectEx(&rect, style, FALSE, exStyle);
  SIZE size{rect.right - rect.left, rect.bottom - rect.top};
  RECT frame = FrameOf(style, exStyle);
  POINT pos = Placement(t, owner, size, base, frame);
  if (modal) *disabledOwner = DisableOwner(owner);

  LPCWSTR className = kDialogClass;
  if (t.classIsAtom) className = MAKEINTATOM(t.classAtom);
  if (!t.className.empty()) className = t.className.c_str();
  HWND dialog;
  {
    wince::faults::OwnCalls own;  // part of the caller's one dialog call
    dialog = CreateWindowExW(exStyle, className, t.title.c_str(), style & ~WS_VISIBLE, pos.x,
                             pos.y, size.cx, size.cy, owner, nullptr, instance, nullptr);
  }
  if (!dialog) {
    if (font) DeleteObject(font);
    return Fail(nullptr, *disabledOwner);
  }
  DialogInfo& info = NewDialogInfo(dialog);
  info.font = font;
  info.baseX = base.cx;
  info.baseY = base.cy;
  Window* w = Lookup(dialog);
  if (w && w->extra.size() >= static_cast<size_t>(DLGWINDOWEXTRA))
    SetWindowLongPtrW(dialog, DWLP_DLGPROC, reinterpret_cast<LONG_PTR>(proc));
  if (proc && font) SendMessageW(dialog, WM_SETFONT, reinterpret_cast<WPARAM>(font), 0);
  if (!IsWindow(dialog) || !CreateControls(dialog, instance, t, info))
    return Fail(dialog, *disabledOwner);
  InitDialog(dialog, t, proc, param);
  if (!IsWindow(dialog)) return Fail(nullptr, *disabledOwner);
  DialogInfo* after = DialogOf(dialog);
  if ((t.style & WS_VISIBLE) && after && !after->ended && !IsWindowVisible(dialog))
    ShowDialog(dialog);
  return dialog;
}

}  // namespace wince::win

using namespace wince::win;

extern "C" INT_PTR WINAPI DialogBoxIndirectParamW(HINSTANCE instance, LPCDLGTEMPLATEW tmpl,
                                                  HWND owner, DLGPROC proc, LPARAM param) {
  if (wince::faults::ShouldFail(wince::host::Call::DialogBoxIndirectParamW)) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return -1;
  }
  if (!tmpl) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return -1;
  }
  auto* bytes = reinterpret_cast<const uint8_t*>(tmpl);
  return RunTemplate(instance, std::span<const uint8_t>(bytes, kTemplateLimit), owner, proc, param,
                     "DialogBoxIndirectParamW");
}

// 0 for an owner that is not a window, as the platform answers; -1 when the
// template cannot be found or read.
extern "C" INT_PTR WINAPI DialogBoxParamW(HINSTANCE instance, LPCWSTR name, HWND owner,
                                          DLGPROC proc, LPARAM param) {
  if (owner && !IsWindow(owner)) return 0;
  HRSRC found = FindResourceW(instance, name, RT_DIALOG);
  HGLOBAL loaded = found ? LoadResource(instance, found) : nullptr;
  auto* bytes = loaded ? static_cast<const uint8_t*>(LockResource(loaded)) : nullptr;
  if (!bytes) return -1;
  return RunTemplate(instance, std::span<const uint8_t>(bytes, SizeofResource(instance, found)),
                     owner, proc, param, "DialogBoxParamW");
}

extern "C" LONG WINAPI GetDialogBaseUnits(void) {
  SIZE base = BaseUnitsOf(nullptr);
  return MAKELONG(base.cx, base.cy);
}

extern "C" BOOL WINAPI MapDialogRect(HWND dialog, LPRECT rect) {
  DialogInfo* info = DialogOf(dialog);
  if (!info || !rect) {
    SetLastError(info ? ERROR_INVALID_PARAMETER : ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  rect->left = MulDivRound(rect->left, info->baseX, 4);
  rect->right = MulDivRound(rect->right, info->baseX, 4);
  rect->top = MulDivRound(rect->top, info->baseY, 8);
  rect->bottom = MulDivRound(rect->bottom, info->baseY, 8);
  return TRUE;
}
