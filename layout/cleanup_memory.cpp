// CleanupMemory: releases every block of the loaded keyboard. A failed free
// is shown at once and the release goes on; both handles end up 0.
#include "apicalls/api_memory.h"
#include "apicalls/api_ui.h"
#include "layout/keyboard_memory.h"
#include "layout/load_keyboard.h"
#include "layout/records.h"

namespace tapora {

namespace {

void FreeOrReport(DWORD handle, LPCWSTR message) {
  if (api::Free(handle) != 0) api::MessageBoxW(nullptr, message, TEXT("CleanupMemory"), MB_OK);
}

void FreePanel(DWORD panel) {
  BYTE* block = api::Lock(panel);
  if (block != nullptr) {
    DWORD keyCount = ReadU32(block, PANEL_KEY_COUNT);
    for (DWORD k = 0; k < keyCount; ++k) {
      DWORD key = ReadU32(block, PANEL_KEY_ENTRIES + KEY_ENTRY_SIZE * k + KEY_ENTRY_KEY_HANDLE);
      FreeOrReport(key, TEXT("Memory Error, Key Block"));
    }
    api::Unlock(panel);
  }
  FreeOrReport(panel, TEXT("Memory Error, Panel Array Block"));
}

}  // namespace

bool CleanupMemory() {
  if (KeyboardMemory.setHeaderHandle != 0) {
    FreeOrReport(KeyboardMemory.setHeaderHandle, TEXT("Memory Error, PNL Block"));
  }
  KeyboardMemory.setHeaderHandle = 0;
  if (KeyboardMemory.panelArrayHandle == 0) return true;

  BYTE* array = api::Lock(KeyboardMemory.panelArrayHandle);
  if (array != nullptr) {
    for (DWORD i = 0;; ++i) {
      DWORD panel = ReadU32(array, PANEL_ARRAY_ENTRY_SIZE * i);
      if (panel == 0) break;
      FreePanel(panel);
    }
    api::Unlock(KeyboardMemory.panelArrayHandle);
  }
  FreeOrReport(KeyboardMemory.panelArrayHandle, TEXT("Memory Error, Panel Array"));
  KeyboardMemory.panelArrayHandle = 0;
  return true;
}

}  // namespace tapora
