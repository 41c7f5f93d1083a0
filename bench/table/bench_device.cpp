// The table's device: see bench_device.h.
#include "bench/table/bench_device.h"

#include <stdlib.h>
#include <unistd.h>

#include <exception>
#include <string>
#include <vector>

#include "bench/many_panel_keyboard.h"
#include "im/input_method.h"
#include "im/input_method_state.h"
#include "input/shift_state.h"
#include "language/keyboard_selection.h"
#include "layout/keyboard_memory.h"
#include "layout/load_keyboard.h"
#include "tools/kbf/writer/kbf_writer.h"
#include "wince/host/device.h"
#include "wince/host/message_box.h"
#include "wince/host/windows.h"

namespace bench {

namespace fs = std::filesystem;

bool LoadKeyboardAt(const char16_t* devicePath) {
  WCHAR path[MAX_PATH] = {};
  for (int i = 0; devicePath[i] != 0 && i < MAX_PATH - 1; ++i) path[i] = devicePath[i];
  LONG height = 0;
  LONG width = 0;
  return tapora::LoadKeyboard(path, &height, &width);
}

BenchDevice& BenchDevice::Get() {
  static BenchDevice device;
  return device;
}

BenchDevice::BenchDevice() {
  char pattern[] = "/tmp/tapora_bench_table_XXXXXX";
  if (mkdtemp(pattern) == nullptr) {
    Fail("no temporary folder");
    return;
  }
  folder_ = pattern;
  wince::host::SetDeviceFolder(folder_);
  const fs::path built = TAPORA_DEVICE_DIR;
  std::error_code ec;
  fs::create_directories(folder_ / "Windows", ec);
  fs::copy(built / "Program Files", folder_ / "Program Files", fs::copy_options::recursive, ec);
  if (ec) Fail("the bundled language tree is not built (" + ec.message() + ")");
  fs::copy_file(built / "Windows" / "STOCK.DLL", folder_ / "Windows" / "STOCK.DLL", ec);
  if (ec) Fail("STOCK.DLL is not built");
  // The library's resources stand in for the input-method library, so that
  // the options dialog finds its template and stock faces find STOCK.DLL.
  fs::copy_file(TAPORA_RESOURCE_MODULE, folder_ / "Windows" / "tapora.dll", ec);
  if (ec) Fail("TAPRES.DLL is not built");
  WriteKeyboards();
  if (!problem_.empty()) return;

  module_ = LoadLibraryW(u"\\Windows\\tapora.dll");
  if (module_ == nullptr) {
    Fail("the resource module does not load");
    return;
  }
  tapora::InputMethodState.moduleInstance = module_;
  screen_ = wince::host::CreateScreen(240, 320);
  inputMethod_ = new tapora::InputMethod();
  inputMethod_->AddRef();
  inputMethod_->RegisterCallback(&callback_);
  if (inputMethod_->Select(screen_) != S_OK) {
    Fail("Select failed");
    return;
  }
  wince::host::PumpMessages();
  if (!UseBundledKeyboard()) Fail("no letter and Shift key on the bundled keyboard");
}

BenchDevice::~BenchDevice() {
  if (inputMethod_ != nullptr) {
    inputMethod_->Deselect();
    inputMethod_->Release();
  }
  wince::host::ResetWindows();
  if (module_ != nullptr) FreeLibrary(module_);
  tapora::InputMethodState.moduleInstance = nullptr;
  tapora::InputMethodState.resourceInstance = nullptr;
  std::error_code ec;
  if (!folder_.empty()) fs::remove_all(folder_, ec);
}

void BenchDevice::Fail(const std::string& what) {
  if (problem_.empty()) problem_ = what;
}

void BenchDevice::WriteKeyboards() {
  try {
    const std::vector<kbf::Member> many = kbf::Members(ManyPanelKeyboard());
    kbf::WriteFileBytes(folder_ / "many" / "many.kbf", kbf::WriteContainer(many));
    kbf::WriteLooseFolder(folder_ / "loose", many);
  } catch (const std::exception& error) {
    Fail(std::string("the 301-panel keyboard could not be written: ") + error.what());
  }
}

HWND BenchDevice::panel() const { return tapora::InputMethodState.panelWindow; }

bool BenchDevice::UseBundledKeyboard() {
  tapora::ShiftState = 0;
  if (!tapora::LoadKeyboard(tapora::KeyboardSelection.keyboardPath,
                            &tapora::KeyboardSelection.windowHeight,
                            &tapora::KeyboardSelection.windowWidth)) {
    return false;
  }
  wince::host::ClearMessageBoxes();
  FindKeys();
  return letter_.handle != 0 && shift_.handle != 0;
}

void BenchDevice::FindKeys() {
  letter_ = {};
  shift_ = {};
  ForEachLoadedKey([this](const FoundKey& key, const BYTE* record) {
    if (!letter_.handle && tapora::ReadU8(record, tapora::KEY_TYPE) == 33) letter_ = key;
    if (!shift_.handle && OutputOf(record) == u"[Shift-Down]") shift_ = key;
  });
}

}  // namespace bench
