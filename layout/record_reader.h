// Reading records: ReadRecord, through which every byte of a keyboard file is
// read, and EstablishFilePointer, the member lookup in a container. Neither
// keeps state between calls beyond the file position of the handle given.
#pragma once

#include <windows.h>

#include "layout/records.h"

namespace tapora {

// Units of the load's progress text buffer.
constexpr int PROGRESS_TEXT_UNITS = 260;

// Reads one record of `kind` at the file's current position, one read call per
// field in table order, into destination (at least RecordSize(kind) bytes).
// Bytes not obtained (end of file, or fields after a failed call) arrive as
// zeros. *bytesRead is the sum the successful calls returned; the result is
// false if any call failed (or the kind is unknown).
bool ReadRecord(HANDLE file, BYTE* destination, RecordKind kind, DWORD* bytesRead);

// Places the container's file position at the first byte of the member named
// `member` (compared without regard to case; the first matching directory
// entry wins). progress, when not null, is the load's progress text (260
// units): the lookup appends its trail to it, cut at the buffer's end. On
// false the position is wherever the reading stopped.
bool EstablishFilePointer(HANDLE container, LPCWSTR member, LPWSTR progress);

}  // namespace tapora
