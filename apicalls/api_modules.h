// The platform-call layer for modules: loading a resource library, asking a
// module for its file name, and finding a resource in it.
#pragma once

#include <windows.h>

namespace tapora::api {

HMODULE LoadLibraryW(LPCWSTR fileName);
BOOL FreeLibrary(HMODULE module);
DWORD GetModuleFileNameW(HMODULE module, LPWSTR fileName, DWORD size);
HRSRC FindResourceW(HMODULE module, LPCWSTR name, LPCWSTR type);
HGLOBAL LoadResource(HMODULE module, HRSRC resource);
LPVOID LockResource(HGLOBAL resource);

}  // namespace tapora::api
