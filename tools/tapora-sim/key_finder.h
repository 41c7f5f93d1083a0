// Finding a key by the label the panel shows now, for the script's `press`.
// The input method keeps its keyboard to itself, so the stand-in works out
// which keyboard and which latched modifiers the panel shows by drawing the
// device's keyboards itself, with the system's own painting, under every
// modifier state until one matches the panel's pixels; the labels follow.
#pragma once

#include <string>

#include <windows.h>

namespace sim {

// The middle of the first key, in panel and key order, whose label as the
// panel draws it is `label` (for a glyph key, its label or the glyph's name:
// "U", "D", "L", "R", or "M" for the bar),
// in the panel's client pixels. False, with the reason, when the panel's
// picture matches no keyboard of the device or no key has that label.
bool FindKeyByLabel(HWND panel, const std::u16string& label, POINT* middle, std::string* problem);

}  // namespace sim
