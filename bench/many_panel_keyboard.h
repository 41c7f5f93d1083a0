// The largest keyboard the loader takes: 301 panels of 4 keys each, the keys
// sharing four key files. Used by the load benchmarks.
#pragma once

#include <cstdint>
#include <cstdio>

#include "tools/kbf/writer/kbf_writer.h"

namespace bench {

inline kbf::Keyboard ManyPanelKeyboard() {
  kbf::Keyboard keyboard;
  for (int p = 0; p < 301; ++p) {
    kbf::Panel& panel = kbf::AddPanelOfRows(keyboard, 0, 0, 100, 20, {});
    for (int k = 0; k < 4; ++k) {
      char name[16];
      std::snprintf(name, sizeof name, "K%d.KEY", k);
      if (!keyboard.keys.contains(name)) {
        kbf::AddKey(keyboard, kbf::MakeKey(25, 20, 1, u"k", u"k"), name);
      }
      panel.placements.push_back({name, static_cast<uint16_t>(25 * k), 0});
    }
  }
  return keyboard;
}

}  // namespace bench
