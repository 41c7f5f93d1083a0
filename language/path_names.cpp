// Path and name routines of the language tree. Copies run forwards unit by
// unit and stop at the buffer's end, so a destination may also be the source
// it starts from.
#include "language/path_names.h"

#include "apicalls/api_text.h"
#include "language/language_texts.h"

namespace tapora {
namespace {

// Copies at most count units of source into destination and terminates it.
void CopyUnits(LPWSTR destination, LPCWSTR source, int count) {
  if (count > PATH_UNITS - 1) count = PATH_UNITS - 1;
  int i = 0;
  for (; i < count && source[i] != 0; ++i) destination[i] = source[i];
  destination[i] = 0;
}

// True when text begins with folder, without regard to case, as the file
// system compares names.
bool StartsWithFolder(LPCWSTR text, LPCWSTR folder, int folderLength) {
  if (folderLength >= PATH_UNITS) return false;
  WCHAR head[PATH_UNITS];
  CopyUnits(head, text, folderLength);
  return api::CompareText(head, folder, api::COMPARE_IGNORE_CASE, 0) == 0;
}

}  // namespace

bool JoinPath(LPWSTR destination, LPCWSTR folder, LPCWSTR name) {
  // A folder cut at the buffer's end leaves no room for the rest, so the
  // append reports the cut.
  CopyUnits(destination, folder, PATH_UNITS - 1);
  return AppendPathPart(destination, name);
}

bool AppendPathPart(LPWSTR destination, LPCWSTR name) {
  int before = api::lstrlenW(destination);
  api::AppendBounded(destination, TEXT("\\"), PATH_UNITS);
  api::AppendBounded(destination, name, PATH_UNITS);
  return before + 1 + api::lstrlenW(name) < PATH_UNITS;
}

LPWSTR FileNameOfPath(LPWSTR destination, LPCWSTR path) {
  LPCWSTR name = path;
  for (LPCWSTR p = path; *p != 0; ++p) {
    if (*p == TEXT('\\')) name = p + 1;
  }
  CopyUnits(destination, name, PATH_UNITS - 1);
  return destination;
}

LPWSTR LanguageOfPath(LPWSTR destination, LPCWSTR fullPath, LPCWSTR baseFolder, LPCWSTR fileName) {
  int baseLength = api::lstrlenW(baseFolder);
  int start = baseLength + 1;
  int stop = api::lstrlenW(fullPath) - (api::lstrlenW(fileName) + 1);
  // Nothing lies between the two names (a file directly in the base folder),
  // or the path is too short to hold them; a path from elsewhere has no
  // language folder either.
  if (stop <= start || fullPath[baseLength] != TEXT('\\') ||
      !StartsWithFolder(fullPath, baseFolder, baseLength)) {
    destination[0] = 0;
    return destination;
  }
  CopyUnits(destination, fullPath + start, stop - start);
  return destination;
}

LPWSTR LayoutDisplayName(LPWSTR destination, LPCWSTR fileName) {
  int length = api::lstrlenW(fileName);
  CopyUnits(destination, fileName, length > 4 ? length - 4 : 0);
  return destination;
}

LPWSTR LayoutFileName(LPWSTR destination, LPCWSTR displayName) {
  CopyUnits(destination, displayName, PATH_UNITS - 1);
  api::AppendBounded(destination, LAYOUT_EXTENSION, PATH_UNITS);
  return destination;
}

}  // namespace tapora
