// The coverage as an author reads it, grouped by Unicode block, or as JSON,
// one object per character with its taps.
#pragma once

#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "tools/kbf/coverage/coverage.h"

namespace kbf::coverage {

// Characters that some wanted set (a text, a language's exemplars) lacks.
struct MissingSet {
  std::string what;  // "the text", "the CLDR exemplar characters of de"
  std::set<char32_t> characters;
};

// "U+00C9 É" ("U+000A \n" for controls).
std::string DescribeCharacter(char32_t c);

void WriteCoverageText(std::ostream& out, const TapGraph& graph, const Coverage& coverage,
                       const std::vector<MissingSet>& missing);
void WriteCoverageJson(std::ostream& out, const TapGraph& graph, const Coverage& coverage,
                       const std::vector<MissingSet>& missing);

}  // namespace kbf::coverage
