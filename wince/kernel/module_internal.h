// Loaded modules as the resource functions see them (module.cpp owns the
// modules, resource.cpp the lookups, resource_file.cpp the .res reader).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <windows.h>

#include "wince/kernel/resource_table.h"

namespace wince::modules {

// A resource type or name: a number, or a string compared without regard
// to case.
struct ResourceId {
  bool numeric = false;
  uint32_t id = 0;
  std::u16string name;
};

// One resource of a module. The data is the module's own bytes and lives as
// long as the module is loaded.
struct ModuleResource {
  ResourceId type;
  ResourceId name;
  uint16_t language = 0;  // 0 (neutral) for the table form, which has none
  const BYTE* data = nullptr;
  DWORD size = 0;
};

using ModuleResources = std::vector<ModuleResource>;

// The resources of a loaded module (NULL names the executable); nullptr with
// ERROR_MOD_NOT_FOUND for an unknown handle, or with
// ERROR_RESOURCE_DATA_NOT_FOUND for a module without usable resources.
const ModuleResources* ResourcesOf(HMODULE module);

// What a module exports, read into its resource list: the table, the .res
// image, or both (table entries first). Nothing when it exports neither, or
// when the image is malformed; that is written to stderr, naming the module,
// the offset and the fault, and the module then has no resources at all.
std::optional<ModuleResources> GatherResources(const WinceResourceDirectory* table,
                                               const WinceResourceFile* file,
                                               std::u16string_view moduleName);

// The entry FindResourceW finds for a type and a name (numbers, strings or
// "#123"); nullptr with ERROR_RESOURCE_TYPE_NOT_FOUND or
// ERROR_RESOURCE_NAME_NOT_FOUND in *error.
const ModuleResource* FindEntry(const ModuleResources& resources, LPCWSTR type, LPCWSTR name,
                                DWORD* error);

}  // namespace wince::modules
