// The thread's message queue: PostMessageW, PostQuitMessage, GetMessageW,
// PeekMessageW, TranslateMessage, DispatchMessageW, GetMessagePos and
// GetMessageTime.
//
// GetMessageW and PeekMessageW look, in this order, at: posted messages;
// the quit request (only once no posted message waits, and whatever the
// filter); pen input; WM_PAINT for a window with an update region (left in
// place until the window validates); WM_TIMER for a due timer. Sent messages
// never wait: on one thread SendMessageW calls the procedure.
//
// When nothing is waiting, GetMessageW lets time pass: it asks the idle
// handler of the host for input and otherwise moves the virtual clock to the
// next timer. With neither it would wait for ever, so it fails loudly.
#include <deque>
#include <functional>

#include <windows.h>

#include "wince/kernel/not_implemented.h"
#include "wince/user/window_internal.h"

namespace wince::win {
namespace {

struct Queue {
  std::deque<MSG> posted;
  std::deque<MSG> input;
  bool quit = false;
  int quitCode = 0;
  MSG last{};  // the last message retrieved, for GetMessagePos and GetMessageTime
  std::function<bool()> idle;
};

Queue& State() {
  static Queue queue;
  return queue;
}

bool InRange(UINT message, UINT first, UINT last) {
  if (first == 0 && last == 0) return true;
  if (first <= last) return message >= first && message <= last;
  return message >= first || message <= last;
}

bool TakeFrom(std::deque<MSG>& list, HWND filter, UINT first, UINT last, bool remove, MSG& out) {
  for (auto it = list.begin(); it != list.end(); ++it) {
    if (!MatchesFilter(it->hwnd, filter) || !InRange(it->message, first, last)) continue;
    out = *it;
    if (remove) list.erase(it);
    return true;
  }
  return false;
}

bool Next(HWND filter, UINT first, UINT last, bool remove, MSG& out) {
  Queue& q = State();
  if (TakeFrom(q.posted, filter, first, last, remove, out)) return true;
  if (q.quit) {
    out = MSG{};
    out.message = WM_QUIT;
    out.wParam = static_cast<WPARAM>(q.quitCode);
    if (remove) q.quit = false;
    return true;
  }
  if (TakeFrom(q.input, filter, first, last, remove, out)) return true;
  if (InRange(WM_PAINT, first, last)) {
    if (HWND hwnd = WindowToPaint(filter)) {
      out = MSG{};
      out.hwnd = hwnd;
      out.message = WM_PAINT;
      return true;
    }
  }
  return InRange(WM_TIMER, first, last) && TakeDueTimer(filter, remove, out);
}

void Stamp(MSG& msg) {
  if (msg.message == WM_PAINT || msg.message == WM_QUIT) {
    msg.time = static_cast<DWORD>(Now());
    msg.pt = State().last.pt;
  }
  State().last = msg;
}

bool BadFilter(HWND filter) {
  return filter && filter != reinterpret_cast<HWND>(-1) && !WindowOf(filter);
}

}  // namespace

void PostInput(const MSG& msg) { State().input.push_back(msg); }

void PurgeWindowMessages(HWND hwnd) {
  for (auto* list : {&State().posted, &State().input}) {
    std::erase_if(*list, [&](const MSG& m) { return m.hwnd == hwnd; });
  }
}

std::function<bool()>& IdleHandler() { return State().idle; }

void ResetQueue() { State() = Queue{}; }

}  // namespace wince::win

using namespace wince::win;

extern "C" BOOL WINAPI PostMessageW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (hwnd == HWND_BROADCAST) {
    wince::NotImplemented("PostMessageW", "HWND_BROADCAST");
    return FALSE;
  }
  if (hwnd && !WindowOf(hwnd)) return FALSE;
  MSG m{};
  m.hwnd = hwnd;  // NULL: a message for the thread
  m.message = message;
  m.wParam = wParam;
  m.lParam = lParam;
  m.time = static_cast<DWORD>(Now());
  m.pt = State().last.pt;
  State().posted.push_back(m);
  return TRUE;
}

extern "C" VOID WINAPI PostQuitMessage(int exitCode) {
  State().quit = true;
  State().quitCode = exitCode;
}

extern "C" BOOL WINAPI PeekMessageW(LPMSG msg, HWND filter, UINT first, UINT last, UINT flags) {
  if (!msg) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (BadFilter(filter)) return FALSE;
  if (!Next(filter, first, last, (flags & PM_REMOVE) != 0, *msg)) return FALSE;
  Stamp(*msg);
  return TRUE;
}

// TRUE for a message, FALSE for WM_QUIT, -1 on failure.
extern "C" BOOL WINAPI GetMessageW(LPMSG msg, HWND filter, UINT first, UINT last) {
  if (!msg) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return -1;
  }
  if (BadFilter(filter)) return -1;
  for (;;) {
    if (Next(filter, first, last, true, *msg)) {
      Stamp(*msg);
      return msg->message == WM_QUIT ? FALSE : TRUE;
    }
    if (State().idle && State().idle()) continue;
    uint64_t due = InRange(WM_TIMER, first, last) ? NextTimerDue(filter) : UINT64_MAX;
    if (due != UINT64_MAX && due > Now()) {
      SetNow(due);
      continue;
    }
    wince::NotImplemented("GetMessageW", "nothing can arrive: no message, paint or timer waits");
    return -1;
  }
}

// The host has no keyboard, so there is nothing to translate into WM_CHAR.
extern "C" BOOL WINAPI TranslateMessage(CONST MSG* msg) {
  if (msg && (msg->message == WM_KEYDOWN || msg->message == WM_SYSKEYDOWN))
    wince::NotImplemented("TranslateMessage", "key messages");
  return FALSE;
}

extern "C" LRESULT WINAPI DispatchMessageW(CONST MSG* msg) {
  if (!msg) return 0;
  if (msg->message == WM_TIMER && msg->lParam) {
    auto proc = reinterpret_cast<TIMERPROC>(msg->lParam);
    proc(msg->hwnd, WM_TIMER, msg->wParam, GetTickCount());
    return 0;
  }
  if (!msg->hwnd) return 0;
  if (!WindowOf(msg->hwnd)) return 0;
  return Send(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

extern "C" DWORD WINAPI GetMessagePos(void) {
  const POINT& pt = State().last.pt;
  return static_cast<DWORD>(MAKELONG(pt.x, pt.y));
}

extern "C" LONG WINAPI GetMessageTime(void) { return static_cast<LONG>(State().last.time); }
