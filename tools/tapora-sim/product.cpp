// Installing and removing the product (see product.h). The hooks are the
// setup library's, loaded from a temporary device path as the cabinet
// installer loads them; registration is the installed library's own.
#include "tools/tapora-sim/product.h"

#include <ce_setup.h>

#include <system_error>
#include <vector>

#include "wince/host/device.h"

namespace sim {
namespace {

namespace fs = std::filesystem;

constexpr char16_t SETUP_PATH[] = u"\\Temp\\setup.dll";
constexpr char16_t LIBRARY_PATH[] = u"\\Windows\\tapora.dll";
const char* const PRODUCT_FILES[] = {"Windows/tapora.dll", "Windows/STOCK.DLL"};
constexpr const char* LANGUAGE_TREE = "Program Files/Tapora SIP";

fs::path Device(const std::string& relative) {
  return wince::host::DeviceFolder() / fs::path(relative);
}

template <class F>
F Export(HMODULE module, const char* name) {
  return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

// The setup library, placed and loaded for one run of the installer.
class SetupLibrary {
 public:
  SetupLibrary(const Product& product, Report& report) : report_(report) {
    std::error_code error;
    fs::create_directories(Device("Temp"), error);
    fs::copy_file(product.setupLibrary, Device("Temp/setup.dll"),
                  fs::copy_options::overwrite_existing, error);
    module_ = LoadLibraryW(SETUP_PATH);
    report_.Result("LoadLibrary setup.dll", module_ != nullptr ? 1 : 0);
  }
  ~SetupLibrary() {
    if (module_ != nullptr) report_.Result("FreeLibrary setup.dll", FreeLibrary(module_));
    std::error_code error;
    fs::remove(Device("Temp/setup.dll"), error);
  }
  HMODULE module() const { return module_; }

 private:
  Report& report_;
  HMODULE module_ = nullptr;
};

// Calls an export of the installed library, loaded for the call.
HRESULT CallLibrary(const char* name, Report& report) {
  HMODULE library = LoadLibraryW(LIBRARY_PATH);
  if (library == nullptr) {
    report.Note(std::string("the library does not load: ") + name + " not called");
    return E_FAIL;
  }
  auto function = Export<HRESULT (*)()>(library, name);
  const HRESULT hr = function != nullptr ? function() : E_FAIL;
  report.Hresult(name, hr);
  FreeLibrary(library);
  return hr;
}

}  // namespace

Product BuildProduct() { return Product{TAPORA_DEVICE_TREE, TAPORA_SETUP_DLL}; }

int Install(const Product& product, Report& report) {
  SetupLibrary setup(product, report);
  auto init = Export<pfnINSTALL_INIT>(setup.module(), "Install_Init");
  auto exit = Export<pfnINSTALL_EXIT>(setup.module(), "Install_Exit");
  if (init == nullptr || exit == nullptr) {
    report.Note("the setup library has no installer hooks");
    return 1;
  }
  const int answer = init(nullptr, TRUE, FALSE, u"\\Program Files\\Tapora SIP");
  report.Result("Install_Init", answer);
  if (answer != codeINSTALL_INIT_CONTINUE) return 1;
  std::error_code error;
  fs::create_directories(Device("Windows"), error);
  for (const char* file : PRODUCT_FILES) {
    fs::copy_file(product.deviceTree / file, Device(file), fs::copy_options::overwrite_existing,
                  error);
    if (error) report.Note(std::string("cannot copy ") + file + ": " + error.message());
  }
  fs::create_directories(Device(LANGUAGE_TREE), error);
  fs::copy(product.deviceTree / LANGUAGE_TREE, Device(LANGUAGE_TREE),
           fs::copy_options::recursive | fs::copy_options::overwrite_existing, error);
  if (error) report.Note("cannot copy the language tree: " + error.message());
  report.Result("Install_Exit", exit(nullptr, u"\\Program Files\\Tapora SIP", 0, 0, 0, 0, 0));
  CallLibrary("DllRegisterServer", report);
  return 0;
}

int Uninstall(const Product& product, Report& report) {
  SetupLibrary setup(product, report);
  auto init = Export<pfnUNINSTALL_INIT>(setup.module(), "Uninstall_Init");
  auto exit = Export<pfnUNINSTALL_EXIT>(setup.module(), "Uninstall_Exit");
  if (init == nullptr || exit == nullptr) {
    report.Note("the setup library has no installer hooks");
    return 1;
  }
  const int answer = init(nullptr, u"\\Program Files\\Tapora SIP");
  report.Result("Uninstall_Init", answer);
  if (answer != codeUNINSTALL_INIT_CONTINUE) return 1;
  CallLibrary("DllUnregisterServer", report);
  // The installer removes what it installed: the files, not the folders.
  std::error_code error;
  for (const char* file : PRODUCT_FILES) fs::remove(Device(file), error);
  const fs::path tree = Device(LANGUAGE_TREE);
  if (fs::exists(tree, error)) {
    for (auto it = fs::recursive_directory_iterator(tree, error);
         it != fs::recursive_directory_iterator(); it.increment(error)) {
      if (it->is_regular_file(error)) fs::remove(it->path(), error);
    }
    // Folders go deepest first; the product folder itself is the hook's.
    std::vector<fs::path> folders;
    for (auto it = fs::recursive_directory_iterator(tree, error);
         it != fs::recursive_directory_iterator(); it.increment(error)) {
      if (it->is_directory(error)) folders.push_back(it->path());
    }
    for (auto it = folders.rbegin(); it != folders.rend(); ++it) fs::remove(*it, error);
  }
  report.Result("Uninstall_Exit", exit(nullptr));
  return 0;
}

}  // namespace sim
