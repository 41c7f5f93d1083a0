// The process-wide state of the input method: the module's instance handles,
// the server's lock count, the panel window, the SIP manager's callback and the
// image lists. Zero at load. The COM frame and the input-method object write it;
// key output reads `callback`, through which every key event is sent.
#pragma once

#include <windows.h>

#include "im/sip_interfaces.h"

namespace tapora {

struct InputMethodStateRecord {
  HINSTANCE moduleInstance;    // set at process attach
  HINSTANCE resourceInstance;  // dialog template and key-face bitmaps come from here
  LONG serverLocks;            // live factories and objects plus LockServer locks
  HWND panelWindow;            // the input panel window; left stale by Deselect
  IIMCallback* callback;       // registered by the SIP manager; no reference of our own
  HIMAGELIST narrowImages;     // 16 by 16, built by the first GetInfo
  HIMAGELIST wideImages;       // 32 by 16, built by the first GetInfo
  PAINTSTRUCT paintInfo;       // the panel window's BeginPaint/EndPaint record
};

extern InputMethodStateRecord InputMethodState;

}  // namespace tapora
