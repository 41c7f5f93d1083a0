// The small keyboard that the fuzz target places beside a fuzzed panel-set
// file and that seeds the corpus: two panels with rows of keys and one empty.
#pragma once

#include "tools/kbf/writer/kbf_writer.h"

inline kbf::Keyboard FuzzSampleKeyboard() {
  kbf::Keyboard keyboard;
  kbf::KeyRecord a = kbf::MakeKey(20, 20, 1, u"a", u"a");
  kbf::KeyRecord shift = kbf::MakeKey(30, 20, 18, u"Shift", u"[Shift-Down]");
  kbf::KeyRecord dead = kbf::MakeKey(20, 20, 19, u"^", u"^");
  kbf::AddPanelOfRows(keyboard, 0, 0, 100, 40, {{a, shift}, {dead}});
  kbf::AddPanelOfRows(keyboard, 0, 40, 50, 20, {{a}});
  kbf::AddPanelOfRows(keyboard, 10, 10, 30, 30, {});
  return keyboard;
}
