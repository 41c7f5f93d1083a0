// The fixed paths the installer hooks guard and the messages they show.
#pragma once

#include <windows.h>

namespace tapora_setup {

inline constexpr WCHAR LIBRARY_PATH[] = TEXT("\\WINDOWS\\tapora.dll");
inline constexpr WCHAR TEMPORARY_COPY_PATH[] = TEXT("\\WINDOWS\\tmptapora.dll");
inline constexpr WCHAR PRODUCT_FOLDER[] = TEXT("\\Program Files\\Tapora SIP");

inline constexpr WCHAR INSTALL_TEXT[] = TEXT("Before installing please reset your device.");
inline constexpr WCHAR INSTALL_CAPTION[] = TEXT("Install");
inline constexpr WCHAR UNINSTALL_TEXT[] = TEXT("Before uninstalling please reset your device.");
inline constexpr WCHAR UNINSTALL_CAPTION[] = TEXT("Uninstall");

}  // namespace tapora_setup
