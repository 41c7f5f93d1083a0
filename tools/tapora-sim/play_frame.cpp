// The play window's layout and frame (see play_frame.h).
#include "tools/tapora-sim/play_frame.h"

#include <algorithm>

namespace sim::play {
namespace {

int FloorDiv(int value, int divisor) {
  const int quotient = value / divisor;
  return (value % divisor != 0 && value < 0) ? quotient - 1 : quotient;
}

// Copies `picture` into `frame` at the box, each pixel as a scale-by-scale block.
void Put(Pixels& frame, const Box& box, const Pixels& picture, int scale) {
  const int width = std::min(box.width, picture.width);
  const int height = std::min(box.height, picture.height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const uint32_t colour = picture.At(x, y);
      const int left = (box.left + x) * scale;
      const int top = (box.top + y) * scale;
      for (int dy = 0; dy < scale; ++dy) {
        uint32_t* row = &frame.rgb[static_cast<size_t>(top + dy) * frame.width + left];
        std::fill(row, row + scale, colour);
      }
    }
  }
}

}  // namespace

Layout LayOut(int panelWidth, int panelHeight, int scale, std::optional<Box> dialogSize) {
  Layout layout;
  layout.scale = std::max(scale, 1);
  layout.panel = Box{0, 0, std::max(panelWidth, 0), std::max(panelHeight, 0)};
  const int fieldLeft = layout.panel.width > 0 ? layout.panel.width + kGap : 0;
  layout.field = Box{fieldLeft, 0, kFieldWidth, std::max(layout.panel.height, kFieldMinHeight)};
  layout.canvas = Box{0, 0, fieldLeft + kFieldWidth, layout.field.height};
  if (dialogSize) {
    layout.canvas.width = std::max(layout.canvas.width, dialogSize->width);
    layout.canvas.height = std::max(layout.canvas.height, dialogSize->height);
    layout.dialog = Box{(layout.canvas.width - dialogSize->width) / 2,
                        (layout.canvas.height - dialogSize->height) / 2, dialogSize->width,
                        dialogSize->height};
  }
  return layout;
}

Point Relative(const Layout& layout, const Box& box, int windowX, int windowY) {
  return Point{FloorDiv(windowX, layout.scale) - box.left,
               FloorDiv(windowY, layout.scale) - box.top};
}

Region RegionAt(const Layout& layout, int windowX, int windowY) {
  const int x = FloorDiv(windowX, layout.scale);
  const int y = FloorDiv(windowY, layout.scale);
  if (layout.dialog && layout.dialog->Contains(x, y)) return Region::Dialog;
  if (layout.panel.Contains(x, y)) return Region::Panel;
  if (layout.field.Contains(x, y)) return Region::Field;
  return Region::None;
}

Pixels Compose(const Layout& layout, const Pixels* panel, const Pixels& field,
               const Pixels* dialog) {
  Pixels frame;
  frame.width = layout.WindowWidth();
  frame.height = layout.WindowHeight();
  frame.rgb.assign(static_cast<size_t>(frame.width) * frame.height, kBackground);
  if (panel != nullptr) Put(frame, layout.panel, *panel, layout.scale);
  Put(frame, layout.field, field, layout.scale);
  if (dialog != nullptr && layout.dialog) Put(frame, *layout.dialog, *dialog, layout.scale);
  return frame;
}

}  // namespace sim::play
