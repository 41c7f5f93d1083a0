// Conformance of FindFirstFileW / FindNextFileW / FindClose on the device folder.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include <windows.h>

#include "tests/wince/kernel/device_fixture.h"
#include "wince/host/text.h"

namespace {

using FindFileTest = DeviceFolderTest;

// The names a search returns, in order; the search is closed again.
std::vector<std::string> FindAll(LPCWSTR pattern, DWORD* error = nullptr) {
  std::vector<std::string> names;
  WIN32_FIND_DATAW data;
  SetLastError(0xdeadbeef);
  HANDLE h = FindFirstFileW(pattern, &data);
  if (h == INVALID_HANDLE_VALUE) {
    if (error) *error = GetLastError();
    return names;
  }
  do {
    names.push_back(wince::host::Utf8(data.cFileName));
  } while (FindNextFileW(h, &data));
  if (error) *error = GetLastError();
  EXPECT_TRUE(FindClose(h));
  return names;
}

class FindFileFolder : public FindFileTest {
 protected:
  void SetUp() override {
    FindFileTest::SetUp();
    WriteHost("Lang/English/info", "1");
    WriteHost("Lang/English/qwerty.kbf", "22");
    WriteHost("Lang/English/Azerty.KBF", "333");
    WriteHost("Lang/English/readme", "");
    MakeHostFolder("Lang/English/Sub.kbf");
    WriteHost("Lang/Fran\xC3\xA7" "ais/info", "");
  }
};

TEST_F(FindFileFolder, WildcardsMatchWithoutRegardToCaseInNameOrder) {
  DWORD error = 0;
  EXPECT_EQ(FindAll(TEXT("\\Lang\\English\\*.kbf"), &error),
            (std::vector<std::string>{"Azerty.KBF", "qwerty.kbf", "Sub.kbf"}));
  EXPECT_EQ(error, static_cast<DWORD>(ERROR_NO_MORE_FILES));
  EXPECT_EQ(FindAll(TEXT("\\lang\\english\\?WERTY.*")), (std::vector<std::string>{"qwerty.kbf"}));
  EXPECT_EQ(FindAll(TEXT("\\Lang\\English\\*e*")),
            (std::vector<std::string>{"Azerty.KBF", "qwerty.kbf", "readme"}));
  EXPECT_EQ(FindAll(TEXT("\\Lang\\English\\info?")), std::vector<std::string>{});
}

TEST_F(FindFileFolder, StarDotStarListsEverythingButTheDotEntries) {
  std::vector<std::string> all = FindAll(TEXT("\\Lang\\English\\*.*"));
  EXPECT_EQ(all, (std::vector<std::string>{"Azerty.KBF", "info", "qwerty.kbf", "readme", "Sub.kbf"}));
  EXPECT_EQ(FindAll(TEXT("\\Lang\\*")), (std::vector<std::string>{"English", "Fran\xC3\xA7" "ais"}));
  EXPECT_EQ(FindAll(TEXT("*")), (std::vector<std::string>{"Lang"}));  // root, no leading backslash
}

TEST_F(FindFileFolder, FoundDataDescribesTheEntry) {
  WIN32_FIND_DATAW data;
  HANDLE h = FindFirstFileW(TEXT("\\LANG\\ENGLISH\\AZERTY.KBF"), &data);  // no wildcard
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  EXPECT_EQ(std::u16string(data.cFileName), u"Azerty.KBF");  // the host's own spelling
  EXPECT_EQ(data.dwFileAttributes, static_cast<DWORD>(FILE_ATTRIBUTE_ARCHIVE));
  EXPECT_EQ(data.nFileSizeLow, 3u);
  EXPECT_EQ(data.nFileSizeHigh, 0u);
  EXPECT_NE(data.ftLastWriteTime.dwHighDateTime, 0u);
  SetLastError(0xdeadbeef);
  EXPECT_FALSE(FindNextFileW(h, &data));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_MORE_FILES));
  EXPECT_TRUE(FindClose(h));

  h = FindFirstFileW(u"\\Lang\\FRAN\u00C7AIS", &data);  // a folder finds itself
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  EXPECT_EQ(std::u16string(data.cFileName), u"Fran\u00E7ais");
  EXPECT_EQ(data.dwFileAttributes, static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
  EXPECT_TRUE(FindClose(h));
}

TEST_F(FindFileFolder, FailuresAndHandles) {
  struct Case {
    LPCWSTR pattern;
    DWORD error;
  } cases[] = {
      {TEXT("\\Lang\\English\\*.zip"), ERROR_FILE_NOT_FOUND},
      {TEXT("\\Lang\\English\\missing"), ERROR_FILE_NOT_FOUND},
      {TEXT("\\Lang\\English\\"), ERROR_FILE_NOT_FOUND},  // trailing backslash
      {TEXT("\\Lang\\Nowhere\\*"), ERROR_PATH_NOT_FOUND},
      {TEXT("\\Lang\\English\\info\\*"), ERROR_PATH_NOT_FOUND},  // a file on the way
      {TEXT("\\La*\\English\\info"), ERROR_INVALID_NAME},
      {TEXT(""), ERROR_PATH_NOT_FOUND},
  };
  for (const Case& c : cases) {
    DWORD error = 0;
    EXPECT_TRUE(FindAll(c.pattern, &error).empty());
    EXPECT_EQ(error, c.error) << wince::host::Utf8(c.pattern);
  }
  int before = wince::host::OpenFindHandles();
  WIN32_FIND_DATAW data;
  HANDLE h = FindFirstFileW(TEXT("\\Lang\\*"), &data);
  EXPECT_EQ(wince::host::OpenFindHandles(), before + 1);
  EXPECT_TRUE(FindClose(h));
  EXPECT_EQ(wince::host::OpenFindHandles(), before);
  SetLastError(0xdeadbeef);
  EXPECT_FALSE(FindClose(h));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  SetLastError(0xdeadbeef);
  EXPECT_FALSE(FindNextFileW(h, &data));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  SetLastError(0xdeadbeef);
  EXPECT_EQ(FindFirstFileW(TEXT("\\Lang\\*"), NULL), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST_F(FindFileFolder, EntriesAreTakenWhenTheSearchStarts) {
  WIN32_FIND_DATAW data;
  HANDLE h = FindFirstFileW(TEXT("\\Lang\\English\\*"), &data);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  WriteHost("Lang/English/aaa", "");  // would sort first
  std::set<std::u16string> rest;
  while (FindNextFileW(h, &data)) rest.insert(data.cFileName);
  EXPECT_EQ(rest.count(u"aaa"), 0u);
  EXPECT_EQ(rest.size(), 4u);
  FindClose(h);
}

}  // namespace
