// What `kbf check` tells an author beyond the files' structure, each finding
// from a keyboard made to have it, and none from the bundled ones.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "tests/kbf/temp_folder.h"
#include "tools/kbf/cli/commands.h"

namespace {

namespace fs = std::filesystem;
using kbf_test::TempFolder;

constexpr const char* kFlawed = R"(
panels:
  - size: [236, 60]
    defaults: {size: [20, 20]}
    keys:
      - {at: [0, 0], size: [1, 20], label: e}
      - {at: [20, 0], size: [40, 20], label: Backspace}
      - {at: [60, 0], size: [6, 20], label: W}
      - {at: [80, 0], type: 17, chars: {plain: q, altgr: "@"}}
      - {at: [100, 0], type: 49, chars: {plain: x, shift: X}}
      - {at: [120, 0], type: 18, label: Caps, output: "[Caps]"}
      - {at: [140, 0], file: ACUTE.KEY, type: 19, chars: {plain: "'"},
         dead: {plain: {a: [á, Á], e: [é, É]}}}
      - {at: [160, 0], file: GRAVE.KEY, type: 19, chars: {plain: "`"}, dead: {plain: {a: [à, À]}}}
      - {at: [180, 0], type: 17, chars: {plain: a, shift: A}}
      - {at: [180, 0], label: z}
      - {at: [0, 20], type: 18, label: sym, output: "[CMD:NKBF=zz]"}
      - {at: [20, 20], type: 18, label: one, output: "[CMD:NKBF={1}"}
      - {at: [40, 20], type: 18, label: two, output: "[CMD:NKBF={2}"}
      - {at: [60, 20], type: 18, label: nine, output: "[CMD:NKBF={9}"}
)";

std::string Check(const std::vector<std::string>& args) {
  std::ostringstream out, err;
  kbf::RunKbf(args, out, err);
  return out.str() + err.str();
}

TEST(CheckFindings, EachFlawIsNamed) {
  TempFolder t;
  fs::create_directories(t.path() / "Lang");
  std::ofstream(t / "k.yaml") << kFlawed;
  std::ofstream(t / "KBF.txt") << "1 \\Program Files\\Tapora SIP\\Lang\\k.kbf\r\n"
                                  "2 \\Program Files\\Tapora SIP\\Lang\\gone.kbf\r\n";
  std::ostringstream out, err;
  ASSERT_EQ(kbf::RunKbf({"build", t / "k.yaml", "-o", t / "Lang/k.kbf"}, out, err), 0) << err.str();

  const std::string report = Check({"check", t / "Lang/k.kbf", "--tree", t.path().string()});
  const char* expected[] = {
      "key 0 \"e\" at (0, 0): no pen can hit it: it lies outside its panel's hit area",
      "key 1 \"Backspace\" at (20, 0): label \"Backspace\" is shortened to \"",
      "key 2 \"W\" at (60, 0): label \"W\" is ",
      "pixels on a 6x20 key and is clipped",
      "key 9 \"z\" at (180, 0): no pen can hit it: keys earlier in the list cover it (8)",
      "1 key has AltGr characters but no key latches AltGr (first: panel 0: key 3 \"q\"",
      "1 key has Shift characters but no key latches Shift (first: panel 0: key 8 \"a\"",
      "dead key GRAVE.KEY (plain) composes 'a' but not 'e', which other dead-key tables compose",
      "switch \"[CMD:NKBF=zz]\": zz is not in the keyboard's language folder",
      "switch \"[CMD:NKBF={2}\": entry 2 is \\Program Files\\Tapora SIP\\Lang\\gone.kbf, which is not in the tree",
      "switch \"[CMD:NKBF={9}\": the tree's KBF.txt has no entry 9",
  };
  for (const char* finding : expected) EXPECT_NE(report.find(finding), std::string::npos) << finding << "\n" << report;
  // Caps Lock shifts the type-49 key; entry 1 is there.
  EXPECT_EQ(report.find("key 4 \"x\""), std::string::npos) << report;
  EXPECT_EQ(report.find("{1}"), std::string::npos) << report;
  // Without a tree, the switches are not followed.
  EXPECT_EQ(Check({"check", t / "Lang/k.kbf"}).find("switch"), std::string::npos);
  EXPECT_NE(Check({"check", t / "Lang/k.kbf", "--tree", t / "nowhere"}).find("no such folder"), std::string::npos);
}

#ifdef TAPORA_DEVICE_DIR
TEST(CheckFindings, BundledKeyboardsHaveNone) {
  const fs::path tree = fs::path(TAPORA_DEVICE_DIR) / "Program Files" / "Tapora SIP";
  for (const char* keyboard : {"Keyboard/keyboard.kbf", "Keyboard/sy.kbf", "German/qwertz.kbf", "French/azerty.kbf"}) {
    const std::string report = Check({"check", (tree / keyboard).string(), "--tree", tree.string()});
    EXPECT_EQ(report.find("warning"), std::string::npos) << keyboard << "\n" << report;
  }
}
#endif

}  // namespace
