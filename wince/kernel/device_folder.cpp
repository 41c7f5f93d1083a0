// The device folder and the resolution of device paths to host paths.
//
// A device path is split at backslashes only; empty components are skipped,
// so "\a\\b" is "\a\b" and a path without a leading backslash starts at the
// root as well (the device has no current folder). Each component is looked
// up in its host folder: the exact spelling first, then without regard to
// case (text::ToUpper on both sides, the mapping of case_map.cpp); when
// several host names match, the first in byte order wins, so the choice does
// not depend on the order the host lists a folder. Host names are UTF-8.
// "." and ".." are refused so that no device path leads out of the folder.
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <system_error>
#include <vector>

#include "wince/kernel/case_map.h"
#include "wince/kernel/file_system.h"
#include "wince/host/device.h"
#include "wince/kernel/unicode.h"

namespace wince::fs {
namespace {

namespace stdfs = std::filesystem;

stdfs::path& Folder() {
  static stdfs::path folder;
  return folder;
}

bool IsWildcard(char16_t c) { return c == u'*' || c == u'?'; }

// Characters the device refuses in a name (a '/' included: it is no separator
// but no name may hold it either).
bool IsForbidden(char16_t c) {
  return c < 0x20 || c == u'<' || c == u'>' || c == u':' || c == u'"' || c == u'/' || c == u'|';
}

std::vector<std::u16string_view> Split(std::u16string_view path) {
  std::vector<std::u16string_view> parts;
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find(u'\\', start);
    if (end == std::u16string_view::npos) end = path.size();
    if (end > start) parts.push_back(path.substr(start, end - start));
    start = end + 1;
  }
  return parts;
}

DWORD CheckComponent(std::u16string_view name, bool wildcardsAllowed) {
  if (name == u"." || name == u"..") return ERROR_INVALID_NAME;
  for (char16_t c : name) {
    if (IsForbidden(c) || (IsWildcard(c) && !wildcardsAllowed)) return ERROR_INVALID_NAME;
  }
  return 0;
}

// The host entry of folder that the device name denotes, if any.
bool FindEntry(const stdfs::path& folder, std::u16string_view name, stdfs::path* found) {
  std::error_code ec;
  stdfs::path exact = folder / text::EncodeUtf8(name);
  if (stdfs::exists(stdfs::symlink_status(exact, ec))) {
    *found = exact;
    return true;
  }
  std::vector<std::string> matches;
  for (stdfs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    std::string hostName = it->path().filename().string();
    if (SameName(text::DecodeUtf8(hostName), name)) matches.push_back(hostName);
  }
  if (matches.empty()) return false;
  *found = folder / *std::min_element(matches.begin(), matches.end());
  return true;
}

bool IsDirectory(const stdfs::path& p) {
  std::error_code ec;
  return stdfs::is_directory(p, ec);
}

Resolved Walk(std::u16string_view devicePath, bool allowWildcardLeaf) {
  Resolved r;
  if (Folder().empty()) {
    static bool warned = false;
    if (!warned) std::fprintf(stderr, "wince: no device folder set; device paths resolve nowhere\n");
    warned = true;
    r.error = ERROR_PATH_NOT_FOUND;
    return r;
  }
  if (devicePath.empty()) {
    r.error = ERROR_PATH_NOT_FOUND;
    return r;
  }
  std::vector<std::u16string_view> parts = Split(devicePath);
  for (size_t i = 0; i < parts.size(); ++i) {
    if (DWORD e = CheckComponent(parts[i], allowWildcardLeaf && i + 1 == parts.size())) {
      r.error = e;
      return r;
    }
  }
  if (devicePath.size() >= MAX_PATH) r.error = ERROR_FILENAME_EXCED_RANGE;

  r.host = Folder();
  if (parts.empty()) {
    r.isRoot = r.isDirectory = true;
    r.exists = IsDirectory(r.host);
    return r;
  }
  // Folders on the way: matched while they exist, then taken as spelled.
  bool missing = false;
  for (size_t i = 0; i + 1 < parts.size(); ++i) {
    stdfs::path next;
    if (!missing && FindEntry(r.host, parts[i], &next) && IsDirectory(next)) {
      r.host = next;
    } else {
      missing = true;
      r.host /= text::EncodeUtf8(parts[i]);
    }
  }
  if (missing && r.error == 0) r.error = ERROR_PATH_NOT_FOUND;
  r.leaf = std::u16string(parts.back());
  stdfs::path leaf;
  bool hasWildcard = std::any_of(r.leaf.begin(), r.leaf.end(), IsWildcard);
  if (!missing && !hasWildcard && FindEntry(r.host, r.leaf, &leaf)) {
    r.host = leaf;
    r.exists = true;
    r.isDirectory = IsDirectory(leaf);
  } else {
    r.host /= text::EncodeUtf8(r.leaf);
  }
  return r;
}

}  // namespace

bool SameName(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (text::ToUpper(a[i]) != text::ToUpper(b[i])) return false;
  }
  return true;
}

Resolved Resolve(std::u16string_view devicePath, bool allowWildcardLeaf) {
  return Walk(devicePath, allowWildcardLeaf);
}

Resolved Resolve(LPCWSTR devicePath, bool allowWildcardLeaf) {
  return Walk(devicePath ? std::u16string_view(devicePath) : std::u16string_view(),
              allowWildcardLeaf);
}

std::u16string DevicePathOf(const std::filesystem::path& hostPath) {
  if (Folder().empty()) return {};
  std::error_code ec;
  stdfs::path relative = hostPath.lexically_normal().lexically_relative(Folder());
  if (relative.empty() || *relative.begin() == "..") {
    relative = stdfs::weakly_canonical(hostPath, ec)
                   .lexically_relative(stdfs::weakly_canonical(Folder(), ec));
    if (ec || relative.empty() || *relative.begin() == "..") return {};
  }
  std::u16string device;
  for (const stdfs::path& part : relative) {
    if (part == ".") continue;
    device += u'\\';
    device += text::DecodeUtf8(part.string());
  }
  return device.empty() ? u"\\" : device;
}

DWORD ErrorFromErrno(int error) {
  switch (error) {
    case ENOENT: return ERROR_FILE_NOT_FOUND;
    case ENOTDIR: return ERROR_PATH_NOT_FOUND;
    case EACCES: case EPERM: case EISDIR: case EROFS: return ERROR_ACCESS_DENIED;
    case EEXIST: return ERROR_FILE_EXISTS;
    case ENOTEMPTY: return ERROR_DIR_NOT_EMPTY;
    case ENAMETOOLONG: return ERROR_FILENAME_EXCED_RANGE;
    case ENOSPC: return ERROR_DISK_FULL;
    case EMFILE: case ENFILE: return ERROR_TOO_MANY_OPEN_FILES;
    case ENOMEM: return ERROR_NOT_ENOUGH_MEMORY;
    default: return ERROR_GEN_FAILURE;
  }
}

}  // namespace wince::fs

namespace wince::host {

void SetDeviceFolder(const std::filesystem::path& hostFolder) {
  std::error_code ec;
  std::filesystem::path absolute = std::filesystem::absolute(hostFolder, ec);
  if (ec) absolute = hostFolder;
  absolute = absolute.lexically_normal();
  if (!absolute.has_filename() && absolute.has_parent_path() && absolute != absolute.root_path()) {
    absolute = absolute.parent_path();
  }
  fs::Folder() = absolute;
}

std::filesystem::path DeviceFolder() { return fs::Folder(); }

std::filesystem::path HostPath(std::u16string_view devicePath) {
  fs::Resolved r = fs::Resolve(devicePath);
  bool usable = r.error == 0 || r.error == ERROR_PATH_NOT_FOUND;
  return usable ? r.host : std::filesystem::path();
}

}  // namespace wince::host
