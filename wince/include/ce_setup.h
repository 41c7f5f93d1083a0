// The cabinet installer's setup-hook interface: the four functions a setup
// library exports and the codes they answer with.
#pragma once

#include "windef.h"

extern "C" {

typedef enum { codeINSTALL_INIT_CONTINUE = 0, codeINSTALL_INIT_CANCEL } codeINSTALL_INIT;
typedef enum { codeINSTALL_EXIT_DONE = 0, codeINSTALL_EXIT_UNINSTALL } codeINSTALL_EXIT;
typedef enum { codeUNINSTALL_INIT_CONTINUE = 0, codeUNINSTALL_INIT_CANCEL } codeUNINSTALL_INIT;
typedef enum { codeUNINSTALL_EXIT_DONE = 0 } codeUNINSTALL_EXIT;

codeINSTALL_INIT Install_Init(HWND hwndParent, BOOL fFirstCall, BOOL fPreviouslyInstalled,
                              LPCWSTR pszInstallDir);
codeINSTALL_EXIT Install_Exit(HWND hwndParent, LPCWSTR pszInstallDir, WORD cFailedDirs,
                              WORD cFailedFiles, WORD cFailedRegKeys, WORD cFailedRegVals,
                              WORD cFailedShortcuts);
codeUNINSTALL_INIT Uninstall_Init(HWND hwndParent, LPCWSTR pszInstallDir);
codeUNINSTALL_EXIT Uninstall_Exit(HWND hwndParent);

typedef codeINSTALL_INIT (*pfnINSTALL_INIT)(HWND, BOOL, BOOL, LPCWSTR);
typedef codeINSTALL_EXIT (*pfnINSTALL_EXIT)(HWND, LPCWSTR, WORD, WORD, WORD, WORD, WORD);
typedef codeUNINSTALL_INIT (*pfnUNINSTALL_INIT)(HWND, LPCWSTR);
typedef codeUNINSTALL_EXIT (*pfnUNINSTALL_EXIT)(HWND);

}  // extern "C"
