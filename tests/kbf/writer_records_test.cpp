// Exact stored bytes of the writer's records, containers and member families.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>

#include "tests/kbf/hex.h"
#include "tools/kbf/writer/kbf_writer.h"
#include "tools/kbf/writer/text.h"

using kbf_test::Hex;

namespace {

TEST(KeyRecordBytes, TypicalKeyHexDump) {
  kbf::KeyRecord key = kbf::MakeKey(20, 16, 1, u"q");
  key.SetShiftLabel8("Q");
  const std::vector<uint8_t> bytes = key.Encode();
  ASSERT_EQ(bytes.size(), 71u);
  EXPECT_EQ(Hex(bytes),
            "00 00 00 00 00 00 14 00 10 00 01 "                 // ... width 20, height 16, type 1
            "71 00 00 00 00 00 00 00 00 00 00 00 "              // label "q" at 11
            "51 00 00 00 00 00 00 00 00 00 00 00 "              // shiftLabel "Q" at 23
            "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 "  // output at 35
            "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 "
            "07 00 0f 08");                                     // colours at 67
}

TEST(KeyRecordBytes, EveryFieldLandsAtItsOffset) {
  kbf::KeyRecord key;
  key.unknown0 = 0x0201;
  key.unknown2 = 0x03;
  key.unknown3 = 0x04;
  key.down = 0x05;
  key.unknown5 = 0x06;
  key.width = 0x0807;
  key.height = 0x0a09;
  key.keyType = 0x0b;
  for (size_t i = 0; i < 12; ++i) key.label[i] = static_cast<uint8_t>(0x0c + i);
  for (size_t i = 0; i < 12; ++i) key.shiftLabel[i] = static_cast<uint8_t>(0x18 + i);
  for (size_t i = 0; i < 32; ++i) key.output[i] = static_cast<uint8_t>(0x24 + i);
  key.SetColours(0x44, 0x45, 0x46, 0x47);
  const std::vector<uint8_t> bytes = key.Encode();
  ASSERT_EQ(bytes.size(), 71u);
  for (size_t i = 0; i < bytes.size(); ++i) EXPECT_EQ(bytes[i], i + 1) << "offset " << i;
  EXPECT_EQ(kbf::KeyRecord::Decode(bytes), key);
}

TEST(KeyRecordBytes, TextSettersAndStateChars) {
  kbf::KeyRecord key;
  key.SetOutput(u"[Shift-Down]");
  EXPECT_EQ(Hex(std::span(key.output).first(26)),
            "5b 00 53 00 68 00 69 00 66 00 74 00 2d 00 44 00 6f 00 77 00 6e 00 5d 00 00 00");
  EXPECT_EQ(key.OutputText(), u"[Shift-Down]");

  // A text that fills the field is kept without a NUL; one unit more is refused.
  key.SetOutput(u"0123456789abcdef");
  EXPECT_EQ(key.OutputText(), u"0123456789abcdef");
  EXPECT_THROW(key.SetOutput(u"0123456789abcdefg"), std::length_error);
  EXPECT_THROW(key.SetLabel8("0123456789abc"), std::length_error);
  EXPECT_THROW(key.SetLabel(u"1234567"), std::length_error);

  // Per-state characters and the dead-key mask are separate cells of `label`.
  key.keyType = 19;
  key.SetStateChar(kbf::KeyState::Plain, u'\u00b4');
  key.SetStateChar(kbf::KeyState::Shift, u'`');
  key.SetStateChar(kbf::KeyState::AltGr, u'\u20ac');
  key.SetStateChar(kbf::KeyState::AltGrShift, u'~');
  key.SetDeadKeyStates(kbf::kStatePlain | kbf::kStateAltGr);
  EXPECT_EQ(Hex(key.label), "b4 00 00 00 60 00 ac 20 7e 00 05 00");
  EXPECT_EQ(key.Encode()[21], 5);
  EXPECT_EQ(key.StateChar(kbf::KeyState::AltGr), u'\u20ac');
}

TEST(RecordDecode, MissingBytesReadAsZero) {
  kbf::KeyRecord key = kbf::MakeKey(30, 20, 18, u"Tab", u"[Tab]");
  std::vector<uint8_t> bytes = key.Encode();
  bytes.resize(40);
  const kbf::KeyRecord cut = kbf::KeyRecord::Decode(bytes);
  const std::vector<uint8_t> again = cut.Encode();
  EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), again.begin()));
  for (size_t i = 40; i < 71; ++i) EXPECT_EQ(again[i], 0) << "offset " << i;
  EXPECT_EQ(cut.faceColour, 0);  // black, not the default silver

  EXPECT_EQ(kbf::PanelSetHeader::Decode({}).formatVersion, 0);
  EXPECT_EQ(kbf::KeyListHeader::Decode(std::vector<uint8_t>{0, 0, 0, 0, 0xff, 0xff, 0xff, 0xff}).placementCount, -1);
}

TEST(RecordBytes, PanelRecordStoresTopBeforeLeft) {
  kbf::PanelRecord panel;
  panel.keyListName = kbf::MemberName("KEYS001.KLS");
  panel.top = 0x0102;
  panel.left = 0x0304;
  panel.width = 238;
  panel.height = 80;
  panel.keyCount = 7;
  const std::vector<uint8_t> bytes = panel.Encode();
  ASSERT_EQ(bytes.size(), 37u);
  EXPECT_EQ(Hex(std::span(bytes).subspan(4, 13)), "4b 45 59 53 30 30 31 2e 4b 4c 53 00 00");
  EXPECT_EQ(Hex(std::span(bytes).subspan(17, 9)), "00 02 01 04 03 ee 00 50 00");
  EXPECT_EQ(Hex(std::span(bytes).subspan(33, 4)), "07 00 00 00");
  EXPECT_EQ(kbf::PanelRecord::Decode(bytes), panel);
}

TEST(RecordBytes, PanelSetHeaderLayout) {
  kbf::PanelSetHeader header;
  header.panelCount = 3;
  header.positionX = 0x1234;
  header.unknown92 = 0xdeadbeef;
  const std::vector<uint8_t> bytes = header.Encode();
  ASSERT_EQ(bytes.size(), 96u);
  EXPECT_EQ(Hex(std::span(bytes).first(8)), "50 4e 00 01 03 00 00 00");
  EXPECT_EQ(Hex(std::span(bytes).subspan(13, 2)), "34 12");
  EXPECT_EQ(Hex(std::span(bytes).subspan(92, 4)), "ef be ad de");
}

TEST(MemberNames, RefusesLongNamesAndKeepsRawOnes) {
  EXPECT_EQ(Hex(kbf::MemberName("KEY001.KEY")), "4b 45 59 30 30 31 2e 4b 45 59 00 00 00");
  EXPECT_THROW(kbf::MemberName("ABCDEFGHIJKLM"), std::length_error);
  const kbf::NameField raw = kbf::RawMemberName("ABCDEFGHIJKLM");
  EXPECT_EQ(raw.back(), 'M');
  EXPECT_EQ(kbf::NameText(raw), "ABCDEFGHIJKLM");
  EXPECT_THROW(kbf::RawMemberName("ABCDEFGHIJKLMN"), std::length_error);
}

TEST(Container, DirectoryOffsetsAndData) {
  std::vector<kbf::Member> members = {
      {kbf::MemberName("PNL00001.PNL"), {1, 2, 3}},
      {kbf::MemberName("A.KEY"), {4, 5}},
  };
  const std::vector<uint8_t> file = kbf::WriteContainer(members);
  ASSERT_EQ(file.size(), 10u + 42u + 5u);
  EXPECT_EQ(Hex(std::span(file).first(10)), "50 2a 00 00 00 34 00 00 00 01");  // dataStart 52
  EXPECT_EQ(Hex(std::span(file).subspan(10, 21)),
            "50 4e 4c 30 30 30 30 31 2e 50 4e 4c 00 00 00 00 00 03 00 00 00");
  EXPECT_EQ(Hex(std::span(file).subspan(31, 21)),
            "41 2e 4b 45 59 00 00 00 00 00 00 00 00 03 00 00 00 02 00 00 00");
  EXPECT_EQ(Hex(std::span(file).subspan(52)), "01 02 03 04 05");

  const kbf::ContainerView view = kbf::ParseContainer(file);
  ASSERT_EQ(view.entries.size(), 2u);
  ASSERT_TRUE(view.Find("a.key"));
  EXPECT_EQ(Hex(*view.Find("a.key")), "04 05");
}

TEST(Container, OptionsForBrokenContainers) {
  std::vector<kbf::Member> members = {{kbf::MemberName("X"), {9}}};
  kbf::ContainerOptions extra;
  extra.afterDirectory = {0xaa, 0xbb};
  extra.hasPanelSet = 0;
  extra.unknown2 = {7, 8, 9};
  std::vector<uint8_t> file = kbf::WriteContainer(members, extra);
  EXPECT_EQ(Hex(std::span(file).first(10)), "50 2a 07 08 09 21 00 00 00 00");  // 10 + 21 + 2
  EXPECT_EQ(Hex(std::span(file).subspan(31)), "aa bb 09");

  // A stored dataStart beyond the directory pads up to it; one below keeps
  // the data after the directory with offsets taken from the stored value.
  kbf::ContainerOptions far;
  far.dataStart = 40;
  file = kbf::WriteContainer(members, far);
  EXPECT_EQ(file.size(), 41u);
  EXPECT_EQ(file[40], 9);
  EXPECT_EQ(kbf::ContainerEntry::Decode(std::span(file).subspan(10)).memberOffset, 0u);

  kbf::ContainerOptions low;
  low.dataStart = 5;
  file = kbf::WriteContainer(members, low);
  EXPECT_EQ(kbf::ContainerEntry::Decode(std::span(file).subspan(10)).memberOffset, 26u);  // 5 + 26 = 31
}

TEST(Members, FamilyNamesCountsAndOrder) {
  kbf::Keyboard kb;
  kb.header.positionY = 5;
  kbf::Panel& panel = kbf::AddPanelOfRows(kb, 0, 0, 236, 80,
                                          {{kbf::MakeKey(20, 20, 1, u"a"), kbf::MakeKey(30, 20, 1, u"b")},
                                           {kbf::MakeKey(50, 25, 18, u"Tab", u"[Tab]")}});
  ASSERT_EQ(panel.placements.size(), 3u);
  EXPECT_EQ(panel.placements[1].x, 20);
  EXPECT_EQ(panel.placements[2].y, 20);
  panel.placements.push_back(panel.placements[0]);  // the same key file twice

  const std::vector<kbf::Member> members = kbf::Members(kb);
  std::vector<std::string> names;
  for (const auto& m : members) names.push_back(kbf::NameText(m.name));
  EXPECT_EQ(names, (std::vector<std::string>{"PNL00001.PNL", "PANEL001.PNL", "KEYS001.KLS", "KEY00001.KEY",
                                              "KEY00002.KEY", "KEY00003.KEY"}));
  // Panel set: header with panelCount 1, then the panel's name.
  ASSERT_EQ(members[0].bytes.size(), 96u + 13u);
  EXPECT_EQ(members[0].bytes[4], 1);
  EXPECT_EQ(members[0].bytes[15], 5);
  EXPECT_EQ(kbf::NameText(kbf::RawMemberName(std::string(members[0].bytes.begin() + 96, members[0].bytes.end()))),
            "PANEL001.PNL");
  // Panel record names its generated key list; the list holds 4 placements.
  EXPECT_EQ(kbf::NameText(kbf::PanelRecord::Decode(members[1].bytes).keyListName), "KEYS001.KLS");
  ASSERT_EQ(members[2].bytes.size(), 8u + 4u * 17u);
  EXPECT_EQ(Hex(std::span(members[2].bytes).first(8)), "00 00 00 00 04 00 00 00");
  EXPECT_EQ(Hex(std::span(members[2].bytes).subspan(8 + 17 * 2, 17)),
            "4b 45 59 30 30 30 30 33 2e 4b 45 59 00 00 00 14 00");

  kb.panelCount = 0;
  kb.panels[0].placementCount = -5;
  const std::vector<kbf::Member> odd = kbf::Members(kb);
  EXPECT_EQ(odd[0].bytes[4], 0);
  EXPECT_EQ(kbf::KeyListHeader::Decode(odd[2].bytes).placementCount, -5);

  kb.panels[0].placements[0].keyFile = "NOPE.KEY";
  EXPECT_THROW(kbf::Members(kb), std::invalid_argument);
}

TEST(Members, ReadBackFromContainerAndLooseFolder) {
  kbf::Keyboard kb;
  kbf::AddPanelOfRows(kb, 1, 2, 100, 40, {{kbf::MakeKey(20, 20, 1, u"a")}});
  kbf::AddPanelOfRows(kb, 3, 4, 100, 40, {{kbf::MakeKey(20, 20, 49, u"xyXZ")}});
  kb.keys.begin()->second.down = 1;
  const auto members = kbf::Members(kb);

  const kbf::Keyboard fromMembers = kbf::ReadKeyboardFromMembers(members);
  EXPECT_EQ(kbf::Members(fromMembers).size(), members.size());
  for (size_t i = 0; i < members.size(); ++i) EXPECT_EQ(kbf::Members(fromMembers)[i].bytes, members[i].bytes);

  const auto dir = std::filesystem::temp_directory_path() / ("kbf_writer_test_" + std::to_string(::getpid()));
  std::filesystem::remove_all(dir);
  kbf::WriteFileBytes(dir / "k.kbf", kbf::WriteContainer(members));
  kbf::WriteLooseFolder(dir / "loose", members);
  EXPECT_TRUE(std::filesystem::exists(dir / "loose" / "PNL00001.PNL"));
  for (const auto& path : {dir / "k.kbf", dir / "loose", dir / "loose" / "PNL00001.PNL"}) {
    const auto again = kbf::Members(kbf::ReadKeyboardAt(path));
    ASSERT_EQ(again.size(), members.size()) << path;
    for (size_t i = 0; i < members.size(); ++i) EXPECT_EQ(again[i].bytes, members[i].bytes) << path;
  }
  std::filesystem::remove_all(dir);
}

}  // namespace

namespace {

TEST(TextConversions, CodePageAndUtf8) {
  // Windows-1252's high row maps to its characters; its undefined bytes to
  // the C1 controls of the same value, so every byte survives.
  EXPECT_EQ(kbf::Cp1252FromUtf16(u"\u20ac\u00e9\u0178"), std::optional<std::string>("\x80\xe9\x9f"));
  EXPECT_EQ(kbf::Utf16FromCp1252("\x80\x81\x9f"), u"\u20ac\u0081\u0178");
  EXPECT_EQ(kbf::Cp1252FromUtf16(u"\u0100"), std::nullopt);
  for (int b = 1; b < 256; ++b) {
    const std::string byte(1, static_cast<char>(b));
    EXPECT_EQ(kbf::Cp1252FromUtf16(kbf::Utf16FromCp1252(byte)), byte) << b;
  }
  EXPECT_EQ(kbf::Utf16FromUtf8("a\xc3\xa9\xf0\x9f\x98\x80"), std::optional<std::u16string>(u"a\u00e9\U0001F600"));
  EXPECT_EQ(kbf::Utf8FromUtf16(u"a\u00e9\U0001F600"), "a\xc3\xa9\xf0\x9f\x98\x80");
  for (const char* bad : {"\xc3", "\xe2\x82", "\x80", "\xc0\xaf", "\xf8\x88\x80\x80\x80"}) {
    EXPECT_EQ(kbf::Utf16FromUtf8(bad), std::nullopt) << bad;
  }
}

}  // namespace

namespace {

TEST(LooseFolder, NamesNeverLeaveTheFolder) {
  const auto dir = std::filesystem::temp_directory_path() / ("kbf_escape_" + std::to_string(::getpid()));
  std::filesystem::remove_all(dir);
  kbf::Keyboard kb;
  kbf::AddPanelOfRows(kb, 0, 0, 50, 20, {{kbf::MakeKey(20, 20, 1, u"a")}});
  kb.panels[0].record.keyListName = kbf::MemberName("../SECRET");
  kbf::WriteFileBytes(dir / "SECRET", {0, 0, 0, 0, 0, 0, 0, 0});
  std::vector<kbf::Member> members = kbf::Members(kb);
  members.erase(members.begin() + 2);  // the list would have to come from outside
  kbf::WriteLooseFolder(dir / "kb", members);
  EXPECT_THROW(kbf::ReadKeyboardAt(dir / "kb"), std::runtime_error);
  EXPECT_THROW(kbf::WriteLooseFolder(dir / "kb", {{kbf::MemberName(".."), {1}}}), std::runtime_error);
  std::filesystem::remove_all(dir);
}

}  // namespace
