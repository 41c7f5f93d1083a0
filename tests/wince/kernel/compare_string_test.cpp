// The host's collation: CompareStringW and lstrcmpW/lstrcmpiW.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include <windows.h>

#include "wince/host/text.h"

namespace {

int Compare(LPCWSTR a, LPCWSTR b, DWORD flags = 0) {
  return CompareStringW(LOCALE_USER_DEFAULT, flags, a, -1, b, -1);
}

TEST(Collation, OrderOfTheLevels) {
  // each list is in ascending order; every earlier entry sorts before every later one
  std::vector<std::u16string> order = {
      u"",      u" ",      u"-",  u"0",      u"1",      u"10",     u"9",   u"a",
      u"A",     u"\u00E0", u"\u00C0", u"ab", u"Ab",     u"b",      u"B",   u"e",
      u"\u00E9", u"\u00C9", u"f", u"ss",    u"\u00DF", u"st",     u"z",   u"\u00FE",
      u"\u03B1", u"\u0391", u"\u0430",
  };
  for (size_t i = 0; i < order.size(); ++i) {
    for (size_t j = 0; j < order.size(); ++j) {
      int expected = i < j ? CSTR_LESS_THAN : i == j ? CSTR_EQUAL : CSTR_GREATER_THAN;
      EXPECT_EQ(Compare(order[i].c_str(), order[j].c_str()), expected)
          << wince::host::Utf8(order[i]) << " vs " << wince::host::Utf8(order[j]);
    }
  }
}

TEST(Collation, WholeTextIsComparedLevelByLevel) {
  // case decides only when the letters are the same throughout
  EXPECT_EQ(Compare(u"Ab", u"ac"), CSTR_LESS_THAN);
  EXPECT_EQ(Compare(u"ab", u"Ab"), CSTR_LESS_THAN);
  // accents before case
  EXPECT_EQ(Compare(u"\u00E9a", u"eA"), CSTR_GREATER_THAN);
  // a precomposed letter equals its decomposed form
  EXPECT_EQ(Compare(u"caf\u00E9", u"cafe\u0301"), CSTR_EQUAL);
}

TEST(Collation, FlagsAndCounts) {
  EXPECT_EQ(Compare(u"TAPORA.DLL", u"tapora.dll", NORM_IGNORECASE), CSTR_EQUAL);
  EXPECT_EQ(Compare(u"\u00C9T\u00C9", u"\u00E9t\u00E9", NORM_IGNORECASE), CSTR_EQUAL);
  EXPECT_EQ(Compare(u"\u00E9t\u00E9", u"ete", NORM_IGNORECASE), CSTR_GREATER_THAN);
  EXPECT_EQ(Compare(u"\u00E9t\u00E9", u"ete", NORM_IGNORENONSPACE), CSTR_EQUAL);
  EXPECT_EQ(Compare(u"co-op", u"coop", NORM_IGNORESYMBOLS), CSTR_EQUAL);
  EXPECT_EQ(Compare(u"co-op", u"coop"), CSTR_LESS_THAN);

  // counts: that many units, ending early at a NUL
  EXPECT_EQ(CompareStringW(LOCALE_USER_DEFAULT, 0, u"abcX", 3, u"abcY", 3), CSTR_EQUAL);
  EXPECT_EQ(CompareStringW(LOCALE_USER_DEFAULT, 0, u"abc", 2, u"abc", -1), CSTR_LESS_THAN);
  EXPECT_EQ(CompareStringW(LOCALE_USER_DEFAULT, 0, u"ab\0zz", 5, u"ab", -1), CSTR_EQUAL);

  SetLastError(0xdeadbeef);
  EXPECT_EQ(CompareStringW(LOCALE_USER_DEFAULT, 0, NULL, -1, u"a", -1), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  SetLastError(0xdeadbeef);
  EXPECT_EQ(CompareStringW(LOCALE_USER_DEFAULT, 0x40000000, u"a", -1, u"a", -1), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_FLAGS));
}

TEST(Collation, LstrcmpGivesMinusOneZeroOne) {
  EXPECT_EQ(lstrcmpW(TEXT("a"), TEXT("b")), -1);
  EXPECT_EQ(lstrcmpW(TEXT("b"), TEXT("a")), 1);
  EXPECT_EQ(lstrcmpW(TEXT("a"), TEXT("a")), 0);
  EXPECT_EQ(lstrcmpW(TEXT("a"), TEXT("A")), -1);
  EXPECT_EQ(lstrcmpiW(TEXT("a"), TEXT("A")), 0);
  EXPECT_EQ(lstrcmpiW(TEXT("English"), TEXT("english")), 0);
  EXPECT_EQ(lstrcmpiW(TEXT("Deutsch"), TEXT("english")), -1);
  EXPECT_EQ(lstrcmpW(NULL, NULL), 0);
  EXPECT_EQ(lstrcmpW(NULL, TEXT("")), -1);
  EXPECT_EQ(lstrcmpiW(TEXT(""), NULL), 1);
}

TEST(Collation, SortsALanguageListAsAUserExpects) {
  std::vector<std::u16string> names = {u"english", u"Deutsch", u"\u00C9sperant", u"Espa\u00F1ol",
                                       u"dansk", u"2nd", u"_test"};
  std::sort(names.begin(), names.end(), [](const std::u16string& a, const std::u16string& b) {
    return lstrcmpiW(a.c_str(), b.c_str()) < 0;
  });
  EXPECT_EQ(names, (std::vector<std::u16string>{u"_test", u"2nd", u"dansk", u"Deutsch", u"english",
                                                u"Espa\u00F1ol", u"\u00C9sperant"}));
}

}  // namespace
