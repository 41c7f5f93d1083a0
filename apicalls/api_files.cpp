// Thin pass-throughs to the platform's file functions.
#include "apicalls/api_files.h"

namespace tapora::api {

HANDLE CreateFileW(LPCWSTR fileName, DWORD desiredAccess, DWORD shareMode,
                   LPSECURITY_ATTRIBUTES securityAttributes, DWORD creationDisposition,
                   DWORD flagsAndAttributes, HANDLE templateFile) {
  return ::CreateFileW(fileName, desiredAccess, shareMode, securityAttributes, creationDisposition,
                       flagsAndAttributes, templateFile);
}

BOOL ReadFile(HANDLE file, LPVOID buffer, DWORD bytesToRead, LPDWORD bytesRead) {
  return ::ReadFile(file, buffer, bytesToRead, bytesRead, nullptr);
}

BOOL WriteFile(HANDLE file, LPCVOID buffer, DWORD bytesToWrite, LPDWORD bytesWritten) {
  return ::WriteFile(file, buffer, bytesToWrite, bytesWritten, nullptr);
}

DWORD SetFilePointer(HANDLE file, LONG distanceToMove, PLONG distanceToMoveHigh, DWORD moveMethod) {
  return ::SetFilePointer(file, distanceToMove, distanceToMoveHigh, moveMethod);
}

DWORD GetFileSize(HANDLE file, LPDWORD fileSizeHigh) { return ::GetFileSize(file, fileSizeHigh); }

BOOL CloseHandle(HANDLE object) { return ::CloseHandle(object); }

DWORD GetFileAttributesW(LPCWSTR fileName) { return ::GetFileAttributesW(fileName); }

HANDLE FindFirstFileW(LPCWSTR fileName, LPWIN32_FIND_DATAW findData) {
  return ::FindFirstFileW(fileName, findData);
}

BOOL FindNextFileW(HANDLE findFile, LPWIN32_FIND_DATAW findData) {
  return ::FindNextFileW(findFile, findData);
}

BOOL FindClose(HANDLE findFile) { return ::FindClose(findFile); }

BOOL CreateDirectoryW(LPCWSTR pathName, LPSECURITY_ATTRIBUTES securityAttributes) {
  return ::CreateDirectoryW(pathName, securityAttributes);
}

BOOL RemoveDirectoryW(LPCWSTR pathName) { return ::RemoveDirectoryW(pathName); }

BOOL CopyFileW(LPCWSTR existingFileName, LPCWSTR newFileName, BOOL failIfExists) {
  return ::CopyFileW(existingFileName, newFileName, failIfExists);
}

BOOL DeleteFileW(LPCWSTR fileName) { return ::DeleteFileW(fileName); }

DWORD GetLastError() { return ::GetLastError(); }

void SetLastError(DWORD errorCode) { ::SetLastError(errorCode); }

}  // namespace tapora::api
