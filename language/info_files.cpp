// Reading and writing the "info" files, through the runtime's wide text
// streams (text mode: the system code page on disk, CR LF line ends).
#include "language/info_files.h"

#include "apicalls/api_streams.h"
#include "apicalls/api_ui.h"
#include "language/language_texts.h"
#include "language/path_names.h"

namespace tapora {
namespace {

void ShowMissingInfo() { api::MessageBoxW(nullptr, MISSING_INFO_TEXT, MISSING_INFO_CAPTION, MB_ICONSTOP); }

// Opens folder + "\info". A path that would not fit is not opened at all:
// cut short it would name some other file.
FILE* OpenInfoFile(LPCWSTR folder, LPCWSTR mode) {
  WCHAR path[PATH_UNITS];
  if (!JoinPath(path, folder, INFO_FILE_NAME)) return nullptr;
  return api::_wfopen(path, mode);
}

}  // namespace

LPCWSTR ReadInfoFile(LPWSTR destination, LPCWSTR folder) {
  FILE* file = OpenInfoFile(folder, TEXT("r"));
  if (file == nullptr) {
    ShowMissingInfo();
    return TEXT("");
  }
  destination[0] = 0;
  bool unreadable = false;
  if (api::fgetws(destination, PATH_UNITS, file) == nullptr) {
    // After a failed read the buffer may hold part of a line without its end.
    destination[0] = 0;
    unreadable = api::ferror(file) != 0;
  }
  api::fclose(file);
  if (unreadable) ShowMissingInfo();
  return destination;
}

BOOL WriteInfoFile(LPCWSTR folder, LPCWSTR text) {
  FILE* file = OpenInfoFile(folder, TEXT("w"));
  if (file == nullptr) {
    ShowMissingInfo();
    return FALSE;
  }
  // A name the code page cannot hold, or a failed write, must not pass for
  // a stored default.
  bool written = api::fputws(text, file) != api::STREAM_WEOF;
  written = api::ferror(file) == 0 && written;
  written = api::fclose(file) == 0 && written;
  if (!written) {
    ShowMissingInfo();
    return FALSE;
  }
  return TRUE;
}

}  // namespace tapora
