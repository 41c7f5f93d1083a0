// `kbf coverage` and `kbf type` from the command line: exit codes, the
// characters a text or a language's CLDR exemplars lack, the JSON form, the
// script a plan writes, and usage errors.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "tests/kbf/coverage_tree.h"

namespace {

namespace fs = std::filesystem;

struct Result {
  int code;
  std::string out, err;
};

Result Kbf(std::vector<std::string> args) {
  std::ostringstream out, err;
  const int code = kbf::RunKbf(args, out, err);
  return {code, out.str(), err.str()};
}

std::string ReadAll(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

class CoverageCommand : public ::testing::Test {
 protected:
  kbf_test::TempFolder folder_;
  const std::string language_ = kbf_test::BuildCoverageTree(folder_).string();
};

TEST_F(CoverageCommand, TextListsWhatCannotBeTyped) {
  const struct {
    const char* text;
    int code;
    const char* says;
  } cases[] = {
      {"aé €1\r\n", 1, "1 characters of " },  // the line break: main.kbf has no Enter
      {"Éa1", 0, "Every character of "},
      {"a!x", 1, "2 characters of "},
  };
  for (const auto& test : cases) {
    SCOPED_TRACE(test.text);
    kbf_test::WriteText(folder_.path() / "text.txt", test.text);
    const Result r = Kbf({"coverage", language_, "--text", folder_ / "text.txt"});
    EXPECT_EQ(r.code, test.code) << r.err;
    EXPECT_NE(r.out.find(test.says), std::string::npos) << r.out;
  }
  const Result r = Kbf({"coverage", language_, "--text", folder_ / "text.txt"});
  EXPECT_NE(r.out.find("Basic Latin: U+0021 !, U+0078 x\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("Lang\\main.kbf: 10 characters and 1 special keys, over 2 keyboards"),
            std::string::npos)
      << r.out;
  EXPECT_NE(r.out.find("  U+00C9 É  ´ (row 1, key 3), Shift (row 1, key 4), E (row 1, key 2)\n"),
            std::string::npos);
}

TEST_F(CoverageCommand, JsonHasOneObjectPerCharacterWithItsTaps) {
  const Result r = Kbf({"coverage", language_, "--json"});
  ASSERT_EQ(r.code, 0) << r.err;
  const nlohmann::json document = nlohmann::json::parse(r.out);
  EXPECT_EQ(document["characters"].size(), 10u);
  bool seen = false;
  for (const nlohmann::json& c : document["characters"]) {
    if (c["char"] != "1") continue;
    seen = true;
    EXPECT_EQ(c["code"], "U+0031");
    ASSERT_EQ(c["taps"].size(), 2u);
    EXPECT_EQ(c["taps"][0]["label"], "123");
    EXPECT_EQ(c["taps"][0]["switch"], true);
    EXPECT_EQ(c["taps"][1]["keyboard"], "Lang\\s.kbf");
    EXPECT_EQ(c["taps"][1]["x"], 10);
  }
  EXPECT_TRUE(seen);
  EXPECT_EQ(document["specialKeys"][0]["key"], "Back");
}

TEST_F(CoverageCommand, TypeWritesAScriptOrSaysWhatIsMissing) {
  Result r = Kbf({"type", language_, "a1", "--script", folder_ / "a1.script"});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out, "3 taps: a (row 1, key 1), [123] (row 2, key 3) then 1 (row 1, key 1)\n");
  const std::string script = ReadAll(folder_.path() / "a1.script");
  EXPECT_NE(script.find("# [123] (row 2, key 3), switches the keyboard\ntap 50 30\n"), std::string::npos);
  EXPECT_EQ(script.substr(script.size() - 15), "expect-text a1\n");

  r = Kbf({"type", language_, "a!"});
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.err.find("no way to type: U+0021 !"), std::string::npos) << r.err;
}

TEST_F(CoverageCommand, UsageErrors) {
  const std::vector<std::vector<std::string>> cases = {
      {"coverage"},
      {"coverage", language_, language_},
      {"coverage", language_, "--text"},
      {"coverage", language_, "--script", "x"},
      {"coverage", language_, "--max-states", "0"},
      {"type", language_},
      {"type", language_, "a", "--json"},
  };
  for (const auto& args : cases) {
    const Result r = Kbf(args);
    EXPECT_EQ(r.code, 2) << args.back();
    EXPECT_NE(r.err.find("usage: kbf"), std::string::npos);
  }
  const Result r = Kbf({"coverage", folder_ / "nothing"});
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.err.find("no keyboard or language folder"), std::string::npos);
}

#ifdef TAPORA_DEVICE_DIR
// The bundled German layout against CLDR's German: the umlauts and ß are
// there, the auxiliary letters of other languages partly not.
TEST(CoverageLanguage, BundledGermanAgainstCldrExemplars) {
  const fs::path german = fs::path(TAPORA_DEVICE_DIR) / "Program Files" / "Tapora SIP" / "German";
  const Result r = Kbf({"coverage", german.string(), "--language", "de"});
  EXPECT_EQ(r.code, 1) << r.err;
  const size_t missing = r.out.find("of the CLDR exemplar characters of de cannot be typed:");
  ASSERT_NE(missing, std::string::npos) << r.out;
  const std::string lacking = r.out.substr(missing);
  EXPECT_NE(lacking.find("U+00E6 æ"), std::string::npos);
  for (const char* typeable : {"U+00E4", "U+00C4", "U+00DF", "U+00E9", "U+20AC"}) {
    EXPECT_EQ(lacking.find(typeable), std::string::npos) << typeable;
  }
  const Result unknown = Kbf({"coverage", german.string(), "--language", "qqq"});
  EXPECT_EQ(unknown.code, 1);
  EXPECT_NE(unknown.err.find("no exemplar characters"), std::string::npos) << unknown.err;
}
#endif

}  // namespace
