// The running dialog: DefDlgProcW (the dialog class's window procedure),
// EndDialog, GetDlgItem, GetDlgCtrlID, SendDlgItemMessageW, Set/GetDlgItemTextW
// and GetNextDlgTabItem.
//
// DefDlgProcW calls the dialog procedure first (DWLP_DLGPROC) and does the
// default only when it answers FALSE: filling the background with the brush
// WM_CTLCOLORDLG gives, keeping the focus control while the dialog is hidden
// or inactive and giving it back on activation, DM_GETDEFID/DM_SETDEFID,
// WM_GETFONT, and turning WM_CLOSE into a posted WM_COMMAND(IDCANCEL). What
// it returns is the procedure's answer for WM_INITDIALOG and WM_CTLCOLOR*,
// else DWLP_MSGRESULT, which it clears before each call. A dialog's own
// state goes at WM_NCDESTROY whatever the procedure answers.
//
// EndDialog, as the platform: records the result, enables the owner, gives
// the focus to the dialog itself, hides it without activating anything,
// and, when it was the active window, activates the owner, so the dialog
// sees WM_ACTIVATE(WA_INACTIVE) (an EndDialog there replaces the result);
// then it posts WM_NULL to wake the loop. Controls are found in template
// order, among the dialog's direct children.
#include <vector>

#include <windows.h>

#include "wince/user/controls.h"
#include "wince/user/dialog_internal.h"
#include "wince/user/window_internal.h"

namespace wince::win {
namespace {

constexpr DWORD kErrorControlIdNotFound = 1421;

PerWindow<DialogInfo>& Dialogs() {
  static PerWindow<DialogInfo> dialogs;
  return dialogs;
}

// Children in the order they were made: the z-order keeps the newest first.
std::vector<HWND> ControlsInOrder(HWND dialog) {
  Window* w = Lookup(dialog);
  if (!w) return {};
  return std::vector<HWND>(w->children.rbegin(), w->children.rend());
}

bool Usable(HWND control, bool tabStop) {
  auto style = static_cast<DWORD>(GetWindowLongW(control, GWL_STYLE));
  return (style & WS_VISIBLE) && !(style & WS_DISABLED) && (!tabStop || (style & WS_TABSTOP));
}

// The dialog procedure kept in the window's extra bytes.
DLGPROC ProcOf(HWND dialog) {
  Window* w = Lookup(dialog);
  if (!w || w->extra.size() < static_cast<size_t>(DLGWINDOWEXTRA)) return nullptr;
  return reinterpret_cast<DLGPROC>(GetWindowLongPtrW(dialog, DWLP_DLGPROC));
}

void SetResult(HWND dialog, LRESULT value) {
  Window* w = Lookup(dialog);
  if (w && w->extra.size() >= static_cast<size_t>(DLGWINDOWEXTRA))
    SetWindowLongPtrW(dialog, DWLP_MSGRESULT, value);
}

LRESULT Result(HWND dialog) {
  Window* w = Lookup(dialog);
  if (!w || w->extra.size() < static_cast<size_t>(DLGWINDOWEXTRA)) return 0;
  return GetWindowLongPtrW(dialog, DWLP_MSGRESULT);
}

void SaveFocus(HWND dialog) {
  HWND focus = GetFocus();
  DialogInfo* info = DialogOf(dialog);
  if (info && focus && IsChild(dialog, focus)) info->savedFocus = focus;
}

void RestoreFocus(HWND dialog, bool justActivated) {
  DialogInfo* info = DialogOf(dialog);
  if (!info || info->ended) return;
  if (!IsWindow(info->savedFocus) || info->savedFocus == dialog) {
    if (justActivated) return;
    info->savedFocus = FirstControl(dialog, true);
    if (!info->savedFocus) info->savedFocus = FirstControl(dialog, false);
    if (!info->savedFocus) return;
  }
  HWND focus = info->savedFocus;
  info->savedFocus = nullptr;
  SetFocus(focus);
}

LRESULT DefaultAction(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  DialogInfo* info = DialogOf(dialog);
  switch (message) {
    case WM_ERASEBKGND: {
      auto brush = reinterpret_cast<HBRUSH>(
          SendMessageW(dialog, WM_CTLCOLORDLG, wParam, reinterpret_cast<LPARAM>(dialog)));
      if (!brush)
        brush = reinterpret_cast<HBRUSH>(
            DefWindowProcW(dialog, WM_CTLCOLORDLG, wParam, reinterpret_cast<LPARAM>(dialog)));
      RECT client;
      GetClientRect(dialog, &client);
      FillRect(reinterpret_cast<HDC>(wParam), &client, brush);
      return 1;
    }
    case WM_SHOWWINDOW:
      if (!wParam) SaveFocus(dialog);
      return DefWindowProcW(dialog, message, wParam, lParam);
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE) {
        RestoreFocus(dialog, true);
      } else {
        SaveFocus(dialog);
      }
      return 0;
    case WM_SETFOCUS: RestoreFocus(dialog, false); return 0;
    case DM_SETDEFID:
      if (info && !info->ended) info->result = static_cast<INT_PTR>(wParam);
      return 1;
    case DM_GETDEFID:
      if (info && !info->ended && info->result) return MAKELONG(info->result, DC_HASDEFID);
      return 0;
    case WM_GETFONT: return info ? reinterpret_cast<LRESULT>(info->font) : 0;
    case WM_CLOSE:
      PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                   reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDCANCEL)));
      return 0;
    default: return DefWindowProcW(dialog, message, wParam, lParam);
  }
}

bool HasDefault(UINT message) {
  switch (message) {
    case WM_ERASEBKGND:
    case WM_SHOWWINDOW:
    case WM_ACTIVATE:
    case WM_SETFOCUS:
    case DM_SETDEFID:
    case DM_GETDEFID:
    case WM_GETFONT:
    case WM_CLOSE: return true;
    default: return false;
  }
}

}  // namespace

DialogInfo* DialogOf(HWND hwnd) { return Dialogs().Find(hwnd); }
DialogInfo& NewDialogInfo(HWND hwnd) { return Dialogs().Get(hwnd); }

void DropDialogInfo(HWND hwnd) {
  if (DialogInfo* info = Dialogs().Find(hwnd); info && info->font) DeleteObject(info->font);
  Dialogs().Erase(hwnd);
}

HWND FirstControl(HWND dialog, bool tabStop) {
  for (HWND control : ControlsInOrder(dialog))
    if (Usable(control, tabStop)) return control;
  return nullptr;
}

}  // namespace wince::win

using namespace wince::win;

extern "C" LRESULT WINAPI DefDlgProcW(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  SetResult(dialog, 0);
  DLGPROC proc = ProcOf(dialog);
  INT_PTR result = proc ? proc(dialog, message, wParam, lParam) : 0;
  if (message == WM_NCDESTROY) {
    DropDialogInfo(dialog);
    return DefWindowProcW(dialog, message, wParam, lParam);
  }
  if (!result && IsWindow(dialog)) {
    if (HasDefault(message)) return DefaultAction(dialog, message, wParam, lParam);
    if (message != WM_INITDIALOG) return DefWindowProcW(dialog, message, wParam, lParam);
  }
  if ((message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) || message == WM_INITDIALOG)
    return result;
  return Result(dialog);
}

extern "C" BOOL WINAPI EndDialog(HWND dialog, INT_PTR result) {
  DialogInfo* info = DialogOf(dialog);
  if (!info) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  info->result = result;
  info->ended = true;
  HWND owner = reinterpret_cast<HWND>(GetWindowLongPtrW(dialog, GWLP_HWNDPARENT));
  if (owner) EnableWindow(owner, TRUE);
  if (IsChild(dialog, GetFocus())) SetFocus(dialog);
  SetWindowPos(dialog, nullptr, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW);
  if (dialog == GetActiveWindow()) {
    if (owner) {
      SetForegroundWindow(owner);
    } else {
      ActivateOtherApplication();
    }
  }
  PostMessageW(dialog, WM_NULL, 0, 0);
  return TRUE;
}

// NULL, with ERROR_CONTROL_ID_NOT_FOUND, when no control has the id.
extern "C" HWND WINAPI GetDlgItem(HWND dialog, int id) {
  if (!WindowOf(dialog)) return nullptr;
  for (HWND control : ControlsInOrder(dialog))
    if (Window* c = Lookup(control); c && static_cast<int>(c->id) == id) return control;
  SetLastError(kErrorControlIdNotFound);
  return nullptr;
}

extern "C" int WINAPI GetDlgCtrlID(HWND hwnd) {
  Window* w = WindowOf(hwnd);
  return w ? static_cast<int>(w->id) : 0;
}

extern "C" LRESULT WINAPI SendDlgItemMessageW(HWND dialog, int id, UINT message, WPARAM wParam,
                                              LPARAM lParam) {
  HWND control = GetDlgItem(dialog, id);
  return control ? SendMessageW(control, message, wParam, lParam) : 0;
}

extern "C" BOOL WINAPI SetDlgItemTextW(HWND dialog, int id, LPCWSTR text) {
  return static_cast<BOOL>(
      SendDlgItemMessageW(dialog, id, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)));
}

extern "C" UINT WINAPI GetDlgItemTextW(HWND dialog, int id, LPWSTR text, int size) {
  if (text && size > 0) text[0] = 0;
  return static_cast<UINT>(SendDlgItemMessageW(dialog, id, WM_GETTEXT, static_cast<WPARAM>(size),
                                               reinterpret_cast<LPARAM>(text)));
}

// The next (or previous) visible, enabled WS_TABSTOP control after `control`
// in template order, going round; the first (or last) one for NULL.
extern "C" HWND WINAPI GetNextDlgTabItem(HWND dialog, HWND control, BOOL previous) {
  if (!WindowOf(dialog)) return nullptr;
  std::vector<HWND> order = ControlsInOrder(dialog);
  if (previous) order.assign(order.rbegin(), order.rend());
  size_t start = 0;
  for (size_t i = 0; control && i < order.size(); ++i)
    if (order[i] == control) start = i + 1;
  for (size_t n = 0; n < order.size(); ++n) {
    HWND candidate = order[(start + n) % order.size()];
    if (candidate != control && Usable(candidate, true)) return candidate;
  }
  return control;
}
