// `kbf check`: the keyboard loaded by the system's own loader, then what an
// author should know about it that the loader does not refuse.
#include <algorithm>
#include <cctype>
#include <filesystem>
#include <set>

#include "tools/kbf/cli/check_findings.h"
#include "tools/kbf/cli/commands.h"
#include "tools/kbf/cli/system_load.h"
#include "tools/kbf/writer/kbf_writer.h"

namespace kbf {

namespace fs = std::filesystem;

namespace {

std::string Upper(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

std::string At(uint16_t x, uint16_t y) { return "(" + std::to_string(x) + ", " + std::to_string(y) + ")"; }

std::string PanelName(const Keyboard& keyboard, size_t i) {
  return "panel " + std::to_string(i) + " (" + PanelFileName(keyboard, i) + ")";
}

void Placements(const Keyboard& keyboard, std::vector<std::string>& findings) {
  for (size_t i = 0; i < keyboard.panels.size(); ++i) {
    const Panel& panel = keyboard.panels[i];
    const auto& places = panel.placements;
    for (size_t a = 0; a < places.size(); ++a) {
      const KeyRecord& ka = keyboard.keys.at(places[a].keyFile);
      const uint32_t right = places[a].x + ka.width;
      const uint32_t bottom = places[a].y + ka.height;
      if (right > panel.record.width || bottom > panel.record.height) {
        findings.push_back(PanelName(keyboard, i) + ": key " + places[a].keyFile + " at " + At(places[a].x, places[a].y) +
                           ", " + std::to_string(ka.width) + "x" + std::to_string(ka.height) +
                           ", reaches outside the panel (" + std::to_string(panel.record.width) + "x" +
                           std::to_string(panel.record.height) + ")");
      }
      for (size_t b = a + 1; b < places.size(); ++b) {
        const KeyRecord& kb = keyboard.keys.at(places[b].keyFile);
        const bool overlap = places[a].x < places[b].x + kb.width && places[b].x < right &&
                             places[a].y < places[b].y + kb.height && places[b].y < bottom &&
                             ka.width && ka.height && kb.width && kb.height;
        if (overlap) {
          findings.push_back(PanelName(keyboard, i) + ": keys " + places[a].keyFile + " at " +
                             At(places[a].x, places[a].y) + " and " + places[b].keyFile + " at " +
                             At(places[b].x, places[b].y) + " overlap");
        }
      }
    }
  }
}

void Records(const Keyboard& keyboard, std::vector<std::string>& findings) {
  for (size_t i = 0; i < keyboard.panels.size(); ++i) {
    const Panel& panel = keyboard.panels[i];
    if (panel.fileName.size() >= kNameSize) {
      findings.push_back("panel-set file: the name of panel " + std::to_string(i) + " has no NUL in its 13 bytes");
    }
    if (std::find(panel.record.keyListName.begin(), panel.record.keyListName.end(), 0) ==
        panel.record.keyListName.end()) {
      findings.push_back(PanelName(keyboard, i) + ": keyListName has no NUL in its 13 bytes");
    }
    if (panel.record.keyCount != 0) {
      findings.push_back(PanelName(keyboard, i) + ": stored keyCount is " + std::to_string(panel.record.keyCount) +
                         ", not 0");
    }
  }
  for (const auto& [name, key] : keyboard.keys) {
    if (name.size() >= kNameSize) findings.push_back("key file name " + name + " has no NUL in its 13 bytes");
    const std::pair<const char*, uint8_t> colours[] = {{"faceColour", key.faceColour},
                                                        {"textColour", key.textColour},
                                                        {"lightEdgeColour", key.lightEdgeColour},
                                                        {"shadowEdgeColour", key.shadowEdgeColour}};
    for (const auto& [field, value] : colours) {
      if (value > 15) {
        findings.push_back("key " + name + ": " + field + " " + std::to_string(value) +
                           " is over 15 and draws black");
      }
    }
  }
}

std::set<std::string> Referenced(const Keyboard& keyboard) {
  std::set<std::string> names = {std::string(kPanelSetName)};
  for (size_t i = 0; i < keyboard.panels.size(); ++i) {
    names.insert(Upper(PanelFileName(keyboard, i)));
    names.insert(Upper(KeyListFileName(keyboard, i)));
  }
  for (const auto& [name, key] : keyboard.keys) names.insert(Upper(name));
  return names;
}

void MemberFindings(const fs::path& path, const Keyboard& keyboard, std::vector<std::string>& findings) {
  const std::set<std::string> referenced = Referenced(keyboard);
  std::error_code ec;
  if (fs::is_regular_file(path, ec) && Upper(path.filename().string()) != kPanelSetName) {
    const std::vector<uint8_t> file = ReadFileBytes(path);
    const ContainerView view = ParseContainer(file);
    std::set<std::string> seen;
    for (size_t i = 0; i < view.entries.size(); ++i) {
      const NameField& field = view.entries[i].memberName;
      const std::string name = NameText(field);
      if (std::find(field.begin(), field.end(), 0) == field.end()) {
        findings.push_back("container entry " + std::to_string(i) + " (" + name + "): name has no NUL in its 13 bytes");
      }
      if (!seen.insert(Upper(name)).second) {
        findings.push_back("container entry " + std::to_string(i) + " (" + name +
                           ") repeats an earlier name and is never read");
      } else if (!referenced.contains(Upper(name))) {
        findings.push_back("container member " + name + " is not referenced by the keyboard");
      }
    }
    return;
  }
  const fs::path folder = fs::is_directory(path, ec) ? path : path.parent_path();
  std::vector<std::string> unused;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder, ec)) {
    const std::string name = entry.path().filename().string();
    if (entry.is_regular_file(ec) && !referenced.contains(Upper(name))) unused.push_back(name);
  }
  std::sort(unused.begin(), unused.end());
  for (const std::string& name : unused) findings.push_back("file " + name + " in the folder is not referenced by the keyboard");
}

}  // namespace

std::vector<std::string> KeyboardFindings(const std::string& path) {
  const Keyboard keyboard = ReadKeyboardAt(path);
  std::vector<std::string> findings;
  Placements(keyboard, findings);
  Records(keyboard, findings);
  MemberFindings(path, keyboard, findings);
  for (std::string& finding : DeadKeyFindings(keyboard)) findings.push_back(std::move(finding));
  return findings;
}

int RunCheck(const std::string& keyboard, std::ostream& out, std::ostream& err, const std::string& tree) {
  std::error_code ec;
  const fs::path path(keyboard);
  // A missing container still has its folder: the device falls back to the
  // loose family there.
  if (!fs::exists(path, ec) && !fs::is_directory(path.has_parent_path() ? path.parent_path() : ".", ec)) {
    err << "kbf check: " << keyboard << ": no such file or folder\n";
    return 1;
  }
  if (!tree.empty() && !fs::is_directory(tree, ec)) {
    err << "kbf check: " << tree << ": no such folder\n";
    return 1;
  }
  const fs::path folder = fs::is_directory(path, ec) ? path : (path.has_parent_path() ? path.parent_path() : ".");
  std::vector<std::string> loadedFindings;
  const SystemLoad load = LoadWithSystem(keyboard, [&] {
    loadedFindings = LoadedKeyboardFindings(folder, tree.empty() ? std::nullopt : std::optional<fs::path>(tree));
  });
  if (load.ok) {
    out << "ok: " << load.width << "x" << load.height << " window, " << load.panels.size() << " panels, "
        << load.KeyCount() << " keys"
        << (load.looseSetLoaded ? " (loaded the loose PNL00001.PNL beside it)" : "") << "\n";
    for (const std::string& message : load.messages) out << "warning: the load showed: " << message << "\n";
  } else if (load.messages.empty()) {
    out << "the keyboard did not load, and no message was shown\n";
  } else {
    out << load.messages.back() << "\n";
  }
  // When the files cannot be followed, saying where they break is the
  // finding; the system's message names only the step its last attempt was in.
  try {
    // After the fallback, the loose family is what the device would show.
    const std::string checked =
        load.looseSetLoaded ? (path.parent_path() / "PNL00001.PNL").string() : keyboard;
    for (const std::string& finding : KeyboardFindings(checked)) out << "warning: " << finding << "\n";
  } catch (const std::exception& e) {
    out << "warning: " << e.what() << "\n";
  }
  for (const std::string& finding : loadedFindings) out << "warning: " << finding << "\n";
  return load.ok ? 0 : 1;
}

}  // namespace kbf
