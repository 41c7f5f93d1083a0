// Fault injection: make the n-th call of an allocation, reallocation or read
// fail the way the platform fails it, and count the calls.
#pragma once

namespace wince::host {

// LocalAllocTrace counts as LocalAlloc.
enum class Call { LocalAlloc, LocalReAlloc, ReadFile };

// The n-th call from now (counting from 1) fails once: LocalAlloc and
// LocalReAlloc return NULL with ERROR_NOT_ENOUGH_MEMORY, ReadFile returns FALSE
// with ERROR_READ_FAULT and 0 bytes read. n = 0 disarms.
void FailNthCall(Call call, unsigned n);
void ClearFaults();

// Calls made since the last ResetCallCounts (failed ones included).
unsigned CallCount(Call call);
void ResetCallCounts();

}  // namespace wince::host
