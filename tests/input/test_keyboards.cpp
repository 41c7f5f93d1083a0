// Keyboards shared by the scenario files (see test_keyboards.h).
#include "tests/input/test_keyboards.h"

namespace input_test {

namespace {

void AddModifiers(TestKeyboard& keyboard) {
  keyboard.Add("Shift", OutputKey(u"[Shift-Down]", TYPE_UTF16, u"Shift"))
      .Add("Caps", OutputKey(u"[Caps]", TYPE_UTF16, u"Caps"))
      .Add("Ctrl", OutputKey(u"[Ctrl-Down]", TYPE_UTF16, u"Ctrl"))
      .Add("Alt", OutputKey(u"[Alt-Down]", TYPE_UTF16, u"Alt"))
      .Add("AltGr", OutputKey(u"[AltGr-Down]", TYPE_UTF16, u"AltGr"));
}

}  // namespace

TestKeyboard CommonKeyboard() {
  TestKeyboard keyboard;
  AddModifiers(keyboard);
  // Label-output types: 33 is caps-affected, 1 is not.
  keyboard.Add("a", LabelKey(TYPE_CAPS_LABEL, "a", "A"))
      .Add("b", LabelKey(TYPE_LABEL, "b"))
      .Add("1", LabelKey(TYPE_LABEL, "1", "!", u"\u00B9"))
      // Output-text types: 34 is caps-affected, 18 is not.
      .Add("x", LabelKey(TYPE_CAPS_OUTPUT, "x", "X", u"x"))
      .Add("y", LabelKey(TYPE_CAPS_OUTPUT, "y", "", u"yy"))
      .Add("word", OutputKey(u"hello", TYPE_UTF16, u"hi", u"HELLO"))
      // Per-state characters: 17 ignores Caps Lock, 49 takes it as Shift.
      .Add("q", StateKey(TYPE_STATE_CHARS, u'q', u'Q', u'@', u'\u03A9'))
      .Add("e", StateKey(TYPE_CAPS_STATE_CHARS, u'e', u'E', u'\u20AC', 0))
      .Add("space", LabelKey(TYPE_LABEL, " "))
      .Add("eacute", LabelKey(TYPE_LABEL, "\xE9"));
  keyboard.Add("Enter", OutputKey(u"[Enter]"))
      .Add("Tab", OutputKey(u"[Tab]"))
      .Add("Back", OutputKey(u"[Back]"))
      .Add("Home", OutputKey(u"[Home]"))
      .Add("Delete", OutputKey(u"[Delete]"))
      .Add("F1", OutputKey(u"[F1]"))
      .Add("F5", OutputKey(u"[F5]"))
      .Add("F10", OutputKey(u"[F10]"))
      .Add("F12", OutputKey(u"[F12]"))
      .Add("Right+", OutputKey(u"[Right]more"))
      .Add("NumLock", OutputKey(u"[NUMLOCK]"))
      .Add("vk013", OutputKey(u"%%s013"))
      .Add("vk999", OutputKey(u"%%c999"))
      .Add("vkabc", OutputKey(u"%%sabc"))
      .Add("vk040", OutputKey(u"%%s040"))
      .Add("vk7", OutputKey(u"%%s 7"))
      .Add("vkshort", OutputKey(u"%%s6"))
      .Add("cmd", OutputKey(u"[CMD:BEEP]"))
      .Add("ShiftText", OutputKey(u"[Shift-Down]x"))
      .Add("CapsBlank", OutputKey(u"[Caps] "))
      .Add("capsLower", OutputKey(u"[caps]"));
  return keyboard;
}

TestKeyboard DeadKeyKeyboard() {
  TestKeyboard keyboard;
  AddModifiers(keyboard);
  keyboard.Add("acute", StateKey(TYPE_DEAD, u'\u00B4', u'`'))
      .Add("grave", StateKey(TYPE_DEAD, u'`', u'~'))
      .Add("circ", StateKey(TYPE_DEAD, u'^', u'\u00B0'))
      .Add("plus", StateKey(TYPE_DEAD, u'+', u'*', u'~'))
      .Add("e", StateKey(TYPE_CAPS_STATE_CHARS, u'e', u'E', u'\u20AC'))
      .Add("a", StateKey(TYPE_CAPS_STATE_CHARS, u'a', u'A'))
      .Add("n", StateKey(TYPE_CAPS_STATE_CHARS, u'n', u'N'))
      .Add("o", StateKey(TYPE_CAPS_STATE_CHARS, u'o', u'O'))
      .Add("space", LabelKey(TYPE_LABEL, " "))
      .Add("Enter", OutputKey(u"[Enter]"));
  using kbf::Composition;
  using kbf::DeadKeyTable;
  std::map<std::string, std::vector<DeadKeyTable>> tables;
  tables[keyboard.FileOf("acute")] = {
      {kbf::kStatePlain, {Composition{u'e', u'\u00E9', u'\u00C9'}, Composition{u'a', u'\u00E1', u'\u00C1'}}}};
  tables[keyboard.FileOf("grave")] = {
      {kbf::kStatePlain, {Composition{u'e', u'\u00E8', u'\u00C8'}, Composition{u'a', u'\u00E0', u'\u00C0'}}}};
  // Dead only when typed plain: its Shift character (degree) is an ordinary one.
  tables[keyboard.FileOf("circ")] = {
      {kbf::kStatePlain, {Composition{u'e', u'\u00EA', u'\u00CA'}, Composition{u'o', u'\u00F4', u'\u00D4'}}}};
  // Dead on AltGr only: plus and asterisk are ordinary characters.
  tables[keyboard.FileOf("plus")] = {
      {kbf::kStateAltGr, {Composition{u'n', u'\u00F1', u'\u00D1'}, Composition{u'o', u'\u00F5', u'\u00D5'}}}};
  kbf::ApplyDeadKeys(keyboard.Model(), tables);
  return keyboard;
}

}  // namespace input_test
