// The few Windows CE declarations that a desktop Windows SDK lacks, so that the
// system's sources also build against the desktop headers. The host's headers
// declare all of these already.
#pragma once

#include <windows.h>

#ifndef WINCE_HOST
extern "C" {
// Windows CE's LocalAlloc with the caller's line and source file for tracing.
HLOCAL WINAPI LocalAllocTrace(UINT uFlags, UINT uBytes, UINT dwLineNum, PCHAR szFilename);
}
#endif
