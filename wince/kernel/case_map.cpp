// One-to-one case pairs of the scripts a keyboard of this system is likely to
// type: ASCII, Latin-1, Latin Extended-A, Greek and Cyrillic.
#include "wince/kernel/case_map.h"

namespace wince::text {
namespace {

// Blocks where upper and lower case alternate: the upper case letter is at
// the even offset from `first` when upperFirst.
struct AlternatingBlock {
  char16_t first;
  char16_t last;
};

constexpr AlternatingBlock kEvenUpper[] = {
    {0x0100, 0x012F}, {0x0132, 0x0137}, {0x014A, 0x0177}, {0x0460, 0x0481},
    {0x048A, 0x04BF}, {0x04D0, 0x052F},
};
constexpr AlternatingBlock kOddUpper[] = {
    {0x0139, 0x0148}, {0x0179, 0x017E}, {0x04C1, 0x04CE},
};

bool InAlternating(char16_t c, const AlternatingBlock* blocks, int count, bool* isUpper) {
  for (int i = 0; i < count; ++i) {
    if (c >= blocks[i].first && c <= blocks[i].last) {
      *isUpper = ((c - blocks[i].first) % 2) == 0;
      return true;
    }
  }
  return false;
}

}  // namespace

char16_t ToUpper(char16_t c) {
  if (c < 0x80) return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 0x20) : c;
  if (c < 0x100) {
    if (c == 0xB5) return 0x039C;  // micro sign: Greek capital mu
    if (c == 0xFF) return 0x0178;
    if (c >= 0xE0 && c != 0xF7) return static_cast<char16_t>(c - 0x20);
    return c;
  }
  bool isUpper = false;
  if (InAlternating(c, kEvenUpper, 6, &isUpper)) {
    return isUpper ? c : static_cast<char16_t>(c - 1);
  }
  if (InAlternating(c, kOddUpper, 3, &isUpper)) {
    return isUpper ? c : static_cast<char16_t>(c - 1);
  }
  switch (c) {
    case 0x0131: return u'I';  // dotless i
    case 0x017F: return u'S';  // long s
    case 0x03C2: return 0x03A3;  // final sigma
    case 0x03AC: return 0x0386;
    case 0x03CC: return 0x038C;
    case 0x04CF: return 0x04C0;
    default: break;
  }
  if (c >= 0x03AD && c <= 0x03AF) return static_cast<char16_t>(c - 0x25);
  if (c >= 0x03CD && c <= 0x03CE) return static_cast<char16_t>(c - 0x3F);
  if (c >= 0x03B1 && c <= 0x03CB && c != 0x03C2) return static_cast<char16_t>(c - 0x20);
  if (c >= 0x0430 && c <= 0x044F) return static_cast<char16_t>(c - 0x20);
  if (c >= 0x0450 && c <= 0x045F) return static_cast<char16_t>(c - 0x50);
  return c;
}

char16_t ToLower(char16_t c) {
  if (c < 0x80) return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + 0x20) : c;
  if (c < 0x100) {
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<char16_t>(c + 0x20);
    return c;
  }
  bool isUpper = false;
  if (InAlternating(c, kEvenUpper, 6, &isUpper)) {
    return isUpper ? static_cast<char16_t>(c + 1) : c;
  }
  if (InAlternating(c, kOddUpper, 3, &isUpper)) {
    return isUpper ? static_cast<char16_t>(c + 1) : c;
  }
  switch (c) {
    case 0x0130: return u'i';  // capital I with dot above
    case 0x0178: return 0x00FF;
    case 0x0386: return 0x03AC;
    case 0x038C: return 0x03CC;
    case 0x04C0: return 0x04CF;
    default: break;
  }
  if (c >= 0x0388 && c <= 0x038A) return static_cast<char16_t>(c + 0x25);
  if (c >= 0x038E && c <= 0x038F) return static_cast<char16_t>(c + 0x3F);
  if (c >= 0x0391 && c <= 0x03AB && c != 0x03A2) return static_cast<char16_t>(c + 0x20);
  if (c >= 0x0410 && c <= 0x042F) return static_cast<char16_t>(c + 0x20);
  if (c >= 0x0400 && c <= 0x040F) return static_cast<char16_t>(c + 0x50);
  return c;
}

}  // namespace wince::text
