// File handles: CreateFileW, ReadFile, WriteFile, SetFilePointer,
// GetFileSize, CloseHandle. The opening rules live in open_files.cpp.
//
// Each handle has its own position. Reading at or past the end succeeds with
// 0 bytes; writing past the end fills the gap with zeros. The device has no
// overlapped I/O: a non-NULL OVERLAPPED fails with ERROR_INVALID_PARAMETER.
#include <unistd.h>

#include <cerrno>
#include <cstdint>

#include <sys/stat.h>

#include <windows.h>

#include "wince/kernel/fault_points.h"
#include "wince/kernel/file_system.h"
#include "wince/kernel/handle_table.h"
#include "wince/host/device.h"
#include "wince/kernel/open_files.h"

namespace {

using wince::files::OpenFile;

// Largest position a file on the device can have.
constexpr int64_t kMaxPosition = 0xFFFFFFFFll;

OpenFile* FileOrError(HANDLE hFile) {
  OpenFile* file = wince::files::Find(hFile);
  if (!file) SetLastError(ERROR_INVALID_HANDLE);
  return file;
}

bool HostSize(const OpenFile& file, uint64_t* size) {
  struct stat st {};
  if (::fstat(file.fd.get(), &st) != 0) return false;
  *size = static_cast<uint64_t>(st.st_size);
  return true;
}

}  // namespace

int wince::host::OpenFileHandles() { return wince::files::Count(); }

extern "C" HANDLE WINAPI CreateFileW(LPCWSTR lpFileName, DWORD dwDesiredAccess, DWORD dwShareMode,
                                     LPSECURITY_ATTRIBUTES, DWORD dwCreationDisposition,
                                     DWORD dwFlagsAndAttributes, HANDLE) {
  if (wince::faults::ShouldFail(wince::host::Call::CreateFileW)) {
    SetLastError(ERROR_SHARING_VIOLATION);
    return INVALID_HANDLE_VALUE;
  }
  uint32_t number = wince::files::Open(lpFileName, dwDesiredAccess, dwShareMode,
                                       dwCreationDisposition, dwFlagsAndAttributes);
  return number == 0 ? INVALID_HANDLE_VALUE : wince::HandleFromNumber(number);
}

extern "C" BOOL WINAPI ReadFile(HANDLE hFile, LPVOID lpBuffer, DWORD nNumberOfBytesToRead,
                                LPDWORD lpNumberOfBytesRead, LPOVERLAPPED lpOverlapped) {
  if (lpNumberOfBytesRead) *lpNumberOfBytesRead = 0;
  if (wince::faults::ShouldFail(wince::host::Call::ReadFile)) {
    SetLastError(ERROR_READ_FAULT);
    return FALSE;
  }
  OpenFile* file = FileOrError(hFile);
  if (!file) return FALSE;
  if (lpOverlapped) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (!(file->access & GENERIC_READ)) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  if (!lpBuffer && nNumberOfBytesToRead != 0) {
    SetLastError(ERROR_NOACCESS);
    return FALSE;
  }
  auto* out = static_cast<unsigned char*>(lpBuffer);
  DWORD done = 0;
  while (done < nNumberOfBytesToRead) {
    ssize_t n = ::pread(file->fd.get(), out + done, nNumberOfBytesToRead - done,
                        static_cast<off_t>(file->position + done));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      file->position += done;
      if (lpNumberOfBytesRead) *lpNumberOfBytesRead = done;
      SetLastError(ERROR_READ_FAULT);
      return FALSE;
    }
    if (n == 0) break;
    done += static_cast<DWORD>(n);
  }
  file->position += done;
  if (lpNumberOfBytesRead) *lpNumberOfBytesRead = done;
  return TRUE;
}

extern "C" BOOL WINAPI WriteFile(HANDLE hFile, LPCVOID lpBuffer, DWORD nNumberOfBytesToWrite,
                                 LPDWORD lpNumberOfBytesWritten, LPOVERLAPPED lpOverlapped) {
  if (lpNumberOfBytesWritten) *lpNumberOfBytesWritten = 0;
  if (wince::faults::ShouldFail(wince::host::Call::WriteFile)) {
    SetLastError(ERROR_DISK_FULL);
    return FALSE;
  }
  OpenFile* file = FileOrError(hFile);
  if (!file) return FALSE;
  if (lpOverlapped) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (!(file->access & GENERIC_WRITE)) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  if (!lpBuffer && nNumberOfBytesToWrite != 0) {
    SetLastError(ERROR_NOACCESS);
    return FALSE;
  }
  if (file->position + nNumberOfBytesToWrite > static_cast<uint64_t>(kMaxPosition)) {
    SetLastError(ERROR_DISK_FULL);
    return FALSE;
  }
  auto* in = static_cast<const unsigned char*>(lpBuffer);
  DWORD done = 0;
  while (done < nNumberOfBytesToWrite) {
    ssize_t n = ::pwrite(file->fd.get(), in + done, nNumberOfBytesToWrite - done,
                         static_cast<off_t>(file->position + done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      DWORD error = n < 0 ? wince::fs::ErrorFromErrno(errno) : ERROR_WRITE_FAULT;
      file->position += done;
      if (lpNumberOfBytesWritten) *lpNumberOfBytesWritten = done;
      SetLastError(error == ERROR_GEN_FAILURE ? ERROR_WRITE_FAULT : error);
      return FALSE;
    }
    done += static_cast<DWORD>(n);
  }
  file->position += done;
  if (lpNumberOfBytesWritten) *lpNumberOfBytesWritten = done;
  return TRUE;
}

// The new position's low DWORD. A position that would be negative fails with
// ERROR_NEGATIVE_SEEK and leaves the position; one past the end is allowed.
// Without lpDistanceToMoveHigh the move is the signed 32-bit distance and the
// result must fit in 32 bits. A success that returns 0xFFFFFFFF sets the
// last error to NO_ERROR, so callers can tell it from INVALID_SET_FILE_POINTER.
extern "C" DWORD WINAPI SetFilePointer(HANDLE hFile, LONG lDistanceToMove, PLONG lpDistanceToMoveHigh,
                                       DWORD dwMoveMethod) {
  OpenFile* file = FileOrError(hFile);
  if (!file) return INVALID_SET_FILE_POINTER;
  int64_t distance = lpDistanceToMoveHigh
                         ? static_cast<int64_t>((static_cast<uint64_t>(static_cast<uint32_t>(
                                                     *lpDistanceToMoveHigh))
                                                 << 32) |
                                                static_cast<uint32_t>(lDistanceToMove))
                         : static_cast<int64_t>(lDistanceToMove);
  uint64_t size = 0;
  int64_t base = 0;
  switch (dwMoveMethod) {
    case FILE_BEGIN: base = 0; break;
    case FILE_CURRENT: base = static_cast<int64_t>(file->position); break;
    case FILE_END:
      if (!HostSize(*file, &size)) {
        SetLastError(ERROR_GEN_FAILURE);
        return INVALID_SET_FILE_POINTER;
      }
      base = static_cast<int64_t>(size);
      break;
    default: SetLastError(ERROR_INVALID_PARAMETER); return INVALID_SET_FILE_POINTER;
  }
  // Both terms lie within +-2^63 / 2, so the sum cannot overflow for the
  // positions a device file can have; larger distances are refused first.
  if (distance > (int64_t{1} << 62) || distance < -(int64_t{1} << 62)) {
    SetLastError(distance < 0 ? ERROR_NEGATIVE_SEEK : ERROR_INVALID_PARAMETER);
    return INVALID_SET_FILE_POINTER;
  }
  int64_t target = base + distance;
  if (target < 0) {
    SetLastError(ERROR_NEGATIVE_SEEK);
    return INVALID_SET_FILE_POINTER;
  }
  if (!lpDistanceToMoveHigh && target > kMaxPosition) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return INVALID_SET_FILE_POINTER;
  }
  file->position = static_cast<uint64_t>(target);
  if (lpDistanceToMoveHigh) *lpDistanceToMoveHigh = static_cast<LONG>(target >> 32);
  DWORD low = static_cast<DWORD>(target & 0xFFFFFFFF);
  if (low == INVALID_SET_FILE_POINTER) SetLastError(NO_ERROR);
  return low;
}

extern "C" DWORD WINAPI GetFileSize(HANDLE hFile, LPDWORD lpFileSizeHigh) {
  OpenFile* file = FileOrError(hFile);
  uint64_t size = 0;
  if (!file) return INVALID_FILE_SIZE;
  if (!HostSize(*file, &size)) {
    SetLastError(ERROR_GEN_FAILURE);
    return INVALID_FILE_SIZE;
  }
  if (lpFileSizeHigh) *lpFileSizeHigh = static_cast<DWORD>(size >> 32);
  DWORD low = static_cast<DWORD>(size & 0xFFFFFFFF);
  if (low == INVALID_FILE_SIZE) SetLastError(NO_ERROR);
  return low;
}

extern "C" BOOL WINAPI CloseHandle(HANDLE hObject) {
  if (!wince::files::Close(hObject)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  return TRUE;
}
