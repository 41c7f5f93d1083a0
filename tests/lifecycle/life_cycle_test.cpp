// The life cycle run clean, then once for every call of every kind that can
// fail, failing that call: each run must keep every invariant (life_cycle.h).
// A failure the system reports (a message, a failed load, a refused
// install) is fine; only the invariants count.
#include "tests/lifecycle/life_cycle.h"

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <ostream>
#include <string>

#include "wince/host/faults.h"
#include "wince/host/message_box.h"
#include "wince/host/text.h"

namespace wince::host {
// How the tests' names and messages show a kind.
void PrintTo(Call call, std::ostream* out) { *out << CallName(call); }
}  // namespace wince::host

namespace {

using wince::host::Call;

// Calls of each kind that one clean cycle makes.
const std::array<unsigned, wince::host::kCallKinds>& CleanCounts() {
  static const std::array<unsigned, wince::host::kCallKinds> counts = [] {
    std::array<unsigned, wince::host::kCallKinds> made{};
    lifecycle::RunLifeCycle();
    for (Call call : wince::host::kAllCalls)
      made[static_cast<size_t>(call)] = wince::host::CallCount(call);
    return made;
  }();
  return counts;
}

void ExpectKept(const lifecycle::Outcome& outcome, const std::string& run) {
  for (const std::string& line : outcome.broken) ADD_FAILURE() << run << ": " << line;
}

TEST(LifeCycle, CleanRunKeepsEveryInvariantAndDoesEveryStep) {
  const lifecycle::Outcome outcome = lifecycle::RunLifeCycle();
  ExpectKept(outcome, "clean");
  for (const auto& box : wince::host::MessageBoxes())
    ADD_FAILURE() << "message: " << wince::host::Utf8(box.caption) << ": "
                  << wince::host::Utf8(box.text);
  EXPECT_TRUE(outcome.selected);
  EXPECT_TRUE(outcome.reloaded);
  EXPECT_TRUE(outcome.uninstalled);
  // "b" and "c" only after the keyboard switches, "o" only after the reload.
  EXPECT_EQ(outcome.typed, u"abco");
  // Every kind is met at least once, so the sweep reaches each.
  for (Call call : wince::host::kAllCalls)
    EXPECT_GT(CleanCounts()[static_cast<size_t>(call)], 0u) << wince::host::CallName(call);
}

// Faults found by the sweep, kept as rows of their own: the kind, which of
// its calls in the cycle, and what broke before the system was mended.
struct Regression {
  Call call;
  unsigned nth;
  const char* broke;
};

const Regression kRegressions[] = {
    {Call::ImageList_Create, 1,
     "the wide image list failed; the next GetInfo built both lists again and leaked the "
     "narrow one"},
};

TEST(LifeCycle, FaultsFoundBeforeStayMended) {
  for (const Regression& row : kRegressions) {
    const lifecycle::Outcome outcome =
        lifecycle::RunLifeCycle([&row] { wince::host::FailNthCall(row.call, row.nth); });
    ExpectKept(outcome, std::string(wince::host::CallName(row.call)) + " #" +
                            std::to_string(row.nth) + " (" + row.broke + ")");
  }
}

class EveryCallFailing : public ::testing::TestWithParam<Call> {};

TEST_P(EveryCallFailing, KeepsEveryInvariant) {
  const Call call = GetParam();
  const unsigned calls = CleanCounts()[static_cast<size_t>(call)];
  const auto start = std::chrono::steady_clock::now();
  for (unsigned n = 1; n <= calls; ++n) {
    const lifecycle::Outcome outcome =
        lifecycle::RunLifeCycle([call, n] { wince::host::FailNthCall(call, n); });
    const std::string run = std::string(wince::host::CallName(call)) + " #" + std::to_string(n);
    // The cycle is the clean one up to the armed call, so that call was made.
    EXPECT_GE(wince::host::CallCount(call), n) << run << " was not reached";
    ExpectKept(outcome, run);
  }
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("%s: %u runs in %.2f s\n", wince::host::CallName(call), calls, seconds);
}

INSTANTIATE_TEST_SUITE_P(Sweep, EveryCallFailing, ::testing::ValuesIn(wince::host::kAllCalls),
                         [](const ::testing::TestParamInfo<Call>& info) {
                           return std::string(wince::host::CallName(info.param));
                         });

}  // namespace
