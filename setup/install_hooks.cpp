// The installer hooks: before installing or uninstalling they find out whether
// the input-method library is in use (a loaded library cannot be deleted) and
// cancel with a request to reset the device when it is; after uninstalling
// they remove the product folder.
//
// The library test deletes the library to see whether it can be, so it keeps
// a copy first and puts the library back from it. Nothing may be lost on the
// way: without a copy the library is never deleted, a failed copy back is
// tried again and otherwise the copy is kept, and a copy left over from an
// earlier run is removed first so that it can never replace the library.
#include <windows.h>

#include "apicalls/api_files.h"
#include "apicalls/api_ui.h"
#include "apicalls/api_window.h"
#include "apicalls/ce_compat.h"
#include "setup/setup_texts.h"

namespace tapora_setup {
namespace {

namespace api = tapora::api;

bool Exists(LPCWSTR path) { return api::GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES; }

void ShowMessage(LPCWSTR text, LPCWSTR caption) {
  api::MessageBoxW(api::GetForegroundWindow(), text, caption, MB_OK);
}

// Puts the library back from its copy; the copy goes only once it is back.
void RestoreLibrary() {
  if (api::CopyFileW(TEMPORARY_COPY_PATH, LIBRARY_PATH, TRUE) ||
      api::CopyFileW(TEMPORARY_COPY_PATH, LIBRARY_PATH, TRUE)) {
    api::DeleteFileW(TEMPORARY_COPY_PATH);
  }
}

// True when the library can be deleted (it is then back in place); false,
// after the hook's message, when it is in use or cannot be tested safely.
bool LibraryIsFree(LPCWSTR text, LPCWSTR caption) {
  if (Exists(TEMPORARY_COPY_PATH) && !api::DeleteFileW(TEMPORARY_COPY_PATH)) {
    ShowMessage(text, caption);
    return false;
  }
  if (!api::CopyFileW(LIBRARY_PATH, TEMPORARY_COPY_PATH, TRUE)) {
    // No copy to put it back from: the library must stay where it is. A
    // missing library lands here too, and counts as not deletable.
    ShowMessage(text, caption);
    return false;
  }
  if (api::DeleteFileW(LIBRARY_PATH)) {
    RestoreLibrary();
    return true;
  }
  api::DeleteFileW(TEMPORARY_COPY_PATH);
  ShowMessage(text, caption);
  return false;
}

bool LibraryPresent() {
  WIN32_FIND_DATAW found;
  HANDLE search = api::FindFirstFileW(LIBRARY_PATH, &found);
  if (search == INVALID_HANDLE_VALUE) return false;
  api::FindClose(search);
  return true;
}

}  // namespace
}  // namespace tapora_setup

using namespace tapora_setup;

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }

extern "C" codeINSTALL_INIT Install_Init(HWND, BOOL, BOOL, LPCWSTR) {
  if (!LibraryPresent()) return codeINSTALL_INIT_CONTINUE;
  return LibraryIsFree(INSTALL_TEXT, INSTALL_CAPTION) ? codeINSTALL_INIT_CONTINUE
                                                      : codeINSTALL_INIT_CANCEL;
}

extern "C" codeINSTALL_EXIT Install_Exit(HWND, LPCWSTR, WORD, WORD, WORD, WORD, WORD) {
  return codeINSTALL_EXIT_DONE;
}

extern "C" codeUNINSTALL_INIT Uninstall_Init(HWND, LPCWSTR) {
  return LibraryIsFree(UNINSTALL_TEXT, UNINSTALL_CAPTION) ? codeUNINSTALL_INIT_CONTINUE
                                                          : codeUNINSTALL_INIT_CANCEL;
}

extern "C" codeUNINSTALL_EXIT Uninstall_Exit(HWND) {
  // A folder that still holds files stays; that is not the hook's concern.
  tapora::api::RemoveDirectoryW(PRODUCT_FOLDER);
  return codeUNINSTALL_EXIT_DONE;
}
