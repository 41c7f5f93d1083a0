// Dead-key composition tables: from readable tables to the units and codes
// that the system looks up.
//
// How the system finds a composition: the dead key's `output` units 0..11 are
// base characters, and `shiftLabel` byte i is the code of slot i (high nibble
// the state the dead key was tapped in, low nibble an index). The partner key
// typed next is matched by its plain character (label unit 0), or by its
// AltGr character (label unit 3) when typed with AltGr; the composed
// character is its `output` unit index, or unit index + 1 when typed shifted.
// So one composition takes two units of every partner's `output`, and all
// keys with the same base share the slot's index.
#include <set>
#include <stdexcept>

#include "tools/kbf/writer/keyboard.h"
#include "tools/kbf/writer/text.h"

namespace kbf {

namespace {

constexpr size_t kSlots = 12;
constexpr size_t kMaxIndex = 14;  // index + 1 must stay inside the 16 units

char16_t OutputUnit(const KeyRecord& key, size_t i) {
  return static_cast<char16_t>(key.output[2 * i] | (key.output[2 * i + 1] << 8));
}

void SetOutputUnit(KeyRecord& key, size_t i, char16_t unit) {
  key.output[2 * i] = static_cast<uint8_t>(unit);
  key.output[2 * i + 1] = static_cast<uint8_t>(unit >> 8);
}

bool OutputEmpty(const KeyRecord& key) {
  for (uint8_t b : key.output) {
    if (b != 0) return false;
  }
  return true;
}

const char* StateName(uint8_t state) {
  switch (state) {
    case kStatePlain: return "plain";
    case kStateShift: return "shift";
    case kStateAltGr: return "altgr";
    case kStateAltGrShift: return "altgr-shift";
    default: return "?";
  }
}

// Keys that a tap would look up with this base: character keys whose typed
// character it is. Dead keys never take part (a second dead key ends the
// wait without a lookup), nor do keys of other types, whose label unit 0 is
// not a character they type.
}  // namespace

std::vector<std::string> CompositionPartners(const Keyboard& keyboard, char16_t base) {
  std::vector<std::string> partners;
  for (const auto& [name, key] : keyboard.keys) {
    const bool stateChars = key.keyType == 17 || key.keyType == 49;
    const bool labelChar = key.keyType == 1 || key.keyType == 33;
    if ((stateChars || labelChar) && key.StateChar(KeyState::Plain) == base) {
      partners.push_back(name);
    } else if (stateChars && key.StateChar(KeyState::AltGr) == base) {
      partners.push_back(name);
    }
  }
  return partners;
}

void ApplyDeadKeys(Keyboard& target,
                   const std::map<std::string, std::vector<DeadKeyTable>>& tablesByKey) {
  // Work on a copy so that a refused table leaves the keyboard as it was.
  Keyboard keyboard = target;
  // Outputs as the author gave them; units this pass writes do not count.
  std::set<std::string> inUse;
  for (const auto& [name, key] : keyboard.keys) {
    if (!OutputEmpty(key)) inUse.insert(name);
  }

  for (const auto& [deadName, tables] : tablesByKey) {
    auto dead = keyboard.keys.find(deadName);
    if (dead == keyboard.keys.end()) {
      throw std::invalid_argument("dead key " + deadName + ": no such key");
    }
    if (dead->second.keyType != 19) {
      throw std::invalid_argument("dead key " + deadName + ": has type " +
                                  std::to_string(dead->second.keyType) + "; dead keys are of type 19");
    }
    if (inUse.contains(deadName)) {
      throw std::invalid_argument("dead key " + deadName +
                                  ": its output holds the composition table and must not be given");
    }

    size_t slots = 0;
    std::set<std::pair<uint8_t, char16_t>> seen;
    for (const DeadKeyTable& table : tables) {
      if (table.state != kStatePlain && table.state != kStateShift && table.state != kStateAltGr &&
          table.state != kStateAltGrShift) {
        throw std::invalid_argument("dead key " + deadName + ": state " + std::to_string(table.state) +
                                    " is not one of plain, shift, altgr, altgr-shift");
      }
      dead->second.SetDeadKeyStates(static_cast<uint8_t>(dead->second.DeadKeyStates() | table.state));
      const std::string where = "dead key " + deadName + " (" + StateName(table.state) + ")";

      for (const Composition& c : table.compositions) {
        if (c.base == 0) throw std::invalid_argument(where + ": a base character cannot be 0");
        if (!seen.insert({table.state, c.base}).second) {
          throw std::invalid_argument(where + ": base " + DescribeUnit(c.base) + " is given twice");
        }
        if (slots == kSlots) {
          throw std::invalid_argument(where + ": more than 12 compositions on one dead key");
        }
        const std::vector<std::string> partners = CompositionPartners(keyboard, c.base);
        if (partners.empty()) {
          throw std::invalid_argument(where + ": no character key types the base " + DescribeUnit(c.base));
        }
        for (const std::string& p : partners) {
          if (inUse.contains(p)) {
            throw std::invalid_argument(where + ": partner key " + p + " of base " + DescribeUnit(c.base) +
                                        " has an output of its own, which the composition would overwrite");
          }
        }

        size_t index = 0;
        for (; index <= kMaxIndex; ++index) {
          bool fits = true;
          for (const std::string& p : partners) {
            const KeyRecord& key = keyboard.keys.at(p);
            const char16_t u0 = OutputUnit(key, index);
            const char16_t u1 = OutputUnit(key, index + 1);
            if ((u0 != 0 && u0 != c.composed) || (u1 != 0 && u1 != c.shifted)) {
              fits = false;
              break;
            }
          }
          if (fits) break;
        }
        if (index > kMaxIndex) {
          std::string names;
          for (const std::string& p : partners) names += (names.empty() ? "" : ", ") + p;
          throw std::invalid_argument(where + ": base " + DescribeUnit(c.base) +
                                      " finds no free pair of output units on partner key(s) " + names +
                                      ": the index would pass 15");
        }
        for (const std::string& p : partners) {
          KeyRecord& key = keyboard.keys.at(p);
          SetOutputUnit(key, index, c.composed);
          SetOutputUnit(key, index + 1, c.shifted);
        }

        SetOutputUnit(dead->second, slots, c.base);
        dead->second.shiftLabel[slots] = static_cast<uint8_t>((table.state << 4) | index);
        ++slots;
      }
    }
  }
  target = std::move(keyboard);
}

}  // namespace kbf
