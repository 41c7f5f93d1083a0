// Simple one-to-one case mapping of UTF-16 units, shared by CharUpperW and
// CharLowerW, CompareStringW and the matching of file names. Covers ASCII,
// Latin-1, Latin Extended-A, Greek and Cyrillic; other units map to themselves.
// U+00DF stays as it is (its upper case is two letters); U+00FF and U+0178
// are a pair.
#pragma once

namespace wince::text {

char16_t ToUpper(char16_t c);
char16_t ToLower(char16_t c);

}  // namespace wince::text
