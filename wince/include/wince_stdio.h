// The device runtime's wide-character streams, declared for UTF-16 WCHAR. On a
// device these come from <stdio.h> with a 16-bit wchar_t; here they are
// overloads beside the host's own stdio, and the FILE they return is a real
// stdio stream, so fclose, feof and ferror are the standard ones.
//
// Behaviour, as the device's runtime documents it:
// - _wfopen modes "r", "w", "a", each with an optional "+", then "t" (text,
//   the default) or "b" (binary); "c" and "n" (commit flags) are accepted and
//   ignored. Anything else fails with errno EINVAL. Files are opened through
//   CreateFileW on the device folder, shared for reading and writing; a
//   failure leaves CreateFileW's last-error code and sets errno.
// - Text mode: the file holds 8-bit text in the system code page (CP_ACP), no
//   byte-order mark; CR LF on disk reads as LF, LF writes as CR LF, and a
//   Ctrl+Z byte (0x1A) ends the input.
// - Binary mode: the file holds UTF-16LE units, untranslated.
// - fgetws keeps the line feed. fputws returns a non-negative count on
//   success (the units written, as some runtimes do; others answer 0), or
//   WCE_WEOF when it fails (in text mode also for a character the code page
//   cannot represent: errno EILSEQ); the device's WEOF is 0xFFFF, which is
//   not negative, so callers test for that value.
#pragma once

#include <cstdio>

#include "windef.h"

// The device runtime's WEOF: wint_t is a 16-bit unsigned type there.
#define WCE_WEOF 0xFFFF

FILE* _wfopen(const WCHAR* filename, const WCHAR* mode);
WCHAR* fgetws(WCHAR* str, int numChars, FILE* stream);
int fputws(const WCHAR* str, FILE* stream);
