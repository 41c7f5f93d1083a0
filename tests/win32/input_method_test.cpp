// The input method selected by the SIP manager in a real SIP window, on the
// bundled English keyboard: the window it makes, what it reports, and what
// taps on the real panel window send.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <map>
#include <memory>
#include <sstream>

#include "tests/win32/sip_manager.h"

namespace wine_test {
namespace {

// Middles of keys of the bundled English keyboard (keyboards/Keyboard/keyboard.yaml).
const std::map<std::string, POINT> ENGLISH = {
    {"q", {35, 8}},      {"i", {161, 8}},   {"a", {42, 24}},
    {"h", {132, 24}},    {"Caps", {16, 24}}, {"Shift", {20, 41}},
};

std::vector<std::string> Lines(std::initializer_list<const char*> lines) {
  return std::vector<std::string>(lines.begin(), lines.end());
}

class InputMethod : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(InstallProduct());
    ASSERT_EQ(RegisterInstalledServer(), S_OK);
    im_ = std::make_unique<SelectedInputMethod>();
    ASSERT_TRUE(im_->ok()) << std::hex << im_->selectResult;
    TakeSipCalls();
  }
  void TearDown() override { im_.reset(); }

  // Taps the keys named, separated by spaces.
  std::vector<std::string> Taps(const std::string& keys) {
    im_->events.calls.clear();
    std::istringstream words(keys);
    for (std::string word; words >> word;) {
      const POINT at = ENGLISH.at(word);
      im_->Tap(at.x, at.y);
    }
    return im_->events.calls;
  }

  MessageBoxCatcher boxes_;
  std::unique_ptr<SelectedInputMethod> im_;
};

TEST_F(InputMethod, SelectMakesTheShownPanelAChildOfTheSipWindow) {
  HWND panel = im_->panel();
  EXPECT_EQ(GetParent(panel), im_->sip);
  EXPECT_TRUE(IsWindowVisible(panel));
  EXPECT_EQ(GetWindowLongW(panel, GWL_STYLE) & ~WS_VISIBLE, WS_CHILD);
  RECT client{};
  GetClientRect(panel, &client);
  EXPECT_EQ(client.right, 240);
  EXPECT_EQ(client.bottom, 80);
  wchar_t name[128] = L"";
  GetClassNameW(panel, name, 128);
  EXPECT_STREQ(name, L"42429670-ae04-11d0-a4f8-00aa00a749b9 - FullKEYPNLIMWndClass");
  EXPECT_TRUE(boxes_.boxes.empty());
}

TEST_F(InputMethod, InfoReportsImagesAndTheRectangleAnchoredAtTheBottomLine) {
  IMINFO info{};
  info.cbSize = sizeof info;
  ASSERT_EQ(im_->method()->GetInfo(&info), S_OK);
  EXPECT_EQ(im_->events.calls, Lines({"iminfo 0 214 240 294"}));
  EXPECT_EQ(ImageList_GetImageCount(info.hImageNarrow), 1);
  EXPECT_EQ(ImageList_GetImageCount(info.hImageWide), 1);
  int width = 0, height = 0;
  ImageList_GetIconSize(info.hImageWide, &width, &height);
  EXPECT_EQ(width, 32);
  EXPECT_EQ(height, 16);

  SIPINFO sip{};
  sip.rcSipRect = {0, 200, 240, 294};
  ASSERT_EQ(im_->method()->ReceiveSipInfo(&sip), S_OK);
  RECT window{};
  GetWindowRect(im_->panel(), &window);
  EXPECT_EQ(window.bottom - window.top, 94);
  EXPECT_EQ(window.right - window.left, 240);
}

TEST_F(InputMethod, SecondSelectFailsAndKeepsTheFirstWindow) {
  HWND first = im_->panel();
  EXPECT_EQ(im_->method()->Select(im_->sip), E_FAIL);
  EXPECT_TRUE(IsWindow(first));
  EXPECT_EQ(Taps("q"), Lines({"char 'q' flags 0x80"}));
}

TEST_F(InputMethod, TapsSendTheirKeys) {
  const struct {
    const char* keys;
    std::vector<std::string> events;
  } scenarios[] = {
      {"q a", {"char 'q' flags 0x80", "char 'a' flags 0x80"}},
      // The one-shot Shift is let go after the next key's output.
      {"Shift h i", {"key 16 down", "char 'H' flags 0x80", "char 'i' flags 0x80", "key 16 up"}},
      {"Caps h i Caps q", {"char 'H' flags 0x80", "char 'I' flags 0x80", "char 'q' flags 0x80"}},
  };
  for (const auto& scenario : scenarios) {
    EXPECT_EQ(Taps(scenario.keys), scenario.events) << scenario.keys;
  }
}

TEST_F(InputMethod, HeldKeyRepeatsFromTheSixthTick) {
  const POINT q = ENGLISH.at("q");
  im_->events.calls.clear();
  im_->Down(q.x, q.y);
  for (int tick = 0; tick < 5; ++tick) im_->Tick();
  EXPECT_TRUE(im_->events.calls.empty());
  im_->Tick();
  im_->Tick();
  EXPECT_EQ(im_->events.calls, Lines({"string \"q\"", "string \"q\""}));
  im_->Up(q.x, q.y);
  EXPECT_EQ(im_->events.calls,
            Lines({"string \"q\"", "string \"q\"", "char 'q' flags 0x80"}));
}

TEST_F(InputMethod, HidingReleasesTheHeldShift) {
  Taps("Shift h");
  im_->events.calls.clear();
  EXPECT_EQ(im_->method()->Hiding(), S_OK);
  EXPECT_EQ(im_->events.calls, Lines({"key 16 up"}));
  im_->events.calls.clear();
  EXPECT_EQ(im_->method()->Hiding(), S_OK);
  EXPECT_TRUE(im_->events.calls.empty());
}

TEST_F(InputMethod, DeselectTakesTheWindowAndClassAway) {
  HWND panel = im_->panel();
  ASSERT_EQ(im_->method()->Deselect(), S_OK);
  EXPECT_FALSE(IsWindow(panel));
  WNDCLASSW found{};
  EXPECT_FALSE(GetClassInfoW(im_->library,
                             L"42429670-ae04-11d0-a4f8-00aa00a749b9 - FullKEYPNLIMWndClass",
                             &found));
  // Selected again, it reuses the same keyboard.
  ASSERT_EQ(im_->method()->Select(im_->sip), S_OK);
  im_->Pump();
  EXPECT_EQ(Taps("q"), Lines({"char 'q' flags 0x80"}));
}

}  // namespace
}  // namespace wine_test
