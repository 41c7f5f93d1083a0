// The device every row of the table runs on, set up once per process: a
// device folder holding the build's language tree (the bundled keyboards),
// a generated 301-panel keyboard as a container and as loose files, the
// library's resources standing in for the input-method library and STOCK.DLL
// beside it; the input method created and selected on a screen window, as
// the SIP manager does, with a callback that counts what reaches it.
#pragma once

#include <windows.h>

#include <filesystem>
#include <string>

#include "bench/loaded_keys.h"

namespace tapora {
class InputMethod;
}

namespace bench {

// Device paths of the keyboards the load rows read.
inline constexpr const char16_t* kBundledKeyboard = u"\\Program Files\\Tapora SIP\\Keyboard\\keyboard.kbf";
inline constexpr const char16_t* kManyContainer = u"\\many\\many.kbf";
inline constexpr const char16_t* kManyLoose = u"\\loose\\PNL00001.PNL";

class BenchDevice {
 public:
  // Set up on first use; torn down at exit.
  static BenchDevice& Get();
  ~BenchDevice();

  // Empty when everything is in place, else what is missing.
  const std::string& problem() const { return problem_; }

  // Loads the bundled keyboard again (the load rows leave others loaded) and
  // finds the first letter (type 33) and the first Shift key on it.
  bool UseBundledKeyboard();

  HWND screen() const { return screen_; }
  HWND panel() const;
  tapora::InputMethod* inputMethod() const { return inputMethod_; }
  CountingCallback& callback() { return callback_; }
  const FoundKey& letter() const { return letter_; }
  const FoundKey& shift() const { return shift_; }

 private:
  BenchDevice();
  void Fail(const std::string& what);
  void WriteKeyboards();
  void FindKeys();

  std::filesystem::path folder_;
  std::string problem_;
  HMODULE module_ = nullptr;
  HWND screen_ = nullptr;
  tapora::InputMethod* inputMethod_ = nullptr;
  CountingCallback callback_;
  FoundKey letter_;
  FoundKey shift_;
};

// Whether a keyboard of this device path loads; the path buffer is the
// loader's own (it may rewrite it).
bool LoadKeyboardAt(const char16_t* devicePath);

}  // namespace bench
