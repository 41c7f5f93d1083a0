// Test and tool hooks of the host's module loader.
#pragma once

#include <cstddef>
#include <string_view>

#include <windows.h>

namespace wince::host {

// Modules loaded with LoadLibraryW and not yet freed (the executable's own
// module is not counted).
size_t LoadedModules();
// The load count of a module; 0 when the handle names no loaded module.
int ModuleReferences(HMODULE module);
// The device path GetModuleFileNameW(NULL) reports; "\Windows\host.exe"
// unless a tool names its own.
void SetMainModuleFileName(std::u16string_view devicePath);

}  // namespace wince::host
