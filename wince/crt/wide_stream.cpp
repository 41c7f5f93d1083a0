// _wfopen and the device file behind every stream it opens. A stream is a
// real stdio FILE (fopencookie) whose reads and writes go to a CreateFileW
// handle, so share modes, case-insensitive names and the open-handle count of
// the file system apply to it, and fclose/feof/ferror are the standard ones.
// Text mode translates here, at the byte level: CR LF on disk reads as LF, LF
// writes as CR LF, and a Ctrl+Z byte ends the input until the next seek. The
// code-page conversion of wide characters is in wide_stream_text.cpp.
//
// Not done: the device runtime strips a Ctrl+Z at the end of a file opened in
// text mode for update ("r+", "a+"); here it stays, and reading stops at it.
#include "wince/crt/wide_stream.h"

#include <windows.h>

#include <cerrno>
#include <cstdio>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace wince::stream {
namespace {

constexpr char kCtrlZ = 0x1A;
constexpr size_t kReadAhead = 512;

struct OpenMode {
  DWORD access = 0;
  DWORD disposition = 0;
  bool append = false;
  bool text = true;  // the runtime's default translation mode
  const char* hostMode = nullptr;
};

// The device file behind one stream.
struct DeviceFile {
  HANDLE handle = INVALID_HANDLE_VALUE;
  bool text = true;
  bool append = false;
  bool atCtrlZ = false;       // input ended at a Ctrl+Z byte
  bool pendingError = false;  // a read failed after some bytes were handed out
  FILE* stream = nullptr;
  std::vector<char> buffer = std::vector<char>(kReadAhead);
  size_t begin = 0;  // raw bytes read from the file, not yet handed out:
  size_t end = 0;    // buffer[begin, end)
};

std::unordered_map<FILE*, DeviceFile*>& Streams() {
  static std::unordered_map<FILE*, DeviceFile*> streams;
  return streams;
}

// Parses a device mode string: "r", "w" or "a", then in any order at most one
// "+", at most one of "t" and "b", and any "c" or "n".
bool ParseMode(const WCHAR* mode, OpenMode& parsed) {
  if (mode[0] == 0) return false;
  bool update = false;
  bool translationGiven = false;
  for (const WCHAR* p = mode + 1; *p != 0; ++p) {
    switch (*p) {
      case u'+':
        if (update) return false;
        update = true;
        break;
      case u't':
      case u'b':
        if (translationGiven) return false;
        translationGiven = true;
        parsed.text = *p == u't';
        break;
      case u'c':
      case u'n':
        break;
      default:
        return false;
    }
  }
  const DWORD both = GENERIC_READ | GENERIC_WRITE;
  switch (mode[0]) {
    case u'r':
      parsed.access = update ? both : GENERIC_READ;
      parsed.disposition = OPEN_EXISTING;
      break;
    case u'w':
      parsed.access = update ? both : GENERIC_WRITE;
      parsed.disposition = CREATE_ALWAYS;
      break;
    case u'a':
      parsed.access = update ? both : GENERIC_WRITE;
      parsed.disposition = OPEN_ALWAYS;
      parsed.append = true;
      break;
    default:
      return false;
  }
  // The host stream only needs to know which directions are allowed; the
  // device file does the truncating and appending.
  parsed.hostMode = update ? "r+" : (mode[0] == u'r' ? "r" : "w");
  return true;
}

int ErrnoOf(DWORD error) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
      return ENOENT;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
      return EACCES;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
      return EEXIST;
    case ERROR_TOO_MANY_OPEN_FILES:
      return EMFILE;
    default:
      return EINVAL;
  }
}

// Reads more raw bytes behind the unread ones. False when the read failed.
bool Refill(DeviceFile& file) {
  size_t unread = file.end - file.begin;
  for (size_t i = 0; i < unread; ++i) file.buffer[i] = file.buffer[file.begin + i];
  file.begin = 0;
  file.end = unread;
  DWORD got = 0;
  if (!ReadFile(file.handle, file.buffer.data() + unread, static_cast<DWORD>(file.buffer.size() - unread),
                &got, nullptr)) {
    return false;
  }
  file.end += got;
  return true;
}

// The device file's position is ahead of the stream by the unread bytes; a
// write or seek first puts it back.
bool DropReadAhead(DeviceFile& file) {
  LONG unread = static_cast<LONG>(file.end - file.begin);
  file.begin = file.end = 0;
  if (unread == 0) return true;
  SetLastError(NO_ERROR);
  DWORD moved = SetFilePointer(file.handle, -unread, nullptr, FILE_CURRENT);
  return moved != INVALID_SET_FILE_POINTER || GetLastError() == NO_ERROR;
}

ssize_t Read(void* cookie, char* out, size_t size) {
  DeviceFile& file = *static_cast<DeviceFile*>(cookie);
  if (file.pendingError) {
    file.pendingError = false;
    return -1;
  }
  size_t produced = 0;
  auto failed = [&]() -> ssize_t {
    if (produced == 0) return -1;
    file.pendingError = true;
    return static_cast<ssize_t>(produced);
  };
  while (produced < size && !file.atCtrlZ) {
    if (file.begin == file.end && !Refill(file)) return failed();
    if (file.begin == file.end) break;  // end of file
    char c = file.buffer[file.begin];
    if (file.text) {
      if (c == kCtrlZ) {
        file.atCtrlZ = true;
        break;
      }
      if (c == '\r') {
        // A CR is only half of a line end if a LF follows it.
        if (file.begin + 1 == file.end && !Refill(file)) return failed();
        if (file.begin + 1 < file.end && file.buffer[file.begin + 1] == '\n') {
          file.begin += 2;
          out[produced++] = '\n';
          continue;
        }
      }
    }
    out[produced++] = c;
    ++file.begin;
  }
  return static_cast<ssize_t>(produced);
}

ssize_t Write(void* cookie, const char* data, size_t size) {
  DeviceFile& file = *static_cast<DeviceFile*>(cookie);
  if (!DropReadAhead(file)) return 0;
  if (file.append) {
    SetLastError(NO_ERROR);
    if (SetFilePointer(file.handle, 0, nullptr, FILE_END) == INVALID_SET_FILE_POINTER &&
        GetLastError() != NO_ERROR) {
      return 0;
    }
  }
  std::string bytes;
  bytes.reserve(size + size / 8);
  for (size_t i = 0; i < size; ++i) {
    if (file.text && data[i] == '\n') bytes.push_back('\r');
    bytes.push_back(data[i]);
  }
  DWORD written = 0;
  if (!WriteFile(file.handle, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
      written != bytes.size()) {
    return 0;
  }
  return static_cast<ssize_t>(size);
}

int Seek(void* cookie, off64_t* offset, int whence) {
  DeviceFile& file = *static_cast<DeviceFile*>(cookie);
  int64_t target = 0;
  DWORD method = FILE_BEGIN;
  if (whence == SEEK_SET) {
    target = *offset;
  } else if (whence == SEEK_CUR) {
    SetLastError(NO_ERROR);
    DWORD raw = SetFilePointer(file.handle, 0, nullptr, FILE_CURRENT);
    if (raw == INVALID_SET_FILE_POINTER && GetLastError() != NO_ERROR) return -1;
    target = static_cast<int64_t>(raw) - static_cast<int64_t>(file.end - file.begin) + *offset;
  } else if (whence == SEEK_END) {
    target = *offset;
    method = FILE_END;
  } else {
    errno = EINVAL;
    return -1;
  }
  // Device files have 32-bit positions.
  if ((method == FILE_BEGIN && target < 0) || target < INT32_MIN || target > INT32_MAX) {
    errno = EINVAL;
    return -1;
  }
  file.begin = file.end = 0;
  file.atCtrlZ = false;
  file.pendingError = false;
  SetLastError(NO_ERROR);
  DWORD position = SetFilePointer(file.handle, static_cast<LONG>(target), nullptr, method);
  if (position == INVALID_SET_FILE_POINTER && GetLastError() != NO_ERROR) {
    errno = EINVAL;
    return -1;
  }
  *offset = position;
  return 0;
}

int Close(void* cookie) {
  std::unique_ptr<DeviceFile> file(static_cast<DeviceFile*>(cookie));
  Streams().erase(file->stream);
  return CloseHandle(file->handle) ? 0 : EOF;
}

}  // namespace

Mode ModeOf(FILE* stream) {
  auto found = Streams().find(stream);
  if (found == Streams().end() || found->second->text) return Mode::Text;
  return Mode::Binary;
}

}  // namespace wince::stream

FILE* _wfopen(const WCHAR* filename, const WCHAR* mode) {
  using namespace wince::stream;
  OpenMode parsed;
  if (filename == nullptr || mode == nullptr || !ParseMode(mode, parsed)) {
    errno = EINVAL;
    return nullptr;
  }
  HANDLE handle = CreateFileW(filename, parsed.access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              parsed.disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    errno = ErrnoOf(GetLastError());
    return nullptr;
  }
  auto file = std::make_unique<DeviceFile>();
  file->handle = handle;
  file->text = parsed.text;
  file->append = parsed.append;
  FILE* stream = fopencookie(file.get(), parsed.hostMode, cookie_io_functions_t{Read, Write, Seek, Close});
  if (stream == nullptr) {
    CloseHandle(handle);
    errno = ENOMEM;
    return nullptr;
  }
  file->stream = stream;
  Streams()[stream] = file.release();
  return stream;
}
