// The device's core library as the tests provide it: the SIP manager's two
// functions record their calls, one line each, for the harness to take; the
// traced allocation is the local heap's allocation with the trace dropped.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

std::string Calls;

}  // namespace

extern "C" {

BOOL WINAPI SipShowIM(DWORD flags) {
  Calls += "SipShowIM " + std::to_string(flags) + "\n";
  return TRUE;
}

BOOL WINAPI SipSetCurrentIM(CLSID* clsid) {
  char text[64] = "null";
  if (clsid != nullptr) {
    std::snprintf(text, sizeof text, "{%08lX-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                  clsid->Data1, clsid->Data2, clsid->Data3, clsid->Data4[0], clsid->Data4[1],
                  clsid->Data4[2], clsid->Data4[3], clsid->Data4[4], clsid->Data4[5],
                  clsid->Data4[6], clsid->Data4[7]);
  }
  Calls += std::string("SipSetCurrentIM ") + text + "\n";
  return TRUE;
}

HLOCAL WINAPI LocalAllocTrace(UINT flags, UINT bytes, UINT, PCHAR) {
  return LocalAlloc(flags, bytes);
}

// The calls recorded since the last time, one a line; the record starts again.
void WINAPI StandInTakeCalls(char* buffer, DWORD size) {
  if (size == 0) return;
  const size_t length = Calls.size() < size - 1 ? Calls.size() : size - 1;
  Calls.copy(buffer, length);
  buffer[length] = 0;
  Calls.clear();
}

}  // extern "C"
