// A `tapora-sim play` session without its window: the stand-in's panel and
// text field laid out at a scale, pointer input in window pixels turned into
// the stand-in's pen commands (or into pen input on an open dialog), real
// time handed to the virtual clock, and the frame to show. The window code
// (play_window.cpp) only feeds it events and shows its frames.
//
// The pointer is the pen. A press on the panel is a pen-down there, and the
// pen stays with the panel until it is lifted, wherever it is dragged (the
// panel captures it); a press on the text field does nothing. While the
// options dialog runs, presses on it are pen input on the dialog, a press on
// the text field activates another application's window (the dialog closes
// as on the device), and the panel, whose SIP window the dialog disables,
// takes nothing.
#pragma once

#include <functional>
#include <optional>

#include <windows.h>

#include "tools/tapora-sim/play_dialog.h"
#include "tools/tapora-sim/play_frame.h"
#include "tools/tapora-sim/stand_in.h"

namespace sim::play {

class Session {
 public:
  Session(StandIn& standIn, int scale);
  ~Session();
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  Layout CurrentLayout() const;
  Pixels Frame() const;

  void PointerDown(int x, int y);
  void PointerMove(int x, int y);
  void PointerUp(int x, int y);
  bool PenIsDown() const { return pen_ != Pen::Up; }
  // Lets real time pass on the host's clock (held while a dialog runs).
  void Elapse(DWORD milliseconds);

  // Runs the options dialog as the SIP manager asks for it. Whenever the
  // dialog waits for the person, `waitForUser` is called: it shows the frame
  // and hands the pointer to this session. Nothing happens while the pen is
  // down on the panel or a dialog is already open.
  void RunOptions(const std::function<void()>& waitForUser);
  bool InDialog() const { return dialog_.has_value(); }
  // The person goes away from an open dialog (the window closes): another
  // window takes the activation and the dialog ends as on the device.
  void LeaveDialog();

 private:
  enum class Pen { Up, Panel, Dialog };

  // The panel window while it shows, else null.
  HWND Panel() const;
  void PenCommand(CommandKind kind, int x, int y);
  void NoticeDialog();

  StandIn& standIn_;
  int scale_;
  std::optional<DialogUser> dialog_;
  Pen pen_ = Pen::Up;
  bool leaving_ = false;
};

}  // namespace sim::play
