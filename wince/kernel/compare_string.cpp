// Linguistic comparison: CompareStringW, and lstrcmpW/lstrcmpiW on top of it.
//
// The host's collation approximates the platform's in three levels, each
// compared over the whole text before the next one is looked at:
//   1. primary: the letters and digits themselves. Spaces, punctuation and
//      symbols sort first (by code point), then digits, then Latin letters in
//      alphabetical order without regard to case or accent, then the letters
//      of other scripts (by lower-case code point). "ß" sorts as "ss", "æ" as
//      "ae", "œ" as "oe"; "þ" after "z".
//   2. secondary: accents. An unaccented letter sorts before the same letter
//      accented; a precomposed letter equals its base letter followed by the
//      combining mark.
//   3. tertiary: case. Lower case sorts before upper case ("a" < "A" < "b").
// A shorter text that matches the start of a longer one sorts first. NUL
// units carry no weight, and a positive count ends at the first NUL within it.
// Flags: NORM_IGNORECASE drops level 3, NORM_IGNORENONSPACE level 2,
// NORM_IGNORESYMBOLS the symbols; NORM_IGNOREKANATYPE, NORM_IGNOREWIDTH and
// SORT_STRINGSORT are accepted and change nothing (hyphen and apostrophe are
// ordinary punctuation here, as in a string sort).
#include <cstdint>
#include <string_view>
#include <vector>

#include <windows.h>

#include "wince/kernel/case_map.h"
#include "wince/kernel/unicode.h"

namespace wince {
namespace {

constexpr uint32_t kSymbol = 1u << 24;
constexpr uint32_t kDigit = 2u << 24;
constexpr uint32_t kLatin = 3u << 24;
constexpr uint32_t kOtherLetter = 4u << 24;

// Secondary weights of letters that are no base letter plus a combining mark.
constexpr uint16_t kVariantSecond = 0x3FE;   // the second letter of "ß", "æ", "œ"
constexpr uint16_t kVariantStroke = 0x3F1;   // "ø", "ð"
constexpr uint16_t kVariantOrdinal = 0x3F2;  // "ª", "º"
constexpr uint16_t kVariantSuper = 0x3F3;    // "¹", "²", "³"
constexpr uint16_t kVariantExtA = 0x400;     // + code point: Latin Extended-A

// Base letters of U+0100..U+017F; "#" marks the two-letter ones (Ĳ, Œ).
constexpr std::string_view kExtendedABase =
    "aaaaaacccccccc" "dddd" "eeeeeeeeee" "gggggggg" "hhhh" "iiiiiiiiii" "##" "jj" "kkk"
    "llllllllll" "nnnnnnnnn" "oooooo" "##" "rrrrrr" "ssssssss" "tttttt" "uuuuuuuuuuuu"
    "ww" "yyy" "zzzzzz" "s";
static_assert(kExtendedABase.size() == 0x80);

struct Weights {
  std::vector<uint32_t> primary;  // elements with primary weight 0 are left out
  std::vector<uint16_t> secondary;
  std::vector<uint8_t> tertiary;
};

class Collator {
 public:
  explicit Collator(DWORD flags) : flags_(flags) {}

  // Fills w, reusing its storage.
  void Weigh(std::u16string_view text, Weights& w) const {
    w.primary.clear();
    w.secondary.clear();
    w.tertiary.clear();
    for (char16_t c : text) Add(w, c);
  }

 private:
  void Element(Weights& w, uint32_t primary, uint16_t secondary, bool upper) const {
    if (primary != 0) w.primary.push_back(primary);
    w.secondary.push_back((flags_ & NORM_IGNORENONSPACE) ? 0 : secondary);
    w.tertiary.push_back((flags_ & NORM_IGNORECASE) ? 0 : (upper ? 1 : 0));
  }

  void Symbol(Weights& w, char16_t c) const {
    if (flags_ & NORM_IGNORESYMBOLS) return;
    Element(w, kSymbol + c, 0, false);
  }

  void Latin(Weights& w, char letter, uint16_t secondary, bool upper) const {
    Element(w, kLatin + static_cast<uint32_t>(letter - 'a' + 1), secondary, upper);
  }

  void Add(Weights& w, char16_t c) const {
    bool upper = text::ToLower(c) != c;
    char16_t base = 0, mark = 0;
    if (c == 0) return;
    if (c >= 0x0300 && c <= 0x036F) {
      if (!(flags_ & NORM_IGNORENONSPACE)) Element(w, 0, c, false);
      return;
    }
    if (c < 0x80) {
      if (c >= u'0' && c <= u'9') return Element(w, kDigit + (c - u'0'), 0, false);
      char lower = static_cast<char>(text::ToLower(c));
      if (lower >= 'a' && lower <= 'z') return Latin(w, lower, 0, upper);
      return Symbol(w, c);
    }
    if (c < 0x100 || c == 0x0160 || c == 0x0161 || c == 0x0178 || c == 0x017D || c == 0x017E) {
      if (text::Decompose(c, &base, &mark)) {
        Latin(w, static_cast<char>(text::ToLower(base)), 0, upper);
        if (!(flags_ & NORM_IGNORENONSPACE)) Element(w, 0, mark, false);
        return;
      }
      return AddLatin1Special(w, c, upper);
    }
    if (c < 0x180) {
      char letter = kExtendedABase[c - 0x100];
      if (letter == '#') {
        bool ij = c == 0x0132 || c == 0x0133;
        Latin(w, ij ? 'i' : 'o', 0, upper);
        Latin(w, ij ? 'j' : 'e', kVariantSecond, upper);
        return;
      }
      return Latin(w, letter, static_cast<uint16_t>(kVariantExtA + text::ToLower(c) - 0x100), upper);
    }
    if ((c >= 0x2000 && c <= 0x2BFF) || (c >= 0x3000 && c <= 0x303F)) return Symbol(w, c);
    Element(w, kOtherLetter + text::ToLower(c), 0, upper);
  }

  // Latin-1 characters that do not decompose: letters of their own, ordinals,
  // superscript digits, and the symbols.
  void AddLatin1Special(Weights& w, char16_t c, bool upper) const {
    switch (c) {
      case 0xDF: Latin(w, 's', 0, false); return Latin(w, 's', kVariantSecond, false);
      case 0xC6: case 0xE6: Latin(w, 'a', 0, upper); return Latin(w, 'e', kVariantSecond, upper);
      case 0xD8: case 0xF8: return Latin(w, 'o', kVariantStroke, upper);
      case 0xD0: case 0xF0: return Latin(w, 'd', kVariantStroke, upper);
      case 0xDE: case 0xFE: return Element(w, kLatin + 27, 0, upper);
      case 0xAA: return Latin(w, 'a', kVariantOrdinal, false);
      case 0xBA: return Latin(w, 'o', kVariantOrdinal, false);
      case 0xB5: return Element(w, kOtherLetter + 0x03BC, 0, false);
      case 0xB9: return Element(w, kDigit + 1, kVariantSuper, false);
      case 0xB2: return Element(w, kDigit + 2, kVariantSuper, false);
      case 0xB3: return Element(w, kDigit + 3, kVariantSuper, false);
      default: return Symbol(w, c);
    }
  }

  DWORD flags_;
};

template <class T>
int CompareLevel(const std::vector<T>& a, const std::vector<T>& b) {
  size_t n = a.size() < b.size() ? a.size() : b.size();
  for (size_t i = 0; i < n; ++i) {
    if (a[i] != b[i]) return a[i] < b[i] ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

std::u16string_view View(LPCWSTR s, int count) {
  size_t length = 0;
  if (count < 0) {
    while (s[length]) ++length;
  } else {
    while (length < static_cast<size_t>(count) && s[length]) ++length;
  }
  return std::u16string_view(s, length);
}

}  // namespace
}  // namespace wince

extern "C" int WINAPI CompareStringW(LCID, DWORD dwCmpFlags, LPCWSTR lpString1, int cchCount1,
                                     LPCWSTR lpString2, int cchCount2) {
  const DWORD known = NORM_IGNORECASE | NORM_IGNORENONSPACE | NORM_IGNORESYMBOLS |
                      SORT_STRINGSORT | NORM_IGNOREKANATYPE | NORM_IGNOREWIDTH;
  if (!lpString1 || !lpString2) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  if (dwCmpFlags & ~known) {
    SetLastError(ERROR_INVALID_FLAGS);
    return 0;
  }
  // The weights' storage is kept between calls: a keyboard load compares
  // names thousands of times, and allocating for each was most of its cost.
  thread_local wince::Weights a, b;
  wince::Collator collator(dwCmpFlags);
  collator.Weigh(wince::View(lpString1, cchCount1), a);
  collator.Weigh(wince::View(lpString2, cchCount2), b);
  int result = wince::CompareLevel(a.primary, b.primary);
  if (result == 0) result = wince::CompareLevel(a.secondary, b.secondary);
  if (result == 0) result = wince::CompareLevel(a.tertiary, b.tertiary);
  return result + 2;  // CSTR_LESS_THAN, CSTR_EQUAL, CSTR_GREATER_THAN
}

namespace {

int CompareForLstr(LPCWSTR a, LPCWSTR b, DWORD flags) {
  if (!a || !b) return !a && !b ? 0 : (!a ? -1 : 1);
  return CompareStringW(LOCALE_USER_DEFAULT, flags, a, -1, b, -1) - 2;
}

}  // namespace

extern "C" int WINAPI lstrcmpW(LPCWSTR lpString1, LPCWSTR lpString2) {
  return CompareForLstr(lpString1, lpString2, 0);
}

extern "C" int WINAPI lstrcmpiW(LPCWSTR lpString1, LPCWSTR lpString2) {
  return CompareForLstr(lpString1, lpString2, NORM_IGNORECASE);
}
