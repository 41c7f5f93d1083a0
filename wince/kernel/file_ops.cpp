// Whole-file operations by path: GetFileAttributesW, DeleteFileW, CopyFileW.
//
// Attributes: a folder (the root included) is FILE_ATTRIBUTE_DIRECTORY; a file
// is FILE_ATTRIBUTE_ARCHIVE, plus FILE_ATTRIBUTE_READONLY when the host file
// has no write permission. DeleteFileW refuses a folder or a read-only file
// (ERROR_ACCESS_DENIED), and a file with an open handle or held by a loaded
// module (ERROR_SHARING_VIOLATION: the device has no FILE_SHARE_DELETE, and
// its loader keeps a module's file open). CopyFileW opens its source for
// shared reading and its target exclusively for writing, by the same rules as
// CreateFileW, so it meets the same refusals. Both are fault points.
#include <unistd.h>

#include <cerrno>
#include <vector>

#include <sys/stat.h>

#include <windows.h>

#include "wince/kernel/fault_points.h"
#include "wince/kernel/file_system.h"
#include "wince/kernel/handle_table.h"
#include "wince/kernel/open_files.h"

namespace {

DWORD AttributesOf(const wince::fs::Resolved& r) {
  if (r.isDirectory) return FILE_ATTRIBUTE_DIRECTORY;
  DWORD attributes = FILE_ATTRIBUTE_ARCHIVE;
  if (wince::files::IsReadOnly(r.host)) attributes |= FILE_ATTRIBUTE_READONLY;
  return attributes;
}

// Closes the handles of a copy, keeping the last error the copy set.
struct CopyHandles {
  HANDLE source = NULL;
  HANDLE target = NULL;
  ~CopyHandles() {
    DWORD error = GetLastError();
    if (source) wince::files::Close(source);
    if (target) wince::files::Close(target);
    SetLastError(error);
  }
};

bool CopyBytes(int from, int to) {
  std::vector<unsigned char> buffer(64 * 1024);
  off_t offset = 0;
  for (;;) {
    ssize_t n = ::pread(from, buffer.data(), buffer.size(), offset);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      SetLastError(ERROR_READ_FAULT);
      return false;
    }
    if (n == 0) return true;
    for (ssize_t written = 0; written < n;) {
      ssize_t w = ::pwrite(to, buffer.data() + written, static_cast<size_t>(n - written),
                           offset + written);
      if (w < 0 && errno == EINTR) continue;
      if (w <= 0) {
        SetLastError(w < 0 && errno == ENOSPC ? ERROR_DISK_FULL : ERROR_WRITE_FAULT);
        return false;
      }
      written += w;
    }
    offset += n;
  }
}

}  // namespace

extern "C" DWORD WINAPI GetFileAttributesW(LPCWSTR lpFileName) {
  wince::fs::Resolved r = wince::fs::Resolve(lpFileName);
  if (r.error != 0) {
    SetLastError(r.error);
    return INVALID_FILE_ATTRIBUTES;
  }
  if (!r.exists) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return INVALID_FILE_ATTRIBUTES;
  }
  return AttributesOf(r);
}

extern "C" BOOL WINAPI DeleteFileW(LPCWSTR lpFileName) {
  if (wince::faults::ShouldFail(wince::host::Call::DeleteFileW)) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  wince::fs::Resolved r = wince::fs::Resolve(lpFileName);
  DWORD error = r.error;
  if (error == 0 && !r.exists) error = ERROR_FILE_NOT_FOUND;
  if (error == 0 && (r.isDirectory || wince::files::IsReadOnly(r.host))) {
    error = ERROR_ACCESS_DENIED;
  }
  if (error == 0 && (wince::files::IsOpen(r.host) || wince::fs::IsModuleFileHeld(r.host))) {
    error = ERROR_SHARING_VIOLATION;
  }
  if (error == 0 && ::unlink(r.host.c_str()) != 0) error = wince::fs::ErrorFromErrno(errno);
  if (error != 0) {
    SetLastError(error);
    return FALSE;
  }
  return TRUE;
}

extern "C" BOOL WINAPI CopyFileW(LPCWSTR lpExistingFileName, LPCWSTR lpNewFileName,
                                 BOOL bFailIfExists) {
  if (wince::faults::ShouldFail(wince::host::Call::CopyFileW)) {
    SetLastError(ERROR_DISK_FULL);
    return FALSE;
  }
  CopyHandles handles;
  uint32_t source = wince::files::Open(lpExistingFileName, GENERIC_READ, FILE_SHARE_READ,
                                       OPEN_EXISTING, 0);
  if (source == 0) return FALSE;
  handles.source = wince::HandleFromNumber(source);
  wince::files::OpenFile* from = wince::files::Find(handles.source);
  DWORD attributes = wince::files::IsReadOnly(from->host) ? FILE_ATTRIBUTE_READONLY : 0;
  uint32_t target = wince::files::Open(lpNewFileName, GENERIC_WRITE, 0,
                                       bFailIfExists ? CREATE_NEW : CREATE_ALWAYS, attributes);
  if (target == 0) return FALSE;
  handles.target = wince::HandleFromNumber(target);
  wince::files::OpenFile* to = wince::files::Find(handles.target);
  if (!CopyBytes(from->fd.get(), to->fd.get())) return FALSE;
  SetLastError(NO_ERROR);
  return TRUE;
}
