// A bad keyboard source is refused with a message that names the file, the
// line and the field.
#include <gtest/gtest.h>

#include "tools/kbf/source/source.h"

namespace {

std::string ErrorOf(const std::string& text) {
  try {
    kbf::ParseSource(text, "bad.yaml");
  } catch (const kbf::SourceError& e) {
    return e.what();
  }
  return "(accepted)";
}

const char* kHead = "panels:\n  - size: [100, 20]\n    defaults: {size: [20, 20]}\n    keys:\n";

TEST(SourceErrors, NameFileLineAndField) {
  struct Case {
    const char* keys;
    const char* expected;
  };
  const Case cases[] = {
      {"      - {at: [0, 0], lable: a}\n", "bad.yaml:5:22: panels[0].keys[0]: unknown field \"lable\""},
      {"      - {at: [0, 0], face: mauve}\n",
       "bad.yaml:5:28: panels[0].keys[0].face: \"mauve\" is not a colour"},
      {"      - {at: [0, 0], label: abcdefghijklm}\n",
       "bad.yaml:5:29: panels[0].keys[0].label: \"abcdefghijklm\" has 13 bytes; the field holds 12"},
      {"      - {at: [0, 0], type: 18, label: abcdefg}\n",
       "panels[0].keys[0].label: \"abcdefg\" has 7 UTF-16 units; the field holds 6"},
      {"      - {at: [0, 0], label: \"\xe2\x82\xac\xe2\x82\xad\"}\n",
       "panels[0].keys[0].label: \"\xe2\x82\xac\xe2\x82\xad\" has a character that the 8-bit code page lacks"},
      {"      - {at: [0, 0], type: 300}\n", "panels[0].keys[0].type: 300 is out of range 0..255"},
      {"      - {at: [0, 0], down: x1}\n", "panels[0].keys[0].down: \"x1\" is not a number"},
      {"      - {label: a}\n", "bad.yaml:5:9: panels[0].keys[0]: a key in keys needs at: [x, y]"},
      {"      - {at: [0, 0], chars: {plain: a}}\n", "chars are for key types 17, 19 and 49"},
      {"      - {at: [0, 0], type: 49, chars: {plain: ab}}\n",
       "panels[0].keys[0].chars.plain: \"ab\" is not one UTF-16 character"},
      {"      - {at: [0, 0], dead: {plain: {}}}\n", "dead-key tables are for key type 19"},
      {"      - {at: [0, 0], type: 19, output: x, dead: {plain: {}}}\n", "a dead key's output and shiftLabel hold"},
      {"      - {at: [0, 0], file: A.KEY, label: a}\n      - {at: [20, 0], file: A.KEY, label: b}\n",
       "bad.yaml:6:9: panels[0].keys[1]: key file A.KEY is already defined (at line 5) with other contents"},
      {"      - {at: [0, 0], file: ABCDEFGHIJKLMN}\n", "is longer than 13 bytes"},
      {"      - {at: [0, 0], label: [0x61, 256]}\n", "panels[0].keys[0].label: 256 is out of range 0..255"},
      {"      - {at: [0, 0], label: [1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13]}\n", "more than 12 bytes for this field"},
      // The dead key's table: the message points at the dead key.
      {"      - {at: [0, 0], file: DK.KEY, type: 19, dead: {plain: {e: \"\xc3\xa9\"}}}\n",
       "bad.yaml:5:9: dead key DK.KEY (plain): no character key types the base 'e'"},
      {"      - {at: [0, 0], type: 19, dead: {grave: {}}}\n", "\"grave\" is not a state"},
  };
  for (const Case& c : cases) {
    const std::string message = ErrorOf(std::string(kHead) + c.keys);
    EXPECT_NE(message.find(c.expected), std::string::npos) << c.keys << "gave: " << message;
  }
}

TEST(SourceErrors, PanelsAndDocument) {
  EXPECT_NE(ErrorOf("panels:\n  - place: [0, 0]\n").find("bad.yaml:2:5: panels[0]: the panel has no size"),
            std::string::npos);
  EXPECT_NE(ErrorOf("panels:\n  - size: [10, 10]\n    keys:\n      - {at: [0, 0]}\n").find("the key has no size"),
            std::string::npos);
  EXPECT_NE(ErrorOf("panel:\n  - size: [10, 10]\n").find("unknown field \"panel\""), std::string::npos);
  EXPECT_NE(ErrorOf("panels: [").find("bad.yaml:1:"), std::string::npos);
  EXPECT_NE(ErrorOf("panelSet: {panelCount: -1}\npanels: []\n").find("panelSet.panelCount: -1 is out of range"),
            std::string::npos);
  EXPECT_NE(ErrorOf("panels:\n  - size: [10, 10]\n    rows:\n      - [{label: a, size: [5, 5], at: [1, 1]}]\n")
                .find("a key in a row takes its place from the row"),
            std::string::npos);
  EXPECT_NE(ErrorOf("panels:\n  - {size: [10, 10], size: [1, 1]}\n").find("field \"size\" is given twice"),
            std::string::npos);
  EXPECT_EQ(ErrorOf("panels: []\n"), "(accepted)");
  // Nesting deep enough to exhaust a recursive reader's stack is refused as text.
  for (const std::string& deep : {std::string(20000, '['), "panels:\n  - size: " + std::string(20000, '{')}) {
    EXPECT_EQ(ErrorOf(deep).rfind("bad.yaml:", 0), 0u);
  }
}

}  // namespace
