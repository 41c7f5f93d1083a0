// Dead keys: waiting, composing, the dead key's own character when nothing
// composes, and what ends or keeps a wait.
#include "input/dead_keys.h"

#include "input/shift_state.h"
#include "tests/input/scenario_driver.h"
#include "tests/input/test_keyboards.h"

namespace input_test {
namespace {

class DeadKeys : public ScenarioTest {};

TEST_F(DeadKeys, ComposeWithTheNextKey) {
  RunScenarios(DeadKeyKeyboard(), {
      {"pending sends nothing", "acute", {}},
      {"composed", "acute e", {"char '\u00E9' flags 0x80"}},
      {"another table", "grave a", {"char '\u00E0' flags 0x80"}},
      // Shift between them does not end the wait; the partner is shifted.
      {"shifted partner takes the next unit", "acute Shift e",
       {"key 16 down", "char '\u00C9' flags 0x80"}},
      {"caps counts as shift for the partner", "Caps acute e", {"char '\u00C9' flags 0x80"}},
      {"caps and shift cancel for the partner", "Caps acute Shift e",
       {"key 16 down", "char '\u00E9' flags 0x80"}},
      {"dead on AltGr", "AltGr plus n", {"char '\u00F1' flags 0x80"}},
      {"the wait is used up", "acute e e", {"char '\u00E9' flags 0x80", "char 'e' flags 0x80"}},
  });
}

TEST_F(DeadKeys, WithoutACompositionOnlyTheDeadCharacterIsSent) {
  RunScenarios(DeadKeyKeyboard(), {
      {"space", "acute space", {"char '\u00B4' flags 0x80"}},
      {"a special key is lost", "acute Enter", {"char '\u00B4' flags 0x80"}},
      {"a letter with no table entry", "acute n", {"char '\u00B4' flags 0x80"}},
      {"a table for another dead key", "circ a", {"char '^' flags 0x80"}},
      // Typed with AltGr, the partner's base is its (empty) AltGr character.
      {"partner typed with AltGr", "AltGr plus AltGr o", {"char '~' flags 0x80"}},
  });
}

TEST_F(DeadKeys, TwoDeadKeysInARow) {
  RunScenarios(DeadKeyKeyboard(), {
      {"the first one's character, nothing waits", "acute grave e",
       {"char '\u00B4' flags 0x80", "char 'e' flags 0x80"}},
      {"the same dead key twice", "acute acute", {"char '\u00B4' flags 0x80"}},
  });
}

TEST_F(DeadKeys, ADeadKeyOutsideItsDeadStatesIsAnOrdinaryCharacter) {
  RunScenarios(DeadKeyKeyboard(), {
      {"shifted circumflex", "Shift circ", {"key 16 down", "char '\u00B0' flags 0x80"}},
      {"plus typed plain", "plus n", {"char '+' flags 0x80", "char 'n' flags 0x80"}},
      // A waiting dead key keeps waiting, and keeps the state it was tapped in.
      {"does not disturb a wait", "circ Shift circ e",
       {"key 16 down", "char '\u00B0' flags 0x80", "char '\u00EA' flags 0x80", "key 16 up"}},
  });
}

TEST_F(DeadKeys, ModifiersAbandonedTapsAndRepeatsLeaveTheWait) {
  RunScenarios(DeadKeyKeyboard(), {
      {"abandoned tap", "acute slide:e e", {"char '\u00E9' flags 0x80"}},
      {"hiding the panel", "acute hide e", {"char '\u00E9' flags 0x80"}},
      {"shift on and off again", "acute Shift Shift e",
       {"key 16 down", "key 16 up", "char '\u00E9' flags 0x80"}},
      {"repeats of the partner are not composed", "acute hold:e:2",
       {"string \"e\"", "string \"e\"", "char '\u00E9' flags 0x80"}},
      {"holding the dead key repeats its text and then waits", "hold:acute:2 e",
       {"string \"\u00B4\"", "string \"\u00B4\"", "char '\u00E9' flags 0x80"}},
  });
}

TEST_F(DeadKeys, AKeyboardLoadDropsTheWait) {
  Load(DeadKeyKeyboard());
  Run("acute");
  ASSERT_TRUE(tapora::DeadKeyWaiting());
  Reload();
  EXPECT_FALSE(tapora::DeadKeyWaiting());
  EXPECT_EQ(Run("e"), Lines({"char 'e' flags 0x80"}));
}

// A table entry with index 15 names unit 15 typed plain, and unit 16 (past the
// 16-unit output field) typed shifted.
TEST_F(DeadKeys, IndexFifteenTypedShiftedIsNoComposition) {
  TestKeyboard keyboard;
  kbf::KeyRecord dead = StateKey(TYPE_DEAD, u'\u00A8');
  dead.SetDeadKeyStates(kbf::kStatePlain);
  dead.output[0] = 'u';
  dead.output[1] = 0;
  dead.shiftLabel[0] = 0x1F;  // dead state 1, index 15
  kbf::KeyRecord partner = StateKey(TYPE_CAPS_STATE_CHARS, u'u', u'U');
  partner.output[30] = 0xFC;  // unit 15
  partner.output[31] = 0x00;
  // The byte pair after the field: the face and text colours.
  partner.SetColours(0x55, 0x00, 15, 8);
  keyboard.Add("Shift", OutputKey(u"[Shift-Down]"))
      .Add("diaeresis", dead)
      .Add("u", partner);
  Load(keyboard);
  EXPECT_EQ(Run("diaeresis u"), Lines({"char '\u00FC' flags 0x80"}));
  EXPECT_EQ(Run("diaeresis Shift u"), Lines({"key 16 down", "char '\u00A8' flags 0x80"}));
  EXPECT_FALSE(tapora::DeadKeyWaiting());
}

}  // namespace
}  // namespace input_test
