// The current choice of keyboard: base folder, language, layout file, the path
// last built from them, and the input panel's size. Process-wide; the names
// are set here on first use, then changed only by the options dialog and the
// keyboard-file key command; the size is written by every successful load.
#pragma once

#include <windows.h>

#include "language/path_names.h"

namespace tapora {

struct KeyboardSelectionRecord {
  WCHAR baseFolder[PATH_UNITS] = {};
  WCHAR languageName[PATH_UNITS] = {};  // empty: the keyboard lies directly in baseFolder
  WCHAR layoutFile[PATH_UNITS] = {};    // with its extension
  WCHAR keyboardPath[PATH_UNITS] = {};  // as last built by BuildKeyboardPath
  LONG windowHeight = 10;
  LONG windowWidth = 10;
};

extern KeyboardSelectionRecord KeyboardSelection;

// Builds keyboardPath from the names (on first use in the process reading
// them from the "info" files first) and returns it. Paths that would not fit
// are cut at the buffer's end.
LPWSTR BuildKeyboardPath();

// Sets baseFolder, then languageName and layoutFile from the "info" files,
// writing the default names back where a file is missing or empty.
void InitLanguageSelection();

}  // namespace tapora
