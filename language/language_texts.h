// The fixed names of the language tree and the texts of the messages that
// reading and writing its files and the options dialog show. Each text lives
// here only.
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

// The options dialog. Its boxes say "Error" unless a caption is given here.
inline constexpr WCHAR ALL_ENTRIES_PATTERN[] = TEXT("*.*");
inline constexpr WCHAR OPTIONS_ERROR_CAPTION[] = TEXT("Error");
inline constexpr WCHAR SELECT_LANGUAGE_TEXT[] = TEXT("Please Select a Language from the Input Panel");
inline constexpr WCHAR NO_COMBO_BOX_TEXT[] = TEXT("Could not create the combo box");
inline constexpr WCHAR NO_COMBO_BOX_CAPTION[] = TEXT("Failed Control Creation");
inline constexpr WCHAR PATH_NOT_FOUND_CAPTION[] = TEXT("Path Not Found");  // the text is the path
inline constexpr WCHAR NO_LANGUAGES_TEXT[] = TEXT("No Languages Found");
inline constexpr WCHAR LANGUAGE_NOT_FOUND_TEXT[] = TEXT("Current Language Not Found");
inline constexpr WCHAR NO_LAYOUTS_TEXT[] = TEXT("No Layouts Found");
inline constexpr WCHAR LAYOUT_NOT_FOUND_TEXT[] = TEXT("Current Language Format Not Found");

}  // namespace tapora
