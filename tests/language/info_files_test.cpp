// Failures of the "info" files themselves: a read or a write that fails
// after the file was opened is reported like a missing file.
#include "language/info_files.h"
#include "language/keyboard_selection.h"
#include "language/language_texts.h"
#include "tests/language/language_fixture.h"
#include "wince/host/faults.h"
#include "wince/host/text.h"

namespace language_test {
namespace {

const std::string kMissingInfo = "Error Loading File|Missing \"info\" file|16\n";

TEST_F(LanguageTest, ReadFailureIsReportedAndGivesAnEmptyName) {
  WriteBytes(std::string(kBaseFolder) + "/info", "English");
  WCHAR name[tapora::PATH_UNITS] = u"stale";

  wince::host::FailNthCall(wince::host::Call::ReadFile, 1);
  LPCWSTR result = tapora::ReadInfoFile(name, tapora::BASE_FOLDER);
  wince::host::ClearFaults();

  EXPECT_EQ(result, name);
  EXPECT_EQ(wince::host::Utf8(name), "");
  EXPECT_EQ(MessageLog(), kMissingInfo);
}

TEST_F(LanguageTest, MissingFileLeavesTheDestinationAsItWas) {
  WCHAR name[tapora::PATH_UNITS] = u"stale";
  LPCWSTR result = tapora::ReadInfoFile(name, tapora::BASE_FOLDER);
  EXPECT_EQ(wince::host::Utf8(result), "");
  EXPECT_EQ(wince::host::Utf8(name), "stale");
  EXPECT_EQ(MessageLog(), kMissingInfo);
}

TEST_F(LanguageTest, NameTheCodePageCannotHoldIsNotReportedAsWritten) {
  MakeFolder(kBaseFolder);
  EXPECT_TRUE(tapora::WriteInfoFile(tapora::BASE_FOLDER, u"Fran\u00e7ais"));
  EXPECT_EQ(ReadBytes(std::string(kBaseFolder) + "/info"), "Fran\xE7" "ais");
  EXPECT_EQ(MessageLog(), "");

  EXPECT_FALSE(tapora::WriteInfoFile(tapora::BASE_FOLDER, u"\u0395\u03bb\u03bb\u03b7\u03bd\u03b9\u03ba\u03ac"));
  EXPECT_EQ(MessageLog(), kMissingInfo);
}

}  // namespace
}  // namespace language_test
