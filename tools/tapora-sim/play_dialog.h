// The person at a modal dialog in `tapora-sim play`: pen input on the dialog's
// window, and the dialog's picture as the host draws it, frame included.
//
// Taps go to the host as pen input on the dialog, so buttons and check boxes
// work as they do on the device. The host's combo boxes have no list to drop
// under the pen (they are chosen through wince::host::UserChoose), so a tap
// on a combo box drops a list drawn here, on top of the dialog's picture; a
// tap on one of its items chooses it as the host's user would, and a tap
// anywhere else closes it.
#pragma once

#include <string>
#include <vector>

#include <windows.h>

#include "tools/tapora-sim/play_frame.h"

namespace sim::play {

class DialogUser {
 public:
  explicit DialogUser(HWND dialog) : dialog_(dialog) {}

  HWND dialog() const { return dialog_; }
  // The dialog's window, frame included, as a size (left and top 0).
  Box Size() const;
  // Where the client area lies in the window.
  Box ClientArea() const;
  Pixels Picture() const;

  // The pen at (x, y) of the dialog's window, frame included.
  void PenDown(int x, int y);
  void PenMove(int x, int y);
  void PenUp(int x, int y);

 private:
  struct DroppedList {
    HWND combo = nullptr;
    int controlId = 0;
    std::vector<std::u16string> items;
    int selected = -1;
    Box box;  // in the window
    int itemHeight = 1;
  };

  // The topmost visible child under a window point, or null.
  HWND ControlAt(int x, int y) const;
  void Drop(HWND combo);

  HWND dialog_;
  DroppedList list_;
  bool penOnDialog_ = false;  // the host has the pen down on the dialog
};

}  // namespace sim::play
