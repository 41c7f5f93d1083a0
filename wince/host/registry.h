// Test and tool hooks of the registry, which lives in the device folder's
// "registry.reg" (see wince/registry/reg_file.h for its form).
#pragma once

#include <string>

namespace wince::host {

// Why the current device's "registry.reg" was refused ("registry.reg line 3:
// ..."), or empty when it was read (or is absent). Reads the file first when
// the registry is not loaded yet. While there is an error every registry
// function returns ERROR_REGISTRY_CORRUPT and the file is left as it is.
std::string RegistryError();

// Forgets the registry in memory, so that the next registry call reads the
// file again. Handles opened before fail with ERROR_KEY_DELETED from then on.
void ReloadRegistry();

// The file's text for the registry in memory, as it would be written; empty
// when the file was refused.
std::string RegistryText();

// Key handles opened and not closed yet, for leak checks.
int OpenRegistryHandles();

}  // namespace wince::host
