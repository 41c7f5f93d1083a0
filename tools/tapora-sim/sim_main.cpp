// tapora-sim: the SIP manager's stand-in.
//
//   tapora-sim install   [--device DIR] [--events FILE]
//   tapora-sim uninstall [--device DIR] [--events FILE]
//   tapora-sim run       [--device DIR] [--script FILE] [--events FILE] [--snapshots DIR]
//   tapora-sim play      [--device DIR] [--scale N] [--events FILE] [--text-out FILE]
//                        [--screenshot FILE]
//
// Exit codes: 0 done, 1 an expectation failed or an installer hook cancelled,
// 2 a usage or script error (on standard error as "line N: what is wrong").
// Without --device the build's own device folder is used, installed first
// when it holds no input method; without --script the demonstration runs.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <variant>

#include <windows.h>

#include "tools/tapora-sim/play.h"
#include "tools/tapora-sim/product.h"
#include "tools/tapora-sim/report.h"
#include "tools/tapora-sim/script.h"
#include "tools/tapora-sim/stand_in.h"
#include "wince/host/device.h"
#include "wince/host/text.h"

namespace {

namespace fs = std::filesystem;

constexpr char USAGE[] =
    "usage: tapora-sim install   [--device DIR] [--events FILE]\n"
    "       tapora-sim uninstall [--device DIR] [--events FILE]\n"
    "       tapora-sim run       [--device DIR] [--script FILE] [--events FILE] [--snapshots DIR]\n"
    "       tapora-sim play      [--device DIR] [--scale N] [--events FILE] [--text-out FILE]\n"
    "                            [--screenshot FILE]\n";

int UsageError(const std::string& what) {
  std::cerr << "tapora-sim: " << what << "\n" << USAGE;
  return 2;
}

// True when the device's registry names an input method.
bool HasInputMethod() {
  HKEY key = nullptr;
  const std::u16string path = u"CLSID\\{26CA1951-5391-48C1-AC94-17CF92B65759}\\IsSIPInputMethod";
  if (RegOpenKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
    return false;
  RegCloseKey(key);
  return true;
}

int RunScript(const std::map<std::string, std::string>& options, bool defaultDevice,
              sim::Report& report) {
  const auto scriptOption = options.find("--script");
  const std::string scriptFile =
      scriptOption != options.end() ? scriptOption->second : TAPORA_SIM_DEMO;
  std::ifstream in(scriptFile, std::ios::binary);
  if (!in) return UsageError("cannot read the script " + scriptFile);
  std::ostringstream text;
  text << in.rdbuf();
  auto parsed = sim::ParseScript(text.str());
  if (const auto* error = std::get_if<sim::ScriptError>(&parsed)) {
    std::cerr << "line " << error->line << ": " << error->message << "\n";
    return 2;
  }
  const auto& commands = std::get<std::vector<sim::Command>>(parsed);
  if (defaultDevice && !HasInputMethod() && sim::Install(sim::BuildProduct(), report) != 0)
    return 1;
  const auto snapshots = options.find("--snapshots");
  const fs::path snapshotFolder = snapshots != options.end() ? fs::path(snapshots->second)
                                                             : fs::current_path();
  std::error_code ignored;
  fs::create_directories(snapshotFolder, ignored);

  sim::StandIn standIn(report, sim::BuildProduct(), snapshotFolder);
  if (!standIn.Start()) {
    standIn.Stop();
    return 1;
  }
  int exitCode = 0;
  for (const sim::Command& command : commands) {
    exitCode = standIn.Run(command);
    if (exitCode == 2) std::cerr << "line " << command.line << ": cannot run '"
                                 << sim::CommandName(command.kind) << " " << command.text << "'\n";
    if (exitCode != 0) break;
  }
  standIn.Stop();
  std::cout << "text: " << wince::host::Utf8(standIn.field().Text()) << "\n";
  return exitCode;
}

// The input method in a desktop window until it is closed; the field's text
// is printed, and written to --text-out as UTF-8, once it is taken down.
int PlayInWindow(const std::map<std::string, std::string>& options, bool defaultDevice,
                 sim::Report& report) {
  // Someone watches the calls as they happen: a line at a time, also into a pipe.
  std::setvbuf(stdout, nullptr, _IOLBF, BUFSIZ);
  sim::play::Options play;
  if (const auto scale = options.find("--scale"); scale != options.end()) {
    const std::string& text = scale->second;
    if (text.size() != 1 || text[0] < '1' || text[0] > '8')
      return UsageError("--scale takes a whole number from 1 to 8");
    play.scale = text[0] - '0';
  }
  if (const auto screenshot = options.find("--screenshot"); screenshot != options.end())
    play.screenshot = screenshot->second;
  if (defaultDevice && !HasInputMethod() && sim::Install(sim::BuildProduct(), report) != 0)
    return 1;
  sim::StandIn standIn(report, sim::BuildProduct(), fs::current_path());
  if (!standIn.Start()) {
    standIn.Stop();
    return 1;
  }
  const int exitCode = sim::play::Play(standIn, play);
  standIn.Stop();
  const std::string text = wince::host::Utf8(standIn.field().Text());
  std::cout << "text: " << text << "\n";
  if (const auto out = options.find("--text-out"); out != options.end()) {
    std::ofstream file(out->second, std::ios::binary);
    file << text;
    if (!file) return UsageError("cannot write " + out->second);
  }
  return exitCode;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return UsageError("a command is needed");
  const std::string command = argv[1];
  std::map<std::string, std::string> options;
  for (int i = 2; i < argc; i += 2) {
    const std::string name = argv[i];
    const bool known = name == "--device" || name == "--events" ||
                       (command == "run" && (name == "--script" || name == "--snapshots")) ||
                       (command == "play" &&
                        (name == "--scale" || name == "--text-out" || name == "--screenshot"));
    if (!known) return UsageError("unknown option " + name);
    if (i + 1 >= argc) return UsageError(name + " needs a value");
    options[name] = argv[i + 1];
  }
  if (command != "install" && command != "uninstall" && command != "run" && command != "play")
    return UsageError("unknown command " + command);

  const bool defaultDevice = options.count("--device") == 0;
  const fs::path device = defaultDevice ? fs::path(TAPORA_SIM_DEVICE) : fs::path(options["--device"]);
  std::error_code error;
  fs::create_directories(device, error);
  if (error) return UsageError("cannot make the device folder " + device.string());
  wince::host::SetDeviceFolder(device);

  const auto events = options.find("--events");
  sim::Report report(events != options.end() ? events->second : "");
  if (!report.ok()) return UsageError("cannot write the event log " + events->second);

  if (command == "install") return sim::Install(sim::BuildProduct(), report);
  if (command == "uninstall") return sim::Uninstall(sim::BuildProduct(), report);
  if (command == "play") return PlayInWindow(options, defaultDevice, report);
  return RunScript(options, defaultDevice, report);
}
