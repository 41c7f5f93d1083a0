// The KBF mapping file, folder + "\KBF.txt": line n is the number n, one
// separator character and the full path of a keyboard file, for the key
// command that switches keyboards by number.
#pragma once

#include <windows.h>

#include "language/path_names.h"

namespace tapora {

// The path of entry n into destination (PATH_UNITS); empty after a message
// when the file cannot be opened or has no n-th line, and empty without one
// for n of 100 or more. The number in the line is not checked.
LPWSTR ReadKbfMapEntry(LPWSTR destination, LPCWSTR folder, int n);

}  // namespace tapora
