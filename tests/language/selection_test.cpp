// First use of the language tree in a process: the selection built from the
// "info" files, the defaults written back where they are missing, and the
// keyboard path built from the names afterwards.
#include <string>

#include "language/keyboard_selection.h"
#include "tests/language/language_fixture.h"
#include "wince/host/message_box.h"
#include "wince/host/text.h"

namespace language_test {
namespace {

using tapora::BuildKeyboardPath;
using tapora::KeyboardSelection;

const std::string kMissingInfo = "Error Loading File|Missing \"info\" file|16\n";

std::string Utf8(const WCHAR* text) { return wince::host::Utf8(text); }

TEST_F(LanguageTest, FirstUseWithoutInfoFilesWritesBothDefaults) {
  MakeFolder(std::string(kBaseFolder) + "/Keyboard");

  EXPECT_EQ(Utf8(BuildKeyboardPath()), "\\Program Files\\Tapora SIP\\Keyboard\\keyboard.kbf");

  EXPECT_EQ(MessageLog(), kMissingInfo + kMissingInfo);
  // Bare names, no line end: the form the next process reads back.
  EXPECT_EQ(ReadBytes(std::string(kBaseFolder) + "/info"), "Keyboard");
  EXPECT_EQ(ReadBytes(std::string(kBaseFolder) + "/Keyboard/info"), "keyboard.kbf");
  EXPECT_EQ(Utf8(KeyboardSelection.baseFolder), "\\Program Files\\Tapora SIP");
  EXPECT_EQ(Utf8(KeyboardSelection.languageName), "Keyboard");
  EXPECT_EQ(Utf8(KeyboardSelection.layoutFile), "keyboard.kbf");
  EXPECT_EQ(KeyboardSelection.windowHeight, 10);
  EXPECT_EQ(KeyboardSelection.windowWidth, 10);

  // The next process finds the defaults and says nothing.
  wince::host::ClearMessageBoxes();
  KeyboardSelection = tapora::KeyboardSelectionRecord{};
  EXPECT_EQ(Utf8(BuildKeyboardPath()), "\\Program Files\\Tapora SIP\\Keyboard\\keyboard.kbf");
  EXPECT_EQ(MessageLog(), "");
}

TEST_F(LanguageTest, ExistingDefaultsAreReadAndNothingIsWritten) {
  // Names compare without regard to case, as on the device.
  WriteBytes(std::string(kBaseFolder) + "/info", "English");
  WriteBytes(std::string(kBaseFolder) + "/english/INFO", "compact.kbf");

  EXPECT_EQ(Utf8(BuildKeyboardPath()), "\\Program Files\\Tapora SIP\\English\\compact.kbf");
  EXPECT_EQ(MessageLog(), "");
  EXPECT_EQ(ReadBytes(std::string(kBaseFolder) + "/info"), "English");
  EXPECT_EQ(ReadBytes(std::string(kBaseFolder) + "/english/INFO"), "compact.kbf");
}

TEST_F(LanguageTest, InfoLineIsTakenAsReadWithItsLineFeed) {
  WriteBytes(std::string(kBaseFolder) + "/info", "Fran\xE7" "ais\r\nsecond line\r\n");
  WriteBytes(std::string(kBaseFolder) + "/Fran\xC3\xA7" "ais/info", "azerty.kbf");

  BuildKeyboardPath();
  // The first line only, in the system code page, its line end kept as LF.
  EXPECT_EQ(Utf8(KeyboardSelection.languageName), "Fran\xC3\xA7" "ais\n");
}

TEST_F(LanguageTest, MissingBaseFolderUsesTheDefaultsForThisProcessOnly) {
  EXPECT_EQ(Utf8(BuildKeyboardPath()), "\\Program Files\\Tapora SIP\\Keyboard\\keyboard.kbf");
  // Each read and each failed write shows the same message.
  EXPECT_EQ(MessageLog(), kMissingInfo + kMissingInfo + kMissingInfo + kMissingInfo);
  EXPECT_FALSE(Exists(kBaseFolder));
}

TEST_F(LanguageTest, LaterPathsComeFromTheNamesWithoutRereading) {
  WriteBytes(std::string(kBaseFolder) + "/info", "English");
  WriteBytes(std::string(kBaseFolder) + "/English/info", "compact.kbf");
  BuildKeyboardPath();
  std::filesystem::remove_all(Host(kBaseFolder));

  // A keyboard switched to a file directly in the base folder.
  KeyboardSelection.languageName[0] = 0;
  EXPECT_EQ(Utf8(BuildKeyboardPath()), "\\Program Files\\Tapora SIP\\compact.kbf");
  EXPECT_EQ(MessageLog(), "");
}

TEST_F(LanguageTest, OverlongNamesAreCutAtTheBufferEnd) {
  // A 300-character first line: the language name keeps 259 of them.
  WriteBytes(std::string(kBaseFolder) + "/info", std::string(300, 'L'));

  LPWSTR path = BuildKeyboardPath();

  EXPECT_EQ(Utf8(KeyboardSelection.languageName), std::string(259, 'L'));
  // The language folder's path does not fit, so its "info" is neither read
  // nor written under a cut name; the default layout is used.
  EXPECT_EQ(MessageLog(), kMissingInfo + kMissingInfo);
  EXPECT_EQ(Utf8(KeyboardSelection.layoutFile), "keyboard.kbf");
  std::string expected = "\\Program Files\\Tapora SIP\\" + std::string(259, 'L');
  EXPECT_EQ(Utf8(path), expected.substr(0, 259));
  EXPECT_EQ(KeyboardSelection.windowHeight, 10);  // the record after the path is intact
  int entries = 0;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(device_)) {
    entries += entry.is_regular_file();
  }
  EXPECT_EQ(entries, 1);  // only the base folder's own "info"
}

TEST_F(LanguageTest, PathOfExactlyTheLimitIsKept) {
  // base folder (25) + "\" + language + "\" + "k.kbf" (5) = 259 units.
  std::string language(259 - 25 - 1 - 1 - 5, 'x');
  WriteBytes(std::string(kBaseFolder) + "/info", language);
  WriteBytes(std::string(kBaseFolder) + "/" + language + "/info", "k.kbf");

  std::string path = Utf8(BuildKeyboardPath());

  EXPECT_EQ(path.size(), 259u);
  EXPECT_EQ(path, "\\Program Files\\Tapora SIP\\" + language + "\\k.kbf");
  EXPECT_EQ(MessageLog(), "");
}

}  // namespace
}  // namespace language_test
