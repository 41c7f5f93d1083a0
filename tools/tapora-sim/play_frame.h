// What `tapora-sim play` shows, as plain pixels: where the panel, the text
// field and an open dialog lie in the window, which of them a window pixel
// falls on, and the frame put together and scaled. Nothing here knows the
// display or the host, so all of it is checked without either.
//
// The layout, in device pixels before scaling: the panel at the top left,
// the text field to its right, as tall as the panel (at least kFieldMinHeight).
// A dialog is laid centred over that; the canvas grows to hold it when it is
// larger. A window pixel (wx, wy) is the device pixel (wx / scale, wy / scale),
// rounded down, also for negative positions (the pen dragged off the window).
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace sim::play {

inline constexpr int kFieldWidth = 160;
inline constexpr int kFieldMinHeight = 80;
inline constexpr int kGap = 4;  // between the panel and the field
inline constexpr uint32_t kBackground = 0x00505050;  // COLORREF 0x00BBGGRR

// Pixels in rows, each a COLORREF (0x00BBGGRR), as the host's surfaces hold them.
struct Pixels {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> rgb;

  uint32_t At(int x, int y) const { return rgb[static_cast<size_t>(y) * width + x]; }
};

struct Box {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;

  bool Contains(int x, int y) const {
    return x >= left && y >= top && x < left + width && y < top + height;
  }
  bool operator==(const Box&) const = default;
};

struct Layout {
  int scale = 1;
  Box canvas;  // the whole window, in device pixels
  Box panel;   // empty when no panel is shown
  Box field;
  std::optional<Box> dialog;  // the dialog's window, frame included

  int WindowWidth() const { return canvas.width * scale; }
  int WindowHeight() const { return canvas.height * scale; }
};

// `panelWidth` and `panelHeight` 0 when no panel is shown; a dialog size when
// one is open.
Layout LayOut(int panelWidth, int panelHeight, int scale,
              std::optional<Box> dialogSize = std::nullopt);

// A window pixel in device pixels relative to a box: (wx / scale - left, ...),
// rounded down.
struct Point {
  int x = 0;
  int y = 0;
  bool operator==(const Point&) const = default;
};
Point Relative(const Layout& layout, const Box& box, int windowX, int windowY);

enum class Region { None, Panel, Field, Dialog };
// What lies under a window pixel: an open dialog first, then the panel, then
// the field.
Region RegionAt(const Layout& layout, int windowX, int windowY);

// The frame in window pixels: the background, the panel's and the field's
// pixels at their places, the dialog's over them, each scaled by repeating
// pixels. A picture smaller than its box leaves background; a larger one is cut.
Pixels Compose(const Layout& layout, const Pixels* panel, const Pixels& field,
               const Pixels* dialog);

}  // namespace sim::play
