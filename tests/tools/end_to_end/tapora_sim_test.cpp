// tapora-sim end to end on a fresh device folder: installed, run with scripts
// (typing, typematic repeat, a keyboard switch, the options dialog), its exit
// codes and event log, and uninstalled. The device's keyboard is replaced by
// one of known places after installing, so the scripts do not follow the
// bundled layouts' design.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "tools/kbf/writer/kbf_writer.h"

namespace {

namespace fs = std::filesystem;

std::string ReadText(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// One panel of 238 by 80, keys 20 pixels square from (2, 2): a, b, Shift and
// a key that switches to the file "t2.kbf" of the same language; "t2.kbf"
// has z and a key back through entry 1 of the mapping file.
kbf::Keyboard KeyboardOf(std::vector<kbf::KeyRecord> keys) {
  kbf::Keyboard keyboard;
  kbf::AddPanelOfRows(keyboard, 0, 0, 238, 80, {keys});
  for (kbf::Placement& placement : keyboard.panels[0].placements) {
    placement.x += 2;
    placement.y += 2;
  }
  return keyboard;
}

class TaporaSim : public ::testing::Test {
 protected:
  void SetUp() override {
    static int number = 0;
    device_ = fs::temp_directory_path() /
              ("tapora_sim_tests_" + std::to_string(getpid()) + "_" + std::to_string(++number));
    ASSERT_EQ(Sim("install --device " + device_.string()), 0);
    const fs::path language = device_ / "Program Files/Tapora SIP/Keyboard";
    kbf::KeyRecord a = kbf::MakeKey(20, 20, 33, u"a");  // Shift gives "A"
    a.SetShiftLabel8("A");
    kbf::WriteFileBytes(language / "keyboard.kbf",
                        kbf::WriteContainer(kbf::Members(KeyboardOf(
                            {a, kbf::MakeKey(20, 20, 1, u"b"),
                             kbf::MakeKey(20, 20, 18, u"Shift", u"[Shift-Down]"),
                             kbf::MakeKey(20, 20, 18, u"2", u"[CMD:NKBF=t2.kbf")}))));
    kbf::WriteFileBytes(language / "t2.kbf",
                        kbf::WriteContainer(kbf::Members(KeyboardOf(
                            {kbf::MakeKey(20, 20, 1, u"z"),
                             kbf::MakeKey(20, 20, 18, u"1", u"[CMD:NKBF={1}]")}))));
    const std::string map = "1 \\Program Files\\Tapora SIP\\Keyboard\\keyboard.kbf\r\n";
    kbf::WriteFileBytes(device_ / "Program Files/Tapora SIP/KBF.txt",
                        std::vector<uint8_t>(map.begin(), map.end()));
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(device_, ignored);
  }

  // Runs tapora-sim with arguments; its exit code. Output goes to out_.
  int Sim(const std::string& arguments) {
    // Each test has its own device folder; the output lies beside it, as
    // tests run in parallel.
    const fs::path output = device_.string() + ".out";
    const std::string command =
        std::string(TAPORA_SIM) + " " + arguments + " > " + output.string() + " 2>&1";
    const int status = std::system(command.c_str());
    out_ = ReadText(output);
    fs::remove(output);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  int Run(const std::string& script) {
    const fs::path file = device_ / "test.script";
    std::ofstream(file) << script;
    return Sim("run --device " + device_.string() + " --script " + file.string() + " --events " +
               (device_ / "events.jsonl").string());
  }
  std::string Events() { return ReadText(device_ / "events.jsonl"); }

  fs::path device_;
  std::string out_;
};

TEST_F(TaporaSim, RunsScriptsAndAnswersWithItsExitCodes) {
  const struct {
    const char* name;
    const char* script;
    int exit;
    const char* output;  // a line the output must hold
  } cases[] = {
      {"typing", "tap 12 12\ntap 32 12\ntap 52 12\ntap 12 12\nexpect-text abA\n", 0,
       "text: abA"},
      {"a switch in the named form and back in the mapped form",
       "tap 72 12\ntap 12 12\ntap 32 12\ntap 12 12\nexpect-text za\n", 0, "text: za"},
      {"a held key repeats", "down 12 12\nwait 700\nup 12 12\nexpect-text aaa\n", 0,
       "text: aaa"},
      {"an expectation that fails", "tap 12 12\nexpect-text b\n", 1, "line 2: expected text"},
      {"a script error names its line", "tap 1 1\n# fine\ntapp 3 4\n", 2, "line 3:"},
      // With Shift latched the key shows "A", not "a"; after the switch, "z".
      {"keys pressed by the labels shown", "press Shift\npress A\npress b\npress 2\npress z\n", 0,
       "text: Abz"},
      {"a label no key shows", "press Shift\npress a\n", 2, "line 2: press a: no key"},
      {"the dialog closed unchanged", "options cancel\ntap 12 12\nexpect-text a\n", 0,
       "UserOptionsDlg -> 0x00000000"},
      // The bundled German layout has q at (43, 24).
      {"another language chosen in the dialog is loaded",
       "options language=German ok\ntap 43 24\nexpect-text q\n", 0, "SipShowIM flags 0x1"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Run(c.script), c.exit) << out_;
    EXPECT_NE(out_.find(c.output), std::string::npos) << out_;
  }
}

TEST_F(TaporaSim, TheEventLogHasEveryCallInOrder) {
  ASSERT_EQ(Run("tap 12 12\n"), 0) << out_;
  const std::string events = Events();
  const char* expected[] = {
      R"({"line":0,"method":"Select","hr":"0x00000000"})",
      R"({"line":0,"call":"SetImInfo","rect":[0,214,240,294]})",
      R"({"line":1,"call":"SendCharEvents","vk":0,"keyFlags":128,"count":1,"shift":[128],"chars":[97]})",
      R"({"line":0,"method":"Deselect","hr":"0x00000000"})",
      R"({"line":0,"method":"DllCanUnloadNow","hr":"0x00000000"})",
  };
  size_t at = 0;
  for (const char* line : expected) {
    const size_t found = events.find(line, at);
    EXPECT_NE(found, std::string::npos) << line << "\nin\n" << events;
    if (found != std::string::npos) at = found;
  }
}

TEST_F(TaporaSim, UninstallLeavesNoClassKeyAndNoProductFile) {
  ASSERT_EQ(Sim("uninstall --device " + device_.string()), 0) << out_;
  EXPECT_EQ(ReadText(device_ / "registry.reg").find("26CA1951"), std::string::npos);
  EXPECT_FALSE(fs::exists(device_ / "Windows/tapora.dll"));
  EXPECT_FALSE(fs::exists(device_ / "Windows/STOCK.DLL"));
  EXPECT_FALSE(fs::exists(device_ / "Program Files/Tapora SIP"));
}

}  // namespace
