// The scenarios both platforms run (shared_scenarios.txt), here on the host:
// the bundled language tree on the device, the keyboard chosen through its
// "info" files and loaded as Select loads it, the steps as pen messages.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "language/keyboard_selection.h"
#include "tests/input/scenario_driver.h"
#include "tests/input/shared_scenarios.h"
#include "input/tap_handling.h"

namespace input_test {
namespace {

namespace fs = std::filesystem;
using shared_scenarios::Step;

void WriteInfo(const fs::path& folder, const std::string& name) {
  std::ofstream(folder / "info", std::ios::binary | std::ios::trunc) << name;
}

class SharedScenarios : public ScenarioTest {
 protected:
  // The language tree installed with LANGUAGE and LAYOUT as the defaults, and
  // the keyboard they name loaded from the start state.
  void Select(const shared_scenarios::KeyboardScenarios& keyboard) {
    const fs::path tree = deviceFolder_ / "Program Files" / "Tapora SIP";
    fs::remove_all(tree);
    fs::create_directories(tree);
    fs::copy(BUNDLED_LANGUAGE_TREE, tree, fs::copy_options::recursive);
    WriteInfo(tree, keyboard.language);
    WriteInfo(tree / keyboard.language, keyboard.layout);
    ResetAllInputState();
    tapora::KeyboardSelection = tapora::KeyboardSelectionRecord{};
    ASSERT_TRUE(LoadPath(reinterpret_cast<const char16_t*>(tapora::BuildKeyboardPath())));
  }

  static std::string At(shared_scenarios::Place place) {
    return std::to_string(place.x) + "," + std::to_string(place.y);
  }

  // The steps in the driver's words, timed as it times a hand.
  static std::string Words(const std::vector<Step>& steps) {
    std::string words;
    for (const Step& step : steps) {
      const std::string at = At(step.at);
      switch (step.kind) {
        case Step::TAP:
          words += " down:" + at + " wait:50 up:" + at + " wait:150";
          break;
        case Step::HOLD:
          words += " down:" + at + " wait:" +
                   std::to_string((tapora::REPEAT_DELAY_TICKS + step.repeats) *
                                  tapora::REPEAT_TIMER_PERIOD) +
                   " up:" + at + " wait:150";
          break;
        case Step::SLIDE:
          words += " down:" + at + " wait:50 up:-10,-10 wait:150";
          break;
        case Step::HIDE:
          words += " hide";
          break;
      }
    }
    return words;
  }
};

TEST_F(SharedScenarios, BundledKeyboardsSendTheTablesEvents) {
  std::string error;
  const auto keyboards = shared_scenarios::Read(INPUT_TEST_DATA_DIR "/shared_scenarios.txt", &error);
  ASSERT_FALSE(keyboards.empty()) << error;
  for (const auto& keyboard : keyboards) {
    for (const auto& scenario : keyboard.scenarios) {
      SCOPED_TRACE(keyboard.language + ": " + scenario.name);
      std::vector<Step> steps;
      ASSERT_TRUE(shared_scenarios::ParseSteps(keyboard, scenario.steps, &steps, &error)) << error;
      Select(keyboard);
      EXPECT_EQ(Run(Words(steps)), scenario.expected) << "steps: " << scenario.steps;
    }
  }
}

}  // namespace
}  // namespace input_test
