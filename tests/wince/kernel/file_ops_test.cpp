// Conformance of GetFileAttributesW, DeleteFileW, CopyFileW, CreateDirectoryW
// and RemoveDirectoryW on the device folder.
#include <gtest/gtest.h>

#include <windows.h>

#include "tests/wince/kernel/device_fixture.h"
#include "wince/kernel/file_system.h"

namespace {

using FileOpsTest = DeviceFolderTest;

TEST_F(FileOpsTest, Attributes) {
  WriteHost("Windows/tapora.dll", "MZ");
  WriteHost("ro.txt", "");
  std::filesystem::permissions(Host("ro.txt"), std::filesystem::perms::owner_read);

  EXPECT_EQ(GetFileAttributesW(TEXT("\\")), static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
  EXPECT_EQ(GetFileAttributesW(TEXT("\\WINDOWS")), static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
  EXPECT_EQ(GetFileAttributesW(TEXT("\\windows\\TAPORA.dll")),
            static_cast<DWORD>(FILE_ATTRIBUTE_ARCHIVE));
  EXPECT_EQ(GetFileAttributesW(TEXT("ro.txt")),
            static_cast<DWORD>(FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY));

  SetLastError(0xdeadbeef);
  EXPECT_EQ(GetFileAttributesW(TEXT("\\Windows\\none")), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(GetFileAttributesW(TEXT("\\Windows\\none")), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  SetLastError(0xdeadbeef);
  EXPECT_EQ(GetFileAttributesW(TEXT("\\None\\none")), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
  std::filesystem::permissions(Host("ro.txt"), std::filesystem::perms::owner_all);
}

TEST_F(FileOpsTest, DeletingFiles) {
  WriteHost("Windows/a.txt", "a");
  WriteHost("ro.txt", "");
  std::filesystem::permissions(Host("ro.txt"), std::filesystem::perms::owner_read);
  MakeHostFolder("Folder");
  EXPECT_TRUE(DeleteFileW(TEXT("\\WINDOWS\\A.TXT")));
  EXPECT_FALSE(std::filesystem::exists(Host("Windows/a.txt")));

  struct Case {
    LPCWSTR path;
    DWORD error;
  } cases[] = {
      {TEXT("\\Windows\\a.txt"), ERROR_FILE_NOT_FOUND},
      {TEXT("\\Nowhere\\a.txt"), ERROR_PATH_NOT_FOUND},
      {TEXT("\\Folder"), ERROR_ACCESS_DENIED},
      {TEXT("\\"), ERROR_ACCESS_DENIED},
      {TEXT("\\ro.txt"), ERROR_ACCESS_DENIED},
  };
  for (const Case& c : cases) {
    SetLastError(0xdeadbeef);
    EXPECT_FALSE(DeleteFileW(c.path));
    EXPECT_EQ(GetLastError(), c.error);
  }
  std::filesystem::permissions(Host("ro.txt"), std::filesystem::perms::owner_all);
}

TEST_F(FileOpsTest, DeleteRefusesOpenFilesAndHeldModules) {
  WriteHost("Windows/tapora.dll", "MZ");
  LPCWSTR library = TEXT("\\Windows\\tapora.dll");
  {
    ScopedFile open(OpenForReading(library, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE));
    SetLastError(0xdeadbeef);
    EXPECT_FALSE(DeleteFileW(library));  // the device has no FILE_SHARE_DELETE
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
  }
  std::filesystem::path host = wince::host::HostPath(library);
  wince::fs::HoldModuleFile(host);
  wince::fs::HoldModuleFile(host);  // loaded twice
  SetLastError(0xdeadbeef);
  EXPECT_FALSE(DeleteFileW(TEXT("\\windows\\TAPORA.DLL")));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
  wince::fs::ReleaseModuleFile(host);
  EXPECT_FALSE(DeleteFileW(library));  // still held once
  wince::fs::ReleaseModuleFile(host);
  EXPECT_TRUE(DeleteFileW(library));
}

TEST_F(FileOpsTest, CopyingFiles) {
  WriteHost("Windows/tapora.dll", "library bytes");
  LPCWSTR library = TEXT("\\Windows\\tapora.dll");
  LPCWSTR copy = TEXT("\\Windows\\tmptapora.dll");

  EXPECT_TRUE(CopyFileW(library, copy, TRUE));
  EXPECT_EQ(ReadHost("Windows/tmptapora.dll"), "library bytes");
  SetLastError(0xdeadbeef);
  EXPECT_FALSE(CopyFileW(library, copy, TRUE));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_EXISTS));

  WriteHost("Windows/tmptapora.dll", "older and longer content");
  EXPECT_TRUE(CopyFileW(library, copy, FALSE));  // overwrites, and truncates
  EXPECT_EQ(ReadHost("Windows/tmptapora.dll"), "library bytes");

  struct Case {
    LPCWSTR from;
    LPCWSTR to;
    DWORD error;
  } cases[] = {
      {TEXT("\\Windows\\none.dll"), TEXT("\\Windows\\x.dll"), ERROR_FILE_NOT_FOUND},
      {TEXT("\\Windows"), TEXT("\\x.dll"), ERROR_ACCESS_DENIED},
      {library, TEXT("\\Nowhere\\x.dll"), ERROR_PATH_NOT_FOUND},
      {library, TEXT("\\Windows"), ERROR_ACCESS_DENIED},
      {library, library, ERROR_SHARING_VIOLATION},  // onto itself
  };
  for (const Case& c : cases) {
    SetLastError(0xdeadbeef);
    EXPECT_FALSE(CopyFileW(c.from, c.to, FALSE));
    EXPECT_EQ(GetLastError(), c.error);
  }
  EXPECT_EQ(ReadHost("Windows/tapora.dll"), "library bytes");
}

TEST_F(FileOpsTest, CopyMeetsTheRulesOfOpening) {
  WriteHost("Windows/tapora.dll", "new");
  WriteHost("Windows/held.dll", "old");
  std::filesystem::path held = wince::host::HostPath(TEXT("\\Windows\\held.dll"));
  wince::fs::HoldModuleFile(held);
  SetLastError(0xdeadbeef);
  EXPECT_FALSE(CopyFileW(TEXT("\\Windows\\tapora.dll"), TEXT("\\Windows\\held.dll"), FALSE));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
  EXPECT_TRUE(CopyFileW(TEXT("\\Windows\\held.dll"), TEXT("\\Windows\\copy.dll"), TRUE));
  wince::fs::ReleaseModuleFile(held);
  EXPECT_EQ(ReadHost("Windows/held.dll"), "old");

  ScopedFile exclusive(OpenForReading(TEXT("\\Windows\\tapora.dll"), 0));
  SetLastError(0xdeadbeef);
  EXPECT_FALSE(CopyFileW(TEXT("\\Windows\\tapora.dll"), TEXT("\\Windows\\x.dll"), TRUE));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
  EXPECT_FALSE(std::filesystem::exists(Host("Windows/x.dll")));
}

TEST_F(FileOpsTest, CreateAndRemoveDirectories) {
  EXPECT_TRUE(CreateDirectoryW(TEXT("\\Program Files"), NULL));
  EXPECT_TRUE(CreateDirectoryW(TEXT("\\program files\\Tapora SIP"), NULL));
  EXPECT_TRUE(std::filesystem::is_directory(Host("Program Files/Tapora SIP")));
  WriteHost("Program Files/Tapora SIP/info", "");

  struct Case {
    BOOL (*call)(LPCWSTR);
    LPCWSTR path;
    DWORD error;
  } cases[] = {
      {[](LPCWSTR p) { return CreateDirectoryW(p, NULL); }, TEXT("\\PROGRAM FILES"), ERROR_ALREADY_EXISTS},
      {[](LPCWSTR p) { return CreateDirectoryW(p, NULL); }, TEXT("\\Program Files\\Tapora SIP\\info"), ERROR_ALREADY_EXISTS},
      {[](LPCWSTR p) { return CreateDirectoryW(p, NULL); }, TEXT("\\"), ERROR_ALREADY_EXISTS},
      {[](LPCWSTR p) { return CreateDirectoryW(p, NULL); }, TEXT("\\a\\b"), ERROR_PATH_NOT_FOUND},
      {RemoveDirectoryW, TEXT("\\Program Files\\Tapora SIP"), ERROR_DIR_NOT_EMPTY},
      {RemoveDirectoryW, TEXT("\\Program Files\\Tapora SIP\\info"), ERROR_DIRECTORY},
      {RemoveDirectoryW, TEXT("\\Program Files\\none"), ERROR_FILE_NOT_FOUND},
      {RemoveDirectoryW, TEXT("\\none\\none"), ERROR_PATH_NOT_FOUND},
      {RemoveDirectoryW, TEXT("\\"), ERROR_ACCESS_DENIED},
  };
  for (const Case& c : cases) {
    SetLastError(0xdeadbeef);
    EXPECT_FALSE(c.call(c.path));
    EXPECT_EQ(GetLastError(), c.error);
  }
  EXPECT_TRUE(DeleteFileW(TEXT("\\Program Files\\Tapora SIP\\info")));
  EXPECT_TRUE(RemoveDirectoryW(TEXT("\\PROGRAM FILES\\TAPORA SIP")));
  EXPECT_FALSE(std::filesystem::exists(Host("Program Files/Tapora SIP")));
}

}  // namespace
