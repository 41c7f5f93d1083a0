// The registry of the current device: loaded from the device folder's
// "registry.reg" on first use, dropped when the device folder changes (the
// state remembers which folder it was read from), written back after every
// change. Handles of opened keys live here too.
//
// States: NOT LOADED -> LOADED [Current, the file read or absent]
//         NOT LOADED -> REFUSED [Current, the file cannot be read or parsed]
//         LOADED, REFUSED -> NOT LOADED [Drop: another device folder, ReloadRegistry]
// While REFUSED every function fails with ERROR_REGISTRY_CORRUPT and the file
// is never written. Dropping marks every key deleted, so handles from before
// fail with ERROR_KEY_DELETED until they are closed.
#pragma once

#include <memory>

#include <windows.h>

#include "wince/registry/tree.h"

namespace wince::registry {

// The registry, loaded if need be: 0, or ERROR_REGISTRY_CORRUPT.
DWORD Current(Hive** hive);

// The key an HKEY names, checked for the rights needed: 0, or
// ERROR_REGISTRY_CORRUPT, ERROR_INVALID_HANDLE, ERROR_KEY_DELETED,
// ERROR_ACCESS_DENIED.
DWORD KeyOf(HKEY hKey, REGSAM needed, std::shared_ptr<Key>* key);

// A new handle to key with the rights asked (0 asks for all, as callers on
// the device pass it). NULL when the handle table is full.
HKEY OpenHandle(std::shared_ptr<Key> key, REGSAM access);
// False when hKey is not an open handle (a root key is not one).
bool CloseHandle(HKEY hKey);
bool IsRootKey(HKEY hKey);

// Writes the registry to the device folder after a change: 0, or the error
// of the failed write (the file on disk is then the one from before).
DWORD Save();

}  // namespace wince::registry
