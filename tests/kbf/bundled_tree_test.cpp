// The whole bundled language tree: every layout loads with the system's
// loader into a 240 x 80 window with no findings and reached the device
// folder unchanged; the "info" files and KBF.txt name layouts that exist;
// every keyboard-file command reaches the layout it means; and a few taps on
// each layout type what its keys show, dead keys and AltGr included.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <map>
#include <set>

#include <windows.h>

#include "input/dead_keys.h"
#include "input/modifier_state.h"
#include "input/output_selection.h"
#include "input/shift_state.h"
#include "tests/kbf/temp_folder.h"
#include "tools/kbf/cli/commands.h"
#include "tools/kbf/cli/system_load.h"
#include "tools/kbf/source/source.h"
#include "tools/kbf/writer/kbf_writer.h"

namespace {

namespace fs = std::filesystem;

const fs::path kTree = KBF_BUNDLED_SOURCES;

// Language folder and layout file, as the device holds them.
struct Layout {
  const char* language;
  const char* file;
};

const Layout LAYOUTS[] = {
    {"Keyboard", "keyboard.kbf"},
    {"Keyboard", "sy.kbf"},
    {"German", "qwertz.kbf"},
    {"French", "azerty.kbf"},
};

fs::path SourceOf(const std::string& language, const std::string& file) {
  return kTree / language / (fs::path(file).stem().string() + ".yaml");
}

std::string FileText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// KBF.txt's lines without their CR LF; a line that lacks one fails the test.
std::vector<std::string> MapLines() {
  const std::string text = FileText(kTree / "KBF.txt");
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    const size_t end = text.find("\r\n", start);
    if (end == std::string::npos) {
      ADD_FAILURE() << "KBF.txt: the last line has no CR LF";
      break;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

// The language folder and file that a KBF.txt path names below the fixed root.
std::pair<std::string, std::string> MapTarget(const std::string& path) {
  const std::string root = "\\Program Files\\Tapora SIP\\";
  if (path.rfind(root, 0) != 0) return {};
  const std::string rest = path.substr(root.size());
  const size_t slash = rest.find('\\');
  if (slash == std::string::npos) return {"", rest};
  return {rest.substr(0, slash), rest.substr(slash + 1)};
}

TEST(BundledTree, HoldsExactlyTheListedLayouts) {
  std::set<fs::path> sources;
  for (const auto& entry : fs::recursive_directory_iterator(kTree)) {
    if (entry.path().extension() == ".yaml") sources.insert(entry.path());
  }
  std::set<fs::path> listed;
  for (const Layout& layout : LAYOUTS) listed.insert(SourceOf(layout.language, layout.file));
  EXPECT_EQ(sources, listed);
}

TEST(BundledTree, EveryLayoutLoadsWithNoFindingsAndCoversItsPanel) {
  for (const Layout& layout : LAYOUTS) {
    SCOPED_TRACE(std::string(layout.language) + "/" + layout.file);
    kbf_test::TempFolder folder;
    const kbf::Keyboard keyboard = kbf::LoadSourceFile(SourceOf(layout.language, layout.file));
    const std::string file = folder / layout.file;
    kbf::WriteFileBytes(file, kbf::WriteContainer(kbf::Members(keyboard)));

    const kbf::SystemLoad load = kbf::LoadWithSystem(file);
    ASSERT_TRUE(load.ok) << (load.messages.empty() ? "" : load.messages.back());
    EXPECT_EQ(load.width, 240);
    EXPECT_EQ(load.height, 80);
    EXPECT_TRUE(load.messages.empty());
    EXPECT_EQ(kbf::KeyboardFindings(file), std::vector<std::string>{});

    // No overlaps (no findings) and as much key area as panel area: no gaps.
    ASSERT_EQ(keyboard.panels.size(), 1u);
    uint32_t area = 0;
    for (const kbf::Placement& p : keyboard.panels[0].placements) {
      const kbf::KeyRecord& key = keyboard.keys.at(p.keyFile);
      area += uint32_t{key.width} * key.height;
    }
    EXPECT_EQ(area, 238u * 80u);

#ifdef TAPORA_DEVICE_DIR
    const fs::path built = fs::path(TAPORA_DEVICE_DIR) / "Program Files" / "Tapora SIP" / layout.language / layout.file;
    ASSERT_TRUE(fs::exists(built)) << built;
    EXPECT_EQ(kbf::ReadFileBytes(built), kbf::ReadFileBytes(file));
#endif
  }
}

TEST(BundledTree, InfoFilesAndTheMapNameLayoutsThatExist) {
  // "info" files hold a bare name: the runtime's text streams write no line end.
  EXPECT_EQ(FileText(kTree / "info"), "Keyboard");
  std::set<std::string> languages;
  for (const Layout& layout : LAYOUTS) languages.insert(layout.language);
  for (const std::string& language : languages) {
    SCOPED_TRACE(language);
    const std::string name = FileText(kTree / language / "info");
    EXPECT_EQ(name.find_first_of("\r\n"), std::string::npos);
    EXPECT_TRUE(fs::exists(SourceOf(language, name))) << name;
  }

  const std::vector<std::string> lines = MapLines();
  ASSERT_EQ(lines.size(), std::size(LAYOUTS));
  for (size_t i = 0; i < lines.size(); ++i) {
    SCOPED_TRACE(lines[i]);
    // Lines 1 to 9 are read from their third character on.
    ASSERT_GT(lines[i].size(), 2u);
    EXPECT_EQ(lines[i].substr(0, 2), std::to_string(i + 1) + " ");
    const auto [language, file] = MapTarget(lines[i].substr(2));
    EXPECT_EQ(language, LAYOUTS[i].language);
    EXPECT_EQ(file, LAYOUTS[i].file);
  }

#ifdef TAPORA_DEVICE_DIR
  const fs::path device = fs::path(TAPORA_DEVICE_DIR) / "Program Files" / "Tapora SIP";
  EXPECT_EQ(FileText(device / "KBF.txt"), FileText(kTree / "KBF.txt"));
  EXPECT_EQ(FileText(device / "info"), FileText(kTree / "info"));
  for (const std::string& language : languages) {
    EXPECT_EQ(FileText(device / language / "info"), FileText(kTree / language / "info")) << language;
  }
#endif
}

// The layout a keyboard-file command in `language` loads: "{n}" by line n of
// KBF.txt, a name from the same language folder.
std::string CommandTarget(const std::string& language, const std::u16string& output) {
  const std::u16string argument = output.substr(10);  // after "[CMD:NKBF="
  if (!argument.empty() && argument[0] == u'{') {
    const size_t n = std::stoul(std::string(argument.begin() + 1, argument.end()));
    const std::vector<std::string> lines = MapLines();
    if (n == 0 || n > lines.size()) return "no line " + std::to_string(n);
    const auto [mapLanguage, file] = MapTarget(lines[n - 1].substr(2));
    return mapLanguage + "/" + file;
  }
  const std::u16string name = argument.substr(0, argument.find(u']'));
  // The command holds at most 16 units, so the name is 6 at most.
  EXPECT_LE(name.size(), 6u);
  return language + "/" + std::string(name.begin(), name.end());
}

TEST(BundledTree, KeyboardCommandsReachTheirLayouts) {
  std::map<std::string, std::set<std::string>> reached;
  for (const Layout& layout : LAYOUTS) {
    const kbf::Keyboard keyboard = kbf::LoadSourceFile(SourceOf(layout.language, layout.file));
    for (const auto& [name, key] : keyboard.keys) {
      const std::u16string output = key.OutputText();
      if (output.rfind(u"[CMD:NKBF=", 0) != 0) continue;
      const std::string target = CommandTarget(layout.language, output);
      const size_t slash = target.find('/');
      EXPECT_TRUE(slash != std::string::npos && fs::exists(SourceOf(target.substr(0, slash), target.substr(slash + 1))))
          << layout.file << " " << name << ": " << target;
      reached[std::string(layout.language) + "/" + layout.file].insert(target);
    }
  }
  const std::map<std::string, std::set<std::string>> expected = {
      {"Keyboard/keyboard.kbf", {"Keyboard/sy.kbf"}},
      {"Keyboard/sy.kbf", {"Keyboard/keyboard.kbf"}},
  };
  EXPECT_EQ(reached, expected);
}

// For messages; the layouts use no characters beyond the BMP.
std::string Utf8(const std::u16string& text) {
  std::string out;
  for (const char16_t c : text) {
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

std::vector<std::u16string> Words(const std::u16string& text) {
  std::vector<std::u16string> words;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find(u' ', start);
    if (end == std::u16string::npos) end = text.size();
    if (end > start) words.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return words;
}

// Taps keys as tap handling completes them at pen-up: the modifier state, the
// text chosen for it, the dead-key wait, then the one-shot modifiers used up.
// A key is named by its plain text, or as Shift, AltGr, Caps or space.
class Typist {
 public:
  explicit Typist(const kbf::Keyboard& keyboard) {
    for (const kbf::Placement& p : keyboard.panels.at(0).placements) {
      std::vector<uint8_t> record = keyboard.keys.at(p.keyFile).Encode();
      WCHAR text[tapora::KEY_TEXT_SIZE] = {};
      tapora::ShiftState = 0;
      tapora::SelectKeyOutput(record.data(), text);
      keys_.emplace(std::u16string(text), std::move(record));  // the first of equals wins
    }
    tapora::ResetInputState();
  }
  ~Typist() { tapora::ResetInputState(); }

  std::u16string Type(const std::u16string& taps) {
    static const std::map<std::u16string, std::u16string> NAMED = {
        {u"Shift", u"[Shift-Down]"}, {u"AltGr", u"[AltGr-Down]"}, {u"Caps", u"[Caps]"}, {u"space", u" "}};
    std::u16string typed;
    for (const std::u16string& word : Words(taps)) {
      const auto named = NAMED.find(word);
      const auto key = keys_.find(named == NAMED.end() ? word : named->second);
      if (key == keys_.end()) {
        ADD_FAILURE() << "no key types " << Utf8(word);
        continue;
      }
      typed += Tap(key->second.data());
    }
    return typed;
  }

 private:
  static std::u16string Tap(const BYTE* record) {
    WCHAR text[tapora::KEY_TEXT_SIZE] = {};
    tapora::ModifierKind = tapora::GetModifierKind(record);
    tapora::ToggleModifier();
    tapora::SelectKeyOutput(record, text);
    tapora::ApplyDeadKey(record, text);
    if (tapora::ModifierKind == 0) tapora::ClearOneShotModifiers();
    return std::u16string(text);
  }

  std::map<std::u16string, std::vector<uint8_t>> keys_;
};

struct Typing {
  Layout layout;
  const char16_t* taps;
  const char16_t* typed;
};

const Typing TYPING[] = {
    {{"Keyboard", "keyboard.kbf"}, u"Shift h i Shift ? space Caps o k Shift k , Caps .", u"Hi! OKk,."},
    {{"Keyboard", "sy.kbf"}, u"1 Shift 2 Shift 0 € £ Shift / [ Shift [", u"1@)€£?[{"},
    {{"German", "qwertz.kbf"}, u"^ a ´ e Shift ´ o ^ Shift u Caps ´ i Caps ^ space", u"âéòÛÍ^"},
    {{"German", "qwertz.kbf"}, u"AltGr q AltGr e AltGr 8 AltGr 0 AltGr ß Shift ß z Shift ü ö Shift ä Shift ^",
     u"@€[}\\?zÜöÄ°"},
    {{"French", "azerty.kbf"}, u"é Shift é à AltGr à AltGr \" AltGr e ç ù Shift ù", u"é2à@#€çù%"},
    {{"French", "azerty.kbf"}, u"^ e ^ Shift a Shift ^ i Shift ^ Shift y a z e r t y", u"êÂïŸazerty"},
};

TEST(BundledTree, LayoutsTypeWhatTheirKeysShow) {
  for (const Typing& t : TYPING) {
    const std::u16string taps = t.taps;
    SCOPED_TRACE(std::string(t.layout.language) + "/" + t.layout.file + ": " + Utf8(taps));
    Typist typist(kbf::LoadSourceFile(SourceOf(t.layout.language, t.layout.file)));
    EXPECT_EQ(typist.Type(taps), std::u16string(t.typed));
  }
}

}  // namespace
