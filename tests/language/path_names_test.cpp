// Taking paths apart and putting them together: file and language names of
// a path, display names of layouts, and the 260-unit limit of every buffer.
#include <gtest/gtest.h>

#include <string>

#include "language/keyboard_selection.h"
#include "language/path_names.h"
#include "wince/host/text.h"

namespace {

using wince::host::Utf8;

const std::u16string kBase = u"\\Program Files\\Tapora SIP";

// A destination of PATH_UNITS units followed by guard units that must stay.
struct Buffer {
  WCHAR units[tapora::PATH_UNITS + 8];
  Buffer() {
    for (WCHAR& unit : units) unit = u'#';
  }
  std::string Text() const {
    for (int i = tapora::PATH_UNITS; i < tapora::PATH_UNITS + 8; ++i) EXPECT_EQ(units[i], u'#');
    return Utf8(units);
  }
};

std::string FileName(const std::u16string& path) {
  Buffer out;
  tapora::FileNameOfPath(out.units, path.c_str());
  return out.Text();
}

std::string Language(const std::u16string& path, const std::u16string& file) {
  Buffer out;
  tapora::LanguageOfPath(out.units, path.c_str(), kBase.c_str(), file.c_str());
  return out.Text();
}

TEST(PathNames, FileNameIsWhatFollowsTheLastBackslash) {
  EXPECT_EQ(FileName(u"\\Program Files\\Tapora SIP\\English\\compact.kbf"), "compact.kbf");
  EXPECT_EQ(FileName(u"\\compact.kbf"), "compact.kbf");
  EXPECT_EQ(FileName(u"compact.kbf"), "compact.kbf");
  EXPECT_EQ(FileName(u"\\Keyboards\\"), "");
}

TEST(PathNames, LanguageIsTheFolderBetweenBaseAndFile) {
  EXPECT_EQ(Language(kBase + u"\\English\\compact.kbf", u"compact.kbf"), "English");
  EXPECT_EQ(Language(kBase + u"\\English\\Small\\compact.kbf", u"compact.kbf"), "English\\Small");
  // The file system ignores case, and so does the comparison with the base.
  EXPECT_EQ(Language(u"\\PROGRAM FILES\\tapora sip\\English\\compact.kbf", u"compact.kbf"), "English");
  // A file directly in the base folder has no language.
  EXPECT_EQ(Language(kBase + u"\\compact.kbf", u"compact.kbf"), "");
}

TEST(PathNames, PathsOutsideTheBaseFolderHaveNoLanguage) {
  EXPECT_EQ(Language(u"\\Windows\\Keyboards\\English\\compact.kbf", u"compact.kbf"), "");
  EXPECT_EQ(Language(kBase + u"X\\English\\compact.kbf", u"compact.kbf"), "");
  // Too short for the positions the names call for.
  EXPECT_EQ(Language(u"\\a.kbf", u"a.kbf"), "");
  EXPECT_EQ(Language(u"", u"compact.kbf"), "");
  EXPECT_EQ(Language(kBase, u""), "");
}

TEST(PathNames, DisplayNameAndFileNameRoundTrip) {
  Buffer display;
  Buffer file;
  tapora::LayoutDisplayName(display.units, u"keyboard.kbf");
  EXPECT_EQ(display.Text(), "keyboard");
  tapora::LayoutFileName(file.units, display.units);
  EXPECT_EQ(file.Text(), "keyboard.kbf");

  tapora::LayoutDisplayName(display.units, u".kbf");
  EXPECT_EQ(display.Text(), "");
  tapora::LayoutDisplayName(display.units, u"abc");
  EXPECT_EQ(display.Text(), "");
  // The same buffer may be source and destination.
  tapora::LayoutDisplayName(file.units, file.units);
  EXPECT_EQ(file.Text(), "keyboard");
}

TEST(PathNames, EveryResultIsCutAtTheBufferEnd) {
  std::u16string longName(300, u'n');
  Buffer out;
  tapora::LayoutFileName(out.units, std::u16string(257, u'n').c_str());
  EXPECT_EQ(out.Text(), std::string(257, 'n') + ".k");
  tapora::LayoutFileName(out.units, longName.c_str());
  EXPECT_EQ(out.Text(), std::string(259, 'n'));
  tapora::LayoutDisplayName(out.units, longName.c_str());
  EXPECT_EQ(out.Text(), std::string(259, 'n'));
  EXPECT_EQ(FileName(u"\\" + longName), std::string(259, 'n'));
  EXPECT_EQ(Language(kBase + u"\\" + longName + u"\\a.kbf", u"a.kbf"), std::string(259, 'n'));

  // JoinPath says whether the whole path fit: 259 units do, 260 do not.
  std::u16string folder(200, u'f');
  EXPECT_TRUE(tapora::JoinPath(out.units, folder.c_str(), std::u16string(58, u'a').c_str()));
  EXPECT_EQ(out.Text().size(), 259u);
  EXPECT_FALSE(tapora::JoinPath(out.units, folder.c_str(), std::u16string(59, u'a').c_str()));
  EXPECT_EQ(out.Text(), std::string(200, 'f') + "\\" + std::string(58, 'a'));
  EXPECT_FALSE(tapora::JoinPath(out.units, longName.c_str(), u"x"));
  EXPECT_EQ(out.Text(), std::string(259, 'n'));
}

}  // namespace
