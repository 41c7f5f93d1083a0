// The options dialog's controls as its procedure uses them: the two sorted
// drop-down lists filled from the language tree, and the check boxes. Every
// function takes the control's window (null when the dialog lacks it: lists
// then hold nothing and boxes read as unchecked).
#pragma once

#include <windows.h>

namespace tapora {

// Adds every folder in baseFolder to the language list.
void AddLanguages(HWND list, LPCWSTR baseFolder);

// Adds every file in languageFolder whose name ends in "kbf" (any case), by
// its display name; with replace, the list is emptied first, but only once
// the folder is known to have entries. False when it has none (or cannot be
// found): the list is then left as it was.
bool AddLayouts(HWND list, LPCWSTR languageFolder, bool replace);

// The number of items; 0 for a list that is missing.
int ItemCount(HWND list);

// Selects the first item, in the list's order, that begins with name without
// regard to case. False when there is none.
bool FindAndSelect(HWND list, LPCWSTR name);

// The selected item's text into text (PATH_UNITS). False when nothing is
// selected or the text would not fit.
bool SelectedText(HWND list, LPWSTR text);

// Upper-cases both names in place and compares them.
bool SameName(LPWSTR a, LPWSTR b);

bool IsChecked(HWND box);
void SetCheck(HWND box, bool checked);

}  // namespace tapora
