// The KBF mapping file: entries by number, the messages for a missing file
// or entry, and lines that do not fit the buffer.
#include <string>

#include "language/kbf_map.h"
#include "language/keyboard_selection.h"
#include "language/language_texts.h"
#include "tests/language/language_fixture.h"
#include "wince/host/text.h"

namespace language_test {
namespace {

const std::string kEntryMissing = "Tapora SIP|The KBF Specified could not be found|48\n";

class KbfMapTest : public LanguageTest {
 protected:
  // Lines 1 to count, each "n path" with CR LF, entry n naming "\kbd<n>.kbf".
  void WriteNumberedMap(int count) {
    std::string text;
    for (int n = 1; n <= count; ++n) text += std::to_string(n) + " \\kbd" + std::to_string(n) + ".kbf\r\n";
    WriteBytes(std::string(kBaseFolder) + "/KBF.txt", text);
  }
  std::string Entry(int n) {
    WCHAR destination[tapora::PATH_UNITS + 8];
    for (WCHAR& unit : destination) unit = u'#';
    tapora::ReadKbfMapEntry(destination, tapora::BASE_FOLDER, n);
    for (int i = tapora::PATH_UNITS; i < tapora::PATH_UNITS + 8; ++i) EXPECT_EQ(destination[i], u'#');
    return wince::host::Utf8(destination);
  }
};

TEST_F(KbfMapTest, EntriesOneToNineSkipTwoCharactersTenToNinetyNineThree) {
  std::string text;
  for (int n = 1; n <= 11; ++n) text += std::to_string(n) + " \\Program Files\\Tapora SIP\\English\\k" + std::to_string(n) + ".kbf\r\n";
  text += "12=\\Program Files\\Tapora SIP\\Deutsch\\qwertz.kbf";  // no line end at the end of the file
  WriteBytes(std::string(kBaseFolder) + "/KBF.txt", text);

  EXPECT_EQ(Entry(3), "\\Program Files\\Tapora SIP\\English\\k3.kbf");
  EXPECT_EQ(Entry(10), "\\Program Files\\Tapora SIP\\English\\k10.kbf");
  EXPECT_EQ(Entry(12), "\\Program Files\\Tapora SIP\\Deutsch\\qwertz.kbf");
  EXPECT_EQ(MessageLog(), "");
}

TEST_F(KbfMapTest, MissingEntriesShowAMessageAndGiveNothing) {
  WriteNumberedMap(3);
  EXPECT_EQ(Entry(4), "");
  EXPECT_EQ(Entry(0), "");
  EXPECT_EQ(Entry(-7), "");
  // A number far past the end of the file answers at once.
  EXPECT_EQ(Entry(2000000000), "");
  EXPECT_EQ(MessageLog(), kEntryMissing + kEntryMissing + kEntryMissing + kEntryMissing);
}

TEST_F(KbfMapTest, MissingFileShowsItsOwnMessage) {
  EXPECT_EQ(Entry(1), "");
  EXPECT_EQ(MessageLog(), "Tapora SIP|The KBF mapping file could not be openned|48\n");
}

TEST_F(KbfMapTest, NumbersFromOneHundredAreNotUsable) {
  WriteNumberedMap(100);
  EXPECT_EQ(Entry(99), "\\kbd99.kbf");
  EXPECT_EQ(Entry(100), "");
  EXPECT_EQ(MessageLog(), "");  // the line exists, so there is no message
  WriteNumberedMap(99);
  EXPECT_EQ(Entry(100), "");
  EXPECT_EQ(MessageLog(), kEntryMissing);
}

TEST_F(KbfMapTest, LinesNoLongerThanTheNumberGiveNothing) {
  WriteBytes(std::string(kBaseFolder) + "/KBF.txt", "1\r\n2 \r\n\r\n");
  EXPECT_EQ(Entry(1), "");
  EXPECT_EQ(Entry(2), "");
  EXPECT_EQ(Entry(3), "");  // a blank line still holds its line feed
  EXPECT_EQ(MessageLog(), "");
  EXPECT_EQ(Entry(4), "");
  EXPECT_EQ(MessageLog(), kEntryMissing);
}

TEST_F(KbfMapTest, OverlongLineIsCutAndTheNumberingHolds) {
  std::string longPath = "\\" + std::string(400, 'p') + ".kbf";
  WriteBytes(std::string(kBaseFolder) + "/KBF.txt", "1 " + longPath + "\r\n2 \\next.kbf\r\n");

  EXPECT_EQ(Entry(1), longPath.substr(0, 257));  // 259 units read, 2 skipped
  EXPECT_EQ(Entry(2), "\\next.kbf");

  // A line that exactly fills the buffer leaves only its line feed behind.
  std::string fullPath = "\\" + std::string(252, 'f') + ".kbf";  // 257 units
  WriteBytes(std::string(kBaseFolder) + "/KBF.txt", "1 " + fullPath + "\r\n2 \\next.kbf\r\n");
  EXPECT_EQ(Entry(1), fullPath);
  EXPECT_EQ(Entry(2), "\\next.kbf");
  EXPECT_EQ(MessageLog(), "");
}

}  // namespace
}  // namespace language_test
