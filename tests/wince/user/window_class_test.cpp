// Window classes: registration errors, lookup by name and atom, and the
// refusal to unregister a class that still has windows.
#include <gtest/gtest.h>

#include <windows.h>

#include "window_test_support.h"

namespace {

using namespace window_test;

class WindowClassTest : public WindowTest {
 protected:
  WNDCLASSW Class(LPCWSTR name, HINSTANCE instance) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = RecordingProc;
    wc.hInstance = instance;
    wc.lpszClassName = name;
    wc.cbWndExtra = 8;
    return wc;
  }
  HINSTANCE Other() { return reinterpret_cast<HINSTANCE>(uintptr_t{0x500000}); }
};

TEST_F(WindowClassTest, SameNameAndInstanceIsRefusedWhateverTheCase) {
  WNDCLASSW wc = Class(u"Panel", Instance());
  SetLastError(0xdeadbeef);
  ATOM atom = RegisterClassW(&wc);
  EXPECT_NE(atom, 0);
  EXPECT_EQ(GetLastError(), 0xdeadbeefu);

  WNDCLASSW upper = Class(u"PANEL", Instance());
  SetLastError(0xdeadbeef);
  EXPECT_EQ(RegisterClassW(&upper), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CLASS_ALREADY_EXISTS));

  // Another module may use the same name.
  WNDCLASSW other = Class(u"Panel", Other());
  EXPECT_NE(RegisterClassW(&other), 0);
}

TEST_F(WindowClassTest, BadRegistrationsAreRefused) {
  SetLastError(0xdeadbeef);
  EXPECT_EQ(RegisterClassW(nullptr), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  WNDCLASSW unnamed = Class(nullptr, Instance());
  SetLastError(0xdeadbeef);
  EXPECT_EQ(RegisterClassW(&unnamed), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  WNDCLASSW negative = Class(u"negative", Instance());
  negative.cbWndExtra = -4;
  SetLastError(0xdeadbeef);
  EXPECT_EQ(RegisterClassW(&negative), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST_F(WindowClassTest, UnregisterNeedsTheClassAndNoWindows) {
  WNDCLASSW wc = Class(u"Panel", Instance());
  ASSERT_NE(RegisterClassW(&wc), 0);

  SetLastError(0xdeadbeef);
  EXPECT_FALSE(UnregisterClassW(u"Nothing", Instance()));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CLASS_DOES_NOT_EXIST));
  SetLastError(0xdeadbeef);
  EXPECT_FALSE(UnregisterClassW(u"Panel", Other()));  // not that module's class
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CLASS_DOES_NOT_EXIST));

  HWND w = CreateWindowExW(0, u"panel", u"", WS_CHILD, 0, 0, 5, 5, screen_, nullptr, Instance(),
                           nullptr);
  ASSERT_NE(w, nullptr);
  SetLastError(0xdeadbeef);
  EXPECT_FALSE(UnregisterClassW(u"Panel", Instance()));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CLASS_HAS_WINDOWS));
  EXPECT_TRUE(DestroyWindow(w));
  SetLastError(0xdeadbeef);
  EXPECT_TRUE(UnregisterClassW(u"Panel", Instance()));
  EXPECT_EQ(GetLastError(), 0xdeadbeefu);
  // Gone: it can be registered again.
  EXPECT_NE(RegisterClassW(&wc), 0);
}

TEST_F(WindowClassTest, InfoAndCreationFindTheClassByNameOrAtom) {
  WNDCLASSW wc = Class(u"Panel", Instance());
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH));
  ATOM atom = RegisterClassW(&wc);
  ASSERT_NE(atom, 0);

  WNDCLASSW info{};
  EXPECT_TRUE(GetClassInfoW(Instance(), u"PANEL", &info));
  EXPECT_EQ(info.lpfnWndProc, &RecordingProc);
  EXPECT_EQ(info.cbWndExtra, 8);
  EXPECT_EQ(info.hbrBackground, wc.hbrBackground);
  SetLastError(0xdeadbeef);
  EXPECT_FALSE(GetClassInfoW(Other(), u"Panel", &info));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CLASS_DOES_NOT_EXIST));

  HWND byAtom = CreateWindowExW(0, MAKEINTATOM(atom), u"", WS_CHILD, 0, 0, 5, 5, screen_, nullptr,
                                Instance(), nullptr);
  EXPECT_NE(byAtom, nullptr);
  SetLastError(0xdeadbeef);
  EXPECT_EQ(CreateWindowExW(0, u"Panel", u"", WS_CHILD, 0, 0, 5, 5, screen_, nullptr, Other(),
                            nullptr),
            nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CANNOT_FIND_WND_CLASS));

  // A global class serves every module.
  WNDCLASSW global = Class(u"Shared", nullptr);
  global.style = CS_GLOBALCLASS;
  ASSERT_NE(RegisterClassW(&global), 0);
  EXPECT_NE(CreateWindowExW(0, u"shared", u"", WS_CHILD, 0, 0, 5, 5, screen_, nullptr, Other(),
                            nullptr),
            nullptr);
}

TEST_F(WindowClassTest, WindowLongsAndExtraBytes) {
  WNDCLASSW wc = Class(u"Panel", Instance());
  ASSERT_NE(RegisterClassW(&wc), 0);
  HWND w = CreateWindowExW(0, u"Panel", u"", WS_CHILD, 0, 0, 5, 5, screen_,
                           reinterpret_cast<HMENU>(intptr_t{42}), Instance(), nullptr);
  EXPECT_EQ(GetWindowLongW(w, GWL_ID), 42);
  EXPECT_EQ(GetWindowLongW(w, GWL_STYLE), static_cast<LONG>(WS_CHILD));
  EXPECT_EQ(SetWindowLongW(w, GWL_USERDATA, -7), 0);
  EXPECT_EQ(GetWindowLongW(w, GWL_USERDATA), -7);
  EXPECT_EQ(SetWindowLongW(w, 4, 0x12345678), 0);
  EXPECT_EQ(GetWindowLongW(w, 4), 0x12345678);
  EXPECT_EQ(GetWindowLongPtrW(w, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&RecordingProc));
  SetLastError(0xdeadbeef);
  EXPECT_EQ(GetWindowLongW(w, 5), 0);  // would read past the 8 extra bytes
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_INDEX));
  SetLastError(0xdeadbeef);
  EXPECT_EQ(SetWindowLongW(w, 8, 1), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_INDEX));
  SetLastError(0xdeadbeef);
  EXPECT_EQ(GetWindowLongW(reinterpret_cast<HWND>(uintptr_t{8}), GWL_STYLE), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
}

}  // namespace
