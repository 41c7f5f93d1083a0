// The keys of the loaded keyboard as a person finds them: where to tap each
// one (the middle of its rectangle, as tapora-sim's `press` does), its row and
// place in the row, and the name it goes by: its label as the panel shows it
// under the modifier state now, or a readable name for a glyph.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kbf::coverage {

struct KeyAt {
  long panel = 0;
  long index = 0;
  int x = 0, y = 0;          // the middle, panel window client pixels
  int row = 0, column = 0;   // 1-based
  std::vector<uint8_t> record;  // as loaded
};

// Rows are the distinct top edges of the keys, top to bottom; a key's column
// is its place from the left among the keys of its row.
std::vector<KeyAt> KeysOfLoadedKeyboard();

// The label the panel shows on the key under ShiftState (UTF-8): "space" and
// "Left", "Right", "Up", "Down" for the glyphs; a key with no label goes by
// its output text.
std::string ShownLabel(const std::vector<uint8_t>& record);

// "Enter", "Back", "F5", ...; "VK 231" for keys without a name here.
std::string VirtualKeyName(uint8_t vk);

}  // namespace kbf::coverage
