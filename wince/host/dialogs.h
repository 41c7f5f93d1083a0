// Test and tool hooks of the host's modal dialogs: the user in front of the
// screen while a dialog runs, and reading back what its controls hold.
//
// A test queues the user's actions before the dialog opens. Whenever a
// modal loop has nothing to do (no posted, input, paint or due timer
// message), it shows its dialog the first time, then runs the next action
// on its dialog, and goes on with whatever the action caused. An action
// that cannot be done (no control with that id, no item with that text)
// writes a line on stderr, ends the dialog with -1 and drops the actions
// after it. When no action is left and the host's idle handler
// (wince::host::SetIdleHandler) supplies nothing either, nothing could ever
// happen again: the loop writes a line on stderr and ends the dialog with
// -1 rather than wait for ever. Time does not pass inside a modal loop
// unless an action lets it (UserDoes with wince::host::AdvanceClock).
//
// Message boxes need no action: MessageBoxW is recorded and answered at
// once (wince/host/message_box.h), and a box owned by a dialog does not take
// the activation from it.
#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include <windows.h>

namespace wince::host {

// A tap in the middle of the control with this id (a pen-down and a pen-up
// there, as input): a button is clicked, an automatic check box toggles,
// and the dialog hears BN_CLICKED. What the tap lands on is what lies there
// (a hidden control is not hit; a disabled one eats the tap).
void UserClick(int controlId);
// Picks the combo box item with exactly this text, as a tap on the box and
// then on the item would: the box takes the focus and the dialog hears
// CBN_DROPDOWN, CBN_SELENDOK, CBN_CLOSEUP and CBN_SELCHANGE. A disabled box
// ignores it.
void UserChoose(int controlId, std::u16string text);
// Another program's window takes the activation: the dialog gets
// WM_ACTIVATE(WA_INACTIVE, NULL) and loses the focus.
void UserActivateAnotherWindow();
// Anything else: a look at the dialog, a check, a snapshot.
void UserDoes(std::function<void(HWND dialog)> step);

void ClearUserActions();
size_t PendingUserActions();

// The items of a combo box, in list order (read with CB_GETCOUNT and
// CB_GETLBTEXT).
std::vector<std::u16string> ComboItems(HWND combo);

// Saves a window as the screen shows it, frame and caption included (unlike
// SaveWindowPng, which saves the client area), as PNG.
bool SaveWindowWithFramePng(HWND hwnd, const std::filesystem::path& file);

}  // namespace wince::host
