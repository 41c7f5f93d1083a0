// Which text a key produces under each latched state, per key type group.
#include "tests/input/scenario_driver.h"
#include "tests/input/test_keyboards.h"

namespace input_test {
namespace {

class OutputSelection : public ScenarioTest {};

TEST_F(OutputSelection, CapsLockActsLikeShiftOnlyOnCapsAffectedTypes) {
  RunScenarios(CommonKeyboard(), {
      {"type 33 plain", "a", {"char 'a' flags 0x80"}},
      {"type 33 shifted", "Shift a",
       {"key 16 down", "char 'A' flags 0x80"}},
      {"type 33 caps", "Caps a", {"char 'A' flags 0x80"}},
      // Caps and Shift cancel; Shift is one-shot, Caps stays on.
      {"type 33 caps and shift", "Caps Shift a a",
       {"key 16 down", "char 'a' flags 0x80", "char 'A' flags 0x80", "key 16 up"}},
      {"type 1 ignores caps", "Caps 1", {"char '1' flags 0x80"}},
      {"type 1 shifted under caps", "Caps Shift 1", {"key 16 down", "char '!' flags 0x80"}},
      {"type 49 caps", "Caps e", {"char 'E' flags 0x80"}},
      {"type 49 caps and shift", "Caps Shift e", {"key 16 down", "char 'e' flags 0x80"}},
      {"type 17 ignores caps", "Caps q", {"char 'q' flags 0x80"}},
      {"type 34 caps takes shiftLabel", "Caps x", {"char 'X' flags 0x80"}},
      {"type 34 plain takes output", "x", {"char 'x' flags 0x80"}},
      {"type 34 caps and shift", "Caps Shift x", {"key 16 down", "char 'x' flags 0x80"}},
      {"type 34 caps, empty shiftLabel falls back to output", "Caps y", {"string \"yy\""}},
      {"type 18 ignores caps", "Caps word", {"string \"hello\""}},
  });
}

TEST_F(OutputSelection, ShiftedTextFallsBackToPlain) {
  RunScenarios(CommonKeyboard(), {
      {"type 1 with empty shiftLabel sends its label", "Shift b",
       {"key 16 down", "char 'b' flags 0x80"}},
      {"type 18 shiftLabel replaces output", "Shift word",
       {"key 16 down", "string \"HELLO\""}},
      {"type 34 with empty shiftLabel sends its output", "Shift y",
       {"key 16 down", "string \"yy\""}},
  });
}

TEST_F(OutputSelection, AltGrTakesItsOwnCharacterWithoutFallback) {
  RunScenarios(CommonKeyboard(), {
      {"per-state AltGr", "AltGr q", {"char '@' flags 0x80"}},
      {"per-state AltGr and Shift", "AltGr Shift q",
       {"key 16 down", "char '\u03A9' flags 0x80"}},
      {"AltGr is one-shot", "AltGr q q", {"char '@' flags 0x80", "char 'q' flags 0x80"}},
      // An empty AltGr-and-Shift character sends nothing, not the plain one,
      // and still uses up both one-shot modifiers.
      {"empty AltGr and Shift character", "AltGr Shift e e",
       {"key 16 down", "char 'e' flags 0x80", "key 16 up"}},
      {"other types take output under AltGr", "AltGr 1", {"char '\u00B9' flags 0x80"}},
      {"empty output under AltGr", "AltGr a", {}},
      {"second AltGr tap takes it back", "AltGr AltGr q", {"char 'q' flags 0x80"}},
  });
}

TEST_F(OutputSelection, CapsLockLocksAltGrOut) {
  RunScenarios(CommonKeyboard(), {
      {"AltGr tap does nothing with caps on", "Caps AltGr q e",
       {"char 'q' flags 0x80", "char 'E' flags 0x80"}},
      {"caps drops a latched AltGr", "AltGr Caps q", {"char 'q' flags 0x80"}},
      {"AltGr latches again once caps is off", "Caps AltGr Caps AltGr q",
       {"char '@' flags 0x80"}},
  });
}

TEST_F(OutputSelection, CtrlAndAltDoNotChangeTheChosenText) {
  RunScenarios(CommonKeyboard(), {
      {"ctrl with a multi-unit text", "Ctrl word",
       {"key 17 down", "string \"hello\""}},
      {"alt with a per-state key", "Alt q",
       {"key 18 down", "keyevent 81 flags 0x10000080"}},
  });
}

}  // namespace
}  // namespace input_test
