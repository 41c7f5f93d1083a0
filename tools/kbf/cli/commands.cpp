// Argument handling of the kbf tool and its build and dump commands.
#include "tools/kbf/cli/commands.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "tools/kbf/coverage/command.h"
#include "tools/kbf/source/source.h"
#include "tools/kbf/writer/kbf_writer.h"

#ifdef KBF_HAVE_RENDER
#include "tools/kbf/render/render_command.h"
#endif

namespace kbf {

namespace fs = std::filesystem;

namespace {

constexpr const char* kUsage =
    "usage: kbf build SOURCE -o FILE.kbf\n"
    "       kbf build SOURCE --loose -o FOLDER\n"
    "       kbf dump KEYBOARD [-o FILE]\n"
    "       kbf check KEYBOARD [--tree FOLDER]\n"
    "       kbf coverage KEYBOARD|LANGUAGE-FOLDER [--text FILE] [--language TAG] [--json]\n"
    "       kbf type KEYBOARD|LANGUAGE-FOLDER TEXT [--script FILE]\n"
#ifdef KBF_HAVE_RENDER
    "       kbf render KEYBOARD -o FILE.png [options]  (kbf render --help)\n"
#endif
    "SOURCE is a keyboard source (YAML). KEYBOARD is a .kbf container, a folder\n"
    "of loose keyboard files, or the PNL00001.PNL in such a folder. A LANGUAGE-FOLDER\n"
    "holds layouts and an \"info\" file naming the default; its parent may hold KBF.txt.\n";

int Usage(std::ostream& err, const std::string& problem) {
  err << "kbf: " << problem << "\n" << kUsage;
  return 2;
}

struct Options {
  std::vector<std::string> operands;
  std::string output;
  bool loose = false;
};

// Operands and the options of build and dump; false with a problem.
bool ParseOptions(const std::vector<std::string>& args, bool allowLoose, Options* options, std::string* problem) {
  for (size_t i = 1; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "-o" || a == "--output") {
      if (i + 1 >= args.size()) {
        *problem = a + " needs a file name";
        return false;
      }
      if (!options->output.empty()) {
        *problem = "-o is given twice";
        return false;
      }
      options->output = args[++i];
    } else if (a == "--loose" && allowLoose) {
      options->loose = true;
    } else if (a.size() > 1 && a[0] == '-') {
      *problem = "unknown option " + a;
      return false;
    } else {
      options->operands.push_back(a);
    }
  }
  return true;
}

// Writes to a neighbour and renames, so a failed build leaves no half file.
void WriteWhole(const fs::path& file, const std::vector<uint8_t>& bytes) {
  fs::path partial = file;
  partial += ".partial";
  WriteFileBytes(partial, bytes);
  std::error_code ec;
  fs::rename(partial, file, ec);
  if (ec) {
    fs::remove(partial, ec);
    throw std::runtime_error("cannot write " + file.string());
  }
}

int Build(const std::vector<std::string>& args, std::ostream& err) {
  Options options;
  std::string problem;
  if (!ParseOptions(args, true, &options, &problem)) return Usage(err, problem);
  if (options.operands.size() != 1) return Usage(err, "build takes one SOURCE");
  if (options.output.empty()) return Usage(err, "build needs -o");
  const std::vector<Member> members = Members(LoadSourceFile(options.operands[0]));
  if (options.loose) {
    std::error_code ec;
    if (fs::exists(options.output, ec) && !fs::is_directory(options.output, ec)) {
      throw std::runtime_error(options.output + " is a file; --loose writes a folder");
    }
    WriteLooseFolder(options.output, members);
  } else {
    WriteWhole(options.output, WriteContainer(members));
  }
  return 0;
}

int Dump(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  Options options;
  std::string problem;
  if (!ParseOptions(args, false, &options, &problem)) return Usage(err, problem);
  if (options.operands.size() != 1) return Usage(err, "dump takes one KEYBOARD");
  const std::string text = DumpSource(ReadKeyboardAt(options.operands[0]));
  if (options.output.empty()) {
    out << text;
  } else {
    WriteWhole(options.output, std::vector<uint8_t>(text.begin(), text.end()));
  }
  return 0;
}

}  // namespace

int RunKbf(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (args.empty()) return Usage(err, "no command");
  const std::string& command = args[0];
  try {
    if (command == "build") return Build(args, err);
    if (command == "dump") return Dump(args, out, err);
    if (command == "check") {
      std::vector<std::string> rest = args;
      std::string tree;
      const auto at = std::find(rest.begin(), rest.end(), "--tree");
      if (at != rest.end()) {
        if (at + 1 == rest.end()) return Usage(err, "--tree needs a folder");
        tree = *(at + 1);
        rest.erase(at, at + 2);
      }
      Options options;
      std::string problem;
      if (!ParseOptions(rest, false, &options, &problem)) return Usage(err, problem);
      if (options.operands.size() != 1 || !options.output.empty()) return Usage(err, "check takes one KEYBOARD");
      return RunCheck(options.operands[0], out, err, tree);
    }
    if (command == "coverage") {
      return coverage::RunCoverage(std::vector<std::string>(args.begin() + 1, args.end()), out, err);
    }
    if (command == "type") {
      return coverage::RunType(std::vector<std::string>(args.begin() + 1, args.end()), out, err);
    }
#ifdef KBF_HAVE_RENDER
    if (command == "render") return RunRenderCommand(std::vector<std::string>(args.begin() + 1, args.end()));
#endif
    if (command == "-h" || command == "--help" || command == "help") {
      out << kUsage;
      return 0;
    }
  } catch (const std::exception& e) {
    err << "kbf " << command << ": " << e.what() << "\n";
    return 1;
  }
  return Usage(err, "unknown command \"" + command + "\"");
}

}  // namespace kbf
