// The stand-in application's text field, fed key events as the input method
// sends them: the text and caret after each scenario.
#include <gtest/gtest.h>

#include <string>

#include "tools/tapora-sim/text_field.h"

namespace {

constexpr uint32_t kDown = 4, kUp = 6;
constexpr uint32_t kCharDown = 0x80, kCtrl = 0x40000000;
constexpr uint8_t kBack = 8, kTab = 9, kEnter = 13, kShift = 16, kControl = 17, kAlt = 18;
constexpr uint8_t kEnd = 35, kHome = 36, kLeft = 37, kUpKey = 38, kRight = 39, kDownKey = 40, kDelete = 46;

// Each unit as its own character event, as the input method types one tap.
void Type(sim::TextField& field, std::u16string_view text) {
  for (const char16_t unit : text) {
    const uint32_t flags = kCharDown;
    const uint32_t c = unit;
    field.SendCharEvents(0, kCharDown, 1, &flags, &c);
  }
}

void Key(sim::TextField& field, uint8_t vk) {
  field.SendVirtualKey(vk, kDown);
  field.SendVirtualKey(vk, kUp);
}

// Ctrl with a letter as the input method sends it: no character, the Ctrl flag.
void CtrlLetter(sim::TextField& field, char letter) {
  const uint32_t flags = kCharDown | kCtrl;
  const uint32_t c = static_cast<uint32_t>(letter);
  field.SendCharEvents(static_cast<uint32_t>(letter), flags, 0, &flags, &c);
}

// Types `text`, then presses `keys` (down and up) in order.
sim::TextField After(std::u16string_view text, std::initializer_list<uint8_t> keys) {
  sim::TextField field;
  Type(field, text);
  for (const uint8_t vk : keys) Key(field, vk);
  return field;
}

TEST(SimTextField, KeysEditAndMoveTheCaret) {
  struct Case {
    const char* name;
    std::u16string typed;
    std::initializer_list<uint8_t> keys;
    std::u16string text;
    size_t caret;
  };
  const Case cases[] = {
      {"typing", u"abc", {}, u"abc", 3},
      {"typing in the middle", u"ac", {kLeft}, u"ac", 1},
      {"back at the end", u"abc", {kBack}, u"ab", 2},
      {"back at the start", u"abc", {kHome, kBack}, u"abc", 0},
      {"back in the middle", u"abc", {kLeft, kBack}, u"ac", 1},
      {"back joins lines", u"ab\rcd", {kHome, kBack}, u"abcd", 2},
      {"delete at the end", u"abc", {kDelete}, u"abc", 3},
      {"delete at the start", u"abc", {kHome, kDelete}, u"bc", 0},
      {"delete joins lines", u"ab\rcd", {kUpKey, kDelete}, u"abcd", 2},
      {"enter key", u"ab", {kLeft, kEnter}, u"a\nb", 2},
      {"tab key", u"ab", {kTab}, u"ab\t", 3},
      {"left stops at 0", u"ab", {kLeft, kLeft, kLeft}, u"ab", 0},
      {"right stops at the end", u"ab", {kRight}, u"ab", 2},
      {"left crosses a line break", u"ab\rc", {kLeft, kLeft}, u"ab\nc", 2},
      {"home and end of a middle line", u"a\rbcd\re", {kUpKey, kHome}, u"a\nbcd\ne", 2},
      {"end of a middle line", u"a\rbcd\re", {kUpKey, kHome, kEnd}, u"a\nbcd\ne", 5},
      {"up keeps the column", u"abcd\rxyzw", {kLeft, kUpKey}, u"abcd\nxyzw", 3},
      {"up clamps to a short line", u"a\rxyzw", {kUpKey}, u"a\nxyzw", 1},
      {"down clamps to a short line", u"abcd\rx", {kUpKey, kEnd, kDownKey}, u"abcd\nx", 6},
      {"down keeps the column", u"abcd\rxyzw", {kUpKey, kLeft, kDownKey}, u"abcd\nxyzw", 8},
      {"up on the first line stays", u"abc", {kLeft, kUpKey}, u"abc", 2},
      {"down on the last line stays", u"abc", {kLeft, kDownKey}, u"abc", 2},
      {"up to an empty line", u"\rabc", {kUpKey}, u"\nabc", 0},
      {"back removes a whole pair", u"a\U0001F600", {kBack}, u"a", 1},
      {"left steps over a pair", u"\U0001F600b", {kLeft, kLeft, kDelete}, u"b", 0},
      {"unknown keys change nothing", u"ab", {0x41, 0x70, 0xFF, 45}, u"ab", 2},
  };
  for (const Case& c : cases) {
    const sim::TextField field = After(c.typed, c.keys);
    EXPECT_EQ(field.Text(), c.text) << c.name;
    EXPECT_EQ(field.Caret(), c.caret) << c.name;
    EXPECT_FALSE(field.HasSelection()) << c.name;
  }
}

TEST(SimTextField, CharacterEventsTypeAndEdit) {
  sim::TextField field;
  Type(field, u"ab\x08" u"c\x09" u"d\x0d" u"e");
  EXPECT_EQ(field.Text(), u"ac\td\ne");
  // Control characters other than those three are not typed.
  Type(field, u"\x01\x1b\x7f");
  EXPECT_EQ(field.Text(), u"ac\td\ne");
  // Several units in one event, and a key-up event types nothing.
  const uint32_t shift[] = {0x80, 0x80};
  const uint32_t chars[] = {'x', 'y'};
  field.SendCharEvents(0, kCharDown, 2, shift, chars);
  field.SendCharEvents(0, kCharDown, 2, shift, nullptr);
  field.SendVirtualKey(kEnter, kUp);
  EXPECT_EQ(field.Text(), u"ac\td\nexy");
  EXPECT_EQ(field.Caret(), 8u);
}

TEST(SimTextField, SendStringInsertsItsLengthOnly) {
  sim::TextField field;
  Type(field, u"ad");
  Key(field, kLeft);
  field.SendString(u"bcZZ", 2);
  field.SendString(nullptr, 3);
  EXPECT_EQ(field.Text(), u"abcd");
  EXPECT_EQ(field.Caret(), 3u);
  field.SendString(u"\0x", 2);  // the length rules, not a terminator
  EXPECT_EQ(field.Text(), std::u16string(u"abc\0xd", 6));
}

TEST(SimTextField, ModifiersAreHeldFromDownToUpAndDoNotChangeText) {
  sim::TextField field;
  field.SendVirtualKey(kShift, kDown);
  field.SendVirtualKey(kAlt, kDown);
  EXPECT_TRUE(field.ShiftHeld());
  EXPECT_TRUE(field.AltHeld());
  Type(field, u"a");
  EXPECT_EQ(field.Text(), u"a");
  field.SendVirtualKey(kShift, kUp);
  field.SendVirtualKey(kAlt, kUp);
  EXPECT_FALSE(field.ShiftHeld());
  EXPECT_FALSE(field.AltHeld());
  // Alt with a letter is a key event; the field has no use for it.
  const uint32_t alt = kCharDown | 0x10000000;
  field.SendCharEvents('A', alt, 0, &alt, nullptr);
  EXPECT_EQ(field.Text(), u"a");
  EXPECT_FALSE(field.HasSelection());
}

TEST(SimTextField, CtrlShortcutsSelectCopyCutAndPaste) {
  sim::TextField field;
  Type(field, u"one\rtwo");
  CtrlLetter(field, 'A');
  EXPECT_EQ(field.SelectionStart(), 0u);
  EXPECT_EQ(field.SelectionEnd(), 7u);
  CtrlLetter(field, 'C');
  EXPECT_EQ(field.Clipboard(), u"one\ntwo");
  EXPECT_EQ(field.Text(), u"one\ntwo");
  Type(field, u"x");  // typing replaces the selection
  EXPECT_EQ(field.Text(), u"x");
  CtrlLetter(field, 'V');
  CtrlLetter(field, 'V');
  EXPECT_EQ(field.Text(), u"xone\ntwoone\ntwo");
  CtrlLetter(field, 'A');
  CtrlLetter(field, 'X');
  EXPECT_EQ(field.Text(), u"");
  EXPECT_EQ(field.Caret(), 0u);
  EXPECT_EQ(field.Clipboard(), u"xone\ntwoone\ntwo");
  // Copy and cut without a selection keep the clipboard.
  Type(field, u"k");
  CtrlLetter(field, 'C');
  CtrlLetter(field, 'X');
  EXPECT_EQ(field.Clipboard(), u"xone\ntwoone\ntwo");
  EXPECT_EQ(field.Text(), u"k");
  // Without Ctrl a key event changes nothing.
  const uint32_t plain = kCharDown;
  field.SendCharEvents('A', plain, 0, &plain, nullptr);
  EXPECT_FALSE(field.HasSelection());
}

TEST(SimTextField, HeldCtrlMakesLettersShortcuts) {
  sim::TextField field;
  Type(field, u"abc");
  field.SendVirtualKey(kControl, kDown);
  const uint32_t plain = kCharDown;
  field.SendCharEvents('A', plain, 0, &plain, nullptr);
  EXPECT_TRUE(field.HasSelection());
  Key(field, 'X');  // a virtual key with Ctrl held is the shortcut too
  EXPECT_EQ(field.Text(), u"");
  Key(field, 'V');
  Key(field, 'V');
  field.SendVirtualKey(kControl, kUp);
  EXPECT_FALSE(field.CtrlHeld());
  Key(field, 'V');
  EXPECT_EQ(field.Text(), u"abcabc");
}

TEST(SimTextField, SelectionIsReplacedOrDropped) {
  struct Case {
    const char* name;
    void (*act)(sim::TextField&);
    std::u16string text;
    size_t caret;
  };
  const Case cases[] = {
      {"back deletes it", [](sim::TextField& f) { Key(f, kBack); }, u"", 0},
      {"delete deletes it", [](sim::TextField& f) { Key(f, kDelete); }, u"", 0},
      {"enter replaces it", [](sim::TextField& f) { Key(f, kEnter); }, u"\n", 1},
      {"a string replaces it", [](sim::TextField& f) { f.SendString(u"zz", 2); }, u"zz", 2},
      {"left goes to its start", [](sim::TextField& f) { Key(f, kLeft); }, u"ab\ncd", 0},
      {"right goes to its end", [](sim::TextField& f) { Key(f, kRight); }, u"ab\ncd", 5},
      {"home drops it", [](sim::TextField& f) { Key(f, kHome); }, u"ab\ncd", 3},
      {"up drops it", [](sim::TextField& f) { Key(f, kUpKey); }, u"ab\ncd", 2},
  };
  for (const Case& c : cases) {
    sim::TextField field;
    Type(field, u"ab\rcd");
    CtrlLetter(field, 'A');
    c.act(field);
    EXPECT_EQ(field.Text(), c.text) << c.name;
    EXPECT_EQ(field.Caret(), c.caret) << c.name;
    EXPECT_FALSE(field.HasSelection()) << c.name;
  }
}

TEST(SimTextField, ResetForgetsEverything) {
  sim::TextField field;
  Type(field, u"abc");
  field.SendVirtualKey(kControl, kDown);
  CtrlLetter(field, 'A');
  CtrlLetter(field, 'C');
  field.Reset();
  EXPECT_EQ(field.Text(), u"");
  EXPECT_EQ(field.Clipboard(), u"");
  EXPECT_EQ(field.Caret(), 0u);
  EXPECT_FALSE(field.CtrlHeld());
}

}  // namespace
