// Test and tool hooks of the host's file system: the device folder that roots
// every device path, and the count of open handles for leak checks.
#pragma once

#include <filesystem>
#include <string_view>

namespace wince::host {

// Roots the device's file system at hostFolder. Open handles stay open; every
// later path resolves below the new folder.
void SetDeviceFolder(const std::filesystem::path& hostFolder);
std::filesystem::path DeviceFolder();

// The host path that devicePath resolves to: existing components are matched
// without regard to case and keep their host spelling, missing ones keep the
// spelling given. Empty when the path cannot name anything below the device
// folder (no device folder set, or a "." or ".." component).
std::filesystem::path HostPath(std::u16string_view devicePath);

// Handles from CreateFileW that are not closed yet.
int OpenFileHandles();
// Handles from FindFirstFileW that are not closed yet.
int OpenFindHandles();

}  // namespace wince::host
