// DrawTextW: formatted text in a rectangle.
//
// Lines break at CR, LF, CRLF and LFCR (not with DT_SINGLELINE) and, with
// DT_WORDBREAK, after the last word that fits. Each line is placed at
// x = (left + right - cx) / 2 with DT_CENTER (right - cx with DT_RIGHT);
// a single line is placed at y = top + (bottom - top) / 2 - cy / 2 with
// DT_VCENTER (bottom - cy with DT_BOTTOM); all divisions are C++ integer
// divisions, cx the width of the shown text and cy the font's cell height.
// Prefixes (unless DT_NOPREFIX): "&x" shows x underlined, "&&" shows one
// "&", and a "&" that is the last character is shown as it is. The
// underline is one pixel high in the text colour, two rows under the glyphs
// resting on the baseline (row top + ascent + 1), from the character's left
// edge to one pixel short of its advance. Without DT_NOCLIP everything is
// clipped to the rectangle. The result is the height of the text drawn
// (for DT_VCENTER and DT_BOTTOM, from the rectangle's top to the text's
// bottom), and 1 when that is 0.
#include <algorithm>
#include <vector>

#include <windows.h>

#include "wince/gdi/internal.h"
#include "wince/kernel/not_implemented.h"

namespace wince::gdi {
namespace {

constexpr WCHAR kPrefix = u'&';

struct Line {
  std::vector<WCHAR> text;
  int prefixOffset = -1;  // index in text of the underlined character
  int width = 0;
};

int Extent(HDC hdc, const WCHAR* text, int count) {
  SIZE size{};
  GetTextExtentExPointW(hdc, text, count, 0, nullptr, nullptr, &size);
  return size.cx;
}

bool IsBreak(WCHAR c) { return c == u'\r' || c == u'\n'; }

// Takes the next line from str[*pos..count) and moves *pos past it.
Line NextLine(HDC hdc, const WCHAR* str, int count, int* pos, int width, UINT format) {
  Line line;
  std::vector<int> source;  // index in str of each shown character
  int i = *pos;
  bool single = (format & DT_SINGLELINE) != 0;
  while (i < count && (single || !IsBreak(str[i]))) {
    if ((format & DT_NOPREFIX) || count - i <= 1 || str[i] != kPrefix) {
      source.push_back(i);
      line.text.push_back(str[i++]);
      continue;
    }
    ++i;  // the prefix itself is not shown
    if (str[i] == kPrefix) {
      source.push_back(i);
      line.text.push_back(str[i++]);
    } else if (line.prefixOffset < 0) {
      line.prefixOffset = static_cast<int>(line.text.size());
    }
  }
  int shown = static_cast<int>(line.text.size());
  int fit = shown;
  SIZE size{};
  GetTextExtentExPointW(hdc, line.text.data(), shown, width, &fit, nullptr, &size);
  if (fit < shown && (format & DT_WORDBREAK)) {
    // Break before the last space at or before the first character that
    // does not fit; that space is dropped. A word longer than the line
    // stays whole on it.
    int cut = -1;
    for (int k = fit; k > 0; --k)
      if (line.text[k] == u' ') {
        cut = k;
        break;
      }
    if (cut < 0) {
      cut = fit;
      while (cut < shown && line.text[cut] != u' ') ++cut;
    }
    int resume = cut < shown ? source[cut] + 1 : i;
    line.text.resize(cut);
    if (line.prefixOffset >= cut) line.prefixOffset = -1;
    *pos = resume;
    line.width = Extent(hdc, line.text.data(), cut);
    return line;
  }
  line.width = size.cx;
  if (i < count && IsBreak(str[i])) {
    ++i;
    if (i < count && IsBreak(str[i]) && str[i] != str[i - 1]) ++i;
  }
  *pos = i;
  return line;
}

void Underline(HDC hdc, const Line& line, int x, int y, int ascent, const RECT* clip) {
  DeviceContext* dc = FindDC(hdc);
  if (!dc) return;
  int from = x + Extent(hdc, line.text.data(), line.prefixOffset);
  int to = x + Extent(hdc, line.text.data(), line.prefixOffset + 1) - 1;
  int row = y + ascent + 1;
  if (clip) {
    if (row < clip->top || row >= clip->bottom) return;
    from = std::max<int>(from, clip->left);
    to = std::min<int>(to, clip->right);
  }
  FillBox(*dc, from, row, to, int64_t{row} + 1, DeviceColour(*dc, dc->textColour));
}

}  // namespace
}  // namespace wince::gdi

using namespace wince::gdi;

extern "C" int WINAPI DrawTextW(HDC hdc, LPCWSTR lpchText, int cchText, LPRECT lprc,
                                UINT format) {
  DeviceContext* dc = FindDC(hdc);
  if (!dc) return 0;
  if (!lpchText || !lprc || cchText < -1) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  if (format & (DT_EXPANDTABS | DT_TABSTOP | DT_INTERNAL)) {
    wince::NotImplemented("DrawTextW", "tabs and DT_INTERNAL");
    return 0;
  }
  if (format & DT_SINGLELINE) format &= ~static_cast<UINT>(DT_WORDBREAK);
  TEXTMETRICW tm{};
  if (!GetTextMetricsW(hdc, &tm)) return 0;
  int lh = tm.tmHeight + ((format & DT_EXTERNALLEADING) ? tm.tmExternalLeading : 0);
  int count = cchText;
  if (count == -1)
    for (count = 0; lpchText[count]; ++count) {
    }
  if (count == 0) {
    if (format & DT_CALCRECT) {
      lprc->right = lprc->left;
      lprc->bottom = lprc->top + ((format & DT_SINGLELINE) ? lh : 0);
    }
    return lh;
  }
  if (format & DT_CALCRECT) format |= DT_NOCLIP;
  RECT rect = *lprc;
  const RECT* clip = (format & DT_NOCLIP) ? nullptr : &rect;
  int width = rect.right - rect.left;
  int x = rect.left;
  int y = rect.top;
  int maxWidth = 0;
  int pos = 0;
  bool lastLine = false;
  do {
    lastLine = !(format & DT_NOCLIP) && y + lh > rect.bottom;
    Line line = NextLine(hdc, lpchText, count, &pos, width, format);
    if (format & DT_CENTER)
      x = (rect.left + rect.right - line.width) / 2;
    else if (format & DT_RIGHT)
      x = rect.right - line.width;
    if (format & DT_SINGLELINE) {
      if (format & DT_VCENTER)
        y = rect.top + (rect.bottom - rect.top) / 2 - lh / 2;
      else if (format & DT_BOTTOM)
        y = rect.bottom - lh;
    }
    if (!(format & DT_CALCRECT)) {
      ExtTextOutW(hdc, x, y, clip ? ETO_CLIPPED : 0, clip, line.text.data(),
                  static_cast<UINT>(line.text.size()), nullptr);
      if (line.prefixOffset >= 0) Underline(hdc, line, x, y, tm.tmAscent, clip);
    } else {
      maxWidth = std::max(maxWidth, line.width);
    }
    y += lh;
  } while (pos < count && !lastLine);
  if (format & DT_CALCRECT) {
    lprc->right = lprc->left + maxWidth;
    lprc->bottom = y;
  }
  int result = y - rect.top;
  return result == 0 ? 1 : result;
}
