// The options dialog's procedure (see options_dialog.h). The lists and check
// boxes are reached through options_lists.h; this file decides what each
// message does with them and with the "info" files. A folder path cut at the
// buffer's end leaves no room for "\info", so its "info" reads and writes as
// missing.
#include "language/options_dialog.h"

#include "apicalls/api_dialog.h"
#include "apicalls/api_files.h"
#include "apicalls/api_text.h"
#include "apicalls/api_ui.h"
#include "input/tap_handling.h"
#include "language/info_files.h"
#include "language/keyboard_selection.h"
#include "language/language_texts.h"
#include "language/options_lists.h"
#include "language/path_names.h"
#include "resources/resource_ids.h"

namespace tapora {

BYTE ReloadRequested = 0;

namespace {

// The controls, taken at WM_INITDIALOG and used by every later message.
struct OptionsControls {
  HWND languageList;
  HWND layoutList;
  HWND defaultLanguageBox;
  HWND defaultLayoutBox;
  HWND typematicBox;
};
OptionsControls Controls = {};

// The selection as it stands when a message arrives. Comparisons upper-case
// these copies, never KeyboardSelection itself.
struct SelectionNames {
  WCHAR baseFolder[PATH_UNITS];
  WCHAR languageName[PATH_UNITS];
  WCHAR layoutFile[PATH_UNITS];
};

void TakeSelectionNames(SelectionNames* names) {
  BuildKeyboardPath();
  api::lstrcpynW(names->baseFolder, KeyboardSelection.baseFolder, PATH_UNITS);
  api::lstrcpynW(names->languageName, KeyboardSelection.languageName, PATH_UNITS);
  api::lstrcpynW(names->layoutFile, KeyboardSelection.layoutFile, PATH_UNITS);
}

// Shows text and closes the dialog: what the tree holds cannot be shown.
INT_PTR EndWithError(HWND dialog, LPCWSTR text) {
  api::MessageBoxW(dialog, text, OPTIONS_ERROR_CAPTION, MB_ICONSTOP);
  api::EndDialog(dialog, OPTIONS_DISMISSED);
  return FALSE;
}

// Checks box when folder's "info" names name (without regard to case).
void CheckWhenInfoNames(HWND box, LPCWSTR folder, LPWSTR name) {
  // A missing file leaves the line as it was: empty.
  WCHAR line[PATH_UNITS];
  line[0] = 0;
  ReadInfoFile(line, folder);
  SetCheck(box, SameName(line, name));
}

INT_PTR InitOptions(HWND dialog, SelectionNames* names) {
  // A keyboard switched to a file in the base folder has no language to show.
  if (names->languageName[0] == 0 && names->baseFolder[0] != 0 && names->layoutFile[0] != 0) {
    return EndWithError(dialog, SELECT_LANGUAGE_TEXT);
  }
  Controls.languageList = api::GetDlgItem(dialog, IDC_LANGUAGE_LIST);
  Controls.layoutList = api::GetDlgItem(dialog, IDC_LAYOUT_LIST);
  Controls.defaultLanguageBox = api::GetDlgItem(dialog, IDC_DEFAULT_LANGUAGE);
  Controls.defaultLayoutBox = api::GetDlgItem(dialog, IDC_DEFAULT_LAYOUT);
  Controls.typematicBox = api::GetDlgItem(dialog, IDC_TYPEMATIC);
  if (Controls.languageList == NULL || Controls.layoutList == NULL) {
    api::MessageBoxW(dialog, NO_COMBO_BOX_TEXT, NO_COMBO_BOX_CAPTION, MB_OK);
    return FALSE;
  }

  WIN32_FIND_DATAW base;
  HANDLE search = api::FindFirstFileW(names->baseFolder, &base);
  if (search == INVALID_HANDLE_VALUE) {
    api::MessageBoxW(dialog, names->baseFolder, PATH_NOT_FOUND_CAPTION, MB_ICONSTOP);
    api::EndDialog(dialog, OPTIONS_DISMISSED);
    return FALSE;
  }
  api::FindClose(search);
  if ((base.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    AddLanguages(Controls.languageList, names->baseFolder);
  }
  if (ItemCount(Controls.languageList) == 0) return EndWithError(dialog, NO_LANGUAGES_TEXT);
  if (!FindAndSelect(Controls.languageList, names->languageName)) {
    return EndWithError(dialog, LANGUAGE_NOT_FOUND_TEXT);
  }
  CheckWhenInfoNames(Controls.defaultLanguageBox, names->baseFolder, names->languageName);

  // A language path that does not fit names no folder: no entries.
  WCHAR languageFolder[PATH_UNITS];
  bool entries = JoinPath(languageFolder, names->baseFolder, names->languageName) &&
                 AddLayouts(Controls.layoutList, languageFolder, false);
  if (entries && ItemCount(Controls.layoutList) == 0) return EndWithError(dialog, NO_LAYOUTS_TEXT);
  WCHAR displayName[PATH_UNITS];
  if (!FindAndSelect(Controls.layoutList, LayoutDisplayName(displayName, names->layoutFile))) {
    return EndWithError(dialog, LAYOUT_NOT_FOUND_TEXT);
  }
  CheckWhenInfoNames(Controls.defaultLayoutBox, languageFolder, names->layoutFile);
  if (TypematicEnabled != 0) SetCheck(Controls.typematicBox, true);
  return TRUE;
}

// A language was picked: its layouts replace the list, its default layout is
// selected (written as "keyboard.kbf" when it had none) and marked default.
INT_PTR LanguageChosen(HWND dialog, const SelectionNames* names) {
  WCHAR language[PATH_UNITS];
  WCHAR languageFolder[PATH_UNITS];
  if (!SelectedText(Controls.languageList, language)) return FALSE;
  // A folder without entries leaves the previous layouts in place.
  if (!JoinPath(languageFolder, names->baseFolder, language) ||
      !AddLayouts(Controls.layoutList, languageFolder, true)) {
    return FALSE;
  }
  if (ItemCount(Controls.layoutList) == 0) return EndWithError(dialog, NO_LAYOUTS_TEXT);

  WCHAR line[PATH_UNITS];
  line[0] = 0;
  ReadInfoFile(line, languageFolder);
  WCHAR displayName[PATH_UNITS];
  LayoutDisplayName(displayName, line[0] != 0 ? line : DEFAULT_LAYOUT);
  if (!FindAndSelect(Controls.layoutList, displayName)) {
    return EndWithError(dialog, LAYOUT_NOT_FOUND_TEXT);
  }
  if (line[0] == 0 && !WriteInfoFile(languageFolder, DEFAULT_LAYOUT)) {
    return EndWithError(dialog, MISSING_INFO_TEXT);
  }
  SetCheck(Controls.defaultLayoutBox, true);
  CheckWhenInfoNames(Controls.defaultLanguageBox, names->baseFolder, language);
  return FALSE;
}

// A layout was picked: the default box follows its language's "info".
INT_PTR LayoutChosen(const SelectionNames* names) {
  WCHAR language[PATH_UNITS];
  WCHAR displayName[PATH_UNITS];
  if (!SelectedText(Controls.languageList, language) ||
      !SelectedText(Controls.layoutList, displayName)) {
    return FALSE;
  }
  WCHAR languageFolder[PATH_UNITS];
  WCHAR fileName[PATH_UNITS];
  JoinPath(languageFolder, names->baseFolder, language);
  LayoutFileName(fileName, displayName);
  CheckWhenInfoNames(Controls.defaultLayoutBox, languageFolder, fileName);
  return FALSE;
}

INT_PTR OkChosen(HWND dialog, SelectionNames* names) {
  WCHAR language[PATH_UNITS];
  WCHAR displayName[PATH_UNITS];
  WCHAR fileName[PATH_UNITS];
  ReloadRequested = 0;
  if (SelectedText(Controls.languageList, language) &&
      SelectedText(Controls.layoutList, displayName)) {
    LayoutFileName(fileName, displayName);
    // The layout is compared only when the language is the same, so a new
    // language keeps the layout's own spelling; both are stored as the
    // comparison left them.
    if (!SameName(language, names->languageName) || !SameName(fileName, names->layoutFile)) {
      api::lstrcpynW(names->languageName, language, PATH_UNITS);
      api::lstrcpynW(names->layoutFile, fileName, PATH_UNITS);
      api::lstrcpynW(KeyboardSelection.languageName, language, PATH_UNITS);
      api::lstrcpynW(KeyboardSelection.layoutFile, fileName, PATH_UNITS);
      ReloadRequested = 1;
    }
  }
  // Write failures have shown their message; the choice stands regardless.
  if (IsChecked(Controls.defaultLanguageBox)) WriteInfoFile(names->baseFolder, names->languageName);
  if (IsChecked(Controls.defaultLayoutBox)) {
    WCHAR languageFolder[PATH_UNITS];
    JoinPath(languageFolder, names->baseFolder, names->languageName);
    WriteInfoFile(languageFolder, names->layoutFile);
  }
  TypematicEnabled = IsChecked(Controls.typematicBox) ? 1 : 0;
  api::EndDialog(dialog, IDOK);
  return TRUE;
}

INT_PTR Command(HWND dialog, WPARAM wParam, SelectionNames* names) {
  switch (LOWORD(wParam)) {
    case IDOK:
      return OkChosen(dialog, names);
    case IDCANCEL:
      api::EndDialog(dialog, IDCANCEL);
      return TRUE;
    case IDC_LANGUAGE_LIST:
      return HIWORD(wParam) == CBN_SELCHANGE ? LanguageChosen(dialog, names) : FALSE;
    case IDC_LAYOUT_LIST:
      return HIWORD(wParam) == CBN_SELCHANGE ? LayoutChosen(names) : FALSE;
    case IDC_DEFAULT_LANGUAGE:
    case IDC_DEFAULT_LAYOUT:
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

INT_PTR CALLBACK OptionsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  SelectionNames names;
  TakeSelectionNames(&names);
  switch (message) {
    case WM_INITDIALOG:
      return InitOptions(dialog, &names);
    case WM_COMMAND:
      return Command(dialog, wParam, &names);
    case WM_ACTIVATE:
      // Tapping outside the dialog closes it like Cancel. EndDialog itself
      // hides the dialog and then hands the activation back to the owner;
      // ending again then would replace the result of OK or Cancel.
      if (LOWORD(wParam) != WA_INACTIVE) return FALSE;
      if (api::IsWindowVisible(dialog)) api::EndDialog(dialog, OPTIONS_DISMISSED);
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace tapora
