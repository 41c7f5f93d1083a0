// The one way the host reports a function or variant it does not emulate.
#include "wince/kernel/not_implemented.h"

#include <cstdio>

#include <windows.h>

namespace wince {

void NotImplemented(const char* name, const char* detail) {
  std::fprintf(stderr, "wince: %s: not implemented on the host (%s)\n", name, detail);
  SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
}

}  // namespace wince
