// LoadKeyboard and ResetKeyboard: a load first tries the named file as a
// container, then the loose "PNL00001.PNL" of its folder, and reports a failed
// load in one message that ends with the step it failed in.
#include "layout/load_keyboard.h"

#include "apicalls/api_text.h"
#include "apicalls/api_ui.h"
#include "im/product.h"
#include "input/modifier_state.h"
#include "layout/keyboard_memory.h"
#include "layout/records.h"

namespace tapora {

namespace {

constexpr int PATH_UNITS = 260;
constexpr int LOAD_ERROR_UNITS = 400;

void ShowLoadError() {
  // The fixed lines, then the progress text: 81 + 259 units fit.
  WCHAR message[LOAD_ERROR_UNITS];
  message[0] = 0;
  api::AppendBounded(message, TEXT("Error Allocating Memory or Reading File!\r\nCannot continue...\r\n"),
                     LOAD_ERROR_UNITS);
  api::AppendBounded(message, TEXT("Process reporting: "), LOAD_ERROR_UNITS);
  api::AppendBounded(message, ProgressText, LOAD_ERROR_UNITS);
  api::MessageBoxW(nullptr, message, PRODUCT_CAPTION, MB_OK | MB_ICONEXCLAMATION);
}

// The window size comes from panel 0. A set whose only name was read short
// succeeds without linking one; with nothing to show, that load has failed.
bool FirstPanelPlace(PanelPlace* place) {
  if (KeyboardMemory.setHeaderHandle == 0 || KeyboardMemory.panelArrayHandle == 0) return false;
  return ReadPanelPlace(PanelHandle(0), place);
}

}  // namespace

bool LoadKeyboard(WCHAR* path, LONG* windowHeight, LONG* windowWidth) {
  ResetKeyboard();
  bool loaded = LoadPanelSet(ContainerMode, path);
  if (!loaded) {
    // The second attempt overwrites both handles, so what the first one left
    // is released now rather than lost.
    CleanupMemory();
    WCHAR folder[PATH_UNITS];
    api::lstrcpynW(folder, path, PATH_UNITS);
    api::CutToFolder(folder);
    // A name cut at the buffer's end would open some other file: a panel set
    // whose name does not fit counts as one that cannot be opened.
    if (api::lstrlenW(folder) + api::lstrlenW(PANEL_SET_FILE_NAME) < PATH_UNITS) {
      api::lstrcpynW(path, folder, PATH_UNITS);
      api::AppendBounded(path, PANEL_SET_FILE_NAME, PATH_UNITS);
      loaded = LoadPanelSet(PlainMode, path);
    }
  }
  PanelPlace place;
  if (loaded && FirstPanelPlace(&place)) {
    *windowHeight = place.height;
    *windowWidth = static_cast<LONG>(place.width) + 2;
    return true;
  }
  ShowLoadError();
  return false;
}

void ResetKeyboard() {
  // The modifier word and any waiting dead key refer to the old keyboard.
  ResetInputState();
  CleanupMemory();
}

}  // namespace tapora
