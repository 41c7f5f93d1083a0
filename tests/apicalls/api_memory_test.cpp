// Memory handles across the layer: u32 handles that are not addresses,
// zero-filled allocation, reallocation that moves and keeps the contents.
#include <gtest/gtest.h>

#include "apicalls/api_memory.h"
#include "wince/host/heap.h"

namespace {

using namespace tapora::api;

TEST(ApiMemory, HandlesLockToZeroedBlocksAndFreeToZero) {
  size_t before = wince::host::LiveHeapBlocks();
  DWORD handle = Allocate(LMEM_MOVEABLE | LMEM_ZEROINIT, 37);
  ASSERT_NE(handle, 0u);
  BYTE* block = Lock(handle);
  ASSERT_NE(block, nullptr);
  for (int i = 0; i < 37; ++i) EXPECT_EQ(block[i], 0) << i;
  Unlock(handle);
  EXPECT_EQ(wince::host::LiveHeapBlocks(), before + 1);
  EXPECT_EQ(Free(handle), 0u);
  EXPECT_EQ(wince::host::LiveHeapBlocks(), before);
  EXPECT_NE(Free(handle), 0u) << "a second free fails";
  EXPECT_EQ(Lock(0), nullptr);
}

TEST(ApiMemory, ReallocateKeepsContentsUnderTheNewHandle) {
  DWORD handle = Allocate(LMEM_MOVEABLE | LMEM_ZEROINIT, 4);
  BYTE* block = Lock(handle);
  ASSERT_NE(block, nullptr);
  for (BYTE i = 0; i < 4; ++i) block[i] = static_cast<BYTE>(i + 1);
  Unlock(handle);

  DWORD grown = Reallocate(handle, 12);
  ASSERT_NE(grown, 0u);
  block = Lock(grown);
  ASSERT_NE(block, nullptr);
  for (BYTE i = 0; i < 4; ++i) EXPECT_EQ(block[i], i + 1);
  Zero(block + 4, 8);
  for (int i = 4; i < 12; ++i) EXPECT_EQ(block[i], 0);
  Unlock(grown);
  if (grown != handle) {
    EXPECT_EQ(Lock(handle), nullptr) << "the old handle is gone";
  }
  EXPECT_EQ(Free(grown), 0u);
  EXPECT_EQ(Reallocate(0, 8), 0u);
}

}  // namespace
