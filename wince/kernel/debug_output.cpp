// OutputDebugStringW: the strings are kept for tests and tools to read.
#include <windows.h>

#include "wince/host/debug_output.h"

namespace wince::host {
namespace {
std::vector<std::u16string>& Lines() {
  static std::vector<std::u16string> lines;
  return lines;
}
std::function<void(const std::u16string&)>& Observer() {
  static std::function<void(const std::u16string&)> observer;
  return observer;
}
}  // namespace

const std::vector<std::u16string>& DebugOutput() { return Lines(); }
void ClearDebugOutput() { Lines().clear(); }
void SetDebugOutputObserver(std::function<void(const std::u16string&)> observer) {
  Observer() = std::move(observer);
}

}  // namespace wince::host

extern "C" void WINAPI OutputDebugStringW(LPCWSTR lpOutputString) {
  if (lpOutputString == nullptr) return;
  wince::host::Lines().emplace_back(lpOutputString);
  if (wince::host::Observer()) wince::host::Observer()(wince::host::Lines().back());
}
