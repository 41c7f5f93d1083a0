// The few Windows CE declarations that a desktop Windows SDK lacks, so that the
// system's sources also build against the desktop headers. The host's headers
// declare all of these already.
#pragma once

#include <windows.h>

#ifdef WINCE_HOST
#include <ce_setup.h>
#else
extern "C" {
// Windows CE's LocalAlloc with the caller's line and source file for tracing.
HLOCAL WINAPI LocalAllocTrace(UINT uFlags, UINT uBytes, UINT dwLineNum, PCHAR szFilename);

// The cabinet installer's setup-hook interface.
typedef enum { codeINSTALL_INIT_CONTINUE = 0, codeINSTALL_INIT_CANCEL } codeINSTALL_INIT;
typedef enum { codeINSTALL_EXIT_DONE = 0, codeINSTALL_EXIT_UNINSTALL } codeINSTALL_EXIT;
typedef enum { codeUNINSTALL_INIT_CONTINUE = 0, codeUNINSTALL_INIT_CANCEL } codeUNINSTALL_INIT;
typedef enum { codeUNINSTALL_EXIT_DONE = 0 } codeUNINSTALL_EXIT;
}
#endif
