// The kbf commands built on the explorer:
//
//   kbf coverage KEYBOARD|LANGUAGE-FOLDER [--text FILE] [--language TAG] [--json]
//   kbf type KEYBOARD|LANGUAGE-FOLDER TEXT [--script FILE]
//
// Exit codes: 0 done; 1 some wanted character cannot be typed (coverage with
// --text or --language, or type); 2 usage error.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace kbf::coverage {

// args: the command's arguments after its name.
int RunCoverage(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int RunType(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace kbf::coverage
