// The keyboard-file command (see keyboard_switch.h). The output field holds 16
// units, so after "[CMD:NKBF=" a name has at most 6; longer names are reached
// through the mapping file.
#include "input/keyboard_switch.h"

#include "apicalls/api_text.h"
#include "apicalls/api_window.h"
#include "input/key_text.h"
#include "language/kbf_map.h"
#include "language/keyboard_selection.h"
#include "language/language_texts.h"
#include "language/path_names.h"
#include "layout/load_keyboard.h"

namespace tapora {

namespace {

constexpr int COMMAND_UNITS = 5;   // "[CMD:"
constexpr int ARGUMENT_AT = 10;    // after "[CMD:NKBF="

// Copies the units of text up to `end` (or its terminator) into destination
// (KEY_TEXT_SIZE units).
void CopyUntil(LPWSTR destination, const WCHAR* text, WCHAR end) {
  int n = 0;
  for (; n < KEY_TEXT_UNITS && text[n] != 0 && text[n] != end; ++n) destination[n] = text[n];
  destination[n] = 0;
}

bool LoadIntoSelection(LPWSTR path) {
  return LoadKeyboard(path, &KeyboardSelection.windowHeight, &KeyboardSelection.windowWidth);
}

// "{n}": entry n of the mapping file; the lookup reports its own errors.
bool LoadMappedKeyboard(const WCHAR* argument) {
  WCHAR number[KEY_TEXT_SIZE];
  CopyUntil(number, argument + 1, '}');
  WCHAR path[PATH_UNITS];
  ReadKbfMapEntry(path, KeyboardSelection.baseFolder, static_cast<int>(api::_wtol(number)));
  if (!LoadIntoSelection(path)) return false;
  FileNameOfPath(KeyboardSelection.layoutFile, path);
  LanguageOfPath(KeyboardSelection.languageName, path, KeyboardSelection.baseFolder,
                 KeyboardSelection.layoutFile);
  return true;
}

// "name]": a file of the current language folder below the fixed root.
bool LoadNamedKeyboard(const WCHAR* argument) {
  WCHAR name[KEY_TEXT_SIZE];
  CopyUntil(name, argument, ']');
  WCHAR path[PATH_UNITS];
  api::lstrcpynW(path, BASE_FOLDER, PATH_UNITS);
  // A keyboard with no language lies in the root itself, as the selection
  // builds its path.
  if (KeyboardSelection.languageName[0] != 0 &&
      !AppendPathPart(path, KeyboardSelection.languageName)) {
    return false;
  }
  if (!AppendPathPart(path, name) || !LoadIntoSelection(path)) return false;
  api::lstrcpynW(KeyboardSelection.layoutFile, name, PATH_UNITS);
  return true;
}

}  // namespace

bool IsKeyboardSwitch(const WCHAR* text) {
  return KeyTextStartsWith(text, TEXT("[CMD:")) &&
         KeyTextStartsWith(text + COMMAND_UNITS, TEXT("NKBF="));
}

void SwitchKeyboardFile(HWND window, const WCHAR* text) {
  const WCHAR* argument = text + ARGUMENT_AT;
  const bool loaded =
      argument[0] == '{' ? LoadMappedKeyboard(argument) : LoadNamedKeyboard(argument);
  if (!loaded) LoadIntoSelection(BuildKeyboardPath());
  api::InvalidateRect(window, NULL, TRUE);
  api::UpdateWindow(window);
}

}  // namespace tapora
