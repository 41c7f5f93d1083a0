// The options dialog: the user picks the language folder and the layout file
// of the keyboard, marks either as the default in its "info" file, and turns
// typematic repeat on or off. The dialog itself comes from the library's
// resources (IDD_OPTIONS); this is its procedure.
//
// Every message starts from the current KeyboardSelection, so nothing the
// dialog shows is kept apart from it: the lists and boxes are the state.
//   WM_INITDIALOG  fills the lists from the language tree, selects the current
//                  names, sets the boxes from the "info" files and typematic
//   a language     refills the layout list and selects that language's default
//   a layout       shows whether it is its language's default
//   OK             stores the chosen names in KeyboardSelection, asks for a
//                  reload when they changed, writes the checked defaults
//   Cancel, or the dialog losing activation: ends it, changing nothing
#pragma once

#include <windows.h>

namespace tapora {

// 1 after OK changed the language or the layout: the keyboard must be loaded
// again. Set by every OK, read by whoever ran the dialog.
extern BYTE ReloadRequested;

// The dialog's results besides IDOK and IDCANCEL: closed because it lost
// activation, or because the language tree did not allow it to open.
constexpr INT_PTR OPTIONS_DISMISSED = 0;

INT_PTR CALLBACK OptionsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace tapora
