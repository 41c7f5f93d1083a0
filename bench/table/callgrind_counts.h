// Instructions per operation under valgrind's callgrind, the figure that does
// not move with the machine's load. The program runs itself under callgrind
// in a child mode that counts only the operations: collection is off at
// start, switched on around each row's batch and dumped under the row's id
// (client requests), so setup, warm-up and the other rows cost nothing.
// Heavy rows get a child of their own, and the children run side by side.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace bench {

// The child: the rows named (ids separated by commas), each batch counted
// and dumped. Returns the exit code.
int RunRowsForCallgrind(const std::string& ids);

// The parent: runs `self` under callgrind for these rows and reads the dumps.
// Returns instructions per operation by row id; rows that could not be
// measured are missing, and `problem` says why.
std::map<std::string, uint64_t> InstructionsPerOperation(const std::string& self,
                                                         const std::vector<std::string>& ids,
                                                         std::string* problem);

}  // namespace bench
