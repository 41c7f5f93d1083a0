// The dialog manager's shared state: what each dialog window keeps, its
// creation from a template, its modal loop and the user that a test puts in
// front of it. Only the dialog*.cpp files use it.
#pragma once

#include <windows.h>

#include "wince/user/dialog_template.h"

namespace wince::win {

struct DialogInfo {
  HFONT font = nullptr;  // made from the template; deleted with the dialog
  int baseX = 0;         // dialog base units, in pixels
  int baseY = 0;
  INT_PTR result = IDOK;  // the default push button's id, or EndDialog's value
  bool ended = false;     // EndDialog was called
  HWND savedFocus = nullptr;
};

// The dialog state of a window; nullptr for a window that is no dialog.
DialogInfo* DialogOf(HWND hwnd);
DialogInfo& NewDialogInfo(HWND hwnd);
void DropDialogInfo(HWND hwnd);

// MulDiv: a * b / c rounded half away from zero.
int MulDivRound(int a, int b, int c);
// The base units of a font (NULL: the system font): the average width of the
// 52 Latin letters and the cell height.
SIZE BaseUnitsOf(HFONT font);
// The first control, in template order, that is visible and enabled, with
// WS_TABSTOP when asked.
HWND FirstControl(HWND dialog, bool tabStop);

// Shows a dialog and makes it the active window.
void ShowDialog(HWND dialog);
// Creates a dialog window and its controls and sends WM_INITDIALOG. A modal
// dialog first disables its owner's top-level window (returned in
// *disabledOwner, NULL when it was disabled already); a dialog that cannot
// be made enables it again and answers NULL.
HWND CreateDialogFromTemplate(HINSTANCE instance, const DialogTemplate& tmpl, HWND owner,
                              DLGPROC proc, LPARAM param, bool modal, HWND* disabledOwner);
// Runs a dialog's modal loop until EndDialog, destroys the dialog, enables
// the owner again when it is still disabled, and returns the result.
INT_PTR RunModalLoop(HWND dialog, HWND disabledOwner);

// Runs the next queued user action on the dialog; false when none waits.
// An action that cannot be done fails loudly, ends the dialog with -1 and
// drops the actions after it.
bool RunUserAction(HWND dialog);

}  // namespace wince::win
