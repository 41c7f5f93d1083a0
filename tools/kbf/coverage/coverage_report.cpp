// Writing the coverage (see coverage_report.h).
#include "tools/kbf/coverage/coverage_report.h"

#include <cstdio>
#include <map>

#include <nlohmann/json.hpp>

#include "tools/kbf/coverage/planner.h"
#include "wince/host/text.h"

namespace kbf::coverage {

namespace {

std::string Utf8Of(char32_t c) {
  std::u16string units;
  if (c >= 0x10000) {
    units.push_back(static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)));
    units.push_back(static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
  } else {
    units.push_back(static_cast<char16_t>(c));
  }
  return wince::host::Utf8(units);
}

std::string CodeOf(char32_t c) {
  char code[16];
  std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(c));
  return code;
}

std::string Shown(char32_t c) {
  switch (c) {
    case U'\n': return "\\n";
    case U'\t': return "\\t";
    case U' ': return "space";
    default: break;
  }
  if (c < 0x20 || c == 0x7F || (c >= 0xD800 && c <= 0xDFFF)) return "";
  return Utf8Of(c);
}

// The taps, and what the last one types when that is more than the character.
std::string Way(const TapGraph& graph, const Tap& tap, char32_t c) {
  std::string way = DescribeTaps(graph.PathThrough(tap));
  if (c != 0 && CodePoints(tap.typed).size() > 1) {
    way += "  (types \"" + wince::host::Utf8(tap.typed) + "\")";
  }
  return way;
}

nlohmann::json TapsJson(const TapGraph& graph, const Tap& tap) {
  nlohmann::json taps = nlohmann::json::array();
  for (const Tap* step : graph.PathThrough(tap)) {
    taps.push_back({{"label", step->label},
                    {"row", step->row},
                    {"key", step->column},
                    {"x", step->x},
                    {"y", step->y},
                    {"keyboard", graph.states[step->from].snapshot.KeyboardName()},
                    {"switch", step->switches}});
  }
  return taps;
}

}  // namespace

std::string DescribeCharacter(char32_t c) {
  const std::string shown = Shown(c);
  return shown.empty() ? CodeOf(c) : CodeOf(c) + " " + shown;
}

void WriteCoverageText(std::ostream& out, const TapGraph& graph, const Coverage& coverage,
                       const std::vector<MissingSet>& missing) {
  std::map<std::string, std::vector<char32_t>> byBlock;
  for (const auto& [c, tap] : coverage.characters) byBlock[BlockName(c)].push_back(c);
  size_t keyboards = 0;
  {
    std::set<std::string> names;
    for (const State& state : graph.states) names.insert(state.snapshot.KeyboardName());
    keyboards = names.size();
  }
  out << graph.states[0].snapshot.KeyboardName() << ": " << coverage.characters.size()
      << " characters and " << coverage.specialKeys.size() << " special keys, over " << keyboards
      << (keyboards == 1 ? " keyboard" : " keyboards") << " and " << graph.states.size() << " input states\n";
  if (graph.cut) out << "(the search stopped at its bound of states: longer ways are not shown)\n";
  for (const std::string& message : graph.messages) out << "the system said: " << message << "\n";
  for (const auto& [block, characters] : byBlock) {
    out << "\n" << block << " (" << characters.size() << ")\n";
    for (char32_t c : characters) {
      out << "  " << DescribeCharacter(c) << "  " << Way(graph, *coverage.characters.at(c), c) << "\n";
    }
  }
  if (!coverage.specialKeys.empty()) {
    out << "\nSpecial keys (" << coverage.specialKeys.size() << ")\n";
    for (const auto& [name, tap] : coverage.specialKeys) out << "  " << name << "  " << Way(graph, *tap, 0) << "\n";
  }
  for (const MissingSet& set : missing) {
    if (set.characters.empty()) {
      out << "\nEvery character of " << set.what << " can be typed.\n";
      continue;
    }
    out << "\n" << set.characters.size() << " characters of " << set.what << " cannot be typed:\n";
    std::map<std::string, std::string> lines;
    for (char32_t c : set.characters) {
      std::string& line = lines[BlockName(c)];
      line += (line.empty() ? "" : ", ") + DescribeCharacter(c);
    }
    for (const auto& [block, line] : lines) out << "  " << block << ": " << line << "\n";
  }
}

void WriteCoverageJson(std::ostream& out, const TapGraph& graph, const Coverage& coverage,
                       const std::vector<MissingSet>& missing) {
  nlohmann::json characters = nlohmann::json::array();
  for (const auto& [c, tap] : coverage.characters) {
    characters.push_back({{"char", Utf8Of(c)},
                          {"code", CodeOf(c)},
                          {"block", BlockName(c)},
                          {"typed", wince::host::Utf8(tap->typed)},
                          {"taps", TapsJson(graph, *tap)}});
  }
  nlohmann::json specialKeys = nlohmann::json::array();
  for (const auto& [name, tap] : coverage.specialKeys) {
    specialKeys.push_back({{"key", name}, {"taps", TapsJson(graph, *tap)}});
  }
  nlohmann::json document = {{"keyboard", graph.states[0].snapshot.KeyboardName()},
                             {"states", graph.states.size()},
                             {"complete", !graph.cut},
                             {"characters", characters},
                             {"specialKeys", specialKeys}};
  for (const MissingSet& set : missing) {
    nlohmann::json lacking = nlohmann::json::array();
    for (char32_t c : set.characters) {
      lacking.push_back({{"char", Utf8Of(c)}, {"code", CodeOf(c)}, {"block", BlockName(c)}});
    }
    document["missing"].push_back({{"of", set.what}, {"characters", lacking}});
  }
  out << document.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << "\n";
}

}  // namespace kbf::coverage
