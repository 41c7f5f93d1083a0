// The table of open files and CreateFileW's opening rules.
//
// Sharing (the device knows FILE_SHARE_READ and FILE_SHARE_WRITE only): a new
// open fails with ERROR_SHARING_VIOLATION when it asks for read or write
// access that an existing open of the file does not share, or when its own
// share mode refuses the access of an existing open. Share mode 0 is
// exclusive both ways. Sharing is checked before a disposition truncates.
#include "wince/kernel/open_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

#include "wince/kernel/file_system.h"
#include "wince/kernel/handle_table.h"

namespace wince::files {
namespace {

HandleTable<OpenFile>& Table() {
  static HandleTable<OpenFile> table(0x00000100u, 0x007FFFFCu);
  return table;
}

bool SharingAllows(const std::string& key, DWORD access, DWORD share) {
  bool allowed = true;
  Table().ForEach([&](uint32_t, OpenFile& open) {
    if (open.key != key) return;
    if ((access & GENERIC_READ) && !(open.share & FILE_SHARE_READ)) allowed = false;
    if ((access & GENERIC_WRITE) && !(open.share & FILE_SHARE_WRITE)) allowed = false;
    if ((open.access & GENERIC_READ) && !(share & FILE_SHARE_READ)) allowed = false;
    if ((open.access & GENERIC_WRITE) && !(share & FILE_SHARE_WRITE)) allowed = false;
  });
  return allowed;
}

int HostFlags(DWORD access) {
  bool read = access & GENERIC_READ;
  bool write = access & GENERIC_WRITE;
  return (read && write ? O_RDWR : write ? O_WRONLY : O_RDONLY) | O_CLOEXEC;
}

// CREATE_ALWAYS over an existing file gives it the new attributes; of those
// the host keeps only FILE_ATTRIBUTE_READONLY (as missing write permission).
void ApplyAttributes(const std::filesystem::path& host, DWORD attributes) {
  struct stat st {};
  if ((attributes & FILE_ATTRIBUTE_READONLY) && ::stat(host.c_str(), &st) == 0) {
    ::chmod(host.c_str(), st.st_mode & 07555);
  }
}

uint32_t Register(UniqueFd fd, const std::filesystem::path& host, DWORD access, DWORD share) {
  OpenFile open;
  open.fd = std::move(fd);
  open.key = FileKey(host);
  open.host = host;
  open.access = access & (GENERIC_READ | GENERIC_WRITE);
  open.share = share & (FILE_SHARE_READ | FILE_SHARE_WRITE);
  uint32_t number = Table().Add(std::move(open));
  if (number == 0) SetLastError(ERROR_TOO_MANY_OPEN_FILES);
  return number;
}

uint32_t OpenExisting(const fs::Resolved& r, DWORD access, DWORD share, DWORD disposition) {
  if (disposition == CREATE_NEW) {
    SetLastError(ERROR_FILE_EXISTS);
    return 0;
  }
  bool truncate = disposition == CREATE_ALWAYS || disposition == TRUNCATE_EXISTING;
  bool writes = (access & GENERIC_WRITE) || truncate;
  if (writes && IsReadOnly(r.host)) {
    SetLastError(ERROR_ACCESS_DENIED);
    return 0;
  }
  // The loader keeps a module's file open without write sharing.
  if (writes && fs::IsModuleFileHeld(r.host)) {
    SetLastError(ERROR_SHARING_VIOLATION);
    return 0;
  }
  if (!SharingAllows(FileKey(r.host), access, share)) {
    SetLastError(ERROR_SHARING_VIOLATION);
    return 0;
  }
  UniqueFd fd(::open(r.host.c_str(), HostFlags(access)));
  if (fd.get() < 0) {
    SetLastError(fs::ErrorFromErrno(errno));
    return 0;
  }
  if (truncate) {
    int done = (access & GENERIC_WRITE) ? ::ftruncate(fd.get(), 0) : ::truncate(r.host.c_str(), 0);
    if (done != 0) {
      SetLastError(fs::ErrorFromErrno(errno));
      return 0;
    }
  }
  uint32_t number = Register(std::move(fd), r.host, access, share);
  if (number == 0) return 0;
  bool existed = disposition == CREATE_ALWAYS || disposition == OPEN_ALWAYS;
  SetLastError(existed ? ERROR_ALREADY_EXISTS : NO_ERROR);
  return number;
}

uint32_t CreateNew(const fs::Resolved& r, DWORD access, DWORD share, DWORD disposition,
                   DWORD attributes) {
  if (disposition == OPEN_EXISTING || disposition == TRUNCATE_EXISTING) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return 0;
  }
  mode_t mode = (attributes & FILE_ATTRIBUTE_READONLY) ? 0444 : 0666;
  UniqueFd fd(::open(r.host.c_str(), HostFlags(access) | O_CREAT | O_EXCL, mode));
  if (fd.get() < 0) {
    SetLastError(fs::ErrorFromErrno(errno));
    return 0;
  }
  uint32_t number = Register(std::move(fd), r.host, access, share);
  if (number != 0) SetLastError(NO_ERROR);
  return number;
}

}  // namespace

UniqueFd& UniqueFd::operator=(UniqueFd&& other) noexcept {
  if (this != &other) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = other.fd_;
    other.fd_ = -1;
  }
  return *this;
}

UniqueFd::~UniqueFd() {
  if (fd_ >= 0) ::close(fd_);
}

uint32_t Open(LPCWSTR devicePath, DWORD access, DWORD share, DWORD disposition, DWORD attributes) {
  if (!devicePath || !*devicePath) {
    SetLastError(ERROR_PATH_NOT_FOUND);
    return 0;
  }
  if (disposition < CREATE_NEW || disposition > TRUNCATE_EXISTING ||
      (disposition == TRUNCATE_EXISTING && !(access & GENERIC_WRITE))) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  fs::Resolved r = fs::Resolve(devicePath);
  if (r.error != 0) {
    SetLastError(r.error);
    return 0;
  }
  if (r.isRoot || (r.exists && r.isDirectory)) {
    SetLastError(disposition == CREATE_NEW ? ERROR_FILE_EXISTS : ERROR_ACCESS_DENIED);
    return 0;
  }
  if (r.exists) {
    uint32_t number = OpenExisting(r, access, share, disposition);
    if (number != 0 && disposition == CREATE_ALWAYS) {
      DWORD reported = GetLastError();
      ApplyAttributes(r.host, attributes);
      SetLastError(reported);
    }
    return number;
  }
  return CreateNew(r, access, share, disposition, attributes);
}

OpenFile* Find(HANDLE handle) {
  uint32_t number = HandleNumber(handle);
  return number == 0 ? nullptr : Table().Find(number);
}

bool Close(HANDLE handle) {
  uint32_t number = HandleNumber(handle);
  return number != 0 && Table().Remove(number);
}

bool IsOpen(const std::filesystem::path& hostPath) {
  std::string key = FileKey(hostPath);
  bool open = false;
  Table().ForEach([&](uint32_t, OpenFile& f) { open = open || f.key == key; });
  return open;
}

std::string FileKey(const std::filesystem::path& hostPath) {
  std::error_code ec;
  std::filesystem::path canonical = std::filesystem::weakly_canonical(hostPath, ec);
  return (ec ? hostPath.lexically_normal() : canonical).string();
}

bool IsReadOnly(const std::filesystem::path& hostPath) {
  struct stat st {};
  return ::stat(hostPath.c_str(), &st) == 0 && !(st.st_mode & S_IWUSR);
}

int Count() { return static_cast<int>(Table().Size()); }

}  // namespace wince::files
