// The scenarios both platforms run (tests/input/shared_scenarios.txt), here
// against the Windows build: each from a freshly loaded library, selected on
// the keyboard that the "info" files name, driven through the real panel.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>

#include "tests/input/shared_scenarios.h"
#include "tests/win32/sip_manager.h"

namespace wine_test {
namespace {

using shared_scenarios::Step;

void WriteInfo(const std::wstring& folder, const std::string& name) {
  std::ofstream(std::filesystem::path(folder + L"\\info"), std::ios::binary | std::ios::trunc) << name;
}

std::wstring Wide(const std::string& text) { return std::wstring(text.begin(), text.end()); }

std::vector<std::string> RunScenario(const shared_scenarios::KeyboardScenarios& keyboard,
                             const std::vector<Step>& steps) {
  const std::wstring tree = L"C:\\Program Files\\Tapora SIP";
  WriteInfo(tree, keyboard.language);
  WriteInfo(tree + L"\\" + Wide(keyboard.language), keyboard.layout);
  SelectedInputMethod im;
  EXPECT_TRUE(im.ok());
  if (!im.ok()) return {};
  im.events.calls.clear();
  for (const Step& step : steps) {
    switch (step.kind) {
      case Step::TAP:
        im.Tap(step.at.x, step.at.y);
        break;
      case Step::HOLD:
        // The sixth tick repeats first, then every tick does.
        im.Down(step.at.x, step.at.y);
        for (int tick = 0; tick < 5 + step.repeats; ++tick) im.Tick();
        im.Up(step.at.x, step.at.y);
        break;
      case Step::SLIDE:
        im.Down(step.at.x, step.at.y);
        im.Up(-10, -10);
        break;
      case Step::HIDE:
        im.method()->Hiding();
        break;
    }
  }
  return im.events.calls;
}

TEST(SharedScenarios, BundledKeyboardsSendTheTablesEvents) {
  ASSERT_TRUE(InstallProduct());
  ASSERT_EQ(RegisterInstalledServer(), S_OK);
  MessageBoxCatcher boxes;
  std::string error;
  std::string path = "Z:" TAPORA_SHARED_SCENARIOS;
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  const auto keyboards = shared_scenarios::Read(path, &error);
  ASSERT_FALSE(keyboards.empty()) << error;
  for (const auto& keyboard : keyboards) {
    for (const auto& scenario : keyboard.scenarios) {
      SCOPED_TRACE(keyboard.language + ": " + scenario.name);
      std::vector<Step> steps;
      ASSERT_TRUE(shared_scenarios::ParseSteps(keyboard, scenario.steps, &steps, &error)) << error;
      EXPECT_EQ(RunScenario(keyboard, steps), scenario.expected) << "steps: " << scenario.steps;
    }
  }
  EXPECT_TRUE(boxes.boxes.empty());
  ASSERT_TRUE(InstallProduct());
}

}  // namespace
}  // namespace wine_test
