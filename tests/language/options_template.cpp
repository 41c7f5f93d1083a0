// The options dialog's template in memory (see options_template.h).
#include "tests/language/options_template.h"

#include <algorithm>
#include <string>

namespace language_test {

std::vector<WORD> OptionsTemplate(std::initializer_list<int> leftOut) {
  constexpr WORD button = 0x0080, comboBox = 0x0085;  // the predefined classes' atoms
  constexpr DWORD child = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
  constexpr DWORD list = child | WS_VSCROLL | CBS_DROPDOWNLIST | CBS_SORT;
  struct Control {
    WORD id, atom;
    DWORD style;
    short x, y, width, height;
    std::u16string title;
  } const all[] = {
      {IDOK, button, child | BS_DEFPUSHBUTTON, 5, 90, 50, 14, u"OK"},
      {IDCANCEL, button, child | BS_PUSHBUTTON, 65, 90, 50, 14, u"Cancel"},
      {201, comboBox, list, 5, 5, 110, 60, u""},
      {202, comboBox, list, 5, 25, 110, 60, u""},
      {203, button, child | BS_AUTOCHECKBOX, 5, 45, 110, 12, u"Default language"},
      {204, button, child | BS_AUTOCHECKBOX, 5, 60, 110, 12, u"Default layout"},
      {205, button, child | BS_AUTOCHECKBOX, 5, 75, 110, 12, u"Repeat held keys"},
  };
  std::vector<WORD> words;
  auto put = [&words](DWORD value) { words.insert(words.end(), {LOWORD(value), HIWORD(value)}); };
  auto text = [&words](const std::u16string& s) {
    words.insert(words.end(), s.c_str(), s.c_str() + s.size() + 1);
  };
  auto kept = [&](const Control& c) {
    return std::find(leftOut.begin(), leftOut.end(), c.id) == leftOut.end();
  };

  put(WS_POPUP | WS_CAPTION | DS_MODALFRAME);
  put(0);
  words.insert(words.end(), {static_cast<WORD>(std::count_if(std::begin(all), std::end(all), kept)),
                             0, 0, 120, 110, 0, 0});  // position, size, no menu, default class
  text(u"Options");
  for (const Control& c : all) {
    if (!kept(c)) continue;
    if (words.size() % 2 != 0) words.push_back(0);
    put(c.style);
    put(0);
    for (short value : {c.x, c.y, c.width, c.height}) words.push_back(static_cast<WORD>(value));
    words.insert(words.end(), {c.id, 0xFFFF, c.atom});
    text(c.title);
    words.push_back(0);  // no creation data
  }
  return words;
}

}  // namespace language_test
