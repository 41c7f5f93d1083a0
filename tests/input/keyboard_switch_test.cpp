// The keyboard-file command, tapped on a language tree: the mapped and the
// named form, the reload of the current keyboard when a load fails, the repaint
// and the window that keeps its size.
#include "language/keyboard_selection.h"
#include "language/language_texts.h"
#include "tests/input/scenario_driver.h"
#include "wince/host/message_box.h"
#include "wince/host/text.h"

namespace input_test {
namespace {

constexpr char16_t MAIN_PATH[] = u"\\Program Files\\Tapora SIP\\Lang\\main.kbf";

struct SwitchCase {
  const char* name;
  const char* steps;
  std::vector<std::string> expected;
  const char16_t* languageName;
  const char16_t* layoutFile;
  std::vector<std::string> messages;  // captions of the boxes shown, in order
};

class KeyboardSwitch : public ScenarioTest {
 protected:
  void SetUp() override {
    ScenarioTest::SetUp();
    const std::filesystem::path base = deviceFolder_ / "Program Files" / "Tapora SIP";
    std::filesystem::create_directories(base / "Lang");
    std::filesystem::create_directories(base / "Other");
    kbf::WriteFileBytes(base / "KBF.txt",
                        Bytes("1 \\Program Files\\Tapora SIP\\Lang\\main.kbf\r\n"
                              "2 \\Program Files\\Tapora SIP\\Lang\\b.kbf\r\n"
                              "3 \\Program Files\\Tapora SIP\\Other\\c.kbf\r\n"));
    TestKeyboard main;
    main.Add("Shift", OutputKey(u"[Shift-Down]", TYPE_UTF16, u"Shift"))
        .Add("to3", OutputKey(u"[CMD:NKBF={3}]"))
        .Add("tob", OutputKey(u"[CMD:NKBF=b.kbf]"))
        // All 16 units: the name ends with the field.
        .Add("tonone", OutputKey(u"[CMD:NKBF=no.kbf"))
        .Add("to7", OutputKey(u"[CMD:NKBF={7}]"))
        .Add("m", LabelKey(TYPE_LABEL, "m"));
    WriteKeyboard(base / "Lang" / "main.kbf", main.Model());
    // Smaller keyboards, each with one key at the place of main's first key.
    WriteKeyboard(base / "Lang" / "b.kbf", SmallKeyboard("b"));
    WriteKeyboard(base / "Other" / "c.kbf", SmallKeyboard("c"));
    names_ = main.Names();
    names_["one"] = KeyRef{0, 0};

    tapora::KeyboardSelection = tapora::KeyboardSelectionRecord{};
    std::copy_n(tapora::BASE_FOLDER, lstrlenW(tapora::BASE_FOLDER),
                tapora::KeyboardSelection.baseFolder);
    std::copy_n(u"Lang", 4, tapora::KeyboardSelection.languageName);
    std::copy_n(u"main.kbf", 8, tapora::KeyboardSelection.layoutFile);
    ASSERT_TRUE(LoadPath(MAIN_PATH));
  }

  static std::vector<uint8_t> Bytes(std::string_view text) {
    return std::vector<uint8_t>(text.begin(), text.end());
  }
  static void WriteKeyboard(const std::filesystem::path& file, const kbf::Keyboard& model) {
    kbf::WriteFileBytes(file, kbf::WriteContainer(kbf::Members(model)));
  }
  static kbf::Keyboard SmallKeyboard(std::string_view label) {
    TestKeyboard keyboard;
    keyboard.Add("one", LabelKey(TYPE_LABEL, label));
    keyboard.Model().panels[0].record.width = 60;
    keyboard.Model().panels[0].record.height = 30;
    return keyboard.Model();
  }

  void RunSwitchCases(const std::vector<SwitchCase>& cases) {
    RECT start{};
    GetClientRect(panel_, &start);
    for (const SwitchCase& c : cases) {
      SCOPED_TRACE(c.name);
      if (&c != &cases.front()) {
        TearDown();
        SetUp();
      }
      wince::host::ClearMessageBoxes();
      EXPECT_EQ(Run(c.steps), c.expected) << "steps: " << c.steps;
      EXPECT_EQ(std::u16string(tapora::KeyboardSelection.languageName), c.languageName);
      EXPECT_EQ(std::u16string(tapora::KeyboardSelection.layoutFile), c.layoutFile);
      std::vector<std::string> captions;
      for (const auto& box : wince::host::MessageBoxes())
        captions.push_back(wince::host::Utf8(box.caption));
      EXPECT_EQ(captions, c.messages);
      RECT now{};
      GetClientRect(panel_, &now);
      EXPECT_TRUE(EqualRect(&now, &start)) << "the window changed its size";
      EXPECT_TRUE(ScreenMatchesKeys()) << "the window does not show the keyboard now loaded";
    }
  }
};

TEST_F(KeyboardSwitch, LoadsTheKeyboardTheCommandNames) {
  RunSwitchCases({
      {"entry 3 of the mapping file", "to3 one", {"char 'c' flags 0x80"}, u"Other", u"c.kbf", {}},
      {"a file of the current language", "tob one", {"char 'b' flags 0x80"}, u"Lang", u"b.kbf",
       {}},
      // The keyboard that was current comes back: its first key is Shift.
      {"a missing file", "tonone one m", {"key 16 down", "char 'm' flags 0x80"}, u"Lang",
       u"main.kbf", {"Tapora SIP"}},
      {"a missing entry", "to7 m", {"char 'm' flags 0x80"}, u"Lang", u"main.kbf",
       {"Tapora SIP", "Tapora SIP"}},
      // A load clears the latches; the key held towards the system is released
      // by the next tap's output.
      {"Shift held across a switch", "Shift tob one",
       {"key 16 down", "char 'b' flags 0x80", "key 16 up"}, u"Lang", u"b.kbf", {}},
  });
}

}  // namespace
}  // namespace input_test
