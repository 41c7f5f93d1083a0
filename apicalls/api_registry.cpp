// Thin pass-throughs to the platform's registry and debug output.
#include "apicalls/api_registry.h"

namespace tapora::api {

LONG RegOpenKeyExW(HKEY key, LPCWSTR subKey, DWORD options, REGSAM access, PHKEY result) {
  return ::RegOpenKeyExW(key, subKey, options, access, result);
}

LONG RegCreateKeyExW(HKEY key, LPCWSTR subKey, DWORD reserved, LPWSTR keyClass, DWORD options,
                     REGSAM access, LPSECURITY_ATTRIBUTES security, PHKEY result,
                     LPDWORD disposition) {
  return ::RegCreateKeyExW(key, subKey, reserved, keyClass, options, access, security, result,
                           disposition);
}

LONG RegSetValueExW(HKEY key, LPCWSTR valueName, DWORD reserved, DWORD type, const BYTE* data,
                    DWORD size) {
  return ::RegSetValueExW(key, valueName, reserved, type, data, size);
}

LONG RegCloseKey(HKEY key) { return ::RegCloseKey(key); }

LONG RegDeleteKeyW(HKEY key, LPCWSTR subKey) { return ::RegDeleteKeyW(key, subKey); }

void OutputDebugStringW(LPCWSTR text) { ::OutputDebugStringW(text); }

}  // namespace tapora::api
