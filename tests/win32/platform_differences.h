// Where Windows CE and desktop Windows document different behaviour, the
// host follows Windows CE and Wine follows the desktop; the comparisons
// tolerate exactly the differences of PLATFORM_DIFFERENCES.md, through these.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace wine_test {

// FindFirstFileW and FindNextFileW: the desktop lists "." and ".." in every
// folder but a drive's root, Windows CE never does. The options dialog adds
// every directory entry to its language list, so on the desktop those two
// appear as languages too.
inline std::vector<std::string> WithoutDesktopDirectoryEntries(std::vector<std::string> items) {
  std::erase_if(items, [](const std::string& item) { return item == "." || item == ".."; });
  return items;
}

// Whether this platform lists "." and ".." in a folder that is not a root.
inline bool DesktopListsDirectoryEntries() {
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW(L"C:\\Windows\\*.*", &found);
  if (search == INVALID_HANDLE_VALUE) return false;
  bool listed = false;
  do {
    listed = listed || lstrcmpW(found.cFileName, L".") == 0;
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return listed;
}

// RegDeleteKeyW with a subkey name that begins with a backslash: Windows CE
// resolves it from the key given, the desktop answers ERROR_BAD_PATHNAME.
// Probed on a key of the suite's own, so that the answer is this platform's.
inline bool DesktopRefusesLeadingBackslash() {
  const wchar_t* probe = L"CLSID\\{5EA2D1B0-0000-4000-8000-00000000C0DE}";
  HKEY key;
  if (RegCreateKeyExW(HKEY_CLASSES_ROOT, probe, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
      ERROR_SUCCESS) {
    return false;
  }
  RegCloseKey(key);
  const std::wstring rooted = std::wstring(L"\\") + probe;
  const bool refused = RegDeleteKeyW(HKEY_CLASSES_ROOT, rooted.c_str()) == ERROR_BAD_PATHNAME;
  if (refused) RegDeleteKeyW(HKEY_CLASSES_ROOT, probe);
  return refused;
}

}  // namespace wine_test
