// The options dialog's template, built in memory for the tests: OK (1),
// Cancel (2), the sorted drop-down lists 201 and 202 and the automatic check
// boxes 203 to 205, as the library's resource lays them out.
#pragma once

#include <initializer_list>
#include <vector>

#include <windows.h>

namespace language_test {

// Every control except those in leftOut. The vector's storage starts on a
// DWORD boundary, as the template's fields need.
std::vector<WORD> OptionsTemplate(std::initializer_list<int> leftOut = {});

}  // namespace language_test
