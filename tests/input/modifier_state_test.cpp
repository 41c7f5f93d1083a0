// Modifier keys: which keys are modifiers, how taps latch and unlatch them,
// and the modifier keys pressed and released towards the application.
#include "input/modifier_state.h"

#include "im/input_method_state.h"
#include "input/held_modifiers.h"
#include "input/shift_state.h"
#include "tests/input/scenario_driver.h"
#include "tests/input/test_keyboards.h"

namespace input_test {
namespace {

int KindOfOutput(std::u16string_view output) {
  return tapora::GetModifierKind(kbf::MakeKey(20, 20, TYPE_UTF16, u"", output).Encode().data());
}

TEST(ModifierKind, OnlyAWholeExactOutputNamesAModifier) {
  EXPECT_EQ(KindOfOutput(u"[Caps]"), tapora::KIND_CAPS);
  EXPECT_EQ(KindOfOutput(u"[Shift-Down]"), tapora::KIND_SHIFT);
  EXPECT_EQ(KindOfOutput(u"[Ctrl-Down]"), tapora::KIND_CTRL);
  EXPECT_EQ(KindOfOutput(u"[Alt-Down]"), tapora::KIND_ALT);
  EXPECT_EQ(KindOfOutput(u"[AltGr-Down]"), tapora::KIND_ALTGR);
  EXPECT_EQ(KindOfOutput(u"[Caps] "), 0);
  EXPECT_EQ(KindOfOutput(u"[caps]"), 0);
  EXPECT_EQ(KindOfOutput(u"[Caps"), 0);
  EXPECT_EQ(KindOfOutput(u"[Shift-Down]x"), 0);
  EXPECT_EQ(KindOfOutput(u""), 0);
}

TEST(ModifierKind, AFullOutputFieldIsReadOnlyToItsEnd) {
  // 16 units and no terminator, and no zero byte after the field either: a
  // reader that ran on would leave the record's 71 bytes (and the sanitizer
  // build would stop it).
  kbf::KeyRecord key = kbf::MakeKey(20, 20, TYPE_UTF16, u"", u"[Shift-Down]    ");
  key.SetColours(0x41, 0x41, 0x41, 0x41);
  std::vector<uint8_t> bytes = key.Encode();
  EXPECT_EQ(tapora::GetModifierKind(bytes.data()), 0);
}

class ModifierState : public ScenarioTest {};

TEST_F(ModifierState, OneShotModifiersArePressedAroundTheNextOutput) {
  RunScenarios(CommonKeyboard(), {
      {"shift twice", "Shift Shift", {"key 16 down", "key 16 up"}},
      {"shift is released after the next tap's own output", "Shift a b",
       {"key 16 down", "char 'A' flags 0x80", "char 'b' flags 0x80", "key 16 up"}},
      {"caps drops a latched shift in the same tap", "Shift Caps a",
       {"key 16 down", "key 16 up", "char 'A' flags 0x80"}},
      {"ctrl letter is an upper-cased virtual key", "Ctrl a",
       {"key 17 down", "keyevent 65 flags 0x40000080"}},
      {"ctrl and alt apply to one letter", "Ctrl Alt a 1",
       {"key 17 down", "key 18 down", "keyevent 65 flags 0x50000080", "char '1' flags 0x80",
        "key 17 up", "key 18 up"}},
      {"ctrl upper-cases beyond ASCII", "Ctrl eacute",
       {"key 17 down", "keyevent 201 flags 0x40000080"}},
      {"an abandoned tap still releases", "Ctrl a slide:b",
       {"key 17 down", "keyevent 65 flags 0x40000080", "key 17 up"}},
      {"an abandoned tap keeps the latch", "Shift slide:a a",
       {"key 16 down", "char 'A' flags 0x80"}},
      {"alt with a multi-unit text", "Alt word space",
       {"key 18 down", "string \"hello\"", "char ' ' flags 0x80", "key 18 up"}},
  });
}

TEST_F(ModifierState, NearMissesOfModifierNamesAreOrdinaryText) {
  RunScenarios(CommonKeyboard(), {
      {"modifier name with more text", "ShiftText a",
       {"string \"[Shift-Down]x\"", "char 'a' flags 0x80"}},
      {"caps with a blank", "CapsBlank a", {"string \"[Caps] \"", "char 'a' flags 0x80"}},
      {"lower-case caps", "capsLower a", {"string \"[caps]\"", "char 'a' flags 0x80"}},
  });
}

TEST_F(ModifierState, HidingReleasesWhatWasSentButKeepsTheLatches) {
  RunScenarios(CommonKeyboard(), {
      {"ctrl pressed again by the next tap", "Ctrl hide a",
       {"key 17 down", "key 17 up", "key 17 down", "keyevent 65 flags 0x40000080"}},
      {"shift then alt", "Shift Alt hide", {"key 16 down", "key 18 down", "key 16 up", "key 18 up"}},
      {"nothing latched", "a hide", {"char 'a' flags 0x80"}},
      {"a shift already used up", "Shift a hide b",
       {"key 16 down", "char 'A' flags 0x80", "key 16 up", "char 'b' flags 0x80"}},
      // The repeats copy the cleared latch into SentShiftState while Shift is
      // still held towards the application: hiding must release it all the same.
      {"hidden while a key repeats after a used-up shift", "Shift a down:b wait:700 hide up:b",
       {"key 16 down", "char 'A' flags 0x80", "string \"b\"", "string \"b\"", "key 16 up",
        "char 'b' flags 0x80"}},
  });
}

TEST_F(ModifierState, LatchedStateAfterTaps) {
  Load(CommonKeyboard());
  Run("Caps Shift a");
  EXPECT_EQ(tapora::ShiftState, tapora::SS_CAPS);
  Run("Ctrl Alt");
  EXPECT_EQ(tapora::ShiftState, tapora::SS_CAPS | tapora::SS_CTRL | tapora::SS_ALT);
  EXPECT_EQ(tapora::PreviousShiftState, tapora::SS_CAPS | tapora::SS_CTRL);
  Run("AltGr");
  EXPECT_EQ(tapora::ShiftState, tapora::SS_CAPS | tapora::SS_CTRL | tapora::SS_ALT);
  Run("q");
  EXPECT_EQ(tapora::ShiftState, tapora::SS_CAPS);
  Run("Caps");
  EXPECT_EQ(tapora::ShiftState, 0);
}

TEST_F(ModifierState, AKeyboardLoadClearsTheLatchesButNotTheHeldKeys) {
  Load(CommonKeyboard());
  Run("Shift Ctrl");
  Reload();
  EXPECT_EQ(tapora::ShiftState, 0);
  EXPECT_EQ(tapora::ShiftHeld, 1);
  EXPECT_EQ(Run("a"), Lines({"char 'a' flags 0x80", "key 16 up", "key 17 up"}));
}

TEST_F(ModifierState, EventsWithoutACallbackStillKeepTheHeldKeysRight) {
  Load(CommonKeyboard());
  tapora::InputMethodState.callback = nullptr;
  Run("Shift a");
  EXPECT_EQ(tapora::ShiftHeld, 1);
  tapora::InputMethodState.callback = &callback_;
  EXPECT_EQ(Run("b"), Lines({"char 'b' flags 0x80", "key 16 up"}));
  tapora::InputMethodState.callback = nullptr;
  Run("Alt");
  tapora::ReleaseHeldModifiers();
  EXPECT_EQ(tapora::AltHeld, 0);
  EXPECT_EQ(tapora::SentShiftState & tapora::SS_ALT, 0);
}

}  // namespace
}  // namespace input_test
