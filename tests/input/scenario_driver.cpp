// The scenario driver (see scenario_driver.h).
#include "tests/input/scenario_driver.h"

#include <unistd.h>

#include <sstream>
#include <system_error>

#include "im/input_method_state.h"
#include "input/dead_keys.h"
#include "input/held_modifiers.h"
#include "input/key_output.h"
#include "input/modifier_state.h"
#include "input/output_selection.h"
#include "input/shift_state.h"
#include "layout/keyboard_memory.h"
#include "layout/load_keyboard.h"
#include "wince/host/device.h"

namespace input_test {

namespace {

constexpr uint16_t KEY_SIZE = 20;
constexpr int KEYS_PER_ROW = 10;
constexpr char16_t KEYBOARD_FILE[] = u"\\input.kbf";

}  // namespace

void ScenarioTest::ResetAllInputState() {
  tapora::ShiftState = 0;
  tapora::PreviousShiftState = 0;
  tapora::SentShiftState = 0;
  tapora::ShiftHeld = 0;
  tapora::CtrlHeld = 0;
  tapora::AltHeld = 0;
  tapora::ModifierKind = 0;
  tapora::CharKeyFlags = 0;
  tapora::CharCell = 0;
  tapora::DropDeadKeyWait();
  tapora::DeadKeyShiftState = 0;
}

std::vector<std::string> Lines(std::initializer_list<const char*> lines) {
  return std::vector<std::string>(lines.begin(), lines.end());
}

kbf::KeyRecord LabelKey(uint8_t type, std::string_view label, std::string_view shiftLabel,
                        std::u16string_view output) {
  kbf::KeyRecord key = kbf::MakeKey(KEY_SIZE, KEY_SIZE, type, u"", output);
  key.SetLabel8(label);
  key.SetShiftLabel8(shiftLabel);
  return key;
}

kbf::KeyRecord OutputKey(std::u16string_view output, uint8_t type, std::u16string_view label,
                         std::u16string_view shiftLabel) {
  kbf::KeyRecord key = kbf::MakeKey(KEY_SIZE, KEY_SIZE, type, u"", output);
  key.SetLabel(label);
  key.SetShiftLabel(shiftLabel);
  return key;
}

kbf::KeyRecord StateKey(uint8_t type, char16_t plain, char16_t shift, char16_t altGr,
                        char16_t altGrShift) {
  kbf::KeyRecord key = kbf::MakeKey(KEY_SIZE, KEY_SIZE, type, u"");
  key.SetStateChar(kbf::KeyState::Plain, plain);
  key.SetStateChar(kbf::KeyState::Shift, shift);
  key.SetStateChar(kbf::KeyState::AltGr, altGr);
  key.SetStateChar(kbf::KeyState::AltGrShift, altGrShift);
  return key;
}

KeyNames NamesFromKeyFiles(const kbf::Keyboard& model) {
  KeyNames names;
  for (size_t p = 0; p < model.panels.size(); ++p) {
    const std::vector<kbf::Placement>& placements = model.panels[p].placements;
    for (size_t i = 0; i < placements.size(); ++i) {
      std::string name = placements[i].keyFile;
      const size_t dot = name.rfind(".KEY");
      if (dot != std::string::npos) name.erase(dot);
      names[name] = KeyRef{static_cast<DWORD>(p), static_cast<DWORD>(i)};
    }
  }
  return names;
}

TestKeyboard& TestKeyboard::Add(const std::string& name, const kbf::KeyRecord& key) {
  if (model_.panels.empty()) {
    kbf::Panel panel;
    panel.record.width = KEY_SIZE * KEYS_PER_ROW + 4;
    panel.record.height = KEY_SIZE * 8 + 4;
    model_.panels.push_back(panel);
  }
  kbf::Panel& panel = model_.panels[0];
  const int index = static_cast<int>(panel.placements.size());
  const std::string file = kbf::AddKey(model_, key);
  panel.placements.push_back({file, static_cast<uint16_t>(2 + KEY_SIZE * (index % KEYS_PER_ROW)),
                              static_cast<uint16_t>(2 + KEY_SIZE * (index / KEYS_PER_ROW))});
  index_[name] = KeyRef{0, static_cast<DWORD>(index)};
  files_[name] = file;
  return *this;
}

void ScenarioTest::SetUp() {
  static int folderNumber = 0;
  deviceFolder_ = std::filesystem::temp_directory_path() /
                  ("input_tests_" + std::to_string(getpid()) + "_" + std::to_string(++folderNumber));
  std::filesystem::create_directories(deviceFolder_);
  wince::host::SetDeviceFolder(deviceFolder_);
  ResetAllInputState();
  tapora::InputMethodState.callback = &callback_;
}

void ScenarioTest::TearDown() {
  tapora::ResetKeyboard();
  tapora::InputMethodState.callback = nullptr;
  ResetAllInputState();
  std::error_code ignored;
  std::filesystem::remove_all(deviceFolder_, ignored);
}

void ScenarioTest::Load(const TestKeyboard& keyboard) { Load(keyboard.Model(), keyboard.Names()); }

void ScenarioTest::Load(const kbf::Keyboard& model, const KeyNames& names) {
  kbf::WriteFileBytes(deviceFolder_ / "input.kbf", kbf::WriteContainer(kbf::Members(model)));
  names_ = names;
  ASSERT_TRUE(LoadPath(KEYBOARD_FILE));
}

bool ScenarioTest::LoadPath(const char16_t* devicePath) {
  std::u16string path(devicePath);
  path.resize(MAX_PATH - 1);
  std::copy(path.begin(), path.end(), keyboardPath_);
  keyboardPath_[MAX_PATH - 1] = 0;
  LONG height = 0;
  LONG width = 0;
  return tapora::LoadKeyboard(keyboardPath_, &height, &width);
}

void ScenarioTest::Reload() { ASSERT_TRUE(LoadPath(KEYBOARD_FILE)); }

std::vector<BYTE> ScenarioTest::Record(const std::string& name) const {
  auto found = names_.find(name);
  EXPECT_NE(found, names_.end()) << "no key named " << name;
  if (found == names_.end()) return {};
  tapora::KeyEntry entry{};
  EXPECT_TRUE(tapora::ReadKeyEntry(tapora::PanelHandle(found->second.panel), found->second.index, &entry));
  std::vector<BYTE> record(tapora::KEY_RECORD_SIZE);
  EXPECT_TRUE(tapora::ReadKeyRecord(entry.keyHandle, record.data()));
  return record;
}

void ScenarioTest::PenDown(const std::string& name) {
  tapora::ModifierKind = 0;
  pressed_ = Record(name);
  pressOutput_[0] = 0;
  if (!pressed_.empty()) tapora::SelectKeyOutput(pressed_.data(), pressOutput_);
}

void ScenarioTest::Repeat(int times) {
  for (int i = 0; i < times; ++i) tapora::RepeatKeyOutput(pressOutput_);
}

void ScenarioTest::PenUp(bool sameKey) {
  releaseOutput_[0] = 0;
  const bool counted = sameKey && !pressed_.empty();
  if (counted) {
    // The record is a copy that dies with this tap, as a caller's may.
    std::vector<BYTE> key = pressed_;
    tapora::ModifierKind = tapora::GetModifierKind(key.data());
    tapora::ToggleModifier();
    tapora::SelectKeyOutput(key.data(), releaseOutput_);
    tapora::ApplyDeadKey(key.data(), releaseOutput_);
  }
  pressed_.clear();
  tapora::SentShiftState = tapora::ShiftState;
  if (tapora::IsNumericKeyForm(releaseOutput_)) {
    tapora::SendNumericKeyOutput(releaseOutput_);
    return;
  }
  if (tapora::IsCommandText(releaseOutput_)) return;
  tapora::SendKeyOutput(releaseOutput_);
  constexpr WORD ONE_SHOT =
      tapora::SS_SHIFT | tapora::SS_ALTGR | tapora::SS_ALT | tapora::SS_CTRL;
  if (counted && tapora::ModifierKind == 0 && (tapora::ShiftState & ONE_SHOT) != 0) {
    tapora::ClearOneShotModifiers();
  }
}

void ScenarioTest::Tap(const std::string& name) {
  PenDown(name);
  PenUp(true);
}

std::vector<std::string> ScenarioTest::Run(const std::string& steps) {
  callback_.calls.clear();
  std::istringstream words(steps);
  std::string word;
  while (words >> word) {
    if (word == "hide") {
      tapora::ReleaseHeldModifiers();
    } else if (word == "reload") {
      Reload();
    } else if (word.rfind("hold:", 0) == 0) {
      const size_t colon = word.find(':', 5);
      PenDown(word.substr(5, colon - 5));
      Repeat(colon == std::string::npos ? 1 : std::stoi(word.substr(colon + 1)));
      PenUp(true);
    } else if (word.rfind("slide:", 0) == 0) {
      PenDown(word.substr(6));
      PenUp(false);
    } else {
      Tap(word);
    }
  }
  return callback_.calls;
}

void ScenarioTest::RunScenarios(const TestKeyboard& keyboard,
                                const std::vector<Scenario>& scenarios) {
  for (const Scenario& scenario : scenarios) {
    SCOPED_TRACE(scenario.name);
    ResetAllInputState();
    Load(keyboard);
    EXPECT_EQ(Run(scenario.steps), scenario.expected) << "steps: " << scenario.steps;
  }
}

}  // namespace input_test
