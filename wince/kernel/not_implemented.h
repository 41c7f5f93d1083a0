// A host function or variant that is not emulated fails loudly: one line on
// stderr and ERROR_CALL_NOT_IMPLEMENTED, never a silent success.
#pragma once

namespace wince {

// Writes "wince: NAME: not implemented on the host (DETAIL)" and sets the
// last error. Callers then return their failure value.
void NotImplemented(const char* name, const char* detail);

}  // namespace wince
