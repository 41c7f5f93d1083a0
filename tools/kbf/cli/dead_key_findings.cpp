// An incomplete set of accents: a dead-key table that misses a base letter
// which another of its tables, or another dead key, composes.
#include <map>
#include <set>

#include "tools/kbf/cli/check_findings.h"
#include "tools/kbf/source/fields.h"
#include "tools/kbf/writer/text.h"

namespace kbf {

namespace {

constexpr size_t kSlots = 12;

std::string StateName(uint8_t bit) {
  for (const source::StateName& s : source::kStates) {
    if (s.bit == bit) return std::string(s.name);
  }
  return std::to_string(bit);
}

std::string Quoted(const std::set<char16_t>& units) {
  std::string text;
  for (char16_t unit : units) {
    if (!text.empty()) text += ", ";
    text += "'" + Utf8FromUtf16(std::u16string(1, unit)) + "'";
  }
  return text;
}

}  // namespace

std::vector<std::string> DeadKeyFindings(const Keyboard& keyboard) {
  // (dead key, state) -> its bases, from the slots the tables were written to.
  std::map<std::pair<std::string, uint8_t>, std::set<char16_t>> tables;
  std::map<std::string, size_t> slotsUsed;
  for (const auto& [name, key] : keyboard.keys) {
    if (key.keyType != 19) continue;
    size_t slot = 0;
    for (; slot < kSlots; ++slot) {
      const auto base = static_cast<char16_t>(key.output[2 * slot] | (key.output[2 * slot + 1] << 8));
      if (base == 0) break;
      tables[{name, static_cast<uint8_t>(key.shiftLabel[slot] >> 4)}].insert(base);
    }
    slotsUsed[name] = slot;
  }
  std::set<char16_t> composed;
  for (const auto& [table, bases] : tables) composed.insert(bases.begin(), bases.end());

  std::vector<std::string> findings;
  for (const auto& [table, bases] : tables) {
    std::set<char16_t> missing;
    for (char16_t base : composed) {
      if (!bases.contains(base)) missing.insert(base);
    }
    if (missing.empty()) continue;
    const auto& [name, state] = table;
    findings.push_back("dead key " + name + " (" + StateName(state) + ") composes " + Quoted(bases) +
                       " but not " + Quoted(missing) + ", which other dead-key tables compose (" +
                       std::to_string(slotsUsed[name]) + " of " + std::to_string(kSlots) +
                       " slots used)");
  }
  return findings;
}

}  // namespace kbf
