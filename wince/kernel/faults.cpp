// Fault injection and call counting (see wince/host/faults.h).
// Each kind has one countdown: FailNthCall(call, n) arms it, every call of that
// kind counts it down, and the call that reaches zero fails and disarms it.
#include <array>
#include <cstddef>

#include "wince/kernel/fault_points.h"

namespace wince {
namespace {

struct FaultState {
  std::array<unsigned, host::kCallKinds> countdown{};  // 0 = disarmed
  std::array<unsigned, host::kCallKinds> calls{};
  int ownCalls = 0;  // nesting depth of OwnCalls
};

FaultState& State() {
  static FaultState state;
  return state;
}

size_t Index(host::Call call) { return static_cast<size_t>(call); }

}  // namespace

bool faults::ShouldFail(host::Call call) {
  FaultState& state = State();
  if (state.ownCalls > 0) return false;
  size_t i = Index(call);
  ++state.calls[i];
  if (state.countdown[i] == 0) return false;
  return --state.countdown[i] == 0;
}

faults::OwnCalls::OwnCalls() { ++State().ownCalls; }
faults::OwnCalls::~OwnCalls() { --State().ownCalls; }

const char* host::CallName(Call call) {
  switch (call) {
    case Call::LocalAlloc:
      return "LocalAlloc";
    case Call::LocalReAlloc:
      return "LocalReAlloc";
    case Call::ReadFile:
      return "ReadFile";
    case Call::CopyFileW:
      return "CopyFileW";
    case Call::DeleteFileW:
      return "DeleteFileW";
    case Call::CreateFileW:
      return "CreateFileW";
    case Call::WriteFile:
      return "WriteFile";
    case Call::RemoveDirectoryW:
      return "RemoveDirectoryW";
    case Call::RegistryWrite:
      return "RegistryWrite";
    case Call::RegisterClassW:
      return "RegisterClassW";
    case Call::CreateWindowExW:
      return "CreateWindowExW";
    case Call::ImageList_Create:
      return "ImageList_Create";
    case Call::LoadBitmapW:
      return "LoadBitmapW";
    case Call::DialogBoxIndirectParamW:
      return "DialogBoxIndirectParamW";
  }
  return "?";
}

void host::FailNthCall(Call call, unsigned n) { State().countdown[Index(call)] = n; }

void host::ClearFaults() { State().countdown.fill(0); }

unsigned host::CallCount(Call call) { return State().calls[Index(call)]; }

void host::ResetCallCounts() { State().calls.fill(0); }

}  // namespace wince
