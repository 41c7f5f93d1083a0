// Conformance of MultiByteToWideChar, WideCharToMultiByte and GetACP: the
// Windows-1252 system code page, UTF-8, and the buffer rules.
#include <gtest/gtest.h>

#include <string>

#include <windows.h>

#include "wince/host/text.h"

namespace {

std::u16string FromAnsi(const std::string& bytes, DWORD flags = MB_PRECOMPOSED) {
  WCHAR out[64] = {};
  int n = MultiByteToWideChar(CP_ACP, flags, bytes.data(), static_cast<int>(bytes.size()), out, 64);
  return std::u16string(out, n > 0 ? static_cast<size_t>(n) : 0);
}

TEST(CodePage, SystemCodePageIsWindows1252) {
  EXPECT_EQ(GetACP(), 1252u);
  EXPECT_EQ(FromAnsi("A\xE9\xFF"), u"A\u00E9\u00FF");
  EXPECT_EQ(FromAnsi("\x80\x8A\x8C\x92\x99\x9F"), u"\u20AC\u0160\u0152\u2019\u2122\u0178");
  // the five bytes the code page leaves undefined
  EXPECT_EQ(FromAnsi("\x81\x8D\x8F\x90\x9D"), u"\u0081\u008D\u008F\u0090\u009D");
  EXPECT_EQ(FromAnsi("\x81", MB_ERR_INVALID_CHARS), u"\u0081");
  // 1252 named explicitly is the same table
  WCHAR c = 0;
  EXPECT_EQ(MultiByteToWideChar(1252, 0, "\x80", 1, &c, 1), 1);
  EXPECT_EQ(c, 0x20AC);
}

TEST(CodePage, CountsAndShortBuffers) {
  const char* text = "PNL00001.PNL";
  WCHAR out[32];
  // -1: NUL-terminated, and the NUL is counted and written
  EXPECT_EQ(MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, text, -1, NULL, 0), 13);
  EXPECT_EQ(MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, text, -1, out, 32), 13);
  EXPECT_EQ(std::u16string(out), u"PNL00001.PNL");
  // an explicit count converts that many bytes, no terminator
  EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, text, 3, out, 32), 3);

  // too small: the first n characters land, no NUL, 0 and ERROR_INSUFFICIENT_BUFFER
  WCHAR small[6];
  for (WCHAR& w : small) w = u'#';
  SetLastError(0xdeadbeef);
  EXPECT_EQ(MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, text, -1, small, 5), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
  EXPECT_EQ(std::u16string(small, 6), u"PNL00#");
  SetLastError(0xdeadbeef);
  WCHAR twelve[12];
  EXPECT_EQ(MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, text, -1, twelve, 12), 0);  // no room for the NUL
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
  EXPECT_EQ(std::u16string(twelve, 12), u"PNL00001.PNL");
}

TEST(CodePage, InvalidArguments) {
  WCHAR out[4];
  struct Case {
    UINT page;
    DWORD flags;
    const char* source;
    int count;
    WCHAR* dest;
    int capacity;
    DWORD error;
  } cases[] = {
      {CP_ACP, 0, NULL, -1, out, 4, ERROR_INVALID_PARAMETER},
      {CP_ACP, 0, "a", 0, out, 4, ERROR_INVALID_PARAMETER},
      {CP_ACP, 0, "a", 1, out, -1, ERROR_INVALID_PARAMETER},
      {CP_ACP, 0, "a", 1, NULL, 4, ERROR_INVALID_PARAMETER},
      {CP_ACP, MB_PRECOMPOSED | MB_COMPOSITE, "a", 1, out, 4, ERROR_INVALID_FLAGS},
      {CP_ACP, 0x100, "a", 1, out, 4, ERROR_INVALID_FLAGS},
      {CP_UTF8, MB_PRECOMPOSED, "a", 1, out, 4, ERROR_INVALID_FLAGS},
      {437, 0, "a", 1, out, 4, ERROR_INVALID_PARAMETER},
  };
  for (const Case& c : cases) {
    SetLastError(0xdeadbeef);
    EXPECT_EQ(MultiByteToWideChar(c.page, c.flags, c.source, c.count, c.dest, c.capacity), 0);
    EXPECT_EQ(GetLastError(), c.error);
  }
}

TEST(CodePage, CompositeSplitsAccentedLetters) {
  EXPECT_EQ(FromAnsi("\xE9\x8A", MB_COMPOSITE), u"e\u0301S\u030C");
  EXPECT_EQ(FromAnsi("\xC6", MB_COMPOSITE), u"\u00C6");  // no decomposition
}

TEST(CodePage, Utf8) {
  WCHAR out[16];
  EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, "\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80", -1, out, 16), 5);
  EXPECT_EQ(std::u16string(out), u"\u00E9\u20AC\U0001F600");
  // ill-formed input: one U+FFFD per maximal ill-formed subsequence ...
  EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, "a\xE2\x82" "b\xC0\xAF" "c\xED\xA0\x80", -1, out, 16), 10);
  EXPECT_EQ(std::u16string(out), u"a\uFFFDb\uFFFD\uFFFDc\uFFFD\uFFFD\uFFFD");
  // ... or a failure when asked for
  SetLastError(0xdeadbeef);
  EXPECT_EQ(MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, "a\xFF", -1, out, 16), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_UNICODE_TRANSLATION));
}

TEST(CodePage, WideToAnsiAndUtf8) {
  char out[16] = {};
  BOOL usedDefault = TRUE;
  EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, u"\u00E9\u20AC", -1, out, 16, NULL, &usedDefault), 3);
  EXPECT_EQ(std::string(out), "\xE9\x80");
  EXPECT_FALSE(usedDefault);
  EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, u"a\u0100b", 3, out, 16, "*", &usedDefault), 3);
  EXPECT_EQ(std::string(out, 3), "a*b");  // no best-fit mapping on the host
  EXPECT_TRUE(usedDefault);
  EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, u"\u0101", 1, out, 16, NULL, NULL), 1);
  EXPECT_EQ(out[0], '?');
  EXPECT_EQ(WideCharToMultiByte(CP_ACP, WC_COMPOSITECHECK, u"e\u0301x", 3, out, 16, NULL, NULL), 2);
  EXPECT_EQ(std::string(out, 2), "\xE9x");
  EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, u"abc", -1, NULL, 0, NULL, NULL), 4);
  SetLastError(0xdeadbeef);
  EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, u"abc", -1, out, 3, NULL, NULL), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));

  EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, u"\u00E9\U0001F600", -1, out, 16, NULL, NULL), 7);
  EXPECT_EQ(std::string(out), "\xC3\xA9\xF0\x9F\x98\x80");
  EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, u"\xD800", 1, out, 16, NULL, NULL), 3);  // lone surrogate
  EXPECT_EQ(std::string(out, 3), "\xEF\xBF\xBD");
  SetLastError(0xdeadbeef);
  EXPECT_EQ(WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, u"\xD800", 1, out, 16, NULL, NULL), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_UNICODE_TRANSLATION));
  SetLastError(0xdeadbeef);
  EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, u"a", 1, out, 16, "?", NULL), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST(CodePage, EveryAnsiByteRoundTrips) {
  for (int b = 1; b < 256; ++b) {
    char in = static_cast<char>(b), back = 0;
    WCHAR w = 0;
    ASSERT_EQ(MultiByteToWideChar(CP_ACP, 0, &in, 1, &w, 1), 1);
    BOOL usedDefault = TRUE;
    ASSERT_EQ(WideCharToMultiByte(CP_ACP, 0, &w, 1, &back, 1, NULL, &usedDefault), 1);
    EXPECT_EQ(back, in) << "byte " << b;
    EXPECT_FALSE(usedDefault);
  }
}

TEST(HostText, Utf8AndUtf16Helpers) {
  EXPECT_EQ(wince::host::Utf16("Fran\xC3\xA7" "ais \xF0\x9F\x98\x80"), u"Fran\u00E7ais \U0001F600");
  EXPECT_EQ(wince::host::Utf8(u"Fran\u00E7ais \U0001F600"), "Fran\xC3\xA7" "ais \xF0\x9F\x98\x80");
  EXPECT_EQ(wince::host::Utf16("\xE0\x80\x80"), u"\uFFFD\uFFFD\uFFFD");  // overlong
  EXPECT_EQ(wince::host::Utf8(u"x\xDC00y"), "x\xEF\xBF\xBDy");
}

}  // namespace
