// The platform-call layer for the runtime's wide-character text streams, with
// which the language tree's small text files are read and written. Thin
// pass-throughs: each returns the runtime's result.
#pragma once

#include <windows.h>
#include <stdio.h>

namespace tapora::api {

// Opens a file by its device path; mode as the runtime takes it ("r", "w",
// text unless "b" is given). Null on failure.
FILE* _wfopen(LPCWSTR path, LPCWSTR mode);
// Reads one line of at most capacity - 1 characters, keeping its line feed.
// Null at the end of the stream (the buffer then stays as it was) or on error.
LPWSTR fgetws(LPWSTR buffer, int capacity, FILE* stream);
// Writes the text without its terminator; 0 on success, non-zero on failure
// (the device runtime's failure value is not negative).
// A non-negative result on success, STREAM_WEOF on failure.
int fputws(LPCWSTR text, FILE* stream);
// The device runtime's WEOF: its wint_t is a 16-bit unsigned type.
constexpr int STREAM_WEOF = 0xFFFF;
// Closes the stream, writing out what is buffered; 0 on success.
int fclose(FILE* stream);
// Non-zero once a read or write of the stream has failed.
int ferror(FILE* stream);
// Non-zero once a read has reached the end of the stream.
int feof(FILE* stream);

}  // namespace tapora::api
