// Taking the language tree's paths apart and putting them together. Every
// destination holds PATH_UNITS units; text that would not fit is cut at its
// end.
#pragma once

#include <windows.h>

namespace tapora {

// Every path and name of the language tree, the terminator included.
constexpr int PATH_UNITS = 260;

// destination = folder + "\" + name (destination may be folder's buffer, not
// name's). True when it fit uncut.
bool JoinPath(LPWSTR destination, LPCWSTR folder, LPCWSTR name);

// destination += "\" + name. True when it fit uncut.
bool AppendPathPart(LPWSTR destination, LPCWSTR name);

// The characters after the last backslash of path; all of it without one.
LPWSTR FileNameOfPath(LPWSTR destination, LPCWSTR path);

// The language folder between baseFolder and fileName in fullPath
// (baseFolder + "\" + language + "\" + fileName). Empty for a file directly in
// baseFolder, and for a path that does not lie below baseFolder or is too
// short to hold both names.
LPWSTR LanguageOfPath(LPWSTR destination, LPCWSTR fullPath, LPCWSTR baseFolder, LPCWSTR fileName);

// "compact.kbf" -> "compact": the name without its last four characters;
// empty for a name of four characters or fewer.
LPWSTR LayoutDisplayName(LPWSTR destination, LPCWSTR fileName);

// "compact" -> "compact.kbf".
LPWSTR LayoutFileName(LPWSTR destination, LPCWSTR displayName);

}  // namespace tapora
