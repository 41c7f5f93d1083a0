// The local heap: LocalAlloc(Trace), LocalReAlloc, LocalLock, LocalUnlock,
// LocalFree, LocalSize.
//
// A handle is a number from a table, never an address (the system keeps
// handles in 32-bit record fields; on a 64-bit host an address would not fit),
// and LocalLock gives the address. Every block is an allocation of its own of
// exactly its size, so AddressSanitizer sees a read past the end of a block.
// Bytes that LMEM_ZEROINIT does not cover are filled with 0xCD, never left at
// zero, so that code relying on zeroed growth fails in tests.
//
// Reallocation: LocalReAlloc(h, n, LMEM_MOVEABLE) with a new size always
// moves the block to a new handle (the old one becomes invalid), the contents
// kept up to the smaller size; a locked block moves too, its lock count
// going with it (the device has no real movable memory to pin). Without
// LMEM_MOVEABLE the block can only change in place: it may shrink, and grow
// back up to the size it was allocated with; growing further fails with
// ERROR_NOT_ENOUGH_MEMORY. A failed reallocation leaves the block as it was.
#include <algorithm>
#include <cstddef>
#include <cstring>
#include <memory>
#include <new>

#include <windows.h>

#include "wince/kernel/fault_points.h"
#include "wince/kernel/handle_table.h"
#include "wince/host/heap.h"

#if defined(__SANITIZE_ADDRESS__)
#define WINCE_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define WINCE_ASAN 1
#endif
#endif
#ifdef WINCE_ASAN
#include <sanitizer/asan_interface.h>
#endif

namespace wince {
namespace {

// A process on the device has a 32 MB address space: no block is larger.
constexpr UINT kMaxBlockSize = 32u * 1024 * 1024;
constexpr unsigned char kFreshFill = 0xCD;

// The bytes of one block. A block shrunk in place keeps its storage; the tail
// past the size is poisoned for AddressSanitizer.
struct Block {
  std::unique_ptr<std::byte[]> bytes;
  UINT size = 0;
  UINT capacity = 0;
  UINT flags = 0;
  UINT locks = 0;
};

void MarkUsable(Block& block) {
#ifdef WINCE_ASAN
  ASAN_UNPOISON_MEMORY_REGION(block.bytes.get(), block.capacity);
  ASAN_POISON_MEMORY_REGION(block.bytes.get() + block.size, block.capacity - block.size);
#else
  (void)block;
#endif
}

void ReleaseStorage(Block& block) {
#ifdef WINCE_ASAN
  ASAN_UNPOISON_MEMORY_REGION(block.bytes.get(), block.capacity);
#endif
  block.bytes.reset();
}

HandleTable<Block>& Blocks() {
  static HandleTable<Block> table(0x01000000u, 0xFFFFFFFCu);
  return table;
}

void FillFresh(std::byte* from, size_t count, UINT flags) {
  std::memset(from, (flags & LMEM_ZEROINIT) ? 0 : kFreshFill, count);
}

// Storage of exactly size bytes; null when the host has no memory left.
std::unique_ptr<std::byte[]> NewStorage(UINT size) {
  return std::unique_ptr<std::byte[]>(new (std::nothrow) std::byte[size]);
}

Block* FindBlock(HLOCAL hMem) {
  uint32_t number = HandleNumber(hMem);
  return number == 0 ? nullptr : Blocks().Find(number);
}

HLOCAL Allocate(UINT uFlags, UINT uBytes) {
  if (faults::ShouldFail(host::Call::LocalAlloc) || uBytes > kMaxBlockSize) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return NULL;
  }
  Block block;
  block.bytes = NewStorage(uBytes);
  if (!block.bytes) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return NULL;
  }
  block.size = block.capacity = uBytes;
  block.flags = uFlags & (LMEM_MOVEABLE | LMEM_DISCARDABLE);
  FillFresh(block.bytes.get(), uBytes, uFlags);
  uint32_t number = Blocks().Add(std::move(block));
  if (number == 0) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return NULL;
  }
  return HandleFromNumber(number);
}

HLOCAL ResizeInPlace(HLOCAL hMem, Block& block, UINT uBytes, UINT uFlags) {
  if (uBytes > block.capacity) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return NULL;
  }
  UINT oldSize = block.size;
  block.size = uBytes;
  MarkUsable(block);
  if (uBytes > oldSize) FillFresh(block.bytes.get() + oldSize, uBytes - oldSize, uFlags);
  return hMem;
}

HLOCAL Move(HLOCAL hMem, Block& block, UINT uBytes, UINT uFlags) {
  Block moved;
  moved.bytes = NewStorage(uBytes);
  if (!moved.bytes) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return NULL;
  }
  moved.size = moved.capacity = uBytes;
  moved.flags = block.flags;
  moved.locks = block.locks;
  UINT kept = std::min(block.size, uBytes);
  std::memcpy(moved.bytes.get(), block.bytes.get(), kept);
  FillFresh(moved.bytes.get() + kept, uBytes - kept, uFlags);
  uint32_t number = Blocks().Add(std::move(moved));
  if (number == 0) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return NULL;
  }
  ReleaseStorage(block);  // block is a reference into the table: drop it last
  Blocks().Remove(HandleNumber(hMem));
  return HandleFromNumber(number);
}

}  // namespace

size_t host::LiveHeapBlocks() { return Blocks().Size(); }

}  // namespace wince

using namespace wince;

extern "C" HLOCAL WINAPI LocalAlloc(UINT uFlags, UINT uBytes) { return Allocate(uFlags, uBytes); }

// The trace arguments only serve the device's leak tracking; the host counts
// the call as a LocalAlloc and keeps nothing else.
extern "C" HLOCAL WINAPI LocalAllocTrace(UINT uFlags, UINT uBytes, UINT, PCHAR) {
  return Allocate(uFlags, uBytes);
}

extern "C" HLOCAL WINAPI LocalReAlloc(HLOCAL hMem, UINT uBytes, UINT uFlags) {
  if (faults::ShouldFail(host::Call::LocalReAlloc)) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return NULL;
  }
  Block* block = FindBlock(hMem);
  if (!block) {
    SetLastError(ERROR_INVALID_HANDLE);
    return NULL;
  }
  if (uFlags & LMEM_MODIFY) {
    // Only attributes change; a fixed block cannot be made movable.
    if ((uFlags & LMEM_MOVEABLE) && !(block->flags & LMEM_MOVEABLE)) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return NULL;
    }
    block->flags = (block->flags & ~LMEM_DISCARDABLE) | (uFlags & LMEM_DISCARDABLE);
    return hMem;
  }
  if (uBytes > kMaxBlockSize) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return NULL;
  }
  if (uBytes == block->size) return hMem;
  if (uFlags & LMEM_MOVEABLE) return Move(hMem, *block, uBytes, uFlags);
  return ResizeInPlace(hMem, *block, uBytes, uFlags);
}

extern "C" LPVOID WINAPI LocalLock(HLOCAL hMem) {
  Block* block = FindBlock(hMem);
  if (!block) {
    SetLastError(ERROR_INVALID_HANDLE);
    return NULL;
  }
  ++block->locks;
  return block->bytes.get();
}

// As for a movable block: TRUE while locks remain; FALSE with NO_ERROR once
// the last lock is gone; FALSE with ERROR_NOT_LOCKED when it was not locked.
extern "C" BOOL WINAPI LocalUnlock(HLOCAL hMem) {
  Block* block = FindBlock(hMem);
  if (!block) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (block->locks == 0) {
    SetLastError(ERROR_NOT_LOCKED);
    return FALSE;
  }
  if (--block->locks > 0) return TRUE;
  SetLastError(NO_ERROR);
  return FALSE;
}

extern "C" HLOCAL WINAPI LocalFree(HLOCAL hMem) {
  if (hMem == NULL) return NULL;
  Block* block = FindBlock(hMem);
  if (!block) {
    SetLastError(ERROR_INVALID_HANDLE);
    return hMem;
  }
  ReleaseStorage(*block);
  Blocks().Remove(HandleNumber(hMem));
  return NULL;
}

extern "C" UINT WINAPI LocalSize(HLOCAL hMem) {
  Block* block = FindBlock(hMem);
  if (!block) {
    SetLastError(ERROR_INVALID_HANDLE);
    return 0;
  }
  return block->size;
}
