// Fault injection: the n-th LocalAlloc(Trace), LocalReAlloc or ReadFile fails
// as the platform fails it, once, and every call is counted.
#include <gtest/gtest.h>

#include <windows.h>

#include "tests/wince/kernel/device_fixture.h"
#include "wince/host/faults.h"
#include "wince/host/heap.h"

namespace {

using wince::host::Call;

class FaultsTest : public DeviceFolderTest {
 protected:
  void SetUp() override {
    DeviceFolderTest::SetUp();
    wince::host::ClearFaults();
    wince::host::ResetCallCounts();
  }
  void TearDown() override {
    wince::host::ClearFaults();
    DeviceFolderTest::TearDown();
  }
};

TEST_F(FaultsTest, NthAllocationFailsOnceAndTraceCountsAsAlloc) {
  size_t live = wince::host::LiveHeapBlocks();
  wince::host::FailNthCall(Call::LocalAlloc, 3);
  HLOCAL a = LocalAlloc(LHND, 4);
  HLOCAL b = LocalAllocTrace(LHND, 4, __LINE__, const_cast<PCHAR>(__FILE__));
  SetLastError(0xdeadbeef);
  HLOCAL c = LocalAllocTrace(LHND, 4, __LINE__, const_cast<PCHAR>(__FILE__));
  EXPECT_EQ(c, nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_ENOUGH_MEMORY));
  HLOCAL d = LocalAlloc(LHND, 4);  // disarmed after firing
  EXPECT_NE(a, nullptr);
  EXPECT_NE(b, nullptr);
  EXPECT_NE(d, nullptr);
  EXPECT_EQ(wince::host::CallCount(Call::LocalAlloc), 4u);
  for (HLOCAL h : {a, b, d}) LocalFree(h);
  EXPECT_EQ(wince::host::LiveHeapBlocks(), live);
}

TEST_F(FaultsTest, FailedReallocLeavesTheBlock) {
  HLOCAL h = LocalAlloc(LHND, 4);
  static_cast<char*>(LocalLock(h))[0] = 'k';
  LocalUnlock(h);
  wince::host::FailNthCall(Call::LocalReAlloc, 1);
  SetLastError(0xdeadbeef);
  EXPECT_EQ(LocalReAlloc(h, 64, LMEM_MOVEABLE), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_ENOUGH_MEMORY));
  EXPECT_EQ(LocalSize(h), 4u);
  EXPECT_EQ(static_cast<char*>(LocalLock(h))[0], 'k');
  LocalUnlock(h);
  HLOCAL moved = LocalReAlloc(h, 64, LMEM_MOVEABLE);
  EXPECT_NE(moved, nullptr);
  EXPECT_EQ(wince::host::CallCount(Call::LocalReAlloc), 2u);
  LocalFree(moved);
}

TEST_F(FaultsTest, NthReadFailsWithReadFaultAndNothingRead) {
  WriteHost("f.bin", "abcdef");
  ScopedFile f(OpenForReading(TEXT("\\f.bin")));
  char buffer[4];
  DWORD got = 0;
  wince::host::FailNthCall(Call::ReadFile, 2);
  EXPECT_TRUE(ReadFile(f.h, buffer, 2, &got, NULL));
  SetLastError(0xdeadbeef);
  got = 0xdeadbeef;
  EXPECT_FALSE(ReadFile(f.h, buffer, 2, &got, NULL));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_READ_FAULT));
  EXPECT_EQ(got, 0u);
  EXPECT_TRUE(ReadFile(f.h, buffer, 2, &got, NULL));  // the failed read did not move on
  EXPECT_EQ(std::string(buffer, got), "cd");
  EXPECT_EQ(wince::host::CallCount(Call::ReadFile), 3u);
}

TEST_F(FaultsTest, NthCopyAndDeleteFailAndChangeNothing) {
  WriteHost("a.txt", "a");
  wince::host::FailNthCall(Call::CopyFileW, 1);
  SetLastError(0xdeadbeef);
  EXPECT_FALSE(CopyFileW(TEXT("\\a.txt"), TEXT("\\b.txt"), TRUE));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_DISK_FULL));
  EXPECT_EQ(GetFileAttributesW(TEXT("\\b.txt")), INVALID_FILE_ATTRIBUTES);
  wince::host::FailNthCall(Call::DeleteFileW, 1);
  SetLastError(0xdeadbeef);
  EXPECT_FALSE(DeleteFileW(TEXT("\\a.txt")));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  EXPECT_EQ(ReadHost("a.txt"), "a");
  EXPECT_TRUE(CopyFileW(TEXT("\\a.txt"), TEXT("\\b.txt"), TRUE));
  EXPECT_TRUE(DeleteFileW(TEXT("\\a.txt")));
  EXPECT_EQ(wince::host::CallCount(Call::CopyFileW), 2u);
  EXPECT_EQ(wince::host::CallCount(Call::DeleteFileW), 2u);
}

TEST_F(FaultsTest, ZeroAndClearDisarm) {
  wince::host::FailNthCall(Call::LocalAlloc, 1);
  wince::host::FailNthCall(Call::LocalAlloc, 0);
  HLOCAL a = LocalAlloc(LHND, 1);
  EXPECT_NE(a, nullptr);
  wince::host::FailNthCall(Call::LocalAlloc, 1);
  wince::host::ClearFaults();
  HLOCAL b = LocalAlloc(LHND, 1);
  EXPECT_NE(b, nullptr);
  LocalFree(a);
  LocalFree(b);
  wince::host::ResetCallCounts();
  EXPECT_EQ(wince::host::CallCount(Call::LocalAlloc), 0u);
}

}  // namespace
