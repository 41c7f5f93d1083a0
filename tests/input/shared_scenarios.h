// The input scenarios that the host and the Windows build under Wine both run
// (shared_scenarios.txt): read into keyboards, their keys' places and the
// scenarios with their expected events. Standard C++ only, so that both the
// host's tests and the Windows harness include it.
#pragma once

#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace shared_scenarios {

struct Place {
  int x = 0;
  int y = 0;
};

struct Scenario {
  std::string name;
  std::string steps;
  std::vector<std::string> expected;
};

struct KeyboardScenarios {
  std::string language;
  std::string layout;
  std::map<std::string, Place> keys;
  std::vector<Scenario> scenarios;
};

// One step, with the key it names resolved.
struct Step {
  enum Kind { TAP, HOLD, SLIDE, HIDE } kind = TAP;
  Place at;
  int repeats = 0;
};

inline std::string Trim(const std::string& text) {
  const size_t first = text.find_first_not_of(" \t\r");
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

// Every keyboard of the file, in order; a line that fits no form is an error
// (the text of *error names it).
inline std::vector<KeyboardScenarios> Read(const std::string& path, std::string* error) {
  std::vector<KeyboardScenarios> all;
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    *error = "cannot read " + path;
    return all;
  }
  std::string line;
  int number = 0;
  while (std::getline(file, line)) {
    ++number;
    line = Trim(line);
    if (line.empty() || line[0] == '#') continue;
    std::istringstream words(line);
    std::string first;
    words >> first;
    if (first == "keyboard") {
      all.emplace_back();
      words >> all.back().language >> all.back().layout;
      continue;
    }
    const size_t arrow = line.find("=>");
    const size_t colon = line.find(": ");
    if (!all.empty() && first == "key") {
      std::string name, place;
      words >> name >> place;
      const size_t comma = place.find(',');
      if (comma != std::string::npos) {
        all.back().keys[name] = Place{std::stoi(place.substr(0, comma)),
                                      std::stoi(place.substr(comma + 1))};
        continue;
      }
    } else if (!all.empty() && arrow != std::string::npos && colon != std::string::npos &&
               colon < arrow) {
      Scenario scenario;
      scenario.name = line.substr(0, colon);
      scenario.steps = Trim(line.substr(colon + 2, arrow - colon - 2));
      std::istringstream events(line.substr(arrow + 2));
      for (std::string event; std::getline(events, event, '|');) {
        if (!Trim(event).empty()) scenario.expected.push_back(Trim(event));
      }
      all.back().scenarios.push_back(std::move(scenario));
      continue;
    }
    *error = path + ":" + std::to_string(number) + ": not a keyboard, key or scenario line";
    return {};
  }
  return all;
}

// The steps of a scenario with their keys' places; false (and *error) for a
// step that names no key of the keyboard.
inline bool ParseSteps(const KeyboardScenarios& keyboard, const std::string& steps,
                       std::vector<Step>* parsed, std::string* error) {
  std::istringstream words(steps);
  for (std::string word; words >> word;) {
    Step step;
    std::string name = word;
    if (word == "hide") {
      step.kind = Step::HIDE;
      parsed->push_back(step);
      continue;
    }
    if (word.rfind("hold:", 0) == 0) {
      const size_t colon = word.rfind(':');
      step.kind = Step::HOLD;
      name = word.substr(5, colon - 5);
      step.repeats = std::stoi(word.substr(colon + 1));
    } else if (word.rfind("slide:", 0) == 0) {
      step.kind = Step::SLIDE;
      name = word.substr(6);
    }
    const auto found = keyboard.keys.find(name);
    if (found == keyboard.keys.end()) {
      *error = "no key named " + name;
      return false;
    }
    step.at = found->second;
    parsed->push_back(step);
  }
  return true;
}

}  // namespace shared_scenarios
