// Folders: CreateDirectoryW and RemoveDirectoryW.
//
// CreateDirectoryW of a name that exists (file or folder) fails with
// ERROR_ALREADY_EXISTS. RemoveDirectoryW: a missing folder gives
// ERROR_FILE_NOT_FOUND, a file ERROR_DIRECTORY, a folder with anything in it
// ERROR_DIR_NOT_EMPTY, the root ERROR_ACCESS_DENIED.
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include <windows.h>

#include "wince/kernel/fault_points.h"
#include "wince/kernel/file_system.h"

namespace {

BOOL Fail(DWORD error) {
  SetLastError(error);
  return FALSE;
}

}  // namespace

extern "C" BOOL WINAPI CreateDirectoryW(LPCWSTR lpPathName, LPSECURITY_ATTRIBUTES) {
  wince::fs::Resolved r = wince::fs::Resolve(lpPathName);
  if (r.error != 0) return Fail(r.error);
  if (r.exists || r.isRoot) return Fail(ERROR_ALREADY_EXISTS);
  if (::mkdir(r.host.c_str(), 0777) != 0) {
    return Fail(errno == EEXIST ? ERROR_ALREADY_EXISTS : wince::fs::ErrorFromErrno(errno));
  }
  return TRUE;
}

extern "C" BOOL WINAPI RemoveDirectoryW(LPCWSTR lpPathName) {
  if (wince::faults::ShouldFail(wince::host::Call::RemoveDirectoryW)) {
    return Fail(ERROR_ACCESS_DENIED);
  }
  wince::fs::Resolved r = wince::fs::Resolve(lpPathName);
  if (r.error != 0) return Fail(r.error);
  if (r.isRoot) return Fail(ERROR_ACCESS_DENIED);
  if (!r.exists) return Fail(ERROR_FILE_NOT_FOUND);
  if (!r.isDirectory) return Fail(ERROR_DIRECTORY);
  if (::rmdir(r.host.c_str()) != 0) {
    return Fail(errno == ENOTEMPTY || errno == EEXIST ? ERROR_DIR_NOT_EMPTY
                                                      : wince::fs::ErrorFromErrno(errno));
  }
  return TRUE;
}
