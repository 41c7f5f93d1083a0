// Thin pass-throughs to the runtime's wide-character streams.
#include "apicalls/api_streams.h"

namespace tapora::api {

FILE* _wfopen(LPCWSTR path, LPCWSTR mode) { return ::_wfopen(path, mode); }

LPWSTR fgetws(LPWSTR buffer, int capacity, FILE* stream) { return ::fgetws(buffer, capacity, stream); }

int fputws(LPCWSTR text, FILE* stream) { return ::fputws(text, stream); }

int fclose(FILE* stream) { return ::fclose(stream); }

int ferror(FILE* stream) { return ::ferror(stream); }

int feof(FILE* stream) { return ::feof(stream); }

}  // namespace tapora::api
