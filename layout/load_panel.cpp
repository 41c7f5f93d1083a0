// LoadPanel: reads one panel record into a block of its own, appends the
// block to the panel array in the panel's own place, and loads its key list.
#include "apicalls/api_memory.h"
#include "layout/keyboard_memory.h"
#include "layout/load_files.h"
#include "layout/load_keyboard.h"
#include "layout/record_reader.h"
#include "layout/records.h"

namespace tapora {

namespace {

// The count of the panel array stops here, so panels 0 to 300 can be
// appended and a 302nd fails.
constexpr DWORD PANEL_COUNT_LIMIT = 300;

// Reads the panel record into a new block; 0 when nothing could be read.
DWORD ReadPanelBlock(HANDLE container, LPCWSTR name) {
  DWORD panel = api::Allocate(LMEM_MOVEABLE | LMEM_ZEROINIT, PANEL_RECORD_SIZE);
  SetProgress(TEXT("Allocating Memory for Panel"));
  if (panel == 0) return 0;
  SetProgress(TEXT("Locking Memory for Panel"));
  BYTE* block = api::Lock(panel);
  if (block == nullptr) {
    ReleaseUnlinked(panel);
    return 0;
  }
  api::Zero(block, PANEL_RECORD_SIZE);
  HANDLE file = AcquireMember(container, name, ProgressText);
  if (container != nullptr && file == nullptr) {
    api::Unlock(panel);
    ReleaseUnlinked(panel);
    return 0;
  }
  SetProgress(name);
  DWORD got = 0;
  bool ok = false;
  if (file != nullptr) {
    ok = ReadRecord(file, block, RecordKind::PanelRecord, &got);
    ReleaseMember(container, file);
  }
  // Key entries are appended after the stored count, so a count other than
  // 0 would leave entries below it that were never written.
  WriteU32(block, PANEL_KEY_COUNT, 0);
  api::Unlock(panel);
  if (!ok || got == 0) {
    ReleaseUnlinked(panel);
    return 0;
  }
  return panel;
}

// Appends the panel block at entry `index` of the panel array; on false the
// block is not linked.
bool AppendPanel(DWORD panel, DWORD index) {
  BYTE* array = api::Lock(KeyboardMemory.panelArrayHandle);
  DWORD count = 0;
  if (array != nullptr) {
    while (count < PANEL_COUNT_LIMIT && ReadU32(array, PANEL_ARRAY_ENTRY_SIZE * count) != 0) ++count;
    api::Unlock(KeyboardMemory.panelArrayHandle);
  }
  SetProgress(TEXT("Panel Array Management"));
  if (array == nullptr || count != index) return false;

  SetProgress(TEXT("Re-Allocating Memory for Panel Array"));
  DWORD grown = api::Reallocate(KeyboardMemory.panelArrayHandle,
                                (count + 1) * PANEL_ARRAY_ENTRY_SIZE + PANEL_ARRAY_ENTRY_SIZE);
  if (grown == 0) return false;
  KeyboardMemory.panelArrayHandle = grown;
  SetProgress(TEXT("Locking Memory After Re-Allocation for Panel Array"));
  array = api::Lock(grown);
  if (array == nullptr) return false;
  WriteU32(array, PANEL_ARRAY_ENTRY_SIZE * index, panel);
  // Growth is not zeroed, so the new end is written explicitly.
  WriteU32(array, PANEL_ARRAY_ENTRY_SIZE * (index + 1), 0);
  api::Unlock(grown);
  return true;
}

}  // namespace

bool LoadPanel(HANDLE container, LPCWSTR name, DWORD index) {
  DWORD panel = ReadPanelBlock(container, name);
  if (panel == 0) return false;
  if (!AppendPanel(panel, index)) {
    ReleaseUnlinked(panel);
    return false;
  }

  SetProgress(TEXT("Locking Memory for Panel 2"));
  BYTE* block = api::Lock(panel);
  if (block == nullptr) return false;
  WCHAR keyListName[NAME_UNITS];
  ReadNameField(block + PANEL_KEY_LIST_NAME, keyListName, NAME_UNITS);
  api::Unlock(panel);
  SetProgress(keyListName);
  return LoadKeyList(container, keyListName, index);
}

}  // namespace tapora
