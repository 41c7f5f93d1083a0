// Searches: FindFirstFileW, FindNextFileW, FindClose.
//
// The last component of the path may hold '*' (any run of units, also none)
// and '?' (exactly one unit), matched without regard to case; "*.*" matches
// every name, with or without a dot. Wildcards elsewhere in the path are
// ERROR_INVALID_NAME. As on the device, "." and ".." are never returned. A
// path without wildcards finds the file or folder itself (a trailing
// backslash finds nothing). The entries are taken when the search starts, in
// the order of their upper-cased names; each found name is the host name's own
// spelling in UTF-16. Nothing found: ERROR_FILE_NOT_FOUND; a missing folder:
// ERROR_PATH_NOT_FOUND; the end of the entries: ERROR_NO_MORE_FILES.
#include <algorithm>
#include <cstring>
#include <system_error>
#include <vector>

#include <sys/stat.h>

#include <windows.h>

#include "wince/kernel/case_map.h"
#include "wince/kernel/file_system.h"
#include "wince/kernel/handle_table.h"
#include "wince/host/device.h"
#include "wince/kernel/unicode.h"

namespace wince {
namespace {

struct Search {
  std::vector<WIN32_FIND_DATAW> entries;
  size_t next = 0;
};

HandleTable<Search>& Searches() {
  static HandleTable<Search> table(0x00800000u, 0x00FFFFFCu);
  return table;
}

bool Matches(std::u16string_view pattern, std::u16string_view name) {
  // Iterative glob with one backtracking point for the last '*'.
  size_t p = 0, n = 0, star = std::u16string_view::npos, resume = 0;
  while (n < name.size()) {
    if (p < pattern.size() &&
        (pattern[p] == u'?' || text::ToUpper(pattern[p]) == text::ToUpper(name[n]))) {
      ++p;
      ++n;
    } else if (p < pattern.size() && pattern[p] == u'*') {
      star = p++;
      resume = n;
    } else if (star != std::u16string_view::npos) {
      p = star + 1;
      n = ++resume;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == u'*') ++p;
  return p == pattern.size();
}

// 100-nanosecond intervals since 1601, from seconds and nanoseconds since 1970.
FILETIME ToFileTime(const struct timespec& t) {
  constexpr uint64_t kEpochDifference = 116444736000000000ull;
  uint64_t ticks = kEpochDifference + static_cast<uint64_t>(t.tv_sec) * 10000000ull +
                   static_cast<uint64_t>(t.tv_nsec) / 100;
  return FILETIME{static_cast<DWORD>(ticks & 0xFFFFFFFF), static_cast<DWORD>(ticks >> 32)};
}

// Fills the entry for a host file; false when its name does not fit.
bool Describe(const std::filesystem::path& host, WIN32_FIND_DATAW* data) {
  std::u16string name = text::DecodeUtf8(host.filename().string());
  struct stat st {};
  if (name.size() >= MAX_PATH || ::stat(host.c_str(), &st) != 0) return false;
  std::memset(data, 0, sizeof *data);
  if (S_ISDIR(st.st_mode)) {
    data->dwFileAttributes = FILE_ATTRIBUTE_DIRECTORY;
  } else {
    data->dwFileAttributes = FILE_ATTRIBUTE_ARCHIVE;
    if (!(st.st_mode & S_IWUSR)) data->dwFileAttributes |= FILE_ATTRIBUTE_READONLY;
    data->nFileSizeHigh = static_cast<DWORD>(static_cast<uint64_t>(st.st_size) >> 32);
    data->nFileSizeLow = static_cast<DWORD>(static_cast<uint64_t>(st.st_size) & 0xFFFFFFFF);
  }
  data->ftCreationTime = ToFileTime(st.st_mtim);
  data->ftLastWriteTime = ToFileTime(st.st_mtim);
  data->ftLastAccessTime = ToFileTime(st.st_atim);
  std::copy(name.begin(), name.end(), data->cFileName);
  data->cFileName[name.size()] = 0;
  return true;
}

std::u16string Upper(const WCHAR* name) {
  std::u16string upper(name);
  for (char16_t& c : upper) c = text::ToUpper(c);
  return upper;
}

HANDLE Fail(DWORD error) {
  SetLastError(error);
  return INVALID_HANDLE_VALUE;
}

// The entries of a search, or an error.
DWORD Collect(LPCWSTR lpFileName, std::vector<WIN32_FIND_DATAW>* entries) {
  std::u16string_view path(lpFileName);
  fs::Resolved r = fs::Resolve(path, true);
  if (r.error != 0) return r.error;
  if (path.empty() || path.back() == u'\\') return ERROR_FILE_NOT_FOUND;
  WIN32_FIND_DATAW data;
  bool wildcard = r.leaf.find_first_of(u"*?") != std::u16string::npos;
  if (!wildcard) {
    if (r.exists && Describe(r.host, &data)) entries->push_back(data);
    return entries->empty() ? ERROR_FILE_NOT_FOUND : 0;
  }
  std::u16string pattern = r.leaf == u"*.*" ? u"*" : r.leaf;
  std::error_code ec;
  for (std::filesystem::directory_iterator it(r.host.parent_path(), ec), end; !ec && it != end;
       it.increment(ec)) {
    std::u16string name = text::DecodeUtf8(it->path().filename().string());
    if (Matches(pattern, name) && Describe(it->path(), &data)) entries->push_back(data);
  }
  if (entries->empty()) return ERROR_FILE_NOT_FOUND;
  std::sort(entries->begin(), entries->end(),
            [](const WIN32_FIND_DATAW& a, const WIN32_FIND_DATAW& b) {
              std::u16string ua = Upper(a.cFileName), ub = Upper(b.cFileName);
              if (ua != ub) return ua < ub;
              return std::u16string_view(a.cFileName) < std::u16string_view(b.cFileName);
            });
  return 0;
}

}  // namespace

int host::OpenFindHandles() { return static_cast<int>(Searches().Size()); }

}  // namespace wince

using namespace wince;

extern "C" HANDLE WINAPI FindFirstFileW(LPCWSTR lpFileName, LPWIN32_FIND_DATAW lpFindFileData) {
  if (!lpFindFileData) return Fail(ERROR_INVALID_PARAMETER);
  if (!lpFileName || !*lpFileName) return Fail(ERROR_PATH_NOT_FOUND);
  Search search;
  if (DWORD error = Collect(lpFileName, &search.entries)) return Fail(error);
  *lpFindFileData = search.entries[0];
  search.next = 1;
  uint32_t number = Searches().Add(std::move(search));
  if (number == 0) return Fail(ERROR_TOO_MANY_OPEN_FILES);
  return HandleFromNumber(number);
}

extern "C" BOOL WINAPI FindNextFileW(HANDLE hFindFile, LPWIN32_FIND_DATAW lpFindFileData) {
  uint32_t number = HandleNumber(hFindFile);
  Search* search = number ? Searches().Find(number) : nullptr;
  if (!search) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (!lpFindFileData) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (search->next >= search->entries.size()) {
    SetLastError(ERROR_NO_MORE_FILES);
    return FALSE;
  }
  *lpFindFileData = search->entries[search->next++];
  return TRUE;
}

extern "C" BOOL WINAPI FindClose(HANDLE hFindFile) {
  uint32_t number = HandleNumber(hFindFile);
  if (number == 0 || !Searches().Remove(number)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  return TRUE;
}
