// The device's file system as the other host areas see it: device paths
// resolved to host paths below the device folder, and the files that loaded
// modules hold (such a file cannot be deleted, overwritten or opened for
// writing: ERROR_ACCESS_DENIED). Implemented in device_folder.cpp and
// module_holds.cpp; the Win32 file functions are built on it.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include <windows.h>

namespace wince::fs {

struct Resolved {
  // 0 when the path names a place below the device folder; otherwise the
  // error the file functions report: ERROR_PATH_NOT_FOUND (a folder on the
  // way is missing or is a file, or the path is empty), ERROR_INVALID_NAME
  // (a character the device refuses in a name, a wildcard, "." or ".."),
  // ERROR_FILENAME_EXCED_RANGE (MAX_PATH units or more).
  DWORD error = 0;
  std::filesystem::path host;  // existing components in their host spelling
  bool exists = false;
  bool isDirectory = false;
  bool isRoot = false;  // "\" itself: the device folder
  std::u16string leaf;  // the last component as given ("" for the root)
};

// Resolves a device path. Backslashes separate components ('/' does not); a
// path without a leading backslash starts at the root too. With
// allowWildcardLeaf, '*' and '?' may appear in the last component, which is
// then not looked up (FindFirstFileW matches it itself).
Resolved Resolve(std::u16string_view devicePath, bool allowWildcardLeaf = false);
// The same for a NUL-terminated path; NULL resolves as the empty path.
Resolved Resolve(LPCWSTR devicePath, bool allowWildcardLeaf = false);

// The device path ("\Windows\x.dll") of a host path below the device folder,
// or an empty string when it is not below it.
std::u16string DevicePathOf(const std::filesystem::path& hostPath);

// Names of files and folders compare without regard to case (ASCII, Latin-1,
// Latin Extended-A, Greek and Cyrillic letters).
bool SameName(std::u16string_view a, std::u16string_view b);

// The Win32 error for a failed host file operation's errno.
DWORD ErrorFromErrno(int error);

// Holds are counted: each HoldModuleFile needs its ReleaseModuleFile.
void HoldModuleFile(const std::filesystem::path& hostPath);
void ReleaseModuleFile(const std::filesystem::path& hostPath);
bool IsModuleFileHeld(const std::filesystem::path& hostPath);

}  // namespace wince::fs
