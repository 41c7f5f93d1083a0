// The process-wide keyboard selection and the path of the keyboard to load.
// The names start empty in every process; the first BuildKeyboardPath (from
// Select) fills them from the "info" files, writing a missing default back.
#include "language/keyboard_selection.h"

#include "apicalls/api_text.h"
#include "language/info_files.h"
#include "language/language_texts.h"
#include "language/path_names.h"

namespace tapora {

KeyboardSelectionRecord KeyboardSelection;

LPWSTR BuildKeyboardPath() {
  KeyboardSelectionRecord& s = KeyboardSelection;
  if (s.baseFolder[0] == 0 && s.languageName[0] == 0 && s.layoutFile[0] == 0) InitLanguageSelection();
  // A path cut at the buffer's end names no keyboard; the load reports it.
  if (s.languageName[0] != 0) {
    JoinPath(s.keyboardPath, s.baseFolder, s.languageName);
    AppendPathPart(s.keyboardPath, s.layoutFile);
  } else {
    JoinPath(s.keyboardPath, s.baseFolder, s.layoutFile);
  }
  return s.keyboardPath;
}

void InitLanguageSelection() {
  KeyboardSelectionRecord& s = KeyboardSelection;
  api::lstrcpynW(s.baseFolder, BASE_FOLDER, PATH_UNITS);
  if (ReadInfoFile(s.languageName, s.baseFolder)[0] == 0) {
    api::lstrcpynW(s.languageName, DEFAULT_LANGUAGE, PATH_UNITS);
    WriteInfoFile(s.baseFolder, DEFAULT_LANGUAGE);
  }
  // keyboardPath holds the language folder until the path is built.
  JoinPath(s.keyboardPath, s.baseFolder, s.languageName);
  if (ReadInfoFile(s.layoutFile, s.keyboardPath)[0] == 0) {
    api::lstrcpynW(s.layoutFile, DEFAULT_LAYOUT, PATH_UNITS);
    WriteInfoFile(s.keyboardPath, DEFAULT_LAYOUT);
  }
}

}  // namespace tapora
