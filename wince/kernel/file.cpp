// File handles: CreateFileW, ReadFile, WriteFile, SetFilePointer,
// GetFileSize, CloseHandle. The opening rules live in open_files.cpp.
//
// Each handle has its own position. Reading at or past the end succeeds with
// 0 bytes; writing past the end fills the gap with zeros. The device has no
// overlapped I/O: a non-NULL OVERLAPPED fails with ERROR_INVALID_PARAMETER.
//
// The device reads its files from memory; the host would make a system call
// for every ReadFile, and a keyboard load makes thousands of small reads. So
// a handle through which the file cannot change is read whole on its second
// read, and later reads are served from that copy. A handle that neither
// writes nor shares writing qualifies: sharing refuses every open that would
// write while it is open. The one change sharing lets through, an open with
// CREATE_ALWAYS that asks for no write access, counts as a truncation, and
// copies taken before it are taken again. Changes made to the host file
// beside the device (by a host program) are not seen once the copy is taken.
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <vector>

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

using wince::files::HeldContents;

// Larger files are read from the host file every time.
constexpr uint64_t kMaxHeldBytes = uint64_t{1} << 20;

// Opens that truncated a file (CREATE_ALWAYS, TRUNCATE_EXISTING).
uint64_t& Truncations() {
  static uint64_t count = 0;
  return count;
}

bool MayHold(const OpenFile& file) {
  return !(file.access & GENERIC_WRITE) && !(file.share & FILE_SHARE_WRITE);
}

// Reads the whole file into the handle's copy; false when it is not a
// regular file, is too large, or does not read whole.
bool TakeCopy(OpenFile& file) {
  struct stat st {};
  if (::fstat(file.fd.get(), &st) != 0 || !S_ISREG(st.st_mode) ||
      static_cast<uint64_t>(st.st_size) > kMaxHeldBytes) {
    return false;
  }
  std::vector<unsigned char> bytes(static_cast<size_t>(st.st_size));
  size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = ::pread(file.fd.get(), bytes.data() + done, bytes.size() - done,
                        static_cast<off_t>(done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<size_t>(n);
  }
  file.contents.bytes = std::move(bytes);
  file.contents.truncations = Truncations();
  return true;
}

// Serves a read from the handle's copy, taking it first if it is due. False
// when this read must go to the host file.
bool ReadFromCopy(OpenFile& file, unsigned char* out, DWORD count, DWORD* done) {
  HeldContents& held = file.contents;
  using State = HeldContents::State;
  if (!MayHold(file) || held.state == State::NotHeld) return false;
  if (held.state == State::Held && held.truncations != Truncations()) held.state = State::ReadOnce;
  if (held.state == State::Unread) {
    // A handle read once (a loose record file) costs no more than before.
    held.state = State::ReadOnce;
    return false;
  }
  if (held.state == State::ReadOnce) {
    held.state = TakeCopy(file) ? State::Held : State::NotHeld;
    if (held.state == State::NotHeld) return false;
  }
  const uint64_t size = held.bytes.size();
  const uint64_t available = file.position < size ? size - file.position : 0;
  *done = static_cast<DWORD>(available < count ? available : count);
  if (*done != 0) std::memcpy(out, held.bytes.data() + file.position, *done);
  return true;
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
  if (number != 0 && (dwCreationDisposition == CREATE_ALWAYS ||
                      dwCreationDisposition == TRUNCATE_EXISTING)) {
    ++Truncations();
  }
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
  if (ReadFromCopy(*file, out, nNumberOfBytesToRead, &done)) {
    file->position += done;
    if (lpNumberOfBytesRead) *lpNumberOfBytesRead = done;
    return TRUE;
  }
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
