// Where the host's fault injection is consulted: every LocalAlloc(Trace),
// LocalReAlloc, ReadFile, CopyFileW and DeleteFileW calls ShouldFail once,
// first thing.
#pragma once

#include "wince/host/faults.h"

namespace wince::faults {

// Counts the call; true when it is the one a test armed to fail.
bool ShouldFail(host::Call call);

}  // namespace wince::faults
