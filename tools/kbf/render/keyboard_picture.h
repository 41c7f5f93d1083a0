// Pictures of a keyboard as the device shows it: the keyboard is loaded by the
// system's own loader into a private device folder and drawn by the system's
// own painting into a surface of the input panel window's size, on the
// window's light grey class background.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace kbf {

struct PictureOptions {
  // A ".kbf" container, a folder of loose files, or its "PNL00001.PNL".
  std::filesystem::path keyboard;
  // ShiftState bits to show latched (0x0002 Shift, 0x0004 Ctrl, 0x0008 Alt,
  // 0x0010 AltGr, 0x0100 Caps Lock).
  uint16_t shiftState = 0;
  // When set, modifier keys are drawn as a redraw after a tap draws them,
  // following shiftState; otherwise as the first paint after loading, each
  // key as its file stores its down byte.
  bool showState = false;
  // The stock-face library put beside the input method; empty or missing
  // means stock keys show no face, as on a device without it.
  std::filesystem::path stockLibrary;
};

struct Picture {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;  // 0x00BBGGRR, row by row from the top
};

// The STOCK.DLL that the build installs in its device folder.
std::filesystem::path DefaultStockLibrary();

// Draws the keyboard. False with the loader's message (or what else went
// wrong) in *error.
bool DrawKeyboardPicture(const PictureOptions& options, Picture* picture, std::string* error);

// Each pixel as a scale x scale block.
Picture Enlarge(const Picture& picture, int scale);

// Writes an 8-bit RGB PNG. False with a reason in *error.
bool SavePicturePng(const Picture& picture, const std::filesystem::path& file,
                    std::string* error);

}  // namespace kbf
