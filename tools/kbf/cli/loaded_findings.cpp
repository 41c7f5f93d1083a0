// Findings on the keyboard as the system holds it, asked of the system's own
// drawing, hit testing and modifier rules rather than a second reading of them.
#include <algorithm>
#include <map>
#include <set>

#include <windows.h>

#include "input/hit_test.h"
#include "input/key_types.h"
#include "input/keyboard_switch.h"
#include "input/modifier_state.h"
#include "input/shift_state.h"
#include "language/kbf_map.h"
#include "language/language_texts.h"
#include "layout/keyboard_memory.h"
#include "layout/records.h"
#include "render/key_glyph.h"
#include "render/key_label.h"
#include "tools/kbf/cli/check_findings.h"
#include "tools/kbf/coverage/tap_graph.h"
#include "wince/host/device.h"
#include "wince/host/message_box.h"
#include "wince/host/text.h"

namespace kbf {

namespace fs = std::filesystem;

namespace {

// The latched states a label can be drawn in (AltGr never latches with Caps).
constexpr WORD kLabelStates[] = {0,       tapora::SS_SHIFT, tapora::SS_CAPS, tapora::SS_CAPS | tapora::SS_SHIFT,
                                 tapora::SS_ALTGR, tapora::SS_ALTGR | tapora::SS_SHIFT};

struct LoadedKey {
  LONG panel;
  LONG index;
  RECT rect;  // window client pixels
  BYTE record[tapora::KEY_RECORD_SIZE];
};

std::string Text(const WCHAR* text, int n = -1) {
  std::u16string units;
  for (int i = 0; (n < 0 || i < n) && text[i] != 0; ++i) units.push_back(static_cast<char16_t>(text[i]));
  return wince::host::Utf8(units);
}

std::string Name(const LoadedKey& key) {
  WCHAR primary[tapora::LABEL_UNITS];
  WCHAR secondary[tapora::LABEL_UNITS];
  const WORD saved = tapora::ShiftState;
  tapora::ShiftState = 0;
  tapora::PrepareKeyLabels(key.record, primary, secondary);
  tapora::ShiftState = saved;
  std::string name = "panel " + std::to_string(key.panel) + ": key " + std::to_string(key.index);
  if (primary[0] != 0) name += " \"" + Text(primary) + "\"";
  return name + " at (" + std::to_string(key.rect.left) + ", " + std::to_string(key.rect.top) + ")";
}

std::vector<LoadedKey> Keys() {
  std::vector<LoadedKey> keys;
  for (DWORD p = 0;; ++p) {
    const DWORD panel = tapora::PanelHandle(p);
    tapora::PanelPlace place;
    if (panel == 0 || !tapora::ReadPanelPlace(panel, &place)) break;
    tapora::KeyEntry entry;
    for (DWORD k = 0; tapora::ReadKeyEntry(panel, k, &entry); ++k) {
      LoadedKey key{static_cast<LONG>(p), static_cast<LONG>(k), {}, {}};
      if (entry.keyHandle == 0 || !tapora::ReadKeyRecord(entry.keyHandle, key.record)) continue;
      key.rect.left = place.left + entry.x;
      key.rect.top = place.top + entry.y;
      key.rect.right = key.rect.left + tapora::ReadU16(key.record, tapora::KEY_WIDTH);
      key.rect.bottom = key.rect.top + tapora::ReadU16(key.record, tapora::KEY_HEIGHT);
      keys.push_back(key);
    }
  }
  return keys;
}

bool IsGlyph(const WCHAR* text) {
  return std::equal(tapora::GLYPH_PREFIX, tapora::GLYPH_PREFIX + tapora::GLYPH_PREFIX_UNITS, text,
                    [](WCHAR a, WCHAR b) { return a == b; });
}

// Labels that DrawKeyLabel would draw shortened, or whole but spilling over
// the key's edges, in any latched state.
void Labels(const std::vector<LoadedKey>& keys, std::vector<std::string>& findings) {
  HDC dc = CreateCompatibleDC(NULL);
  const WORD saved = tapora::ShiftState;
  for (const LoadedKey& key : keys) {
    const RECT rect = {0, 0, key.rect.right - key.rect.left, key.rect.bottom - key.rect.top};
    if (rect.right == 0 || rect.bottom == 0) continue;
    const BYTE type = tapora::ReadU8(key.record, tapora::KEY_TYPE);
    std::set<std::string> reported;
    for (WORD state : kLabelStates) {
      tapora::ShiftState = state;
      WCHAR primary[tapora::LABEL_UNITS];
      WCHAR secondary[tapora::LABEL_UNITS];
      tapora::PrepareKeyLabels(key.record, primary, secondary);
      const WCHAR* text = tapora::ChooseKeyLabel(primary, secondary, tapora::IsCapsAffectedKeyType(type), type);
      if (text[0] == 0 || IsGlyph(text) || !reported.insert(Text(text)).second) continue;
      const int length = lstrlenW(text);
      const int drawn = tapora::FittedLabelLength(dc, text, &rect);
      SIZE extent = {0, 0};
      GetTextExtentPoint32W(dc, text, drawn, &extent);
      if (drawn < length) {
        findings.push_back(Name(key) + ": label \"" + Text(text) + "\" is shortened to \"" + Text(text, drawn) +
                           "\" on a key " + std::to_string(rect.right) + " pixels wide");
      } else if (extent.cx > rect.right || extent.cy > rect.bottom) {
        findings.push_back(Name(key) + ": label \"" + Text(text) + "\" is " + std::to_string(extent.cx) + "x" +
                           std::to_string(extent.cy) + " pixels on a " + std::to_string(rect.right) + "x" +
                           std::to_string(rect.bottom) + " key and is clipped");
      }
    }
  }
  tapora::ShiftState = saved;
  DeleteDC(dc);
}

// The key a pen-down at (x, y) would take, as the system's hit testing finds
// it; the key's down byte is set back at once.
const LoadedKey* KeyAt(const std::vector<LoadedKey>& keys, LONG x, LONG y) {
  const LONG panel = tapora::HitTestPanels(x, y);
  if (panel < 0 || !tapora::HitTestKeys(panel, x, y, true)) return nullptr;
  const tapora::KeyRef hit = tapora::HitKeyRef;
  tapora::SetKeyDown(tapora::KeyHandleOf(hit), 0);
  for (const LoadedKey& key : keys) {
    if (key.panel == hit.panelIndex && key.index == hit.keyIndex) return &key;
  }
  return nullptr;
}

void Unreachable(const std::vector<LoadedKey>& keys, std::vector<std::string>& findings) {
  for (const LoadedKey& key : keys) {
    if (key.rect.right == key.rect.left || key.rect.bottom == key.rect.top) continue;
    bool hit = false;
    bool inPanel = false;
    std::set<LONG> coveredBy;
    for (LONG y = key.rect.top; y < key.rect.bottom && !hit; ++y) {
      for (LONG x = key.rect.left; x < key.rect.right && !hit; ++x) {
        if (tapora::HitTestPanels(x, y) != key.panel) continue;
        inPanel = true;
        const LoadedKey* found = KeyAt(keys, x, y);
        hit = found == &key;
        if (found != nullptr && !hit) coveredBy.insert(found->index);
      }
    }
    if (hit) continue;
    if (!inPanel) {
      findings.push_back(Name(key) + ": no pen can hit it: it lies outside its panel's hit area");
      continue;
    }
    std::string by;
    for (LONG index : coveredBy) by += (by.empty() ? "" : ", ") + std::to_string(index);
    findings.push_back(Name(key) + ": no pen can hit it: keys earlier in the list cover it (" + by + ")");
  }
}

// States with characters on some key that no key of this keyboard latches.
void Latches(const std::vector<LoadedKey>& keys, std::vector<std::string>& findings) {
  WORD kinds = 0;
  for (const LoadedKey& key : keys) kinds |= tapora::GetModifierKind(key.record);
  const bool caps = kinds & tapora::KIND_CAPS;
  std::map<std::string, std::vector<std::string>> lacking;  // latch -> keys that need it
  for (const LoadedKey& key : keys) {
    if (tapora::GetModifierKind(key.record) != 0) continue;
    const BYTE type = tapora::ReadU8(key.record, tapora::KEY_TYPE);
    const bool capsShifts = caps && tapora::IsCapsAffectedKeyType(type);
    bool shifted = false;
    bool altGr = false;
    if (tapora::IsStateCharKeyType(type)) {
      shifted = tapora::ReadU16(key.record, tapora::KEY_STATE_CHAR_SHIFT) != 0 ||
                tapora::ReadU16(key.record, tapora::KEY_STATE_CHAR_ALTGR_SHIFT) != 0;
      altGr = tapora::ReadU16(key.record, tapora::KEY_STATE_CHAR_ALTGR) != 0 ||
              tapora::ReadU16(key.record, tapora::KEY_STATE_CHAR_ALTGR_SHIFT) != 0;
    } else if (tapora::IsLabelOutputKeyType(type)) {
      shifted = tapora::ReadU8(key.record, tapora::KEY_SHIFT_LABEL) != 0;
    }
    if (shifted && !(kinds & tapora::KIND_SHIFT) && !capsShifts) lacking["Shift"].push_back(Name(key));
    if (altGr && !(kinds & tapora::KIND_ALTGR)) lacking["AltGr"].push_back(Name(key));
  }
  for (const auto& [latch, needing] : lacking) {
    const std::string keys = needing.size() == 1 ? "1 key has " : std::to_string(needing.size()) + " keys have ";
    findings.push_back(keys + latch + " characters but no key latches " + latch + " (first: " + needing.front() + ")");
  }
}

bool ExistsIgnoringCase(fs::path at, const std::string& devicePath) {
  size_t from = 0;
  while (from <= devicePath.size()) {
    const size_t to = std::min(devicePath.find('\\', from), devicePath.size());
    const std::string part = devicePath.substr(from, to - from);
    if (!part.empty()) {
      at = coverage::EntryNamed(at, part);
      if (at.empty()) return false;
    }
    from = to + 1;
  }
  return fs::is_regular_file(at);
}

// Where a mapped switch "{n}" leads, read by the system's own reader from the
// tree's KBF.txt placed in the scratch device; "" after a message.
std::string MappedTarget(const fs::path& tree, int n, std::string& message) {
  const fs::path base = wince::host::DeviceFolder() / "Program Files" / "Tapora SIP";
  std::error_code ec;
  fs::create_directories(base, ec);
  if (const fs::path map = coverage::EntryNamed(tree, "KBF.txt"); !map.empty()) {
    fs::copy_file(map, base / "KBF.txt", ec);
  }
  wince::host::ClearMessageBoxes();
  WCHAR path[tapora::PATH_UNITS] = {};
  tapora::ReadKbfMapEntry(path, tapora::BASE_FOLDER, n);
  if (!wince::host::MessageBoxes().empty()) message = wince::host::Utf8(wince::host::MessageBoxes().back().text);
  wince::host::ClearMessageBoxes();
  return Text(path);
}

void Switches(const std::vector<LoadedKey>& keys, const fs::path& folder, const fs::path& tree,
              std::vector<std::string>& findings) {
  std::set<std::string> seen;
  const std::string root = Text(tapora::BASE_FOLDER) + "\\";
  for (const LoadedKey& key : keys) {
    WCHAR output[tapora::KEY_OUTPUT_WIDTH / 2 + 1];
    tapora::ReadUtf16Field(key.record + tapora::KEY_OUTPUT, tapora::KEY_OUTPUT_WIDTH, output,
                           tapora::KEY_OUTPUT_WIDTH / 2 + 1);
    if (!tapora::IsKeyboardSwitch(output)) continue;
    const std::string argument = Text(output + 10);
    if (!seen.insert(argument).second) continue;
    std::string problem;
    if (argument.starts_with("{")) {
      const int n = std::atoi(argument.c_str() + 1);
      std::string message;
      const std::string target = MappedTarget(tree, n, message);
      if (target.empty()) {
        problem = "the tree's KBF.txt has no entry " + std::to_string(n) + (message.empty() ? "" : " (\"" + message + "\")");
      } else if (!coverage::Lower(target).starts_with(coverage::Lower(root))) {
        problem = "entry " + std::to_string(n) + " is " + target + ", outside the language tree";
      } else if (!ExistsIgnoringCase(tree, target.substr(root.size()))) {
        problem = "entry " + std::to_string(n) + " is " + target + ", which is not in the tree";
      }
    } else {
      const std::string name = argument.substr(0, argument.find(']'));
      if (!ExistsIgnoringCase(folder, name)) problem = name + " is not in the keyboard's language folder";
    }
    if (!problem.empty()) findings.push_back(Name(key) + ": switch \"" + Text(output) + "\": " + problem);
  }
}

}  // namespace

std::vector<std::string> LoadedKeyboardFindings(const fs::path& folder, const std::optional<fs::path>& tree) {
  const std::vector<LoadedKey> keys = Keys();
  std::vector<std::string> findings;
  Labels(keys, findings);
  Unreachable(keys, findings);
  Latches(keys, findings);
  if (tree) Switches(keys, folder, *tree, findings);
  return findings;
}

}  // namespace kbf
