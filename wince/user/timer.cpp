// Timers on the virtual clock: SetTimer, KillTimer, GetTickCount.
//
// A timer is a due time, not a queued message. It is pending while its due
// time has passed, so however long the clock runs without the queue being
// read, one WM_TIMER at most waits per timer. Taking that WM_TIMER moves the
// due time on by whole periods past the present, keeping the timer on its
// beat. SetTimer with the window and id of a timer that exists replaces it
// and restarts its countdown; a timer of a destroyed window goes with it.
#include <algorithm>
#include <cstdint>
#include <vector>

#include <windows.h>

#include "wince/user/window_internal.h"

namespace wince::win {
namespace {

struct Timer {
  HWND hwnd = nullptr;
  UINT_PTR id = 0;
  UINT period = 0;
  TIMERPROC proc = nullptr;
  uint64_t due = 0;
  uint64_t order = 0;  // ties of due time go to the older timer
};

struct Timers {
  std::vector<Timer> list;
  uint64_t now = 0;
  uint64_t order = 0;
  UINT_PTR nextThreadId = 1;
};

Timers& State() {
  static Timers timers;
  return timers;
}

std::vector<Timer>::iterator FindTimer(HWND hwnd, UINT_PTR id) {
  auto& list = State().list;
  return std::find_if(list.begin(), list.end(),
                      [&](const Timer& t) { return t.hwnd == hwnd && t.id == id; });
}

UINT_PTR FreshThreadId() {
  Timers& s = State();
  while (s.nextThreadId == 0 || FindTimer(nullptr, s.nextThreadId) != s.list.end()) ++s.nextThreadId;
  return s.nextThreadId++;
}

}  // namespace

uint64_t Now() { return State().now; }
void SetNow(uint64_t now) { State().now = now; }

uint64_t NextTimerDue(HWND filter) {
  uint64_t next = UINT64_MAX;
  for (const Timer& t : State().list)
    if (MatchesFilter(t.hwnd, filter)) next = std::min(next, t.due);
  return next;
}

bool TakeDueTimer(HWND filter, bool remove, MSG& msg) {
  Timers& s = State();
  Timer* best = nullptr;
  for (Timer& t : s.list) {
    if (t.due > s.now || !MatchesFilter(t.hwnd, filter)) continue;
    if (!best || t.due < best->due || (t.due == best->due && t.order < best->order)) best = &t;
  }
  if (!best) return false;
  msg = MSG{};
  msg.hwnd = best->hwnd;
  msg.message = WM_TIMER;
  msg.wParam = best->id;
  msg.lParam = reinterpret_cast<LPARAM>(best->proc);
  msg.time = static_cast<DWORD>(s.now);
  if (remove) {
    uint64_t behind = (s.now - best->due) / best->period + 1;
    best->due += behind * best->period;
  }
  return true;
}

void KillWindowTimers(HWND hwnd) {
  auto& list = State().list;
  list.erase(std::remove_if(list.begin(), list.end(), [&](const Timer& t) { return t.hwnd == hwnd; }),
             list.end());
}

void ResetTimers() {
  State().list.clear();
  State().nextThreadId = 1;
}

}  // namespace wince::win

using namespace wince::win;

extern "C" DWORD WINAPI GetTickCount(void) { return static_cast<DWORD>(Now()); }

// Periods are held to [USER_TIMER_MINIMUM, USER_TIMER_MAXIMUM], as the
// platform does, so a zero period cannot make the clock stand still.
extern "C" UINT_PTR WINAPI SetTimer(HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC proc) {
  if (hwnd && !WindowOf(hwnd)) return 0;
  Timers& s = State();
  UINT period = std::clamp<UINT>(elapse, USER_TIMER_MINIMUM, USER_TIMER_MAXIMUM);
  auto it = FindTimer(hwnd, id);
  if (!hwnd && (id == 0 || it == s.list.end())) {
    // A thread timer of an id that is not in use gets a new id.
    id = FreshThreadId();
    it = s.list.end();
  }
  if (it == s.list.end()) {
    s.list.push_back(Timer{});
    it = s.list.end() - 1;
  }
  it->hwnd = hwnd;
  it->id = id;
  it->period = period;
  it->proc = proc;
  it->due = s.now + period;
  it->order = s.order++;
  return id;
}

extern "C" BOOL WINAPI KillTimer(HWND hwnd, UINT_PTR id) {
  if (hwnd && !WindowOf(hwnd)) return FALSE;
  auto it = FindTimer(hwnd, id);
  if (it == State().list.end()) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  State().list.erase(it);
  return TRUE;
}
