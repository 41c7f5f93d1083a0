// LoadKeyboard end to end: the two attempts and the path rewrite, what a load
// leaves in KeyboardMemory, the window size, and the one failure message with
// the step it names.
#include <gtest/gtest.h>

#include <functional>

#include "apicalls/api_memory.h"

#include "input/shift_state.h"
#include "layout/keyboard_memory.h"
#include "layout/load_keyboard.h"
#include "tests/layout/loader_harness.h"
#include "wince/host/heap.h"
#include "wince/host/message_box.h"

namespace layout_test {
namespace {

constexpr char16_t kKbf[] = u"\\Keyboards\\test.kbf";
constexpr char16_t kFolder[] = u"\\Keyboards";
constexpr char16_t kLooseSet[] = u"\\Keyboards\\PNL00001.PNL";

void ExpectSameKeyboard(const LoadedKeyboard& loaded, const LoadedKeyboard& expected) {
  ASSERT_EQ(loaded.panels.size(), expected.panels.size());
  for (size_t p = 0; p < expected.panels.size(); ++p) {
    SCOPED_TRACE("panel " + std::to_string(p));
    EXPECT_EQ(loaded.panels[p].record, expected.panels[p].record);
    ASSERT_EQ(loaded.panels[p].keys.size(), expected.panels[p].keys.size());
    for (size_t k = 0; k < expected.panels[p].keys.size(); ++k) {
      SCOPED_TRACE("key " + std::to_string(k));
      EXPECT_EQ(loaded.panels[p].keys[k].x, expected.panels[p].keys[k].x);
      EXPECT_EQ(loaded.panels[p].keys[k].y, expected.panels[p].keys[k].y);
      EXPECT_EQ(loaded.panels[p].keys[k].record, expected.panels[p].keys[k].record);
    }
  }
}

kbf::Member* Find(std::vector<kbf::Member>& members, std::string_view name) {
  for (auto& m : members) {
    if (kbf::NameText(m.name) == name) return &m;
  }
  return nullptr;
}

// A keyboard of `panels` panels with no keys, each 100 x (10 + i) pixels.
kbf::Keyboard ManyPanels(size_t panels) {
  kbf::Keyboard keyboard;
  for (size_t i = 0; i < panels; ++i) {
    kbf::AddPanelOfRows(keyboard, 0, 0, 100, static_cast<uint16_t>(10 + i), {});
  }
  return keyboard;
}

using LoadKeyboardTest = LoaderTest;

TEST_F(LoadKeyboardTest, ContainerLoadsEveryRecordInFirstAttempt) {
  kbf::Keyboard keyboard = TwoPanelKeyboard();
  PutContainer(kKbf, kbf::Members(keyboard));

  LoadResult result = Load(kKbf);

  ASSERT_TRUE(result.ok);
  EXPECT_TRUE(MessageTexts().empty());
  EXPECT_EQ(result.path, kKbf);
  EXPECT_EQ(result.height, 80);
  EXPECT_EQ(result.width, 238);
  LoadedKeyboard loaded = WalkKeyboardMemory();
  kbf::PanelSetHeader header = keyboard.header;
  header.panelCount = 2;
  EXPECT_EQ(loaded.header, header.Encode());
  ExpectSameKeyboard(loaded, Expected(keyboard));
  EXPECT_EQ(tapora::SetFolder[0], 0);

  // One block per placement: the key placed twice has two copies, so its
  // `down` byte is per placement.
  const LoadedPanel& second = loaded.panels[1];
  ASSERT_EQ(second.keys.size(), 2u);
  EXPECT_NE(second.keys[0].handle, second.keys[1].handle);
  ASSERT_TRUE(tapora::SetKeyDown(second.keys[0].handle, 1));
  BYTE down = 9;
  ASSERT_TRUE(tapora::KeyDown(second.keys[1].handle, &down));
  EXPECT_EQ(down, 0);
  // Header, array, 2 panels, 6 keys; nothing else stays allocated.
  EXPECT_EQ(loaded.blocks, 10u);
  EXPECT_EQ(wince::host::LiveHeapBlocks(), baselineBlocks_ + 10);
  EXPECT_EQ(tapora::PanelCount(), 2u);
  EXPECT_EQ(tapora::PanelHandle(2), 0u);
  EXPECT_EQ(tapora::PanelHandle(7), 0u);
}

TEST_F(LoadKeyboardTest, MissingFileFallsBackToLoosePanelSetOfItsFolder) {
  kbf::Keyboard keyboard = TwoPanelKeyboard();
  PutLoose(kFolder, kbf::Members(keyboard));

  LoadResult result = Load(u"\\Keyboards\\absent.kbf");

  ASSERT_TRUE(result.ok);
  EXPECT_TRUE(MessageTexts().empty());
  EXPECT_EQ(result.path, kLooseSet);
  EXPECT_EQ(std::u16string(tapora::SetFolder), u"\\Keyboards\\");
  ExpectSameKeyboard(WalkKeyboardMemory(), Expected(keyboard));
  EXPECT_EQ(wince::host::LiveHeapBlocks(), baselineBlocks_ + 10) << "first attempt's array kept";
}

// The folder's panel set would need 262 units: cut at 259 it would name
// another file, so the second attempt fails and the load shows its message.
TEST_F(LoadKeyboardTest, APanelSetNameThatDoesNotFitIsNotOpened) {
  const std::u16string folder =
      u"\\" + std::u16string(100, u'a') + u"\\" + std::u16string(100, u'b') + u"\\" +
      std::u16string(46, u'c');
  ASSERT_EQ(folder.size(), 249u);
  kbf::Keyboard keyboard = TwoPanelKeyboard();
  PutLoose(folder, kbf::Members(keyboard));
  // What the cut name would open: a panel set of its own.
  const std::u16string cut = (folder + u"\\PNL00001.PNL").substr(0, 259);
  std::filesystem::copy_file(Host(folder + u"\\PNL00001.PNL"), Host(cut));

  LoadResult result = Load(folder + u"\\x.kbf");

  EXPECT_FALSE(result.ok);
  EXPECT_EQ(MessageTexts().size(), 1u);
  EXPECT_EQ(result.path, folder + u"\\x.kbf");
}

TEST_F(LoadKeyboardTest, NamedPanelSetFileLoadsTheSetOfItsFolderInstead) {
  kbf::Keyboard folderSet = TwoPanelKeyboard();
  PutLoose(kFolder, kbf::Members(folderSet));
  kbf::Keyboard other = ManyPanels(1);
  PutFile(u"\\Keyboards\\OTHER.PNL", kbf::Members(other)[0].bytes);

  LoadResult result = Load(u"\\Keyboards\\OTHER.PNL");

  ASSERT_TRUE(result.ok);
  EXPECT_EQ(result.path, kLooseSet);
  ExpectSameKeyboard(WalkKeyboardMemory(), Expected(folderSet));
}

TEST_F(LoadKeyboardTest, FilesThatLoadNothingReportWithoutSecondAttempt) {
  // A loadable loose set lies beside each file: a second attempt would load it.
  PutLoose(kFolder, kbf::Members(TwoPanelKeyboard()));
  kbf::Keyboard v2 = ManyPanels(1);
  v2.header.formatVersion = 2;
  PutFile(u"\\Keyboards\\V2.PNL", kbf::Members(v2)[0].bytes);
  kbf::ContainerOptions noSet;
  noSet.hasPanelSet = 0;
  PutContainer(u"\\Keyboards\\noset.kbf", kbf::Members(TwoPanelKeyboard()), noSet);

  for (std::u16string path : {u"\\Keyboards\\V2.PNL", u"\\Keyboards\\noset.kbf"}) {
    SCOPED_TRACE(std::string(path.begin(), path.end()));
    wince::host::ClearMessageBoxes();
    LoadResult result = Load(path, 123, 456);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.path, path);
    EXPECT_EQ(result.height, 123);
    EXPECT_EQ(result.width, 456);
    ASSERT_EQ(wince::host::MessageBoxes().size(), 1u);
    const auto& box = wince::host::MessageBoxes()[0];
    EXPECT_EQ(box.text, LoadErrorText(path));
    EXPECT_EQ(box.caption, u"Tapora SIP");
    EXPECT_EQ(box.type, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
    EXPECT_EQ(box.owner, nullptr);
    EXPECT_EQ(tapora::KeyboardMemory.setHeaderHandle, 0u);
  }
}

TEST_F(LoadKeyboardTest, FailureMessageNamesTheStep) {
  struct Case {
    const char* what;
    std::function<void(std::vector<kbf::Member>&)> edit;
    std::u16string progress;
  };
  std::vector<Case> cases = {
      {"panelCount 0",
       [](std::vector<kbf::Member>& m) { m[0].bytes[4] = 0; },
       u"Reading PNL Panel Files"},
      {"more names promised than stored",
       [](std::vector<kbf::Member>& m) { m[0].bytes[4] = 3; },
       u""},
      {"header mismatch",
       [](std::vector<kbf::Member>& m) { m[0].bytes[1] = 'X'; },
       u"File is incorrect or corrupt (header mismatch)"},
      {"missing panel file",
       [](std::vector<kbf::Member>& m) { Find(m, "PANEL002.PNL")->name = kbf::MemberName("GONE.PNL"); },
       u"PANEL002.PNL"},
      {"missing key list",
       [](std::vector<kbf::Member>& m) { Find(m, "KEYS001.KLS")->name = kbf::MemberName("GONE.KLS"); },
       u"KEYS001.KLS"},
      {"missing key file", [](std::vector<kbf::Member>& m) {
         Find(m, "DOT.KEY")->name = kbf::MemberName("GONE.KEY"); },
       u"DOT.KEY"},
      {"empty panel file",
       [](std::vector<kbf::Member>& m) { Find(m, "PANEL001.PNL")->bytes.clear(); },
       u"PANEL001.PNL"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<kbf::Member> members = kbf::Members(TwoPanelKeyboard());
    c.edit(members);
    std::filesystem::remove_all(Host(kFolder));
    PutLoose(kFolder, members);
    wince::host::ClearMessageBoxes();

    LoadResult result = Load(kLooseSet, 1, 2);

    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.height, 1);
    EXPECT_EQ(result.width, 2);
    EXPECT_EQ(MessageTexts(), std::vector<std::u16string>{LoadErrorText(c.progress)});
  }
}

TEST_F(LoadKeyboardTest, FailedLoadKeepsWhatItLinkedUntilReset) {
  std::vector<kbf::Member> members = kbf::Members(TwoPanelKeyboard());
  members[0].bytes[4] = 3;  // a third panel name that the file does not hold
  PutLoose(kFolder, members);

  EXPECT_FALSE(Load(kLooseSet).ok);
  LoadedKeyboard partial = WalkKeyboardMemory();
  EXPECT_TRUE(partial.hasHeader);
  EXPECT_EQ(partial.panels.size(), 2u);
  EXPECT_EQ(wince::host::LiveHeapBlocks(), baselineBlocks_ + partial.blocks);
  tapora::ResetKeyboard();
  EXPECT_EQ(tapora::KeyboardMemory.setHeaderHandle, 0u);
  EXPECT_EQ(tapora::KeyboardMemory.panelArrayHandle, 0u);
}

TEST_F(LoadKeyboardTest, SetFileEndingInsideItsLastNameLoadsThePanelsBefore) {
  kbf::Keyboard keyboard = TwoPanelKeyboard();
  std::vector<kbf::Member> members = kbf::Members(keyboard);
  members[0].bytes.resize(96 + 13 + 5);
  PutLoose(kFolder, members);
  // In a container the set is the last member, so the file ends there too.
  std::vector<kbf::Member> reordered(members.begin() + 1, members.end());
  reordered.push_back(members[0]);
  PutContainer(kKbf, reordered);

  kbf::Keyboard firstOnly = keyboard;
  firstOnly.panels.resize(1);
  for (std::u16string path : {std::u16string(kLooseSet), std::u16string(kKbf)}) {
    SCOPED_TRACE(std::string(path.begin(), path.end()));
    LoadResult result = Load(path);
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(result.width, 238);
    ExpectSameKeyboard(WalkKeyboardMemory(), Expected(firstOnly));
  }
}

TEST_F(LoadKeyboardTest, OnlyNameReadShortLoadsNoPanelAndFails) {
  kbf::Keyboard keyboard = ManyPanels(1);
  std::vector<kbf::Member> members = kbf::Members(keyboard);
  members[0].bytes.resize(96 + 4);
  PutLoose(kFolder, members);

  LoadResult result = Load(kLooseSet, 7, 8);

  EXPECT_FALSE(result.ok);
  EXPECT_EQ(result.height, 7);
  EXPECT_EQ(MessageTexts().size(), 1u);
}

TEST_F(LoadKeyboardTest, ThreeHundredAndOnePanelsLoadAndOneMoreFails) {
  PutContainer(kKbf, kbf::Members(ManyPanels(301)));
  LoadResult result = Load(kKbf);
  ASSERT_TRUE(result.ok);
  EXPECT_EQ(result.height, 10);
  LoadedKeyboard loaded = WalkKeyboardMemory();
  ASSERT_EQ(loaded.panels.size(), 301u);
  EXPECT_EQ(kbf::PanelRecord::Decode(loaded.panels[300].record).height, 310);

  PutLoose(kFolder, kbf::Members(ManyPanels(302)));
  result = Load(kLooseSet);
  EXPECT_FALSE(result.ok);
  EXPECT_EQ(MessageTexts(), std::vector<std::u16string>{LoadErrorText(u"Panel Array Management")});
  EXPECT_EQ(WalkKeyboardMemory().panels.size(), 301u);
}

TEST_F(LoadKeyboardTest, PanelRecordsAsHeld) {
  kbf::Keyboard keyboard = TwoPanelKeyboard();
  keyboard.panels[0].record.keyCount = 5;  // stored count other than 0
  keyboard.panels[1].placementCount = 0;   // placements stored but not counted
  kbf::AddPanelOfRows(keyboard, 3, 4, 50, 60, {{kbf::MakeKey(5, 5, 1, u"x")}});
  keyboard.panels[2].placementCount = INT32_MIN;
  PutContainer(kKbf, kbf::Members(keyboard));

  ASSERT_TRUE(Load(kKbf).ok);
  LoadedKeyboard loaded = WalkKeyboardMemory();
  ASSERT_EQ(loaded.panels.size(), 3u);
  EXPECT_EQ(loaded.panels[0].keys.size(), 4u);
  EXPECT_EQ(kbf::PanelRecord::Decode(loaded.panels[0].record).keyCount, 4u);
  EXPECT_TRUE(loaded.panels[1].keys.empty());
  EXPECT_TRUE(loaded.panels[2].keys.empty());
  kbf::PanelRecord third = kbf::PanelRecord::Decode(loaded.panels[2].record);
  EXPECT_EQ(third.left, 3);
  EXPECT_EQ(third.top, 4);
  EXPECT_EQ(third.keyCount, 0u);
}

TEST_F(LoadKeyboardTest, ShortKeyFileArrivesZeroFilled) {
  kbf::Keyboard keyboard = TwoPanelKeyboard();
  std::vector<kbf::Member> members = kbf::Members(keyboard);
  kbf::Member* dot = Find(members, "DOT.KEY");
  std::vector<uint8_t> full = dot->bytes;
  dot->bytes.resize(40);
  PutLoose(kFolder, members);

  ASSERT_TRUE(Load(kLooseSet).ok);
  LoadedKeyboard loaded = WalkKeyboardMemory();
  std::vector<uint8_t> expected(full.begin(), full.begin() + 40);
  expected.resize(71, 0);
  EXPECT_EQ(loaded.panels[1].keys[0].record, expected);
  EXPECT_EQ(loaded.panels[1].keys[1].record, expected);
}

TEST_F(LoadKeyboardTest, NamesFillingTheirFieldEndAtTheField) {
  // 13-byte names with no NUL, the second set name right after the first.
  kbf::Keyboard keyboard = TwoPanelKeyboard();
  keyboard.panels[0].fileName = "PANELNAME.PNL";
  keyboard.panels[1].fileName = "SECONDPANEL.P";
  keyboard.panels[1].record.keyListName = kbf::RawMemberName("THIRTEENCHARS");
  PutContainer(kKbf, kbf::Members(keyboard));
  PutLoose(kFolder, kbf::Members(keyboard));

  for (std::u16string path : {std::u16string(kKbf), std::u16string(kLooseSet)}) {
    SCOPED_TRACE(std::string(path.begin(), path.end()));
    ASSERT_TRUE(Load(path).ok);
    ExpectSameKeyboard(WalkKeyboardMemory(), Expected(keyboard));
  }
}

TEST_F(LoadKeyboardTest, LeadingBackslashAloneGivesEmptySetFolder) {
  kbf::Keyboard keyboard = TwoPanelKeyboard();
  PutLoose(u"\\", kbf::Members(keyboard));

  LoadResult result = Load(u"\\nothing.kbf");

  ASSERT_TRUE(result.ok);
  EXPECT_EQ(result.path, u"\\PNL00001.PNL");
  EXPECT_EQ(tapora::SetFolder[0], 0);
  ExpectSameKeyboard(WalkKeyboardMemory(), Expected(keyboard));
}

TEST_F(LoadKeyboardTest, PathWithoutFolderBecomesBareSetName) {
  PutLoose(u"\\", kbf::Members(TwoPanelKeyboard()));
  LoadResult result = Load(u"nothing.kbf");
  ASSERT_TRUE(result.ok);
  EXPECT_EQ(result.path, u"PNL00001.PNL");
}

TEST_F(LoadKeyboardTest, ReloadStartsFromScratch) {
  kbf::Keyboard keyboard = TwoPanelKeyboard();
  PutContainer(kKbf, kbf::Members(keyboard));
  ASSERT_TRUE(Load(kKbf).ok);
  LoadedKeyboard first = WalkKeyboardMemory();
  ASSERT_TRUE(tapora::SetKeyDown(first.panels[0].keys[0].handle, 1));
  tapora::ShiftState = tapora::SS_SHIFT | tapora::SS_CAPS;

  ASSERT_TRUE(Load(kKbf).ok);

  EXPECT_EQ(tapora::ShiftState, 0);
  EXPECT_EQ(wince::host::LiveHeapBlocks(), baselineBlocks_ + first.blocks);
  ExpectSameKeyboard(WalkKeyboardMemory(), Expected(keyboard));
}

TEST_F(LoadKeyboardTest, CleanupReportsAFailedFreeAndGoesOn) {
  PutContainer(kKbf, kbf::Members(TwoPanelKeyboard()));
  ASSERT_TRUE(Load(kKbf).ok);
  LoadedKeyboard loaded = WalkKeyboardMemory();
  // Free one key behind the loader's back: its free in CleanupMemory fails.
  tapora::api::Free(loaded.panels[0].keys[1].handle);

  EXPECT_TRUE(tapora::CleanupMemory());

  ASSERT_EQ(wince::host::MessageBoxes().size(), 1u);
  EXPECT_EQ(wince::host::MessageBoxes()[0].text, u"Memory Error, Key Block");
  EXPECT_EQ(wince::host::MessageBoxes()[0].caption, u"CleanupMemory");
  EXPECT_EQ(wince::host::MessageBoxes()[0].type, static_cast<UINT>(MB_OK));
  EXPECT_EQ(tapora::KeyboardMemory.setHeaderHandle, 0u);
  EXPECT_EQ(tapora::KeyboardMemory.panelArrayHandle, 0u);
  EXPECT_EQ(wince::host::LiveHeapBlocks(), baselineBlocks_);

  wince::host::ClearMessageBoxes();
  tapora::KeyboardMemory.setHeaderHandle = 0x7FFFFFF0;
  EXPECT_TRUE(tapora::CleanupMemory());
  EXPECT_EQ(MessageTexts(), std::vector<std::u16string>{u"Memory Error, PNL Block"});
  EXPECT_EQ(tapora::KeyboardMemory.setHeaderHandle, 0u);
}

}  // namespace
}  // namespace layout_test
