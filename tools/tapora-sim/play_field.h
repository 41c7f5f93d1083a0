// The focused application's text field as `tapora-sim play` shows it beside
// the keyboard: a white box with the text in the host's system font, lines
// wrapped at the box's edge, and a caret. When the text is taller than the
// box, the rows around the caret are shown.
#pragma once

#include "tools/tapora-sim/play_frame.h"
#include "tools/tapora-sim/text_field.h"

namespace sim::play {

// Drawn with the host's GDI into a picture of width by height.
Pixels DrawTextField(const TextField& field, int width, int height);

}  // namespace sim::play
