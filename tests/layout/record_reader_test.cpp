// ReadRecord and EstablishFilePointer on their own: short and failed reads,
// the directory count from dataStart, case, duplicates, and the progress
// trail with its cut at the buffer's end.
#include <gtest/gtest.h>

#include "apicalls/api_files.h"
#include "layout/load_keyboard.h"
#include "layout/record_reader.h"
#include "tests/layout/loader_harness.h"
#include "wince/host/faults.h"

namespace layout_test {
namespace {

using wince::host::Call;

class RecordReaderTest : public LoaderTest {
 protected:
  void TearDown() override {
    Close();
    LoaderTest::TearDown();
  }

  HANDLE Open(std::u16string_view devicePath) {
    Close();
    std::u16string path(devicePath);
    file_ = tapora::api::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                     OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    EXPECT_NE(file_, INVALID_HANDLE_VALUE);
    return file_;
  }

  void Close() {
    if (file_ != INVALID_HANDLE_VALUE) tapora::api::CloseHandle(file_);
    file_ = INVALID_HANDLE_VALUE;
  }

  // The byte at the file position, or -1 at the end.
  int NextByte() {
    BYTE b = 0;
    DWORD got = 0;
    if (!tapora::api::ReadFile(file_, &b, 1, &got) || got != 1) return -1;
    return b;
  }

  // Members "A.KEY" .. holding their letter as their only byte.
  static std::vector<kbf::Member> Lettered(const char* letters) {
    std::vector<kbf::Member> members;
    for (const char* c = letters; *c; ++c) {
      members.push_back({kbf::MemberName(std::string(1, *c) + ".KEY"), {static_cast<uint8_t>(*c)}});
    }
    return members;
  }

  HANDLE file_ = INVALID_HANDLE_VALUE;
};

TEST_F(RecordReaderTest, ShortRecordReadsWhatThereIsAndZeroFillsTheRest) {
  std::vector<uint8_t> bytes(40);
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(i + 1);
  PutFile(u"\\short.key", bytes);
  HANDLE file = Open(u"\\short.key");

  BYTE record[71];
  std::fill(std::begin(record), std::end(record), 0xEE);
  DWORD got = 0;
  EXPECT_TRUE(tapora::ReadRecord(file, record, tapora::RecordKind::KeyRecord, &got));
  EXPECT_EQ(got, 40u);
  for (int i = 0; i < 40; ++i) EXPECT_EQ(record[i], i + 1) << i;
  for (int i = 40; i < 71; ++i) EXPECT_EQ(record[i], 0) << i;
}

TEST_F(RecordReaderTest, FailedReadStopsAtItsFieldAndIsReported) {
  std::vector<uint8_t> bytes(71, 0x5A);
  PutFile(u"\\full.key", bytes);
  HANDLE file = Open(u"\\full.key");
  wince::host::ResetCallCounts();
  // Fields of a key record: 2, 1, 1, 1 (down), 1, 2 (width), ... the fifth
  // read call is the byte at offset 5.
  wince::host::FailNthCall(Call::ReadFile, 5);

  BYTE record[71];
  DWORD got = 0;
  EXPECT_FALSE(tapora::ReadRecord(file, record, tapora::RecordKind::KeyRecord, &got));
  EXPECT_EQ(got, 5u);
  EXPECT_EQ(wince::host::CallCount(Call::ReadFile), 5u);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(record[i], 0x5A) << i;
  for (int i = 5; i < 71; ++i) EXPECT_EQ(record[i], 0) << i;
}

TEST_F(RecordReaderTest, EveryKindReadsItsSizeFieldByField) {
  std::vector<uint8_t> bytes(200, 1);
  PutFile(u"\\ones.bin", bytes);
  HANDLE file = Open(u"\\ones.bin");
  struct Kind { tapora::RecordKind kind; DWORD size; unsigned calls; };
  for (Kind k : {Kind{tapora::RecordKind::ContainerHeader, 10, 4},
                 Kind{tapora::RecordKind::ContainerEntry, 21, 3},
                 Kind{tapora::RecordKind::PanelSetHeader, 96, 21},
                 Kind{tapora::RecordKind::PanelName, 13, 1},
                 Kind{tapora::RecordKind::KeyPlacement, 17, 3},
                 Kind{tapora::RecordKind::PanelRecord, 37, 17},
                 Kind{tapora::RecordKind::KeyListHeader, 8, 4},
                 Kind{tapora::RecordKind::KeyRecord, 71, 15}}) {
    tapora::api::SetFilePointer(file, 0, nullptr, FILE_BEGIN);
    wince::host::ResetCallCounts();
    BYTE record[96] = {};
    DWORD got = 0;
    EXPECT_TRUE(tapora::ReadRecord(file, record, k.kind, &got));
    EXPECT_EQ(got, k.size);
    EXPECT_EQ(tapora::api::SetFilePointer(file, 0, nullptr, FILE_CURRENT), k.size);
    EXPECT_EQ(wince::host::CallCount(Call::ReadFile), k.calls);
  }
  BYTE record[96];
  DWORD got = 7;
  EXPECT_FALSE(tapora::ReadRecord(file, record, static_cast<tapora::RecordKind>(9), &got));
  EXPECT_EQ(got, 0u);
}

TEST_F(RecordReaderTest, LookupIgnoresCaseAndTakesTheFirstOfDuplicates) {
  std::vector<kbf::Member> members = Lettered("ABC");
  members[1].name = kbf::MemberName("pnl00001.pnl");
  members.push_back({kbf::MemberName("a.key"), {'Z'}});
  PutContainer(u"\\c.kbf", members);
  HANDLE file = Open(u"\\c.kbf");

  EXPECT_TRUE(tapora::EstablishFilePointer(file, u"PNL00001.PNL", nullptr));
  EXPECT_EQ(NextByte(), 'B');
  EXPECT_TRUE(tapora::EstablishFilePointer(file, u"A.KEY", nullptr));
  EXPECT_EQ(NextByte(), 'A');
  EXPECT_TRUE(tapora::EstablishFilePointer(file, u"c.Key", nullptr));
  EXPECT_EQ(NextByte(), 'C');
  EXPECT_FALSE(tapora::EstablishFilePointer(file, u"D.KEY", nullptr));
  EXPECT_FALSE(tapora::EstablishFilePointer(file, u"A.KE", nullptr));
}

TEST_F(RecordReaderTest, DirectoryLengthComesFromDataStart) {
  struct Case { uint32_t dataStart; bool findsD; };
  // 73 and 80 give 3 entries (a remainder is ignored); 94 gives all 4; 5 wraps
  // to a huge count that ends at the first entry not read whole.
  for (Case c : {Case{73, false}, Case{80, false}, Case{94, true}, Case{5, true}}) {
    SCOPED_TRACE(c.dataStart);
    kbf::ContainerOptions options;
    options.dataStart = c.dataStart;
    PutContainer(u"\\d.kbf", Lettered("ABCD"), options);
    HANDLE file = Open(u"\\d.kbf");
    EXPECT_TRUE(tapora::EstablishFilePointer(file, u"C.KEY", nullptr));
    EXPECT_EQ(NextByte(), 'C');
    EXPECT_EQ(tapora::EstablishFilePointer(file, u"D.KEY", nullptr), c.findsD);
    if (c.findsD) {
      EXPECT_EQ(NextByte(), 'D');
    }
    EXPECT_FALSE(tapora::EstablishFilePointer(file, u"E.KEY", nullptr));
  }
}

TEST_F(RecordReaderTest, BrokenContainersFailTheLookup) {
  std::vector<uint8_t> container = kbf::WriteContainer(Lettered("AB"));
  std::vector<uint8_t> cutHeader(container.begin(), container.begin() + 9);
  std::vector<uint8_t> cutEntry(container.begin(), container.begin() + 10 + 21 + 20);
  std::vector<uint8_t> farMember = container;
  farMember[10 + 21 + 13 + 3] = 0x80;  // B's memberOffset beyond any seek
  PutFile(u"\\h.kbf", cutHeader);
  PutFile(u"\\e.kbf", cutEntry);
  PutFile(u"\\f.kbf", farMember);

  EXPECT_FALSE(tapora::EstablishFilePointer(Open(u"\\h.kbf"), u"A.KEY", nullptr));
  EXPECT_TRUE(tapora::EstablishFilePointer(Open(u"\\e.kbf"), u"A.KEY", nullptr));
  EXPECT_FALSE(tapora::EstablishFilePointer(Open(u"\\e.kbf"), u"B.KEY", nullptr));
  HANDLE far = Open(u"\\f.kbf");
  EXPECT_FALSE(tapora::EstablishFilePointer(far, u"B.KEY", nullptr));
  EXPECT_TRUE(tapora::EstablishFilePointer(far, u"A.KEY", nullptr));
  EXPECT_EQ(NextByte(), 'A');
}

TEST_F(RecordReaderTest, ProgressTrailNamesEveryEntryExamined) {
  PutContainer(u"\\t.kbf", Lettered("ABC"));
  HANDLE file = Open(u"\\t.kbf");
  WCHAR progress[260] = u"Reading";

  EXPECT_TRUE(tapora::EstablishFilePointer(file, u"B.KEY", progress));
  EXPECT_EQ(std::u16string(progress), u"Reading\r\nEstablishFilePointer: Match file:B.KEY:B.KEY");

  EXPECT_FALSE(tapora::EstablishFilePointer(file, u"X", progress));
  EXPECT_EQ(std::u16string(progress),
            u"Reading\r\nEstablishFilePointer: Match file:B.KEY:B.KEY"
            u"\r\nEstablishFilePointer: Match file:X:X:X");
}

TEST_F(RecordReaderTest, ProgressTrailIsCutAtTheBufferEnd) {
  std::vector<kbf::Member> members;
  for (int i = 1; i <= 30; ++i) {
    char name[16];
    std::snprintf(name, sizeof name, "MEMBER%02d.KEY", i);
    members.push_back({kbf::MemberName(name), {static_cast<uint8_t>(i)}});
  }
  PutContainer(u"\\big.kbf", members);
  HANDLE file = Open(u"\\big.kbf");
  // The buffer is 260 units; what follows it must stay untouched.
  WCHAR buffer[300];
  std::fill(std::begin(buffer), std::end(buffer), u'#');
  buffer[0] = 0;

  EXPECT_TRUE(tapora::EstablishFilePointer(file, u"MEMBER30.KEY", buffer));

  EXPECT_EQ(NextByte(), 30);
  std::u16string text(buffer);
  EXPECT_EQ(text.size(), 259u);
  EXPECT_EQ(text.substr(0, 48), u"\r\nEstablishFilePointer: Match file:MEMBER30.KEY:");
  for (int i = 260; i < 300; ++i) EXPECT_EQ(buffer[i], u'#') << i;
}

}  // namespace
}  // namespace layout_test
