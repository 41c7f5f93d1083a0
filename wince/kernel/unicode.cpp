// UTF-8 and Windows-1252 conversion, and the decomposition of the code page's
// accented letters (used by MB_COMPOSITE, WC_COMPOSITECHECK and collation).
#include "wince/kernel/unicode.h"

#include <cstdint>

#include "wince/host/text.h"

namespace wince::text {
namespace {

constexpr char16_t kReplacement = 0xFFFD;

// 0x80..0x9F; the rest of the code page is Latin-1.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

struct Decomposition {
  char16_t composed;
  char16_t base;
  char16_t mark;
};

constexpr char16_t kGrave = 0x0300, kAcute = 0x0301, kCircumflex = 0x0302, kTilde = 0x0303,
                   kDiaeresis = 0x0308, kRing = 0x030A, kCaron = 0x030C, kCedilla = 0x0327;

constexpr Decomposition kDecompositions[] = {
    {0xC0, u'A', kGrave}, {0xC1, u'A', kAcute}, {0xC2, u'A', kCircumflex},
    {0xC3, u'A', kTilde}, {0xC4, u'A', kDiaeresis}, {0xC5, u'A', kRing},
    {0xC7, u'C', kCedilla}, {0xC8, u'E', kGrave}, {0xC9, u'E', kAcute},
    {0xCA, u'E', kCircumflex}, {0xCB, u'E', kDiaeresis}, {0xCC, u'I', kGrave},
    {0xCD, u'I', kAcute}, {0xCE, u'I', kCircumflex}, {0xCF, u'I', kDiaeresis},
    {0xD1, u'N', kTilde}, {0xD2, u'O', kGrave}, {0xD3, u'O', kAcute},
    {0xD4, u'O', kCircumflex}, {0xD5, u'O', kTilde}, {0xD6, u'O', kDiaeresis},
    {0xD9, u'U', kGrave}, {0xDA, u'U', kAcute}, {0xDB, u'U', kCircumflex},
    {0xDC, u'U', kDiaeresis}, {0xDD, u'Y', kAcute},
    {0xE0, u'a', kGrave}, {0xE1, u'a', kAcute}, {0xE2, u'a', kCircumflex},
    {0xE3, u'a', kTilde}, {0xE4, u'a', kDiaeresis}, {0xE5, u'a', kRing},
    {0xE7, u'c', kCedilla}, {0xE8, u'e', kGrave}, {0xE9, u'e', kAcute},
    {0xEA, u'e', kCircumflex}, {0xEB, u'e', kDiaeresis}, {0xEC, u'i', kGrave},
    {0xED, u'i', kAcute}, {0xEE, u'i', kCircumflex}, {0xEF, u'i', kDiaeresis},
    {0xF1, u'n', kTilde}, {0xF2, u'o', kGrave}, {0xF3, u'o', kAcute},
    {0xF4, u'o', kCircumflex}, {0xF5, u'o', kTilde}, {0xF6, u'o', kDiaeresis},
    {0xF9, u'u', kGrave}, {0xFA, u'u', kAcute}, {0xFB, u'u', kCircumflex},
    {0xFC, u'u', kDiaeresis}, {0xFD, u'y', kAcute}, {0xFF, u'y', kDiaeresis},
    {0x0160, u'S', kCaron}, {0x0161, u's', kCaron}, {0x0178, u'Y', kDiaeresis},
    {0x017D, u'Z', kCaron}, {0x017E, u'z', kCaron},
};

void AppendCodePoint(std::u16string& out, uint32_t cp) {
  if (cp < 0x10000) {
    out.push_back(static_cast<char16_t>(cp));
  } else {
    cp -= 0x10000;
    out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
    out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
  }
}

void AppendUtf8(std::string& out, uint32_t cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

// The range the second byte of a sequence must fall in, which rules out
// overlong forms, surrogates and code points above U+10FFFF.
bool SecondByteFits(unsigned char lead, unsigned char next) {
  switch (lead) {
    case 0xE0: return next >= 0xA0 && next <= 0xBF;
    case 0xED: return next >= 0x80 && next <= 0x9F;
    case 0xF0: return next >= 0x90 && next <= 0xBF;
    case 0xF4: return next >= 0x80 && next <= 0x8F;
    default: return next >= 0x80 && next <= 0xBF;
  }
}

}  // namespace

std::u16string DecodeUtf8(std::string_view utf8, bool* invalid) {
  std::u16string out;
  out.reserve(utf8.size());
  size_t i = 0;
  while (i < utf8.size()) {
    auto lead = static_cast<unsigned char>(utf8[i]);
    if (lead < 0x80) {
      out.push_back(lead);
      ++i;
      continue;
    }
    int length = lead >= 0xC2 && lead <= 0xDF ? 2 : lead >= 0xE0 && lead <= 0xEF ? 3
                 : lead >= 0xF0 && lead <= 0xF4 ? 4 : 0;
    uint32_t cp = length == 2 ? (lead & 0x1F) : length == 3 ? (lead & 0x0F) : (lead & 0x07);
    // Consume the longest valid prefix; a sequence cut short counts once.
    size_t used = 1;
    bool complete = length != 0;
    for (int k = 1; complete && k < length; ++k) {
      if (i + k >= utf8.size()) {
        complete = false;
        break;
      }
      auto next = static_cast<unsigned char>(utf8[i + k]);
      bool fits = k == 1 ? SecondByteFits(lead, next) : (next >= 0x80 && next <= 0xBF);
      if (!fits) {
        complete = false;
        break;
      }
      cp = (cp << 6) | (next & 0x3F);
      ++used;
    }
    if (complete) {
      AppendCodePoint(out, cp);
    } else {
      out.push_back(kReplacement);
      if (invalid) *invalid = true;
    }
    i += used;
  }
  return out;
}

std::string EncodeUtf8(std::u16string_view utf16, bool* invalid) {
  std::string out;
  out.reserve(utf16.size());
  for (size_t i = 0; i < utf16.size(); ++i) {
    uint32_t c = utf16[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 &&
        utf16[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (utf16[i + 1] - 0xDC00);
      ++i;
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      c = kReplacement;
      if (invalid) *invalid = true;
    }
    AppendUtf8(out, c);
  }
  return out;
}

char16_t Cp1252ToUnicode(unsigned char byte) {
  return byte >= 0x80 && byte <= 0x9F ? kCp1252High[byte - 0x80] : byte;
}

int UnicodeToCp1252(char16_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return c;
  for (int i = 0; i < 32; ++i) {
    if (kCp1252High[i] == c) return 0x80 + i;
  }
  return -1;
}

bool Decompose(char16_t c, char16_t* base, char16_t* mark) {
  for (const Decomposition& d : kDecompositions) {
    if (d.composed == c) {
      *base = d.base;
      *mark = d.mark;
      return true;
    }
  }
  return false;
}

char16_t Compose(char16_t base, char16_t mark) {
  for (const Decomposition& d : kDecompositions) {
    if (d.base == base && d.mark == mark) return d.composed;
  }
  return 0;
}

}  // namespace wince::text

namespace wince::host {

std::u16string Utf16(std::string_view utf8) { return text::DecodeUtf8(utf8); }

std::string Utf8(std::u16string_view utf16) { return text::EncodeUtf8(utf16); }

}  // namespace wince::host
