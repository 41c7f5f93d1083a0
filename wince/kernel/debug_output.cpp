// OutputDebugStringW: the strings are kept for tests and tools to read.
#include <windows.h>

#include "wince/host/debug_output.h"

namespace wince::host {
namespace {
std::vector<std::u16string>& Lines() {
  static std::vector<std::u16string> lines;
  return lines;
}
}  // namespace

const std::vector<std::u16string>& DebugOutput() { return Lines(); }
void ClearDebugOutput() { Lines().clear(); }

}  // namespace wince::host

extern "C" void WINAPI OutputDebugStringW(LPCWSTR lpOutputString) {
  if (lpOutputString) wince::host::Lines().emplace_back(lpOutputString);
}
