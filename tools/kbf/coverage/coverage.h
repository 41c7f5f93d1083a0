// What a keyboard covers: every character and special key that some tap
// sequence from the freshly selected keyboard produces, with the shortest such
// sequence (the first tap, in the search's breadth-first order, that types it),
// and the characters of a text or of a language's CLDR exemplar sets that no
// sequence types.
#pragma once

#include <map>
#include <set>
#include <string>

#include "tools/kbf/coverage/tap_graph.h"

namespace kbf::coverage {

struct Coverage {
  std::map<char32_t, const Tap*> characters;     // code point -> the tap that first types it
  std::map<std::string, const Tap*> specialKeys;  // "Enter" -> the tap that first sends it
};

Coverage CoverageOf(const TapGraph& graph);

// The code points of UTF-16 text (a lone surrogate stands for itself).
std::set<char32_t> CodePoints(const std::u16string& text);

// The code points of the text that the coverage lacks. Carriage returns are
// left out: the Enter key types a line break as "\n".
std::set<char32_t> Untypeable(const Coverage& coverage, const std::set<char32_t>& wanted);

// The standard, auxiliary and punctuation exemplar characters of a locale as
// the CLDR data in ICU gives them, with their case mappings; a
// multi-character exemplar gives its characters. Throws std::runtime_error
// for a locale ICU has no exemplar data for.
std::set<char32_t> ExemplarCharacters(const std::string& localeTag);

// "Latin-1 Supplement": the Unicode block of a code point.
std::string BlockName(char32_t c);

}  // namespace kbf::coverage
