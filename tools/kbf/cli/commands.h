// The kbf tool's commands, callable in-process (the executable's main and
// the tests share them).
//
//   kbf build SOURCE -o FILE.kbf          a container
//   kbf build SOURCE --loose -o FOLDER    loose files, "PNL00001.PNL" and the rest
//   kbf dump KEYBOARD [-o FILE]           the source of a keyboard
//   kbf check KEYBOARD [--tree FOLDER]    load it with the system's loader
//   kbf coverage KEYBOARD|LANGUAGE-FOLDER [--text FILE] [--language TAG] [--json]
//                                         what it can type, and how
//   kbf type KEYBOARD|LANGUAGE-FOLDER TEXT [--script FILE]
//                                         the fewest taps for TEXT, as a tapora-sim script
//
// Exit codes: 0 success, 1 failure (the reason on `err`, or for check the
// system's message on `out`; for coverage and type, characters that cannot be
// typed), 2 usage error (with the usage text on `err`).
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace kbf {

int RunKbf(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// `kbf check`: the result line or the system's message, then the findings.
// With a language tree (the folder that holds KBF.txt and the language
// folders), the keyboard switches are followed into it too.
int RunCheck(const std::string& keyboard, std::ostream& out, std::ostream& err, const std::string& tree = "");

// What an author should know about a keyboard that the loader does not
// refuse: one line per finding, without the "warning: " prefix.
std::vector<std::string> KeyboardFindings(const std::string& keyboard);

}  // namespace kbf
