// The "info" files of the language tree: the base folder's names the default
// language, each language folder's names its default layout. Only the first
// line counts; writers store the bare name without a line end.
#pragma once

#include <windows.h>

#include "language/path_names.h"

namespace tapora {

// Reads the first line of folder + "\info" into destination (PATH_UNITS),
// taken as read: a line feed at its end stays part of it. When the file
// cannot be opened, shows "Missing "info" file", leaves destination as it was
// and returns an empty string; when it cannot be read, shows the same message
// and returns destination emptied.
LPCWSTR ReadInfoFile(LPWSTR destination, LPCWSTR folder);

// Replaces folder + "\info" with text. FALSE, after the same message as
// ReadInfoFile, when the file cannot be opened or written.
BOOL WriteInfoFile(LPCWSTR folder, LPCWSTR text);

}  // namespace tapora
