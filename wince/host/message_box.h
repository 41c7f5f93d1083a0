// Test and tool hooks of MessageBoxW: every box is recorded and answered at once.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include <windows.h>

namespace wince::host {

struct MessageBoxRecord {
  HWND owner;
  std::u16string text;
  std::u16string caption;  // as shown: a NULL caption shows as "Error"
  UINT type;
};

// Every message box since the last ClearMessageBoxes, oldest first.
const std::vector<MessageBoxRecord>& MessageBoxes();
void ClearMessageBoxes();

// The answer every later box returns. 0 restores the default: the box's first
// button (IDOK for MB_OK and MB_OKCANCEL, IDYES for MB_YESNO, ...).
void SetMessageBoxAnswer(int answer);

// Also writes "[caption] text" to stderr for each box (off by default).
void SetMessageBoxEcho(bool toStderr);

// Called with each box as it is shown, before it is answered (a tool's log
// keeps the boxes in order with everything else). Empty to clear.
void SetMessageBoxObserver(std::function<void(const MessageBoxRecord&)> observer);

}  // namespace wince::host
