// Fault injection: a load in which the N-th allocation, reallocation or read
// fails, for every N up to the load's total, ends in the one error message,
// keeps the window size, leaks no heap block and no file handle.
#include <gtest/gtest.h>

#include <cstdio>

#include "layout/keyboard_memory.h"
#include "layout/load_keyboard.h"
#include "tests/layout/loader_harness.h"
#include "wince/host/device.h"
#include "wince/host/faults.h"
#include "wince/host/heap.h"
#include "wince/host/message_box.h"

namespace layout_test {
namespace {

using wince::host::Call;

constexpr char16_t kKbf[] = u"\\Keyboards\\test.kbf";
constexpr char16_t kLooseSet[] = u"\\Keyboards\\PNL00001.PNL";
constexpr Call kCalls[] = {Call::LocalAlloc, Call::LocalReAlloc, Call::ReadFile};

class FaultInjectionTest : public LoaderTest {
 protected:
  // Calls of each kind that a fault-free load of `path` makes.
  std::array<unsigned, 3> CountLoad(std::u16string_view path) {
    wince::host::ResetCallCounts();
    EXPECT_TRUE(Load(path).ok);
    std::array<unsigned, 3> totals{};
    for (size_t i = 0; i < 3; ++i) totals[i] = wince::host::CallCount(kCalls[i]);
    tapora::ResetKeyboard();
    return totals;
  }

  // Loads `path` with the n-th call of `call` failing. Checks that nothing
  // leaked and returns whether the load succeeded; a failed load must show
  // exactly the one error message.
  bool LoadWithFault(std::u16string_view path, Call call, unsigned n) {
    wince::host::ClearMessageBoxes();
    wince::host::FailNthCall(call, n);
    LoadResult result = Load(path, 3, 4);
    wince::host::ClearFaults();
    EXPECT_EQ(wince::host::OpenFileHandles(), baselineFiles_);
    EXPECT_EQ(wince::host::LiveHeapBlocks(), baselineBlocks_ + WalkKeyboardMemory().blocks)
        << "a block that the failed step allocated is out of reach";
    if (!result.ok) {
      EXPECT_EQ(result.height, 3);
      EXPECT_EQ(result.width, 4);
      EXPECT_EQ(wince::host::MessageBoxes().size(), 1u);
      if (!wince::host::MessageBoxes().empty()) {
        EXPECT_EQ(wince::host::MessageBoxes()[0].text.rfind(LoadErrorText(u""), 0), 0u);
      }
    } else {
      EXPECT_TRUE(wince::host::MessageBoxes().empty());
    }
    tapora::ResetKeyboard();
    EXPECT_EQ(wince::host::LiveHeapBlocks(), baselineBlocks_);
    return result.ok;
  }
};

TEST_F(FaultInjectionTest, ContainerLoadFailsCleanlyAtEveryFault) {
  PutContainer(kKbf, kbf::Members(TwoPanelKeyboard()));
  std::array<unsigned, 3> totals = CountLoad(kKbf);
  std::printf("[ totals   ] container load: %u LocalAlloc, %u LocalReAlloc, %u ReadFile\n",
              totals[0], totals[1], totals[2]);
  EXPECT_GT(totals[0], 0u);
  EXPECT_GT(totals[1], 0u);
  EXPECT_GT(totals[2], 0u);

  for (size_t c = 0; c < 3; ++c) {
    for (unsigned n = 1; n <= totals[c]; ++n) {
      SCOPED_TRACE(std::string(wince::host::CallName(kCalls[c])) + " #" + std::to_string(n));
      EXPECT_FALSE(LoadWithFault(kKbf, kCalls[c], n));
    }
  }
  // One past the total is not reached: the load succeeds.
  EXPECT_TRUE(LoadWithFault(kKbf, Call::ReadFile, totals[2] + 1));
}

TEST_F(FaultInjectionTest, LooseLoadFailsCleanlyAtEveryFaultOfTheLastAttempt) {
  kbf::Keyboard keyboard = TwoPanelKeyboard();
  PutLoose(u"\\Keyboards", kbf::Members(keyboard));
  std::array<unsigned, 3> totals = CountLoad(kLooseSet);

  // The first attempt reads the set file as a container and fails whatever
  // happens; a fault there leaves the second attempt to load the keyboard.
  wince::host::ResetCallCounts();
  EXPECT_FALSE(tapora::LoadPanelSet(tapora::ContainerMode, kLooseSet));
  std::array<unsigned, 3> first{};
  for (size_t i = 0; i < 3; ++i) first[i] = wince::host::CallCount(kCalls[i]);
  tapora::CleanupMemory();
  std::printf("[ totals   ] loose load: %u LocalAlloc, %u LocalReAlloc, %u ReadFile "
              "(first attempt %u, 0, %u)\n",
              totals[0], totals[1], totals[2], first[0], first[2]);

  LoadedKeyboard expected = Expected(keyboard);
  for (size_t c = 0; c < 3; ++c) {
    for (unsigned n = 1; n <= totals[c]; ++n) {
      SCOPED_TRACE(std::string(wince::host::CallName(kCalls[c])) + " #" + std::to_string(n));
      bool inFirstAttempt = n <= first[c];
      wince::host::ClearMessageBoxes();
      wince::host::FailNthCall(kCalls[c], n);
      LoadResult result = Load(kLooseSet);
      wince::host::ClearFaults();
      EXPECT_EQ(result.ok, inFirstAttempt);
      if (result.ok) {
        LoadedKeyboard loaded = WalkKeyboardMemory();
        ASSERT_EQ(loaded.panels.size(), expected.panels.size());
        for (size_t p = 0; p < loaded.panels.size(); ++p) {
          EXPECT_EQ(loaded.panels[p].record, expected.panels[p].record);
        }
      } else {
        EXPECT_EQ(wince::host::MessageBoxes().size(), 1u);
      }
      EXPECT_EQ(wince::host::OpenFileHandles(), baselineFiles_);
      EXPECT_EQ(wince::host::LiveHeapBlocks(), baselineBlocks_ + WalkKeyboardMemory().blocks);
      tapora::ResetKeyboard();
      EXPECT_EQ(wince::host::LiveHeapBlocks(), baselineBlocks_);
    }
  }
}

}  // namespace
}  // namespace layout_test
