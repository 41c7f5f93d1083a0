// kbf type's plans run through tapora-sim: for every language of the
// installed tree, the plan of a sentence is written as a script and run on
// the device, and the text that arrives must be the sentence. The planner
// and the system must agree, tap for tap.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

namespace {

namespace fs = std::filesystem;

// A sentence per bundled language that uses its shifted, AltGr and dead-key
// characters and, for English, both keyboard switches.
const std::map<std::string, std::string> SENTENCES = {
    {"Keyboard", "Hello, World! {x} costs \xE2\x82\xAC" "12.50 (50% off) at 9:30?"},
    {"German", "Gr\xC3\xBC\xC3\x9F" "e, J\xC3\xBCrgen! Caf\xC3\xA9 f\xC3\xBCr 5 \xE2\x82\xAC & Ma\xC3\x9F {\xC3\xA2}."},
    {"French", "O\xC3\xB9 \xC3\xAAtes-vous ? No\xC3\xABl co\xC3\xBBte 5 \xE2\x82\xAC \xC3\xA0 Paris, \xC3\xA7" "a !"},
};

std::string Quoted(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

std::string ReadText(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// Runs a command line; its exit code, and its output in `out`.
int Shell(const std::string& command, const fs::path& output, std::string* out) {
  const int status = std::system((command + " > " + Quoted(output.string()) + " 2>&1").c_str());
  *out = ReadText(output);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(KbfTypeThroughSim, EveryBundledLanguageTypesItsSentence) {
  const fs::path work = fs::temp_directory_path() / ("kbf_type_sim_" + std::to_string(getpid()));
  fs::remove_all(work);
  fs::create_directories(work);
  const fs::path device = work / "device";
  std::string out;
  ASSERT_EQ(Shell(std::string(TAPORA_SIM) + " install --device " + Quoted(device.string()), work / "out", &out), 0)
      << out;
  const fs::path tree = device / "Program Files" / "Tapora SIP";
  int languages = 0;
  for (const fs::directory_entry& entry : fs::directory_iterator(tree)) {
    if (!entry.is_directory()) continue;
    const std::string language = entry.path().filename().string();
    SCOPED_TRACE(language);
    ++languages;
    auto sentence = SENTENCES.find(language);
    ASSERT_NE(sentence, SENTENCES.end()) << "no sentence for the bundled language " << language;
    const fs::path script = work / (language + ".script");
    ASSERT_EQ(Shell(std::string(KBF) + " type " + Quoted(entry.path().string()) + " " + Quoted(sentence->second) +
                      " --script " + Quoted(script.string()),
                  work / "out", &out),
              0)
        << out;
    const int code = Shell(std::string(TAPORA_SIM) + " run --device " + Quoted(device.string()) + " --script " +
                             Quoted(script.string()),
                         work / "out", &out);
    EXPECT_EQ(code, 0) << ReadText(script) << out;
    EXPECT_NE(out.find("text: " + sentence->second + "\n"), std::string::npos) << out;
  }
  EXPECT_EQ(languages, static_cast<int>(SENTENCES.size()));
  std::error_code ignored;
  fs::remove_all(work, ignored);
}

}  // namespace
