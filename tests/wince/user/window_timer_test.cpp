// Timers on the virtual clock: replacement restarts the countdown, WM_TIMER
// only when nothing else waits, one pending tick per timer, timer
// procedures, and a procedure that re-arms its timer on every message.
#include <gtest/gtest.h>

#include <vector>

#include <windows.h>

#include "wince/host/windows.h"
#include "window_test_support.h"

namespace {

using namespace window_test;
using wince::host::AdvanceClock;
using wince::host::PassTime;

class WindowTimerTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    window_ = Child(screen_, 0, 0, 10, 10);
    wince::host::PumpMessages();
    Custom() = [this](HWND, UINT m, WPARAM id, LPARAM, LRESULT&) {
      if (m == WM_TIMER) ticks_.push_back({GetTickCount(), id});
      return false;
    };
  }
  // Every waiting message, removed, without dispatching.
  std::vector<UINT> Drain() {
    std::vector<UINT> out;
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) out.push_back(msg.message);
    return out;
  }
  struct Tick {
    DWORD time;
    WPARAM id;
    bool operator==(const Tick&) const = default;
  };
  HWND window_ = nullptr;
  std::vector<Tick> ticks_;
};

TEST_F(WindowTimerTest, TicksComeOnTheBeat) {
  SetLastError(0xdeadbeef);
  EXPECT_EQ(SetTimer(window_, 17, 100, nullptr), 17u);
  EXPECT_EQ(GetLastError(), 0xdeadbeefu);
  AdvanceClock(350);
  EXPECT_EQ(ticks_, (std::vector<Tick>{{100, 17}, {200, 17}, {300, 17}}));
  EXPECT_EQ(wince::host::VirtualTime(), 350u);
}

TEST_F(WindowTimerTest, SameWindowAndIdReplacesAndRestarts) {
  SetTimer(window_, 17, 100, nullptr);
  AdvanceClock(60);
  SetTimer(window_, 17, 100, nullptr);  // countdown starts again at 60
  SetTimer(window_, 18, 500, nullptr);  // another id is another timer
  AdvanceClock(200);
  EXPECT_EQ(ticks_, (std::vector<Tick>{{160, 17}, {260, 17}}));
  ticks_.clear();
  SetTimer(window_, 17, 30, nullptr);  // a new period replaces the old
  AdvanceClock(300);
  ASSERT_GE(ticks_.size(), 2u);
  EXPECT_EQ(ticks_[0], (Tick{290, 17}));
  EXPECT_EQ(ticks_[1], (Tick{320, 17}));
  EXPECT_NE(std::find(ticks_.begin(), ticks_.end(), Tick{560, 18}), ticks_.end());
}

TEST_F(WindowTimerTest, OnePendingTickHoweverLongNobodyReads) {
  SetTimer(window_, 1, 100, nullptr);
  PassTime(1000);
  EXPECT_EQ(Drain(), (std::vector<UINT>{WM_TIMER}));
  // Taking it at 1000 keeps the beat: the next is due at 1100.
  PassTime(99);
  EXPECT_TRUE(Drain().empty());
  PassTime(1);
  EXPECT_EQ(Drain(), (std::vector<UINT>{WM_TIMER}));
  // Peeking without removing leaves it waiting.
  PassTime(100);
  MSG msg;
  EXPECT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE));
  EXPECT_EQ(Drain(), (std::vector<UINT>{WM_TIMER}));
}

TEST_F(WindowTimerTest, TimerWaitsBehindPostedInputAndPaint) {
  SetTimer(window_, 1, 100, nullptr);
  PassTime(100);
  InvalidateRect(window_, nullptr, FALSE);
  wince::host::PenDown(window_, 1, 1);
  PostMessageW(window_, WM_USER, 0, 0);
  MSG msg;
  std::vector<UINT> order;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    order.push_back(msg.message);
    DispatchMessageW(&msg);  // validates the paint
  }
  EXPECT_EQ(order, (std::vector<UINT>{WM_USER, WM_LBUTTONDOWN, WM_PAINT, WM_TIMER}));
}

TEST_F(WindowTimerTest, KillTimerDropsThePendingTick) {
  SetTimer(window_, 1, 100, nullptr);
  PassTime(150);
  SetLastError(0xdeadbeef);
  EXPECT_TRUE(KillTimer(window_, 1));
  EXPECT_EQ(GetLastError(), 0xdeadbeefu);
  EXPECT_TRUE(Drain().empty());
  SetLastError(0xdeadbeef);
  EXPECT_FALSE(KillTimer(window_, 1));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  HWND stale = reinterpret_cast<HWND>(uintptr_t{0x55});
  SetLastError(0xdeadbeef);
  EXPECT_FALSE(KillTimer(stale, 1));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
  SetLastError(0xdeadbeef);
  EXPECT_EQ(SetTimer(stale, 1, 100, nullptr), 0u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
}

std::vector<std::pair<UINT_PTR, DWORD>> procCalls;
VOID CALLBACK RecordTimer(HWND, UINT message, UINT_PTR id, DWORD time) {
  EXPECT_EQ(message, static_cast<UINT>(WM_TIMER));
  procCalls.push_back({id, time});
}

TEST_F(WindowTimerTest, TimerProcedureIsCalledInsteadOfTheWindow) {
  procCalls.clear();
  SetTimer(window_, 5, 40, RecordTimer);
  UINT_PTR a = SetTimer(nullptr, 0, 70, RecordTimer);
  UINT_PTR b = SetTimer(nullptr, 0, 1000, RecordTimer);
  EXPECT_NE(a, 0u);
  EXPECT_NE(b, 0u);
  EXPECT_NE(a, b);  // thread timers get ids of their own
  EXPECT_EQ(SetTimer(nullptr, a, 80, RecordTimer), a);  // an id in use is replaced
  AdvanceClock(85);
  EXPECT_TRUE(ticks_.empty());
  // Both due at 80: the older timer first; a replaced timer counts as new.
  EXPECT_EQ(procCalls, (std::vector<std::pair<UINT_PTR, DWORD>>{{5, 40}, {5, 80}, {a, 80}}));
  KillTimer(nullptr, a);
  KillTimer(nullptr, b);
}

TEST_F(WindowTimerTest, PeriodIsHeldToTheMinimum) {
  SetTimer(window_, 1, 0, nullptr);
  AdvanceClock(25);
  EXPECT_EQ(ticks_, (std::vector<Tick>{{10, 1}, {20, 1}}));
}

TEST_F(WindowTimerTest, ReArmingOnEveryMessageHoldsTicksBackWhileMessagesFlow) {
  // The way a panel drives typematic repeat: every message restarts 100 ms.
  Custom() = [this](HWND h, UINT m, WPARAM id, LPARAM, LRESULT&) {
    SetTimer(h, 17, 100, nullptr);
    if (m == WM_TIMER) ticks_.push_back({GetTickCount(), id});
    return false;
  };
  wince::host::PenDown(window_, 2, 2);
  AdvanceClock(0);
  for (int i = 0; i < 5; ++i) {  // a pen move every 60 ms
    AdvanceClock(60);
    wince::host::PenMove(window_, 2, 3);
  }
  AdvanceClock(60);  // last move at 300
  EXPECT_TRUE(ticks_.empty());
  AdvanceClock(250);
  // 100 ms after the last move, then every 100 ms: each tick re-arms too.
  EXPECT_EQ(ticks_, (std::vector<Tick>{{400, 17}, {500, 17}, {600, 17}}));
}

}  // namespace
