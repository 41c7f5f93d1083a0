// A small language tree for the coverage and typing tests, built from YAML
// with kbf build: the language "Lang" with main.kbf (the default) and
// s.kbf, and KBF.txt in the base folder.
//
// main.kbf, keys 20 pixels square:
//   row 1: a/A  e/E/€  ´(dead: e -> é, É)  Shift  Caps  AltGr
//   row 2: Ctrl  Bk([Back])  123(switch to s.kbf)  space
// s.kbf: 1/! (no Shift key on it), abc (back through KBF.txt entry 1), and
//   2 under the 1, where no pen reaches it
#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "tests/kbf/temp_folder.h"
#include "tools/kbf/cli/commands.h"

namespace kbf_test {

inline constexpr const char* kMainKeyboard = R"(panels:
  - place: [0, 0]
    size: [238, 80]
    defaults: {size: [20, 20], type: 49}
    rows:
      - - {chars: {plain: a, shift: A}}
        - {chars: {plain: e, shift: E, altgr: "€"}}
        - type: 19
          chars: {plain: "´"}
          dead:
            plain: {e: [é, É]}
        - {type: 18, label: Shift, output: "[Shift-Down]"}
        - {type: 18, label: Caps, output: "[Caps]"}
        - {type: 18, label: AltGr, output: "[AltGr-Down]"}
      - - {type: 18, label: Ctrl, output: "[Ctrl-Down]"}
        - {type: 18, label: Bk, output: "[Back]"}
        - {type: 18, label: "123", output: "[CMD:NKBF=s.kbf]"}
        - {type: 5, label: "{NQXM}", output: " "}
)";

inline constexpr const char* kSymbolKeyboard = R"(panels:
  - place: [0, 0]
    size: [238, 80]
    defaults: {size: [20, 20], type: 1}
    rows:
      - - {label: "1", shiftLabel: "!"}
        - {type: 18, label: abc, output: "[CMD:NKBF={1}]"}
    keys:
      - {at: [0, 0], size: [20, 20], label: "2"}
)";

inline void WriteText(const std::filesystem::path& file, const std::string& text) {
  std::filesystem::create_directories(file.parent_path());
  std::ofstream(file, std::ios::binary) << text;
}

// Builds the tree under `folder`/Base and returns the language folder.
inline std::filesystem::path BuildCoverageTree(const TempFolder& folder) {
  const std::filesystem::path base = folder.path() / "Base";
  const std::filesystem::path language = base / "Lang";
  WriteText(folder.path() / "main.yaml", kMainKeyboard);
  WriteText(folder.path() / "s.yaml", kSymbolKeyboard);
  std::filesystem::create_directories(language);
  std::ostringstream out, err;
  EXPECT_EQ(kbf::RunKbf({"build", folder / "main.yaml", "-o", (language / "main.kbf").string()}, out, err), 0)
      << err.str();
  EXPECT_EQ(kbf::RunKbf({"build", folder / "s.yaml", "-o", (language / "s.kbf").string()}, out, err), 0)
      << err.str();
  WriteText(language / "info", "main.kbf");
  WriteText(base / "info", "Lang");
  WriteText(base / "KBF.txt", "1 \\Program Files\\Tapora SIP\\Lang\\main.kbf\r\n");
  return language;
}

}  // namespace kbf_test
