// The platform-call layer for the user interface calls of the keyboard loader.
#pragma once

#include <windows.h>

namespace tapora::api {

int MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type);

}  // namespace tapora::api
