// UTF-8 and Windows-1252 conversions behind MultiByteToWideChar,
// WideCharToMultiByte and the host's own Utf8/Utf16 helpers.
#pragma once

#include <string>
#include <string_view>

namespace wince::text {

// UTF-8 to UTF-16. Each maximal ill-formed subsequence becomes one U+FFFD and
// sets *invalid (when given).
std::u16string DecodeUtf8(std::string_view utf8, bool* invalid = nullptr);
// UTF-16 to UTF-8. A lone surrogate becomes U+FFFD and sets *invalid.
std::string EncodeUtf8(std::u16string_view utf16, bool* invalid = nullptr);

// Windows-1252: every byte has a character (the five bytes the code page
// leaves undefined map to the C1 controls U+0081, U+008D, U+008F, U+0090,
// U+009D, as Windows maps them).
char16_t Cp1252ToUnicode(unsigned char byte);
// The byte for a character, or -1 when the code page has none.
int UnicodeToCp1252(char16_t c);

// The base letter and combining mark of a precomposed character of
// Windows-1252 (U+00C0..U+00FF, S/Z with caron, Y with diaeresis); false when
// it does not decompose.
bool Decompose(char16_t c, char16_t* base, char16_t* mark);
// The precomposed character for base + mark, or 0 when there is none.
char16_t Compose(char16_t base, char16_t mark);

}  // namespace wince::text
