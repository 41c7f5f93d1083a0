// Taps through the panel window: what counts as a tap, which keys are drawn
// down afterwards, where panels and keys begin and end, and typematic repeat
// as the window's timer drives it.
#include "input/tap_handling.h"

#include "input/hit_test.h"
#include "input/shift_state.h"
#include "layout/records.h"
#include "tests/input/scenario_driver.h"
#include "tests/input/test_keyboards.h"

namespace input_test {
namespace {

// A tap scenario with the latched state it leaves. Each one ends with the pen
// lifted, no capture, and the window showing every key as its down byte says.
struct TapCase {
  const char* name;
  const char* steps;
  std::vector<std::string> expected;
  WORD shiftState;
  std::vector<const char*> keysDown;
};

class Taps : public ScenarioTest {
 protected:
  void RunTapCases(const TestKeyboard& keyboard, const std::vector<TapCase>& cases) {
    for (const TapCase& c : cases) {
      SCOPED_TRACE(c.name);
      ResetAllInputState();
      Load(keyboard);
      EXPECT_EQ(Run(c.steps), c.expected) << "steps: " << c.steps;
      EXPECT_EQ(tapora::ShiftState, c.shiftState);
      std::vector<std::string> down;
      for (const auto& [name, ref] : keyboard.Names()) {
        if (Record(name)[tapora::KEY_DOWN] != 0) down.push_back(name);
      }
      EXPECT_EQ(down, std::vector<std::string>(c.keysDown.begin(), c.keysDown.end()));
      EXPECT_TRUE(ScreenMatchesKeys()) << "a key is drawn otherwise than its down byte says";
    }
  }
};

TEST_F(Taps, ATapCountsOnlyWhenThePenComesUpOnTheKeyItWentDownOn) {
  RunTapCases(CommonKeyboard(), {
      {"sent at pen-up", "down:a wait:400 up:a", {"char 'a' flags 0x80"}, 0, {}},
      {"slid to another key", "down:a move:b up:b", {}, 0, {}},
      {"lifted outside the window", "down:a move:-10,-10 up:-10,-10", {}, 0, {}},
      {"lifted on the panel's first row", "down:a up:12,0", {}, 0, {}},
      // (12, 150) lies below the keys, inside the panel.
      {"pen-down on no key", "down:12,150 up:a", {}, 0, {}},
      // The held-key step still runs for an abandoned tap; the latch stays.
      {"slid off with Shift latched", "Shift down:a up:b", {"key 16 down"}, tapora::SS_SHIFT,
       {"Shift"}},
      {"a latched Shift is found down and tapped off", "Shift Shift",
       {"key 16 down", "key 16 up"}, 0, {}},
      {"Caps stays latched and drawn down", "Caps a", {"char 'A' flags 0x80"}, tapora::SS_CAPS,
       {"Caps"}},
      {"a one-shot Shift is used up and drawn up", "Shift a",
       {"key 16 down", "char 'A' flags 0x80"}, 0, {}},
  });
}

// The key of an earlier tap must not make a later pen-up count: only a
// pen-down on the latched key itself may tap it off.
TEST_F(Taps, APenUpOnALatchedKeyCountsOnlyAfterAPenDownOnIt) {
  Load(CommonKeyboard());
  Run("Shift");
  EXPECT_EQ(Run("down:12,150 up:Shift"), Lines({}));
  EXPECT_EQ(tapora::ShiftState, tapora::SS_SHIFT);
  EXPECT_EQ(Run("Shift"), Lines({"key 16 up"}));
}

// The numeric form and commands are not sent as key output, but their tap
// ends like any other: the capture goes and the key is drawn up.
TEST_F(Taps, NumericFormsAndCommandsEndTheirTapsToo) {
  RunTapCases(CommonKeyboard(), {
      {"numeric form", "vk013", {"key 13 down", "key 13 up"}, 0, {}},
      {"numeric form keeps a latched Shift", "Shift vk013",
       {"key 16 down", "key 13 down", "key 13 up"}, tapora::SS_SHIFT, {"Shift"}},
      {"an unknown command does nothing", "cmd", {}, 0, {}},
  });
}

TEST_F(Taps, PanelsLeaveOutTheirFirstAndLastTwoRowsAndColumns) {
  // One key fills a panel at (10, 20) of 100 by 50; a second panel, later in
  // the array, overlaps its right part.
  kbf::Keyboard keyboard;
  kbf::AddPanelOfRows(keyboard, 10, 20, 100, 50, {{kbf::MakeKey(100, 50, 1, u"k")}});
  kbf::AddPanelOfRows(keyboard, 60, 20, 60, 50, {{kbf::MakeKey(60, 50, 1, u"o")}});
  Load(keyboard, {});
  const struct {
    LONG x, y, panel;
  } points[] = {
      {10, 40, -1}, {11, 40, 0},  {107, 40, 0}, {108, 40, 1}, {117, 40, 1}, {118, 40, -1},
      {30, 20, -1}, {30, 21, 0},  {30, 67, 0},  {30, 68, -1}, {70, 40, 0},
      // A pen captured left of or above the window arrives as large unsigned values.
      {65535, 40, -1}, {30, 65535, -1},
  };
  for (const auto& p : points) {
    EXPECT_EQ(tapora::HitTestPanels(p.x, p.y), p.panel) << "at " << p.x << "," << p.y;
  }
  // The key is drawn on the edges, but a tap there reaches no panel.
  EXPECT_EQ(Run("down:10,40 up:10,40 down:30,68 up:30,68"), Lines({}));
  EXPECT_EQ(Run("down:11,21 up:11,21"), Lines({"char 'k' flags 0x80"}));
}

TEST_F(Taps, OfOverlappingKeysTheFirstWhoseDownByteFitsIsTaken) {
  // "x" lies under the right half of Shift.
  kbf::Keyboard keyboard;
  kbf::Panel panel;
  panel.record.width = 100;
  panel.record.height = 40;
  panel.placements.push_back(
      {kbf::AddKey(keyboard, kbf::MakeKey(40, 20, 18, u"Shift", u"[Shift-Down]"), "SHIFT.KEY"), 2, 2});
  panel.placements.push_back({kbf::AddKey(keyboard, kbf::MakeKey(20, 20, 1, u"x"), "X.KEY"), 22, 2});
  keyboard.panels.push_back(panel);
  Load(keyboard, NamesFromKeyFiles(keyboard));

  // Shift is taken first while it is up.
  EXPECT_EQ(Run("down:32,12 up:32,12"), Lines({"key 16 down"}));
  ASSERT_EQ(Record("SHIFT")[tapora::KEY_DOWN], 1);
  // Latched, it is passed over at pen-down and the key under it is pressed.
  Run("down:32,12");
  EXPECT_EQ(Record("X")[tapora::KEY_DOWN], 1);
  EXPECT_EQ(Record("SHIFT")[tapora::KEY_DOWN], 1);
  // At pen-up the latched Shift is the first key down there, so the tap on
  // "x" is abandoned and "x" drawn up again.
  EXPECT_EQ(Run("up:32,12"), Lines({}));
  EXPECT_EQ(Record("X")[tapora::KEY_DOWN], 0);
  EXPECT_EQ(tapora::ShiftState, tapora::SS_SHIFT);
}

TEST_F(Taps, HeldKeysRepeatFromTheSixthTickOn) {
  RunScenarios(CommonKeyboard(), {
      {"half a second: no repeat yet", "down:a wait:500 up:a", {"char 'a' flags 0x80"}},
      {"the sixth tick repeats", "down:a wait:600 up:a", {"string \"a\"", "char 'a' flags 0x80"}},
      {"about a second: five repeats, then the tap",
       "down:a wait:1000 up:a",
       {"string \"a\"", "string \"a\"", "string \"a\"", "string \"a\"", "string \"a\"",
        "char 'a' flags 0x80"}},
      {"pen moves hold the ticks back", "down:a moves:a:12 up:a", {"char 'a' flags 0x80"}},
      {"ticks count on once the moves stop", "down:a wait:500 moves:a:12 wait:100 up:a",
       {"string \"a\"", "char 'a' flags 0x80"}},
      {"a key that repeats nothing", "down:Shift wait:1000 up:Shift", {"key 16 down"}},
      {"a latched key pressed again repeats nothing", "Shift down:Shift wait:1000 up:Shift",
       {"key 16 down", "key 16 up"}},
      {"an abandoned tap still repeated", "down:a wait:700 up:-10,-10",
       {"string \"a\"", "string \"a\""}},
  });
}

TEST_F(Taps, NothingRepeatsWithTypematicOff) {
  Load(CommonKeyboard());
  tapora::TypematicEnabled = 0;
  EXPECT_EQ(Run("down:a wait:1000 up:a"), Lines({"char 'a' flags 0x80"}));
}

}  // namespace
}  // namespace input_test
