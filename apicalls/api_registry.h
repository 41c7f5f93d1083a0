// The platform-call layer for the registry, where the input method registers
// itself, and the debug output that registration reports its one failure to.
#pragma once

#include <windows.h>

namespace tapora::api {

LONG RegOpenKeyExW(HKEY key, LPCWSTR subKey, DWORD options, REGSAM access, PHKEY result);
LONG RegCreateKeyExW(HKEY key, LPCWSTR subKey, DWORD reserved, LPWSTR keyClass, DWORD options,
                     REGSAM access, LPSECURITY_ATTRIBUTES security, PHKEY result,
                     LPDWORD disposition);
LONG RegSetValueExW(HKEY key, LPCWSTR valueName, DWORD reserved, DWORD type, const BYTE* data,
                    DWORD size);
LONG RegCloseKey(HKEY key);
LONG RegDeleteKeyW(HKEY key, LPCWSTR subKey);
void OutputDebugStringW(LPCWSTR text);

}  // namespace tapora::api
