// Planning the fewest taps that type a text from the freshly selected
// keyboard, over the explored taps, and writing the plan as a tapora-sim
// script that a person can run to watch it type.
#pragma once

#include <string>
#include <vector>

#include "tools/kbf/coverage/tap_graph.h"

namespace kbf::coverage {

struct Plan {
  bool found = false;
  std::vector<const Tap*> taps;
};

// A shortest sequence of followed taps whose typed texts, one after another,
// make up `text` exactly. Not found when there is none (a character the
// keyboard cannot type, or the search's bound cut it off).
Plan PlanText(const TapGraph& graph, const std::u16string& text);

// The script: the options dialog choosing the keyboard (language and layout,
// when it lies in a language folder), one `tap X Y` line per tap with a
// comment naming the key, and `expect-text` with the text.
std::string SimScript(const TapGraph& graph, const Plan& plan, const std::u16string& text);

// "Shift (row 4, key 1)"; a keyboard switch is written "[123] (row 4, key 1)".
std::string DescribeTap(const Tap& tap);
// The taps joined by ", ", with " then " after a keyboard switch.
std::string DescribeTaps(const std::vector<const Tap*>& taps);

}  // namespace kbf::coverage
