// The tapora-sim script: one command a line, read and checked whole before
// anything runs, so that a typo on the last line costs no run.
//
//   down X Y | move X Y | up X Y | tap X Y    pen at panel coordinates (may be negative)
//   press LABEL                               tap the key labelled LABEL (rest of the line)
//   wait MS                                   advance the clock, 0..2147483647 ms
//   snapshot FILE.png                         save the panel as a picture
//   hide | show | select | deselect | install | uninstall
//   options [language=NAME] [layout=NAME] [default-language=on|off]
//           [default-layout=on|off] [typematic=on|off] ok|cancel|deactivate
//   expect-text TEXT                          the field must hold TEXT (may be empty)
//
// Lines are numbered from 1, counting every line. A line whose first non-blank
// character is '#' is a comment; blank lines are skipped; blanks are spaces and
// tabs. A trailing carriage return is dropped (scripts edited on Windows) and a
// UTF-8 byte-order mark at the start is skipped. The whole text must be UTF-8
// without NUL bytes.
//
// LABEL and TEXT are the rest of the line after exactly one space. TEXT knows
// three escapes, \n, \t and \\; any other backslash is an error. A NAME is one
// word, or "double quoted" when it has blanks: language="Name With Spaces".
// The options' actions keep the order above, each at most once, and exactly
// one of ok, cancel, deactivate ends the line.
#pragma once

#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace sim {

enum class CommandKind {
  Down,
  Move,
  Up,
  Tap,
  Press,
  Wait,
  Snapshot,
  Hide,
  Show,
  Select,
  Deselect,
  Install,
  Uninstall,
  Options,
  ExpectText,
};

// One step of the options dialog, in the order the dialog is filled in.
struct OptionAction {
  enum class Kind {
    Language,         // name: choose this language
    Layout,           // name: choose this layout
    DefaultLanguage,  // on: the "default language" check box
    DefaultLayout,    // on: the "default layout" check box
    Typematic,        // on: the key-repeat check box
    Ok,
    Cancel,
    Deactivate,  // the dialog loses activation without a button
  };
  Kind kind;
  std::string name;  // Language and Layout, UTF-8
  bool on = false;   // DefaultLanguage, DefaultLayout and Typematic

  bool operator==(const OptionAction&) const = default;
};

struct Command {
  int line = 0;  // 1-based line of the script
  CommandKind kind = CommandKind::Tap;
  int x = 0, y = 0;                     // Down, Move, Up, Tap
  long ms = 0;                          // Wait
  std::string text;                     // Press: the label; Snapshot: the file name (UTF-8)
  std::u16string expected;              // ExpectText, escapes resolved
  std::vector<OptionAction> actions;    // Options, the last one Ok, Cancel or Deactivate
};

struct ScriptError {
  int line = 0;
  std::string message;  // printed as "line N: message"
};

// Returns the commands, or the first error.
std::variant<std::vector<Command>, ScriptError> ParseScript(std::string_view text);

// The command's word as written in a script ("expect-text").
std::string_view CommandName(CommandKind kind);

}  // namespace sim
