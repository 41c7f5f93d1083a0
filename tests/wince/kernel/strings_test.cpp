// Conformance of the wide-string helpers: lstrlenW, lstrcpyW, lstrcpynW,
// lstrcatW, CharPrevW, CharNextW, CharUpperW, CharLowerW.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include <windows.h>

namespace {

TEST(Strings, LengthAndCopies) {
  EXPECT_EQ(lstrlenW(NULL), 0);
  EXPECT_EQ(lstrlenW(TEXT("")), 0);
  EXPECT_EQ(lstrlenW(TEXT("info")), 4);

  WCHAR buffer[32];
  EXPECT_EQ(lstrcpyW(buffer, TEXT("\\Windows\\")), buffer);
  EXPECT_EQ(lstrcatW(buffer, TEXT("tapora.dll")), buffer);
  EXPECT_EQ(std::u16string(buffer), u"\\Windows\\tapora.dll");
  EXPECT_EQ(lstrcpyW(NULL, TEXT("x")), nullptr);
  EXPECT_EQ(lstrcatW(buffer, NULL), nullptr);
}

TEST(Strings, CopyNCopiesAtMostNMinusOneAndTerminates) {
  WCHAR buffer[8];
  auto fill = [&] {
    for (WCHAR& c : buffer) c = u'#';
  };
  fill();
  EXPECT_EQ(lstrcpynW(buffer, TEXT("abcdef"), 4), buffer);
  EXPECT_EQ(std::u16string(buffer, 5), std::u16string(u"abc\0#", 5));
  fill();
  lstrcpynW(buffer, TEXT("ab"), 8);  // shorter than n: stops at the NUL
  EXPECT_EQ(std::u16string(buffer, 4), std::u16string(u"ab\0#", 4));
  fill();
  lstrcpynW(buffer, TEXT("abc"), 1);  // room for the NUL only
  EXPECT_EQ(buffer[0], 0);
  EXPECT_EQ(buffer[1], u'#');
  fill();
  EXPECT_EQ(lstrcpynW(buffer, TEXT("abc"), 0), buffer);  // nothing written
  EXPECT_EQ(lstrcpynW(buffer, TEXT("abc"), -5), buffer);
  EXPECT_EQ(buffer[0], u'#');
}

TEST(Strings, CharPrevStopsAtTheStartAndCharNextAtTheEnd) {
  LPCWSTR s = TEXT("a\\b");
  EXPECT_EQ(CharPrevW(s, s + 3), s + 2);
  EXPECT_EQ(CharPrevW(s, s + 1), s);
  EXPECT_EQ(CharPrevW(s, s), s);  // at the start: the start
  EXPECT_EQ(CharNextW(s), s + 1);
  EXPECT_EQ(CharNextW(s + 3), s + 3);  // at the terminator: stays
}

WCHAR UpperOf(WCHAR c) {
  return static_cast<WCHAR>(reinterpret_cast<uintptr_t>(CharUpperW(reinterpret_cast<LPWSTR>(static_cast<uintptr_t>(c)))));
}
WCHAR LowerOf(WCHAR c) {
  return static_cast<WCHAR>(reinterpret_cast<uintptr_t>(CharLowerW(reinterpret_cast<LPWSTR>(static_cast<uintptr_t>(c)))));
}

TEST(Strings, CharUpperAndLowerOfOneCharacter) {
  struct Pair {
    WCHAR lower, upper;
  } pairs[] = {
      {u'a', u'A'}, {u'z', u'Z'}, {0xE9, 0xC9}, {0xE0, 0xC0}, {0xFE, 0xDE},
      {0xFF, 0x0178}, {0x0161, 0x0160}, {0x0153, 0x0152}, {0x017E, 0x017D}, {0x0107, 0x0106},
      {0x013A, 0x0139}, {0x03B1, 0x0391}, {0x03C9, 0x03A9}, {0x0430, 0x0410}, {0x0451, 0x0401},
  };
  for (const Pair& p : pairs) {
    EXPECT_EQ(UpperOf(p.lower), p.upper) << std::hex << int(p.lower);
    EXPECT_EQ(LowerOf(p.upper), p.lower) << std::hex << int(p.upper);
  }
  for (WCHAR unchanged : {WCHAR(0xDF), WCHAR(0xF7), WCHAR(0xD7), WCHAR(u'1'), WCHAR(u'['), WCHAR(0x20AC)}) {
    EXPECT_EQ(UpperOf(unchanged), unchanged);
    EXPECT_EQ(LowerOf(unchanged), unchanged);
  }
  EXPECT_EQ(UpperOf(0xB5), 0x039C);  // micro sign
  EXPECT_EQ(UpperOf(0x03C2), 0x03A3);  // final sigma
}

TEST(Strings, CharUpperAndLowerOfAStringConvertInPlace) {
  WCHAR text[] = u"Stra\u00DFe \u00E9t\u00E9 \u00FF";
  EXPECT_EQ(CharUpperW(text), text);
  EXPECT_EQ(std::u16string(text), u"STRA\u00DFE \u00C9T\u00C9 \u0178");
  EXPECT_EQ(CharLowerW(text), text);
  EXPECT_EQ(std::u16string(text), u"stra\u00DFe \u00E9t\u00E9 \u00FF");
}

TEST(Crt, WtolReadsSpacesSignAndDigits) {
  struct Case {
    LPCWSTR text;
    long value;
  } cases[] = {
      {TEXT("42"), 42},         {TEXT("  \t-17xyz"), -17}, {TEXT("+8"), 8},
      {TEXT("007"), 7},         {TEXT(""), 0},             {TEXT("abc"), 0},
      {TEXT("- 5"), 0},         {TEXT("\n5"), 0},          {TEXT("12 34"), 12},
      {TEXT("2147483647"), 2147483647L},                   {TEXT("-2147483648"), -2147483647L - 1},
      {TEXT("2147483648"), -2147483647L - 1},  // wraps around
      {TEXT("4294967297"), 1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(_wtol(c.text), c.value);
    EXPECT_EQ(_wtoi(c.text), static_cast<int>(c.value));
  }
  EXPECT_EQ(_wtol(NULL), 0);
}

}  // namespace
