// The kbf tool: keyboard authoring from the command line.
#include <iostream>

#include "tools/kbf/cli/commands.h"

int main(int argc, char** argv) {
  return kbf::RunKbf(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
}
