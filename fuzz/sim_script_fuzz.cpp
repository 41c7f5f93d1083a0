// Fuzz target for tapora-sim scripts: any bytes are read whole into commands
// or one error, and the result holds together.
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <variant>

#include "tools/tapora-sim/script.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const auto result = sim::ParseScript(text);
  if (const auto* error = std::get_if<sim::ScriptError>(&result)) {
    if (error->line < 1 || error->message.empty()) abort();
    return 0;
  }
  int previous = 0;
  for (const sim::Command& command : std::get<std::vector<sim::Command>>(result)) {
    // Commands come in line order, one a line.
    if (command.line <= previous) abort();
    previous = command.line;
    if (command.kind == sim::CommandKind::Options &&
        (command.actions.empty() || command.actions.back().kind < sim::OptionAction::Kind::Ok)) {
      abort();
    }
  }
  return 0;
}
