// The planner and the script it writes (see planner.h).
#include "tools/kbf/coverage/planner.h"

#include <algorithm>
#include <cstdint>
#include <deque>
#include <sstream>

#include "wince/host/text.h"

namespace kbf::coverage {

namespace {

constexpr int64_t UNSEEN = -2;
constexpr int64_t START = -1;

// A name for the options dialog: one word, or double quoted.
std::string OptionName(const std::string& name) {
  return name.find_first_of(" \t") == std::string::npos ? name : "\"" + name + "\"";
}

std::string EscapeText(const std::u16string& text) {
  std::string escaped;
  for (char16_t u : text) {
    if (u == u'\\') escaped += "\\\\";
    else if (u == u'\n') escaped += "\\n";
    else if (u == u'\t') escaped += "\\t";
    else escaped += wince::host::Utf8(std::u16string(1, u));
  }
  return escaped;
}

}  // namespace

Plan PlanText(const TapGraph& graph, const std::u16string& text) {
  Plan plan;
  const size_t width = text.size() + 1;
  const size_t nodes = graph.states.size() * width;
  std::vector<std::vector<size_t>> out(graph.states.size());
  for (size_t i = 0; i < graph.taps.size(); ++i) {
    if (graph.taps[i].to != NO_STATE) out[graph.taps[i].from].push_back(i);
  }
  // Breadth first over (state, units typed so far); each node keeps the tap
  // that reached it, and the node before follows from that tap.
  std::vector<int64_t> reachedBy(nodes, UNSEEN);
  std::deque<size_t> queue;
  reachedBy[0] = START;
  queue.push_back(0);
  size_t goal = nodes;
  while (!queue.empty() && goal == nodes) {
    const size_t node = queue.front();
    queue.pop_front();
    const size_t state = node / width;
    const size_t at = node % width;
    if (at == text.size()) {
      goal = node;
      break;
    }
    for (size_t t : out[state]) {
      const Tap& tap = graph.taps[t];
      if (text.compare(at, tap.typed.size(), tap.typed) != 0) continue;
      const size_t next = tap.to * width + at + tap.typed.size();
      if (reachedBy[next] != UNSEEN) continue;
      reachedBy[next] = static_cast<int64_t>(t);
      queue.push_back(next);
    }
  }
  if (goal == nodes) return plan;
  plan.found = true;
  for (size_t node = goal; reachedBy[node] != START;) {
    const Tap& tap = graph.taps[static_cast<size_t>(reachedBy[node])];
    plan.taps.push_back(&tap);
    node = tap.from * width + node % width - tap.typed.size();
  }
  std::reverse(plan.taps.begin(), plan.taps.end());
  return plan;
}

std::string DescribeTap(const Tap& tap) {
  const std::string label = tap.switches ? "[" + tap.label + "]" : tap.label;
  return label + " (row " + std::to_string(tap.row) + ", key " + std::to_string(tap.column) + ")";
}

std::string DescribeTaps(const std::vector<const Tap*>& taps) {
  std::string text;
  for (size_t i = 0; i < taps.size(); ++i) {
    if (i > 0) text += taps[i - 1]->switches ? " then " : ", ";
    text += DescribeTap(*taps[i]);
  }
  return text;
}

std::string SimScript(const TapGraph& graph, const Plan& plan, const std::u16string& text) {
  const InputSnapshot& start = graph.states[0].snapshot;
  std::ostringstream script;
  script << "# " << plan.taps.size() << " taps on " << start.KeyboardName() << " type \""
         << EscapeText(text) << "\".\n";
  if (!start.languageName.empty()) {
    // The keyboard as a fresh selection of its language and layout shows it.
    std::u16string layout = start.layoutFile;
    if (layout.size() >= 4) layout.resize(layout.size() - 4);
    script << "options language=" << OptionName(wince::host::Utf8(start.languageName))
           << " layout=" << OptionName(wince::host::Utf8(layout)) << " ok\n";
  }
  for (const Tap* tap : plan.taps) {
    std::string comment = DescribeTap(*tap);
    if (tap->switches) comment += ", switches the keyboard";
    else if (!tap->typed.empty()) comment += ": \"" + EscapeText(tap->typed) + "\"";
    script << "# " << comment << "\n";
    script << "tap " << tap->x << " " << tap->y << "\n";
  }
  script << "expect-text " << EscapeText(text) << "\n";
  return script.str();
}

}  // namespace kbf::coverage
