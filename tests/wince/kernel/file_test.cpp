// Conformance of the file handles: CreateFileW on the device folder (paths,
// case, dispositions, sharing, module holds), ReadFile, WriteFile,
// SetFilePointer, GetFileSize, CloseHandle.
#include <gtest/gtest.h>

#include <windows.h>

#include "tests/wince/kernel/device_fixture.h"
#include "wince/kernel/file_system.h"

namespace {

using FileTest = DeviceFolderTest;

std::string ReadAll(HANDLE h, DWORD chunk = 64) {
  std::string out;
  char buffer[64];
  DWORD got = 0;
  while (ReadFile(h, buffer, chunk, &got, NULL) && got > 0) out.append(buffer, got);
  return out;
}

TEST_F(FileTest, DevicePathsResolveBelowTheFolderWithoutRegardToCase) {
  WriteHost("Program Files/Tapora SIP/info", "abc");
  WriteHost("PNL00001.PNL", "root");

  for (LPCWSTR path : {TEXT("\\Program Files\\Tapora SIP\\info"),
                       TEXT("\\PROGRAM FILES\\tapora sip\\INFO"),
                       TEXT("Program Files\\Tapora SIP\\info"),  // no leading backslash: root
                       TEXT("\\\\Program Files\\\\Tapora SIP\\info")}) {
    SetLastError(0xdeadbeef);
    ScopedFile f(OpenForReading(path));
    ASSERT_TRUE(f.ok()) << "error " << GetLastError();
    EXPECT_EQ(GetLastError(), 0u);
    EXPECT_EQ(ReadAll(f.h), "abc");
  }
  ScopedFile bare(OpenForReading(TEXT("pnl00001.pnl")));
  ASSERT_TRUE(bare.ok());
  EXPECT_EQ(ReadAll(bare.h), "root");
}

TEST_F(FileTest, LatinOneNamesMatchAcrossCaseAndKeepTheirUtf8Spelling) {
  WriteHost("Fran\xC3\xA7" "ais/\xC3\xA9t\xC3\xA9.txt", "x");  // "Français/été.txt"
  ScopedFile f(OpenForReading(u"\\FRAN\u00C7AIS\\\u00C9T\u00C9.TXT"));
  EXPECT_TRUE(f.ok());

  HANDLE created = CreateFileW(u"\\Fran\u00E7ais\\\u00FCber.txt", GENERIC_WRITE, 0, NULL,
                               CREATE_NEW, 0, NULL);
  ASSERT_NE(created, INVALID_HANDLE_VALUE);
  CloseHandle(created);
  EXPECT_TRUE(std::filesystem::exists(Host("Fran\xC3\xA7" "ais/\xC3\xBC" "ber.txt")));
}

TEST_F(FileTest, SlashIsNoSeparatorAndBadNamesAreRefused) {
  WriteHost("a/b", "x");
  SetLastError(0xdeadbeef);
  EXPECT_EQ(OpenForReading(TEXT("\\a/b")), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_NAME));

  for (LPCWSTR path : {TEXT("\\a\\..\\a\\b"), TEXT("\\.\\a\\b"), TEXT("\\a\\b*"), TEXT("\\a:b")}) {
    SetLastError(0xdeadbeef);
    EXPECT_EQ(OpenForReading(path), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_NAME));
  }
  std::u16string tooLong = u"\\" + std::u16string(MAX_PATH, u'x');
  SetLastError(0xdeadbeef);
  EXPECT_EQ(OpenForReading(tooLong.c_str()), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILENAME_EXCED_RANGE));

  for (LPCWSTR path : {static_cast<LPCWSTR>(NULL), TEXT("")}) {
    SetLastError(0xdeadbeef);
    EXPECT_EQ(OpenForReading(path), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
  }
}

TEST_F(FileTest, MissingFileOrFolderAndFoldersThemselves) {
  MakeHostFolder("Windows");
  struct Case {
    LPCWSTR path;
    DWORD disposition;
    DWORD error;
  } cases[] = {
      {TEXT("\\Windows\\none.dll"), OPEN_EXISTING, ERROR_FILE_NOT_FOUND},
      {TEXT("\\Nowhere\\none.dll"), OPEN_EXISTING, ERROR_PATH_NOT_FOUND},
      {TEXT("\\Nowhere\\none.dll"), CREATE_ALWAYS, ERROR_PATH_NOT_FOUND},
      {TEXT("\\Windows\\none.dll"), TRUNCATE_EXISTING, ERROR_FILE_NOT_FOUND},
      {TEXT("\\Windows"), OPEN_EXISTING, ERROR_ACCESS_DENIED},
      {TEXT("\\windows"), OPEN_ALWAYS, ERROR_ACCESS_DENIED},
      {TEXT("\\Windows"), CREATE_NEW, ERROR_FILE_EXISTS},
      {TEXT("\\"), OPEN_EXISTING, ERROR_ACCESS_DENIED},
      {TEXT("\\Windows\\x"), 0, ERROR_INVALID_PARAMETER},
      {TEXT("\\Windows\\x"), 6, ERROR_INVALID_PARAMETER},
  };
  for (const Case& c : cases) {
    SetLastError(0xdeadbeef);
    HANDLE h = CreateFileW(c.path, GENERIC_READ | GENERIC_WRITE, 0, NULL, c.disposition, 0, NULL);
    EXPECT_EQ(h, INVALID_HANDLE_VALUE) << "disposition " << c.disposition;
    EXPECT_EQ(GetLastError(), c.error) << "disposition " << c.disposition;
  }
}

TEST_F(FileTest, Dispositions) {
  WriteHost("old.txt", "12345");

  SetLastError(0xdeadbeef);
  EXPECT_EQ(CreateFileW(TEXT("\\OLD.TXT"), GENERIC_WRITE, 0, NULL, CREATE_NEW, 0, NULL),
            INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_EXISTS));

  {  // OPEN_ALWAYS on an existing file keeps it and says it existed
    SetLastError(0xdeadbeef);
    ScopedFile f(CreateFileW(TEXT("\\old.txt"), GENERIC_READ, 0, NULL, OPEN_ALWAYS, 0, NULL));
    ASSERT_TRUE(f.ok());
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    EXPECT_EQ(GetFileSize(f.h, NULL), 5u);
  }
  {  // OPEN_ALWAYS on a new file creates it, last error 0
    SetLastError(0xdeadbeef);
    ScopedFile f(CreateFileW(TEXT("\\new1.txt"), GENERIC_READ, 0, NULL, OPEN_ALWAYS, 0, NULL));
    ASSERT_TRUE(f.ok());
    EXPECT_EQ(GetLastError(), 0u);
  }
  {  // CREATE_ALWAYS truncates an existing file, even one opened for reading only
    SetLastError(0xdeadbeef);
    ScopedFile f(CreateFileW(TEXT("\\old.txt"), GENERIC_READ, 0, NULL, CREATE_ALWAYS, 0, NULL));
    ASSERT_TRUE(f.ok());
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    EXPECT_EQ(GetFileSize(f.h, NULL), 0u);
  }
  WriteHost("old.txt", "12345");
  {  // TRUNCATE_EXISTING needs GENERIC_WRITE
    SetLastError(0xdeadbeef);
    EXPECT_EQ(CreateFileW(TEXT("\\old.txt"), GENERIC_READ, 0, NULL, TRUNCATE_EXISTING, 0, NULL),
              INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(ReadHost("old.txt"), "12345");
    SetLastError(0xdeadbeef);
    ScopedFile f(CreateFileW(TEXT("\\old.txt"), GENERIC_WRITE, 0, NULL, TRUNCATE_EXISTING, 0, NULL));
    ASSERT_TRUE(f.ok());
    EXPECT_EQ(GetLastError(), 0u);
  }
  EXPECT_EQ(ReadHost("old.txt"), "");
}

TEST_F(FileTest, SharedReadersAndExclusiveOpensRefuseEachOther) {
  WriteHost("PNL00001.PNL", "data");
  LPCWSTR path = TEXT("\\PNL00001.PNL");

  {  // two readers that share reading
    ScopedFile a(OpenForReading(path, FILE_SHARE_READ));
    ScopedFile b(OpenForReading(TEXT("\\pnl00001.pnl"), FILE_SHARE_READ));
    EXPECT_TRUE(a.ok());
    EXPECT_TRUE(b.ok());
    // a reader that refuses to share cannot join them
    SetLastError(0xdeadbeef);
    EXPECT_EQ(OpenForReading(path, 0), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    // nor can a writer: the readers do not share writing
    SetLastError(0xdeadbeef);
    EXPECT_EQ(CreateFileW(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                          OPEN_EXISTING, 0, NULL),
              INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
  }
  {  // exclusive first: a shared reader is refused
    ScopedFile exclusive(OpenForReading(path, 0));
    ASSERT_TRUE(exclusive.ok());
    SetLastError(0xdeadbeef);
    EXPECT_EQ(OpenForReading(path, FILE_SHARE_READ), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
  }
  {  // shared reader first: an exclusive open is refused
    ScopedFile shared(OpenForReading(path, FILE_SHARE_READ));
    SetLastError(0xdeadbeef);
    EXPECT_EQ(OpenForReading(path, 0), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
  }
  {  // a writer that shares reading admits readers that share writing
    ScopedFile writer(CreateFileW(path, GENERIC_WRITE, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL));
    ASSERT_TRUE(writer.ok());
    ScopedFile reader(OpenForReading(path, FILE_SHARE_READ | FILE_SHARE_WRITE));
    EXPECT_TRUE(reader.ok());
    SetLastError(0xdeadbeef);
    EXPECT_EQ(OpenForReading(path, FILE_SHARE_READ), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
  }
  // After the closes the file opens exclusively again, and truncation was
  // never let through while it was shared.
  ScopedFile again(OpenForReading(path, 0));
  EXPECT_TRUE(again.ok());
  EXPECT_EQ(ReadHost("PNL00001.PNL"), "data");
}

TEST_F(FileTest, SharingIsCheckedBeforeTruncation) {
  WriteHost("keep.bin", "keep");
  ScopedFile reader(OpenForReading(TEXT("\\keep.bin"), FILE_SHARE_READ));
  SetLastError(0xdeadbeef);
  EXPECT_EQ(CreateFileW(TEXT("\\keep.bin"), GENERIC_WRITE, FILE_SHARE_READ, NULL, CREATE_ALWAYS, 0,
                        NULL),
            INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
  EXPECT_EQ(ReadHost("keep.bin"), "keep");
}

TEST_F(FileTest, ReadingStopsAtTheEndAndSucceedsThere) {
  WriteHost("f.bin", "0123456789");
  ScopedFile f(OpenForReading(TEXT("\\f.bin")));
  char buffer[32] = {};
  DWORD got = 0xdeadbeef;
  ASSERT_TRUE(ReadFile(f.h, buffer, 4, &got, NULL));
  EXPECT_EQ(got, 4u);
  EXPECT_EQ(std::string(buffer, 4), "0123");
  ASSERT_TRUE(ReadFile(f.h, buffer, 32, &got, NULL));  // short read at the end
  EXPECT_EQ(got, 6u);
  EXPECT_EQ(std::string(buffer, 6), "456789");
  SetLastError(0xdeadbeef);
  got = 0xdeadbeef;
  EXPECT_TRUE(ReadFile(f.h, buffer, 32, &got, NULL));  // at the end: success, 0 bytes
  EXPECT_EQ(got, 0u);
  EXPECT_EQ(GetLastError(), 0xdeadbeefu);
  EXPECT_TRUE(ReadFile(f.h, buffer, 0, &got, NULL));
}

TEST_F(FileTest, BadHandlesAndWrongAccess) {
  WriteHost("f.bin", "abc");
  char buffer[4];
  DWORD got = 0xdeadbeef;
  for (HANDLE bad : {static_cast<HANDLE>(NULL), INVALID_HANDLE_VALUE,
                     reinterpret_cast<HANDLE>(static_cast<uintptr_t>(0x1233))}) {
    SetLastError(0xdeadbeef);
    EXPECT_FALSE(ReadFile(bad, buffer, 1, &got, NULL));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_EQ(got, 0u);
    SetLastError(0xdeadbeef);
    EXPECT_FALSE(WriteFile(bad, buffer, 1, &got, NULL));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    SetLastError(0xdeadbeef);
    EXPECT_EQ(SetFilePointer(bad, 0, NULL, FILE_BEGIN), INVALID_SET_FILE_POINTER);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    SetLastError(0xdeadbeef);
    EXPECT_EQ(GetFileSize(bad, NULL), INVALID_FILE_SIZE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    SetLastError(0xdeadbeef);
    EXPECT_FALSE(CloseHandle(bad));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  }

  HANDLE reader = OpenForReading(TEXT("\\f.bin"));
  SetLastError(0xdeadbeef);
  EXPECT_FALSE(WriteFile(reader, "x", 1, &got, NULL));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  EXPECT_TRUE(CloseHandle(reader));
  SetLastError(0xdeadbeef);
  EXPECT_FALSE(CloseHandle(reader));  // closed twice
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  SetLastError(0xdeadbeef);
  EXPECT_FALSE(ReadFile(reader, buffer, 1, &got, NULL));  // used after close
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));

  ScopedFile writer(CreateFileW(TEXT("\\f.bin"), GENERIC_WRITE, 0, NULL, OPEN_EXISTING, 0, NULL));
  SetLastError(0xdeadbeef);
  EXPECT_FALSE(ReadFile(writer.h, buffer, 1, &got, NULL));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
}

TEST_F(FileTest, SetFilePointerMovesFromEachOrigin) {
  WriteHost("f.bin", "0123456789");
  ScopedFile f(OpenForReading(TEXT("\\f.bin")));
  char c = 0;
  DWORD got = 0;
  EXPECT_EQ(SetFilePointer(f.h, 3, NULL, FILE_BEGIN), 3u);
  EXPECT_EQ(SetFilePointer(f.h, 2, NULL, FILE_CURRENT), 5u);
  EXPECT_EQ(SetFilePointer(f.h, -1, NULL, FILE_CURRENT), 4u);
  ASSERT_TRUE(ReadFile(f.h, &c, 1, &got, NULL));
  EXPECT_EQ(c, '4');
  EXPECT_EQ(SetFilePointer(f.h, -2, NULL, FILE_END), 8u);
  EXPECT_EQ(SetFilePointer(f.h, 0, NULL, FILE_CURRENT), 8u);

  // beyond the end is allowed; reading there gives 0 bytes
  SetLastError(0xdeadbeef);
  EXPECT_EQ(SetFilePointer(f.h, 100, NULL, FILE_END), 110u);
  EXPECT_EQ(GetLastError(), 0xdeadbeefu);
  got = 0xdeadbeef;
  EXPECT_TRUE(ReadFile(f.h, &c, 1, &got, NULL));
  EXPECT_EQ(got, 0u);

  // a negative result fails and leaves the position where it was
  SetLastError(0xdeadbeef);
  EXPECT_EQ(SetFilePointer(f.h, -200, NULL, FILE_CURRENT), INVALID_SET_FILE_POINTER);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NEGATIVE_SEEK));
  SetLastError(0xdeadbeef);
  EXPECT_EQ(SetFilePointer(f.h, -1, NULL, FILE_BEGIN), INVALID_SET_FILE_POINTER);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NEGATIVE_SEEK));
  EXPECT_EQ(SetFilePointer(f.h, 0, NULL, FILE_CURRENT), 110u);

  SetLastError(0xdeadbeef);
  EXPECT_EQ(SetFilePointer(f.h, 0, NULL, 3), INVALID_SET_FILE_POINTER);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST_F(FileTest, SetFilePointerToFFFFFFFFIsToldApartByTheLastError) {
  WriteHost("f.bin", "x");
  ScopedFile f(OpenForReading(TEXT("\\f.bin")));
  LONG high = 0;
  SetLastError(0xdeadbeef);
  EXPECT_EQ(SetFilePointer(f.h, static_cast<LONG>(0xFFFFFFFF), &high, FILE_BEGIN), 0xFFFFFFFFu);
  EXPECT_EQ(high, 0);
  EXPECT_EQ(GetLastError(), 0u);  // success at 0xFFFFFFFF: NO_ERROR

  // Without a high part the distance is a signed 32-bit number ...
  EXPECT_EQ(SetFilePointer(f.h, 0, NULL, FILE_BEGIN), 0u);
  SetLastError(0xdeadbeef);
  EXPECT_EQ(SetFilePointer(f.h, static_cast<LONG>(0xFFFFFFFF), NULL, FILE_BEGIN),
            INVALID_SET_FILE_POINTER);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NEGATIVE_SEEK));
  // ... and a result past 32 bits fails.
  EXPECT_EQ(SetFilePointer(f.h, 0x7FFFFFFF, NULL, FILE_BEGIN), 0x7FFFFFFFu);
  SetLastError(0xdeadbeef);
  EXPECT_EQ(SetFilePointer(f.h, 0x7FFFFFFF, NULL, FILE_CURRENT), 0xFFFFFFFEu);
  EXPECT_EQ(SetFilePointer(f.h, 2, NULL, FILE_CURRENT), INVALID_SET_FILE_POINTER);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));

  // With a high part, 64-bit positions come back split.
  high = 1;
  EXPECT_EQ(SetFilePointer(f.h, 5, &high, FILE_BEGIN), 5u);
  EXPECT_EQ(high, 1);
  high = -1;
  SetLastError(0xdeadbeef);
  EXPECT_EQ(SetFilePointer(f.h, -1, &high, FILE_BEGIN), INVALID_SET_FILE_POINTER);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NEGATIVE_SEEK));
}

TEST_F(FileTest, WritingPastTheEndFillsWithZerosAndEachHandleHasItsPosition) {
  HANDLE w = CreateFileW(TEXT("\\out.bin"), GENERIC_READ | GENERIC_WRITE,
                         FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, CREATE_NEW, 0, NULL);
  ASSERT_NE(w, INVALID_HANDLE_VALUE);
  DWORD done = 0;
  ASSERT_TRUE(WriteFile(w, "ab", 2, &done, NULL));
  EXPECT_EQ(done, 2u);
  EXPECT_EQ(SetFilePointer(w, 5, NULL, FILE_BEGIN), 5u);
  ASSERT_TRUE(WriteFile(w, "z", 1, &done, NULL));
  DWORD high = 0xdeadbeef;
  EXPECT_EQ(GetFileSize(w, &high), 6u);
  EXPECT_EQ(high, 0u);
  EXPECT_EQ(ReadHost("out.bin"), std::string("ab\0\0\0z", 6));

  ScopedFile r(OpenForReading(TEXT("\\out.bin"), FILE_SHARE_READ | FILE_SHARE_WRITE));
  ASSERT_TRUE(r.ok());
  char c = 0;
  ASSERT_TRUE(ReadFile(r.h, &c, 1, &done, NULL));  // its own position: 0
  EXPECT_EQ(c, 'a');
  EXPECT_TRUE(WriteFile(w, "", 0, &done, NULL));
  EXPECT_EQ(done, 0u);
  EXPECT_TRUE(CloseHandle(w));
}

TEST_F(FileTest, ReadOnlyFilesAndHeldModulesRefuseWriting) {
  WriteHost("Windows/tapora.dll", "MZ");
  WriteHost("ro.txt", "ro");
  std::filesystem::permissions(Host("ro.txt"), std::filesystem::perms::owner_read);

  SetLastError(0xdeadbeef);
  EXPECT_EQ(CreateFileW(TEXT("\\ro.txt"), GENERIC_WRITE, 0, NULL, OPEN_EXISTING, 0, NULL),
            INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  ScopedFile roReader(OpenForReading(TEXT("\\ro.txt")));
  EXPECT_TRUE(roReader.ok());

  std::filesystem::path module = wince::host::HostPath(TEXT("\\WINDOWS\\TAPORA.DLL"));
  wince::fs::HoldModuleFile(module);
  for (DWORD disposition : {static_cast<DWORD>(OPEN_EXISTING), static_cast<DWORD>(CREATE_ALWAYS)}) {
    SetLastError(0xdeadbeef);
    EXPECT_EQ(CreateFileW(TEXT("\\Windows\\tapora.dll"), GENERIC_WRITE, 0, NULL, disposition, 0,
                          NULL),
              INVALID_HANDLE_VALUE);
    // The loader holds the file open: a sharing conflict, not a permission.
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
  }
  {
    ScopedFile reader(OpenForReading(TEXT("\\Windows\\tapora.dll")));  // reading stays allowed
    EXPECT_TRUE(reader.ok());
  }
  wince::fs::ReleaseModuleFile(module);
  ScopedFile writer(CreateFileW(TEXT("\\Windows\\tapora.dll"), GENERIC_WRITE, 0, NULL,
                                OPEN_EXISTING, 0, NULL));
  EXPECT_TRUE(writer.ok());
  std::filesystem::permissions(Host("ro.txt"), std::filesystem::perms::owner_all);
}

TEST_F(FileTest, OpenHandlesAreCounted) {
  WriteHost("f.bin", "x");
  int before = wince::host::OpenFileHandles();
  HANDLE a = OpenForReading(TEXT("\\f.bin"));
  HANDLE b = OpenForReading(TEXT("\\f.bin"));
  EXPECT_EQ(wince::host::OpenFileHandles(), before + 2);
  EXPECT_NE(a, b);
  EXPECT_LE(reinterpret_cast<uintptr_t>(a), 0xFFFFFFFFu);
  CloseHandle(a);
  CloseHandle(b);
  EXPECT_EQ(wince::host::OpenFileHandles(), before);
}

}  // namespace
