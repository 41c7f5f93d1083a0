// Round trips of the keyboard source: source -> build -> dump -> build gives
// the same members, byte for byte, and dumping again gives the same text;
// keyboards of random record bytes survive a dump unchanged.
#include <gtest/gtest.h>

#include <random>

#include "tests/kbf/hex.h"
#include "tools/kbf/source/source.h"
#include "tools/kbf/writer/kbf_writer.h"

namespace {

void ExpectSameMembers(const kbf::Keyboard& a, const kbf::Keyboard& b) {
  const auto ma = kbf::Members(a);
  const auto mb = kbf::Members(b);
  ASSERT_EQ(ma.size(), mb.size());
  for (size_t i = 0; i < ma.size(); ++i) {
    EXPECT_EQ(kbf::NameText(ma[i].name), kbf::NameText(mb[i].name));
    EXPECT_EQ(kbf_test::Hex(ma[i].bytes), kbf_test::Hex(mb[i].bytes)) << kbf::NameText(ma[i].name);
  }
}

// Dump, build the dump, compare; then the second dump must equal the first.
void ExpectRoundTrip(const kbf::Keyboard& keyboard) {
  const std::string dump = kbf::DumpSource(keyboard);
  kbf::Keyboard rebuilt;
  try {
    rebuilt = kbf::ParseSource(dump, "dump.yaml");
  } catch (const kbf::SourceError& e) {
    FAIL() << e.what() << "\n" << dump;
  }
  ExpectSameMembers(keyboard, rebuilt);
  EXPECT_EQ(kbf::DumpSource(rebuilt), dump);
}

constexpr const char* kSample = R"(
panelSet:
  position: [0, 240]
panels:
  - place: [0, 0]
    size: [236, 60]
    gap: [1, 1]
    defaults: {size: [22, 19], type: 33, colours: [white, black, silver, grey]}
    rows:
      - [{label: q, shiftLabel: Q}, {label: w, shiftLabel: W}, {label: "é", shiftLabel: "É"}, {label: e, shiftLabel: E}]
      - x: 11
        keys:
          - {file: SPACE.KEY, label: " ", size: [60, 19], type: 1}
          - {type: 18, label: Tab, output: "[Tab]", face: grey}
          - {file: SPACE.KEY}
      - keys:
          - {type: 18, label: "⇧", output: "[Shift-Down]", down: 1}
          - {type: 49, chars: {plain: a, shift: A, altgr: "æ", altgr-shift: "Æ"}}
          - {type: 19, chars: {plain: "´", shift: "`"}, dead: {plain: {e: ["é", "É"], a: "á"}, shift: {e: "è"}}}
          - {type: 1, label: "{NQXU", output: "[Up]", colours: [navy, 3, 15, 200]}
  - file: NUMBERS.PNL
    place: [0, 60]
    size: [236, 20]
    keyList: NUMS.KLS
    keys:
      - {at: [0, 0], size: [20, 20], label: "1"}
      - {at: [20, 0], file: SPACE.KEY}
)";

TEST(SourceRoundTrip, SampleBuildsDumpsAndRebuildsExactly) {
  const kbf::Keyboard keyboard = kbf::ParseSource(kSample, "sample.yaml");
  ASSERT_EQ(keyboard.panels.size(), 2u);
  const kbf::Panel& panel = keyboard.panels[0];
  ASSERT_EQ(panel.placements.size(), 11u);
  // Rows: gap of one pixel, the second row indented by 11 and below the first.
  EXPECT_EQ(panel.placements[1].x, 23);
  EXPECT_EQ(panel.placements[4].x, 11);
  EXPECT_EQ(panel.placements[4].y, 20);
  EXPECT_EQ(panel.placements[5].x, 72);
  EXPECT_EQ(panel.placements[6].keyFile, "SPACE.KEY");
  EXPECT_EQ(panel.placements[7].y, 40);

  const kbf::KeyRecord& e = keyboard.keys.at(panel.placements[2].keyFile);
  EXPECT_EQ(e.label[0], 0xE9);  // 8-bit label in the code page
  EXPECT_EQ(e.keyType, 33);
  EXPECT_EQ(e.faceColour, kbf::kWhite);
  const kbf::KeyRecord& tab = keyboard.keys.at(panel.placements[5].keyFile);
  EXPECT_EQ(tab.LabelText(), u"Tab");
  EXPECT_EQ(tab.faceColour, kbf::kGrey);
  EXPECT_EQ(tab.lightEdgeColour, kbf::kSilver);
  const kbf::KeyRecord& up = keyboard.keys.at(panel.placements[10].keyFile);
  EXPECT_EQ(up.Label8(), "{NQXU");
  EXPECT_EQ(up.shadowEdgeColour, 200);
  EXPECT_EQ(keyboard.header.positionY, 240);
  EXPECT_EQ(kbf::KeyListFileName(keyboard, 1), "NUMS.KLS");

  ExpectRoundTrip(keyboard);
}

TEST(SourceRoundTrip, DumpIsReadable) {
  const std::string dump = kbf::DumpSource(kbf::ParseSource(kSample, "sample.yaml"));
  EXPECT_NE(dump.find("label: Tab, output: \"[Tab]\""), std::string::npos) << dump;
  EXPECT_NE(dump.find("chars: {plain: a, shift: A, altgr: \"æ\", altgr-shift: \"Æ\"}"), std::string::npos) << dump;
  EXPECT_NE(dump.find("dead: {plain: {e: [\"é\", \"É\"], a: \"á\"}, shift: {e: \"è\"}}"), std::string::npos) << dump;
  EXPECT_NE(dump.find("{file: SPACE.KEY, at: [20, 0]}"), std::string::npos) << dump;
  EXPECT_EQ(dump.find("unknown"), std::string::npos) << dump;
}

// Keyboards whose records hold random bytes in every field: texts with bytes
// after their NUL, names without one, odd counts and colours.
kbf::Keyboard RandomKeyboard(std::mt19937& rng) {
  auto byte = [&] { return static_cast<uint8_t>(rng()); };
  auto fill = [&](auto& array) {
    for (auto& b : array) b = rng() % 2 ? byte() : 0;
  };
  kbf::Keyboard kb;
  std::vector<uint8_t> header(96);
  for (auto& b : header) b = byte();
  kb.header = kbf::PanelSetHeader::Decode(header);
  kb.header.magic = {'P', 'N'};
  kb.header.panelCount = 0;

  auto name = [&](const char* prefix, size_t n) {
    std::string s = prefix + std::to_string(n);
    // Sometimes a name of all 13 bytes, with high bytes.
    if (rng() % 4 == 0) {
      while (s.size() < 13) s.push_back(static_cast<char>(0x80 + rng() % 0x7F));
    }
    return s;
  };
  const size_t panels = 1 + rng() % 3;
  for (size_t p = 0; p < panels; ++p) {
    kbf::Panel panel;
    panel.fileName = name("P", p);
    std::vector<uint8_t> record(37);
    for (auto& b : record) b = byte();
    panel.record = kbf::PanelRecord::Decode(record);
    panel.record.keyListName = kbf::RawMemberName(name("L", p));
    if (rng() % 2) panel.record.keyListName[12] = byte() | 1;  // bytes after the name's NUL
    panel.keyListHeader.unknown0 = static_cast<uint16_t>(rng());
    panel.keyListHeader.unknown3 = byte();
    // A negative count reads as no placements, so such a list holds none.
    if (rng() % 4 == 0) panel.placementCount = -static_cast<int32_t>(rng() % 1000) - 1;
    const size_t keys = panel.placementCount ? 0 : rng() % 6;
    for (size_t k = 0; k < keys; ++k) {
      std::vector<uint8_t> bytes(71);
      for (auto& b : bytes) b = byte();
      kbf::KeyRecord key = kbf::KeyRecord::Decode(bytes);
      const uint8_t types[] = {1, 5, 17, 18, 19, 33, 49, 50};
      if (rng() % 2) key.keyType = types[rng() % std::size(types)];
      if (rng() % 2) fill(key.label);
      if (rng() % 2) key.output.fill(0);
      const std::string keyName = name("K", kb.keys.size());
      kb.keys[keyName] = key;
      panel.placements.push_back({keyName, static_cast<uint16_t>(rng()), static_cast<uint16_t>(rng())});
      if (rng() % 3 == 0) panel.placements.push_back({keyName, 1, 2});
    }
    kb.panels.push_back(panel);
  }
  return kb;
}

TEST(SourceRoundTrip, RandomRecordsSurviveDumpAndBuild) {
  std::mt19937 rng(20240611);
  for (int i = 0; i < 200; ++i) {
    SCOPED_TRACE("keyboard " + std::to_string(i));
    kbf::Keyboard keyboard = RandomKeyboard(rng);
    // Read it back first, as kbf dump would, so the model is what files give.
    const kbf::Keyboard read = kbf::ReadKeyboardFromMembers(kbf::Members(keyboard));
    ExpectSameMembers(keyboard, read);
    ExpectRoundTrip(read);
    if (HasFailure()) break;
  }
}

TEST(SourceRoundTrip, OddFieldsOfARealKeyboardAreKept) {
  kbf::Keyboard kb = kbf::ParseSource(kSample, "sample.yaml");
  // A text with bytes after its NUL, an output that fills its field, a
  // panel count beyond the panels with a partial name after the last one.
  kbf::KeyRecord& q = kb.keys.begin()->second;
  q.label[5] = 0x7A;
  q.SetOutput(u"0123456789abcdef");
  kb.panelCount = 3;
  kb.panelSetTrailer = {'X', 0, 0};
  kb.panels[0].record.keyCount = 0xFFFFFFFF;
  const kbf::Keyboard read = kbf::ReadKeyboardFromMembers(kbf::Members(kb));
  ExpectSameMembers(kb, read);
  ExpectRoundTrip(read);
  const std::string dump = kbf::DumpSource(read);
  EXPECT_NE(dump.find("label: [0x71, 0x00, 0x00, 0x00, 0x00, 0x7A]"), std::string::npos) << dump;
  EXPECT_NE(dump.find("trailer: [0x58, 0x00, 0x00]"), std::string::npos) << dump;
}

}  // namespace
