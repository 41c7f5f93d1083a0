// MessageBoxW and OutputDebugStringW: recorded, answered, optionally echoed.
#include <gtest/gtest.h>

#include <windows.h>

#include "wince/host/debug_output.h"
#include "wince/host/message_box.h"

namespace {

class MessageBoxTest : public ::testing::Test {
 protected:
  void SetUp() override {
    wince::host::ClearMessageBoxes();
    wince::host::SetMessageBoxAnswer(0);
  }
  void TearDown() override {
    wince::host::SetMessageBoxAnswer(0);
    wince::host::SetMessageBoxEcho(false);
    wince::host::ClearMessageBoxes();
  }
};

TEST_F(MessageBoxTest, BoxesAreRecordedInOrder) {
  HWND owner = reinterpret_cast<HWND>(static_cast<uintptr_t>(0x1230));
  EXPECT_EQ(MessageBoxW(NULL, TEXT("Memory Error, PNL Block"), TEXT("CleanupMemory"), MB_OK), IDOK);
  EXPECT_EQ(MessageBoxW(owner, TEXT("line 1\r\nline 2"), NULL, MB_ICONEXCLAMATION | MB_OK), IDOK);
  const auto& boxes = wince::host::MessageBoxes();
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0].owner, nullptr);
  EXPECT_EQ(boxes[0].text, u"Memory Error, PNL Block");
  EXPECT_EQ(boxes[0].caption, u"CleanupMemory");
  EXPECT_EQ(boxes[0].type, static_cast<UINT>(MB_OK));
  EXPECT_EQ(boxes[1].owner, owner);
  EXPECT_EQ(boxes[1].text, u"line 1\r\nline 2");
  EXPECT_EQ(boxes[1].caption, u"Error");  // a NULL caption shows as "Error"
  EXPECT_EQ(boxes[1].type, static_cast<UINT>(MB_ICONEXCLAMATION | MB_OK));
  wince::host::ClearMessageBoxes();
  EXPECT_TRUE(wince::host::MessageBoxes().empty());
}

TEST_F(MessageBoxTest, AnswersAreTheFirstButtonUnlessATestSetsOne) {
  EXPECT_EQ(MessageBoxW(NULL, TEXT("q"), TEXT("c"), MB_OKCANCEL), IDOK);
  EXPECT_EQ(MessageBoxW(NULL, TEXT("q"), TEXT("c"), MB_YESNO | MB_ICONQUESTION), IDYES);
  wince::host::SetMessageBoxAnswer(IDNO);
  EXPECT_EQ(MessageBoxW(NULL, TEXT("q"), TEXT("c"), MB_YESNO), IDNO);
  EXPECT_EQ(MessageBoxW(NULL, TEXT("q"), TEXT("c"), MB_YESNO), IDNO);  // it stays set
  wince::host::SetMessageBoxAnswer(0);
  EXPECT_EQ(MessageBoxW(NULL, TEXT("q"), TEXT("c"), MB_YESNO), IDYES);
}

TEST_F(MessageBoxTest, EchoWritesCaptionAndTextToStderr) {
  wince::host::SetMessageBoxEcho(true);
  ::testing::internal::CaptureStderr();
  MessageBoxW(NULL, u"Before installing please reset your device.", u"Install", MB_OK);
  MessageBoxW(NULL, u"caf\u00E9", u"T", MB_OK);
  std::string echoed = ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(echoed, "[Install] Before installing please reset your device.\n[T] caf\xC3\xA9\n");
  wince::host::SetMessageBoxEcho(false);
  ::testing::internal::CaptureStderr();
  MessageBoxW(NULL, TEXT("quiet"), TEXT("T"), MB_OK);
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
}

TEST(DebugOutput, StringsAreRecorded) {
  wince::host::ClearDebugOutput();
  OutputDebugStringW(TEXT("DllRegisterServer\r\n"));
  OutputDebugStringW(NULL);
  OutputDebugStringW(TEXT("second"));
  EXPECT_EQ(wince::host::DebugOutput(), (std::vector<std::u16string>{u"DllRegisterServer\r\n", u"second"}));
  wince::host::ClearDebugOutput();
  EXPECT_TRUE(wince::host::DebugOutput().empty());
}

}  // namespace
