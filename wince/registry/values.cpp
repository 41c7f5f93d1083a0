// Values: RegSetValueExW, RegQueryValueExW, RegDeleteValueW. The default
// value is the one named NULL or "". Data is kept exactly as given: a REG_SZ
// holds the bytes the caller counted, its NUL included. Setting needs
// KEY_SET_VALUE, as deleting does; querying KEY_QUERY_VALUE. A change that
// cannot be saved is undone.
#include <algorithm>
#include <optional>

#include <windows.h>

#include "wince/kernel/fault_points.h"
#include "wince/registry/reg_file.h"
#include "wince/registry/store.h"

namespace {

using wince::registry::Key;
using wince::registry::Value;

std::u16string_view View(LPCWSTR s) { return s ? std::u16string_view(s) : std::u16string_view(); }

}  // namespace

extern "C" LONG WINAPI RegSetValueExW(HKEY hKey, LPCWSTR lpValueName, DWORD, DWORD dwType,
                                      const BYTE* lpData, DWORD cbData) {
  if (wince::faults::ShouldFail(wince::host::Call::RegistryWrite)) return ERROR_ACCESS_DENIED;
  std::u16string_view name = View(lpValueName);
  if (!lpData && cbData != 0) return ERROR_NOACCESS;
  std::shared_ptr<Key> key;
  if (DWORD e = wince::registry::KeyOf(hKey, KEY_SET_VALUE, &key)) return static_cast<LONG>(e);
  if (!wince::registry::IsWritableName(name)) return ERROR_INVALID_PARAMETER;
  std::optional<Value> before;
  if (Value* old = FindValue(*key, name)) before = *old;
  std::vector<BYTE> data(lpData, lpData + cbData);
  PutValue(*key, name, dwType, std::move(data));
  if (DWORD e = wince::registry::Save()) {
    if (before) {
      PutValue(*key, name, before->type, std::move(before->data));
    } else {
      EraseValue(*key, name);
    }
    return static_cast<LONG>(e);
  }
  return ERROR_SUCCESS;
}

extern "C" LONG WINAPI RegQueryValueExW(HKEY hKey, LPCWSTR lpValueName, LPDWORD lpReserved,
                                        LPDWORD lpType, LPBYTE lpData, LPDWORD lpcbData) {
  if (lpReserved || (lpData && !lpcbData)) return ERROR_INVALID_PARAMETER;
  std::shared_ptr<Key> key;
  if (DWORD e = wince::registry::KeyOf(hKey, KEY_QUERY_VALUE, &key)) return static_cast<LONG>(e);
  const Value* value = FindValue(*key, View(lpValueName));
  if (!value) return ERROR_FILE_NOT_FOUND;
  if (lpType) *lpType = value->type;
  if (!lpcbData) return ERROR_SUCCESS;
  DWORD size = static_cast<DWORD>(value->data.size());
  if (lpData && *lpcbData < size) {
    *lpcbData = size;
    return ERROR_MORE_DATA;
  }
  if (lpData) std::copy(value->data.begin(), value->data.end(), lpData);
  *lpcbData = size;
  return ERROR_SUCCESS;
}

extern "C" LONG WINAPI RegDeleteValueW(HKEY hKey, LPCWSTR lpValueName) {
  if (wince::faults::ShouldFail(wince::host::Call::RegistryWrite)) return ERROR_ACCESS_DENIED;
  std::shared_ptr<Key> key;
  if (DWORD e = wince::registry::KeyOf(hKey, KEY_SET_VALUE, &key)) return static_cast<LONG>(e);
  std::u16string_view name = View(lpValueName);
  auto it = std::find_if(key->values.begin(), key->values.end(),
                         [&](const Value& v) { return wince::registry::SameName(v.name, name); });
  if (it == key->values.end()) return ERROR_FILE_NOT_FOUND;
  size_t at = static_cast<size_t>(it - key->values.begin());
  Value removed = std::move(*it);
  key->values.erase(it);
  if (DWORD e = wince::registry::Save()) {
    key->values.insert(key->values.begin() + static_cast<std::ptrdiff_t>(at), std::move(removed));
    return static_cast<LONG>(e);
  }
  return ERROR_SUCCESS;
}
