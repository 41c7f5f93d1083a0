// Conformance of the local heap: handles, locking, zeroing and the 0xCD fill,
// reallocation that moves, invalid handles, and the handle numbering.
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <vector>

#include <windows.h>

#include "wince/kernel/handle_table.h"
#include "wince/host/heap.h"

namespace {

uintptr_t Number(HLOCAL h) { return reinterpret_cast<uintptr_t>(h); }

bool AllBytes(const void* p, size_t n, unsigned char value) {
  const auto* b = static_cast<const unsigned char*>(p);
  for (size_t i = 0; i < n; ++i) {
    if (b[i] != value) return false;
  }
  return true;
}

TEST(Heap, HandlesAreSmallNumbersAndLockGivesTheAddress) {
  size_t live = wince::host::LiveHeapBlocks();
  HLOCAL h = LocalAlloc(LHND, 96);
  ASSERT_NE(h, nullptr);
  EXPECT_LE(Number(h), 0xFFFFFFFFu);
  EXPECT_EQ(wince::host::LiveHeapBlocks(), live + 1);
  void* p = LocalLock(h);
  ASSERT_NE(p, nullptr);
  EXPECT_NE(p, static_cast<void*>(h));
  EXPECT_EQ(LocalLock(h), p);  // the block does not move while it lives
  EXPECT_EQ(LocalSize(h), 96u);
  EXPECT_TRUE(AllBytes(p, 96, 0));

  SetLastError(0xdeadbeef);
  EXPECT_TRUE(LocalUnlock(h));   // one lock left
  EXPECT_FALSE(LocalUnlock(h));  // unlocked now
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(NO_ERROR));
  SetLastError(0xdeadbeef);
  EXPECT_FALSE(LocalUnlock(h));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_LOCKED));

  EXPECT_EQ(LocalFree(h), nullptr);
  EXPECT_EQ(wince::host::LiveHeapBlocks(), live);
}

TEST(Heap, BytesNotZeroedAreFilledWithCD) {
  HLOCAL fixed = LocalAlloc(LMEM_FIXED, 16);
  HLOCAL zeroed = LocalAlloc(LPTR, 16);
  EXPECT_TRUE(AllBytes(LocalLock(fixed), 16, 0xCD));
  EXPECT_TRUE(AllBytes(LocalLock(zeroed), 16, 0));
  LocalFree(fixed);
  LocalFree(zeroed);
}

TEST(Heap, ReallocWithMoveableMovesKeepsTheBytesAndDoesNotZeroGrowth) {
  HLOCAL h = LocalAlloc(LHND, 4);
  auto* p = static_cast<unsigned char*>(LocalLock(h));
  std::memcpy(p, "\x01\x02\x03\x04", 4);
  LocalUnlock(h);

  HLOCAL grown = LocalReAlloc(h, 12, LMEM_MOVEABLE);
  ASSERT_NE(grown, nullptr);
  EXPECT_NE(grown, h);
  EXPECT_EQ(LocalSize(grown), 12u);
  auto* q = static_cast<unsigned char*>(LocalLock(grown));
  EXPECT_EQ(std::memcmp(q, "\x01\x02\x03\x04", 4), 0);
  EXPECT_TRUE(AllBytes(q + 4, 8, 0xCD));  // growth is not zeroed
  LocalUnlock(grown);

  // the old handle is gone
  SetLastError(0xdeadbeef);
  EXPECT_EQ(LocalLock(h), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  SetLastError(0xdeadbeef);
  EXPECT_EQ(LocalFree(h), h);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));

  HLOCAL zeroGrown = LocalReAlloc(grown, 20, LMEM_MOVEABLE | LMEM_ZEROINIT);
  ASSERT_NE(zeroGrown, nullptr);
  auto* z = static_cast<unsigned char*>(LocalLock(zeroGrown));
  EXPECT_EQ(std::memcmp(z, "\x01\x02\x03\x04", 4), 0);
  EXPECT_TRUE(AllBytes(z + 12, 8, 0));
  LocalUnlock(zeroGrown);

  HLOCAL shrunk = LocalReAlloc(zeroGrown, 2, LMEM_MOVEABLE);
  ASSERT_NE(shrunk, nullptr);
  EXPECT_NE(shrunk, zeroGrown);
  EXPECT_EQ(LocalSize(shrunk), 2u);
  EXPECT_EQ(std::memcmp(LocalLock(shrunk), "\x01\x02", 2), 0);
  LocalUnlock(shrunk);

  EXPECT_EQ(LocalReAlloc(shrunk, 2, LMEM_MOVEABLE), shrunk);  // same size: stays
  HLOCAL empty = LocalReAlloc(shrunk, 0, LMEM_MOVEABLE);
  ASSERT_NE(empty, nullptr);
  EXPECT_EQ(LocalSize(empty), 0u);
  EXPECT_EQ(LocalFree(empty), nullptr);
}

TEST(Heap, ReallocWithoutMoveableWorksOnlyInPlace) {
  HLOCAL h = LocalAlloc(LMEM_FIXED, 8);
  void* p = LocalLock(h);
  std::memset(p, 7, 8);
  SetLastError(0xdeadbeef);
  EXPECT_EQ(LocalReAlloc(h, 9, 0), nullptr);  // would have to move
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_ENOUGH_MEMORY));
  EXPECT_EQ(LocalSize(h), 8u);
  EXPECT_TRUE(AllBytes(LocalLock(h), 8, 7));  // left as it was

  EXPECT_EQ(LocalReAlloc(h, 4, 0), h);  // shrinking stays in place
  EXPECT_EQ(LocalLock(h), p);
  EXPECT_EQ(LocalSize(h), 4u);
  EXPECT_EQ(LocalReAlloc(h, 6, LMEM_ZEROINIT), h);  // and may grow back in place
  EXPECT_TRUE(AllBytes(p, 4, 7));
  EXPECT_TRUE(AllBytes(static_cast<char*>(p) + 4, 2, 0));
  EXPECT_EQ(LocalFree(h), nullptr);
}

TEST(Heap, ModifyChangesAttributesOnly) {
  HLOCAL fixed = LocalAlloc(LMEM_FIXED, 8);
  SetLastError(0xdeadbeef);
  EXPECT_EQ(LocalReAlloc(fixed, 100, LMEM_MODIFY | LMEM_MOVEABLE), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  HLOCAL moveable = LocalAlloc(LMEM_MOVEABLE, 8);
  EXPECT_EQ(LocalReAlloc(moveable, 100, LMEM_MODIFY | LMEM_DISCARDABLE), moveable);
  EXPECT_EQ(LocalSize(moveable), 8u);
  LocalFree(fixed);
  LocalFree(moveable);
}

TEST(Heap, InvalidHandles) {
  HLOCAL freed = LocalAlloc(LHND, 4);
  ASSERT_EQ(LocalFree(freed), nullptr);
  for (HLOCAL bad : {freed, static_cast<HLOCAL>(INVALID_HANDLE_VALUE),
                     reinterpret_cast<HLOCAL>(static_cast<uintptr_t>(0x13))}) {
    SetLastError(0xdeadbeef);
    EXPECT_EQ(LocalLock(bad), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    SetLastError(0xdeadbeef);
    EXPECT_EQ(LocalFree(bad), bad);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    SetLastError(0xdeadbeef);
    EXPECT_EQ(LocalSize(bad), 0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    SetLastError(0xdeadbeef);
    EXPECT_EQ(LocalReAlloc(bad, 8, LMEM_MOVEABLE), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    SetLastError(0xdeadbeef);
    EXPECT_FALSE(LocalUnlock(bad));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  }
  SetLastError(0xdeadbeef);
  EXPECT_EQ(LocalFree(NULL), nullptr);  // freeing nothing is no error
  EXPECT_EQ(GetLastError(), 0xdeadbeefu);
  SetLastError(0xdeadbeef);
  EXPECT_EQ(LocalLock(NULL), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

TEST(Heap, OversizedBlocksFailAsOutOfMemory) {
  size_t live = wince::host::LiveHeapBlocks();
  SetLastError(0xdeadbeef);
  EXPECT_EQ(LocalAlloc(LHND, 0xFFFFFFF0u), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_ENOUGH_MEMORY));
  HLOCAL h = LocalAlloc(LHND, 4);
  SetLastError(0xdeadbeef);
  EXPECT_EQ(LocalReAlloc(h, 0x80000000u, LMEM_MOVEABLE), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_ENOUGH_MEMORY));
  EXPECT_EQ(LocalSize(h), 4u);
  LocalFree(h);
  EXPECT_EQ(wince::host::LiveHeapBlocks(), live);
}

TEST(Heap, FreedHandleNumbersAreNotReusedSoon) {
  std::set<uintptr_t> seen;
  for (int i = 0; i < 1000; ++i) {
    HLOCAL h = LocalAlloc(LHND, 1);
    EXPECT_TRUE(seen.insert(Number(h)).second) << "handle reused after " << i << " blocks";
    LocalFree(h);
  }
}

TEST(HandleNumbering, WrapsAroundSkippingLiveNumbers) {
  wince::HandleTable<int> table(0x100, 0x10C);  // four numbers: 0x100, 0x104, 0x108, 0x10C
  EXPECT_EQ(table.Add(1), 0x100u);
  EXPECT_EQ(table.Add(2), 0x104u);
  EXPECT_EQ(table.Add(3), 0x108u);
  EXPECT_TRUE(table.Remove(0x104));
  EXPECT_EQ(table.Add(4), 0x10Cu);  // the freed number waits for the wrap
  EXPECT_EQ(table.Add(5), 0x104u);  // wrapped: 0x100 is live and skipped
  EXPECT_EQ(table.Add(6), 0u);      // every number live
  EXPECT_EQ(*table.Find(0x104), 5);

  wince::HandleTable<int> wide(0x01000000u, 0xFFFFFFFCu);
  wide.SetNextForTesting(0xFFFFFFFCu);
  EXPECT_EQ(wide.Add(1), 0xFFFFFFFCu);
  EXPECT_EQ(wide.Add(2), 0x01000000u);  // never 0, never past 32 bits
}

#if defined(__SANITIZE_ADDRESS__)
// Each block is an allocation of its own size, so a read one byte past it is
// caught, also after the block shrank in place.
TEST(HeapDeathTest, ReadingPastABlockIsCaught) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  HLOCAL h = LocalAlloc(LHND, 8);
  auto* p = static_cast<volatile unsigned char*>(LocalLock(h));
  EXPECT_DEATH({ unsigned char c = p[8]; (void)c; }, "AddressSanitizer");
  ASSERT_EQ(LocalReAlloc(h, 4, 0), h);
  EXPECT_DEATH({ unsigned char c = p[4]; (void)c; }, "AddressSanitizer");
  LocalFree(h);
}
#endif

}  // namespace
