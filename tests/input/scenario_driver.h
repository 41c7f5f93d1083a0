// The scenario driver: a keyboard described in the test and built with the
// writer, loaded with LoadKeyboard from a temporary device folder into the
// input panel window, which sits in a host SIP window. Taps are real pen
// messages at the middle of the named key, through the window procedure, hit
// testing and the redraws, with the virtual clock moving as a hand would:
// 50 ms from pen-down to pen-up, 150 ms between taps.
//
// A scenario's steps are words:
//   NAME           taps the key
//   hold:NAME:N    presses it, holds it until N repeats went out, lifts it
//   slide:NAME     presses it and lifts the pen outside the window (abandoned)
//   down:PLACE     pen-down at PLACE: a key's name (its middle) or X,Y in
//                  client pixels; up:PLACE and move:PLACE lift or move it there
//   wait:MS        lets MS milliseconds pass with the pen as it is
//   moves:NAME:N   N pen moves on the key, 90 ms apart
//   hide           releases the held modifiers as Hiding does
//   reload         loads the keyboard again
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include <windows.h>

#include "tests/input/recording_callback.h"
#include "tools/kbf/writer/kbf_writer.h"

namespace input_test {

// Key types used by the tests.
constexpr uint8_t TYPE_LABEL = 1;           // plain text from the 8-bit label
constexpr uint8_t TYPE_STATE_CHARS = 17;    // per-state characters, Caps ignored
constexpr uint8_t TYPE_UTF16 = 18;          // UTF-16 labels, output field
constexpr uint8_t TYPE_DEAD = 19;           // per-state characters, dead key
constexpr uint8_t TYPE_CAPS_LABEL = 33;     // label text, Caps acts like Shift
constexpr uint8_t TYPE_CAPS_OUTPUT = 34;    // output text, Caps acts like Shift
constexpr uint8_t TYPE_CAPS_STATE_CHARS = 49;

// A key whose texts are 8-bit label and shiftLabel (types 1, 33, ...).
kbf::KeyRecord LabelKey(uint8_t type, std::string_view label, std::string_view shiftLabel = "",
                        std::u16string_view output = u"");
// A key of type 18 (or another UTF-16 type) with the given output and labels.
kbf::KeyRecord OutputKey(std::u16string_view output, uint8_t type = TYPE_UTF16,
                         std::u16string_view label = u"", std::u16string_view shiftLabel = u"");
// A per-state character key (17, 19 or 49): plain, Shift, AltGr, AltGr+Shift.
kbf::KeyRecord StateKey(uint8_t type, char16_t plain, char16_t shift = 0, char16_t altGr = 0,
                        char16_t altGrShift = 0);

// Where a named key lies in the loaded keyboard.
struct KeyRef {
  DWORD panel;
  DWORD index;
};
using KeyNames = std::map<std::string, KeyRef>;

// Names for every placement of a model: its key file's name without ".KEY".
KeyNames NamesFromKeyFiles(const kbf::Keyboard& model);

// One panel of named keys, in the order added.
class TestKeyboard {
 public:
  TestKeyboard& Add(const std::string& name, const kbf::KeyRecord& key);
  kbf::Keyboard& Model() { return model_; }
  const kbf::Keyboard& Model() const { return model_; }
  // Where each named key lies.
  const KeyNames& Names() const { return index_; }
  // The key file name that the model keeps the key under.
  const std::string& FileOf(const std::string& name) const { return files_.at(name); }

 private:
  kbf::Keyboard model_;
  KeyNames index_;
  std::map<std::string, std::string> files_;
};

// A scenario as data: its steps and the exact calls they make, in order.
struct Scenario {
  const char* name;
  const char* steps;
  std::vector<std::string> expected;
};

// Fixture: a fresh device folder, input state at its start values, the
// recording callback registered.
class ScenarioTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Builds the container, loads it; fails the test when the load fails.
  void Load(const TestKeyboard& keyboard);
  void Load(const kbf::Keyboard& model, const KeyNames& names);
  void Reload();
  bool LoadPath(const char16_t* devicePath);

  // The loaded key record of a named key (a copy out of its block).
  std::vector<BYTE> Record(const std::string& name) const;
  // The middle of a named key, in the panel window's client pixels.
  POINT Middle(const std::string& name) const;
  // "X,Y" in client pixels, or the middle of the key so named.
  POINT PointOf(const std::string& place) const;

  void PenDownAt(POINT point);
  void PenMoveAt(POINT point);
  void PenUpAt(POINT point);
  void Wait(DWORD milliseconds);
  void Tap(const std::string& name);
  static void ResetAllInputState();
  // True when the window shows every key as its down byte says: what it shows
  // is compared with a fresh paint of the keyboard.
  bool ScreenMatchesKeys();

  // Runs the steps and returns the calls they made (the record is emptied first).
  std::vector<std::string> Run(const std::string& steps);

  // Each scenario from the start state, on the keyboard loaded afresh.
  void RunScenarios(const TestKeyboard& keyboard, const std::vector<Scenario>& scenarios);

  // A step of Run other than a tap; false when the word is none.
  bool RunPenStep(const std::string& word);

  RecordingCallback callback_;
  std::filesystem::path deviceFolder_;
  KeyNames names_;
  WCHAR keyboardPath_[MAX_PATH] = {};
  HWND sipWindow_ = nullptr;
  HWND panel_ = nullptr;
};

// The panel window's size on the screen: the SIP window is the host screen, and
// the panel sits at its start place in it.
constexpr int SIP_WINDOW_WIDTH = 240;
constexpr int SIP_WINDOW_HEIGHT = 400;

std::vector<std::string> Lines(std::initializer_list<const char*> lines);

}  // namespace input_test
