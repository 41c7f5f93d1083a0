// Wide-string helpers: lstrlenW, lstrcpyW, lstrcpynW, lstrcatW, and the
// character helpers CharPrevW, CharNextW, CharUpperW, CharLowerW.
// (lstrcmpW and lstrcmpiW are in compare_string.cpp.)
//
// NULL pointers: the device's versions trap the fault and return a failure
// value; here lstrlenW(NULL) is 0 and the copy functions return NULL without
// writing.
#include <cstdint>

#include <windows.h>

#include "wince/kernel/case_map.h"

namespace {

// A CharUpperW/CharLowerW argument whose high word is 0 carries one
// character rather than a pointer.
bool IsSingleCharacter(LPWSTR lpsz) { return (reinterpret_cast<uintptr_t>(lpsz) >> 16) == 0; }

template <class Map>
LPWSTR MapCase(LPWSTR lpsz, Map map) {
  if (IsSingleCharacter(lpsz)) {
    auto c = static_cast<char16_t>(reinterpret_cast<uintptr_t>(lpsz) & 0xFFFF);
    return reinterpret_cast<LPWSTR>(static_cast<uintptr_t>(map(c)));
  }
  for (LPWSTR p = lpsz; *p; ++p) *p = map(*p);
  return lpsz;
}

}  // namespace

extern "C" int WINAPI lstrlenW(LPCWSTR lpString) {
  if (!lpString) return 0;
  int length = 0;
  while (lpString[length]) ++length;
  return length;
}

extern "C" LPWSTR WINAPI lstrcpyW(LPWSTR lpString1, LPCWSTR lpString2) {
  if (!lpString1 || !lpString2) return NULL;
  LPWSTR d = lpString1;
  while ((*d++ = *lpString2++) != 0) {
  }
  return lpString1;
}

// Copies at most iMaxLength - 1 units and always terminates when iMaxLength
// is at least 1; with iMaxLength 0 or less nothing is written.
extern "C" LPWSTR WINAPI lstrcpynW(LPWSTR lpString1, LPCWSTR lpString2, int iMaxLength) {
  if (!lpString1 || !lpString2) return NULL;
  if (iMaxLength <= 0) return lpString1;
  int i = 0;
  for (; i < iMaxLength - 1 && lpString2[i]; ++i) lpString1[i] = lpString2[i];
  lpString1[i] = 0;
  return lpString1;
}

extern "C" LPWSTR WINAPI lstrcatW(LPWSTR lpString1, LPCWSTR lpString2) {
  if (!lpString1 || !lpString2) return NULL;
  lstrcpyW(lpString1 + lstrlenW(lpString1), lpString2);
  return lpString1;
}

extern "C" LPWSTR WINAPI CharPrevW(LPCWSTR lpszStart, LPCWSTR lpszCurrent) {
  LPCWSTR p = lpszCurrent > lpszStart ? lpszCurrent - 1 : lpszStart;
  return const_cast<LPWSTR>(p);
}

extern "C" LPWSTR WINAPI CharNextW(LPCWSTR lpsz) {
  if (!lpsz) return NULL;
  return const_cast<LPWSTR>(*lpsz ? lpsz + 1 : lpsz);
}

extern "C" LPWSTR WINAPI CharUpperW(LPWSTR lpsz) { return MapCase(lpsz, wince::text::ToUpper); }

extern "C" LPWSTR WINAPI CharLowerW(LPWSTR lpsz) { return MapCase(lpsz, wince::text::ToLower); }
