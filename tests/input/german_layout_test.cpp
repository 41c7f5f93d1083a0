// A German-style layout built from its source file: a sentence typed through
// its three dead keys, AltGr characters and Shift.
#include <gtest/gtest.h>

#include "tests/input/scenario_driver.h"

#ifdef INPUT_TESTS_HAVE_KBF_SOURCE
#include "tools/kbf/source/source.h"

namespace input_test {
namespace {

// The text the application receives, from a stream of events that may only
// type characters and press or release Shift; anything else fails the test.
std::string TypedText(const std::vector<std::string>& calls) {
  std::string text;
  for (const std::string& call : calls) {
    const std::string prefix = "char '";
    const std::string suffix = "' flags 0x80";
    if (call.rfind(prefix, 0) == 0 && call.size() > prefix.size() + suffix.size() &&
        call.compare(call.size() - suffix.size(), suffix.size(), suffix) == 0) {
      text += call.substr(prefix.size(), call.size() - prefix.size() - suffix.size());
    } else if (call != "key 16 down" && call != "key 16 up") {
      ADD_FAILURE() << "unexpected event: " << call;
    }
  }
  return text;
}

class GermanLayout : public ScenarioTest {
 protected:
  void SetUp() override {
    ScenarioTest::SetUp();
    const kbf::Keyboard model = kbf::LoadSourceFile(INPUT_TEST_DATA_DIR "/german_layout.yaml");
    Load(model, NamesFromKeyFiles(model));
  }
};

TEST_F(GermanLayout, TypesASentenceThroughDeadKeysAndAltGr) {
  const std::vector<std::string> calls = Run(
      "SHIFT S E ALTGR PLUS N O R SPACE "         // Señor
      "SHIFT M UE L L E R SPACE "                 // Müller
      "A SZ SPACE "                               // aß
      "C R SHIFT ACUTE E M E SPACE "              // crème
      "B R CIRC U L ACUTE E E SPACE "             // brûlée
      "SHIFT ACUTE A SPACE "                      // à
      "D5 SPACE ALTGR E PERIOD SPACE "            // 5 €.
      "ACUTE SHIFT E L A N SHIFT D1 "             // Élan!
      "CAPS CIRC O CAPS");                        // Ô
  EXPECT_EQ(TypedText(calls), "Señor Müller aß crème brûlée à 5 €. Élan!Ô");
}

TEST_F(GermanLayout, AShiftedDeadKeyUsesUpTheShift) {
  // The grave waits with Shift used up; the partner comes out plain, and Shift
  // is released after it.
  EXPECT_EQ(Run("SHIFT ACUTE A A"),
            Lines({"key 16 down", "char '\u00E0' flags 0x80", "key 16 up", "char 'a' flags 0x80"}));
  EXPECT_EQ(Run("ACUTE SHIFT E"), Lines({"key 16 down", "char '\u00C9' flags 0x80"}));
}

TEST_F(GermanLayout, DeadKeysWithoutAPartnerGiveTheirOwnCharacter) {
  EXPECT_EQ(TypedText(Run("CIRC SPACE ACUTE ACUTE SHIFT ACUTE Z ALTGR PLUS ENTER")), "^´`~");
  EXPECT_EQ(TypedText(Run("ALTGR PLUS ALTGR PLUS")), "~");
  EXPECT_EQ(TypedText(Run("PLUS SHIFT PLUS ALTGR Q ALTGR M")), "+*@µ");
}

}  // namespace
}  // namespace input_test
#endif
