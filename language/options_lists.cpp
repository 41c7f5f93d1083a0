// The options dialog's lists and check boxes (see options_lists.h). Both
// lists are sorted by the control (CBS_SORT), so items are added in whatever
// order the folder search returns them.
#include "language/options_lists.h"

#include "apicalls/api_dialog.h"
#include "apicalls/api_files.h"
#include "apicalls/api_text.h"
#include "language/language_texts.h"
#include "language/path_names.h"

namespace tapora {
namespace {

// A message whose lParam is a text (or null).
LRESULT Send(HWND control, UINT message, WPARAM wParam, LPCWSTR text) {
  return api::SendMessageW(control, message, wParam, reinterpret_cast<LPARAM>(text));
}

// Starts a search of every entry of folder. A pattern that would be cut
// names some other folder, so it finds nothing.
HANDLE FindEntries(LPCWSTR folder, LPWIN32_FIND_DATAW entry) {
  WCHAR pattern[PATH_UNITS];
  if (!JoinPath(pattern, folder, ALL_ENTRIES_PATTERN)) return INVALID_HANDLE_VALUE;
  return api::FindFirstFileW(pattern, entry);
}

// Layout files are told by the last three letters only, without the dot.
bool EndsWithKbf(LPCWSTR name) {
  int length = api::lstrlenW(name);
  return length >= 3 && api::lstrcmpiW(name + length - 3, LAYOUT_EXTENSION + 1) == 0;
}

}  // namespace

void AddLanguages(HWND list, LPCWSTR baseFolder) {
  WIN32_FIND_DATAW entry;
  HANDLE search = FindEntries(baseFolder, &entry);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
      Send(list, CB_ADDSTRING, 0, entry.cFileName);
    }
  } while (api::FindNextFileW(search, &entry));
  api::FindClose(search);
}

bool AddLayouts(HWND list, LPCWSTR languageFolder, bool replace) {
  WIN32_FIND_DATAW entry;
  HANDLE search = FindEntries(languageFolder, &entry);
  if (search == INVALID_HANDLE_VALUE) return false;
  if (replace) Send(list, CB_RESETCONTENT, 0, NULL);
  do {
    // Only a plain folder is passed over; anything else named so is a layout.
    if (entry.dwFileAttributes != FILE_ATTRIBUTE_DIRECTORY && EndsWithKbf(entry.cFileName)) {
      WCHAR displayName[PATH_UNITS];
      Send(list, CB_ADDSTRING, 0, LayoutDisplayName(displayName, entry.cFileName));
    }
  } while (api::FindNextFileW(search, &entry));
  api::FindClose(search);
  return true;
}

int ItemCount(HWND list) {
  LRESULT count = api::SendMessageW(list, CB_GETCOUNT, 0, 0);
  return count > 0 ? static_cast<int>(count) : 0;
}

bool FindAndSelect(HWND list, LPCWSTR name) {
  if (list == NULL) return false;
  // From the first item on: wParam -1 searches the whole list.
  LRESULT index = Send(list, CB_FINDSTRING, static_cast<WPARAM>(-1), name);
  if (index == CB_ERR) return false;
  api::SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  return true;
}

bool SelectedText(HWND list, LPWSTR text) {
  text[0] = 0;
  // A missing list answers 0, which would read as its first item.
  if (list == NULL) return false;
  LRESULT index = api::SendMessageW(list, CB_GETCURSEL, 0, 0);
  if (index == CB_ERR) return false;
  LRESULT length = api::SendMessageW(list, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length < 0 || length >= PATH_UNITS) return false;
  if (Send(list, CB_GETLBTEXT, static_cast<WPARAM>(index), text) == CB_ERR) {
    text[0] = 0;
    return false;
  }
  return true;
}

bool SameName(LPWSTR a, LPWSTR b) {
  api::CharUpperW(a);
  api::CharUpperW(b);
  return api::lstrcmpW(a, b) == 0;
}

bool IsChecked(HWND box) { return api::SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED; }

void SetCheck(HWND box, bool checked) {
  api::SendMessageW(box, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

}  // namespace tapora
