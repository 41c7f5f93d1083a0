// The SIP manager's side of the library, as the server tests play it: a fresh
// device folder holding the built \Windows\tapora.dll and a small keyboard of
// known places, the library loaded through LoadLibraryW and reached only
// through its exports and COM methods, a SIP window on the host screen, and a
// callback that records every key event.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include <windows.h>

#include "im/sip_interfaces.h"
#include "tests/input/recording_callback.h"

namespace server_test {

// The test keyboard: one panel of 238 by 80 (a window of 240 by 80) with Shift,
// Alt and "a" side by side, 20 pixels square, from (2, 2).
constexpr LONG KEYBOARD_WIDTH = 240;
constexpr LONG KEYBOARD_HEIGHT = 80;
constexpr POINT SHIFT_KEY = {12, 12};
constexpr POINT ALT_KEY = {32, 12};
constexpr POINT A_KEY = {52, 12};
// Where Select puts the panel window in the SIP window.
constexpr int PANEL_TOP = 175;

class ServerTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // The library's exports.
  HRESULT GetClassObject(REFCLSID clsid, REFIID riid, void** object) const;
  HRESULT CanUnloadNow() const;
  // An input method made as the SIP manager makes it, with the recording
  // callback registered; released by TearDown.
  IInputMethod* CreateInputMethod();
  // A tap at a point of the panel window while it sits at its start place.
  void Tap(POINT point);
  // Writes the test keyboard (into another language folder, with another
  // text on its third key), or removes it.
  void WriteKeyboard(const std::string& language = "Keyboard", char16_t third = u'a') const;
  void RemoveKeyboard() const;

  std::filesystem::path device_;
  HMODULE library_ = nullptr;
  HWND sip_ = nullptr;
  input_test::RecordingCallback callback_;
  std::vector<IUnknown*> held_;  // released, newest first, by TearDown
};

}  // namespace server_test
