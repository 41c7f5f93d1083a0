// ReadFile served from a copy of the file: whatever handle reads, and however
// it moves, it gets exactly what the host file holds at that moment, with
// the same results, errors and fault points as a read of the host file.
#include <string>
#include <vector>

#include "tests/wince/kernel/device_fixture.h"
#include "wince/host/faults.h"

namespace {

class FileReadCopyTest : public DeviceFolderTest {
 protected:
  void TearDown() override {
    wince::host::ClearFaults();
    DeviceFolderTest::TearDown();
  }
};

// Bytes whose value depends on their offset, so that a read from the wrong
// place shows.
std::string Pattern(size_t size) {
  std::string bytes(size, '\0');
  for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 7 + i / 251) & 0xFF);
  return bytes;
}

// Reads count bytes at the handle's position: what ReadFile returned.
std::string Read(HANDLE h, DWORD count, BOOL* result = nullptr) {
  std::vector<char> buffer(count + 1, '\0');
  DWORD got = 0xdeadbeef;
  BOOL ok = ReadFile(h, buffer.data(), count, &got, NULL);
  if (result) *result = ok;
  return ok ? std::string(buffer.data(), got) : "<failed>";
}

struct Step {
  LONG seek;  // -1: read on from where the last read ended
  DWORD count;
};

TEST_F(FileReadCopyTest, EveryHandleReadsWhatTheFileHolds) {
  const std::vector<Step> steps = {
      {-1, 4}, {-1, 96},  {-1, 0},   {0, 1},     {-1, 300}, {10, 5000}, {-1, 17},
      {3, 0},  {-1, 3},   {-2, 0},   {200, 64},  {-1, 64},  {0, 70000}, {-1, 8}};
  struct File {
    std::string name;
    size_t size;
  };
  const std::vector<File> files = {
      {"empty.bin", 0}, {"small.bin", 333}, {"large.bin", (size_t{1} << 20) + 3}};
  const std::vector<DWORD> shares = {0, FILE_SHARE_READ, FILE_SHARE_READ | FILE_SHARE_WRITE};
  for (const File& file : files) {
    const std::string data = Pattern(file.size);
    WriteHost(file.name, data);
    const std::u16string path = u"\\" + std::u16string(file.name.begin(), file.name.end());
    for (DWORD share : shares) {
      ScopedFile f(OpenForReading(path.c_str(), share));
      ASSERT_TRUE(f.ok());
      uint64_t position = 0;
      for (size_t i = 0; i < steps.size(); ++i) {
        const Step& step = steps[i];
        // -2: just past the end
        if (step.seek != -1) position = step.seek == -2 ? data.size() + 1 : step.seek;
        if (step.seek != -1) SetFilePointer(f.h, static_cast<LONG>(position), NULL, FILE_BEGIN);
        const std::string expected =
            position < data.size() ? data.substr(position, step.count) : std::string();
        EXPECT_EQ(Read(f.h, step.count), expected)
            << file.name << ", share " << share << ", step " << i;
        position += expected.size();
        EXPECT_EQ(SetFilePointer(f.h, 0, NULL, FILE_CURRENT), position)
            << file.name << ", share " << share << ", step " << i;
      }
    }
  }
}

TEST_F(FileReadCopyTest, ATruncatingOpenReachesAReaderThatDoesNotShareWriting) {
  WriteHost("f.bin", "0123456789");
  ScopedFile reader(OpenForReading(TEXT("\\f.bin"), FILE_SHARE_READ));
  EXPECT_EQ(Read(reader.h, 2), "01");
  EXPECT_EQ(Read(reader.h, 2), "23");
  // Sharing lets an open that asks for no write access truncate the file.
  ScopedFile truncating(CreateFileW(TEXT("\\f.bin"), 0, FILE_SHARE_READ, NULL, CREATE_ALWAYS, 0, NULL));
  ASSERT_TRUE(truncating.ok());
  EXPECT_EQ(Read(reader.h, 4), "");
  SetFilePointer(reader.h, 0, NULL, FILE_BEGIN);
  EXPECT_EQ(Read(reader.h, 4), "");
  EXPECT_EQ(GetFileSize(reader.h, NULL), 0u);
}

TEST_F(FileReadCopyTest, AReaderThatSharesWritingSeesEveryWrite) {
  WriteHost("f.bin", "abcdefgh");
  const DWORD both = FILE_SHARE_READ | FILE_SHARE_WRITE;
  ScopedFile reader(OpenForReading(TEXT("\\f.bin"), both));
  ScopedFile writer(CreateFileW(TEXT("\\f.bin"), GENERIC_WRITE, both, NULL, OPEN_EXISTING, 0, NULL));
  ASSERT_TRUE(writer.ok());
  DWORD written = 0;
  const std::vector<std::pair<std::string, std::string>> rounds = {
      {"XY", "XYcdefgh"}, {"12345678", "XY12345678"}, {"tail!", "XY12345678tail!"}};
  EXPECT_EQ(Read(reader.h, 8), "abcdefgh");
  for (const auto& [bytes, seen] : rounds) {
    ASSERT_TRUE(WriteFile(writer.h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, NULL));
    SetFilePointer(reader.h, 0, NULL, FILE_BEGIN);
    EXPECT_EQ(Read(reader.h, 64), seen) << "after writing " << bytes;
  }
  // The same through one handle that both reads and writes.
  CloseHandle(writer.h);
  writer.h = INVALID_HANDLE_VALUE;
  ScopedFile bothWays(
      CreateFileW(TEXT("\\f.bin"), GENERIC_READ | GENERIC_WRITE, both, NULL, OPEN_EXISTING, 0, NULL));
  ASSERT_TRUE(bothWays.ok());
  EXPECT_EQ(Read(bothWays.h, 2), "XY");
  EXPECT_EQ(Read(bothWays.h, 2), "12");
  ASSERT_TRUE(WriteFile(bothWays.h, "--", 2, &written, NULL));
  SetFilePointer(bothWays.h, 0, NULL, FILE_BEGIN);
  EXPECT_EQ(Read(bothWays.h, 64), "XY12--5678tail!");
}

TEST_F(FileReadCopyTest, FaultsAndRefusalsComeFirstAndMoveNothing) {
  WriteHost("f.bin", "0123456789");
  ScopedFile f(OpenForReading(TEXT("\\f.bin"), 0));
  EXPECT_EQ(Read(f.h, 1), "0");
  EXPECT_EQ(Read(f.h, 1), "1");  // from here on, reads come from the copy
  struct Refusal {
    const char* what;
    void (*arm)();
    LPVOID buffer;
    LPOVERLAPPED overlapped;
    DWORD error;
  };
  char buffer[8];
  // The host declares OVERLAPPED without a body: only its address matters.
  alignas(8) unsigned char overlappedBytes[32] = {};
  auto* overlapped = reinterpret_cast<LPOVERLAPPED>(overlappedBytes);
  const std::vector<Refusal> refusals = {
      {"injected fault", [] { wince::host::FailNthCall(wince::host::Call::ReadFile, 1); }, buffer,
       nullptr, ERROR_READ_FAULT},
      {"no buffer", [] {}, nullptr, nullptr, ERROR_NOACCESS},
      {"overlapped", [] {}, buffer, overlapped, ERROR_INVALID_PARAMETER},
  };
  for (const Refusal& r : refusals) {
    r.arm();
    DWORD got = 0xdeadbeef;
    SetLastError(0xdeadbeef);
    EXPECT_FALSE(ReadFile(f.h, r.buffer, 4, &got, r.overlapped)) << r.what;
    EXPECT_EQ(GetLastError(), r.error) << r.what;
    EXPECT_EQ(got, 0u) << r.what;
    EXPECT_EQ(Read(f.h, 1), "2") << r.what << ": the position moved";
    SetFilePointer(f.h, 2, NULL, FILE_BEGIN);
  }
  // A handle without read access is refused before any copy is made.
  ScopedFile writeOnly(CreateFileW(TEXT("\\w.bin"), GENERIC_WRITE, 0, NULL, CREATE_NEW, 0, NULL));
  DWORD got = 0;
  SetLastError(0xdeadbeef);
  EXPECT_FALSE(ReadFile(writeOnly.h, buffer, 1, &got, NULL));
  EXPECT_FALSE(ReadFile(writeOnly.h, buffer, 1, &got, NULL));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
}

}  // namespace
