// Output strings: special keys, the numeric virtual-key form, commands, plain
// text, and what typematic repeat sends again.
#include "tests/input/scenario_driver.h"
#include "tests/input/test_keyboards.h"

namespace input_test {
namespace {

class KeyOutput : public ScenarioTest {};

TEST_F(KeyOutput, SpecialKeysSendOneKeyDown) {
  RunScenarios(CommonKeyboard(), {
      {"enter", "Enter", {"key 13 down"}},
      {"back and delete", "Back Delete", {"key 8 down", "key 46 down"}},
      {"a name with more text after it", "Right+", {"key 39 down"}},
      {"F1 and F10 told apart", "F1 F10 F12", {"key 112 down", "key 121 down", "key 123 down"}},
      {"not a special key", "NumLock", {"string \"[NUMLOCK]\""}},
      {"around held modifiers", "Shift Home b",
       {"key 16 down", "key 36 down", "char 'b' flags 0x80", "key 16 up"}},
  });
}

TEST_F(KeyOutput, TabCarriesWhateverFlagsTheLastCharacterLeft) {
  RunScenarios(CommonKeyboard(), {
      {"before any character", "Tab", {"char U+0009 flags 0x0"}},
      {"after a plain character", "a Tab", {"char 'a' flags 0x80", "char U+0009 flags 0x80"}},
      {"after a ctrl letter", "Ctrl a Tab",
       {"key 17 down", "keyevent 65 flags 0x40000080", "char U+0009 flags 0x40000080",
        "key 17 up"}},
  });
}

TEST_F(KeyOutput, NumericFormSendsTheLowByteDownAndUp) {
  RunScenarios(CommonKeyboard(), {
      {"three digits", "vk013", {"key 13 down", "key 13 up"}},
      {"only the low byte", "vk999", {"key 231 down", "key 231 up"}},
      {"no digits", "vkabc", {"key 0 down", "key 0 up"}},
      {"a leading blank", "vk7", {"key 7 down", "key 7 up"}},
      {"a text that ends early", "vkshort", {"key 6 down", "key 6 up"}},
      // Neither presses nor releases modifiers, nor uses up the latch.
      {"with shift latched", "Shift vk013 a",
       {"key 16 down", "key 13 down", "key 13 up", "char 'A' flags 0x80"}},
  });
}

TEST_F(KeyOutput, CommandsSendNothing) {
  RunScenarios(CommonKeyboard(), {
      {"alone", "cmd", {}},
      {"latch survives a command", "Shift cmd a", {"key 16 down", "char 'A' flags 0x80"}},
  });
}

TEST_F(KeyOutput, PlainTextGoesOutByLength) {
  RunScenarios(CommonKeyboard(), {
      {"one unit", "space", {"char ' ' flags 0x80"}},
      {"more units", "word", {"string \"hello\""}},
      {"one unit outside ASCII", "eacute", {"char '\u00E9' flags 0x80"}},
      // The next letter after a ctrl letter is typed, not a second shortcut,
      // though ctrl is only released after it.
      {"the letter after a ctrl letter", "Ctrl a b",
       {"key 17 down", "keyevent 65 flags 0x40000080", "char 'b' flags 0x80", "key 17 up"}},
  });
}

TEST_F(KeyOutput, TypematicRepeatsOnlyWhatMayRepeat) {
  RunScenarios(CommonKeyboard(), {
      {"a letter repeats as a string", "hold:a:2",
       {"string \"a\"", "string \"a\"", "char 'a' flags 0x80"}},
      {"a word", "hold:word:1", {"string \"hello\"", "string \"hello\""}},
      {"enter", "hold:Enter:2", {"key 13 down", "key 13 down", "key 13 down"}},
      {"tab", "hold:Tab:1", {"char U+0009 flags 0x0", "char U+0009 flags 0x0"}},
      {"home does not repeat", "hold:Home:3", {"key 36 down"}},
      {"F5 does not repeat", "hold:F5:3", {"key 116 down"}},
      {"numlock does not repeat", "hold:NumLock:3", {"string \"[NUMLOCK]\""}},
      {"a modifier key", "hold:Shift:3", {"key 16 down"}},
      {"a command", "hold:cmd:3", {}},
      {"the numeric form", "hold:vk040:2",
       {"key 40 down", "key 40 up", "key 40 down", "key 40 up", "key 40 down", "key 40 up"}},
  });
}

TEST_F(KeyOutput, TypematicNeverPressesOrReleasesModifiers) {
  RunScenarios(CommonKeyboard(), {
      {"held shift", "Shift hold:a:2",
       {"key 16 down", "string \"A\"", "string \"A\"", "char 'A' flags 0x80"}},
      {"latched shift that was released by hiding", "Shift hide hold:a:2",
       {"key 16 down", "key 16 up", "key 16 down", "char 'A' flags 0x80"}},
      // The repeat reuses the flags as it finds them.
      {"held ctrl with one unit", "Ctrl hold:a:2",
       {"key 17 down", "keyevent 65 flags 0x0", "keyevent 65 flags 0x0",
        "keyevent 65 flags 0x40000080"}},
      {"held ctrl with a longer text", "Ctrl hold:word:2", {"key 17 down", "string \"hello\""}},
      {"ctrl used up but still held", "Ctrl a hold:b:1",
       {"key 17 down", "keyevent 65 flags 0x40000080", "string \"b\"", "char 'b' flags 0x80",
        "key 17 up"}},
  });
}

}  // namespace
}  // namespace input_test
