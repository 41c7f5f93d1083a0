// Everything a keyboard can type, found by letting the system itself run
// every tap: a breadth-first search over its input states (keyboard file,
// latched modifiers, Caps Lock, held keys, a waiting dead key) whose edges are
// taps on the middle of each key, made with real pen messages on the input
// panel window from a restored state. What a tap types is what the focused
// application's text field (the one tapora-sim shows) receives from the
// callback events it sends.
//
// A tap is followed only when it leaves the text as typed so far alone and
// only appends to it, and leaves no Ctrl or Alt held towards the application
// (which would turn the next characters into shortcuts): Back, arrows and
// shortcuts are noted as special keys but lead nowhere.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

#include "tools/kbf/coverage/input_snapshot.h"

namespace kbf::coverage {

constexpr size_t NO_STATE = static_cast<size_t>(-1);

// One tap from one state.
struct Tap {
  size_t from = 0;
  size_t to = NO_STATE;        // NO_STATE when the tap is not followed
  std::string label;           // as the key shows it in `from`, or a readable name
  int row = 0, column = 0;     // 1-based: rows by the keys' top edges, then left to right
  int x = 0, y = 0;            // the tap point, panel window client pixels
  std::u16string typed;        // what it appends to the text
  std::vector<std::string> specialKeys;  // virtual keys it sends, named ("Enter", "Back", ...)
  bool switches = false;       // it loads another keyboard file
};

struct State {
  InputSnapshot snapshot;
  int depth = 0;
  size_t reachedBy = NO_STATE;  // the tap that first reached it; NO_STATE for the start
};

struct TapGraph {
  std::vector<State> states;  // states[0]: the freshly selected keyboard
  std::vector<Tap> taps;      // in the order the search made them
  bool cut = false;           // the search stopped at its state bound
  std::vector<std::string> messages;  // message boxes the system showed, once each

  // The taps from the start state to `state`, in order.
  std::vector<const Tap*> PathTo(size_t state) const;
  // The start's path and then `tap`.
  std::vector<const Tap*> PathThrough(const Tap& tap) const;
};

// Where the explorer's device gets its keyboards from.
struct KeyboardSource {
  std::filesystem::path base;      // the language tree's base folder, or empty
  std::filesystem::path language;  // the language folder
  std::string layoutFile;          // the keyboard file; empty: the language's "info" decides
};

// Names as the device's file system compares them: without regard to case.
std::string Lower(std::string text);
// The entry of `folder` named `name`, or empty.
std::filesystem::path EntryNamed(const std::filesystem::path& folder, const std::string& name);

// KEYBOARD (a .kbf, a loose folder or its PNL00001.PNL) or a LANGUAGE-FOLDER.
// Throws std::runtime_error when it is neither.
KeyboardSource ResolveKeyboard(const std::filesystem::path& argument);

// Runs the search on a private device holding the keyboard's language tree,
// from the keyboard a fresh selection loads. Throws std::runtime_error when
// that keyboard does not load. The host and the system's state are put back
// as they were at library load afterwards.
TapGraph ExploreTaps(const KeyboardSource& source, size_t maxStates = 20000);

}  // namespace kbf::coverage
