// How a host module carries its resources. A module on the device folder is
// a host shared object; its resources are compiled into it in one of two
// forms, each exported under its own symbol, which the module loader
// (module.cpp) finds with dlsym:
//   - a table of entries (WinceResourceDirectory, kResourceDirectorySymbol),
//     written by resources/stock/embed_resources.cmake from loose files;
//   - the image of a .res file as the Windows resource compiler writes it
//     (WinceResourceFile, kResourceFileSymbol), embedded byte for byte by
//     resources/embed_res.cmake and read by resource_file.cpp, so that the
//     host serves the very bytes a Windows build of the module carries.
// Plain C layout, so generated sources need nothing but this header.
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

struct WinceResourceFile {
  uint32_t magic;              // kResourceFileMagic
  uint32_t version;            // kResourceFileVersion
  uint32_t size;               // bytes in image
  const unsigned char* image;  // the .res file, aligned to at least 4 bytes
};

}  // extern "C"

namespace wince {
constexpr uint32_t kResourceMagic = 0x53455257;  // "WRES"
constexpr uint32_t kResourceVersion = 1;
constexpr const char* kResourceDirectorySymbol = "wince_resource_directory";
constexpr uint32_t kResourceFileMagic = 0x46534552;  // "RESF"
constexpr uint32_t kResourceFileVersion = 1;
constexpr const char* kResourceFileSymbol = "wince_resource_file";
}  // namespace wince
