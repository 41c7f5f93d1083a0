// Reading dialog templates (see dialog_template.h for the layout). A cursor
// walks the bytes; every field is checked against the end before it is
// read, and a string must end inside the template.
#include "wince/user/dialog_template.h"

#include <cstdint>

namespace wince::win {
namespace {

constexpr size_t kHeaderBytes = 18;
constexpr WORD kOrdinal = 0xFFFF;
constexpr const char16_t* kPredefined[] = {u"Button", u"Edit", u"Static",
                                           u"ListBox", u"ScrollBar", u"ComboBox"};

class Cursor {
 public:
  Cursor(std::span<const uint8_t> bytes, TemplateFault& fault) : bytes_(bytes), fault_(fault) {}

  size_t Offset() const { return at_; }

  bool Fail(const char* reason, bool unsupported = false) {
    fault_.offset = at_;
    fault_.unsupported = unsupported;
    fault_.reason = reason;
    return false;
  }

  bool Word(WORD& out, const char* what) {
    if (bytes_.size() - at_ < 2) return Fail(what);
    out = static_cast<WORD>(bytes_[at_] | bytes_[at_ + 1] << 8);
    at_ += 2;
    return true;
  }

  bool Dword(DWORD& out, const char* what) {
    WORD low = 0, high = 0;
    if (!Word(low, what) || !Word(high, what)) return false;
    out = DWORD{low} | DWORD{high} << 16;
    return true;
  }

  bool Short(short& out, const char* what) {
    WORD w = 0;
    if (!Word(w, what)) return false;
    out = static_cast<short>(w);
    return true;
  }

  // A NUL-terminated UTF-16 string whose first unit was already read.
  bool String(WORD first, std::u16string& out, const char* what) {
    out.clear();
    for (WORD unit = first; unit != 0;) {
      out.push_back(static_cast<char16_t>(unit));
      if (!Word(unit, what)) return false;
    }
    return true;
  }

  // 0, 0xFFFF + ordinal, or a string.
  bool NameOrOrdinal(bool& isOrdinal, WORD& ordinal, std::u16string& name, const char* what) {
    WORD first = 0;
    isOrdinal = false;
    name.clear();
    if (!Word(first, what)) return false;
    if (first == 0) return true;
    if (first == kOrdinal) {
      isOrdinal = true;
      return Word(ordinal, what);
    }
    return String(first, name, what);
  }

  // Items start on a DWORD boundary of their address, as the platform
  // aligns them.
  bool AlignToDword(const char* what) {
    auto address = reinterpret_cast<uintptr_t>(bytes_.data()) + at_;
    size_t pad = (4 - address % 4) % 4;
    if (bytes_.size() - at_ < pad) return Fail(what);
    at_ += pad;
    return true;
  }

  bool Skip(size_t count, const char* what) {
    if (bytes_.size() - at_ < count) return Fail(what);
    at_ += count;
    return true;
  }

  const BYTE* Here() const { return bytes_.data() + at_; }

 private:
  std::span<const uint8_t> bytes_;
  TemplateFault& fault_;
  size_t at_ = 0;
};

bool ReadGeometry(Cursor& c, short& x, short& y, short& cx, short& cy, const char* what) {
  return c.Short(x, what) && c.Short(y, what) && c.Short(cx, what) && c.Short(cy, what);
}

bool ReadItem(Cursor& c, DialogItem& item) {
  if (!c.AlignToDword("an item is cut off before it starts")) return false;
  const char* cut = "an item's header is cut off";
  if (!c.Dword(item.style, cut) || !c.Dword(item.exStyle, cut) ||
      !ReadGeometry(c, item.x, item.y, item.cx, item.cy, cut) || !c.Word(item.id, cut))
    return false;
  bool ordinal = false;
  WORD atom = 0;
  if (!c.NameOrOrdinal(ordinal, atom, item.className, "an item's class is cut off")) return false;
  if (ordinal) {
    WORD index = atom >= 0x80 ? static_cast<WORD>(atom - 0x80) : atom;
    if (index > 5) {
      c.Fail("an item names an unknown predefined class");
      return false;
    }
    item.className = kPredefined[index];
  } else if (item.className.empty()) {
    return c.Fail("an item has no class");
  }
  if (!c.NameOrOrdinal(item.titleIsOrdinal, item.titleOrdinal, item.title,
                       "an item's title is cut off"))
    return false;
  WORD count = 0;
  const BYTE* data = c.Here();
  if (!c.Word(count, "an item's creation-data count is cut off")) return false;
  if (count != 0) {
    item.creationData = data;
    if (!c.Skip(count, "an item's creation data is cut off")) return false;
  }
  return true;
}

}  // namespace

bool ParseDialogTemplate(std::span<const uint8_t> bytes, DialogTemplate& out,
                         TemplateFault& fault) {
  out = DialogTemplate{};
  fault = TemplateFault{};
  Cursor c(bytes, fault);
  if (bytes.size() >= 4 && bytes[0] == 1 && bytes[1] == 0 && bytes[2] == 0xFF && bytes[3] == 0xFF)
    return c.Fail("the extended template form (DLGTEMPLATEEX)", true);
  if (bytes.size() < kHeaderBytes) return c.Fail("the header is cut off");
  WORD count = 0;
  const char* cut = "the header is cut off";
  if (!c.Dword(out.style, cut) || !c.Dword(out.exStyle, cut) || !c.Word(count, cut) ||
      !ReadGeometry(c, out.x, out.y, out.cx, out.cy, cut))
    return false;

  size_t menuAt = c.Offset();
  bool ordinal = false;
  WORD number = 0;
  std::u16string menu;
  if (!c.NameOrOrdinal(ordinal, number, menu, "the menu is cut off")) return false;
  if (ordinal || !menu.empty()) {
    fault.offset = menuAt;
    fault.unsupported = true;
    fault.reason = "a menu (the host has no menus)";
    return false;
  }
  if (!c.NameOrOrdinal(out.classIsAtom, out.classAtom, out.className, "the class is cut off"))
    return false;
  WORD first = 0;
  if (!c.Word(first, "the title is cut off") || !c.String(first, out.title, "the title is cut off"))
    return false;
  if (out.style & DS_SETFONT) {
    out.hasFont = true;
    if (!c.Word(out.pointSize, "the font is cut off")) return false;
    // 0x7FFF stands for the message font, and no face name follows.
    if (out.pointSize != 0x7FFF &&
        (!c.Word(first, "the font is cut off") ||
         !c.String(first, out.faceName, "the font's face name is cut off")))
      return false;
  }
  // Items are kept as they are read, so a count the bytes cannot hold costs
  // nothing.
  for (WORD i = 0; i < count; ++i) {
    DialogItem item;
    if (!ReadItem(c, item)) return false;
    out.items.push_back(std::move(item));
  }
  return true;
}

}  // namespace wince::win
