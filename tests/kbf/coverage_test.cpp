// The explorer, the coverage and the planner on a small language tree: the
// shortest ways follow the system's own rules for one-shot modifiers, Caps
// Lock, AltGr, dead keys and keyboard switches (which reset the state), and
// the process is left as it was found.
#include <gtest/gtest.h>

#include "input/shift_state.h"
#include "layout/keyboard_memory.h"
#include "tests/kbf/coverage_tree.h"
#include "tools/kbf/coverage/coverage.h"
#include "tools/kbf/coverage/planner.h"
#include "tools/kbf/coverage/tap_graph.h"
#include "wince/host/device.h"

namespace {

using namespace kbf::coverage;

class CoverageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    graph_ = ExploreTaps(ResolveKeyboard(kbf_test::BuildCoverageTree(folder_)));
    coverage_ = CoverageOf(graph_);
  }
  kbf_test::TempFolder folder_;
  TapGraph graph_;
  Coverage coverage_;
};

TEST_F(CoverageTest, ShortestWayToEachCharacterFollowsTheSystemsRules) {
  const struct {
    char32_t c;
    const char* way;
  } cases[] = {
      {U'a', "a (row 1, key 1)"},
      // Shift comes before Caps on the keyboard: of two equal ways the first key wins.
      {U'A', "Shift (row 1, key 4), A (row 1, key 1)"},
      {U'€', "AltGr (row 1, key 6), € (row 1, key 2)"},
      {U'é', "´ (row 1, key 3), e (row 1, key 2)"},
      // Shift after the dead key: with Shift latched the key is not dead.
      {U'É', "´ (row 1, key 3), Shift (row 1, key 4), E (row 1, key 2)"},
      // A key the dead key does not compose with sends the dead key's
      // character, and its own text is lost.
      {U'´', "´ (row 1, key 3), a (row 1, key 1)"},
      {U' ', "space (row 2, key 4)"},
      {U'1', "[123] (row 2, key 3) then 1 (row 1, key 1)"},
  };
  for (const auto& test : cases) {
    SCOPED_TRACE(static_cast<unsigned>(test.c));
    ASSERT_EQ(coverage_.characters.count(test.c), 1u);
    EXPECT_EQ(DescribeTaps(graph_.PathThrough(*coverage_.characters.at(test.c))), test.way);
  }
  // The switch clears a latched Shift, and s.kbf has none of its own.
  EXPECT_EQ(coverage_.characters.count(U'!'), 0u);
  // The 2 lies under the 1: a tap on its middle is the 1's.
  for (const Tap& tap : graph_.taps) EXPECT_NE(tap.label, "2");
  EXPECT_EQ(coverage_.characters.count(U'2'), 0u);
  // A Ctrl shortcut types nothing; Back is a special key and leads nowhere.
  EXPECT_EQ(coverage_.characters.size(), 10u);
  ASSERT_EQ(coverage_.specialKeys.count("Back"), 1u);
  EXPECT_EQ(coverage_.specialKeys.at("Back")->to, NO_STATE);
  EXPECT_FALSE(graph_.cut);
  EXPECT_EQ(graph_.states[0].snapshot.KeyboardName(), "Lang\\main.kbf");
}

TEST_F(CoverageTest, PlansUseFewestTaps) {
  const struct {
    std::u16string text;
    size_t taps;
  } cases[] = {
      {u"", 0},
      {u"aA", 3},    // Shift clears after the A
      {u"Aa", 3},
      {u"AAA", 4},   // Caps Lock stays
      {u"é1 a", 7},  // dead key, the switch there and back
      {u"ÉÉ", 5},    // ´ Caps E ´ E: Caps Lock outlives the dead key
  };
  for (const auto& test : cases) {
    SCOPED_TRACE(std::string(test.text.begin(), test.text.end()));
    const Plan plan = PlanText(graph_, test.text);
    ASSERT_TRUE(plan.found);
    EXPECT_EQ(plan.taps.size(), test.taps);
    std::u16string typed;
    for (const Tap* tap : plan.taps) typed += tap->typed;
    EXPECT_EQ(typed, test.text);
  }
  EXPECT_FALSE(PlanText(graph_, u"a!").found);
  EXPECT_FALSE(PlanText(graph_, u"x").found);
}

TEST_F(CoverageTest, ScriptTapsTheKeysAndExpectsTheText) {
  const Plan aE = PlanText(graph_, u"aé");
  ASSERT_TRUE(aE.found);
  EXPECT_EQ(SimScript(graph_, aE, u"aé"),
            "# 3 taps on Lang\\main.kbf type \"aé\".\n"
            "options language=Lang layout=main ok\n"
            "# a (row 1, key 1): \"a\"\n"
            "tap 10 10\n"
            "# ´ (row 1, key 3)\n"
            "tap 50 10\n"
            "# e (row 1, key 2): \"é\"\n"
            "tap 30 10\n"
            "expect-text aé\n");
}

TEST_F(CoverageTest, LeavesTheProcessAsItFoundIt) {
  EXPECT_EQ(tapora::KeyboardMemory.setHeaderHandle, 0u);
  EXPECT_EQ(tapora::ShiftState, 0);
  EXPECT_EQ(wince::host::DeviceFolder().string().find("kbf_coverage"), std::string::npos);
}

}  // namespace
