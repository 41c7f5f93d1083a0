// Names and text forms shared by the source parser and the dumper
// (internal to the source library).
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "tools/kbf/writer/records.h"

namespace kbf::source {

// Colour names of the palette, by index 0..15.
extern const std::array<std::string_view, 16> kColourNames;
std::optional<uint8_t> ColourByName(std::string_view name);

// Per-state characters: source names and their cells.
struct StateName {
  std::string_view name;
  KeyState cell;
  uint8_t bit;  // deadKeyStates / dead-key state index
};
extern const std::array<StateName, 4> kStates;

// Base defaults of every key when neither it nor its panel says otherwise.
inline constexpr uint8_t kDefaultKeyType = 1;

// Whether a UTF-16 unit can stand in source text as itself.
bool PrintableUnit(char16_t unit);
// Whether a byte of the 8-bit code page can stand as its character.
bool PrintableByte(uint8_t byte);

// A single unit in source: the character itself, or "U+XXXX".
std::string UnitText(char16_t unit);
std::optional<char16_t> ParseUnitText(std::string_view text);

// A YAML scalar for a string: plain when that is unambiguous, else double
// quoted with escapes.
std::string Quote(std::string_view utf8);
// A flow sequence of bytes in hex, trailing zeros left out ("[0x61, 0x01]").
std::string ByteList(std::span<const uint8_t> bytes);
// "0x1234" for unknown fields, whose values are bit patterns.
std::string HexNumber(uint32_t value);

}  // namespace kbf::source
