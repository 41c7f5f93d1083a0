// The Win32-shaped API of the host, under its usual name.
#pragma once

#include "windef.h"
#include "winerror.h"
#include "winbase.h"
#include "winnls.h"
#include "winuser.h"
#include "wingdi.h"
#include "winreg.h"
#include "libloaderapi.h"
#include "wince_crt.h"
#include "objbase.h"
#include "wince_stdio.h"
