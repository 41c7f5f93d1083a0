// The device runtime's wide-character helpers, declared for UTF-16 WCHAR (on a
// real device these come from <stdlib.h> and <wchar.h> with a 16-bit wchar_t).
#pragma once

#include "windef.h"

long _wtol(const WCHAR* str);
int _wtoi(const WCHAR* str);
