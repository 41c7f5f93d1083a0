// The Wine suite's entry point. The system names its files by device paths
// without a drive ("\Windows\tapora.dll"); they resolve on the current drive,
// which must be the prefix's C: as it is the device's one drive. The product
// is installed there once for the whole run.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>

#include "tests/win32/sip_manager.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  SetCurrentDirectoryW(L"C:\\");
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  // Listing the tests (CTest's discovery) touches nothing.
  if (!GTEST_FLAG_GET(list_tests) && !wine_test::InstallProduct()) {
    std::fprintf(stderr, "the product could not be installed in the prefix\n");
    return 1;
  }
  return RUN_ALL_TESTS();
}
