// Module resources: FindResourceW, LoadResource, LockResource,
// SizeofResource and LoadBitmapW, over the resources a host module carries
// (resource_table.h), and the gathering of those into one list at load.
//
// Names and types are numbers (MAKEINTRESOURCE) or strings; a string
// compares without regard to case, and "#101" stands for the number 101.
// A missing type is ERROR_RESOURCE_TYPE_NOT_FOUND, a missing name of an
// existing type ERROR_RESOURCE_NAME_NOT_FOUND, a module without resources
// ERROR_RESOURCE_DATA_NOT_FOUND. A resource's data lives as long as its
// module: LockResource hands out the module's own bytes.
//
// Of a resource present in several languages FindResourceW takes the
// language-neutral one, then the device's language (US English on the
// host), then the first in the module, as the platform's loader falls back.
#include <cstdio>
#include <string>

#include <windows.h>

#include "wince/kernel/fault_points.h"
#include "wince/kernel/file_system.h"
#include "wince/host/surface.h"
#include "wince/kernel/module_internal.h"
#include "wince/kernel/not_implemented.h"
#include "wince/kernel/resource_file.h"

namespace wince::modules {
namespace {

constexpr uint16_t kNeutralLanguage = 0x0000;
constexpr uint16_t kDeviceLanguage = 0x0409;

ResourceId IdOf(LPCWSTR value) {
  ResourceId key;
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

bool Matches(const ResourceId& key, const ResourceId& id) {
  if (key.numeric) return id.numeric && id.id == key.id;
  return !id.numeric && fs::SameName(key.name, id.name);
}

ResourceId IdOfTable(uint32_t number, const char16_t* name) {
  ResourceId id;
  id.numeric = name == nullptr;
  id.id = name ? 0 : number;
  if (name) id.name = name;
  return id;
}

const ModuleResource* Entry(const ModuleResources* resources, HRSRC handle) {
  if (!resources || resources->empty()) return nullptr;
  auto at = reinterpret_cast<uintptr_t>(handle);
  auto first = reinterpret_cast<uintptr_t>(resources->data());
  if (at < first || (at - first) % sizeof(ModuleResource) != 0 ||
      (at - first) / sizeof(ModuleResource) >= resources->size())
    return nullptr;
  return resources->data() + (at - first) / sizeof(ModuleResource);
}

std::string Narrow(std::u16string_view text) {
  std::string out;
  for (char16_t c : text) out.push_back(c < 0x80 ? static_cast<char>(c) : '?');
  return out;
}

}  // namespace

std::optional<ModuleResources> GatherResources(const WinceResourceDirectory* table,
                                               const WinceResourceFile* file,
                                               std::u16string_view moduleName) {
  if (!table && !file) return std::nullopt;
  ModuleResources all;
  if (table) {
    for (uint32_t i = 0; i < table->count; ++i) {
      const WinceResource& r = table->resources[i];
      ModuleResource entry;
      entry.type = IdOfTable(r.typeId, r.typeName);
      entry.name = IdOfTable(r.nameId, r.name);
      entry.data = static_cast<const BYTE*>(r.data);
      entry.size = r.size;
      all.push_back(std::move(entry));
    }
  }
  if (file) {
    ResourceFileError error;
    ModuleResources read;
    if (file->magic != kResourceFileMagic || file->version != kResourceFileVersion || !file->image) {
      error.reason = "resource image of an unknown form";
    } else if (ReadResourceFile({file->image, file->size}, read, error)) {
      all.insert(all.end(), read.begin(), read.end());
      return all;
    }
    std::fprintf(stderr, "wince: %s: resources unavailable: malformed .res at byte %zu: %s\n",
                 Narrow(moduleName).c_str(), error.offset, error.reason.c_str());
    return std::nullopt;
  }
  return all;
}

const ModuleResource* FindEntry(const ModuleResources& resources, LPCWSTR lpType, LPCWSTR lpName,
                                DWORD* error) {
  const ResourceId type = IdOf(lpType);
  const ResourceId name = IdOf(lpName);
  bool typeSeen = false;
  const ModuleResource* first = nullptr;
  const ModuleResource* device = nullptr;
  for (const ModuleResource& r : resources) {
    if (!Matches(type, r.type)) continue;
    typeSeen = true;
    if (!Matches(name, r.name)) continue;
    if (r.language == kNeutralLanguage) return &r;
    if (!device && r.language == kDeviceLanguage) device = &r;
    if (!first) first = &r;
  }
  if (device || first) return device ? device : first;
  *error = typeSeen ? ERROR_RESOURCE_NAME_NOT_FOUND : ERROR_RESOURCE_TYPE_NOT_FOUND;
  return nullptr;
}

}  // namespace wince::modules

using namespace wince::modules;

extern "C" HRSRC WINAPI FindResourceW(HMODULE hModule, LPCWSTR lpName, LPCWSTR lpType) {
  if (!lpName || !lpType) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  const ModuleResources* resources = ResourcesOf(hModule);
  if (!resources) return nullptr;
  DWORD error = 0;
  const ModuleResource* found = FindEntry(*resources, lpType, lpName, &error);
  if (!found) SetLastError(error);
  return reinterpret_cast<HRSRC>(const_cast<ModuleResource*>(found));
}

extern "C" HGLOBAL WINAPI LoadResource(HMODULE hModule, HRSRC hResInfo) {
  const ModuleResources* resources = ResourcesOf(hModule);
  if (!resources) return nullptr;
  const ModuleResource* entry = Entry(resources, hResInfo);
  if (!entry) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  return const_cast<BYTE*>(entry->data);
}

extern "C" LPVOID WINAPI LockResource(HGLOBAL hResData) { return hResData; }

extern "C" DWORD WINAPI SizeofResource(HMODULE hModule, HRSRC hResInfo) {
  const ModuleResources* resources = ResourcesOf(hModule);
  if (!resources) return 0;
  const ModuleResource* entry = Entry(resources, hResInfo);
  if (!entry) {
    SetLastError(ERROR_INVALID_HANDLE);
    return 0;
  }
  return entry->size;
}

extern "C" HBITMAP WINAPI LoadBitmapW(HINSTANCE hInstance, LPCWSTR lpBitmapName) {
  if (wince::faults::ShouldFail(wince::host::Call::LoadBitmapW)) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  if (!hInstance) {
    wince::NotImplemented("LoadBitmapW", "the system's own bitmaps (OBM_*)");
    return nullptr;
  }
  HRSRC found = FindResourceW(hInstance, lpBitmapName, RT_BITMAP);
  if (!found) return nullptr;
  return wince::host::CreateBitmapFromPackedDib(LoadResource(hInstance, found),
                                                SizeofResource(hInstance, found));
}
