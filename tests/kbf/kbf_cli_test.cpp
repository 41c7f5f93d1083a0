// The kbf commands run in-process: build, dump and check, their exit codes
// and messages, and that every form of a keyboard loads the same records
// with the system's own loader.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "tests/kbf/temp_folder.h"
#include "tools/kbf/cli/commands.h"
#include "tools/kbf/cli/system_load.h"
#include "tools/kbf/source/source.h"
#include "tools/kbf/writer/kbf_writer.h"

namespace {

using kbf_test::TempFolder;

struct Outcome {
  int code;
  std::string out;
  std::string err;
};

Outcome Kbf(const std::vector<std::string>& args) {
  std::ostringstream out, err;
  const int code = kbf::RunKbf(args, out, err);
  return {code, out.str(), err.str()};
}

void WriteText(const std::string& file, const std::string& text) {
  std::ofstream(file, std::ios::binary) << text;
}

std::string ReadText(const std::string& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

constexpr const char* kSource = R"(
panels:
  - size: [236, 40]
    defaults: {size: [20, 20]}
    rows:
      - [a, b, {file: SHIFT.KEY, type: 18, label: Shift, output: "[Shift-Down]", size: [40, 20]}]
      - [{type: 49, chars: {plain: x, shift: X}}, {file: SHIFT.KEY}]
  - place: [0, 40]
    size: [236, 20]
    keys:
      - {at: [0, 0], size: [236, 20], type: 18, output: " "}
)";

TEST(KbfCommands, UsageErrorsExitTwo) {
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{}, {"frobnicate"}, {"build", "a.yaml"}, {"build", "-o"}, {"build", "a", "b", "-o", "c"},
        {"dump"}, {"dump", "x", "--loose"}, {"check"}, {"check", "a", "b"}, {"build", "a.yaml", "-x", "-o", "f"}}) {
    const Outcome r = Kbf(args);
    EXPECT_EQ(r.code, 2) << (args.empty() ? "(none)" : args[0]);
    EXPECT_NE(r.err.find("usage: kbf build SOURCE -o FILE.kbf"), std::string::npos) << r.err;
  }
  EXPECT_EQ(Kbf({"--help"}).code, 0);
}

TEST(KbfCommands, BuildDumpCheckEveryForm) {
  TempFolder t;
  WriteText(t / "k.yaml", kSource);
  ASSERT_EQ(Kbf({"build", t / "k.yaml", "-o", t / "k.kbf"}).code, 0);
  ASSERT_EQ(Kbf({"build", t / "k.yaml", "--loose", "-o", t / "loose"}).code, 0);
  EXPECT_TRUE(std::filesystem::exists(t.path() / "loose" / "PNL00001.PNL"));
  EXPECT_FALSE(std::filesystem::exists(t / "k.kbf.partial"));

  const std::string expectedOk = "ok: 238x40 window, 2 panels, 6 keys\n";
  for (const std::string& keyboard : {t / "k.kbf", t / "loose", t / "loose/PNL00001.PNL"}) {
    const Outcome check = Kbf({"check", keyboard});
    EXPECT_EQ(check.code, 0) << keyboard << check.out << check.err;
    EXPECT_EQ(check.out, expectedOk) << keyboard;
  }

  // The dump of either form builds to the same records, and dumps the same.
  const Outcome dump = Kbf({"dump", t / "k.kbf"});
  ASSERT_EQ(dump.code, 0) << dump.err;
  EXPECT_EQ(Kbf({"dump", t / "loose"}).out, dump.out);
  ASSERT_EQ(Kbf({"dump", t / "k.kbf", "-o", t / "again.yaml"}).code, 0);
  EXPECT_EQ(ReadText(t / "again.yaml"), dump.out);
  ASSERT_EQ(Kbf({"build", t / "again.yaml", "-o", t / "again.kbf"}).code, 0);
  EXPECT_EQ(kbf::ReadFileBytes(t / "again.kbf"), kbf::ReadFileBytes(t / "k.kbf"));
  EXPECT_EQ(Kbf({"dump", t / "again.kbf"}).out, dump.out);

  const kbf::SystemLoad container = kbf::LoadWithSystem(t / "k.kbf");
  const kbf::SystemLoad loose = kbf::LoadWithSystem(t / "loose");
  ASSERT_TRUE(container.ok);
  EXPECT_EQ(container, loose);
  EXPECT_EQ(container, kbf::LoadWithSystem(t / "again.kbf"));
  // Two placements of SHIFT.KEY are two copies in memory.
  ASSERT_EQ(container.panels.size(), 2u);
  EXPECT_EQ(container.panels[0].keys[2].record, container.panels[0].keys[4].record);
  EXPECT_EQ(container.panels[0].keys[4].x, 20);
  EXPECT_EQ(container.panels[0].keys[4].y, 20);
}

TEST(KbfCommands, FailuresExitOneWithTheReason) {
  TempFolder t;
  WriteText(t / "bad.yaml", "panels:\n  - size: [10, 10]\n    keys: [{at: [0, 0], size: [1, 1], colour: red}]\n");
  Outcome r = Kbf({"build", t / "bad.yaml", "-o", t / "bad.kbf"});
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.err.find("bad.yaml:3:"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("unknown field \"colour\""), std::string::npos) << r.err;
  EXPECT_FALSE(std::filesystem::exists(t / "bad.kbf"));

  r = Kbf({"build", t / "missing.yaml", "-o", t / "x.kbf"});
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.err.find("missing.yaml: cannot read the source"), std::string::npos) << r.err;

  WriteText(t / "junk.kbf", "junk");
  r = Kbf({"dump", t / "junk.kbf"});
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.err.find("not a keyboard"), std::string::npos) << r.err;

  r = Kbf({"check", t / "nowhere/nothing.kbf"});
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.err.find("no such file or folder"), std::string::npos);
}

// As on the device, a container that is missing or fails falls back to the
// loose family beside it, and check says so.
TEST(KbfCheck, AContainerFallsBackToTheLooseFamilyBesideIt) {
  TempFolder t;
  kbf::Keyboard kb;
  kbf::AddPanelOfRows(kb, 0, 0, 100, 20, {{kbf::MakeKey(20, 20, 1, u"a")}});
  kbf::WriteLooseFolder(t.path(), kbf::Members(kb));
  WriteText(t / "broken.kbf", "junk");
  for (const char* name : {"missing.kbf", "broken.kbf"}) {
    SCOPED_TRACE(name);
    Outcome r = Kbf({"check", t / std::string(name)});
    EXPECT_EQ(r.code, 0) << r.out << r.err;
    EXPECT_NE(r.out.find("ok: 102x20 window, 1 panels, 1 keys (loaded the loose PNL00001.PNL beside it)"),
              std::string::npos)
        << r.out;
  }
  // A folder without one shows the load's message.
  std::filesystem::remove(t / "PNL00001.PNL");
  EXPECT_EQ(Kbf({"check", t / "missing.kbf"}).code, 1);
}

// A keyboard the loader refuses: check prints the system's message box text
// exactly and exits 1.
TEST(KbfCheck, RefusedKeyboardShowsTheSystemMessage) {
  TempFolder t;
  kbf::Keyboard kb;
  kbf::AddPanelOfRows(kb, 0, 0, 100, 20, {{kbf::MakeKey(20, 20, 1, u"a")}});
  kbf::ContainerOptions noSet;
  noSet.hasPanelSet = 0;
  kbf::WriteFileBytes(t / "none.kbf", kbf::WriteContainer(kbf::Members(kb), noSet));
  const Outcome r = Kbf({"check", t / "none.kbf"});
  EXPECT_EQ(r.code, 1);
  const std::string prefix = "Error Allocating Memory or Reading File!\r\nCannot continue...\r\nProcess reporting: ";
  EXPECT_EQ(r.out.substr(0, prefix.size()), prefix) << r.out;
  EXPECT_NE(r.out.find("none.kbf"), std::string::npos) << r.out;

  // A key file missing from the container: the system reports its last
  // attempt (the loose panel set beside it); the findings name the member.
  std::vector<kbf::Member> members = kbf::Members(kb);
  members.pop_back();
  kbf::WriteFileBytes(t / "cut.kbf", kbf::WriteContainer(members));
  const Outcome cut = Kbf({"check", t / "cut.kbf"});
  EXPECT_EQ(cut.code, 1);
  EXPECT_EQ(cut.out.substr(0, prefix.size()), prefix) << cut.out;
  EXPECT_NE(cut.out.find("\\Keyboard\\PNL00001.PNL\nwarning: "), std::string::npos) << cut.out;
  EXPECT_NE(cut.out.find("key file \"KEY00001.KEY\" is missing"), std::string::npos) << cut.out;
}

TEST(KbfCheck, FindingsDoNotFailTheCheck) {
  TempFolder t;
  kbf::Keyboard kb;
  kbf::Panel& panel = kbf::AddPanelOfRows(kb, 0, 0, 50, 20,
                                          {{kbf::MakeKey(20, 20, 1, u"a"), kbf::MakeKey(40, 20, 1, u"b")}});
  panel.placements.push_back({"KEY00001.KEY", 10, 0});  // overlaps the first
  panel.record.keyCount = 2;
  kb.keys.at("KEY00002.KEY").textColour = 16;
  kb.keys["KEYNAMEFULL13"] = kbf::MakeKey(5, 5, 1, u"c");
  panel.placements.push_back({"KEYNAMEFULL13", 0, 0});
  std::vector<kbf::Member> members = kbf::Members(kb);
  members.push_back({kbf::MemberName("README.TXT"), {1, 2, 3}});
  members.push_back(members[3]);  // a second entry of KEY00001.KEY
  kbf::WriteFileBytes(t / "odd.kbf", kbf::WriteContainer(members));

  const Outcome r = Kbf({"check", t / "odd.kbf"});
  EXPECT_EQ(r.code, 0) << r.out;
  const std::vector<std::string> expected = {
      "ok: 52x20 window, 1 panels, 4 keys",
      "warning: panel 0 (PANEL001.PNL): keys KEY00001.KEY at (0, 0) and KEY00001.KEY at (10, 0) overlap",
      "warning: panel 0 (PANEL001.PNL): keys KEY00001.KEY at (0, 0) and KEYNAMEFULL13 at (0, 0) overlap",
      "warning: panel 0 (PANEL001.PNL): key KEY00002.KEY at (20, 0), 40x20, reaches outside the panel (50x20)",
      "warning: panel 0 (PANEL001.PNL): keys KEY00002.KEY at (20, 0) and KEY00001.KEY at (10, 0) overlap",
      "warning: panel 0 (PANEL001.PNL): stored keyCount is 2, not 0",
      "warning: key KEY00002.KEY: textColour 16 is over 15 and draws black",
      "warning: key file name KEYNAMEFULL13 has no NUL in its 13 bytes",
      "warning: container entry 5 (KEYNAMEFULL13): name has no NUL in its 13 bytes",
      "warning: container member README.TXT is not referenced by the keyboard",
      "warning: container entry 7 (KEY00001.KEY) repeats an earlier name and is never read",
      "warning: panel 0: key 3 \"c\" at (0, 0): label \"c\" is 6x13 pixels on a 5x5 key and is clipped",
      "warning: panel 0: key 2 \"a\" at (10, 0): no pen can hit it: keys earlier in the list cover it (0, 1)",
      "warning: panel 0: key 3 \"c\" at (0, 0): no pen can hit it: keys earlier in the list cover it (0)",
  };
  std::vector<std::string> lines;
  std::istringstream in(r.out);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  EXPECT_EQ(lines, expected);
}

TEST(KbfCheck, UnreferencedLooseFilesAreListed) {
  TempFolder t;
  kbf::Keyboard kb;
  kbf::AddPanelOfRows(kb, 0, 0, 100, 20, {{kbf::MakeKey(20, 20, 1, u"a")}});
  kbf::WriteLooseFolder(t.path(), kbf::Members(kb));
  WriteText(t / "notes.txt", "x");
  EXPECT_EQ(kbf::KeyboardFindings(t.path().string()),
            std::vector<std::string>{"file notes.txt in the folder is not referenced by the keyboard"});
}

}  // namespace
