// The platform-call layer for modal dialogs and their controls: running a
// dialog from a template in memory, ending it, and talking to its controls
// by message. One thin function per system function.
#pragma once

#include <windows.h>

namespace tapora::api {

INT_PTR DialogBoxIndirectParamW(HINSTANCE instance, LPCDLGTEMPLATEW dialogTemplate, HWND owner,
                                DLGPROC procedure, LPARAM initParam);
BOOL EndDialog(HWND dialog, INT_PTR result);
HWND GetDlgItem(HWND dialog, int controlId);
BOOL IsWindowVisible(HWND window);
LRESULT SendMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT SendDlgItemMessageW(HWND dialog, int controlId, UINT message, WPARAM wParam,
                            LPARAM lParam);

}  // namespace tapora::api
