// Fault injection: make the n-th call of a platform function that can fail
// fail the way the platform fails it, and count the calls.
#pragma once

#include <cstddef>

namespace wince::host {

// LocalAllocTrace counts as LocalAlloc. RegistryWrite is every call of
// RegCreateKeyExW, RegSetValueExW, RegDeleteKeyW and RegDeleteValueW.
enum class Call {
  LocalAlloc,
  LocalReAlloc,
  ReadFile,
  CopyFileW,
  DeleteFileW,
  CreateFileW,
  WriteFile,
  RemoveDirectoryW,
  RegistryWrite,
  RegisterClassW,
  CreateWindowExW,
  ImageList_Create,
  LoadBitmapW,
  DialogBoxIndirectParamW,
};

inline constexpr Call kAllCalls[] = {
    Call::LocalAlloc,      Call::LocalReAlloc,
    Call::ReadFile,        Call::CopyFileW,
    Call::DeleteFileW,     Call::CreateFileW,
    Call::WriteFile,       Call::RemoveDirectoryW,
    Call::RegistryWrite,   Call::RegisterClassW,
    Call::CreateWindowExW, Call::ImageList_Create,
    Call::LoadBitmapW,     Call::DialogBoxIndirectParamW,
};
inline constexpr size_t kCallKinds = sizeof kAllCalls / sizeof kAllCalls[0];

// The function's name, for messages.
const char* CallName(Call call);

// The n-th call from now (counting from 1) fails once, changing nothing:
// - LocalAlloc and LocalReAlloc return NULL with ERROR_NOT_ENOUGH_MEMORY;
// - ReadFile returns FALSE with ERROR_READ_FAULT and 0 bytes read;
// - CopyFileW returns FALSE with ERROR_DISK_FULL and writes nothing;
// - DeleteFileW returns FALSE with ERROR_ACCESS_DENIED;
// - CreateFileW returns INVALID_HANDLE_VALUE with ERROR_SHARING_VIOLATION
//   (the file is neither created nor truncated);
// - WriteFile returns FALSE with ERROR_DISK_FULL and 0 bytes written;
// - RemoveDirectoryW returns FALSE with ERROR_ACCESS_DENIED;
// - the registry's writes return ERROR_ACCESS_DENIED (RegCreateKeyExW with
//   a NULL key);
// - RegisterClassW returns 0 and CreateWindowExW NULL (no message is sent),
//   both with ERROR_NOT_ENOUGH_MEMORY;
// - ImageList_Create and LoadBitmapW return NULL with ERROR_NOT_ENOUGH_MEMORY;
// - DialogBoxIndirectParamW returns -1 with ERROR_NOT_ENOUGH_MEMORY, before
//   the dialog or its procedure sees anything.
// Windows and classes the host makes for itself (a dialog's own window and
// controls, the system classes, the test screen) are neither counted nor
// failed. n = 0 disarms.
void FailNthCall(Call call, unsigned n);
void ClearFaults();

// Calls made since the last ResetCallCounts (failed ones included).
unsigned CallCount(Call call);
void ResetCallCounts();

}  // namespace wince::host
