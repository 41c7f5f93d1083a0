// `tapora-sim play`: the selected input method in a desktop window, with the
// focused application's text field beside the keyboard. The mouse is the pen
// (press, drag, hold, release); the right button or the menu key opens the
// options dialog, drawn by the host; closing the window ends the session.
// Typematic repeat runs in real time: the host's clock follows the
// desktop's.
#pragma once

#include <string>

#include "tools/tapora-sim/stand_in.h"

namespace sim::play {

struct Options {
  int scale = 2;
  std::string screenshot;  // a PNG of the window as it last showed, saved on closing
};

// Runs the window until it is closed. 0, or 2 when no window can be opened
// (the reason on standard error).
int Play(StandIn& standIn, const Options& options);

}  // namespace sim::play
