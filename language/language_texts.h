// The fixed names of the language tree and the texts of the messages that
// reading and writing its files shows. Each text lives here only; the options
// dialog uses the same ones.
#pragma once

#include <windows.h>

namespace tapora {

// The root of the language tree, the only fixed path.
inline constexpr WCHAR BASE_FOLDER[] = TEXT("\\Program Files\\Tapora SIP");
inline constexpr WCHAR INFO_FILE_NAME[] = TEXT("info");
inline constexpr WCHAR KBF_MAP_FILE_NAME[] = TEXT("KBF.txt");
inline constexpr WCHAR LAYOUT_EXTENSION[] = TEXT(".kbf");

// What a missing or empty "info" file stands for.
inline constexpr WCHAR DEFAULT_LANGUAGE[] = TEXT("Keyboard");
inline constexpr WCHAR DEFAULT_LAYOUT[] = TEXT("keyboard.kbf");

inline constexpr WCHAR MISSING_INFO_TEXT[] = TEXT("Missing \"info\" file");
inline constexpr WCHAR MISSING_INFO_CAPTION[] = TEXT("Error Loading File");
inline constexpr WCHAR KBF_MAP_UNOPENED_TEXT[] = TEXT("The KBF mapping file could not be openned");
inline constexpr WCHAR KBF_ENTRY_MISSING_TEXT[] = TEXT("The KBF Specified could not be found");

}  // namespace tapora
