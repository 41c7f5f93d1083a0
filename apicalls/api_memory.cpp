// Memory handles: movable local-heap blocks, passed across the layer as the
// u32 values that the records store. The handle is not the block's address
// (on the 64-bit host it is a small number), so Lock goes through LocalLock.
#include "apicalls/api_memory.h"

#include "apicalls/ce_compat.h"

namespace tapora::api {

namespace {

// Named in every allocation's trace.
CHAR ThisFile[] = "apicalls/api_memory.cpp";

HLOCAL ToLocal(DWORD handle) { return reinterpret_cast<HLOCAL>(static_cast<UINT_PTR>(handle)); }

DWORD FromLocal(HLOCAL handle) { return static_cast<DWORD>(reinterpret_cast<UINT_PTR>(handle)); }

}  // namespace

DWORD Allocate(UINT flags, UINT size) {
  return FromLocal(::LocalAllocTrace(flags, size, __LINE__, ThisFile));
}

DWORD Reallocate(DWORD handle, UINT size) {
  if (handle == 0) return 0;
  return FromLocal(::LocalReAlloc(ToLocal(handle), size, LMEM_MOVEABLE));
}

BYTE* Lock(DWORD handle) {
  if (handle == 0) return nullptr;
  return static_cast<BYTE*>(::LocalLock(ToLocal(handle)));
}

BOOL Unlock(DWORD handle) {
  if (handle == 0) return FALSE;
  return ::LocalUnlock(ToLocal(handle));
}

void Zero(void* address, DWORD size) {
  BYTE* bytes = static_cast<BYTE*>(address);
  for (DWORD i = 0; i < size; ++i) bytes[i] = 0;
}

DWORD Free(DWORD handle) { return FromLocal(::LocalFree(ToLocal(handle))); }

}  // namespace tapora::api
