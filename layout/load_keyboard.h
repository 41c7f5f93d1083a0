// Loading a keyboard into KeyboardMemory and releasing it. LoadKeyboard is the
// one way a keyboard gets into memory; ResetKeyboard (also called by Deselect)
// releases it. The steps are declared here as well so that tests can reach
// them.
//
//   no keyboard --LoadKeyboard--> loaded (both handles not 0)
//   loaded      --LoadKeyboard--> released, then loaded again or partial
//   any         --ResetKeyboard--> no keyboard, ShiftState 0
//
// A failed load shows one message ending with ProgressText, the step it was
// in. What a failed load had linked into KeyboardMemory stays there until the
// next ResetKeyboard; blocks it had not linked are released at once.
#pragma once

#include <windows.h>

#include "layout/record_reader.h"

namespace tapora {

constexpr int SET_FOLDER_UNITS = 272;

// The step the load is in (or the file it reads), with the member lookup's
// trail; ends the failure message.
extern WCHAR ProgressText[PROGRESS_TEXT_UNITS];

// The folder of the loose panel-set file, up to and including its last
// backslash; empty for a container.
extern WCHAR SetFolder[SET_FOLDER_UNITS];

// path: a buffer of 260 units, rewritten to "<folder>\PNL00001.PNL" when the
// second attempt runs; it does not run when that name would not fit. On success the window size is written (height = panel
// 0's height, width = its width + 2); on failure neither is.
bool LoadKeyboard(WCHAR* path, LONG* windowHeight, LONG* windowWidth);

// ShiftState = 0, then CleanupMemory.
void ResetKeyboard();

// Releases every block of the loaded keyboard and clears both handles. A
// failed free is reported in a message box and the release goes on. Always
// true.
bool CleanupMemory();

enum LoadMode { ContainerMode = 1, PlainMode = 2 };

// A container handle of nullptr means loose files in SetFolder.
bool LoadPanelSet(LoadMode mode, LPCWSTR path);
bool ReadPanelSet(HANDLE container, LPCWSTR name);
bool LoadPanel(HANDLE container, LPCWSTR name, DWORD index);
bool LoadKeyList(HANDLE container, LPCWSTR name, DWORD index);
bool LoadKey(HANDLE container, LPCWSTR name, WORD x, WORD y, DWORD index);

// ProgressText = text, or appended to it; both cut at the buffer's end.
void SetProgress(LPCWSTR text);
void AppendProgress(LPCWSTR text);

}  // namespace tapora
