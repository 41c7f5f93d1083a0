// Fault injection: make the n-th call of an allocation, reallocation, read,
// copy or delete fail the way the platform fails it, and count the calls.
#pragma once

namespace wince::host {

// LocalAllocTrace counts as LocalAlloc.
enum class Call { LocalAlloc, LocalReAlloc, ReadFile, CopyFileW, DeleteFileW };

// The n-th call from now (counting from 1) fails once: LocalAlloc and
// LocalReAlloc return NULL with ERROR_NOT_ENOUGH_MEMORY, ReadFile returns FALSE
// with ERROR_READ_FAULT and 0 bytes read, CopyFileW returns FALSE with
// ERROR_DISK_FULL and writes nothing, DeleteFileW returns FALSE with
// ERROR_ACCESS_DENIED and deletes nothing. n = 0 disarms.
void FailNthCall(Call call, unsigned n);
void ClearFaults();

// Calls made since the last ResetCallCounts (failed ones included).
unsigned CallCount(Call call);
void ResetCallCounts();

}  // namespace wince::host
