// Fault injection and call counting for LocalAlloc, LocalReAlloc, ReadFile,
// CopyFileW and DeleteFileW.
// Each kind has one countdown: FailNthCall(call, n) arms it, every call of that
// kind counts it down, and the call that reaches zero fails and disarms it.
#include "wince/kernel/fault_points.h"

#include <array>
#include <cstddef>

namespace wince {
namespace {

constexpr size_t kKinds = 5;

struct FaultState {
  std::array<unsigned, kKinds> countdown{};  // 0 = disarmed
  std::array<unsigned, kKinds> calls{};
};

FaultState& State() {
  static FaultState state;
  return state;
}

size_t Index(host::Call call) { return static_cast<size_t>(call); }

}  // namespace

bool faults::ShouldFail(host::Call call) {
  FaultState& state = State();
  size_t i = Index(call);
  ++state.calls[i];
  if (state.countdown[i] == 0) return false;
  return --state.countdown[i] == 0;
}

void host::FailNthCall(Call call, unsigned n) { State().countdown[Index(call)] = n; }

void host::ClearFaults() { State().countdown.fill(0); }

unsigned host::CallCount(Call call) { return State().calls[Index(call)]; }

void host::ResetCallCounts() { State().calls.fill(0); }

}  // namespace wince
