// The working state of one load: the progress text that ends the failure
// message, and the folder of a loose panel set. Both are process-wide and
// used only on the input method's thread.
#include "apicalls/api_text.h"
#include "layout/load_keyboard.h"

namespace tapora {

WCHAR ProgressText[PROGRESS_TEXT_UNITS] = {0};
WCHAR SetFolder[SET_FOLDER_UNITS] = {0};

void SetProgress(LPCWSTR text) {
  ProgressText[0] = 0;
  api::AppendBounded(ProgressText, text, PROGRESS_TEXT_UNITS);
}

void AppendProgress(LPCWSTR text) { api::AppendBounded(ProgressText, text, PROGRESS_TEXT_UNITS); }

}  // namespace tapora
