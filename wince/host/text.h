// UTF-8 <-> UTF-16 conversions for tests and tools. Malformed input (an invalid
// UTF-8 sequence, a lone surrogate) becomes U+FFFD.
#pragma once

#include <string>
#include <string_view>

namespace wince::host {

std::u16string Utf16(std::string_view utf8);
std::string Utf8(std::u16string_view utf16);

}  // namespace wince::host
