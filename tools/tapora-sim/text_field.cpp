// The focused application's text field (see text_field.h).
#include "tools/tapora-sim/text_field.h"

namespace sim {

namespace {

constexpr uint32_t kKeyUp = 0x2;              // KEYEVENTF_KEYUP
constexpr uint32_t kCtrlFlag = 0x40000000;    // KeyShiftAnyCtrlFlag of SendCharEvents

constexpr uint8_t kVkBack = 8, kVkTab = 9, kVkReturn = 13;
constexpr uint8_t kVkShift = 16, kVkControl = 17, kVkMenu = 18;
constexpr uint8_t kVkEnd = 35, kVkHome = 36, kVkLeft = 37, kVkUp = 38, kVkRight = 39, kVkDown = 40;
constexpr uint8_t kVkDelete = 46;

bool IsHighSurrogate(char16_t u) { return u >= 0xD800 && u <= 0xDBFF; }
bool IsLowSurrogate(char16_t u) { return u >= 0xDC00 && u <= 0xDFFF; }

}  // namespace

void TextField::Reset() { *this = TextField{}; }

void TextField::SendVirtualKey(uint8_t vk, uint32_t flags) {
  const bool down = (flags & kKeyUp) == 0;
  switch (vk) {
    case kVkShift:
      shift_ = down;
      return;
    case kVkControl:
      ctrl_ = down;
      return;
    case kVkMenu:
      alt_ = down;
      return;
    default:
      break;
  }
  if (!down) return;
  if (ctrl_ && Shortcut(vk)) return;
  switch (vk) {
    case kVkBack:
      Backspace();
      break;
    case kVkDelete:
      DeleteForward();
      break;
    case kVkReturn:
      Insert(u"\n");
      break;
    case kVkTab:
      Insert(u"\t");
      break;
    case kVkLeft:
      MoveTo(HasSelection() ? SelectionStart() : PreviousCharacter(caret_));
      break;
    case kVkRight:
      MoveTo(HasSelection() ? SelectionEnd() : NextCharacter(caret_));
      break;
    case kVkUp:
      MoveVertically(true);
      break;
    case kVkDown:
      MoveVertically(false);
      break;
    case kVkHome:
      MoveTo(LineStart(caret_));
      break;
    case kVkEnd:
      MoveTo(LineEnd(caret_));
      break;
    default:
      break;  // keys an edit box ignores
  }
}

void TextField::SendCharEvents(uint32_t vk, uint32_t keyFlags, uint32_t count, const uint32_t* shiftStates,
                               const uint32_t* chars) {
  (void)shiftStates;  // the characters are already chosen; their shift state changes nothing
  if (count == 0) {
    if ((keyFlags & kCtrlFlag) != 0 || ctrl_) Shortcut(vk);
    return;
  }
  if (chars == nullptr) return;
  for (uint32_t i = 0; i < count; ++i) TypeUnit(static_cast<char16_t>(chars[i]));
}

void TextField::SendString(const char16_t* text, uint32_t length) {
  if (text == nullptr || length == 0) return;
  Insert(std::u16string_view(text, length));
}

bool TextField::Shortcut(uint32_t vk) {
  switch (vk) {
    case 'A':
      anchor_ = 0;
      caret_ = text_.size();
      return true;
    case 'C':
      if (HasSelection()) clipboard_ = text_.substr(SelectionStart(), SelectionEnd() - SelectionStart());
      return true;
    case 'X':
      if (HasSelection()) {
        clipboard_ = text_.substr(SelectionStart(), SelectionEnd() - SelectionStart());
        DeleteSelection();
      }
      return true;
    case 'V':
      Insert(clipboard_);
      return true;
    default:
      return false;
  }
}

void TextField::TypeUnit(char16_t unit) {
  switch (unit) {
    case 8:
      Backspace();
      return;
    case 9:
      Insert(u"\t");
      return;
    case 13:
      Insert(u"\n");
      return;
    default:
      break;
  }
  if (unit < 0x20 || unit == 0x7F) return;
  Insert(std::u16string_view(&unit, 1));
}

void TextField::Insert(std::u16string_view units) {
  DeleteSelection();
  text_.insert(caret_, units);
  caret_ += units.size();
  anchor_ = caret_;
}

bool TextField::DeleteSelection() {
  if (!HasSelection()) return false;
  const size_t start = SelectionStart();
  text_.erase(start, SelectionEnd() - start);
  caret_ = anchor_ = start;
  return true;
}

void TextField::Backspace() {
  if (DeleteSelection()) return;
  const size_t start = PreviousCharacter(caret_);
  text_.erase(start, caret_ - start);
  caret_ = anchor_ = start;
}

void TextField::DeleteForward() {
  if (DeleteSelection()) return;
  text_.erase(caret_, NextCharacter(caret_) - caret_);
}

void TextField::MoveTo(size_t position) { caret_ = anchor_ = position; }

void TextField::MoveVertically(bool up) {
  const size_t start = LineStart(caret_);
  const size_t column = caret_ - start;
  size_t target;
  if (up) {
    if (start == 0) return MoveTo(caret_);  // first line: stays, selection dropped
    target = LineStart(start - 1);
  } else {
    const size_t end = LineEnd(caret_);
    if (end == text_.size()) return MoveTo(caret_);
    target = end + 1;
  }
  size_t position = target + column;
  if (position > LineEnd(target)) position = LineEnd(target);
  // Never land between the halves of a pair.
  if (position > target && position < text_.size() && IsLowSurrogate(text_[position]) &&
      IsHighSurrogate(text_[position - 1])) {
    --position;
  }
  MoveTo(position);
}

size_t TextField::LineStart(size_t position) const {
  while (position > 0 && text_[position - 1] != u'\n') --position;
  return position;
}

size_t TextField::LineEnd(size_t position) const {
  while (position < text_.size() && text_[position] != u'\n') ++position;
  return position;
}

size_t TextField::PreviousCharacter(size_t position) const {
  if (position == 0) return 0;
  if (position >= 2 && IsLowSurrogate(text_[position - 1]) && IsHighSurrogate(text_[position - 2])) {
    return position - 2;
  }
  return position - 1;
}

size_t TextField::NextCharacter(size_t position) const {
  if (position >= text_.size()) return text_.size();
  if (position + 1 < text_.size() && IsHighSurrogate(text_[position]) && IsLowSurrogate(text_[position + 1])) {
    return position + 2;
  }
  return position + 1;
}

}  // namespace sim
