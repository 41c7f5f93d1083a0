// The scenario driver (see scenario_driver.h).
#include "tests/input/scenario_driver.h"

#include <unistd.h>

#include <sstream>
#include <system_error>

#include "im/input_method_state.h"
#include "im/panel_window.h"
#include "input/dead_keys.h"
#include "input/held_modifiers.h"
#include "input/hit_test.h"
#include "input/key_output.h"
#include "input/modifier_state.h"
#include "input/shift_state.h"
#include "input/tap_handling.h"
#include "language/keyboard_selection.h"
#include "layout/keyboard_memory.h"
#include "layout/load_keyboard.h"
#include "tools/kbf/coverage/input_snapshot.h"
#include "wince/host/device.h"
#include "wince/host/message_box.h"
#include "wince/host/windows.h"

namespace input_test {

namespace {

constexpr uint16_t KEY_SIZE = 20;
constexpr int KEYS_PER_ROW = 10;
constexpr char16_t KEYBOARD_FILE[] = u"\\input.kbf";
// How long a hand takes: pen-down to pen-up, one tap to the next, pen moves.
constexpr DWORD TAP_MS = 50;
constexpr DWORD BETWEEN_TAPS_MS = 150;
constexpr DWORD MOVE_MS = 90;
// Outside the window, above and left of it: a captured pen there arrives as
// large unsigned coordinates.
constexpr POINT OUTSIDE = {-10, -10};

std::pair<std::string, int> NameAndCount(const std::string& word, size_t at) {
  const size_t colon = word.find(':', at);
  if (colon == std::string::npos) return {word.substr(at), 1};
  return {word.substr(at, colon - at), std::stoi(word.substr(colon + 1))};
}

}  // namespace

// Every input variable back to its value at library load, as kbf coverage
// starts each search.
void ScenarioTest::ResetAllInputState() { kbf::coverage::ResetInputToStart(); }

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
  wince::host::ResetWindows();
  wince::host::ClearMessageBoxes();
  ResetAllInputState();
  tapora::KeyboardSelection = tapora::KeyboardSelectionRecord{};
  tapora::InputMethodState.callback = &callback_;
  sipWindow_ = wince::host::CreateScreen(SIP_WINDOW_WIDTH, SIP_WINDOW_HEIGHT);
  panel_ = nullptr;
  ASSERT_NE(tapora::RegisterPanelWindowClass(), 0);
}

void ScenarioTest::TearDown() {
  tapora::ResetKeyboard();
  wince::host::ResetWindows();
  tapora::InputMethodState = tapora::InputMethodStateRecord{};
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

// The first load creates the panel window at the keyboard's size, as
// selecting the input method does; later loads leave the window as it is.
bool ScenarioTest::LoadPath(const char16_t* devicePath) {
  std::u16string path(devicePath);
  path.resize(MAX_PATH - 1);
  std::copy(path.begin(), path.end(), keyboardPath_);
  keyboardPath_[MAX_PATH - 1] = 0;
  tapora::KeyboardSelection.windowHeight = 10;
  tapora::KeyboardSelection.windowWidth = 10;
  const bool loaded = tapora::LoadKeyboard(keyboardPath_, &tapora::KeyboardSelection.windowHeight,
                                           &tapora::KeyboardSelection.windowWidth);
  if (panel_ == nullptr) {
    panel_ = tapora::CreatePanelWindow(sipWindow_);
    EXPECT_NE(panel_, nullptr);
  }
  // Shows the keyboard now loaded, not what the last scenario left.
  InvalidateRect(panel_, nullptr, TRUE);
  wince::host::PumpMessages();
  return loaded;
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

POINT ScenarioTest::Middle(const std::string& name) const {
  auto found = names_.find(name);
  if (found == names_.end()) {
    ADD_FAILURE() << "no key named " << name;
    return OUTSIDE;
  }
  const DWORD panel = tapora::PanelHandle(found->second.panel);
  tapora::PanelPlace place{};
  tapora::KeyEntry entry{};
  tapora::KeyShape key{};
  EXPECT_TRUE(tapora::ReadPanelPlace(panel, &place) &&
              tapora::ReadKeyEntry(panel, found->second.index, &entry) &&
              tapora::ReadKeyShape(entry.keyHandle, &key))
      << "key " << name << " is not in the loaded keyboard";
  return POINT{place.left + entry.x + key.width / 2, place.top + entry.y + key.height / 2};
}

void ScenarioTest::PenDownAt(POINT point) {
  ASSERT_TRUE(wince::host::PenDown(panel_, point.x, point.y));
  wince::host::PumpMessages();
}

void ScenarioTest::PenMoveAt(POINT point) {
  ASSERT_TRUE(wince::host::PenMove(panel_, point.x, point.y));
  wince::host::PumpMessages();
}

// Every pen-up ends its tap: no capture may outlive it.
void ScenarioTest::PenUpAt(POINT point) {
  ASSERT_TRUE(wince::host::PenUp(panel_, point.x, point.y));
  wince::host::PumpMessages();
  EXPECT_EQ(GetCapture(), nullptr) << "the pen is still captured after its pen-up";
}

void ScenarioTest::Wait(DWORD milliseconds) { wince::host::AdvanceClock(milliseconds); }

void ScenarioTest::Tap(const std::string& name) {
  const POINT middle = Middle(name);
  PenDownAt(middle);
  Wait(TAP_MS);
  PenUpAt(middle);
  Wait(BETWEEN_TAPS_MS);
}

POINT ScenarioTest::PointOf(const std::string& place) const {
  const size_t comma = place.find(',');
  if (comma == std::string::npos) return Middle(place);
  return POINT{std::stoi(place.substr(0, comma)), std::stoi(place.substr(comma + 1))};
}

bool ScenarioTest::ScreenMatchesKeys() {
  const std::optional<RECT> area = wince::host::ClientAreaOnSurface(panel_);
  if (!area) return false;
  auto pixels = [&] {
    std::vector<COLORREF> all;
    for (LONG y = 0; y < area->bottom - area->top; ++y)
      for (LONG x = 0; x < area->right - area->left; ++x)
        all.push_back(wince::host::WindowPixel(panel_, x, y));
    return all;
  };
  const std::vector<COLORREF> shown = pixels();
  InvalidateRect(panel_, nullptr, TRUE);
  UpdateWindow(panel_);
  return pixels() == shown;
}

bool ScenarioTest::RunPenStep(const std::string& word) {
  const size_t colon = word.find(':');
  if (colon == std::string::npos) return false;
  const std::string verb = word.substr(0, colon);
  const std::string rest = word.substr(colon + 1);
  if (verb == "hold") {
    // The sixth tick repeats first, then every tick does.
    const auto [name, repeats] = NameAndCount(word, colon + 1);
    const POINT middle = Middle(name);
    PenDownAt(middle);
    Wait((tapora::REPEAT_DELAY_TICKS + repeats) * tapora::REPEAT_TIMER_PERIOD);
    PenUpAt(middle);
    Wait(BETWEEN_TAPS_MS);
  } else if (verb == "slide") {
    PenDownAt(Middle(rest));
    Wait(TAP_MS);
    PenUpAt(OUTSIDE);
    Wait(BETWEEN_TAPS_MS);
  } else if (verb == "down") {
    PenDownAt(PointOf(rest));
  } else if (verb == "move") {
    PenMoveAt(PointOf(rest));
  } else if (verb == "moves") {
    const auto [name, count] = NameAndCount(word, colon + 1);
    for (int i = 0; i < count; ++i) {
      Wait(MOVE_MS);
      PenMoveAt(Middle(name));
    }
  } else if (verb == "up") {
    PenUpAt(PointOf(rest));
  } else if (verb == "wait") {
    Wait(static_cast<DWORD>(std::stoul(rest)));
  } else {
    return false;
  }
  return true;
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
    } else if (!RunPenStep(word)) {
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
