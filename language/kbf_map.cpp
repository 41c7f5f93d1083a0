// Looking up a keyboard by number in the KBF mapping file. Entries 1 to 9
// start after two characters ("3 path"), entries 10 to 99 after three
// ("12=path"); the number written in the line is not checked.
#include "language/kbf_map.h"

#include "apicalls/api_streams.h"
#include "apicalls/api_text.h"
#include "apicalls/api_ui.h"
#include "im/product.h"
#include "language/language_texts.h"
#include "language/path_names.h"

namespace tapora {
namespace {

void ShowMapMessage(LPCWSTR text) { api::MessageBoxW(nullptr, text, PRODUCT_CAPTION, MB_ICONEXCLAMATION); }

// Reads the next line into line (PATH_UNITS). A longer line is cut at the
// buffer's end and the rest of it skipped, so that the next read starts on
// the next line and the numbering holds. False at the end of the file or on
// a read error, with line empty.
bool ReadMapLine(LPWSTR line, FILE* file) {
  if (api::fgetws(line, PATH_UNITS, file) == nullptr) {
    line[0] = 0;
    return false;
  }
  int length = api::lstrlenW(line);
  if (length < PATH_UNITS - 1 || line[length - 1] == TEXT('\n')) return true;
  WCHAR rest[PATH_UNITS];
  while (api::fgetws(rest, PATH_UNITS, file) != nullptr) {
    int restLength = api::lstrlenW(rest);
    if (restLength > 0 && rest[restLength - 1] == TEXT('\n')) break;
  }
  return true;
}

}  // namespace

LPWSTR ReadKbfMapEntry(LPWSTR destination, LPCWSTR folder, int n) {
  destination[0] = 0;
  WCHAR path[PATH_UNITS];
  FILE* file = JoinPath(path, folder, KBF_MAP_FILE_NAME) ? api::_wfopen(path, TEXT("r")) : nullptr;
  if (file == nullptr) {
    ShowMapMessage(KBF_MAP_UNOPENED_TEXT);
    return destination;
  }
  // Past the end every further line would read as empty, so the count stops
  // there instead of running on to n.
  WCHAR line[PATH_UNITS];
  line[0] = 0;
  for (int count = 0; count < n && api::ferror(file) == 0; ++count) {
    if (!ReadMapLine(line, file)) break;
  }
  api::fclose(file);
  if (line[0] == 0) {
    ShowMapMessage(KBF_ENTRY_MISSING_TEXT);
    return destination;
  }
  // Only numbers of one or two digits have a known prefix to skip.
  if (n >= 100) return destination;
  int skip = n < 10 ? 2 : 3;
  int length = api::lstrlenW(line);
  if (length <= skip) return destination;
  api::lstrcpynW(destination, line + skip, PATH_UNITS);
  length -= skip;
  if (destination[length - 1] == TEXT('\n')) destination[length - 1] = 0;
  return destination;
}

}  // namespace tapora
