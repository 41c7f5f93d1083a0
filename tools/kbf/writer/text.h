// Text conversions that keyboard sources need: UTF-8 (source files) to and
// from UTF-16 (key fields) and the Windows-1252 code page (8-bit labels and
// file names).
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kbf {

// Invalid UTF-8 gives nullopt. Characters beyond the basic plane become
// surrogate pairs.
std::optional<std::u16string> Utf16FromUtf8(std::string_view utf8);
// Unpaired surrogates are encoded as they are (3 bytes each), so every unit
// string has a text form.
std::string Utf8FromUtf16(std::u16string_view utf16);

// Windows-1252: nullopt for a character the code page cannot hold. The five
// bytes that the code page leaves undefined map to the C1 controls of the
// same value, so every byte has a character and back.
std::optional<std::string> Cp1252FromUtf16(std::u16string_view utf16);
std::u16string Utf16FromCp1252(std::string_view bytes);

// One unit as text for messages: the character, or U+XXXX for controls.
std::string DescribeUnit(char16_t unit);

}  // namespace kbf
