// Where the host's fault injection is consulted: every function that
// wince/host/faults.h lists calls ShouldFail once, first thing.
#pragma once

#include "wince/host/faults.h"

namespace wince::faults {

// Counts the call; true when it is the one a test armed to fail. Always
// false, and nothing counted, while an OwnCalls is alive.
bool ShouldFail(host::Call call);

// The host calling its own API (a dialog creating its controls, the system
// classes registering): those calls are the platform's business, not the
// caller's, so they neither count nor fail.
class OwnCalls {
 public:
  OwnCalls();
  ~OwnCalls();
  OwnCalls(const OwnCalls&) = delete;
  OwnCalls& operator=(const OwnCalls&) = delete;
};

}  // namespace wince::faults
