// Argument handling of `kbf coverage` and `kbf type` (see command.h).
#include "tools/kbf/coverage/command.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

#include "tools/kbf/coverage/coverage_report.h"
#include "tools/kbf/coverage/planner.h"
#include "wince/host/text.h"

namespace kbf::coverage {

namespace {

constexpr const char* kCoverageUsage =
    "usage: kbf coverage KEYBOARD|LANGUAGE-FOLDER [--text FILE] [--language TAG] [--json]\n"
    "                    [--max-states N]\n";
constexpr const char* kTypeUsage =
    "usage: kbf type KEYBOARD|LANGUAGE-FOLDER TEXT [--script FILE] [--max-states N]\n";

constexpr size_t kDefaultMaxStates = 20000;

int Usage(std::ostream& err, const std::string& problem, const char* usage) {
  err << "kbf: " << problem << "\n" << usage;
  return 2;
}

struct Arguments {
  std::vector<std::string> operands;
  std::string text, language, script;
  bool json = false;
  size_t maxStates = kDefaultMaxStates;
};

bool Parse(const std::vector<std::string>& args, bool coverage, Arguments* parsed, std::string* problem) {
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    std::string* value = nullptr;
    if (coverage && a == "--text") value = &parsed->text;
    else if (coverage && a == "--language") value = &parsed->language;
    else if (!coverage && a == "--script") value = &parsed->script;
    if (value != nullptr || a == "--max-states") {
      if (i + 1 >= args.size()) {
        *problem = a + " needs a value";
        return false;
      }
      const std::string& given = args[++i];
      if (value != nullptr) {
        *value = given;
        continue;
      }
      try {
        size_t used = 0;
        parsed->maxStates = std::stoul(given, &used);
        if (used != given.size() || parsed->maxStates == 0) throw std::invalid_argument(given);
      } catch (const std::exception&) {
        *problem = "--max-states needs a number above 0";
        return false;
      }
    } else if (coverage && a == "--json") {
      parsed->json = true;
    } else if (a.size() > 1 && a[0] == '-' && a != "-") {
      *problem = "unknown option " + a;
      return false;
    } else {
      parsed->operands.push_back(a);
    }
  }
  return true;
}

std::u16string ReadTextFile(const std::string& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + file);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  std::string text = bytes.str();
  if (text.rfind("\xEF\xBB\xBF", 0) == 0) text.erase(0, 3);
  return wince::host::Utf16(text);
}

}  // namespace

int RunCoverage(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  Arguments a;
  std::string problem;
  if (!Parse(args, true, &a, &problem)) return Usage(err, problem, kCoverageUsage);
  if (a.operands.size() != 1) return Usage(err, "coverage takes one KEYBOARD or LANGUAGE-FOLDER", kCoverageUsage);
  // The wanted sets are read first: a typo there costs no search.
  std::vector<std::pair<std::string, std::set<char32_t>>> wanted;
  if (!a.text.empty()) wanted.emplace_back(a.text, CodePoints(ReadTextFile(a.text)));
  if (!a.language.empty()) {
    wanted.emplace_back("the CLDR exemplar characters of " + a.language, ExemplarCharacters(a.language));
  }
  const TapGraph graph = ExploreTaps(ResolveKeyboard(a.operands[0]), a.maxStates);
  const Coverage coverage = CoverageOf(graph);
  std::vector<MissingSet> missing;
  bool complete = true;
  for (const auto& [what, characters] : wanted) {
    missing.push_back(MissingSet{what, Untypeable(coverage, characters)});
    complete = complete && missing.back().characters.empty();
  }
  if (a.json) WriteCoverageJson(out, graph, coverage, missing);
  else WriteCoverageText(out, graph, coverage, missing);
  return complete ? 0 : 1;
}

int RunType(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  Arguments a;
  std::string problem;
  if (!Parse(args, false, &a, &problem)) return Usage(err, problem, kTypeUsage);
  if (a.operands.size() != 2) return Usage(err, "type takes a KEYBOARD or LANGUAGE-FOLDER and a TEXT", kTypeUsage);
  const std::u16string text = wince::host::Utf16(a.operands[1]);
  const TapGraph graph = ExploreTaps(ResolveKeyboard(a.operands[0]), a.maxStates);
  const Plan plan = PlanText(graph, text);
  if (!plan.found) {
    const std::set<char32_t> missing = Untypeable(CoverageOf(graph), CodePoints(text));
    err << "kbf type: " << graph.states[0].snapshot.KeyboardName() << " cannot type the text";
    if (missing.empty()) {
      err << (graph.cut ? " within the search's bound of states\n" : "\n");
    } else {
      err << "; it has no way to type:";
      for (char32_t c : missing) err << " " << DescribeCharacter(c);
      err << "\n";
    }
    return 1;
  }
  const std::string script = SimScript(graph, plan, text);
  if (a.script.empty()) {
    out << script;
    return 0;
  }
  std::ofstream file(a.script, std::ios::binary);
  file << script;
  if (!file.flush()) throw std::runtime_error("cannot write " + a.script);
  out << plan.taps.size() << " taps: " << DescribeTaps(plan.taps) << "\n";
  return 0;
}

}  // namespace kbf::coverage
