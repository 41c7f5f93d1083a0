// Thin pass-throughs to the platform's module functions.
#include "apicalls/api_modules.h"

namespace tapora::api {

HMODULE LoadLibraryW(LPCWSTR fileName) { return ::LoadLibraryW(fileName); }

BOOL FreeLibrary(HMODULE module) { return ::FreeLibrary(module); }

DWORD GetModuleFileNameW(HMODULE module, LPWSTR fileName, DWORD size) {
  return ::GetModuleFileNameW(module, fileName, size);
}

HRSRC FindResourceW(HMODULE module, LPCWSTR name, LPCWSTR type) {
  return ::FindResourceW(module, name, type);
}

HGLOBAL LoadResource(HMODULE module, HRSRC resource) { return ::LoadResource(module, resource); }

LPVOID LockResource(HGLOBAL resource) { return ::LockResource(resource); }

}  // namespace tapora::api
