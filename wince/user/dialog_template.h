// The reader of in-memory dialog templates (DLGTEMPLATE and the items that
// follow it), separate from the dialog manager so that tests and fuzz
// targets can hand it any bytes.
//
// Layout, little-endian and WORD-packed (offsets from the template's start):
//   0  DWORD style           4  DWORD exStyle        8  WORD item count
//   10 short x, y, cx, cy (dialog units)
//   18 menu:  0 (none), 0xFFFF + ordinal, or a NUL-terminated string
//      class: 0 (the dialog class), 0xFFFF + atom, or a string
//      title: a string (an empty one is a single 0)
//      with DS_SETFONT: WORD point size, then the face name as a string
//      (none after 0x7FFF, which stands for the message font)
// Each item starts on the next DWORD boundary (of its address in memory):
//   0  DWORD style           4  DWORD exStyle
//   8  short x, y, cx, cy    16 WORD id
//   18 class: 0xFFFF + atom (0x80 button, 0x81 edit, 0x82 static, 0x83 list
//      box, 0x84 scroll bar, 0x85 combo box; 0 to 5 stand for the same) or a
//      string; title: 0xFFFF + ordinal (an icon's resource id) or a string;
//      then a WORD count of the creation-data bytes that follow it.
// A hex dump of a template with one OK button, "A" as its title:
//   80 00 c8 80 00 00 00 00  01 00 00 00 00 00 40 00   style, 1 item, 64 x
//   20 00 00 00 00 00 41 00  00 00 00 00 01 00 01 50   32 DU, "A"; item style
//   00 00 00 00 04 00 04 00  20 00 0c 00 01 00 ff ff   at 4,4 32x12, id 1,
//   80 00 4f 00 4b 00 00 00  00 00                     button "OK", no data
// The extended form (DLGTEMPLATEEX, first WORDs 1 and 0xFFFF) and menus are
// not read: the host has neither.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include <windows.h>

namespace wince::win {

struct DialogItem {
  DWORD style = 0;
  DWORD exStyle = 0;
  short x = 0, y = 0, cx = 0, cy = 0;
  WORD id = 0;
  std::u16string className;  // the predefined atoms already named
  bool titleIsOrdinal = false;
  WORD titleOrdinal = 0;
  std::u16string title;
  const BYTE* creationData = nullptr;  // the count WORD, when the count is not 0
};

struct DialogTemplate {
  DWORD style = 0;
  DWORD exStyle = 0;
  short x = 0, y = 0, cx = 0, cy = 0;
  bool classIsAtom = false;
  WORD classAtom = 0;
  std::u16string className;  // empty: the dialog class
  std::u16string title;
  bool hasFont = false;
  WORD pointSize = 0;
  std::u16string faceName;
  std::vector<DialogItem> items;
};

struct TemplateFault {
  size_t offset = 0;        // where the faulty field starts
  bool unsupported = false;  // well formed, but a form the host does not read
  std::string reason;       // one line, for a person
};

// Reads a template of `bytes.size()` bytes; false with the fault when it is
// truncated, malformed or of an unsupported form. Nothing past the span is
// read.
bool ParseDialogTemplate(std::span<const uint8_t> bytes, DialogTemplate& out,
                         TemplateFault& fault);

}  // namespace wince::win
