// Drawing the text field of the play window (see play_field.h).
#include "tools/tapora-sim/play_field.h"

#include <algorithm>
#include <string>
#include <vector>

#include <windows.h>

#include "wince/host/surface.h"

namespace sim::play {
namespace {

constexpr int kMargin = 3;
constexpr COLORREF kFrameColour = RGB(128, 128, 128);

// One row on screen: units [start, end) of the text.
struct Row {
  size_t start = 0;
  size_t end = 0;
};

size_t CharacterEnd(const std::u16string& text, size_t at) {
  const bool pair = at + 1 < text.size() && text[at] >= 0xD800 && text[at] <= 0xDBFF &&
                    text[at + 1] >= 0xDC00 && text[at + 1] <= 0xDFFF;
  return at + (pair ? 2 : 1);
}

int WidthOf(HDC dc, const std::u16string& text, size_t start, size_t end) {
  SIZE size{};
  if (end > start)
    GetTextExtentPoint32W(dc, text.c_str() + start, static_cast<int>(end - start), &size);
  return size.cx;
}

// The text's rows: a new one at every line break and wherever the next
// character would cross the right edge (a character wider than the box
// still gets a row of its own).
std::vector<Row> Rows(HDC dc, const std::u16string& text, int width) {
  std::vector<Row> rows;
  Row row;
  int used = 0;
  size_t at = 0;
  while (at < text.size()) {
    if (text[at] == u'\n') {
      row.end = at;
      rows.push_back(row);
      row = Row{at + 1, at + 1};
      used = 0;
      ++at;
      continue;
    }
    const size_t next = CharacterEnd(text, at);
    const int advance = WidthOf(dc, text, at, next);
    if (used + advance > width && at > row.start) {
      row.end = at;
      rows.push_back(row);
      row = Row{at, at};
      used = 0;
    }
    used += advance;
    at = next;
  }
  row.end = text.size();
  rows.push_back(row);
  return rows;
}

// The row the caret shows in: the last one that starts at or before it, so a
// caret at a wrap point stands at the start of the next row.
size_t CaretRow(const std::vector<Row>& rows, size_t caret) {
  size_t found = 0;
  for (size_t i = 0; i < rows.size(); ++i)
    if (rows[i].start <= caret) found = i;
  return found;
}

Pixels ReadBack(HDC dc, int width, int height) {
  Pixels pixels;
  pixels.width = width;
  pixels.height = height;
  pixels.rgb.resize(static_cast<size_t>(width) * height);
  if (const auto view = wince::host::ViewOf(dc)) {
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x)
        pixels.rgb[static_cast<size_t>(y) * width + x] = view->At(x, y);
  }
  return pixels;
}

}  // namespace

Pixels DrawTextField(const TextField& field, int width, int height) {
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateBitmap(width, height, 1, 32, nullptr);
  HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
  HGDIOBJ oldFont = SelectObject(dc, GetStockObject(SYSTEM_FONT));
  RECT all{0, 0, width, height};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  HBRUSH frame = CreateSolidBrush(kFrameColour);
  for (RECT edge : {RECT{0, 0, width, 1}, RECT{0, height - 1, width, height}, RECT{0, 0, 1, height},
                    RECT{width - 1, 0, width, height}})
    FillRect(dc, &edge, frame);
  DeleteObject(frame);

  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  const int rowHeight = std::max<int>(metrics.tmHeight, 1);
  const std::u16string& text = field.Text();
  const std::vector<Row> rows = Rows(dc, text, width - 2 * kMargin);
  const size_t caretRow = CaretRow(rows, field.Caret());
  const size_t visible = static_cast<size_t>(std::max((height - 2 * kMargin) / rowHeight, 1));
  const size_t first = caretRow >= visible ? caretRow - visible + 1 : 0;

  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(0, 0, 0));
  RECT inside{kMargin, kMargin, width - kMargin, height - kMargin};
  for (size_t i = first; i < rows.size() && i < first + visible; ++i) {
    const int top = kMargin + static_cast<int>(i - first) * rowHeight;
    const Row& row = rows[i];
    ExtTextOutW(dc, kMargin, top, ETO_CLIPPED, &inside, text.c_str() + row.start,
                static_cast<UINT>(row.end - row.start), nullptr);
    if (i == caretRow) {
      const int x = kMargin + WidthOf(dc, text, row.start, std::min(field.Caret(), row.end));
      RECT caret{std::min(x, width - kMargin - 1), top, std::min(x, width - kMargin - 1) + 1,
                 top + rowHeight};
      FillRect(dc, &caret, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    }
  }
  Pixels pixels = ReadBack(dc, width, height);
  SelectObject(dc, oldFont);
  SelectObject(dc, oldBitmap);
  DeleteObject(bitmap);
  DeleteDC(dc);
  return pixels;
}

}  // namespace sim::play
