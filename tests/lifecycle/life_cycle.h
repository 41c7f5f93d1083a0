// One life cycle of the product on a fresh device, as the cabinet installer
// and the SIP manager drive it, and the invariants that every run must keep
// whatever platform call fails on the way.
//
// The device starts with the product installed and registered (that part is
// not counted). The counted cycle:
// 1. install again: the setup hooks around copying the product, then
//    DllRegisterServer;
// 2. select: find the input method in the registry, load it, create it,
//    Select, GetInfo, ReceiveSipInfo, Showing;
// 3. taps: Shift, "a", Ctrl, a held "a" that repeats, Alt, then the key that
//    switches to the keyboard file "b.kbf", its "b", its key that switches
//    to entry 1 of "KBF.txt" ("c.kbf"), and its "c";
// 4. options: the language "Other" chosen and marked the default, OK, so
//    the keyboard is reloaded (the panel goes off and on again; showing it,
//    the SIP manager asks for the input method's info again); then "o",
//    Alt, "o" on the new keyboard;
// 5. hide, deselect, release and unload;
// 6. uninstall: the hooks around DllUnregisterServer and removing the files.
//
// The invariants, checked after the run: nothing left behind (heap blocks,
// file and search handles, registry key handles, GDI objects, image lists,
// windows, window classes); no modifier left pressed towards the
// application; the installed library neither lost nor replaced while the
// hooks test it; registry.reg a whole file that parses.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace lifecycle {

struct Outcome {
  std::vector<std::string> broken;  // one line per invariant broken
  std::u16string typed;             // the characters the application received
  bool selected = false;            // Select succeeded
  bool reloaded = false;            // the options dialog asked for a reload
  bool uninstalled = false;         // Uninstall_Init let the removal go on
};

// Runs the cycle once on a fresh device folder; `arm` is called when the
// counted part begins (after wince::host::ResetCallCounts), to arm a fault.
Outcome RunLifeCycle(const std::function<void()>& arm = {});

}  // namespace lifecycle
