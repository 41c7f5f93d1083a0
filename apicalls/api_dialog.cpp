// Thin pass-throughs to the platform's dialog functions.
#include "apicalls/api_dialog.h"

namespace tapora::api {

INT_PTR DialogBoxIndirectParamW(HINSTANCE instance, LPCDLGTEMPLATEW dialogTemplate, HWND owner,
                                DLGPROC procedure, LPARAM initParam) {
  return ::DialogBoxIndirectParamW(instance, dialogTemplate, owner, procedure, initParam);
}

BOOL EndDialog(HWND dialog, INT_PTR result) { return ::EndDialog(dialog, result); }

HWND GetDlgItem(HWND dialog, int controlId) { return ::GetDlgItem(dialog, controlId); }

BOOL IsWindowVisible(HWND window) { return ::IsWindowVisible(window); }

LRESULT SendMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return ::SendMessageW(window, message, wParam, lParam);
}

LRESULT SendDlgItemMessageW(HWND dialog, int controlId, UINT message, WPARAM wParam,
                            LPARAM lParam) {
  return ::SendDlgItemMessageW(dialog, controlId, message, wParam, lParam);
}

}  // namespace tapora::api
