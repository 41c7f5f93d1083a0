// Keys: RegOpenKeyExW, RegCreateKeyExW, RegCloseKey, RegEnumKeyExW,
// RegDeleteKeyW. Like every registry function they return the error code and
// leave the last error alone.
//
// Rights: a handle checks what was asked when it was opened (0 asks for all,
// as the device ignores the mask): creating a subkey needs KEY_CREATE_SUB_KEY
// (opening an existing one through RegCreateKeyExW needs nothing),
// enumerating KEY_ENUMERATE_SUB_KEYS; opening and deleting subkeys need no
// right on the parent, as on the desktop. RegDeleteKeyW removes the subkeys
// too, as the device does. A change that cannot be saved is undone.
#include <algorithm>

#include <windows.h>

#include "wince/kernel/fault_points.h"
#include "wince/kernel/not_implemented.h"
#include "wince/registry/reg_file.h"
#include "wince/registry/store.h"

namespace {

using wince::registry::Key;

std::u16string_view View(LPCWSTR s) { return s ? std::u16string_view(s) : std::u16string_view(); }

// The existing key at path below key: 0, or ERROR_FILE_NOT_FOUND.
DWORD Walk(std::shared_ptr<Key>* key, std::u16string_view path) {
  for (std::u16string_view part : wince::registry::SplitPath(path)) {
    std::shared_ptr<Key> sub = FindSubkey(**key, part);
    if (!sub) return ERROR_FILE_NOT_FOUND;
    *key = std::move(sub);
  }
  return 0;
}

}  // namespace

extern "C" LONG WINAPI RegOpenKeyExW(HKEY hKey, LPCWSTR lpSubKey, DWORD ulOptions,
                                     REGSAM samDesired, PHKEY phkResult) {
  if (!phkResult) return ERROR_INVALID_PARAMETER;
  *phkResult = NULL;
  if (ulOptions != 0) {
    wince::NotImplemented("RegOpenKeyExW", "options other than 0");
    return ERROR_CALL_NOT_IMPLEMENTED;
  }
  std::shared_ptr<Key> key;
  if (DWORD e = wince::registry::KeyOf(hKey, 0, &key)) return static_cast<LONG>(e);
  if (wince::registry::IsRootKey(hKey) && View(lpSubKey).empty()) {
    *phkResult = hKey;  // a root key opens as itself
    return ERROR_SUCCESS;
  }
  if (DWORD e = Walk(&key, View(lpSubKey))) return static_cast<LONG>(e);
  HKEY opened = wince::registry::OpenHandle(std::move(key), samDesired);
  if (!opened) return ERROR_OUTOFMEMORY;
  *phkResult = opened;
  return ERROR_SUCCESS;
}

extern "C" LONG WINAPI RegCreateKeyExW(HKEY hKey, LPCWSTR lpSubKey, DWORD Reserved,
                                       LPWSTR lpClass, DWORD dwOptions, REGSAM samDesired,
                                       LPSECURITY_ATTRIBUTES, PHKEY phkResult,
                                       LPDWORD lpdwDisposition) {
  if (!phkResult) return ERROR_BADKEY;
  *phkResult = NULL;
  if (wince::faults::ShouldFail(wince::host::Call::RegistryWrite)) return ERROR_ACCESS_DENIED;
  if (Reserved != 0) return ERROR_INVALID_PARAMETER;
  if (dwOptions != REG_OPTION_NON_VOLATILE || (lpClass && lpClass[0])) {
    wince::NotImplemented("RegCreateKeyExW", "volatile keys, other options, classes");
    return ERROR_CALL_NOT_IMPLEMENTED;
  }
  std::shared_ptr<Key> key;
  if (DWORD e = wince::registry::KeyOf(hKey, 0, &key)) return static_cast<LONG>(e);
  std::vector<std::u16string_view> parts = wince::registry::SplitPath(View(lpSubKey));
  size_t existing = 0;
  for (; existing < parts.size(); ++existing) {
    std::shared_ptr<Key> sub = FindSubkey(*key, parts[existing]);
    if (!sub) break;
    key = std::move(sub);
  }
  bool created = existing < parts.size();
  if (created) {
    std::shared_ptr<Key> ignored;
    if (DWORD e = wince::registry::KeyOf(hKey, KEY_CREATE_SUB_KEY, &ignored)) {
      return static_cast<LONG>(e);
    }
    // Names the file could not carry, and trees deeper than the device's, are refused.
    bool writable = std::all_of(parts.begin() + existing, parts.end(),
                                wince::registry::IsWritableName);
    if (!writable || Depth(*key) + parts.size() - existing > wince::registry::kMaxDepth) {
      return ERROR_INVALID_PARAMETER;
    }
    Key* parent = key.get();
    std::shared_ptr<Key> top;
    for (size_t i = existing; i < parts.size(); ++i) {
      key = AddSubkey(*key, parts[i]);
      if (!top) top = key;
    }
    if (DWORD e = wince::registry::Save()) {
      RemoveSubkey(*parent, *top);
      return static_cast<LONG>(e);
    }
  }
  HKEY opened = wince::registry::OpenHandle(std::move(key), samDesired);
  if (!opened) return ERROR_OUTOFMEMORY;
  *phkResult = opened;
  if (lpdwDisposition) *lpdwDisposition = created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
  return ERROR_SUCCESS;
}

extern "C" LONG WINAPI RegCloseKey(HKEY hKey) {
  // Closing needs no registry: handles from a dropped registry close too.
  if (wince::registry::IsRootKey(hKey)) return ERROR_SUCCESS;
  return wince::registry::CloseHandle(hKey) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}

extern "C" LONG WINAPI RegEnumKeyExW(HKEY hKey, DWORD dwIndex, LPWSTR lpName,
                                     LPDWORD lpcchName, LPDWORD lpReserved, LPWSTR,
                                     LPDWORD, LPFILETIME) {
  // The class and the last write time are ignored, as on the device.
  if (lpReserved || !lpName || !lpcchName) return ERROR_INVALID_PARAMETER;
  std::shared_ptr<Key> key;
  if (DWORD e = wince::registry::KeyOf(hKey, KEY_ENUMERATE_SUB_KEYS, &key)) {
    return static_cast<LONG>(e);
  }
  if (dwIndex >= key->subkeys.size()) return ERROR_NO_MORE_ITEMS;
  const std::u16string& name = key->subkeys[dwIndex]->name;
  if (name.size() >= *lpcchName) return ERROR_MORE_DATA;  // *lpcchName stays as it was
  std::copy(name.begin(), name.end(), lpName);
  lpName[name.size()] = 0;
  *lpcchName = static_cast<DWORD>(name.size());
  return ERROR_SUCCESS;
}

extern "C" LONG WINAPI RegDeleteKeyW(HKEY hKey, LPCWSTR lpSubKey) {
  if (wince::faults::ShouldFail(wince::host::Call::RegistryWrite)) return ERROR_ACCESS_DENIED;
  std::shared_ptr<Key> key;
  if (DWORD e = wince::registry::KeyOf(hKey, 0, &key)) return static_cast<LONG>(e);
  if (DWORD e = Walk(&key, View(lpSubKey))) return static_cast<LONG>(e);
  Key* parent = key->parent;
  if (!parent) return ERROR_ACCESS_DENIED;  // a root key stays
  RemoveSubkey(*parent, *key);
  if (DWORD e = wince::registry::Save()) {
    RestoreSubkey(*parent, std::move(key));
    return static_cast<LONG>(e);
  }
  return ERROR_SUCCESS;
}
