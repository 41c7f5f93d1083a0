// The resource directory of a host module. A module on the device folder is
// a host shared object; its resources are compiled into it as this table,
// exported under the symbol named by kResourceDirectorySymbol. The module
// loader (module.cpp) finds it with dlsym; resources/ generates it for each
// module from the files listed in CMake. Plain C layout, so generated
// sources need nothing but this header.
#pragma once

#include <cstdint>

extern "C" {

struct WinceResource {
  uint32_t typeId;           // numeric type (2 for RT_BITMAP), or 0 with typeName
  const char16_t* typeName;  // NUL-terminated, or nullptr
  uint32_t nameId;           // numeric name (101), or 0 with name
  const char16_t* name;      // NUL-terminated, or nullptr
  const void* data;          // RT_BITMAP: a packed DIB, as in a PE module
  uint32_t size;
};

struct WinceResourceDirectory {
  uint32_t magic;    // kResourceMagic
  uint32_t version;  // kResourceVersion
  uint32_t count;
  const WinceResource* resources;
};

}  // extern "C"

namespace wince {
constexpr uint32_t kResourceMagic = 0x53455257;  // "WRES"
constexpr uint32_t kResourceVersion = 1;
constexpr const char* kResourceDirectorySymbol = "wince_resource_directory";
}  // namespace wince
