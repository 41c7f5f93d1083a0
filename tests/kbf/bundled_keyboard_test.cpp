// The bundled English keyboard: it loads with the system's loader into a
// 240 x 80 window, its keys cover the panel without gaps, the letters,
// punctuation and special keys produce what a QWERTY keyboard types, the
// glyph keys leave their glyphs room, and the build put the same bytes into
// the device folder.
#include <gtest/gtest.h>

#include <set>

#include <windows.h>

#include "input/modifier_state.h"
#include "input/output_selection.h"
#include "input/shift_state.h"
#include "tests/kbf/temp_folder.h"
#include "tools/kbf/cli/commands.h"
#include "tools/kbf/cli/system_load.h"
#include "tools/kbf/source/source.h"
#include "tools/kbf/writer/kbf_writer.h"

namespace {

const std::filesystem::path kSource = std::filesystem::path(KBF_BUNDLED_SOURCES) / "Keyboard" / "keyboard.yaml";

class BundledKeyboard : public ::testing::Test {
 protected:
  void SetUp() override {
    keyboard_ = kbf::LoadSourceFile(kSource);
    kbf::WriteFileBytes(folder_.path() / "keyboard.kbf", kbf::WriteContainer(kbf::Members(keyboard_)));
  }
  std::string File() const { return (folder_.path() / "keyboard.kbf").string(); }

  // The text the system selects for a key under a modifier state.
  static std::u16string Selected(const kbf::KeyRecord& key, WORD shiftState) {
    const std::vector<uint8_t> bytes = key.Encode();
    WCHAR text[tapora::KEY_TEXT_SIZE] = {};
    const WORD saved = tapora::ShiftState;
    tapora::ShiftState = shiftState;
    tapora::SelectKeyOutput(bytes.data(), text);
    tapora::ShiftState = saved;
    return std::u16string(text);
  }

  kbf_test::TempFolder folder_;
  kbf::Keyboard keyboard_;
};

TEST_F(BundledKeyboard, LoadsAsA240By80WindowWithNoFindings) {
  const kbf::SystemLoad load = kbf::LoadWithSystem(File());
  ASSERT_TRUE(load.ok) << (load.messages.empty() ? "" : load.messages.back());
  EXPECT_EQ(load.width, 240);
  EXPECT_EQ(load.height, 80);
  EXPECT_TRUE(load.messages.empty());
  EXPECT_EQ(kbf::KeyboardFindings(File()), std::vector<std::string>{});

  // No overlaps (no findings) and as much key area as panel area: no gaps.
  uint32_t area = 0;
  for (const kbf::Placement& p : keyboard_.panels.at(0).placements) {
    const kbf::KeyRecord& key = keyboard_.keys.at(p.keyFile);
    area += uint32_t{key.width} * key.height;
  }
  EXPECT_EQ(area, 238u * 80u);
}

TEST_F(BundledKeyboard, KeysTypeWhatTheyShow) {
  std::map<std::u16string, size_t> specials;
  std::set<char16_t> letters;
  for (const kbf::Placement& p : keyboard_.panels.at(0).placements) {
    const kbf::KeyRecord& key = keyboard_.keys.at(p.keyFile);
    const std::u16string plain = Selected(key, 0);
    if (key.keyType == 33) {
      ASSERT_EQ(plain.size(), 1u);
      const char16_t upper = static_cast<char16_t>(plain[0] - u'a' + u'A');
      EXPECT_EQ(Selected(key, tapora::SS_SHIFT), std::u16string(1, upper));
      EXPECT_EQ(Selected(key, tapora::SS_CAPS), std::u16string(1, upper));
      EXPECT_EQ(Selected(key, tapora::SS_CAPS | tapora::SS_SHIFT), plain);
      letters.insert(plain[0]);
    } else if (key.keyType == 1) {
      // Punctuation: Caps Lock leaves it alone.
      ASSERT_EQ(plain.size(), 1u) << key.Label8();
      EXPECT_EQ(Selected(key, tapora::SS_CAPS), plain);
      EXPECT_EQ(Selected(key, tapora::SS_SHIFT).size(), 1u);
      EXPECT_NE(Selected(key, tapora::SS_SHIFT), plain);
    } else {
      ASSERT_TRUE(key.keyType == 18 || key.keyType == 5) << int{key.keyType};
      ++specials[key.OutputText()];
    }
  }
  EXPECT_EQ(letters.size(), 26u);
  // The symbols layout is named in the command itself: its name runs to the
  // end of the output field.
  const std::map<std::u16string, size_t> expected = {
      {u"[Back]", 1},      {u"[Tab]", 1},       {u"[Caps]", 1},     {u"[Enter]", 1},
      {u"[Shift-Down]", 1}, {u"[Ctrl-Down]", 1}, {u"[Alt-Down]", 1}, {u" ", 1},
      {u"[Left]", 1},      {u"[Up]", 1},        {u"[Down]", 1},     {u"[Right]", 1},
      {u"[CMD:NKBF=sy.kbf", 1}};
  EXPECT_EQ(specials, expected);

  // The modifier keys are recognised as such by their whole output.
  size_t modifiers = 0;
  for (const auto& [name, key] : keyboard_.keys) {
    const std::vector<uint8_t> bytes = key.Encode();
    if (tapora::GetModifierKind(bytes.data()) != 0) ++modifiers;
  }
  EXPECT_EQ(modifiers, 4u);
}

// A glyph is drawn in the key less 8 pixels at each side and 7 at top and
// bottom; the arrows and the space bar's bar get at least 16 x 16 of it. The
// space bar wears the stock face.
TEST_F(BundledKeyboard, GlyphKeysGiveTheirGlyphsRoom) {
  std::set<std::u16string> glyphs;
  for (const auto& [name, key] : keyboard_.keys) {
    const std::string label8 = key.Label8();  // ASCII is all a glyph name holds
    const std::u16string label =
        kbf::IsUtf16KeyType(key.keyType) ? key.LabelText() : std::u16string(label8.begin(), label8.end());
    if (label.rfind(u"{NQX", 0) != 0) continue;
    glyphs.insert(label);
    EXPECT_GE(key.width - 16, 16) << name;
    EXPECT_GE(key.height - 14, 16) << name;
    if (label == u"{NQXM}") {
      EXPECT_EQ(key.keyType, 5) << name;
    }
  }
  EXPECT_EQ(glyphs, (std::set<std::u16string>{u"{NQXL", u"{NQXU", u"{NQXD", u"{NQXR", u"{NQXM}"}));
}

TEST_F(BundledKeyboard, DumpRebuildsTheSameFile) {
  const kbf::Keyboard read = kbf::ReadKeyboardAt(File());
  const kbf::Keyboard again = kbf::ParseSource(kbf::DumpSource(read), "dump.yaml");
  EXPECT_EQ(kbf::WriteContainer(kbf::Members(again)), kbf::ReadFileBytes(File()));
}

#ifdef TAPORA_DEVICE_DIR
TEST_F(BundledKeyboard, BuildPutItIntoTheDeviceFolder) {
  const std::filesystem::path built =
      std::filesystem::path(TAPORA_DEVICE_DIR) / "Program Files" / "Tapora SIP" / "Keyboard" / "keyboard.kbf";
  ASSERT_TRUE(std::filesystem::exists(built)) << built;
  EXPECT_EQ(kbf::ReadFileBytes(built), kbf::ReadFileBytes(File()));
}
#endif

}  // namespace
