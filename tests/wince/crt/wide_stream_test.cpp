// Conformance of the runtime's wide-character streams (_wfopen, fgetws,
// fputws with the standard fclose/feof/ferror). Text mode, the device
// runtime's default, keeps 8-bit text in the system code page (Windows-1252)
// on disk with CR LF line ends and stops reading at Ctrl+Z; binary mode keeps
// UTF-16LE units untranslated.
#include <gtest/gtest.h>

#include <windows.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

#include "wince/host/device.h"
#include "wince/host/faults.h"
#include "wince/host/text.h"

namespace {

class WideStreamTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::random_device random;
    device_ = std::filesystem::temp_directory_path() / ("wide-stream-" + std::to_string(random()));
    std::filesystem::create_directories(device_ / "Folder");
    wince::host::SetDeviceFolder(device_);
  }
  void TearDown() override {
    wince::host::ClearFaults();
    EXPECT_EQ(wince::host::OpenFileHandles(), 0);
    std::filesystem::remove_all(device_);
  }
  void WriteBytes(const std::string& name, const std::string& bytes) {
    std::ofstream(device_ / "Folder" / name, std::ios::binary) << bytes;
  }
  std::string ReadBytes(const std::string& name) {
    std::ifstream in(device_ / "Folder" / name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  // Writes text through a stream opened with mode, then closes it.
  void Put(const char16_t* mode, const std::u16string& text) {
    FILE* file = _wfopen(u"\\Folder\\f", mode);
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(fputws(text.c_str(), file), static_cast<int>(text.size()));  // units written
    EXPECT_EQ(fclose(file), 0);
  }
  // Every line of the file as fgetws returns it, with a buffer of `units`.
  std::vector<std::u16string> ReadLines(const char16_t* mode, int units = 260) {
    std::vector<std::u16string> lines;
    FILE* file = _wfopen(u"\\Folder\\f", mode);
    EXPECT_NE(file, nullptr);
    if (file == nullptr) return lines;
    std::vector<WCHAR> buffer(units);
    while (fgetws(buffer.data(), units, file) != nullptr) lines.emplace_back(buffer.data());
    EXPECT_NE(feof(file), 0);
    EXPECT_EQ(ferror(file), 0);
    fclose(file);
    return lines;
  }

  std::filesystem::path device_;
};

using Lines = std::vector<std::u16string>;

TEST_F(WideStreamTest, TextModeWritesTheSystemCodePageWithoutMarks) {
  Put(u"w", u"keyboard.kbf");
  EXPECT_EQ(ReadBytes("f"), "keyboard.kbf");  // no byte-order mark, no line end added

  // Windows-1252, not Latin-1: the euro sign is 0x80.
  Put(u"wt", u"Fran\u00e7ais \u20ac");
  EXPECT_EQ(ReadBytes("f"), "Fran\xE7" "ais \x80");
  EXPECT_EQ(ReadLines(u"r"), Lines{u"Fran\u00e7ais \u20ac"});
}

TEST_F(WideStreamTest, TextModeTranslatesLineEndsBothWays) {
  Put(u"w", u"one\ntwo\n");
  EXPECT_EQ(ReadBytes("f"), "one\r\ntwo\r\n");
  // Reading keeps the line feed; a CR without a LF stays as it is.
  WriteBytes("f", "a\r\nb\rc\nlast\r");
  EXPECT_EQ(ReadLines(u"r"), (Lines{u"a\n", u"b\rc\n", u"last\r"}));
  // A CR LF across the runtime's read-ahead boundary is still one line end.
  std::string first(511, 'x');
  WriteBytes("f", first + "\r\nend");
  EXPECT_EQ(ReadLines(u"r", 600), (Lines{wince::host::Utf16(first) + u"\n", u"end"}));
}

TEST_F(WideStreamTest, CtrlZEndsTextInputButNotBinary) {
  WriteBytes("f", "ab\x1A" "cd\n");
  EXPECT_EQ(ReadLines(u"r"), Lines{u"ab"});
  WriteBytes("f", std::string("a\0\r\0\n\0\x1A\0", 8));
  EXPECT_EQ(ReadLines(u"rb"), (Lines{u"a\r\n", u"\x1A"}));
}

TEST_F(WideStreamTest, BinaryModeKeepsUtf16Units) {
  Put(u"wb", u"A\u20ac\n");
  EXPECT_EQ(ReadBytes("f"), std::string("A\0\xAC\x20\n\0", 6));
}

TEST_F(WideStreamTest, FgetwsStopsAtTheBufferAndLeavesItAloneAtTheEnd) {
  WriteBytes("f", "abcdef\n");
  EXPECT_EQ(ReadLines(u"r", 4), (Lines{u"abc", u"def", u"\n"}));

  FILE* file = _wfopen(u"\\Folder\\f", u"r");
  ASSERT_NE(file, nullptr);
  WCHAR buffer[8] = u"keep";
  EXPECT_EQ(fgetws(buffer, 1, file), buffer);  // room for the terminator only
  EXPECT_EQ(buffer[0], 0);
  errno = 0;
  EXPECT_EQ(fgetws(buffer, 0, file), nullptr);
  EXPECT_EQ(errno, EINVAL);
  EXPECT_EQ(fgetws(buffer, 8, file), buffer);
  WCHAR untouched[8] = u"keep";
  EXPECT_EQ(fgetws(untouched, 8, file), nullptr);
  EXPECT_EQ(std::u16string(untouched), u"keep");
  EXPECT_NE(feof(file), 0);
  fclose(file);
}

TEST_F(WideStreamTest, WritingAndAppending) {
  WriteBytes("f", "old contents");
  Put(u"w", u"new");
  EXPECT_EQ(ReadBytes("f"), "new");
  Put(u"a", u"\nmore");
  EXPECT_EQ(ReadBytes("f"), "new\r\nmore");
  // Names resolve without regard to case, as every device path does.
  FILE* file = _wfopen(u"\\FOLDER\\F", u"r");
  ASSERT_NE(file, nullptr);
  fclose(file);
}

TEST_F(WideStreamTest, UnrepresentableCharacterFailsWithTheDeviceWeof) {
  FILE* file = _wfopen(u"\\Folder\\f", u"w");
  ASSERT_NE(file, nullptr);
  errno = 0;
  // The device's WEOF is 0xFFFF, which is not negative.
  EXPECT_EQ(fputws(u"ab\u0100cd", file), WCE_WEOF);
  EXPECT_EQ(errno, EILSEQ);
  EXPECT_EQ(ferror(file), 0);  // an encoding error is not a stream error
  EXPECT_EQ(fclose(file), 0);
  EXPECT_EQ(ReadBytes("f"), "ab");  // what came before it is written
}

TEST_F(WideStreamTest, OpenFailuresSetErrnoAndTheLastError) {
  SetLastError(0xdeadbeef);
  errno = 0;
  EXPECT_EQ(_wfopen(u"\\Folder\\missing", u"r"), nullptr);
  EXPECT_EQ(errno, ENOENT);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));

  SetLastError(0xdeadbeef);
  EXPECT_EQ(_wfopen(u"\\Missing\\info", u"w"), nullptr);
  EXPECT_EQ(errno, ENOENT);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));

  SetLastError(0xdeadbeef);
  EXPECT_EQ(_wfopen(u"\\Folder", u"r"), nullptr);
  EXPECT_EQ(errno, EACCES);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));

  // Modes the device runtime does not know; "ccs=" came after it.
  for (const char16_t* mode : {u"", u"x", u"rw", u"r++", u"rtb", u"r, ccs=UTF-8"}) {
    SetLastError(0xdeadbeef);
    errno = 0;
    EXPECT_EQ(_wfopen(u"\\Folder\\f", mode), nullptr) << wince::host::Utf8(mode);
    EXPECT_EQ(errno, EINVAL);
    EXPECT_EQ(GetLastError(), 0xdeadbeef);
  }
  EXPECT_FALSE(std::filesystem::exists(device_ / "Folder" / "f"));
}

TEST_F(WideStreamTest, StreamsShareReadingAndWritingOnly) {
  WriteBytes("f", "x");
  FILE* file = _wfopen(u"\\Folder\\f", u"r");
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(wince::host::OpenFileHandles(), 1);
  SetLastError(0xdeadbeef);
  EXPECT_EQ(CreateFileW(u"\\Folder\\f", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr),
            INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
  HANDLE shared = CreateFileW(u"\\Folder\\f", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
  EXPECT_NE(shared, INVALID_HANDLE_VALUE);
  CloseHandle(shared);
  fclose(file);

  HANDLE exclusive = CreateFileW(u"\\Folder\\f", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(exclusive, INVALID_HANDLE_VALUE);
  SetLastError(0xdeadbeef);
  errno = 0;
  EXPECT_EQ(_wfopen(u"\\Folder\\f", u"r"), nullptr);
  EXPECT_EQ(errno, EACCES);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
  CloseHandle(exclusive);
}

TEST_F(WideStreamTest, ReadFailureIsAStreamError) {
  WriteBytes("f", "line\n");
  FILE* file = _wfopen(u"\\Folder\\f", u"r");
  ASSERT_NE(file, nullptr);
  wince::host::FailNthCall(wince::host::Call::ReadFile, 1);
  WCHAR buffer[16] = u"keep";
  EXPECT_EQ(fgetws(buffer, 16, file), nullptr);
  EXPECT_NE(ferror(file), 0);
  EXPECT_EQ(feof(file), 0);
  fclose(file);
}

}  // namespace
