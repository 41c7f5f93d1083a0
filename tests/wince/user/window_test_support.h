// Shared by the window manager's conformance tests: a window class whose
// procedure records every message it gets, compared against tables in the
// style of message-sequence tests, and a fixture that leaves a clean window
// manager behind.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include <windows.h>

#include "wince/host/windows.h"

namespace window_test {

struct Message {
  HWND hwnd;
  UINT message;
  WPARAM wParam;
  bool operator==(const Message&) const = default;
};

inline std::vector<Message>& Log() {
  static std::vector<Message> log;
  return log;
}

// What a test wants a window to do with a message instead of the default.
using Handler = std::function<bool(HWND, UINT, WPARAM, LPARAM, LRESULT&)>;
inline Handler& Custom() {
  static Handler handler;
  return handler;
}

inline LRESULT CALLBACK RecordingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  Log().push_back(Message{hwnd, message, wParam});
  LRESULT result = 0;
  if (Custom() && Custom()(hwnd, message, wParam, lParam, result)) return result;
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

inline const char* Name(UINT message) {
  static const std::map<UINT, const char*> names = {
      {WM_CREATE, "WM_CREATE"}, {WM_DESTROY, "WM_DESTROY"}, {WM_MOVE, "WM_MOVE"},
      {WM_SIZE, "WM_SIZE"}, {WM_PAINT, "WM_PAINT"}, {WM_CLOSE, "WM_CLOSE"},
      {WM_ERASEBKGND, "WM_ERASEBKGND"}, {WM_SHOWWINDOW, "WM_SHOWWINDOW"},
      {WM_WINDOWPOSCHANGING, "WM_WINDOWPOSCHANGING"},
      {WM_WINDOWPOSCHANGED, "WM_WINDOWPOSCHANGED"}, {WM_NCDESTROY, "WM_NCDESTROY"},
      {WM_TIMER, "WM_TIMER"}, {WM_MOUSEMOVE, "WM_MOUSEMOVE"},
      {WM_LBUTTONDOWN, "WM_LBUTTONDOWN"}, {WM_LBUTTONUP, "WM_LBUTTONUP"},
      {WM_LBUTTONDBLCLK, "WM_LBUTTONDBLCLK"}, {WM_CAPTURECHANGED, "WM_CAPTURECHANGED"},
      {WM_USER, "WM_USER"}};
  auto it = names.find(message);
  return it == names.end() ? "?" : it->second;
}

inline std::string Describe(const std::vector<Message>& list) {
  std::string out;
  for (const Message& m : list) {
    out += "  ";
    out += Name(m.message);
    out += " hwnd=" + std::to_string(reinterpret_cast<uintptr_t>(m.hwnd));
    out += " wParam=" + std::to_string(m.wParam) + "\n";
  }
  return out;
}

// The messages of the log, those of `only` when given.
inline std::vector<Message> Messages(std::initializer_list<UINT> only = {}) {
  std::vector<Message> out;
  for (const Message& m : Log()) {
    bool wanted = only.size() == 0;
    for (UINT u : only) wanted = wanted || m.message == u;
    if (wanted) out.push_back(m);
  }
  return out;
}

#define EXPECT_SEQUENCE(actual, expected)                                               \
  do {                                                                                  \
    auto actual_ = (actual);                                                            \
    std::vector<window_test::Message> expected_ = expected;                             \
    EXPECT_EQ(actual_, expected_) << "got:\n"                                           \
                                  << window_test::Describe(actual_) << "expected:\n"    \
                                  << window_test::Describe(expected_);                  \
  } while (0)

inline constexpr char16_t kClass[] = u"recording window";
inline constexpr COLORREF kBackground = RGB(0, 0, 255);

class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    wince::host::ResetWindows();
    Log().clear();
    Custom() = nullptr;
    brush_ = CreateSolidBrush(kBackground);
    WNDCLASSW wc{};
    wc.lpfnWndProc = RecordingProc;
    wc.hInstance = Instance();
    wc.hbrBackground = brush_;
    wc.lpszClassName = kClass;
    ASSERT_NE(RegisterClassW(&wc), 0);
    screen_ = wince::host::CreateScreen(240, 320);
    ASSERT_NE(screen_, nullptr);
    wince::host::PumpMessages();
  }
  void TearDown() override {
    Custom() = nullptr;
    wince::host::ResetWindows();
    DeleteObject(brush_);
    Log().clear();
  }

  static HINSTANCE Instance() { return reinterpret_cast<HINSTANCE>(uintptr_t{0x400000}); }

  HWND Child(HWND parent, int x, int y, int w, int h, DWORD style = WS_CHILD | WS_VISIBLE,
             int id = 0) {
    return CreateWindowExW(0, kClass, u"", style, x, y, w, h, parent,
                           reinterpret_cast<HMENU>(static_cast<intptr_t>(id)), Instance(), nullptr);
  }

  HBRUSH brush_ = nullptr;
  HWND screen_ = nullptr;
};

}  // namespace window_test
