// The open files of the host: one entry per CreateFileW handle, with the
// access and share mode it was opened with and its own file position. Sharing
// is checked here against every other open of the same file, so CreateFileW
// and CopyFileW (which opens its two files the same way) agree.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include <windows.h>

namespace wince::files {

// Owns a host file descriptor.
class UniqueFd {
 public:
  UniqueFd() = default;
  explicit UniqueFd(int fd) : fd_(fd) {}
  UniqueFd(UniqueFd&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
  UniqueFd& operator=(UniqueFd&& other) noexcept;
  UniqueFd(const UniqueFd&) = delete;
  UniqueFd& operator=(const UniqueFd&) = delete;
  ~UniqueFd();
  int get() const { return fd_; }

 private:
  int fd_ = -1;
};

// A copy of a file's bytes that ReadFile serves reads from (file.cpp decides
// when a handle may have one).
struct HeldContents {
  enum class State { Unread, ReadOnce, Held, NotHeld };
  State state = State::Unread;
  uint64_t truncations = 0;  // file.cpp's truncation count when taken
  std::vector<unsigned char> bytes;
};

struct OpenFile {
  UniqueFd fd;
  std::string key;  // the file's identity: its canonical host path
  std::filesystem::path host;
  DWORD access = 0;  // GENERIC_READ and/or GENERIC_WRITE
  DWORD share = 0;   // FILE_SHARE_READ and/or FILE_SHARE_WRITE
  uint64_t position = 0;
  HeldContents contents;
};

// Opens or creates a device file by CreateFileW's rules: the dispositions, the
// share modes of the other opens, the files held by modules and read-only
// files. Returns the new handle's number (last error NO_ERROR, or
// ERROR_ALREADY_EXISTS where CreateFileW reports it), or 0 with the last error
// set.
uint32_t Open(LPCWSTR devicePath, DWORD access, DWORD share, DWORD disposition, DWORD attributes);

OpenFile* Find(HANDLE handle);
bool Close(HANDLE handle);

// Whether any handle is open on the file at hostPath.
bool IsOpen(const std::filesystem::path& hostPath);

// The canonical identity of a host file, as OpenFile::key holds it.
std::string FileKey(const std::filesystem::path& hostPath);

// Whether the host file lacks write permission (FILE_ATTRIBUTE_READONLY).
bool IsReadOnly(const std::filesystem::path& hostPath);

int Count();

}  // namespace wince::files
