// Thin pass-throughs to the platform's text functions, and the path helpers
// that the loader builds on them.
#include "apicalls/api_text.h"

#include <stdlib.h>

namespace tapora::api {

int MultiByteToWideChar(LPCSTR source, LPWSTR destination, int capacity) {
  return ::MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, source, -1, destination, capacity);
}

int CompareText(LPCWSTR a, LPCWSTR b, int mode, int n) {
  switch (mode) {
    case COMPARE_EXACT: return ::lstrcmpW(a, b);
    case COMPARE_IGNORE_CASE: return ::lstrcmpiW(a, b);
    case COMPARE_FIRST_N: {
      if (n <= 0) return 0;
      // Counts are bounded by each text's own end so neither is read past
      // its terminator.
      int lengthA = 0;
      while (lengthA < n && a[lengthA] != 0) ++lengthA;
      int lengthB = 0;
      while (lengthB < n && b[lengthB] != 0) ++lengthB;
      int result = ::CompareStringW(LOCALE_USER_DEFAULT, 0, a, lengthA, b, lengthB);
      if (result == 0) return 1;
      return result - CSTR_EQUAL;
    }
    default: return 1;
  }
}

LPWSTR CharPrevW(LPCWSTR start, LPCWSTR current) { return ::CharPrevW(start, current); }

LPWSTR CharUpperW(LPWSTR text) { return ::CharUpperW(text); }

long _wtol(LPCWSTR text) { return ::_wtol(text); }

LPWSTR CharNextW(LPCWSTR current) { return ::CharNextW(current); }

int lstrlenW(LPCWSTR text) { return ::lstrlenW(text); }

LPWSTR lstrcpyW(LPWSTR destination, LPCWSTR source) { return ::lstrcpyW(destination, source); }

LPWSTR lstrcpynW(LPWSTR destination, LPCWSTR source, int maxLength) {
  return ::lstrcpynW(destination, source, maxLength);
}

LPWSTR lstrcatW(LPWSTR destination, LPCWSTR source) { return ::lstrcatW(destination, source); }

int lstrcmpW(LPCWSTR a, LPCWSTR b) { return ::lstrcmpW(a, b); }

int lstrcmpiW(LPCWSTR a, LPCWSTR b) { return ::lstrcmpiW(a, b); }

LPWSTR FindLastChar(LPCWSTR text, WCHAR ch) {
  LPCWSTR position = text + ::lstrlenW(text);
  for (;;) {
    LPCWSTR previous = ::CharPrevW(text, position);
    // CharPrevW answers the start itself once it is reached, which ends the
    // search before the first position is looked at.
    if (previous == position || previous == text) return nullptr;
    position = previous;
    if (*position == ch) return const_cast<LPWSTR>(position);
  }
}

LPWSTR CutToFolder(LPWSTR path) {
  int cut = 0;
  for (int i = 0; path[i] != 0; ++i) {
    if (path[i] == TEXT('\\')) cut = i + 1;
  }
  path[cut] = 0;
  return path;
}

LPWSTR AppendBounded(LPWSTR destination, LPCWSTR source, int capacity) {
  if (capacity <= 0) return destination;
  int length = 0;
  while (length < capacity - 1 && destination[length] != 0) ++length;
  int i = 0;
  while (length < capacity - 1 && source[i] != 0) destination[length++] = source[i++];
  destination[length] = 0;
  return destination;
}

}  // namespace tapora::api
