// Module resources: FindResourceW, LoadResource, LockResource,
// SizeofResource and LoadBitmapW, over the resource directory a host module
// carries (resource_table.h).
//
// Names and types are numbers (MAKEINTRESOURCE) or strings; a string
// compares without regard to case, and "#101" stands for the number 101.
// A missing type is ERROR_RESOURCE_TYPE_NOT_FOUND, a missing name of an
// existing type ERROR_RESOURCE_NAME_NOT_FOUND, a module without resources
// ERROR_RESOURCE_DATA_NOT_FOUND. A resource's data lives as long as its
// module: LockResource hands out the module's own bytes.
#include <windows.h>

#include "wince/kernel/file_system.h"
#include "wince/host/surface.h"
#include "wince/kernel/module_internal.h"
#include "wince/kernel/not_implemented.h"

namespace wince::modules {
namespace {

struct Key {
  bool numeric = false;
  uint32_t id = 0;
  std::u16string name;
};

Key KeyOf(LPCWSTR value) {
  Key key;
  if (IS_INTRESOURCE(value)) {
    key.numeric = true;
    key.id = static_cast<uint32_t>(reinterpret_cast<ULONG_PTR>(value));
    return key;
  }
  for (LPCWSTR p = value; *p; ++p) key.name.push_back(static_cast<char16_t>(*p));
  if (key.name.size() > 1 && key.name[0] == u'#') {
    uint32_t id = 0;
    bool digits = key.name.size() <= 6;
    for (size_t i = 1; digits && i < key.name.size(); ++i) {
      if (key.name[i] < u'0' || key.name[i] > u'9') digits = false;
      else id = id * 10 + (key.name[i] - u'0');
    }
    if (digits && id <= 0xFFFF) {
      key.numeric = true;
      key.id = id;
    }
  }
  return key;
}

bool Matches(const Key& key, uint32_t id, const char16_t* name) {
  if (key.numeric) return !name && id == key.id;
  return name && fs::SameName(key.name, name);
}

const WinceResource* Entry(const WinceResourceDirectory* dir, HRSRC handle) {
  if (!dir) return nullptr;
  auto at = reinterpret_cast<uintptr_t>(handle);
  auto first = reinterpret_cast<uintptr_t>(dir->resources);
  if (at < first || (at - first) % sizeof(WinceResource) != 0 ||
      (at - first) / sizeof(WinceResource) >= dir->count)
    return nullptr;
  return dir->resources + (at - first) / sizeof(WinceResource);
}

}  // namespace
}  // namespace wince::modules

using namespace wince::modules;

extern "C" HRSRC WINAPI FindResourceW(HMODULE hModule, LPCWSTR lpName, LPCWSTR lpType) {
  if (!lpName || !lpType) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  const WinceResourceDirectory* dir = ResourcesOf(hModule);
  if (!dir) return nullptr;
  Key type = KeyOf(lpType);
  Key name = KeyOf(lpName);
  bool typeSeen = false;
  for (uint32_t i = 0; i < dir->count; ++i) {
    const WinceResource& r = dir->resources[i];
    if (!Matches(type, r.typeId, r.typeName)) continue;
    typeSeen = true;
    if (Matches(name, r.nameId, r.name))
      return reinterpret_cast<HRSRC>(const_cast<WinceResource*>(&r));
  }
  SetLastError(typeSeen ? ERROR_RESOURCE_NAME_NOT_FOUND : ERROR_RESOURCE_TYPE_NOT_FOUND);
  return nullptr;
}

extern "C" HGLOBAL WINAPI LoadResource(HMODULE hModule, HRSRC hResInfo) {
  const WinceResourceDirectory* dir = ResourcesOf(hModule);
  if (!dir) return nullptr;
  const WinceResource* entry = Entry(dir, hResInfo);
  if (!entry) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  return const_cast<void*>(entry->data);
}

extern "C" LPVOID WINAPI LockResource(HGLOBAL hResData) { return hResData; }

extern "C" DWORD WINAPI SizeofResource(HMODULE hModule, HRSRC hResInfo) {
  const WinceResourceDirectory* dir = ResourcesOf(hModule);
  if (!dir) return 0;
  const WinceResource* entry = Entry(dir, hResInfo);
  if (!entry) {
    SetLastError(ERROR_INVALID_HANDLE);
    return 0;
  }
  return entry->size;
}

extern "C" HBITMAP WINAPI LoadBitmapW(HINSTANCE hInstance, LPCWSTR lpBitmapName) {
  if (!hInstance) {
    wince::NotImplemented("LoadBitmapW", "the system's own bitmaps (OBM_*)");
    return nullptr;
  }
  HRSRC found = FindResourceW(hInstance, lpBitmapName, RT_BITMAP);
  if (!found) return nullptr;
  return wince::host::CreateBitmapFromPackedDib(LoadResource(hInstance, found),
                                                SizeofResource(hInstance, found));
}
