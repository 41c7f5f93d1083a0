// Argument handling of `kbf render`.
#include "tools/kbf/render/render_command.h"

#include <iostream>
#include <sstream>

namespace kbf {

namespace {

constexpr int MAX_SCALE = 16;

struct StateName {
  const char* name;
  uint16_t bit;
};
// ShiftState bits, as the modifier keys latch them.
const StateName STATE_NAMES[] = {
    {"shift", 0x0002}, {"ctrl", 0x0004}, {"alt", 0x0008}, {"altgr", 0x0010}, {"caps", 0x0100}};

bool AddStates(const std::string& list, uint16_t* state, std::string* error) {
  std::stringstream words(list);
  std::string word;
  bool any = false;
  while (std::getline(words, word, ',')) {
    if (word.empty()) continue;
    bool known = false;
    for (const StateName& s : STATE_NAMES) {
      if (word == s.name) {
        *state |= s.bit;
        known = true;
      }
    }
    if (!known) {
      *error = "unknown state \"" + word + "\" (use shift, caps, altgr, alt, ctrl)";
      return false;
    }
    any = true;
  }
  if (!any) *error = "--state needs a list such as shift,caps";
  return any;
}

bool ParseScale(const std::string& text, int* scale, std::string* error) {
  int value = 0;
  for (char c : text) {
    if (c < '0' || c > '9' || value > MAX_SCALE) {
      value = 0;
      break;
    }
    value = value * 10 + (c - '0');
  }
  if (value < 1 || value > MAX_SCALE) {
    *error = "--scale takes a whole number from 1 to " + std::to_string(MAX_SCALE);
    return false;
  }
  *scale = value;
  return true;
}

}  // namespace

const char* RenderUsage() {
  return "usage: kbf render KEYBOARD -o FILE.png [--state LIST] [--scale N] [--stock DLL]\n"
         "  KEYBOARD     a .kbf container, a folder of loose files or its PNL00001.PNL\n"
         "  -o FILE.png  the picture to write, the input panel window's size times N\n"
         "  --state LIST modifiers to show latched, comma-separated: shift, caps, altgr,\n"
         "               alt, ctrl (modifier keys then show down as after a tap)\n"
         "  --scale N    enlarge every pixel to N x N (1 to 16; default 1)\n"
         "  --stock DLL  the stock-face library to draw stock keys with (default: the\n"
         "               build's device folder's \\Windows\\STOCK.DLL)\n";
}

bool ParseRenderArguments(const std::vector<std::string>& args, RenderArguments* parsed,
                          std::string* error) {
  *parsed = RenderArguments{};
  parsed->picture.stockLibrary = DefaultStockLibrary();
  bool haveKeyboard = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    const bool hasValue = i + 1 < args.size();
    if (arg == "-o" || arg == "--output" || arg == "--state" || arg == "--scale" ||
        arg == "--stock") {
      if (!hasValue) {
        *error = arg + " needs a value";
        return false;
      }
      const std::string& value = args[++i];
      if (arg == "-o" || arg == "--output") {
        parsed->output = value;
      } else if (arg == "--state") {
        if (!AddStates(value, &parsed->picture.shiftState, error)) return false;
        parsed->picture.showState = true;
      } else if (arg == "--scale") {
        if (!ParseScale(value, &parsed->scale, error)) return false;
      } else {
        parsed->picture.stockLibrary = value;
      }
    } else if (!arg.empty() && arg[0] == '-') {
      *error = "unknown option " + arg;
      return false;
    } else if (haveKeyboard) {
      *error = "more than one keyboard given";
      return false;
    } else {
      parsed->picture.keyboard = arg;
      haveKeyboard = true;
    }
  }
  if (!haveKeyboard) {
    *error = "no keyboard given";
    return false;
  }
  if (parsed->output.empty()) {
    *error = "no output file given (-o FILE.png)";
    return false;
  }
  return true;
}

int RunRenderCommand(const std::vector<std::string>& args) {
  if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
    std::cout << RenderUsage();
    return 0;
  }
  RenderArguments parsed;
  std::string error;
  if (!ParseRenderArguments(args, &parsed, &error)) {
    std::cerr << "kbf render: " << error << "\n" << RenderUsage();
    return 2;
  }
  std::error_code ec;
  if (!std::filesystem::is_regular_file(parsed.picture.stockLibrary, ec)) {
    std::cerr << "kbf render: no stock library at " << parsed.picture.stockLibrary.string()
              << "; stock keys show no face\n";
  }
  Picture picture;
  if (!DrawKeyboardPicture(parsed.picture, &picture, &error)) {
    std::cerr << error << "\n";
    return 1;
  }
  const Picture big = Enlarge(picture, parsed.scale);
  if (!SavePicturePng(big, parsed.output, &error)) {
    std::cerr << "kbf render: " << error << "\n";
    return 1;
  }
  std::cout << "wrote " << parsed.output.string() << " (" << big.width << "x" << big.height
            << ")\n";
  return 0;
}

}  // namespace kbf
