// Loaded modules as the resource functions see them (module.cpp owns them).
#pragma once

#include <windows.h>

#include "wince/kernel/resource_table.h"

namespace wince::modules {

// The resource directory of a loaded module (NULL names the executable);
// nullptr with ERROR_MOD_NOT_FOUND for an unknown handle, or with
// ERROR_RESOURCE_DATA_NOT_FOUND for a module without resources.
const WinceResourceDirectory* ResourcesOf(HMODULE module);

}  // namespace wince::modules
