// Windows and the message queue: the order of creation and destruction
// messages, a failed WM_CREATE, visibility, and the order in which
// GetMessageW hands out posted, quit, input, paint and timer messages.
#include <gtest/gtest.h>

#include <windows.h>
#include <windowsx.h>

#include "wince/host/windows.h"
#include "window_test_support.h"

namespace {

using namespace window_test;

class WindowMessagesTest : public WindowTest {};

const std::vector<UINT> kLifeCycle = {WM_CREATE, WM_SIZE, WM_MOVE, WM_SHOWWINDOW,
                                      WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED,
                                      WM_DESTROY, WM_NCDESTROY, WM_CLOSE};

std::vector<Message> LifeCycle() {
  std::vector<Message> out;
  for (const Message& m : Log())
    if (std::find(kLifeCycle.begin(), kLifeCycle.end(), m.message) != kLifeCycle.end())
      out.push_back(m);
  return out;
}

TEST_F(WindowMessagesTest, CreationSequenceOfAVisibleChild) {
  HWND w = Child(screen_, 3, 175, 200, 80);
  ASSERT_NE(w, nullptr);
  EXPECT_SEQUENCE(LifeCycle(), (std::vector<Message>{{w, WM_CREATE, 0},
                                                     {w, WM_SIZE, SIZE_RESTORED},
                                                     {w, WM_MOVE, 0},
                                                     {w, WM_SHOWWINDOW, TRUE},
                                                     {w, WM_WINDOWPOSCHANGING, 0},
                                                     {w, WM_WINDOWPOSCHANGED, 0}}));
  EXPECT_TRUE(IsWindowVisible(w));
  RECT r;
  EXPECT_TRUE(GetWindowRect(w, &r));
  EXPECT_EQ(r.left, 3);
  EXPECT_EQ(r.top, 175);
  EXPECT_EQ(r.right, 203);
  EXPECT_EQ(r.bottom, 255);
  EXPECT_TRUE(GetClientRect(w, &r));
  EXPECT_EQ(r.left, 0);
  EXPECT_EQ(r.right, 200);
  EXPECT_EQ(r.bottom, 80);
  EXPECT_EQ(GetParent(w), screen_);
}

TEST_F(WindowMessagesTest, CreateStructAndPositionRelativeToTheParent) {
  CREATESTRUCTW seen{};
  LPARAM sizeParam = 0, moveParam = 0;
  Custom() = [&](HWND, UINT m, WPARAM, LPARAM l, LRESULT&) {
    if (m == WM_CREATE) seen = *reinterpret_cast<CREATESTRUCTW*>(l);
    if (m == WM_SIZE) sizeParam = l;
    if (m == WM_MOVE) moveParam = l;
    return false;
  };
  HWND parent = Child(screen_, 10, 20, 100, 100);
  int param = 5;
  HWND w = CreateWindowExW(0, kClass, u"title", WS_CHILD, 7, 8, 30, 40, parent,
                           reinterpret_cast<HMENU>(intptr_t{17}), Instance(), &param);
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(seen.lpCreateParams, &param);
  EXPECT_EQ(seen.hwndParent, parent);
  EXPECT_EQ(seen.x, 7);
  EXPECT_EQ(seen.cy, 40);
  EXPECT_EQ(seen.style, static_cast<LONG>(WS_CHILD));
  EXPECT_EQ(seen.lpszName, std::u16string_view(u"title"));
  EXPECT_EQ(sizeParam, MAKELPARAM(30, 40));
  EXPECT_EQ(moveParam, MAKELPARAM(7, 8));
  POINT p{0, 0};
  ClientToScreen(w, &p);
  EXPECT_EQ(p.x, 17);
  EXPECT_EQ(p.y, 28);
  WCHAR text[3];
  EXPECT_EQ(GetWindowTextW(w, text, 3), 2);  // cut to the buffer
  EXPECT_EQ(std::u16string_view(text), u"ti");
  EXPECT_FALSE(IsWindowVisible(w));  // created without WS_VISIBLE
}

TEST_F(WindowMessagesTest, DestructionSendsDestroyTopDownAndNcDestroyBottomUp) {
  HWND parent = Child(screen_, 0, 0, 100, 100);
  HWND child = Child(parent, 0, 0, 10, 10);
  HWND grandchild = Child(child, 0, 0, 5, 5);
  UINT_PTR timer = SetTimer(child, 3, 100, nullptr);
  EXPECT_EQ(timer, 3u);
  SetCapture(grandchild);
  PostMessageW(child, WM_USER, 0, 0);
  Log().clear();
  SetLastError(0xdeadbeef);
  EXPECT_TRUE(DestroyWindow(parent));
  EXPECT_EQ(GetLastError(), 0xdeadbeefu);
  EXPECT_SEQUENCE(Messages({WM_SHOWWINDOW, WM_CAPTURECHANGED, WM_DESTROY, WM_NCDESTROY}),
                  (std::vector<Message>{{parent, WM_SHOWWINDOW, FALSE},
                                        {grandchild, WM_CAPTURECHANGED, 0},
                                        {parent, WM_DESTROY, 0},
                                        {child, WM_DESTROY, 0},
                                        {grandchild, WM_DESTROY, 0},
                                        {grandchild, WM_NCDESTROY, 0},
                                        {child, WM_NCDESTROY, 0},
                                        {parent, WM_NCDESTROY, 0}}));
  EXPECT_FALSE(IsWindow(parent));
  EXPECT_FALSE(IsWindow(grandchild));
  EXPECT_EQ(GetCapture(), nullptr);
  // The posted message and the timer went with the windows.
  Log().clear();
  wince::host::AdvanceClock(1000);
  EXPECT_TRUE(Log().empty()) << Describe(Log());
  SetLastError(0xdeadbeef);
  EXPECT_FALSE(DestroyWindow(parent));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
}

TEST_F(WindowMessagesTest, WindowIsStillAWindowWhileItIsDestroyed) {
  HWND w = Child(screen_, 0, 0, 10, 10);
  bool duringDestroy = false, duringNcDestroy = false;
  Custom() = [&](HWND h, UINT m, WPARAM, LPARAM, LRESULT&) {
    if (m == WM_DESTROY) duringDestroy = IsWindow(h) && DestroyWindow(h);  // re-entry is harmless
    if (m == WM_NCDESTROY) duringNcDestroy = IsWindow(h);
    return false;
  };
  EXPECT_TRUE(DestroyWindow(w));
  EXPECT_TRUE(duringDestroy);
  EXPECT_TRUE(duringNcDestroy);
  EXPECT_EQ(Messages({WM_DESTROY}).size(), 1u);
}

TEST_F(WindowMessagesTest, MinusOneFromWmCreateFailsTheCreation) {
  Custom() = [](HWND, UINT m, WPARAM, LPARAM, LRESULT& r) {
    if (m != WM_CREATE) return false;
    r = -1;
    return true;
  };
  HWND w = Child(screen_, 0, 0, 10, 10);
  EXPECT_EQ(w, nullptr);
  ASSERT_FALSE(Log().empty());
  HWND failed = Log().front().hwnd;
  EXPECT_SEQUENCE(LifeCycle(), (std::vector<Message>{{failed, WM_CREATE, 0},
                                                     {failed, WM_DESTROY, 0},
                                                     {failed, WM_NCDESTROY, 0}}));
  EXPECT_FALSE(IsWindow(failed));
  // The class is free again.
  Custom() = nullptr;
  DestroyWindow(screen_);
  SetLastError(0xdeadbeef);
  EXPECT_TRUE(UnregisterClassW(kClass, Instance()));
}

TEST_F(WindowMessagesTest, CreationErrors) {
  SetLastError(0xdeadbeef);
  EXPECT_EQ(Child(nullptr, 0, 0, 10, 10), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_TLW_WITH_WSCHILD));
  SetLastError(0xdeadbeef);
  EXPECT_EQ(Child(reinterpret_cast<HWND>(uintptr_t{0x99}), 0, 0, 10, 10), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
}

TEST_F(WindowMessagesTest, ShowWindowAnswersThePreviousVisibility) {
  HWND w = Child(screen_, 0, 0, 10, 10, WS_CHILD);
  Log().clear();
  EXPECT_FALSE(ShowWindow(w, SW_SHOWNOACTIVATE));
  EXPECT_TRUE(IsWindowVisible(w));
  EXPECT_TRUE(ShowWindow(w, SW_SHOW));  // no change, no messages
  EXPECT_SEQUENCE(LifeCycle(), (std::vector<Message>{{w, WM_SHOWWINDOW, TRUE},
                                                     {w, WM_WINDOWPOSCHANGING, 0},
                                                     {w, WM_WINDOWPOSCHANGED, 0}}));
  EXPECT_TRUE(ShowWindow(w, SW_HIDE));
  EXPECT_FALSE(IsWindowVisible(w));
  EXPECT_FALSE(ShowWindow(w, SW_HIDE));

  // A child of a hidden parent is not visible, whatever its own style.
  HWND parent = Child(screen_, 0, 0, 50, 50, WS_CHILD);
  HWND child = Child(parent, 0, 0, 10, 10);
  EXPECT_FALSE(IsWindowVisible(child));
  EXPECT_TRUE(GetWindowLongW(child, GWL_STYLE) & WS_VISIBLE);
}

TEST_F(WindowMessagesTest, MoveWindowSendsMoveAndSize) {
  HWND w = Child(screen_, 0, 0, 10, 10);
  Log().clear();
  EXPECT_TRUE(MoveWindow(w, 5, 6, 20, 10, TRUE));
  EXPECT_SEQUENCE(Messages({WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED, WM_MOVE, WM_SIZE}),
                  (std::vector<Message>{{w, WM_WINDOWPOSCHANGING, 0},
                                        {w, WM_WINDOWPOSCHANGED, 0},
                                        {w, WM_MOVE, 0},
                                        {w, WM_SIZE, SIZE_RESTORED}}));
  Log().clear();
  EXPECT_TRUE(MoveWindow(w, 5, 6, 30, 10, TRUE));  // size only
  EXPECT_TRUE(Messages({WM_MOVE}).empty());
  EXPECT_EQ(Messages({WM_SIZE}).size(), 1u);
  RECT r;
  GetClientRect(w, &r);
  EXPECT_EQ(r.right, 30);
}

TEST_F(WindowMessagesTest, CloseDestroysAndSendCallsTheProcedureAtOnce) {
  HWND w = Child(screen_, 0, 0, 10, 10);
  Log().clear();
  EXPECT_EQ(SendMessageW(w, WM_USER, 9, 0), 0);
  EXPECT_SEQUENCE(Messages({WM_USER}), (std::vector<Message>{{w, WM_USER, 9}}));
  SendMessageW(w, WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindow(w));
  SetLastError(0xdeadbeef);
  EXPECT_EQ(SendMessageW(w, WM_USER, 0, 0), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
  SetLastError(0xdeadbeef);
  EXPECT_FALSE(PostMessageW(w, WM_USER, 0, 0));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
}

TEST_F(WindowMessagesTest, QueueOrderIsPostedQuitInputPaintTimer) {
  HWND w = Child(screen_, 0, 0, 50, 50);
  wince::host::PumpMessages();  // the paint that creation left
  // Queued in the reverse of the order they come out; the timer is due at 10.
  SetTimer(w, 1, 10, nullptr);
  InvalidateRect(w, nullptr, FALSE);
  wince::host::PenDown(w, 4, 5);
  PostQuitMessage(3);
  PostMessageW(w, WM_USER, 1, 0);
  PostMessageW(w, WM_USER, 2, 0);
  MSG msg;
  std::vector<UINT> order;
  for (int i = 0; i < 10; ++i) {
    BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    ASSERT_NE(got, -1);
    order.push_back(msg.message);
    if (msg.message == WM_TIMER) break;
    if (got) DispatchMessageW(&msg);
  }
  EXPECT_EQ(order, (std::vector<UINT>{WM_USER, WM_USER, WM_QUIT, WM_LBUTTONDOWN, WM_PAINT,
                                      WM_TIMER}));
  // GetMessageW let time pass up to the timer, and no further.
  EXPECT_EQ(GetTickCount(), 10u);
  EXPECT_EQ(msg.time, 10u);
}

TEST_F(WindowMessagesTest, QuitIsReturnedWhateverTheFilter) {
  PostQuitMessage(4);
  MSG msg;
  EXPECT_EQ(GetMessageW(&msg, nullptr, WM_USER, WM_USER), FALSE);
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
  EXPECT_EQ(msg.wParam, 4u);
  EXPECT_FALSE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(WindowMessagesTest, FiltersAndThreadMessages) {
  HWND a = Child(screen_, 0, 0, 10, 10);
  HWND b = Child(screen_, 20, 0, 10, 10);
  HWND aChild = Child(a, 0, 0, 5, 5);
  wince::host::PumpMessages();
  PostMessageW(b, WM_USER, 1, 0);
  PostMessageW(aChild, WM_USER, 2, 0);
  PostMessageW(nullptr, WM_USER + 1, 3, 0);
  MSG msg;
  ASSERT_TRUE(PeekMessageW(&msg, a, 0, 0, PM_NOREMOVE));  // a's children count
  EXPECT_EQ(msg.wParam, 2u);
  ASSERT_TRUE(PeekMessageW(&msg, reinterpret_cast<HWND>(-1), 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.hwnd, nullptr);
  EXPECT_EQ(msg.wParam, 3u);
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_USER, WM_USER, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 1u);
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 2u);
  EXPECT_FALSE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
  SetLastError(0xdeadbeef);
  EXPECT_EQ(GetMessageW(&msg, reinterpret_cast<HWND>(uintptr_t{0x77}), 0, 0), -1);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
}

TEST_F(WindowMessagesTest, GetMessageWithNothingToWaitForFailsLoudly) {
  MSG msg;
  SetLastError(0xdeadbeef);
  EXPECT_EQ(GetMessageW(&msg, nullptr, 0, 0), -1);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CALL_NOT_IMPLEMENTED));

  // An idle handler stands in for the user.
  HWND w = Child(screen_, 0, 0, 10, 10);
  wince::host::PumpMessages();
  int calls = 0;
  wince::host::SetIdleHandler([&] {
    if (calls++) return false;
    return PostMessageW(w, WM_USER, 5, 0) != FALSE;
  });
  EXPECT_EQ(GetMessageW(&msg, nullptr, 0, 0), TRUE);
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER));
  EXPECT_EQ(msg.wParam, 5u);
}

}  // namespace
