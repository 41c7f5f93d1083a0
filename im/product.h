// The product's name as its message boxes show it, shared by every subsystem
// that reports to the user.
#pragma once

#include <windows.h>

namespace tapora {

inline constexpr WCHAR PRODUCT_CAPTION[] = TEXT("Tapora SIP");

}  // namespace tapora
