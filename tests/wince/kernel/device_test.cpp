// The device folder hooks: HostPath, DeviceFolder, switching folders, and the
// reverse mapping and name matching that the other host areas use.
#include <gtest/gtest.h>

#include <windows.h>

#include "tests/wince/kernel/device_fixture.h"
#include "wince/kernel/file_system.h"

namespace {

using DeviceTest = DeviceFolderTest;

TEST_F(DeviceTest, HostPathMatchesExistingComponentsAndKeepsTheRestAsSpelled) {
  MakeHostFolder("Program Files/Tapora SIP");
  EXPECT_EQ(wince::host::DeviceFolder(), root_);
  EXPECT_EQ(wince::host::HostPath(TEXT("\\")), root_);
  EXPECT_EQ(wince::host::HostPath(TEXT("\\PROGRAM FILES\\tapora sip")), Host("Program Files/Tapora SIP"));
  EXPECT_EQ(wince::host::HostPath(TEXT("\\program files\\New\\x.kbf")), Host("Program Files/New/x.kbf"));
  EXPECT_EQ(wince::host::HostPath(TEXT("\\a\\..\\..\\etc")), std::filesystem::path());
}

TEST_F(DeviceTest, OneSpellingIsChosenWhenTheHostHasSeveral) {
  WriteHost("info", "lower");
  WriteHost("INFO", "upper");
  // The exact spelling wins; otherwise the first in byte order ("INFO" < "info").
  EXPECT_EQ(wince::host::HostPath(TEXT("\\info")), Host("info"));
  EXPECT_EQ(wince::host::HostPath(TEXT("\\Info")), Host("INFO"));
}

TEST_F(DeviceTest, SettingTheFolderKeepsOpenHandles) {
  WriteHost("a.txt", "first");
  HANDLE h = OpenForReading(TEXT("\\a.txt"));
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  std::filesystem::path other = root_ / "other";
  std::filesystem::create_directories(other);
  wince::host::SetDeviceFolder(other / "");  // a trailing separator is dropped
  EXPECT_EQ(wince::host::DeviceFolder(), other);
  SetLastError(0xdeadbeef);
  EXPECT_EQ(GetFileAttributesW(TEXT("\\a.txt")), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  char buffer[8];
  DWORD got = 0;
  EXPECT_TRUE(ReadFile(h, buffer, sizeof buffer, &got, NULL));
  EXPECT_EQ(std::string(buffer, got), "first");
  EXPECT_TRUE(CloseHandle(h));
}

TEST_F(DeviceTest, DevicePathOfIsTheReverseMapping) {
  MakeHostFolder("Windows");
  EXPECT_EQ(wince::fs::DevicePathOf(Host("Windows/tapora.dll")), u"\\Windows\\tapora.dll");
  EXPECT_EQ(wince::fs::DevicePathOf(root_), u"\\");
  EXPECT_EQ(wince::fs::DevicePathOf(root_.parent_path() / "elsewhere"), u"");
}

TEST(NameMatching, CaseFoldingCoversLatinOneAndBeyondButNotAccents) {
  EXPECT_TRUE(wince::fs::SameName(u"PNL00001.PNL", u"pnl00001.pnl"));
  EXPECT_TRUE(wince::fs::SameName(u"\u00C9T\u00C9", u"\u00E9t\u00E9"));
  EXPECT_TRUE(wince::fs::SameName(u"\u0178", u"\u00FF"));
  EXPECT_TRUE(wince::fs::SameName(u"\u0420\u0443\u0441", u"\u0440\u0423\u0421"));  // Cyrillic
  EXPECT_FALSE(wince::fs::SameName(u"ete", u"\u00E9t\u00E9"));
  EXPECT_FALSE(wince::fs::SameName(u"\u00DF", u"ss"));
  EXPECT_FALSE(wince::fs::SameName(u"abc", u"abcd"));
}

}  // namespace
