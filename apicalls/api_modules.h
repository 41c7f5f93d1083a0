// The platform-call layer for modules: loading a resource library and asking
// a module for its file name.
#pragma once

#include <windows.h>

namespace tapora::api {

HMODULE LoadLibraryW(LPCWSTR fileName);
BOOL FreeLibrary(HMODULE module);
DWORD GetModuleFileNameW(HMODULE module, LPWSTR fileName, DWORD size);

}  // namespace tapora::api
