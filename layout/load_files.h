// File access shared by the load steps (internal to layout/): loose files are
// opened for reading only and must exist; in a container every step reads
// through the one open handle, placed by EstablishFilePointer.
#pragma once

#include <windows.h>

namespace tapora {

// Opens an existing file for reading; null when it cannot be opened.
HANDLE OpenForReading(LPCWSTR path, DWORD shareMode);

// The file a step reads a member from: with a container, the container placed
// at the member (null when the lookup fails); otherwise the loose file
// SetFolder + name, opened exclusively (null when it cannot be opened).
HANDLE AcquireMember(HANDLE container, LPCWSTR name, LPWSTR progress);

// Closes what AcquireMember opened; a container stays open.
void ReleaseMember(HANDLE container, HANDLE file);

// A container's position, noted before a deeper step and restored after it,
// so that the next name is read where the previous one ended.
DWORD NotePosition(HANDLE container);
void RestorePosition(HANDLE container, DWORD position);

// Releases a block that a failed step allocated but never linked.
void ReleaseUnlinked(DWORD handle);

}  // namespace tapora
