// The memory-handle functions of the platform-call layer. Keyboard data lives
// in movable local-heap blocks whose handles are stored inside the records as
// u32 values, so handles cross this layer as DWORDs and become HLOCAL only in
// api_memory.cpp. Every Lock is paired with an Unlock by the caller.
#pragma once

#include <windows.h>

namespace tapora::api {

// A local-heap block (LocalAllocTrace, traced to this layer's file and line).
// The loader asks for LMEM_MOVEABLE | LMEM_ZEROINIT. 0 on failure.
DWORD Allocate(UINT flags, UINT size);

// Resizes with LMEM_MOVEABLE only: contents kept, added bytes not zeroed, the
// block may move. The caller stores the returned handle wherever the old one
// was held. 0 on failure, the old block then stays as it was.
DWORD Reallocate(DWORD handle, UINT size);

// The block's address (LocalLock); null for a 0 or invalid handle.
BYTE* Lock(DWORD handle);

// LocalUnlock, passed through.
BOOL Unlock(DWORD handle);

// Fills size bytes at address with 0.
void Zero(void* address, DWORD size);

// Releases the block (LocalFree); 0 means success, anything else failure.
DWORD Free(DWORD handle);

}  // namespace tapora::api
