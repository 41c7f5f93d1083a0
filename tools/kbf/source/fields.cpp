// Colour and state names, text forms and YAML scalar quoting.
#include "tools/kbf/source/fields.h"

#include <cstdio>

#include "tools/kbf/writer/text.h"

namespace kbf::source {

const std::array<std::string_view, 16> kColourNames = {
    "black", "navy", "green", "teal",   "maroon", "purple",  "olive",  "silver",
    "grey",  "blue", "lime",  "aqua",   "red",    "fuchsia", "yellow", "white"};

std::optional<uint8_t> ColourByName(std::string_view name) {
  for (size_t i = 0; i < kColourNames.size(); ++i) {
    if (kColourNames[i] == name) return static_cast<uint8_t>(i);
  }
  if (name == "gray") return kGrey;
  return std::nullopt;
}

const std::array<StateName, 4> kStates = {{
    {"plain", KeyState::Plain, kStatePlain},
    {"shift", KeyState::Shift, kStateShift},
    {"altgr", KeyState::AltGr, kStateAltGr},
    {"altgr-shift", KeyState::AltGrShift, kStateAltGrShift},
}};

bool PrintableUnit(char16_t unit) {
  if (unit < 0x20 || unit == 0x7F) return false;
  if (unit >= 0x80 && unit < 0xA0) return false;
  if (unit >= 0xD800 && unit < 0xE000) return false;  // surrogates go by number
  if (unit == 0xFEFF || unit == 0xFFFE || unit == 0xFFFF) return false;
  return true;
}

bool PrintableByte(uint8_t byte) {
  if (byte < 0x20 || byte == 0x7F) return false;
  // Bytes that Windows-1252 leaves undefined.
  if (byte == 0x81 || byte == 0x8D || byte == 0x8F || byte == 0x90 || byte == 0x9D) return false;
  return true;
}

std::string UnitText(char16_t unit) {
  if (PrintableUnit(unit)) return Utf8FromUtf16(std::u16string_view(&unit, 1));
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "U+%04X", static_cast<unsigned>(unit));
  return buffer;
}

std::optional<char16_t> ParseUnitText(std::string_view text) {
  if (text.size() == 6 && (text[0] == 'U' || text[0] == 'u') && text[1] == '+') {
    unsigned value = 0;
    for (char c : text.substr(2)) {
      value <<= 4;
      if (c >= '0' && c <= '9') value |= static_cast<unsigned>(c - '0');
      else if (c >= 'a' && c <= 'f') value |= static_cast<unsigned>(c - 'a' + 10);
      else if (c >= 'A' && c <= 'F') value |= static_cast<unsigned>(c - 'A' + 10);
      else return std::nullopt;
    }
    return static_cast<char16_t>(value);
  }
  auto units = Utf16FromUtf8(text);
  if (!units || units->size() != 1) return std::nullopt;
  return (*units)[0];
}

namespace {

bool PlainSafe(std::string_view s) {
  if (s.empty()) return false;
  for (char c : s) {
    const bool ok = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '.' ||
                    c == '_' || c == '-';
    if (!ok) return false;
  }
  // Words that YAML reads as something other than a string.
  static constexpr std::string_view kReserved[] = {"null", "Null", "NULL", "true", "True", "TRUE", "false",
                                                   "False", "FALSE", "yes", "Yes", "YES", "no", "No", "NO",
                                                   "on", "On", "ON", "off", "Off", "OFF", "y", "Y", "n", "N"};
  for (std::string_view r : kReserved) {
    if (s == r) return false;
  }
  return s[0] != '-' && s[0] != '.';
}

}  // namespace

std::string Quote(std::string_view utf8) {
  if (PlainSafe(utf8)) return std::string(utf8);
  std::string out = "\"";
  for (char c : utf8) {
    const auto b = static_cast<uint8_t>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (b < 0x20 || b == 0x7F) {
      char buffer[8];
      std::snprintf(buffer, sizeof buffer, "\\x%02X", b);
      out += buffer;
    } else {
      out += c;
    }
  }
  return out + "\"";
}

std::string ByteList(std::span<const uint8_t> bytes) {
  size_t n = bytes.size();
  while (n > 0 && bytes[n - 1] == 0) --n;
  std::string out = "[";
  for (size_t i = 0; i < n; ++i) {
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "%s0x%02X", i ? ", " : "", bytes[i]);
    out += buffer;
  }
  return out + "]";
}

std::string HexNumber(uint32_t value) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "0x%X", static_cast<unsigned>(value));
  return buffer;
}

}  // namespace kbf::source
