// TESTMOD.DLL, a module for the host loader's conformance tests
// (tests/wince/kernel/module_test.cpp): an export, named resources, and a DllMain
// that logs each call to the file named by WINCE_TEST_MODULE_LOG and refuses
// to attach while WINCE_TEST_MODULE_REFUSE is set. It uses only the C
// library, so it loads into any host process.
#include <cstdio>
#include <cstdlib>

#include <windows.h>

namespace {

void Log(const char* what) {
  const char* file = std::getenv("WINCE_TEST_MODULE_LOG");
  if (!file) return;
  if (std::FILE* f = std::fopen(file, "a")) {
    std::fputs(what, f);
    std::fputc('\n', f);
    std::fclose(f);
  }
}

}  // namespace

extern "C" __attribute__((visibility("default"))) BOOL WINAPI DllMain(HINSTANCE, DWORD reason,
                                                                     LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    Log("attach");
    return std::getenv("WINCE_TEST_MODULE_REFUSE") ? FALSE : TRUE;
  }
  if (reason == DLL_PROCESS_DETACH) Log("detach");
  return TRUE;
}

extern "C" __attribute__((visibility("default"))) int TestModuleAnswer() { return 42; }
