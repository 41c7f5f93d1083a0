// The focused application's text field: a multi-line edit box with a caret,
// fed the input method's key events as they arrive through the SIP callback.
// It stands in for what a person would see typed, so that a script can check
// the text. Only the driver's callback changes it.
//
// Rules the model keeps:
// - Positions count UTF-16 units; a surrogate pair is one character for the
//   caret, Back and Delete, so neither ever leaves half of one behind.
// - Line breaks are "\n". Up and Down keep the caret's column (in units),
//   clamped to the length of the line they land on.
// - Shift, Ctrl and Alt (virtual keys 16, 17, 18) are held from their key-down
//   to their key-up. Shift and Alt never change a typed character: the input
//   method has already chosen it.
// - The only selection is Ctrl+A's whole text; typing, pasting, Back and Delete
//   replace it; any caret movement drops it (Left and Right with a selection
//   go to its start and end, as an edit box does).
// - Ctrl+A, C, X and V act when the Ctrl flag is on a count-0 character event,
//   or when Ctrl is held from virtual key 17 and the letter arrives either way.
// - Control characters other than Back (8), Tab (9) and Enter (13) are not
//   typed, as an edit box does not type them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace sim {

class TextField {
 public:
  // IIMCallback::SendVirtualKey. Flag 2 (KEYEVENTF_KEYUP) marks the key-up.
  void SendVirtualKey(uint8_t vk, uint32_t flags);
  // IIMCallback::SendCharEvents. Null arrays with a count type nothing.
  void SendCharEvents(uint32_t vk, uint32_t keyFlags, uint32_t count, const uint32_t* shiftStates,
                      const uint32_t* chars);
  // IIMCallback::SendString: `length` units, inserted as they are.
  void SendString(const char16_t* text, uint32_t length);

  const std::u16string& Text() const { return text_; }
  size_t Caret() const { return caret_; }
  bool HasSelection() const { return anchor_ != caret_; }
  size_t SelectionStart() const { return anchor_ < caret_ ? anchor_ : caret_; }
  size_t SelectionEnd() const { return anchor_ < caret_ ? caret_ : anchor_; }
  const std::u16string& Clipboard() const { return clipboard_; }
  bool ShiftHeld() const { return shift_; }
  bool CtrlHeld() const { return ctrl_; }
  bool AltHeld() const { return alt_; }

  // Empty text and clipboard, caret at 0, no key held.
  void Reset();

 private:
  void Insert(std::u16string_view units);
  void TypeUnit(char16_t unit);
  void Backspace();
  void DeleteForward();
  bool DeleteSelection();
  void MoveTo(size_t position);
  void MoveVertically(bool up);
  size_t LineStart(size_t position) const;
  size_t LineEnd(size_t position) const;
  size_t PreviousCharacter(size_t position) const;
  size_t NextCharacter(size_t position) const;
  // Ctrl with a letter key; false when the key is no shortcut.
  bool Shortcut(uint32_t vk);

  std::u16string text_;
  std::u16string clipboard_;
  size_t caret_ = 0;
  size_t anchor_ = 0;  // the selection's other end; equal to caret_ when none
  bool shift_ = false;
  bool ctrl_ = false;
  bool alt_ = false;
};

}  // namespace sim
