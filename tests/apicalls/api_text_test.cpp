// The text helpers that the layer adds to the pass-throughs: the comparison
// modes, the backward character search with its blind first position, the
// folder cut, and bounded appending.
#include <gtest/gtest.h>

#include <string>

#include "apicalls/api_text.h"

namespace {

using namespace tapora::api;

TEST(CompareText, ModesAndUnknownModes) {
  EXPECT_EQ(CompareText(u"[Shift-Down]", u"[Shift-Down]", COMPARE_EXACT, 0), 0);
  EXPECT_NE(CompareText(u"[Shift-Down]", u"[shift-down]", COMPARE_EXACT, 0), 0);
  EXPECT_NE(CompareText(u"[Shift-Down]", u"[Shift-Down]x", COMPARE_EXACT, 0), 0);
  EXPECT_EQ(CompareText(u"PNL00001.PNL", u"pnl00001.pnl", COMPARE_IGNORE_CASE, 0), 0);
  EXPECT_NE(CompareText(u"PNL00001.PNL", u"PNL00002.PNL", COMPARE_IGNORE_CASE, 0), 0);
  EXPECT_EQ(CompareText(u"[CMD:NKBF=x]", u"[CMD:", COMPARE_FIRST_N, 5), 0);
  EXPECT_NE(CompareText(u"[cmd:NKBF=x]", u"[CMD:", COMPARE_FIRST_N, 5), 0);
  // A text shorter than n is compared as far as it goes, not past its end.
  EXPECT_NE(CompareText(u"[CM", u"[CMD:", COMPARE_FIRST_N, 5), 0);
  EXPECT_EQ(CompareText(u"ab", u"ab", COMPARE_FIRST_N, 8), 0);
  for (int mode : {0, 4, -1}) EXPECT_NE(CompareText(u"same", u"same", mode, 4), 0) << mode;
}

TEST(FindLastChar, StepsBackAndNeverSeesTheFirstPosition) {
  WCHAR path[] = u"\\Keyboards\\de\\PNL00001.PNL";
  EXPECT_EQ(FindLastChar(path, u'\\'), path + 13);
  WCHAR rootOnly[] = u"\\PNL00001.PNL";
  EXPECT_EQ(FindLastChar(rootOnly, u'\\'), nullptr);
  WCHAR none[] = u"PNL00001.PNL";
  EXPECT_EQ(FindLastChar(none, u'\\'), nullptr);
  WCHAR empty[] = u"";
  EXPECT_EQ(FindLastChar(empty, u'\\'), nullptr);
  WCHAR last[] = u"ab\\";
  EXPECT_EQ(FindLastChar(last, u'\\'), last + 2);
}

TEST(CutToFolder, KeepsTheLastBackslash) {
  WCHAR nested[] = u"\\Program Files\\Tapora SIP\\de\\qwertz.kbf";
  EXPECT_EQ(std::u16string(CutToFolder(nested)), u"\\Program Files\\Tapora SIP\\de\\");
  WCHAR root[] = u"\\qwertz.kbf";
  EXPECT_EQ(std::u16string(CutToFolder(root)), u"\\");
  WCHAR bare[] = u"qwertz.kbf";
  EXPECT_EQ(std::u16string(CutToFolder(bare)), u"");
}

TEST(AppendBounded, CutsAtCapacityAndTerminates) {
  WCHAR buffer[8];
  std::fill(std::begin(buffer), std::end(buffer), u'#');
  buffer[0] = 0;
  AppendBounded(buffer, u"abc", 6);
  EXPECT_EQ(std::u16string(buffer), u"abc");
  AppendBounded(buffer, u"defgh", 6);
  EXPECT_EQ(std::u16string(buffer), u"abcde");
  EXPECT_EQ(buffer[6], u'#');
  AppendBounded(buffer, u"x", 6);
  EXPECT_EQ(std::u16string(buffer), u"abcde");
  AppendBounded(buffer, u"x", 0);
  EXPECT_EQ(buffer[6], u'#');
}

TEST(MultiByteToWideChar, SystemCodePageAndCapacity) {
  WCHAR out[8];
  EXPECT_EQ(MultiByteToWideChar("\x80" "a", out, 8), 3);
  EXPECT_EQ(std::u16string(out), u"\u20ACa");
  EXPECT_EQ(MultiByteToWideChar("abcdef", out, 3), 0);
}

}  // namespace
