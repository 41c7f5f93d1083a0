// The platform-call layer for text: code-page conversion, comparison, the
// lstr* and Char* functions, and two small path helpers built on them.
#pragma once

#include <windows.h>

namespace tapora::api {

// Converts a NUL-terminated 8-bit text in the system code page to UTF-16
// (CP_ACP, MB_PRECOMPOSED). capacity is in units and counts the NUL. Returns
// the units written including the NUL, 0 on failure (a destination too small
// then holds the first `capacity` units and no NUL).
int MultiByteToWideChar(LPCSTR source, LPWSTR destination, int capacity);

// Comparison modes of CompareText.
constexpr int COMPARE_EXACT = 1;
constexpr int COMPARE_IGNORE_CASE = 2;
constexpr int COMPARE_FIRST_N = 3;

// Compares two NUL-terminated UTF-16 texts: 0 when they match under the mode,
// otherwise non-zero (below or above 0 as lstrcmpW orders them). Mode 1 is
// lstrcmpW, mode 2 lstrcmpiW, mode 3 compares at most the first n units (case
// counts); any other mode answers 1, "they differ".
int CompareText(LPCWSTR a, LPCWSTR b, int mode, int n);

LPWSTR CharPrevW(LPCWSTR start, LPCWSTR current);
LPWSTR CharNextW(LPCWSTR current);
// One character in the low word (high word 0) or a text upper-cased in place.
LPWSTR CharUpperW(LPWSTR text);
// The runtime's decimal reading: spaces and tabs, a sign, digits.
long _wtol(LPCWSTR text);
int lstrlenW(LPCWSTR text);
LPWSTR lstrcpyW(LPWSTR destination, LPCWSTR source);
LPWSTR lstrcpynW(LPWSTR destination, LPCWSTR source, int maxLength);
LPWSTR lstrcatW(LPWSTR destination, LPCWSTR source);
int lstrcmpW(LPCWSTR a, LPCWSTR b);
int lstrcmpiW(LPCWSTR a, LPCWSTR b);

// The last occurrence of ch in text, found by stepping back from the text's
// end with CharPrevW. The search stops when it reaches the first position, so
// an occurrence there is not found. Null when not found.
LPWSTR FindLastChar(LPCWSTR text, WCHAR ch);

// Cuts a path back to its folder: every character after the last backslash
// is removed, the backslash stays; a path without one becomes empty.
LPWSTR CutToFolder(LPWSTR path);

// Appends source to a NUL-terminated destination of `capacity` units, cutting
// the text at the buffer's end. Returns destination.
LPWSTR AppendBounded(LPWSTR destination, LPCWSTR source, int capacity);

}  // namespace tapora::api
